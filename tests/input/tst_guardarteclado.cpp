// "Guardar y salir": the files a save leaves on disk byte for byte, the emulator's own input
// settings parked, mame.ini pointed at the controller files, the switch turned on; and each
// failure (controller files, cfg folder, mame.ini) reported once with the editor left open
// and nothing lost.

#include "KeyFolder.h"
#include "ReadOnly.h"
#include "app/frmCargador.h"
#include "input/ControllerFiles.h"
#include "input/frmTeclas.h"
#include "widgets/LabelButton.h"

#include <QCheckBox>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString mameIniText = QStringLiteral(
    "Se ha producido un error al modificar el archivo de inicio de M.A.M.E, comprueba que el "
    "archivo 'mame.ini' dentro de la carpeta del M.A.M.E no tiene la propiedad de 'sólo "
    "lectura' de ser así Zefrin! no podrá continuar funcionando correctamente.");

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

class GuardarTecladoTest : public QObject {
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
        editor.reset();
        window.reset();
        program.reset();
        folder.reset();
    }

    void saveWritesTheFilesAndTurnsTheSwitchOn()
    {
        open();
        click(editor->lblTecla[21]);  // player 1 coin: 5
        click(editor->lblTecla[17]);  // player 1 start: 1
        click(editor->lblTecla[80]);  // up arrow
        click(editor->lblPorDefecto); // down left to the emulator
        click(editor->lblJugador[1]); // player 2, still "Izquierda"
        click(editor->lblTecla[42]);  // B.May
        click(editor->lblGuardar);

        QVERIFY(program->dialogs.shown.isEmpty());
        QCOMPARE(folder->readFile("ctrlr/Zefrin/default.ini"),
                 QByteArray("#   Teclas configuradas para el Z e f r i n\r\n"
                            "#\r\n"
                            "COIN1                   \"KEYCODE_5\"\r\n"
                            "START1                  \"KEYCODE_1\"\r\n"
                            "P1_JOYSTICK_UP          \"KEYCODE_UP\"\r\n"
                            "P2_JOYSTICK_LEFT        \"KEYCODE_CAPSLOCK\"\r\n"));
        QCOMPARE(folder->readFile("ctrlr/Zefrin.cfg"),
                 QByteArray("<mameconfig version=\"10\">\r\n"
                            "\t<system name=\"default\">\r\n"
                            "\r\n"
                            "\t\t<!-- Configuracion del teclado para Zefrin -->\r\n"
                            "\t\t<input>\r\n"
                            "\t\t\t<port type=\"COIN1\">\r\n"
                            "\t\t\t\t<newseq type=\"standard\">KEYCODE_5</newseq>\r\n"
                            "\t\t\t</port>\r\n"
                            "\t\t\t<port type=\"START1\">\r\n"
                            "\t\t\t\t<newseq type=\"standard\">KEYCODE_1</newseq>\r\n"
                            "\t\t\t</port>\r\n"
                            "\t\t\t<port type=\"P1_JOYSTICK_UP\">\r\n"
                            "\t\t\t\t<newseq type=\"standard\">KEYCODE_UP</newseq>\r\n"
                            "\t\t\t</port>\r\n"
                            "\t\t\t<port type=\"P2_JOYSTICK_LEFT\">\r\n"
                            "\t\t\t\t<newseq type=\"standard\">KEYCODE_CAPSLOCK</newseq>\r\n"
                            "\t\t\t</port>\r\n"
                            "\t\t</input>\r\n"
                            "\t</system>\r\n"
                            "</mameconfig>\r\n"));
        QVERIFY(!folder->exists("cfg/default.cfg"));
        QCOMPARE(folder->readFile("cfg/default.bak"), userInputSettings);
        QCOMPARE(folder->readFile("mame.ini"), switchedOnIni());
        QCOMPARE(program->state.LineaAnterior, QString::fromLatin1(unsetCtrlrLine));
        QVERIFY(window->chkUsaControles->isChecked());
        QVERIFY(!editor->isVisible());
        QCOMPARE(editor->result(), int(QDialog::Accepted));
        QVERIFY(!folderEntries(folder->path()).contains("mame.in"));
    }

    void secondSaveKeepsTheRememberedLine()
    {
        open();
        click(editor->lblTecla[43]);
        click(editor->lblGuardar);
        QVERIFY(window->chkUsaControles->isChecked());
        open();
        QCOMPARE(program->state.TablaTeclas[0][0], 43);
        click(editor->lblTecla[44]);
        click(editor->lblGuardar);
        QVERIFY(program->dialogs.shown.isEmpty());
        QCOMPARE(folder->readFile("mame.ini"), switchedOnIni());
        QCOMPARE(program->state.LineaAnterior, QString::fromLatin1(unsetCtrlrLine));
        QCOMPARE(folder->readFile("cfg/default.bak"), userInputSettings);
        // Switching off afterwards gives the emulator its own settings back.
        window->chkUsaControles->setChecked(false);
        QCOMPARE(folder->readFile("mame.ini"), originalIni);
        QCOMPARE(folder->readFile("cfg/default.cfg"), userInputSettings);
    }

    void savedKeysComeBackIdentically()
    {
        open();
        const int keys[] = {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 101, 28, 30, 31, 32,
                            33, 34, 35, 36, 37, 38, 39, 40, 41, 68, 79, 78,  77, 88, 89, 90,
                            99, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52,  53, 54, 91, 92,
                            93, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65,  66, 67, 80, 94};
        for (int key : keys)
            click(editor->lblTecla[key]);
        const KeyTable assigned = program->state.TablaTeclas;
        click(editor->lblGuardar);
        QVERIFY(program->dialogs.shown.isEmpty());
        const QByteArray entryFile = folder->readFile("ctrlr/Zefrin/default.ini");
        const QByteArray xmlFile = folder->readFile("ctrlr/Zefrin.cfg");
        QCOMPARE(entryFile.count("\r\n"), 2 + 64);

        open();
        QCOMPARE(program->state.TablaTeclas, assigned);
        QVERIFY(!editor->lblAviso->isVisible());
        click(editor->lblGuardar);
        QCOMPARE(folder->readFile("ctrlr/Zefrin/default.ini"), entryFile);
        QCOMPARE(folder->readFile("ctrlr/Zefrin.cfg"), xmlFile);
    }

    void controllerFilesFail()
    {
        QVERIFY(QDir(folder->filePath("ctrlr")).removeRecursively());
        open();
        click(editor->lblTecla[43]);
        click(editor->lblGuardar);
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error"));
        QCOMPARE(shown.text,
                 "Se ha producido un error al guardar el teclado, comprueba que el archivo "
                 "'default.ini' dentro de la carpeta " +
                     folder->path() +
                     "/ctrlr/Zefrin no tiene la propiedad 'sólo lectura' lo cual no permitiría "
                     "seguir ejecutando Zefrin! de forma normal.");
        expectNothingSwitched();
        QVERIFY(!folder->exists("ctrlr"));
    }

    void cfgFolderFails()
    {
        ReadOnly lock(folder->filePath("cfg"));
        if (!lock.locked())
            QSKIP("cannot make a folder immutable here (chattr +i)");
        open();
        click(editor->lblTecla[43]);
        click(editor->lblGuardar);
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error"));
        QCOMPARE(shown.text,
                 "Se ha producido un error al modificar las configuraciones de M.A.M.E, comprueba "
                 "que los archivos dentro de la carpeta " +
                     folder->path() +
                     "/cfg no tienen la propiedad 'sólo lectura' pues de ser así Zefrin! no "
                     "podrá funcionar de forma correcta.");
        expectNothingSwitched();
        // The controller files written before the failure stay.
        QVERIFY(folder->exists("ctrlr/Zefrin/default.ini"));
        QVERIFY(folder->exists("ctrlr/Zefrin.cfg"));
    }

    void missingMameIniFails()
    {
        QVERIFY(QFile::remove(folder->filePath("mame.ini")));
        originalIni.clear();
        open();
        click(editor->lblTecla[43]);
        click(editor->lblGuardar);
        QCOMPARE(program->dialogs.shown.size(), 1);
        QCOMPARE(program->dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QCOMPARE(program->dialogs.shown.first().title, QStringLiteral("Error"));
        QCOMPARE(program->dialogs.shown.first().text, mameIniText);
        expectNothingSwitched();
        QVERIFY(!folder->exists("mame.ini"));
    }

    void readOnlyMameIniFailsOnceAndLosesNothing()
    {
        ReadOnly lock(folder->filePath("mame.ini"));
        if (!lock.locked())
            QSKIP("cannot make a file immutable here (chattr +i)");
        open();
        click(editor->lblTecla[43]);
        click(editor->lblGuardar);
        QCOMPARE(program->dialogs.shown.size(), 1);
        QCOMPARE(program->dialogs.shown.first().text, mameIniText);
        expectNothingSwitched();
        QVERIFY(program->state.LineaAnterior.isEmpty());
    }

    void readOnlyMameIniWhileSwitchedOn()
    {
        open();
        click(editor->lblTecla[43]);
        click(editor->lblGuardar);
        QVERIFY(window->chkUsaControles->isChecked());
        // Someone put the emulator's own line back by hand and locked the file.
        folder->writeFile("mame.ini", originalIni);
        ReadOnly lock(folder->filePath("mame.ini"));
        if (!lock.locked())
            QSKIP("cannot make a file immutable here (chattr +i)");
        open();
        click(editor->lblGuardar);
        // One message although the switch-off it causes fails the same way.
        QCOMPARE(program->dialogs.shown.size(), 1);
        QCOMPARE(program->dialogs.shown.first().text, mameIniText);
        expectNothingSwitched();
        QCOMPARE(program->state.LineaAnterior, QString::fromLatin1(unsetCtrlrLine));
    }

private:
    void open()
    {
        editor.reset();
        program->dialogs.shown.clear();
        editor = std::make_unique<frmTeclas>(program->context, *window, window.get());
        editor->Form_Load();
        editor->show();
    }

    QByteArray switchedOnIni() const
    {
        QByteArray ini = originalIni;
        return ini.replace(unsetCtrlrLine, zefrinCtrlrLine);
    }

    // The editor stays open; the emulator keeps its own settings.
    void expectNothingSwitched()
    {
        QVERIFY(editor->isVisible());
        QVERIFY(!window->chkUsaControles->isChecked());
        QCOMPARE(folder->readFile("mame.ini"), originalIni);
        QCOMPARE(folder->readFile("cfg/default.cfg"), userInputSettings);
        QVERIFY(!folder->exists("cfg/default.bak"));
        QVERIFY(!folderEntries(folder->path()).contains("mame.in"));
        QCOMPARE(folderEntries(folder->filePath("cfg")), QStringList{"default.cfg"});
    }

    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;
    std::unique_ptr<frmTeclas> editor;
    QByteArray originalIni;
};

QTEST_MAIN(GuardarTecladoTest)
#include "tst_guardarteclado.moc"
