// The main window's side of the start-up (engine/state/StartUp.h): it starts the steps, shows
// what they tell, builds the catalogue when asked and shows the captions the version decides.

#include "Layout.h"
#include "engine/state/StartUp.h"
#include "engine/version/VersionRules.h"
#include "frmCargador.h"
#include "gui/input/KeyMessages.h"
#include "gui/romman/ManagerMessages.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/Pointer.h"
#include "gui/widgets/Seams.h"

#include <QCheckBox>
#include <QLabel>

namespace zefrin {

bool frmCargador::Form_Load()
{
    resize(designClientSize());

    // Hand pointers are set when the buttons are built; the pictures are drawn here.
    Image1->setPixmap(joystickPicture(Image1->height()));
    Image2->setPixmap(marqueePicture(Image2->width(), Image2->height()));

    startUp_ = std::make_unique<StartUp>(state_, context_.instanceLock, catalogueBuild_);
    connect(startUp_.get(), &StartUp::stepStarted, this, &frmCargador::startUpStepStarted);
    connect(startUp_.get(), &StartUp::notice, this, &frmCargador::showStartUpNotice);
    connect(startUp_.get(), &StartUp::renameRecovered, this, &frmCargador::renameRecovered);
    connect(startUp_.get(), &StartUp::ended, this, &frmCargador::startUpEnded);
    connect(startUp_.get(), &StartUp::waiting, this, &frmCargador::startUpWaiting);
    connect(startUp_.get(), &StartUp::earlierRunEnded, this, &frmCargador::showRecoveryStatus);
    connect(startUp_.get(), &StartUp::finished, this, &frmCargador::applyStartupCaptions);
    return startUp_->start();
}

void frmCargador::startUpStepStarted(StartUp::Step step)
{
    if (step == StartUp::Step::Version)
        showHourglass();
}

void frmCargador::showStartUpNotice(const StartUpNotice& notice)
{
    showUserMessage(context_.dialogs, isVisible() ? this : nullptr, notice);
}

void frmCargador::startUpEnded()
{
    showNormalPointer();
    context_.programExit.endProgram();
}

// The window shows while an earlier copy's emulator run is awaited, saying so.
void frmCargador::startUpWaiting()
{
    showNormalPointer();
    ApplyCdMode();
    showWaitingStatus();
    emit loaded();
}

void frmCargador::applyStartupCaptions()
{
    const VersionState version = versionStateFor(state_.EmulatorVersion);
    setStatus(version.caption, version.tone == StatusTone::Information ? Colours::statusTeal()
                                                                       : Colours::statusRed());
    if (!state_.keysAvailable)
        disableKeyConfiguration();
    showDefinedKeysInForce();

    lblTeclas->setToolTip(!state_.keysAvailable
                              ? QStringLiteral("Función no habilitada.")
                              : QStringLiteral("Configuración de teclas de M.A.M.E. para "
                                               "versiones posteriores a la 0.59b."));
    ApplyCdMode();
    // What the earlier copy's run kept aside, put back once it ended, is told last.
    if (startUp_->waitedForEarlierRun())
        showRecoveryStatus();
    emit loaded();
}

void frmCargador::showWaitingStatus()
{
    setStatus(QStringLiteral("Esperando a que se cierre el M.A.M.E que quedó abierto de la "
                             "sesión anterior."),
              Colours::statusRed());
}

void frmCargador::disableKeyConfiguration()
{
    paintKeyControls();
    // Unticking runs the switch-off steps, as a user's click would.
    chkUsaControles->setChecked(false);
    chkUsaControles->setEnabled(false);
}

void frmCargador::ApplyCdMode()
{
    if (!state_.CdMode)
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{lblDirectorio, lblLista, lblTeclas,
                                                            lblGestionar, chkUsaControles})
        control->setEnabled(false);
    setStatus(QStringLiteral("Ejecutando desde CD (Modo deshabilitado)"), Colours::statusRed());
}

void frmCargador::showRecoveryStatus()
{
    // What could not be put back is tried again by the next start.
    if (!startUp_->everythingGivenBack())
        setStatus(QStringLiteral("M.A.M.E se ha cerrado, pero Zefrin! no ha podido devolver todo "
                                 "a su sitio; lo intentará de nuevo la próxima vez que se abra."),
                  Colours::statusRed());
    else
        setStatus(
            QStringLiteral("M.A.M.E se ha cerrado y Zefrin! ha devuelto lo que tenía apartado."),
            Colours::statusTeal());
}

void frmCargador::renameRecovered(const Recovery& recovery)
{
    showRecovery(context_.dialogs, nullptr, recovery);
}

} // namespace zefrin
