// The editor's clicks. A click made by code (showing a control's key, moving on after an
// assignment) runs synchronously inside the handler that makes it.

#include "KeyboardPicture.h"
#include "engine/input/KeyAssignment.h"
#include "frmTeclas.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Seams.h"

namespace zefrin {

void frmTeclas::lblJugador_Click(int index)
{
    for (int i = 0; i < playerCount; ++i)
        lblJugador[i]->setBackColour(i == index ? KeyColours::selected() : Colours::buttonNormal());
    JugadorActual = index;
    lblControl_Click(ControlActual);
}

void frmTeclas::lblControl_Click(int index)
{
    for (int i = 0; i < controlCount; ++i)
        lblControl[i]->setBackColour(i == index ? KeyColours::selected() : Colours::buttonNormal());
    ControlActual = index;
    Mostrando = true;
    const int key = state_.TablaTeclas[JugadorActual][index];
    if (isSelectableKey(key))
        lblTecla_Click(key);
    else if (key >= 0)
        highlightNothing();
    else
        lblPorDefecto_Click();
    Mostrando = false;
}

void frmTeclas::lblTecla_Click(int n)
{
    if (!isSelectableKey(n))
        return;
    if (TeclaYaAsignada(state_.TablaTeclas, n, JugadorActual, ControlActual)) {
        context_.dialogs.message(this, Dialogs::Icon::Exclamation,
                                 QStringLiteral("Tecla no válida."),
                                 QStringLiteral("La tecla ya ha sido asignada a otro control."));
        RestaurarColorTecla(n);
        if (Mostrando)
            highlightNothing();
        return;
    }
    clearKeyHighlight();
    lblTecla[n]->setBackColour(KeyColours::highlight());
    lblPorDefecto->setBackColour(KeyColours::characterKey());
    if (!Mostrando) {
        state_.TablaTeclas[JugadorActual][ControlActual] = n;
        advance();
    }
}

void frmTeclas::lblPorDefecto_Click()
{
    clearKeyHighlight();
    lblPorDefecto->setBackColour(KeyColours::highlight());
    if (!Mostrando) {
        state_.TablaTeclas[JugadorActual][ControlActual] = -1;
        advance();
    }
}

void frmTeclas::advance()
{
    const Selection next = nextSelection({JugadorActual, ControlActual});
    if (next.player == JugadorActual) {
        lblControl_Click(next.control);
        return;
    }
    // The new player's button shows the selected control: make it the first one at once, so
    // the last control of that player is not shown (and checked) on the way.
    ControlActual = next.control;
    lblJugador_Click(next.player);
}

void frmTeclas::clearKeyHighlight()
{
    for (int n = 0; n < keyCount; ++n) {
        if (lblTecla[n]->backColour() == KeyColours::highlight())
            RestaurarColorTecla(n);
    }
}

void frmTeclas::highlightNothing()
{
    clearKeyHighlight();
    lblPorDefecto->setBackColour(KeyColours::characterKey());
}

void frmTeclas::lblGuardar_Click()
{
    GuardarTeclado();
}

void frmTeclas::lblSalir_Click()
{
    reject();
}

void frmTeclas::lblJoystick_Click()
{
    context_.dialogs.message(this, Dialogs::Icon::Information,
                             QStringLiteral("No se puede todavía."),
                             QStringLiteral("Función no habilitada, aún."));
}

} // namespace zefrin
