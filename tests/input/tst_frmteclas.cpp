// The controls editor as a user meets it: clicks that assign keys and move on, a key already
// taken refused, the saved keys loaded and shown, leaving without saving.

#include "KeyRig.h"

using namespace zefrin;
using namespace zefrin::test;

class FrmTeclasTest : public QObject {
    Q_OBJECT

private slots:
    void init() { rig = std::make_unique<KeyRig>(); }

    void keyClicksFillAPlayerMoveOnAndRefuseATakenKey()
    {
        frmTeclas& editor = rig->open();
        click(editor.lblJugador[3]);
        for (int reserved : {0, 16, 29, 84}) // the emulator's own keys store nothing
            click(editor.lblTecla[reserved]);
        const int keys[16] = {21, 17, 80, 82, 81, 83, 42, 56, 71, 55, 57, 58, 59, 60, 61, 62};
        for (int key : keys)
            click(editor.lblTecla[key]);
        KeyTable expected = emptyKeyTable();
        std::copy(std::begin(keys), std::end(keys), expected[3].begin());
        // After player 4's "Botón 10", player 1's coin.
        QCOMPARE(editor.lblJugador[0]->backColour(), selectedGrey);
        QCOMPARE(editor.lblControl[0]->backColour(), selectedGrey);
        QVERIFY(rig->program.dialogs.shown.isEmpty());
        // Another player's last control holds 62, the same player's coin 21; a control's own
        // key chosen again is accepted.
        const std::array<int, 3> choices[] = {{0, 0, 62}, {3, 5, 21}, {3, 0, 21}};
        for (const auto& [player, control, key] : choices) {
            rig->program.dialogs.shown.clear();
            click(editor.lblJugador[player]);
            click(editor.lblControl[control]);
            click(editor.lblTecla[key]);
            QCOMPARE(rig->program.state.TablaTeclas, expected);
            if (control == 0 && player == 3)
                QVERIFY(rig->program.dialogs.shown.isEmpty());
            else
                rig->expectOneMessage(Dialogs::Icon::Exclamation, "Tecla no válida.",
                                      "La tecla ya ha sido asignada a otro control.");
        }
    }

    void savedKeysAreLoadedShownAndKeptWhenLeavingWithoutSaving()
    {
        rig->program.state.TablaTeclas[3][3] = 17;  // left over from an earlier opening
        QVERIFY(rig->open().lblAviso->isVisible()); // no entry file yet
        QCOMPARE(rig->program.state.TablaTeclas, emptyKeyTable());
        // As a hand edit leaves it: blanks after a line, LF-only ends, a port named twice (the
        // later line counts), names no table knows (they hold 0).
        const QByteArray entryFile =
            "COIN1 \"KEYCODE_A\"\r\nP3_BUTTON2 \"KEYCODE_A\"  \n"
            "START1 \"KEYCODE_NOPE\"\nP1_JOYSTICK_LEFT \"KEYCODE_LEFT\"\r\n"
            "P2_JOYSTICK_LEFT \"KEYCODE_Q\"\r\nP2_JOYSTICK_LEFT \"KEYCODE_4_PAD\"\r\n";
        rig->folder.writeFile("ctrlr/Zefrin/default.ini", entryFile);
        frmTeclas& editor = rig->open();
        QVERIFY(!editor.lblAviso->isVisible());
        const KeyTable saved = tableOf({{0, 0, 43}, {2, 7, 43}, {0, 1, 0}, {0, 4, 81}, {1, 4, 91}});
        QCOMPARE(rig->program.state.TablaTeclas, saved);
        click(editor.lblControl[5]); // no key: the default button
        QCOMPARE(editor.lblPorDefecto->backColour(), highlight);
        click(editor.lblControl[4]);
        QCOMPARE(editor.lblTecla[81]->backColour(), highlight);
        QCOMPARE(rig->program.state.TablaTeclas, saved); // shown, not stored
        click(editor.lblPorDefecto);                     // the default key clears the cell
        QCOMPARE(rig->program.state.TablaTeclas[0][4], -1);
        click(editor.lblControl[0]); // a key loaded twice is refused when shown
        rig->expectOneMessage(Dialogs::Icon::Exclamation, "Tecla no válida.",
                              "La tecla ya ha sido asignada a otro control.");
        QCOMPARE(rig->program.state.TablaTeclas[0][0], 43);
        click(editor.lblSalir);
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QCOMPARE(rig->folder.readFile("ctrlr/Zefrin/default.ini"), entryFile);
        QCOMPARE(folderEntries(rig->folder.filePath("cfg")), QStringList{"default.cfg"});
        rig->open(); // the edit left in memory is not what the next opening shows
        QCOMPARE(rig->program.state.TablaTeclas, saved);
    }

private:
    const QColor selectedGrey{224, 224, 224};
    const QColor highlight{192, 255, 255};
    std::unique_ptr<KeyRig> rig;
};

QTEST_MAIN(FrmTeclasTest)
#include "tst_frmteclas.moc"
