#pragma once
// The controls editor: a keyboard picture, a column of the sixteen arcade controls and a row
// of the four players. The user picks a player and a control and clicks the key for it; the
// selection then moves on to the next control, so a player's controls are given in one run
// of clicks. The assignments live in TablaTeclas, loaded from the controller entry file each
// time the window opens and written out by "Guardar y salir".
//   frmTeclas.cpp        building the window, its load steps, the pressed looks
//   frmTeclasClicks.cpp  the clicks: players, controls, keys, the default key, joystick
//   frmTeclasSave.cpp    "Guardar y salir"

#include "gui/widgets/AppContext.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;

namespace zefrin {

class LabelButton;
class DefinedKeysSwitch;

class frmTeclas : public QDialog {
    Q_OBJECT

public:
    // keysSwitch: the defined-keys switch a save turns on.
    frmTeclas(AppContext& context, DefinedKeysSwitch& keysSwitch, QWidget* parent = nullptr);
    ~frmTeclas() override;

    // Runs each time the window opens, before it is shown: size, table, notice, selection.
    void Form_Load();

    // Fills TablaTeclas from a controller entry file; every other cell holds -1.
    void CargarTeclado(const QString& path);
    // Gives key n the colour it shows at rest.
    void RestaurarColorTecla(int n);
    // Writes the controller files, parks the emulator's own input settings, points mame.ini
    // at the files and turns the switch on; closes the window when all of it worked. Each
    // failure is reported to the user and leaves the window open.
    bool GuardarTeclado();

    int JugadorActual = 0;
    int ControlActual = 0;
    // Set while a control's stored key is being shown: the key click then neither stores
    // nor moves on.
    bool Mostrando = false;

    // Controls.
    std::array<LabelButton*, 4> lblJugador{};
    std::array<LabelButton*, 16> lblControl{};
    std::array<LabelButton*, 102> lblTecla{};
    QLabel* lblAviso = nullptr;
    LabelButton* lblPorDefecto = nullptr;
    LabelButton* lblTeclado = nullptr;
    LabelButton* lblJoystick = nullptr;
    LabelButton* lblGuardar = nullptr;
    LabelButton* lblSalir = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;

public slots:
    void lblJugador_Click(int index);
    void lblControl_Click(int index);
    void lblTecla_Click(int n);
    void lblPorDefecto_Click();
    void lblGuardar_Click();
    void lblSalir_Click();
    void lblJoystick_Click();

private slots:
    void lblJugador_MouseDown(int index);
    void lblJugador_MouseUp(int index);
    void lblControl_MouseDown(int index);
    void lblControl_MouseUp(int index);
    void lblTecla_MouseDown(int n);
    void lblTecla_MouseUp(int n);
    void lblPorDefecto_MouseDown();

private:
    void buildControls();
    void buildKeyboard();
    void connectControls();
    // Moves the selection on after a key (or no key) was stored for the selected control.
    void advance();
    // Gives every highlighted key its resting colour.
    void clearKeyHighlight();
    // Neither a key nor lblPorDefecto highlighted: the selected control's stored key is one
    // the picture cannot show, or one that another control holds too.
    void highlightNothing();

    AppContext& context_;
    AppState& state_;
    DefinedKeysSwitch& keysSwitch_;
};

} // namespace zefrin
