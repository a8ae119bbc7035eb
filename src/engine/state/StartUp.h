#pragma once
// The program's start-up, step by step: the lock (the emulator there, no other copy running),
// the recovery of what an earlier copy left half done, the version, the game list, the
// catalogue, mame.ini and the controller folders. The window starts it and follows it through
// its signals: it shows the notices, builds the catalogue's rows when asked and shows the
// captions at the end. Every step after the recovery waits for an emulator run an earlier copy
// left going (what that run writes is put back only after it), so every start settles the
// version before the list is read, and asks the emulator only once it is free.

#include "engine/romman/PendingRename.h"
#include "engine/services/EmulatorRunner.h"
#include "engine/services/UserMessage.h"
#include "engine/version/InstalledVersion.h"

#include <QObject>
#include <QString>

namespace zefrin {

struct AppState;
class CatalogueBuild;
class InstanceLock;

// A message of the start-up for the user; the start goes on once it has been shown, unless
// ended() follows it.
using StartUpNotice = UserMessage;

class StartUp : public QObject {
    Q_OBJECT

public:
    // Ended: the start ended the program.
    enum class Step {
        NotStarted,
        Lock,
        Recovery,
        Version,
        List,
        Catalogue,
        Settings,
        ControllerFolders,
        Done,
        Ended
    };

    // The list and catalogue steps go through `build`, which the window follows as well.
    StartUp(AppState& state, InstanceLock& lock, CatalogueBuild& build, QObject* parent = nullptr);

    // Runs the steps; those that need no emulator run at once. False when the start has ended
    // the program (ended() has been told).
    bool start();
    Step step() const { return step_; }
    // The steps after the recovery wait for an earlier copy's emulator run to end.
    bool awaitingEarlierRun() const { return awaitingEarlierRun_; }
    // This start waited for such a run.
    bool waitedForEarlierRun() const { return waited_; }
    // Everything such a run kept aside was put back; what is still noted is tried again by the
    // next start.
    bool everythingGivenBack() const;

signals:
    void stepStarted(zefrin::StartUp::Step step);
    void notice(const zefrin::StartUpNotice& notice);
    // What the recovery did with an archive a check left under another game's name.
    void renameRecovered(const zefrin::Recovery& recovery);
    // The start ends the program: the window closes without being shown.
    void ended();
    // The rest waits for an earlier copy's emulator run: the window may show meanwhile.
    void waiting();
    // That run has ended and what it kept aside was put back (or noted for the next start).
    void earlierRunEnded();
    // Every step is done: the window shows the captions the version decides.
    void finished();

private:
    void enter(Step step);
    bool lockStep();
    void recoveryStep();
    void recoverInterruptedRun();
    void earlierRunOver(const ShellResult& result);
    void versionStep();
    void versionAnswered(const ShellResult& result);
    void settleVersion(const InstalledVersion& version);
    void dropListOfAnotherEmulator();
    void catalogueStep();
    void catalogueBuilt();
    void settingsStep();
    void settingsFileMade(const ShellResult& result);
    void controllerFoldersStep();
    void controllerFoldersAnswered(const ShellResult& result);
    void finish();
    void end(const StartUpNotice& notice);
    QString path(const QString& relative) const;
    QString program() const;

    AppState& state_;
    InstanceLock& lock_;
    CatalogueBuild& build_;
    Step step_ = Step::NotStarted;
    bool awaitingEarlierRun_ = false;
    bool waited_ = false;
};

} // namespace zefrin
