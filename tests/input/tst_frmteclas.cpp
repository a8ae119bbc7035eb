// The controls editor as a user meets it: where every key and button sits, its colours and
// captions, the clicks that assign keys and move the selection on, the refusal of a key
// already taken, the pressed looks, loading the saved keys and leaving without saving.

#include "app/frmCargador.h"
#include "input/ControllerFiles.h"
#include "input/KeyNameTable.h"
#include "input/KeyboardPicture.h"
#include "input/frmTeclas.h"
#include "support/EmulatorFolder.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

QRect designPlace(int left, int top, int width, int height)
{
    return twipsRect(left, top, width, height);
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

const QColor selectedGrey(224, 224, 224);
const QColor highlight(192, 255, 255);
const QColor pressedKey(192, 192, 255);
const QColor white(255, 255, 255);

} // namespace

class FrmTeclasTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        QVERIFY(CrearTablaTeclas(folder->path()));
        folder->makeFolder(QStringLiteral("ctrlr"));
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

    void windowLook()
    {
        open();
        QCOMPARE(editor->windowTitle(),
                 QStringLiteral("Configuración de los controles de M.A.M.E."));
        QCOMPARE(editor->size(), QSize(669, 306));
        QCOMPARE(editor->palette().color(QPalette::Window), QColor(15, 63, 96));
        QCOMPARE(editor->findChildren<LabelButton*>().size(), 102 + 16 + 4 + 5);
    }

    void controlsSitAtTheirDesignPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        const QString playerTip =
            QStringLiteral("Se verá en gris el jugador seleccionado para su configuración.");
        const int lefts[] = {2775, 4365, 5955, 7545};
        for (int i = 0; i < 4; ++i)
            QTest::addRow("lblJugador(%d)", i)
                << QStringLiteral("lblJugador(%1)").arg(i) << designPlace(lefts[i], 135, 1575, 255)
                << QStringLiteral("Jugador %1").arg(i + 1) << playerTip;
        const QString controlTip = QStringLiteral(
            "Se verá en gris el control al que asignarás una tecla que posteriormente se guarde "
            "en el archivo de configuración.");
        const QStringList controls{"Moneda",    "Comienzo", "Arriba",  "Abajo",
                                   "Izquierda", "Derecha",  "Botón 1", "Botón 2",
                                   "Botón 3",   "Botón 4",  "Botón 5", "Botón 6",
                                   "Botón 7",   "Botón 8",  "Botón 9", "Botón 10"};
        for (int i = 0; i < 16; ++i)
            QTest::addRow("lblControl(%d)", i)
                << QStringLiteral("lblControl(%1)").arg(i)
                << designPlace(120, 180 + 270 * i, 1575, 255) << controls[i] << controlTip;
        QTest::newRow("lblAviso")
            << "lblAviso" << designPlace(3240, 540, 5505, 255)
            << "No se ha encontrado el archivo de configuraciones, se creará uno nuevo."
            << "";
        QTest::newRow("lblPorDefecto")
            << "lblPorDefecto" << designPlace(4485, 930, 3015, 255)
            << "Dejar la tecla por defecto de M.A.M.E"
            << "No define ninguna tecla para este control, deja que M.A.M.E. le de su valor por "
               "defecto.";
        QTest::newRow("lblTeclado")
            << "lblTeclado" << designPlace(6585, 3735, 1575, 255) << "Usar Teclado"
            << "Define las teclas para los controles de M.A.M.E.";
        QTest::newRow("lblJoystick")
            << "lblJoystick" << designPlace(8175, 3735, 1575, 255) << "Usar Joystick"
            << "Si posees un control PAD o Joystick podrás asignar este para que un jugador pueda "
               "jugar a M.A.M.E. con el.";
        QTest::newRow("lblGuardar")
            << "lblGuardar" << designPlace(4485, 4245, 1575, 255) << "Guardar y salir"
            << "Salir guardando los cambios efectuados en las configuraciones de los controles.";
        QTest::newRow("lblSalir")
            << "lblSalir" << designPlace(6105, 4245, 1575, 255) << "Salir sin guardar"
            << "Salir de la configuración de controles sin guardar ningún cambio.";
        QTest::newRow("A") << "lblTecla(43)" << designPlace(2715, 2535, 315, 285) << "A"
                           << "";
        QTest::newRow("Espacio") << "lblTecla(71)" << designPlace(3585, 3135, 1995, 285)
                                 << "Espacio"
                                 << "";
        QTest::newRow("keypad Int") << "lblTecla(100)" << designPlace(9300, 2835, 315, 585) << "Int"
                                    << "";
        QTest::newRow("Esc")
            << "lblTecla(0)" << designPlace(2205, 1485, 315, 285) << "Esc"
            << "Teclas deshabilitadas, ya que son las que M.A.M.E. tiene asignadas para sus "
               "funciones principales";
    }

    void controlsSitAtTheirDesignPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        open();
        const auto* label = editor->findChild<QLabel*>(name);
        QVERIFY2(label, qPrintable(name));
        QCOMPARE(label->geometry(), place);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->toolTip(), toolTip);
    }

    void everyKeyFollowsThePicture()
    {
        open();
        for (const KeyPicture& key : keyboardPicture()) {
            const QString name = QStringLiteral("lblTecla(%1)").arg(key.number);
            auto* label = editor->findChild<LabelButton*>(name);
            QVERIFY2(label == editor->lblTecla[key.number], qPrintable(name));
            QCOMPARE(label->geometry(), twipsRect(key.left, key.top, key.width, key.height));
            QCOMPARE(label->text(), QString::fromUtf8(key.caption));
            QCOMPARE(label->backColour(), restingKeyColour(key.number));
            const bool selectable = isSelectableKey(key.number);
            QCOMPARE(label->cursor().shape(),
                     selectable ? Qt::PointingHandCursor : Qt::ArrowCursor);
            QCOMPARE(label->toolTip().isEmpty(), selectable);
        }
    }

    void colourAtOpening()
    {
        open();
        QCOMPARE(editor->lblJugador[0]->backColour(), selectedGrey);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(editor->lblJugador[i]->backColour(), Colours::buttonNormal());
        for (LabelButton* control : editor->lblControl) {
            QCOMPARE(control->backColour(), Colours::buttonNormal());
            QCOMPARE(control->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(editor->lblPorDefecto->backColour(), white);
        QCOMPARE(editor->lblTeclado->backColour(), selectedGrey);
        QCOMPARE(editor->lblJoystick->backColour(), Colours::disabledGrey());
        QCOMPARE(editor->lblGuardar->backColour(), Colours::buttonNormal());
        QCOMPARE(editor->lblSalir->backColour(), Colours::buttonNormal());
        QCOMPARE(editor->lblAviso->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(editor->JugadorActual, 0);
        QCOMPARE(editor->ControlActual, 0);
        QVERIFY(!editor->Mostrando);
    }

    void noticeOnlyWithoutEntryFile()
    {
        open();
        QVERIFY(editor->lblAviso->isVisible());
        QCOMPARE(program->state.TablaTeclas, emptyKeyTable());

        KeyTable saved = emptyKeyTable();
        saved[2][3] = 82;
        QVERIFY(writeControllerFiles(folder->path(), saved));
        program->state.TablaTeclas[0][0] = 17; // left over from an earlier opening
        open();
        QVERIFY(!editor->lblAviso->isVisible());
        QCOMPARE(program->state.TablaTeclas, saved);
    }

    void firstKeyGoesToCoinOfPlayerOne()
    {
        open();
        click(editor->lblTecla[43]);
        QCOMPARE(program->state.TablaTeclas[0][0], 43);
        QCOMPARE(editor->ControlActual, 1);
        QCOMPARE(editor->lblControl[1]->backColour(), selectedGrey);
        QCOMPARE(editor->lblControl[0]->backColour(), Colours::buttonNormal());
        // "Comienzo" holds no key: the default button is highlighted, the key is at rest.
        QCOMPARE(editor->lblPorDefecto->backColour(), highlight);
        QCOMPARE(editor->lblTecla[43]->backColour(), white);
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void selectionRunsThroughAllPlayers_data()
    {
        QTest::addColumn<int>("player");
        QTest::addColumn<int>("nextPlayer");
        QTest::newRow("player 2 to 3") << 1 << 2;
        QTest::newRow("player 4 to 1") << 3 << 0;
    }

    void selectionRunsThroughAllPlayers()
    {
        QFETCH(int, player);
        QFETCH(int, nextPlayer);
        open();
        click(editor->lblJugador[player]);
        click(editor->lblControl[15]);
        click(editor->lblTecla[30]);
        QCOMPARE(program->state.TablaTeclas[player][15], 30);
        QCOMPARE(editor->JugadorActual, nextPlayer);
        QCOMPARE(editor->ControlActual, 0);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(editor->lblJugador[i]->backColour(),
                     i == nextPlayer ? selectedGrey : Colours::buttonNormal());
        QCOMPARE(editor->lblControl[0]->backColour(), selectedGrey);
        QCOMPARE(editor->lblControl[15]->backColour(), Colours::buttonNormal());
    }

    void sixteenClicksFillAPlayer()
    {
        open();
        const int keys[16] = {21, 17, 80, 82, 81, 83, 69, 70, 71, 55, 57, 58, 59, 60, 61, 62};
        for (int key : keys)
            click(editor->lblTecla[key]);
        KeyTable expected = emptyKeyTable();
        std::copy(std::begin(keys), std::end(keys), expected[0].begin());
        QCOMPARE(program->state.TablaTeclas, expected);
        QCOMPARE(editor->JugadorActual, 1);
    }

    void selectingAControlShowsItsKey()
    {
        KeyTable saved = emptyKeyTable();
        saved[0][4] = 81;
        saved[1][4] = 91;
        QVERIFY(writeControllerFiles(folder->path(), saved));
        open();
        click(editor->lblControl[4]);
        QCOMPARE(editor->lblTecla[81]->backColour(), highlight);
        QCOMPARE(editor->lblPorDefecto->backColour(), white);
        QCOMPARE(editor->ControlActual, 4); // shown, not stored and not moved on
        QVERIFY(!editor->Mostrando);
        // Another player shows the same control.
        click(editor->lblJugador[1]);
        QCOMPARE(editor->lblTecla[81]->backColour(), restingKeyColour(81));
        QCOMPARE(editor->lblTecla[91]->backColour(), highlight);
        QCOMPARE(editor->ControlActual, 4);
        click(editor->lblControl[5]);
        QCOMPARE(editor->lblTecla[91]->backColour(), white);
        QCOMPARE(editor->lblPorDefecto->backColour(), highlight);
        QCOMPARE(program->state.TablaTeclas, saved);
    }

    void unknownKeyShowsNothing()
    {
        folder->writeFile(QStringLiteral("ctrlr/Zefrin/default.ini"),
                          "COIN1 \"KEYCODE_A\"\r\nSTART1 \"KEYCODE_NOPE\"\r\n");
        open();
        QCOMPARE(program->state.TablaTeclas[0][1], 0);
        click(editor->lblControl[0]);
        QCOMPARE(editor->lblTecla[43]->backColour(), highlight);
        click(editor->lblControl[1]);
        QCOMPARE(editor->lblTecla[43]->backColour(), restingKeyColour(43));
        QCOMPARE(editor->lblPorDefecto->backColour(), white);
    }

    void defaultKeyButtonClearsTheCell()
    {
        KeyTable saved = emptyKeyTable();
        saved[0][0] = 43;
        QVERIFY(writeControllerFiles(folder->path(), saved));
        open();
        click(editor->lblControl[0]);
        click(editor->lblPorDefecto);
        QCOMPARE(program->state.TablaTeclas[0][0], -1);
        QCOMPARE(editor->ControlActual, 1);
        QCOMPARE(editor->lblTecla[43]->backColour(), restingKeyColour(43));
    }

    void ownKeyAgainIsAccepted()
    {
        open();
        click(editor->lblTecla[43]);
        click(editor->lblControl[0]);
        click(editor->lblTecla[43]);
        QVERIFY(program->dialogs.shown.isEmpty());
        QCOMPARE(program->state.TablaTeclas[0][0], 43);
        QCOMPARE(editor->ControlActual, 1);
    }

    void takenKeyIsRefused_data()
    {
        QTest::addColumn<int>("player");
        QTest::addColumn<int>("control");
        QTest::newRow("same player") << 0 << 5;
        QTest::newRow("other player") << 3 << 0;
    }

    void takenKeyIsRefused()
    {
        QFETCH(int, player);
        QFETCH(int, control);
        open();
        click(editor->lblTecla[43]); // player 1 coin
        click(editor->lblJugador[player]);
        click(editor->lblControl[control]);
        const KeyTable before = program->state.TablaTeclas;
        click(editor->lblTecla[43]);
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(shown.title, QStringLiteral("Tecla no válida."));
        QCOMPARE(shown.text, QStringLiteral("La tecla ya ha sido asignada a otro control."));
        QCOMPARE(program->state.TablaTeclas, before);
        QCOMPARE(editor->ControlActual, control);
        QCOMPARE(editor->lblTecla[43]->backColour(), restingKeyColour(43));
        QCOMPARE(editor->lblPorDefecto->backColour(), highlight); // the control still has none
    }

    void loadedDuplicateIsRefusedWhenShown()
    {
        folder->writeFile(QStringLiteral("ctrlr/Zefrin/default.ini"),
                          "COIN1 \"KEYCODE_A\"\r\nP3_BUTTON2 \"KEYCODE_A\"\r\n"
                          "START1 \"KEYCODE_S\"\r\n");
        open();
        click(editor->lblControl[1]);
        QCOMPARE(editor->lblTecla[44]->backColour(), highlight);
        click(editor->lblControl[0]);
        QCOMPARE(program->dialogs.shown.size(), 1);
        QCOMPARE(program->dialogs.shown.first().title, QStringLiteral("Tecla no válida."));
        QCOMPARE(editor->lblTecla[43]->backColour(), restingKeyColour(43));
        QCOMPARE(editor->lblTecla[44]->backColour(), restingKeyColour(44));
        QCOMPARE(editor->lblPorDefecto->backColour(), white);
        QCOMPARE(editor->ControlActual, 0);
        QCOMPARE(program->state.TablaTeclas[0][0], 43);
    }

    void keysWithoutTableLinesAreStored()
    {
        open();
        click(editor->lblTecla[42]);
        click(editor->lblTecla[56]);
        QCOMPARE(program->state.TablaTeclas[0][0], 42);
        QCOMPARE(program->state.TablaTeclas[0][1], 56);
    }

    void reservedKeysFlashAndStoreNothing_data()
    {
        QTest::addColumn<int>("number");
        for (int number : {0, 7, 16, 29, 84})
            QTest::addRow("key %d", number) << number;
    }

    void reservedKeysFlashAndStoreNothing()
    {
        QFETCH(int, number);
        open();
        LabelButton* key = editor->lblTecla[number];
        QTest::mousePress(key, Qt::LeftButton);
        QCOMPARE(key->backColour(), pressedKey);
        QTest::mouseRelease(key, Qt::LeftButton);
        QCOMPARE(key->backColour(), QColor(255, 192, 192));
        QCOMPARE(program->state.TablaTeclas, emptyKeyTable());
        QCOMPARE(editor->ControlActual, 0);
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void pressedLooks()
    {
        open();
        LabelButton* key = editor->lblTecla[43];
        QTest::mousePress(key, Qt::LeftButton);
        QCOMPARE(key->backColour(), pressedKey);
        QTest::mouseRelease(key, Qt::LeftButton, {}, QPoint(-5, -5)); // let go outside
        QCOMPARE(key->backColour(), white);
        QCOMPARE(program->state.TablaTeclas[0][0], -1);

        for (LabelButton* button : {editor->lblControl[3], editor->lblJugador[2]}) {
            QTest::mousePress(button, Qt::LeftButton);
            QCOMPARE(button->backColour(), Colours::buttonPressed());
            QTest::mouseRelease(button, Qt::LeftButton);
            QCOMPARE(button->backColour(), selectedGrey); // the click that follows selects it
        }
        // Pressed and let go outside: back to rest, or to grey when it is the selected one.
        for (LabelButton* button : {editor->lblControl[4], editor->lblJugador[1]}) {
            QTest::mousePress(button, Qt::LeftButton);
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
            QCOMPARE(button->backColour(), Colours::buttonNormal());
        }
        QTest::mousePress(editor->lblControl[3], Qt::LeftButton);
        QTest::mouseRelease(editor->lblControl[3], Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(editor->lblControl[3]->backColour(), selectedGrey);

        QTest::mousePress(editor->lblPorDefecto, Qt::LeftButton);
        QCOMPARE(editor->lblPorDefecto->backColour(), pressedKey);
        QTest::mouseRelease(editor->lblPorDefecto, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(editor->lblPorDefecto->backColour(), pressedKey); // its click sets the colour

        for (LabelButton* button : {editor->lblGuardar, editor->lblSalir}) {
            QTest::mousePress(button, Qt::LeftButton);
            QCOMPARE(button->backColour(), Colours::buttonPressed());
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
            QCOMPARE(button->backColour(), Colours::buttonNormal());
        }
    }

    void joystickIsNotThereYet()
    {
        open();
        click(editor->lblJoystick);
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("No se puede todavía."));
        QCOMPARE(shown.text, QStringLiteral("Función no habilitada, aún."));
        click(editor->lblTeclado); // no action
        QCOMPARE(program->dialogs.shown.size(), 1);
        QVERIFY(editor->isVisible());
    }

    void leavingWithoutSavingKeepsTheLastSave()
    {
        KeyTable saved = emptyKeyTable();
        saved[0][0] = 43;
        QVERIFY(writeControllerFiles(folder->path(), saved));
        const QByteArray entryFile = folder->readFile("ctrlr/Zefrin/default.ini");
        open();
        click(editor->lblControl[0]);
        click(editor->lblTecla[44]);
        click(editor->lblTecla[45]);
        click(editor->lblSalir);
        QVERIFY(!editor->isVisible());
        QCOMPARE(editor->result(), int(QDialog::Rejected));
        QCOMPARE(folder->readFile("ctrlr/Zefrin/default.ini"), entryFile);
        QVERIFY(!folder->exists("cfg"));
        open();
        QCOMPARE(program->state.TablaTeclas, saved);
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

    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;
    std::unique_ptr<frmTeclas> editor;
};

QTEST_MAIN(FrmTeclasTest)
#include "tst_frmteclas.moc"
