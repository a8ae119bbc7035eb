"""The emulator folder of the end-to-end run: the demo games, the stand-in emulator as `mame`,
the program copied in, the user's own settings, and names a shell would run."""

import fnmatch
import os
import shutil
import subprocess

from desktop import Failure

# Each would run the canary `pwn` if a command line ever handed it to a shell unquoted.
FOLDER_NAME = "Juegos; pwn & `pwn` $(pwn) | pwn 'q' \"d\" %PATH% -x"
HOSTILE_ARCHIVES = ["$(pwn).zip", "`pwn`.zip", "a;pwn;b.zip", "x&pwn&.zip", "y|pwn.zip",
                    "'q\"d%PATH%.zip", "-pwn.zip", "--help.zip", "new\npwn.zip"]

USER_INI_LINE = b"ctrlr                     usuario"
USER_DEFAULT_CFG = b"<?xml version=\"1.0\"?>\n<!-- the user's own input settings -->\n"
USER_GAME_CFG = b"<?xml version=\"1.0\"?>\n<!-- the user's settings for astrofal -->\n"

# Files the program or the emulator may leave after a clean close: the generated lists, the
# saved keys, the emulator's own settings of a game played, and the stand-in's call log.
MAY_APPEAR = ["lista.txt", "Zefrin.tlc", "ctrlr/Zefrin.cfg", "ctrlr/Zefrin/default.ini",
              "standin-calls.txt", "cfg/*.cfg"]
CHANGED_BY_THE_TEST = ["standin.dat", "standin-calls.txt"]


class EmulatorFolder:
    def __init__(self, root, zefrin, standin, fixture):
        self.root = root
        self.path = os.path.join(root, FOLDER_NAME)
        subprocess.run([fixture, "demo", self.path], check=True, stdout=subprocess.DEVNULL)
        shutil.copy(standin, os.path.join(self.path, "mame"))
        shutil.copy(zefrin, os.path.join(self.path, "zefrin"))
        self.bin = os.path.join(root, "bin")
        os.makedirs(self.bin)
        self._canary(os.path.join(self.path, "pwn"))
        self._canary(os.path.join(self.bin, "pwn"))
        self._editor(os.path.join(self.bin, "xdg-open"))
        stranger = os.path.join(self.path, "roms", "misterio.zip")
        for archive in HOSTILE_ARCHIVES:
            shutil.copy(stranger, os.path.join(self.path, "roms", archive))
        self.hostile_archives = HOSTILE_ARCHIVES
        self._user_settings()

    def _canary(self, path):
        with open(path, "w") as script:
            script.write(f"#!/bin/sh\necho \"$0 $*\" >> '{self.root}/PWNED'\n")
        os.chmod(path, 0o755)

    def _editor(self, path):
        # The desktop's "open this file" command: records what it was asked to open.
        with open(path, "w") as script:
            script.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{self.root}/opened.txt'\n")
        os.chmod(path, 0o755)

    def _user_settings(self):
        subprocess.run(["./mame", "-cc"], cwd=self.path, check=True, stdout=subprocess.DEVNULL)
        ini = self.read("mame.ini").splitlines(keepends=True)
        ini = [USER_INI_LINE + line[len(line.rstrip(b"\r\n")):]
               if line.lstrip(b"# ").startswith(b"ctrlr ") else line for line in ini]
        self.write("mame.ini", b"".join(ini))
        self.write("cfg/default.cfg", USER_DEFAULT_CFG)
        self.write("cfg/astrofal.cfg", USER_GAME_CFG)
        os.remove(os.path.join(self.path, "standin-calls.txt"))

    def environment(self, base):
        env = dict(base)
        for name in ("run", "data", "config", "tmp", "home"):
            os.makedirs(os.path.join(self.root, name), mode=0o700)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "XDG_RUNTIME_DIR": os.path.join(self.root, "run"),
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "TMPDIR": os.path.join(self.root, "tmp"),
            "HOME": os.path.join(self.root, "home"),
            "PATH": self.bin + os.pathsep + base.get("PATH", "/usr/bin:/bin"),
        })
        env.pop("QT_ACCESSIBILITY", None)
        return env

    # --- reading the folder -----------------------------------------------------------------

    def file(self, relative):
        return os.path.join(self.path, relative)

    def exists(self, relative):
        return os.path.lexists(self.file(relative))

    def read(self, relative):
        with open(self.file(relative), "rb") as f:
            return f.read()

    def write(self, relative, data):
        os.makedirs(os.path.dirname(self.file(relative)), exist_ok=True)
        with open(self.file(relative), "wb") as f:
            f.write(data)

    def directive(self, line):
        with open(self.file("standin.dat"), "a") as f:
            f.write(line + "\n")

    def ini_line(self, option):
        for line in self.read("mame.ini").splitlines():
            if line.split(b" ", 1)[0] == option.encode():
                return line
        return b""

    def archives(self):
        roms = self.file("roms")
        return [n for n in os.listdir(roms)
                if n.lower().endswith(".zip") and os.path.isfile(os.path.join(roms, n))]

    def unknown_archives(self):
        games = set()
        for line in self.read("standin.dat").decode().splitlines():
            fields = line.split("\t")
            if fields[0] == "game":
                games.add(fields[1].lower())
        return [a for a in self.archives() if a[:-4].lower() not in games]

    def emulator_calls(self):
        if not self.exists("standin-calls.txt"):
            return []
        lines = self.read("standin-calls.txt").decode("utf-8", "replace").splitlines()
        return [line.split("\t")[0] for line in lines]

    def emulator_running(self):
        mame = os.path.realpath(self.file("mame"))
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if os.readlink(f"/proc/{pid}/exe") == mame:
                    return True
            except OSError:
                continue
        return False

    def opened_reports(self):
        opened = os.path.join(self.root, "opened.txt")
        if not os.path.exists(opened):
            return []
        with open(opened) as f:
            return f.read().splitlines()

    def user_files(self):
        files = {}
        for path, _, names in os.walk(self.path):
            for n in names:
                full = os.path.join(path, n)
                files[os.path.relpath(full, self.path)] = open(full, "rb").read()
        return files

    # --- what must hold ---------------------------------------------------------------------

    def expect_as_before(self, before, after_what):
        now = self.user_files()
        for relative, content in before.items():
            if relative in CHANGED_BY_THE_TEST:
                continue
            if relative not in now:
                raise Failure(f"after {after_what}: {relative!r} is gone")
            if now[relative] != content:
                raise Failure(f"after {after_what}: {relative!r} changed:\n"
                              f"{now[relative][:600]!r}")
        for relative in now:
            if relative not in before and not any(fnmatch.fnmatch(relative, pattern)
                                                  for pattern in MAY_APPEAR):
                raise Failure(f"after {after_what}: {relative!r} was left in the folder")

    def expect_nothing_else_ran(self):
        pwned = os.path.join(self.root, "PWNED")
        if os.path.exists(pwned):
            with open(pwned) as f:
                raise Failure("a name was run as a command: " + f.read())
        scratch = os.listdir(os.path.join(self.root, "tmp"))
        if scratch:
            raise Failure(f"scratch folders left after the last close: {scratch}")
