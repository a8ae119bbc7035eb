#pragma once
// Emulator folders for the ROM manager tests: the stand-in emulator with a made-up game
// collection, archives written good, bad or foreign under any name, and the pending-rename
// record kept in a temporary folder of its own.

#include "fixture/Collection.h"
#include "support/EmulatorFolder.h"

#include <QtTest>

namespace zefrin::test {

namespace fx = zefrin::fixture;

// Galaga Espacial (galaga), Come Cocos (pacman), Donkey Kong (dkong), Tetrix (tetrix), in this
// order, each with files of its own.
inline fx::Collection managerCollection(std::vector<fx::Directive> directives = {})
{
    return {{fx::makeGame("galaga", "Galaga Espacial", {{"gg1.bin", 300}, {"gg2.bin", 200}}),
             fx::makeGame("pacman", "Come Cocos", {{"pm.6e", 256}, {"pm.6f", 256}}),
             fx::makeGame("dkong", "Donkey Kong", {{"dk.5e", 512}}),
             fx::makeGame("tetrix", "Tetrix", {{"tx.1", 128}, {"tx.2", 64}})},
            std::move(directives)};
}

struct ManagerFolder : EmulatorFolder {
    explicit ManagerFolder(fx::Collection games = managerCollection(),
                           const QString& subfolder = "MAME 0.70")
        : EmulatorFolder(subfolder)
        , collection(std::move(games))
    {
        installEmulator();
        QVERIFY(fx::writeDataFile(collection, filePath("standin.dat").toStdString()));
    }

    QString romPath(const QString& name) const { return filePath("roms/" + name); }
    QString recordPath() const { return records.filePath("pending-rename.json"); }

    // An archive in roms named `name` holding "foreign" files of no game, a game's files
    // ("pacman") or those with one file wrong ("bad pacman").
    void archive(const QString& holds, const QString& name) const
    {
        const std::string target = romPath(name).toStdString();
        const bool bad = holds.startsWith("bad ");
        const fx::Game* game = fx::findGame(collection, holds.mid(bad ? 4 : 0).toStdString());
        QVERIFY(holds == "foreign" ? fx::writeForeignArchive(target, name.toStdString())
                : bad              ? game && fx::writeBadArchive(*game, target)
                                   : game && fx::writeGoodArchive(*game, target));
    }

    // Every name in roms with its bytes.
    QMap<QString, QByteArray> roms() const
    {
        QMap<QString, QByteArray> entries;
        for (const QString& name :
             QDir(filePath("roms"))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            entries.insert(name, readFile("roms/" + name));
        return entries;
    }
    QStringList romNames() const { return roms().keys(); }

    // The stand-in's runs so far, one argument list (TAB separated) a line.
    QStringList emulatorCalls() const
    {
        return QString::fromUtf8(readFile("standin-calls.txt")).split('\n', Qt::SkipEmptyParts);
    }
    void forgetEmulatorCalls() const { QFile::remove(filePath("standin-calls.txt")); }

    fx::Collection collection;
    QTemporaryDir records;
};

// `chattr +i` on `path` for as long as the result is held; null where chattr is not available.
// On this file system a root process can still write where permission bits say no, but not into
// an immutable file or folder.
inline std::shared_ptr<QString> immutable(const QString& path)
{
    if (QProcess::execute("chattr", {"+i", path}) != 0)
        return nullptr;
    return {new QString(path), [](QString* locked) {
                QProcess::execute("chattr", {"-i", *locked});
                delete locked;
            }};
}

// The messages shown so far, each as its icon's name (with "?" for a yes/no question), its
// title and its text.
inline QStringList messagesShown(const RecordingDialogs& dialogs)
{
    const char* const icons[] = {"", "Information", "Exclamation", "Critical", "Question"};
    QStringList shown;
    for (const ShownMessage& m : dialogs.shown)
        shown << icons[int(m.icon)] + QString(m.yesNo ? "?" : "") << m.title << m.text;
    return shown;
}

} // namespace zefrin::test
