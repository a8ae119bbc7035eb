"""Runs the real program in a real X server, copied into an emulator folder with the stand-in
emulator, and uses it as a user would: it reads the windows through the accessibility bus and
clicks and types through the X server. Then it kills the program at the worst moments and
checks that the next start and a clean close leave every file of the user as it was.

    e2e.py ZEFRIN STANDIN FIXTURE

The folder and some archives carry names that a shell would run; a canary command on the
folder's PATH records any run of them.
"""

import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import urllib.parse

import pyatspi

from desktop import (Failure, centre, choose, click, click_at, control, descendants, dump,
                     name, request_close, role, text, wait_for, window, window_gone, windows)
from folder import EmulatorFolder

MAIN = "El Front End para M.A.M.E"
EDITOR = "Configuración de los controles de M.A.M.E."
WAITING = "Esperando a que se cierre el M.A.M.E que quedó abierto de la sesión anterior."
GIVEN_BACK = "M.A.M.E se ha cerrado y Zefrin! ha devuelto lo que tenía apartado."
REFUSED_CLOSE = "Si MAME está activo, no se puede cerrar Zefrin!"

KNOWN_TITLES = ["Astro Falcón", "Cazafantasmas del Espacio", "Galáxara: Invasión Estelar",
                "Motocrós Extremo '86", "Ninja Kurai", "Ninja Kurai", "Tetrix: Bloques Mágicos",
                "el Castillo Encantado", "pingüino Loco", "zumbador Ñandú"]


def processes_started_by(pid):
    """Every process started by `pid`, and by those, as /proc tells now."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    parent = int(stat.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError, ValueError):
                continue
            children.setdefault(parent, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


class Program:
    """One run of zefrin, started the way a user starts it: the executable in its folder."""

    def __init__(self, folder, env, shows_window=True):
        self.folder = folder
        # A session of its own, so that a drill can end it with every process it started.
        with open(os.path.join(folder.root, "zefrin.err"), "ab") as errors:
            self.process = subprocess.Popen([os.path.join(folder.path, "zefrin")], env=env,
                                            start_new_session=True, cwd=folder.root,
                                            stdout=subprocess.DEVNULL, stderr=errors)
        self.main = window(MAIN, timeout=60) if shows_window else None

    def wait_for_window(self):
        self.main = window(MAIN, timeout=60)

    def rows(self):
        lists = descendants(self.main, "list")
        return [name(item) for item in descendants(lists[0], "list item")] if lists else []

    def status(self):
        # The status line is the label on the bottom row, left of the log button.
        log_button = control(self.main, "Ver  Log", "label")
        _, y = centre(log_button)
        for label in descendants(self.main, "label"):
            lx, ly = centre(label)
            if ly == y and lx < centre(log_button)[0]:
                return text(label)
        return ""

    def row(self, title):
        return control(self.main, title, "list item")

    def kill(self, with_its_children=False):
        if with_its_children:
            # The emulator runs in a process group of its own: every descendant is named.
            for pid in [self.process.pid] + processes_started_by(self.process.pid):
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        else:
            self.process.send_signal(signal.SIGKILL)
        self.process.wait(timeout=20)
        wait_for("the killed program's windows to go", lambda: not windows())

    def close(self):
        """Asks the window to close as the window manager's close button does; again, as a
        user would, while the program is still busy and refuses."""
        for _ in range(6):
            request_close(MAIN)
            try:
                code = self.process.wait(timeout=5)
                break
            except subprocess.TimeoutExpired:
                continue
        else:
            raise Failure(f"the program did not end when its window was closed; "
                          f"it says '{self.status()}'")
        if code != 0:
            raise Failure(f"the program ended with status {code} when its window was closed")


def alert(title, timeout=30.0):
    """The message box with that title; fails on any other one."""
    def probe():
        for w in windows():
            if role(w) == "alert":
                if name(w) != title:
                    raise Failure(f"unexpected message '{name(w)}': {message_text(w)}")
                return w
        return None
    return wait_for(f"the message '{title}'", probe, timeout)


def rom_list(manager):
    """The ROM manager's list of the archives in roms: the first of its two lists."""
    return descendants(manager, "list")[0]


def message_text(box):
    return " ".join(text(label) for label in descendants(box, "label"))


def answer(box, button):
    # A box that has just appeared may still be moving into place: the click is repeated
    # until the box is gone.
    title = name(box)
    for _ in range(5):
        time.sleep(0.4)
        click(control(box, button, "push button"))
        try:
            wait_for("the message to close",
                     lambda: all(role(w) != "alert" or name(w) != title for w in windows()),
                     timeout=4)
            return
        except Failure:
            continue
    raise Failure(f"the message '{title}' did not close on '{button}'")


def no_message():
    for w in windows():
        if role(w) == "alert":
            raise Failure(f"unexpected message '{name(w)}': {message_text(w)}")


def check(condition, what):
    if not condition:
        raise Failure(what)


# --- the user's session -------------------------------------------------------------------

def list_shows_titles(program, folder):
    rows = wait_for("the game list", lambda: program.rows() if len(program.rows()) ==
                    len(folder.archives()) else None, timeout=60)
    known = [r for r in rows if not r.startswith("ROM desconocida(")]
    check(known == KNOWN_TITLES, f"titles shown: {known}")
    unknown = sorted(r[len("ROM desconocida("):-1] for r in rows if r not in known)
    check(unknown == sorted(folder.unknown_archives()), f"unknown rows: {unknown}")
    check(rows[:len(known)] == known, "known titles come first")


def double_click_plays_and_log_shows_output(program, folder):
    click(program.row("Astro Falcón"), times=2)
    wait_for("the game's end", lambda: program.status() == "Ha terminado la carga.", 60)
    check(folder.emulator_calls().count("astrofal") == 1,
          f"emulator calls: {folder.emulator_calls()}")
    click(control(program.main, "Ver  Log", "label"))
    box = alert("Visor de sucesos.")
    shown = message_text(box)
    for line in ['Juego cargado: Astro Falcón', 'Loading "Astro Falcón" (astrofal)',
                 "astrofal: running, line 6 of 6"]:
        check(line in shown, f"log lacks '{line}': {shown}")
    answer(box, "Aceptar")


def editor_saves_a_key(program, folder):
    click(control(program.main, "Configurar controles", "label"))
    editor = window(EDITOR)
    # The cell of player 1's coin lies under the player's column heading, on the coin row.
    column, _ = centre(control(editor, "Jugador 1", "label"))
    _, line = centre(control(editor, "Moneda", "label"))
    click_at(column, line)
    click(control(editor, "Q", "label"))
    time.sleep(0.3)
    click(control(editor, "Guardar y salir", "label"))
    window_gone(EDITOR)
    no_message()
    entry = folder.read("ctrlr/Zefrin/default.ini").decode("latin-1")
    check('COIN1                   "KEYCODE_Q"' in entry,
          f"player 1's coin is not Q in the saved entry file: {entry[:400]}")
    switch = control(program.main, "Utilizar teclas definidas", "check box")
    check(switch.getState().contains(pyatspi.STATE_CHECKED),
          "the defined keys are not switched on after the save")
    check(b"Zefrin" in folder.ini_line("ctrlr"), "mame.ini does not name the saved keys")


def search_for_the_game_of(program, archive):
    """Opens the ROM manager and starts a search for the game of `archive`."""
    click(control(program.main, "Gestionar  ROMs", "label"))
    manager = wait_for("the ROM manager", lambda: next(
        (w for w in windows() if role(w) == "dialog"), None))
    choose(rom_list(manager), archive)
    click(control(manager, "Buscar ROM compatible", "label"))
    answer(alert("¿De verdad deseas buscar?"), "Sí")
    return manager


def manager_finds_the_game(program, folder):
    manager = search_for_the_game_of(program, "dragonf.zip")
    found = alert("¡Encontrada!", timeout=120)
    shown = message_text(found)
    check("Dragón de Fuego" in shown, f"search said: {shown}")
    answer(found, "Aceptar")
    # Reports on the archives whose names a shell would run: each reaches the emulator whole,
    # but for a name the emulator would read as an option, which is refused with a message.
    for archive in folder.hostile_archives:
        opened = len(folder.opened_reports())
        choose(rom_list(manager), archive)
        click(descendants(manager, "label", "Detalles")[0])
        if archive.startswith("-"):
            box = alert("¡No!")
            check(archive in message_text(box), message_text(box))
            answer(box, "Aceptar")
            check(len(folder.opened_reports()) == opened, f"a report on {archive!r} opened")
            continue
        wait_for(f"the report on {archive!r}", lambda: len(folder.opened_reports()) > opened, 60)
        url = folder.opened_reports()[-1]
        with open(urllib.parse.unquote(urllib.parse.urlparse(url).path), "rb") as f:
            written = f.read().decode("utf-8", "replace")
        # The report ends every line it copies with CR LF, a newline inside a name too.
        check(archive in written.replace("\r\n", "\n"),
              f"the report on {archive!r} says: {written[:400]}")
    click(control(manager, "Salir", "label"))
    wait_for("the ROM manager to close", lambda: all(role(w) != "dialog" for w in windows()))


# --- the drills -----------------------------------------------------------------------------

def killed_during_a_launch_with_defined_keys(env, folder):
    program = Program(folder, env)
    list_shows_titles(program, folder)
    click(control(program.main, "Utilizar teclas definidas", "check box"))
    wait_for("the keys to be switched on", lambda: b"Zefrin" in folder.ini_line("ctrlr"))
    folder.directive("run-ms\t9000\tastrofal")
    calls = folder.emulator_calls().count("astrofal")
    click(program.row("Astro Falcón"), times=2)
    wait_for("the game to start", lambda: folder.emulator_calls().count("astrofal") > calls)
    wait_for("the game's settings moved aside", lambda: folder.exists("cfg/astrofal.bak"))
    program.kill()
    # The emulator outlives the program, and when the game ends it writes back the settings
    # it read at its start. The next start waits for that before it gives anything back, and
    # keeps the window from closing meanwhile.
    check(folder.emulator_running(), "the game ended with the program")
    program = Program(folder, env)
    wait_for("the wait to be told", lambda: program.status() == WAITING, 20)
    request_close(MAIN)
    wait_for("the close to be refused", lambda: program.status() == REFUSED_CLOSE, 10)
    check(program.process.poll() is None, "the program closed while the game ran")
    check(folder.exists("cfg/astrofal.bak") and not folder.exists("cfg/default.cfg"),
          "files the game still writes were given back while it ran")
    wait_for("the orphaned game's end", lambda: not folder.emulator_running(), 30)
    wait_for("the settings given back", lambda: program.status() == GIVEN_BACK, 10)
    folder.directive("run-ms\t0\tastrofal")
    program.close()
    restart_and_close(env, folder)


def killed_during_a_search(env, folder):
    folder.directive("verify-delay-ms\t1500")
    program = Program(folder, env)
    search_for_the_game_of(program, "dragonf.zip")
    wait_for("the archive to carry another game's name",
             lambda: not folder.exists("roms/dragonf.zip"), 30)
    program.kill()
    wait_for("the orphaned check's end", lambda: not folder.emulator_running(), 30)
    folder.directive("verify-delay-ms\t0")
    # The start-up says what it put back before the window shows.
    program = Program(folder, env, shows_window=False)
    box = alert("Archivo recuperado")
    check("dragonf.zip" in message_text(box), message_text(box))
    answer(box, "Aceptar")
    program.wait_for_window()
    list_shows_titles(program, folder)
    program.close()


def killed_while_the_game_list_is_made(env, folder):
    """The program and the emulator it runs ended together while the list is written: the
    next start must not take the half-written list for the whole one."""
    os.remove(folder.file("lista.txt"))
    folder.directive("listfull-delay-ms\t3000")
    calls = folder.emulator_calls().count("-listfull")
    program = Program(folder, env, shows_window=False)
    wait_for("the game list to be asked for",
             lambda: folder.emulator_calls().count("-listfull") > calls)
    program.kill(with_its_children=True)
    check(not folder.emulator_running(), "the emulator outlived the drill")
    folder.directive("listfull-delay-ms\t0")
    restart_and_close(env, folder)


def second_copy_with_another_runtime_folder(env, folder):
    """The copies of one user share one lock whatever their runtime folder: a second one says
    the program is open and ends, and the first one's scratch folder stays for its launches."""
    program = Program(folder, env)
    list_shows_titles(program, folder)
    scratch = os.listdir(os.path.join(folder.root, "tmp"))
    other = dict(env, XDG_RUNTIME_DIR=os.path.join(folder.root, "run2"))
    os.makedirs(other["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
    second = Program(folder, other, shows_window=False)
    answer(alert("Zefrin ya está abierto."), "Aceptar")
    second.process.wait(timeout=20)
    left = os.listdir(os.path.join(folder.root, "tmp"))
    check(left == scratch, f"scratch folders {scratch} became {left}")
    click(program.row("Astro Falcón"), times=2)
    wait_for("the game's end", lambda: program.status() == "Ha terminado la carga.", 60)
    program.close()


def restart_and_close(env, folder):
    """The next start after a crash: no lock, no stale file stops it or shows in it."""
    program = Program(folder, env)
    list_shows_titles(program, folder)
    no_message()
    program.close()


def main():
    zefrin, standin, fixture = sys.argv[1:4]
    root = tempfile.mkdtemp(prefix="zefrin-e2e-")
    keep = os.environ.get("ZEFRIN_E2E_KEEP") == "1"
    try:
        folder = EmulatorFolder(root, zefrin, standin, fixture)
        env = folder.environment(os.environ)
        before = folder.user_files()

        program = Program(folder, env)
        list_shows_titles(program, folder)
        double_click_plays_and_log_shows_output(program, folder)
        editor_saves_a_key(program, folder)
        manager_finds_the_game(program, folder)
        program.close()
        folder.expect_as_before(before, "a session")

        second_copy_with_another_runtime_folder(env, folder)
        folder.expect_as_before(before, "a second copy with another runtime folder")

        killed_during_a_launch_with_defined_keys(env, folder)
        folder.expect_as_before(before, "a kill during a launch with defined keys")

        killed_during_a_search(env, folder)
        folder.expect_as_before(before, "a kill during a search")

        killed_while_the_game_list_is_made(env, folder)
        folder.expect_as_before(before, "a kill while the game list was made")

        folder.expect_nothing_else_ran()
        print("end to end: every step passed")
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        print("On the screen:", file=sys.stderr)
        dump(out=lambda line: print("  " + line, file=sys.stderr))
        if os.path.exists(os.path.join(root, "zefrin.err")):
            sys.stderr.write(open(os.path.join(root, "zefrin.err"), errors="replace").read())
        keep = True
        return 1
    finally:
        if keep:
            print(f"folder kept: {root}", file=sys.stderr)
        else:
            for path, dirs, files in os.walk(root):
                for entry in dirs + files:
                    full = os.path.join(path, entry)
                    if not os.path.islink(full):
                        os.chmod(full, stat.S_IRWXU)
            shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
