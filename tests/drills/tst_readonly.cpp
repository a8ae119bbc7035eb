// The program's writes met by a read-only mount (the emulator folder, one of its folders or
// files, the folder of the run records): the user is told once, nothing in the folder
// changes, and the program goes on.

#include "fixture/Demo.h"
#include "gui/app/frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "gui/romman/frmGestionar.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/ReadOnlyMount.h"
#include "support/Runs.h"

#include <QCheckBox>
#include <QListView>
#include <QListWidget>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QByteArray userSettings = "<mameconfig version=\"10\"><!-- user --></mameconfig>";

void clickItem(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
    QVERIFY2(item, qPrintable(text));
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The demo emulator folder after a first start: the generated files made, the emulator's
// mame.ini, the user's input settings and settings of a game, saved keys.
struct Rig {
    explicit Rig(bool started)
    {
        std::string error;
        QVERIFY2(fixture::writeDemo(folder.path().toStdString(), error), error.c_str());
        folder.installEmulator();
        folder.writeFile("cfg/default.cfg", userSettings);
        folder.writeFile("cfg/astrofal.cfg", "<!-- the user's astrofal settings -->");
        program.state.records = RunRecords::forFolder(folder.path(), records.path());
        if (!started)
            return;
        QVERIFY(loadToEnd(window));
        window.show();
        program.state.TablaTeclas[0][0] = 21;
        frmTeclas editor(program.context, window, &window);
        QVERIFY(editor.GuardarTeclado());
        window.chkUsaControles->setChecked(false);
    }

    EmulatorFolder folder;
    QTemporaryDir records;
    Program program{folder.path()};
    frmCargador window{program.context};
};

} // namespace

class ReadOnlyTest : public QObject {
    Q_OBJECT

private slots:
    void everyWriteMeetsAReadOnlyMount_data()
    {
        QTest::addColumn<QString>("mounted"); // relative to the emulator folder, or a place
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("said");
        // What a switch going off may still change where it can: the rest of its steps.
        QTest::addColumn<QStringList>("mayChange");
        // The one message said, when pinned: %1 the emulator folder, %2 the game settings' note.
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, const char* mounted, const char* action,
                            bool said = true, const QStringList& mayChange = {},
                            const QString& message = {}) {
            QTest::newRow(tag) << mounted << action << said << mayChange << message;
        };
        // Messages pinned elsewhere are only counted here: tst_keyswitch (the key switch's and
        // its note's), tst_launch (the game's settings), tst_catalogue (the list). Saving with
        // cfg read-only fails where the switch does.
        row("first start in a read-only folder", ".", "start");
        row("game list deleted", ".", "new list");
        // The play script and the log live in the scratch folder: the game runs.
        row("launch from a read-only folder", ".", "launch", false);
        row("controls saved", "ctrlr", "save");
        row("controls saved, entry file read-only", "ctrlr/Zefrin/default.ini", "save");
        const QString cfg = QStringLiteral(
            "Error|Se ha producido un error al modificar las configuraciones de M.A.M.E, "
            "comprueba que los archivos dentro de la carpeta %1/cfg no tienen la propiedad 'sólo "
            "lectura' pues de ser así Zefrin! no podrá funcionar de forma correcta.");
        row("emulator settings parked", "cfg", "switch on", true, {}, cfg);
        row("emulator settings given back", "cfg", "switch off", true, {"mame.ini"});
        row("closing with the keys on", ".", "close");
        row("rename record", "(records)", "search");
        row("game settings record", "(records)", "launch with keys", true, {},
            "Error.|No se puede guardar la nota de Zefrin! en %2, y sin ella la configuración "
            "propia del juego podría quedarse apartada si Zefrin! se cerrara durante la "
            "partida. No se ha modificado nada.");
        row("archive renamed for good", "roms", "update");
        row("report script", ".", "report");
    }

    void everyWriteMeetsAReadOnlyMount()
    {
        QFETCH(QString, mounted);
        QFETCH(QString, action);
        Rig rig(action != "start");
        if (QTest::currentTestFailed())
            return;
        if (action == "switch off" || action == "close" || action == "launch with keys")
            rig.window.chkUsaControles->setChecked(true);
        const QString target =
            mounted == "(records)" ? rig.records.path() : rig.folder.filePath(mounted);
        QFETCH(QStringList, mayChange);
        // Every file with its bytes; the stand-in's own call log aside.
        const QStringList skipped = mayChange + QStringList{"standin-calls.txt"};
        const auto before = folderContents(rig.folder.path(), skipped);
        {
            const ReadOnlyMount readOnly(target);
            if (!readOnly.readOnly)
                QSKIP("read-only bind mounts need the right to mount");
            act(rig, action);
        }
        QFETCH(bool, said);
        QStringList messages; // the questions asked before the work aside
        for (const ShownMessage& shown : std::as_const(rig.program.dialogs.shown))
            if (shown.icon == Dialogs::Icon::Critical)
                messages << shown.title + '|' + shown.text;
        QVERIFY2(said != messages.isEmpty(), qPrintable(messages.join('\n')));
        QFETCH(QString, message);
        message.replace("%1", rig.folder.path())
            .replace("%2", rig.program.state.records.gameSettings);
        if (!message.isEmpty())
            QCOMPARE(messages, QStringList{message});

        // The user's own input settings among them.
        QCOMPARE(folderContents(rig.folder.path(), skipped), before);
    }

private:
    void act(Rig& rig, const QString& action)
    {
        rig.program.dialogs.answers = {true, true};
        if (action == "start") {
            QVERIFY(loadToEnd(rig.window));
        } else if (action == "new list") {
            QTest::mouseClick(rig.window.lblLista, Qt::LeftButton);
        } else if (action.startsWith("launch")) {
            const QString title = QStringLiteral("Astro Falcón");
            rig.window.lstJuegos->setCurrentIndex(rig.window.lstJuegos->model()->index(
                int(shownRows(rig.window.lstJuegos).indexOf(title)), 0));
            rig.window.LaunchSelectedGame();
            QTRY_VERIFY_WITH_TIMEOUT(!rig.window.emulatorBusy(), 30000);
        } else if (action == "save") {
            frmTeclas editor(rig.program.context, rig.window, &rig.window);
            QVERIFY(!editor.GuardarTeclado());
        } else if (action.startsWith("switch")) {
            rig.window.chkUsaControles->click();
        } else if (action == "close") {
            QVERIFY(rig.window.close());
        } else {
            // The ROM manager, opened as the user opens it.
            QTest::mouseClick(rig.window.lblGestionar, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<frmGestionar*>(QApplication::activeModalWidget()),
                                     30000);
            actInManager(*qobject_cast<frmGestionar*>(QApplication::activeModalWidget()), action);
            QTRY_VERIFY_WITH_TIMEOUT(
                !rig.window.emulatorBusy() && !QApplication::activeModalWidget(), 30000);
        }
    }

    void actInManager(frmGestionar& manager, const QString& action)
    {
        clickItem(manager.ROMs, "dragonf.zip");
        if (action == "search")
            QTest::mouseClick(manager.lblBuscar, Qt::LeftButton);
        if (action == "update") {
            clickItem(manager.lstJuegos, QString::fromUtf8("Dragón de Fuego"));
            QTest::mouseClick(manager.lblActualizar, Qt::LeftButton);
        }
        if (action == "report")
            QTest::mouseClick(manager.lblContiene, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!manager.ManagerBusy, 30000);
        manager.close();
    }
};

QTEST_MAIN(ReadOnlyTest)
#include "tst_readonly.moc"
