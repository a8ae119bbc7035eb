#include "CatalogueFolder.h"

#include <QFile>
#include <QtTest>

namespace zefrin::test {

namespace {

const QByteArray heading = "Name:     Description:\r\n";

const QByteArray listingEmulator = "#!/bin/sh\n"
                                   "echo \"$*\" >> runs.log\n"
                                   "if [ -f delay.txt ]; then sleep \"$(cat delay.txt)\"; fi\n"
                                   "case \"$1\" in\n"
                                   "  -listfull) printf 'Name:     Description:\\r\\n'\n"
                                   "             cat listfull.txt 2>/dev/null ;;\n"
                                   "esac\n";

QByteArray gameLines(const QList<Game>& games)
{
    QByteArray lines;
    for (const Game& game : games)
        lines += QStringLiteral("%1\"%2\"\r\n").arg(game.first, -10).arg(game.second).toUtf8();
    return lines;
}

} // namespace

QByteArray gameListText(const QList<Game>& games)
{
    return heading + gameLines(games);
}

void installListingEmulator(EmulatorFolder& folder, const QList<Game>& games)
{
    folder.writeFile("mame", listingEmulator);
    QVERIFY(QFile::setPermissions(folder.filePath("mame"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    setListedGames(folder, games);
}

void setListedGames(EmulatorFolder& folder, const QList<Game>& games)
{
    folder.writeFile("listfull.txt", gameLines(games));
}

int emulatorRuns(const EmulatorFolder& folder)
{
    return int(folder.readFile("runs.log").count('\n'));
}

void addArchives(EmulatorFolder& folder, const QStringList& names)
{
    for (const QString& name : names)
        folder.writeFile(QStringLiteral("roms/") + name, QByteArray());
}

} // namespace zefrin::test
