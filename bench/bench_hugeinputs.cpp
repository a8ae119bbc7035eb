// How the readers of the user's and the emulator's files cope with huge inputs: opening the
// controls editor (CargarTeclado) and saving its files (writeControllerFiles) with a huge
// key-name table Zefrin.tlc and with a huge controller entry file, the version read from a
// whatsnew.txt whose first line is huge, and the one-option rewrite of a huge mame.ini.
//   bench_hugeinputs [MEGABYTES [table|entries|version|ini|list...]]   (default: 100, all groups)
// Each case runs in a child process of its own, so that its peak memory (VmHWM) is its own;
// a child that only starts up gives the floor every case stands on.

#include "QuietSeams.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeyNameTable.h"
#include "engine/input/MameIniOption.h"
#include "engine/services/InstanceLock.h"
#include "engine/services/TextFile.h"
#include "engine/state/AppState.h"
#include "engine/version/VersionRules.h"
#include "gui/app/frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "gui/widgets/Seams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using namespace zefrin;
using namespace zefrin::bench;

namespace {

// The peak resident memory of this process so far, in kB (0 when it cannot be read).
long long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// Every cell of the editor's table given a key of the default table.
KeyTable fullTable()
{
    static const int keys[16] = {17, 18, 80, 82, 81, 83, 43, 61, 59, 45, 32, 46, 47, 48, 37, 49};
    KeyTable table{};
    for (int player = 0; player < 4; ++player) {
        for (int control = 0; control < 16; ++control)
            table[player][control] = keys[control];
    }
    return table;
}

// Writes `head`, then `filler` repeated up to `size` bytes in all (cut where the size ends),
// then `tail`.
bool writeFilled(const QString& path, const QByteArray& head, const QByteArray& filler, qint64 size,
                 const QByteArray& tail)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size())
        return false;
    QByteArray block;
    while (!filler.isEmpty() && block.size() < (1 << 20))
        block += filler;
    qint64 written = head.size();
    while (!block.isEmpty() && written + tail.size() < size) {
        const qint64 part = std::min<qint64>(block.size(), size - tail.size() - written);
        if (file.write(block.constData(), part) != part)
            return false;
        written += part;
    }
    return file.write(tail) == tail.size();
}

QByteArray crLfText(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += encodeSystemText(line) + "\r\n";
    return bytes;
}

// The entry file's 64 lines for fullTable(), named through the default table in `folder`.
QByteArray entryLines(const QString& folder)
{
    return crLfText(controllerEntryLines(controllerEntries(folder, fullTable(), Dialect::Classic)));
}

bool prepareHugeTable(const QString& folder, qint64 size, const QByteArray& entries)
{
    // Filler first: every lookup has to go through it to reach the table's own lines.
    const QByteArray table = crLfText(defaultKeyNameTableLines());
    return QDir().mkpath(folder + QStringLiteral("/ctrlr/Zefrin")) &&
           writeFilled(folder + QStringLiteral("/Zefrin.tlc"), "[relleno]\r\n",
                       "nota = un archivo de nombres de teclas editado a mano\r\n", size,
                       "\r\n" + table) &&
           writeFilled(controllerEntryPath(folder), entries, "", entries.size(), "");
}

bool prepareHugeEntries(const QString& folder, qint64 size, const QByteArray& entries)
{
    return QDir().mkpath(folder + QStringLiteral("/ctrlr")) && CrearTablaTeclas(folder) &&
           writeFilled(controllerEntryPath(folder), "#   Teclas\r\n#\r\n", entries, size, "");
}

bool prepareHugeVersion(const QString& folder, qint64 size)
{
    return writeFilled(folder + QStringLiteral("/whatsnew.txt"), "", "0.61 ", size,
                       "\r\n\r\n0.61\r\n");
}

bool prepareHugeMameIni(const QString& folder, qint64 size)
{
    // Option lines as the emulator writes them, a path in a code page other than UTF-8, and
    // the controller option halfway through.
    const QByteArray filler = "rompath                 C:\\Juegos\\M\xe1me\\roms\r\n"
                              "# sound                 1\r\n"
                              "samplerate              48000\r\n";
    const QString path = folder + QStringLiteral("/mame.ini");
    if (!writeFilled(path, "# CORE CONFIGURATION OPTIONS\r\n", filler, size / 2,
                     "\r\n# ctrlr                 <NULL> (Not Set)\r\n"))
        return false;
    QFile second(folder + QStringLiteral("/second"));
    if (!writeFilled(second.fileName(), "", filler, size - size / 2, ""))
        return false;
    QFile ini(path);
    if (!ini.open(QIODevice::Append) || !second.open(QIODevice::ReadOnly))
        return false;
    while (!second.atEnd())
        ini.write(second.read(1 << 20));
    return second.remove();
}

// A game list of garbage: random bytes with a line end now and then, and a few archives.
bool prepareGarbageList(const QString& folder, qint64 size)
{
    QFile list(folder + QStringLiteral("/lista.txt"));
    if (!QDir().mkpath(folder + QStringLiteral("/roms")) || !list.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(7);
    QByteArray piece(1 << 20, Qt::Uninitialized);
    for (qint64 written = 0; written < size; written += piece.size()) {
        random.fillRange(reinterpret_cast<quint32*>(piece.data()), piece.size() / 4);
        if (list.write(piece) != piece.size())
            return false;
    }
    for (const char* archive : {"pacman.zip", "galaga.zip", "dkong.zip"})
        QFile(folder + QStringLiteral("/roms/") + QLatin1String(archive))
            .open(QIODevice::WriteOnly);
    return true;
}

// --- the child: one case, then its time and peak memory on one line ---

struct Editor {
    explicit Editor(const QString& folder) { state.emulatorFolder = folder; }
    AppState state;
    AnsweringDialogs dialogs{false};
    NoDesktop desktop;
    RecordedExit programExit;
    QTemporaryDir lockFolder;
    InstanceLock lock{lockFolder.filePath(QStringLiteral("zefrin.lock"))};
    AppContext context{state, dialogs, desktop, programExit, lock};
    frmCargador window{context};
    frmTeclas editor{context, window, &window};
};

// Runs the case; false when it did not do what it should have.
bool runCase(const QString& name, const QString& folder, double* ms)
{
    QElapsedTimer clock;
    if (name == QLatin1String("open")) {
        Editor editor(folder);
        clock.start();
        editor.editor.CargarTeclado(controllerEntryPath(folder));
        *ms = double(clock.nsecsElapsed()) / 1e6;
        return editor.state.TablaTeclas == fullTable();
    }
    if (name == QLatin1String("save")) {
        clock.start();
        const bool written = writeControllerFiles(folder, fullTable(), Dialect::Classic);
        *ms = double(clock.nsecsElapsed()) / 1e6;
        return written;
    }
    if (name == QLatin1String("version")) {
        clock.start();
        const InstalledVersion version = ReadEmulatorVersion(folder);
        *ms = double(clock.nsecsElapsed()) / 1e6;
        std::printf("version of %lld characters; ", static_cast<long long>(version.shown().size()));
        return !version.shown().isEmpty();
    }
    if (name == QLatin1String("rewrite") || name == QLatin1String("unchanged")) {
        QString linea;
        clock.start();
        const IniChange change =
            rewriteIniOption(folder + QStringLiteral("/mame.ini"), QStringLiteral("ctrlr"),
                             QStringLiteral("Zefrin"), false, linea);
        *ms = double(clock.nsecsElapsed()) / 1e6;
        return change ==
               (name == QLatin1String("rewrite") ? IniChange::Rewritten : IniChange::Unchanged);
    }
    if (name == QLatin1String("list")) {
        Editor editor(folder);
        clock.start();
        editor.window.CargarDatos();
        *ms = double(clock.nsecsElapsed()) / 1e6;
        return editor.window.lstJuegos->model()->rowCount() == 3;
    }
    *ms = 0;
    return name == QLatin1String("start");
}

int runChild(const QString& name, const QString& folder)
{
    double ms = 0;
    const bool done = runCase(name, folder, &ms);
    std::printf("%.1f ms, peak %lld kB%s\n", ms, peakKb(), done ? "" : " (FAILED)");
    return done ? 0 : 1;
}

// --- the parent ---

void runInChild(const char* title, const QString& name, const QString& folder)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--case"), name, folder});
    child.waitForFinished(-1);
    std::printf("  %-44s %s", title, child.readAllStandardOutput().constData());
    if (child.exitStatus() != QProcess::NormalExit)
        std::printf("(the child crashed)\n");
}

// Which groups to run: all, or those named after the size.
bool wanted(const QStringList& arguments, const char* group)
{
    return arguments.size() <= 2 || arguments.contains(QLatin1String(group));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--case"))
        return runChild(arguments.at(2), arguments.at(3));

    const qint64 megabytes = arguments.size() > 1 ? arguments.at(1).toLongLong() : 100;
    const qint64 size = megabytes << 20;
    QTemporaryDir root;
    const QString reference = root.filePath(QStringLiteral("reference"));
    if (!root.isValid() || !QDir().mkpath(reference) || !CrearTablaTeclas(reference))
        return 1;
    const QByteArray lines = entryLines(reference);
    std::printf("Huge inputs of %lld MB, each case in a process of its own (time of the "
                "operation, peak resident memory of the process)\n",
                static_cast<long long>(megabytes));
    runInChild("start-up only (the floor)", QStringLiteral("start"), reference);
    const QString table = root.filePath(QStringLiteral("table"));
    if (wanted(arguments, "table") && prepareHugeTable(table, size, lines)) {
        runInChild("Zefrin.tlc: open the editor (CargarTeclado)", QStringLiteral("open"), table);
        runInChild("Zefrin.tlc: save (writeControllerFiles)", QStringLiteral("save"), table);
    }
    const QString entries = root.filePath(QStringLiteral("entries"));
    if (wanted(arguments, "entries") && prepareHugeEntries(entries, size, lines)) {
        runInChild("default.ini: open the editor (CargarTeclado)", QStringLiteral("open"), entries);
        // Last: the save replaces the huge file.
        runInChild("default.ini: save (writeControllerFiles)", QStringLiteral("save"), entries);
    }
    const QString version = root.filePath(QStringLiteral("version"));
    if (wanted(arguments, "version") && prepareHugeVersion(version, size))
        runInChild("whatsnew.txt, huge first line: version", QStringLiteral("version"), version);
    const QString ini = root.filePath(QStringLiteral("ini"));
    if (wanted(arguments, "ini") && prepareHugeMameIni(ini, size)) {
        runInChild("mame.ini: ctrlr set (rewritten)", QStringLiteral("rewrite"), ini);
        runInChild("mame.ini: ctrlr set again (unchanged)", QStringLiteral("unchanged"), ini);
    }
    const QString garbage = root.filePath(QStringLiteral("list"));
    if (wanted(arguments, "list") && prepareGarbageList(garbage, size))
        runInChild("lista.txt of garbage: the main list built", QStringLiteral("list"), garbage);
    return 0;
}
