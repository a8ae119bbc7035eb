// The defined-keys switch of the main window and what it does to the emulator's files:
// mame.ini and cfg/default.cfg before and after ticking, unticking and closing the program,
// with files missing or read-only; the controls editor opened from the main window; and the
// start-up turning the switch off for emulators without configurable controls.

#include "KeyFolder.h"
#include "ReadOnly.h"
#include "app/frmCargador.h"
#include "input/ControllerFiles.h"
#include "input/frmTeclas.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString mameIniText = QStringLiteral(
    "Se ha producido un error al modificar el archivo de inicio de M.A.M.E, comprueba que el "
    "archivo 'mame.ini' dentro de la carpeta del M.A.M.E no tiene la propiedad de 'sólo "
    "lectura' de ser así Zefrin! no podrá continuar funcionando correctamente.");

} // namespace

class KeySwitchTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        prepareKeyFolder(*folder);
        originalIni = folder->readFile(QStringLiteral("mame.ini"));
        program = std::make_unique<Program>(folder->path());
        window = std::make_unique<frmCargador>(program->context);
    }

    void cleanup()
    {
        window.reset();
        program.reset();
        folder.reset();
    }

    void tickingWithoutKeysSaysNotYet()
    {
        // Parked by an earlier run: it comes back before the message.
        QVERIFY(QFile::rename(folder->filePath("cfg/default.cfg"),
                              folder->filePath("cfg/default.bak")));
        QTest::mouseClick(window->chkUsaControles, Qt::LeftButton);
        QVERIFY(!window->chkUsaControles->isChecked());
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("Todavía no."));
        QCOMPARE(shown.text, QStringLiteral("No hay un archivo de teclado configurado, debes "
                                            "configurar las teclas antes de seleccionar la "
                                            "casilla."));
        expectEmulatorsOwnSettings();
    }

    void tickingAndUntickingSwapsTheSettings()
    {
        saveKeys();
        QTest::mouseClick(window->chkUsaControles, Qt::LeftButton);
        QVERIFY(window->chkUsaControles->isChecked());
        QVERIFY(program->dialogs.shown.isEmpty());
        expectDefinedKeys();
        QCOMPARE(program->state.LineaAnterior, QString::fromLatin1(unsetCtrlrLine));

        QTest::mouseClick(window->chkUsaControles, Qt::LeftButton);
        QVERIFY(!window->chkUsaControles->isChecked());
        QVERIFY(program->dialogs.shown.isEmpty());
        expectEmulatorsOwnSettings();
        QVERIFY(program->state.LineaAnterior.isEmpty());
        // The controller files stay for the next time.
        QVERIFY(folder->exists("ctrlr/Zefrin/default.ini"));
        QVERIFY(folder->exists("ctrlr/Zefrin.cfg"));
    }

    void usersOwnControllerComesBack()
    {
        originalIni.replace(unsetCtrlrLine, "ctrlr                   xarcade");
        folder->writeFile("mame.ini", originalIni);
        saveKeys();
        window->chkUsaControles->click();
        expectDefinedKeys();
        window->chkUsaControles->click();
        expectEmulatorsOwnSettings();
    }

    void nothingRememberedLeavesMameIniAlone()
    {
        // A run that ended without its shutdown left "Zefrin" in place.
        originalIni.replace(unsetCtrlrLine, zefrinCtrlrLine);
        folder->writeFile("mame.ini", originalIni);
        saveKeys();
        window->chkUsaControles->click();
        QVERIFY(program->state.LineaAnterior.isEmpty());
        window->chkUsaControles->click();
        QCOMPARE(folder->readFile("mame.ini"), originalIni);
        QCOMPARE(folder->readFile("cfg/default.cfg"), userInputSettings);
    }

    void capitalsAreNotTheOption()
    {
        originalIni.replace(unsetCtrlrLine, "CTRLR                   mine");
        folder->writeFile("mame.ini", originalIni);
        saveKeys();
        window->chkUsaControles->click();
        QVERIFY(window->chkUsaControles->isChecked());
        QCOMPARE(folder->readFile("mame.ini"), originalIni);
    }

    void clicksAreIgnoredWhileBusy()
    {
        saveKeys();
        program->state.EmulatorBusy = true;
        QTest::mouseClick(window->chkUsaControles, Qt::LeftButton);
        window->chkUsaControles->click();
        QVERIFY(!window->chkUsaControles->isChecked());
        expectEmulatorsOwnSettings();
        program->state.EmulatorBusy = false;
        window->chkUsaControles->click();
        program->state.EmulatorBusy = true;
        window->chkUsaControles->click();
        QVERIFY(window->chkUsaControles->isChecked());
        expectDefinedKeys();
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void readOnlyMameIniWhenTicking()
    {
        saveKeys();
        ReadOnly lock(folder->filePath("mame.ini"));
        if (!lock.locked())
            QSKIP("cannot make a file immutable here (chattr +i)");
        window->chkUsaControles->click();
        QVERIFY(!window->chkUsaControles->isChecked());
        expectOneMessage(mameIniText);
        expectEmulatorsOwnSettings();
    }

    void readOnlyMameIniWhenUnticking()
    {
        saveKeys();
        window->chkUsaControles->click();
        {
            ReadOnly lock(folder->filePath("mame.ini"));
            if (!lock.locked())
                QSKIP("cannot make a file immutable here (chattr +i)");
            window->chkUsaControles->click();
            expectOneMessage(mameIniText);
            QVERIFY(!window->chkUsaControles->isChecked());
            QCOMPARE(folder->readFile("cfg/default.cfg"), userInputSettings);
            QCOMPARE(folder->readFile("mame.ini"), definedKeysIni());
        }
        // The user's line was kept in memory: once the file can be written it comes back.
        window->chkUsaControles->click();
        window->chkUsaControles->click();
        QCOMPARE(program->dialogs.shown.size(), 1);
        expectEmulatorsOwnSettings();
    }

    void readOnlyCfgFolderWhenTicking()
    {
        saveKeys();
        ReadOnly lock(folder->filePath("cfg"));
        if (!lock.locked())
            QSKIP("cannot make a folder immutable here (chattr +i)");
        window->chkUsaControles->click();
        QVERIFY(!window->chkUsaControles->isChecked());
        expectOneMessage(
            "Se ha producido un error al modificar las configuraciones de M.A.M.E, comprueba que "
            "los archivos dentro de la carpeta " +
            folder->path() +
            "/cfg no tienen la propiedad 'sólo lectura' pues de ser así Zefrin! no podrá "
            "funcionar de forma correcta.");
        expectEmulatorsOwnSettings();
    }

    void missingMameIniIsNotReported()
    {
        saveKeys();
        QVERIFY(QFile::remove(folder->filePath("mame.ini")));
        window->chkUsaControles->click();
        QVERIFY(window->chkUsaControles->isChecked());
        QVERIFY(program->dialogs.shown.isEmpty());
        QVERIFY(!folder->exists("mame.ini"));
        QCOMPARE(folder->readFile("cfg/default.bak"), userInputSettings);
    }

    void closingGivesTheEmulatorItsSettingsBack()
    {
        saveKeys();
        window->chkUsaControles->click();
        window->show();
        QVERIFY(window->close());
        expectEmulatorsOwnSettings();
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void closingLeavesTheUsersOwnControllerLineAlone_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("unset form") << unsetCtrlrLine;
        QTest::newRow("user's own controller") << QByteArray("ctrlr                   xarcade");
        QTest::newRow("no value") << QByteArray("ctrlr                   ");
    }

    void closingLeavesTheUsersOwnControllerLineAlone()
    {
        // Only what the program set is taken back: a setting the user made stays.
        QFETCH(QByteArray, line);
        QByteArray ini = originalIni;
        ini.replace(unsetCtrlrLine, line);
        folder->writeFile("mame.ini", ini);
        window->show();
        QVERIFY(window->close());
        QCOMPARE(folder->readFile("mame.ini"), ini);
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void closingResetsALineLeftNamingTheProgramsFiles()
    {
        // An earlier run that ended without closing left the option pointing at our files.
        QByteArray leftOver = originalIni;
        leftOver.replace(unsetCtrlrLine, "ctrlr                   Zefrin");
        folder->writeFile("mame.ini", leftOver);
        window->show();
        QVERIFY(window->close());
        QCOMPARE(folder->readFile("mame.ini"), originalIni);
    }

    void closingWithReadOnlyMameIni()
    {
        saveKeys();
        window->chkUsaControles->click();
        ReadOnly lock(folder->filePath("mame.ini"));
        if (!lock.locked())
            QSKIP("cannot make a file immutable here (chattr +i)");
        window->show();
        QVERIFY(window->close());
        expectOneMessage(mameIniText);
        QCOMPARE(folder->readFile("mame.ini"), definedKeysIni());
        QCOMPARE(folder->readFile("cfg/default.cfg"), userInputSettings);
        QVERIFY(!folder->exists("cfg/default.bak"));
        QVERIFY(!folderEntries(folder->path()).contains("mame.in"));
    }

    void keysButtonOpensTheEditor()
    {
        QPointer<frmTeclas> seen;
        QTimer::singleShot(0, this, [&seen] {
            seen = qobject_cast<frmTeclas*>(QApplication::activeModalWidget());
            if (!seen)
                return;
            QTest::mouseClick(seen->lblTecla[43], Qt::LeftButton);
            QTest::mouseClick(seen->lblGuardar, Qt::LeftButton);
        });
        QTest::mouseClick(window->lblTeclas, Qt::LeftButton);
        QVERIFY(seen.isNull()); // gone with its modal run
        QVERIFY(program->dialogs.shown.isEmpty());
        QCOMPARE(program->state.TablaTeclas[0][0], 43);
        QVERIFY(window->chkUsaControles->isChecked());
        expectDefinedKeys();
    }

    void switchShowsItsPressedLook()
    {
        const auto shapeColour = [this] {
            return window->Shape1->styleSheet();
        };
        QTest::mousePress(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::buttonPressed());
        QVERIFY(shapeColour().contains(Colours::buttonPressed().name()));
        QVERIFY(window->KeysButtonWasActive);
        QTest::mouseRelease(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::buttonNormal());
        QVERIFY(shapeColour().contains(Colours::buttonNormal().name()));
        QCOMPARE(program->dialogs.shown.size(), 1); // the click ran: no keys saved yet

        // A grey switch flashes and stays grey, also while a game runs.
        window->setCheckBoxColour(Colours::disabledGrey());
        program->state.EmulatorBusy = true;
        QTest::mousePress(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::buttonPressed());
        QVERIFY(!window->KeysButtonWasActive);
        QTest::mouseRelease(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::disabledGrey());
        QCOMPARE(program->dialogs.shown.size(), 1);
        expectEmulatorsOwnSettings();
    }

    void oldEmulatorTurnsTheSwitchOff()
    {
        saveKeys();
        window->chkUsaControles->click();
        expectDefinedKeys();
        folder->setVersion("0.59");
        QVERIFY(window->Form_Load());
        QVERIFY(!window->chkUsaControles->isChecked());
        QVERIFY(!window->chkUsaControles->isEnabled());
        QCOMPARE(window->checkBoxColour(), Colours::disabledGrey());
        QCOMPARE(window->lblTeclas->backColour(), Colours::disabledGrey());
        expectEmulatorsOwnSettings();
    }

private:
    void saveKeys()
    {
        KeyTable table = emptyKeyTable();
        table[0][0] = 21;
        QVERIFY(writeControllerFiles(folder->path(), table));
    }

    QByteArray definedKeysIni() const
    {
        // The option line, commented or not, names the controller files.
        QList<QByteArray> lines = originalIni.split('\n');
        for (QByteArray& line : lines) {
            if (line.startsWith("ctrlr ") || line.startsWith("# ctrlr "))
                line = zefrinCtrlrLine + '\r';
        }
        return lines.join('\n');
    }

    void expectDefinedKeys()
    {
        QCOMPARE(folder->readFile("mame.ini"), definedKeysIni());
        QVERIFY(!folder->exists("cfg/default.cfg"));
        QCOMPARE(folder->readFile("cfg/default.bak"), userInputSettings);
    }

    void expectEmulatorsOwnSettings()
    {
        QCOMPARE(folder->readFile("mame.ini"), originalIni);
        QCOMPARE(folder->readFile("cfg/default.cfg"), userInputSettings);
        QVERIFY(!folder->exists("cfg/default.bak"));
        QVERIFY(!folderEntries(folder->path()).contains("mame.in"));
    }

    void expectOneMessage(const QString& text)
    {
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error"));
        QCOMPARE(shown.text, text);
    }

    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;
    QByteArray originalIni;
};

QTEST_MAIN(KeySwitchTest)
#include "tst_keyswitch.moc"
