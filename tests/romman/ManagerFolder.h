#pragma once
// Emulator folders for the ROM manager tests, with archives written good, bad or foreign under
// any name; and the manager window loaded over such a folder.

#include "fixture/Collection.h"
#include "gui/romman/frmGestionar.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QListWidget>
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
    // ("pacman"), those with one file wrong ("bad pacman"), or "garbage" that is no zip.
    void archive(const QString& holds, const QString& name)
    {
        const std::string target = romPath(name).toStdString();
        const bool bad = holds.startsWith("bad ");
        const fx::Game* game = fx::findGame(collection, holds.mid(bad ? 4 : 0).toStdString());
        if (holds == "garbage")
            writeFile("roms/" + name, "PK no es un zip de verdad");
        else
            QVERIFY(holds == "foreign" ? fx::writeForeignArchive(target, name.toStdString())
                    : bad              ? game && fx::writeBadArchive(*game, target)
                                       : game && fx::writeGoodArchive(*game, target));
    }

    QStringList romNames() const { return folderContents(filePath("roms")).keys(); }

    // The first argument of each run of the stand-in (which logs one TAB separated argument
    // list a line), in order, blank separated.
    QString setsAsked() const
    {
        QStringList sets;
        for (const QString& call :
             QString::fromUtf8(readFile("standin-calls.txt")).split('\n', Qt::SkipEmptyParts))
            sets << call.section('\t', 0, 0);
        return sets.join(' ');
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

// The manager's own words about a search and a comparison.
inline const QStringList searchAsked{
    "Exclamation?", "¿De verdad deseas buscar?",
    "Quieres realmente buscar una ROM compatible con este archivo entre las ROMs emulables por "
    "esta versión de M.A.M.E? Si decides hacerlo, recuerda que este proceso puede durar "
    "bastante."};
inline QStringList searchFound(const QString& title)
{
    return {
        "Exclamation", "¡Encontrada!",
        "Se ha encpntrado compatibilidad para el archivo seleccionado, el título del juego es " +
            title + "."};
}
inline const QStringList nothingFound{"Critical", "¡Ogh!",
                                      "No se han encontrado ROMs compatibbles"};
inline const QStringList cancelAsked{"Exclamation?", "¿Estas seguro?",
                                     "¿Deseas abortar la búsqueda de ROMs compatibles?"};
inline const QStringList searchCancelled{"Critical", "Proceso cancelado",
                                         "La comprobación ha sido cancelada por el usuario."};
inline const QStringList compatible{"Exclamation", "¡Encontrada!",
                                    "Las ROMs son compatibles. Puede que actualizando la ROM "
                                    "para el juego seleccionado M.A.M.E pueda emularla."};

inline void click(QWidget* window, const QString& control)
{
    QTest::mouseClick(window->findChild<QWidget*>(control), Qt::LeftButton);
}

inline void clickItem(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
    QVERIFY2(item, qPrintable(text));
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The window takes the dialect when it is made.
inline AppContext& configured(Program& program, Dialect dialect)
{
    program.state.dialect = dialect;
    return program.context;
}

// A loaded, shown ROM manager over `games`, roms holding `archives` (pairs of what an archive
// holds, as ManagerFolder::archive takes it, and its name).
struct Manager {
    explicit Manager(fx::Collection games = managerCollection(),
                     const QList<QStringList>& archives = {{"galaga", "galaga.zip"},
                                                           {"pacman", "viejo.zip"},
                                                           {"dkong", "mono.zip"},
                                                           {"foreign", "misterio.zip"}},
                     Dialect dialect = Dialect::Classic)
        : folder(std::move(games))
        , program(folder.path())
        , window(configured(program, dialect))
    {
        program.state.records.pendingRename = folder.recordPath();
        for (const QStringList& archive : archives)
            folder.archive(archive[0], archive[1]);
        QVERIFY(actToSignal(&window, &frmGestionar::loaded, [this] { return window.Form_Load(); }));
        window.show();
    }

    // The game list written anew, as a command does.
    bool reload()
    {
        return actToSignal(&window, &frmGestionar::loaded, [this] {
            window.CargarDatos();
            return true;
        });
    }

    ManagerFolder folder;
    Program program;
    frmGestionar window;
};

} // namespace zefrin::test
