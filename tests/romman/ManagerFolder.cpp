#include "ManagerFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace zefrin::test {

namespace {

bool chattr(const QString& flag, const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("chattr"), {flag, path});
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

fx::Collection managerCollection(std::vector<fx::Directive> directives)
{
    return {{fx::makeGame("galaga", "Galaga Espacial", {{"gg1.bin", 300}, {"gg2.bin", 200}}),
             fx::makeGame("pacman", "Come Cocos", {{"pm.6e", 256}, {"pm.6f", 256}}),
             fx::makeGame("dkong", "Donkey Kong", {{"dk.5e", 512}}),
             fx::makeGame("tetrix", "Tetrix", {{"tx.1", 128}, {"tx.2", 64}})},
            std::move(directives)};
}

ManagerFolder::ManagerFolder(fx::Collection games, const QString& subfolder)
    : folder(subfolder)
    , collection(std::move(games))
{
    folder.installEmulator();
    QVERIFY(fx::writeDataFile(collection, folder.filePath("standin.dat").toStdString()));
}

QString ManagerFolder::romPath(const QString& name) const
{
    return folder.filePath(QStringLiteral("roms/") + name);
}

QString ManagerFolder::recordPath() const
{
    return recordFolder_.filePath(QStringLiteral("records/pending-rename.json"));
}

void ManagerFolder::goodArchive(const std::string& game, const QString& name)
{
    const fx::Game* found = fx::findGame(collection, game);
    QVERIFY(found);
    QVERIFY(fx::writeGoodArchive(*found, romPath(name).toStdString()));
}

void ManagerFolder::badArchive(const std::string& game, const QString& name)
{
    const fx::Game* found = fx::findGame(collection, game);
    QVERIFY(found);
    QVERIFY(fx::writeBadArchive(*found, romPath(name).toStdString()));
}

void ManagerFolder::foreignArchive(const QString& name)
{
    QVERIFY(fx::writeForeignArchive(romPath(name).toStdString(), name.toStdString()));
}

QByteArray ManagerFolder::romBytes(const QString& name) const
{
    return folder.readFile(QStringLiteral("roms/") + name);
}

QStringList ManagerFolder::romsListing() const
{
    QStringList names = QDir(folder.filePath(QStringLiteral("roms")))
                            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

void ManagerFolder::replaceEmulator(const QByteArray& script)
{
    const QString target = folder.filePath(QStringLiteral("mame"));
    QFile::remove(target);
    folder.writeFile(QStringLiteral("mame"), script);
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QStringList ManagerFolder::emulatorCalls() const
{
    const QString text = QString::fromUtf8(folder.readFile(QStringLiteral("standin-calls.txt")));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ManagerFolder::forgetEmulatorCalls()
{
    QFile::remove(folder.filePath(QStringLiteral("standin-calls.txt")));
}

Immutable::Immutable(const QString& path)
    : path_(path)
    , applied_(chattr(QStringLiteral("+i"), path))
{
}

Immutable::~Immutable()
{
    if (applied_)
        chattr(QStringLiteral("-i"), path_);
}

} // namespace zefrin::test
