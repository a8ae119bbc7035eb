// How long a keyed run of today's emulator takes to set a game's settings file aside and to
// merge it back: the input mappings cut out of the user's file before the run, and put back
// into what the emulator saved after it, for files of many mapped ports.
//   bench_keyedsettings [PORTS...]   (default: 5000 20000 50000)

#include "engine/launch/InputMappings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

using namespace zefrin;

namespace {

struct SettingsFiles {
    QByteArray users; // every port mapped, as the user left it
    QByteArray saved; // the same ports as the emulator saves them after a keyed run
};

SettingsFiles settingsOf(int ports)
{
    const QByteArray head = "<mameconfig version=\"10\">\n<system name=\"pong\">\n<input>\n";
    const QByteArray tail = "</input>\n</system>\n</mameconfig>\n";
    SettingsFiles files{head, head};
    for (int i = 0; i < ports; ++i) {
        const QByteArray port =
            "<port tag=\":IN" + QByteArray::number(i) + "\" type=\"P1_BUTTON1\"";
        files.users +=
            port + " value=\"1\">\n<newseq type=\"standard\">KEYCODE_A</newseq>\n</port>\n";
        files.saved += port + " value=\"0\" />\n";
    }
    files.users += tail;
    files.saved += tail;
    return files;
}

double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList counts = application.arguments().mid(1);
    if (counts.isEmpty())
        counts = {QStringLiteral("5000"), QStringLiteral("20000"), QStringLiteral("50000")};
    for (const QString& count : std::as_const(counts)) {
        const SettingsFiles files = settingsOf(count.toInt());
        QElapsedTimer timer;
        timer.start();
        const std::optional<QByteArray> forTheRun = withoutInputMappings(files.users);
        const double splitMs = msSince(timer);
        timer.restart();
        const std::optional<QByteArray> merged = withInputMappingsOf(files.saved, files.users);
        const double mergeMs = msSince(timer);
        const bool whole = forTheRun && merged && merged->count("KEYCODE_A") == count.toInt() &&
                           merged->count("value=\"0\"") == count.toInt();
        std::printf("%6d mapped ports (%5.1f MB): set aside %8.1f ms, merged back %8.1f ms%s\n",
                    count.toInt(), static_cast<double>(files.users.size()) / (1 << 20), splitMs,
                    mergeMs, whole ? "" : "  WRONG RESULT");
        if (!whole)
            return 1;
    }
    return 0;
}
