// The defined keys in use: "Guardar y salir" and the main window's switch set mame.ini's
// option "ctrlr" and park cfg/default.cfg; unticking, closing or an emulator without
// configurable controls give back only what the program set. Each failure is said once and
// leaves the emulator's own settings whole.

#include "KeyRig.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeySwitch.h"
#include "engine/input/MameIniOption.h"
#include "support/Runs.h"

#include <QCheckBox>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString mameIniText = QStringLiteral(
    "Se ha producido un error al modificar el archivo de inicio de M.A.M.E, comprueba que el "
    "archivo 'mame.ini' dentro de la carpeta del M.A.M.E no tiene la propiedad de 'sólo "
    "lectura' de ser así Zefrin! no podrá continuar funcionando correctamente.");
const QString keyFilesText = QStringLiteral(
    "Se ha producido un error al guardar el teclado, comprueba que el archivo 'default.ini' "
    "dentro de la carpeta %1/ctrlr/Zefrin no tiene la propiedad 'sólo lectura' lo cual no "
    "permitiría seguir ejecutando Zefrin! de forma normal.");
const QString notYetText = QStringLiteral("No hay un archivo de teclado configurado, debes "
                                          "configurar las teclas antes de seleccionar la casilla.");
const QByteArray usersOwnLine = "ctrlr                   xarcade";
const QString noteText = QStringLiteral(
    "No se puede guardar la nota de Zefrin! en %1, y sin ella tu configuración de M.A.M.E podría "
    "quedarse cambiada si Zefrin! se cerrara con las teclas definidas en uso. No se ha modificado "
    "nada.");

} // namespace

class KeySwitchTest : public QObject {
    Q_OBJECT

private slots:
    void init() { rig = std::make_unique<KeyRig>(); }

    // Every line keeps its own line end (LF, CR LF, none after the last), a byte that is not
    // UTF-8 stays, other options stay (the name ends at the first space and letter case
    // counts). Every line naming the option is set, a comment already showing the value
    // uncommented, the last line replaced remembered.
    void everyOptionLineIsSetAndTheLastRemembered()
    {
        const QByteArray others =
            "rompath   C:\\Juegos\\M\xe1me\nctrlrpath ctrlr\r\n#ctrlr Zefrin\n"
            "ctrlr\n ctrlr a\nctrlr\tZefrin x\nCTRLR  a\n";
        rig->folder.writeFile("mame.ini", others + "ctrlr a\r\n# ctrlr  Zefrin\n# ctrlr b");
        QString linea;
        QCOMPARE(
            rewriteIniOption(rig->folder.filePath("mame.ini"), "ctrlr", "Zefrin", false, linea),
            IniChange::Rewritten);
        QCOMPARE(linea, "# ctrlr b");
        QCOMPARE(rig->folder.readFile("mame.ini"),
                 others + zefrinCtrlrLine + "\r\nctrlr  Zefrin\n" + zefrinCtrlrLine);
    }

    // "Guardar y salir" turns the switch on. Saving again, or ticking again in the next run,
    // after a run that ended before its launch could delete the default.cfg the emulator
    // wrote, keeps the user's parked file and the line remembered the first time.
    void savingTurnsTheSwitchOnAndKeepsWhatItSetAside()
    {
        click(rig->open().lblGuardar);
        QVERIFY(rig->window.chkUsaControles->isChecked());
        expectDefinedKeys();
        QVERIFY(rig->program.dialogs.shown.isEmpty());
        rig->folder.writeFile("cfg/default.cfg", "<!-- written by the emulator -->");
        click(rig->open().lblGuardar);
        expectDefinedKeys();
        rig->folder.writeFile("cfg/default.cfg", "<!-- written by the emulator -->");
        frmCargador next(rig->program.context);
        next.chkUsaControles->click();
        expectDefinedKeys();
        next.chkUsaControles->click();
        QVERIFY(rig->program.dialogs.shown.isEmpty());
        expectEmulatorsOwnSettings();
    }

    void failuresAreSaidOnceAndChangeNothing_data()
    {
        QTest::addColumn<QString>("removed"); // a file or folder of the emulator's
        QTest::addColumn<QString>("locked");
        QTest::addColumn<QString>("action");
        const auto row = [](const char* name, const char* removed, const char* locked,
                            const char* action) {
            QTest::newRow(name) << removed << locked << action;
        };
        // Read-only files and folders otherwise: tests/drills/tst_readonly.
        row("save, no ctrlr folder", "ctrlr", "", "save");
        row("save, no mame.ini", "mame.ini", "", "save");
        // The switch on, then mame.ini's line put back by hand: one message, although the
        // switch-off it causes fails too.
        row("save again, mame.ini read-only", "", "mame.ini", "save again");
        // Without its note a change could not be undone after a kill: it is not made.
        row("tick, nothing to park, no note can be kept", "cfg/default.cfg", "(records)", "tick");
        row("tick, no keys saved", "ctrlr/Zefrin", "", "tick");
    }

    void failuresAreSaidOnceAndChangeNothing()
    {
        QFETCH(QString, removed);
        QFETCH(QString, locked);
        QFETCH(QString, action);
        KeyRig& r = *rig;
        if (action == "tick")
            saveKeys();
        const QString gone = r.folder.filePath(removed);
        QVERIFY(removed.isEmpty() || QFile::remove(gone) || QDir(gone).removeRecursively());
        if (action == "save again") {
            switchOn();
            r.folder.writeFile("mame.ini", r.originalIni);
        }
        r.originalIni = r.folder.readFile("mame.ini");
        std::optional<ReadOnlyMount> lock;
        if (!locked.isEmpty() &&
            !lock.emplace(locked == "(records)" ? r.program.recordsFolder.path()
                                                : r.folder.filePath(locked))
                 .readOnly)
            QSKIP("read-only bind mounts need the right to mount");
        if (action == "tick")
            r.window.chkUsaControles->click();
        else
            click(r.open().lblGuardar);
        const bool notYet = removed == "ctrlr/Zefrin";
        const QString text = removed == "ctrlr" ? keyFilesText.arg(r.folder.path())
                             : locked == "(records)"
                                 ? noteText.arg(r.program.state.records.controllerLine)
                             : notYet ? notYetText
                                      : mameIniText;
        r.expectOneMessage(notYet ? Dialogs::Icon::Information : Dialogs::Icon::Critical,
                           notYet ? "Todavía no." : "Error", text);
        if (removed == "cfg/default.cfg") {
            QCOMPARE(folderEntries(r.folder.filePath("cfg")), QStringList());
            r.folder.writeFile("cfg/default.cfg", userInputSettings);
        }
        QVERIFY(action == "tick" || r.editor->isVisible());
        QVERIFY(!r.window.chkUsaControles->isChecked());
        QCOMPARE(r.program.state.LineaAnterior,
                 action == "save again" ? QString::fromLatin1(unsetCtrlrLine) : QString());
        expectEmulatorsOwnSettings();
    }

    void switchingOnAndBack_data()
    {
        QTest::addColumn<QByteArray>("line"); // mame.ini's controller line
        QTest::addColumn<QString>("off");     // how the switch goes off before closing
        QTest::newRow("closed while on") << usersOwnLine << "";
        QTest::newRow("an emulator too old for it") << usersOwnLine << "0.59";
        // Rewritten where it points: the link stays a link.
        QTest::newRow("mame.ini a link") << QByteArray("(link)") << "untick";
        // The emulator reads a first line after a UTF-8 byte order mark as any other.
        QTest::newRow("byte order mark") << QByteArray("(mark)") << "untick";
    }

    void switchingOnAndBack()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, off);
        if (line == "(link)") {
            QVERIFY(
                QFile::rename(rig->folder.filePath("mame.ini"), rig->folder.filePath("mio.ini")));
            QVERIFY(QFile::link("mio.ini", rig->folder.filePath("mame.ini")));
            line = unsetCtrlrLine;
        }
        if (line == "(mark)") {
            line = usersOwnLine;
            rig->originalIni =
                "\xef\xbb\xbf" + line + "\n" + rig->originalIni.replace(unsetCtrlrLine, "#");
        }
        rig->folder.writeFile("mame.ini", rig->originalIni.replace(unsetCtrlrLine, line));
        // A file of the user's under the name the program's rewrite once used for itself.
        rig->folder.writeFile("mame.ini.zefrin-nuevo", "mío");
        switchOn(line);
        if (off == "untick")
            rig->window.chkUsaControles->click();
        if (off == "0.59") {
            rig->folder.setVersion("0.59");
            QVERIFY(loadToEnd(rig->window));
            expectEmulatorsOwnSettings(); // before the program closes
        }
        rig->window.show();
        QVERIFY(rig->window.close());
        QVERIFY(rig->program.dialogs.shown.isEmpty());
        expectEmulatorsOwnSettings();
        QVERIFY(rig->folder.exists("ctrlr/Zefrin/default.ini")); // kept for the next time
        QCOMPARE(QFileInfo(rig->folder.filePath("mame.ini")).isSymLink(), line == unsetCtrlrLine);
        frmCargador next(rig->program.context);
        QVERIFY(loadToEnd(next));
        QCOMPARE(rig->folder.readFile("mame.ini.zefrin-nuevo"), QByteArray("mío"));
    }

    // A copy ended by force with the keys on leaves mame.ini pointing at them, and a game's run
    // since wrote its default.cfg: the next start shows the switch on, as it is in force, and
    // unticking gives everything back. With the saved keys deleted since, a game's run could
    // not load them: the start gives everything back at once.
    void aStartAfterAKillShowsTheKeysInForce_data()
    {
        QTest::addColumn<bool>("keysDeleted");
        QTest::newRow("keys there") << false;
        QTest::newRow("keys deleted since") << true;
    }

    void aStartAfterAKillShowsTheKeysInForce()
    {
        QFETCH(bool, keysDeleted);
        rig->folder.setVersion("0.70");
        switchOn();
        rig->folder.writeFile("cfg/default.cfg", "<!-- written by the emulator -->");
        if (keysDeleted)
            QVERIFY(QFile::remove(controllerXmlPath(rig->folder.path())));
        Program after(rig->folder.path());
        after.state.records = rig->program.state.records;
        frmCargador next(after.context);
        QVERIFY(loadToEnd(next));
        QVERIFY(after.dialogs.shown.isEmpty());
        QCOMPARE(next.chkUsaControles->isChecked(), !keysDeleted);
        if (!keysDeleted) {
            expectDefinedKeys();
            next.chkUsaControles->click();
        }
        expectEmulatorsOwnSettings();
    }

    // Nothing in mame.ini can point the emulator at the keys: the switch does not stay on, and
    // the user is told why; nothing is changed.
    void switchStaysOffWhileNothingPointsAtTheKeys_data()
    {
        QTest::addColumn<QByteArray>("ini"); // empty: none
        QTest::addColumn<QString>("text");
        const QString none = "No se ha encontrado el archivo 'mame.ini' en la carpeta %1, así "
                             "que M.A.M.E no puede usar las teclas definidas.";
        QTest::newRow("no mame.ini") << QByteArray() << none;
        QTest::newRow("a link to a file that is gone") << QByteArray("(link)") << none;
        QTest::newRow("no ctrlr line")
            << QByteArray("rompath roms\n")
            << "El archivo 'mame.ini' de la carpeta %1 no tiene la opción 'ctrlr', así que "
               "M.A.M.E no puede usar las teclas definidas. Añade una línea 'ctrlr' a ese archivo "
               "y vuelve a marcar la casilla.";
    }

    void switchStaysOffWhileNothingPointsAtTheKeys()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, text);
        QVERIFY(QFile::remove(rig->folder.filePath("mame.ini")));
        if (ini == "(link)")
            QVERIFY(QFile::link("gone.ini", rig->folder.filePath("mame.ini")));
        else if (!ini.isEmpty())
            rig->folder.writeFile("mame.ini", ini);
        saveKeys();
        rig->window.chkUsaControles->click();
        QVERIFY(!rig->window.chkUsaControles->isChecked());
        rig->expectOneMessage(Dialogs::Icon::Exclamation, "Error", text.arg(rig->folder.path()));
        QCOMPARE(folderEntries(rig->folder.filePath("cfg")), QStringList{"default.cfg"});
        if (ini == "(link)")
            QCOMPARE(QFileInfo(rig->folder.filePath("mame.ini")).symLinkTarget(),
                     rig->folder.filePath("gone.ini"));
        else
            QCOMPARE(rig->folder.exists("mame.ini") ? rig->folder.readFile("mame.ini")
                                                    : QByteArray(),
                     ini);
    }

    // A cfg/default.bak of the user's own (no record says the program parked it) is never
    // touched: the current settings go aside under a free name, the user is told where, and
    // they come back when the keys go off.
    void usersOwnParkedFileIsNeverTouched()
    {
        const QByteArray usersBackup = "<!-- the user's own backup -->";
        rig->folder.writeFile("cfg/default.bak", usersBackup);
        saveKeys();
        rig->window.chkUsaControles->click();
        rig->expectOneMessage(
            Dialogs::Icon::Information, "Atención",
            "Ya hay un archivo 'default.bak' en la carpeta " + rig->folder.filePath("cfg") +
                " que no ha puesto Zefrin!, así que tu configuración de M.A.M.E ('default.cfg') "
                "se ha apartado como 'default (2).bak' mientras uses las teclas definidas. "
                "Volverá a su sitio al desmarcar la casilla o al cerrar Zefrin!.");
        rig->window.chkUsaControles->setChecked(false);
        QCOMPARE(folderEntries(rig->folder.filePath("cfg")),
                 (QStringList{"default.bak", "default.cfg"}));
        QCOMPARE(rig->folder.readFile("cfg/default.cfg"), userInputSettings);
        QCOMPARE(rig->folder.readFile("cfg/default.bak"), usersBackup);
    }

private:
    void saveKeys()
    {
        QVERIFY(writeControllerFiles(rig->folder.path(), tableOf({{0, 0, 21}}), Dialect::Classic));
    }

    void switchOn(const QByteArray& line = unsetCtrlrLine)
    {
        saveKeys();
        rig->window.chkUsaControles->click();
        QVERIFY2(rig->window.chkUsaControles->isChecked(),
                 qPrintable(rig->program.dialogs.shown.value(0).text));
        expectDefinedKeys(line);
    }

    // mame.ini's controller line, if any, names the controller files.
    void expectDefinedKeys(const QByteArray& line = unsetCtrlrLine)
    {
        QByteArray ini = rig->originalIni;
        QCOMPARE(rig->folder.readFile("mame.ini"), ini.replace(line, zefrinCtrlrLine));
        QCOMPARE(folderEntries(rig->folder.filePath("cfg")), QStringList{"default.bak"});
        QCOMPARE(rig->folder.readFile("cfg/default.bak"), userInputSettings);
    }

    void expectEmulatorsOwnSettings()
    {
        QCOMPARE(rig->folder.readFile("mame.ini"), rig->originalIni);
        QCOMPARE(folderEntries(rig->folder.filePath("cfg")), QStringList{"default.cfg"});
        QCOMPARE(rig->folder.readFile("cfg/default.cfg"), userInputSettings);
        // No temporary file left; a file of the user's of the name the program once used stays.
        QStringList inis = folderEntries(rig->folder.path()).filter("mame.ini");
        inis.removeAll("mame.ini.zefrin-nuevo");
        QVERIFY2(inis.size() <= 1, qPrintable(inis.join(' ')));
    }

    std::unique_ptr<KeyRig> rig;
};

QTEST_MAIN(KeySwitchTest)
#include "tst_keyswitch.moc"
