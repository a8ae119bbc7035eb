#pragma once
// The main window: the game list, the command buttons beside it and the status line.
// Its procedures are spread over one file per subsystem:
//   frmCargador.cpp           building the window, pressed looks
//   frmCargadorStartup.cpp    the load handler: follows the start-up (engine/state/StartUp.h),
//                             captions, CD mode
//   frmCargadorCommands.cpp   About, layout, shutdown
//   frmCargadorCatalogue.cpp  the game list build and its commands
//   frmCargadorLaunch.cpp     starting a game, the load log
//   frmCargadorSwitch.cpp     the controls editor command, the defined-keys switch
//   frmCargadorManager.cpp    the ROM manager command
// Every emulator run goes through the program's one runner (AppState::emulator): a command
// that would start a run, or touch the files one uses, is refused while it is busy or while
// the ROM manager is open (emulatorBusy()).

#include "engine/catalogue/CatalogueBuild.h"
#include "engine/launch/GameLaunch.h"
#include "engine/state/StartUp.h"
#include "gui/input/DefinedKeysSwitch.h"
#include "gui/widgets/AppContext.h"

#include <memory>

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QListView;
class QModelIndex;

namespace zefrin {

class KeySwitchSteps;
class LabelButton;
class frmGestionar;
struct KeyStep;

class frmCargador : public QWidget, public DefinedKeysSwitch {
    Q_OBJECT

public:
    explicit frmCargador(AppContext& context, QWidget* parent = nullptr);
    ~frmCargador() override;

    // Start-up: runs the engine's start-up and follows it. False when the program ended
    // instead (missing emulator, another copy running, CD without generated files);
    // otherwise `loaded` follows once the game list is built and the version rules applied
    // (and first, while an earlier copy's emulator run is awaited, once the window may show).
    bool Form_Load();
    // Locks the commands that would write into a read-only installation.
    void ApplyCdMode();

    // Status line.
    void setStatus(const QString& caption, const QColor& colour);
    QString statusCaption() const;
    QColor statusColour() const;

    // A game runs, another emulator run is in progress, or the ROM manager is open.
    bool emulatorBusy() const;

    // Catalogue. A build that must have the emulator write the game list first ends after
    // that run; `listLoaded` says when the rows are there. lstJuegos shows AppState::catalogue.
    void CargarDatos();

    // Game launch and its log.
    void LaunchSelectedGame();
    void ShowLaunchLog();

    // Points the emulator's settings file at a controller file or back: rewrites the option
    // line `name` of mame.ini. False when mame.ini could not be read or replaced.
    bool CambiarOpcionIni(const QString& name, const QString& value, bool restore);

    // Controls.
    QListView* lstJuegos = nullptr;
    QLabel* lblEstado = nullptr;
    LabelButton* lblLog = nullptr;
    LabelButton* lblDirectorio = nullptr;
    LabelButton* lblLista = nullptr;
    LabelButton* lblGestionar = nullptr;
    LabelButton* lblTeclas = nullptr;
    QFrame* Shape1 = nullptr;
    QCheckBox* chkUsaControles = nullptr;
    LabelButton* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label2 = nullptr; // author credit
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

    QTimer Timer1;
    int TimerTicks = 0;

signals:
    void loaded();
    void listLoaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void lstJuegos_Click();
    void lstJuegos_DblClick();
    void lblDirectorio_Click();
    void lblLista_Click();
    void Timer1_Timer();
    void lblLog_Click();
    void Label1_Click();
    void lblTeclas_Click();
    void lblTeclas_MouseDown();
    void lblTeclas_MouseUp();
    void lblGestionar_Click();
    void chkUsaControles_Click();
    void chkUsaControles_MouseDown();
    void chkUsaControles_MouseUp();
    void showListBeingMade();
    void showListNotMade(bool diskWasFull);
    void startUpStepStarted(zefrin::StartUp::Step step);
    void showStartUpNotice(const zefrin::StartUpNotice& notice);
    void renameRecovered(const zefrin::Recovery& recovery);
    void startUpEnded();
    void startUpWaiting();
    void applyStartupCaptions();
    void showRecoveryStatus();
    void managerLoaded();
    void managerClosed();

private:
    void buildControls();
    void connectControls();
    void disableKeyConfiguration();
    // The keys button and the check box in the colour that says whether the version allows
    // the keys to be defined (AppState::keysAvailable); the check box's panel too.
    QColor keyControlsColour() const;
    void paintKeyControls();
    void setCheckBoxColour(const QColor& colour);
    QString path(const QString& relative) const;

    AppContext& context_;
    AppState& state_;
    QColor statusColour_;
    // The rows of lstJuegos built anew, by the start-up and by the rebuild commands. Made
    // before the start-up, so the window shows a build's end before the start-up goes on.
    CatalogueBuild catalogueBuild_;

    // Start-up, while it runs and after (it tells whether everything was given back).
    std::unique_ptr<StartUp> startUp_;
    void showWaitingStatus();

    // Catalogue
    // The rows from the roms folder and the game list, once the list is there.
    void showCatalogue();
    // The row the user chose in lstJuegos; invalid when none is.
    QModelIndex chosenRow() const;

    // Launch: the one in progress, or the last one.
    void launchFinished(const LaunchResult& result);
    std::unique_ptr<GameLaunch> launch_;

    // ROM manager, while it is open.
    std::unique_ptr<frmGestionar> manager_;

    // Input
    // The switch turned off: mame.ini names no controller file of this program any more (the
    // shutdown gives it back through the same step).
    void giveBackControllerOption();
    // DefinedKeysSwitch, for the controls editor.
    bool pointAtControllerFile(bool* failureReported) override;
    bool definedKeysOn() const override;
    void turnDefinedKeysOn() override;
    // CambiarOpcionIni that also tells whether a failure was already reported to the user
    // (mame.ini could not be replaced: message shown, switch turned off) or is left to the
    // caller (mame.ini missing or unreadable).
    bool changeIniOption(const QString& name, const QString& value, bool restore,
                         bool* failureReported);
    // The steps of the switch (engine/input/KeySwitchSteps.h) on this window's folder.
    KeySwitchSteps keySteps();
    // A mame.ini change that failed: told, and the switch turned off. Whether it was done.
    bool reportIniFailure(const KeyStep& change);
    void switchDefinedKeysOn();
    void switchDefinedKeysOff();
    // At start-up: the switch on when mame.ini points at the keys.
    void showDefinedKeysInForce();
    // Set while a failed mame.ini rewrite is being reported: the switch-off it runs may fail
    // the same way, and one message says it.
    bool reportingIniFailure_ = false;
};

} // namespace zefrin
