#pragma once
// A process told apart from a later one that is given the same number: its id and the moment
// it started. A note that outlives the program (a run record, a scratch folder's marker) names
// a process this way, so that a number reused since never passes for it.

#include <QJsonObject>
#include <QString>

namespace zefrin {

struct ProcessIdentity {
    qint64 pid = 0;
    // When it started, as the system tells it (with the boot it belongs to); empty where the
    // system does not tell.
    QString started;
    // A mark every process of an emulator run carries in its environment (runMarkVariable),
    // known before the run starts: a note written before the start names the run by it alone,
    // and it also finds the emulator the run's script started. Empty for other processes.
    QString mark;

    bool isValid() const { return pid > 0 || !mark.isEmpty(); }
    bool operator==(const ProcessIdentity& other) const
    {
        return pid == other.pid && started == other.started && mark == other.mark;
    }
};

// The environment variable that carries a run's mark.
QString runMarkVariable();
// A mark no other run has had.
QString newRunMark();

// The process of that id as it runs now; invalid when none runs (a process that has ended but
// was not yet reaped runs no more).
ProcessIdentity processIdentity(qint64 pid);

// This copy of the program.
ProcessIdentity ownProcessIdentity();

// True while that very process runs, or, for a marked run, any process of it (only where the
// system shows other processes' environments, as Linux does).
bool isRunning(const ProcessIdentity& process);

// As a note keeps it, and back: an invalid identity when the note holds none.
QJsonObject processToJson(const ProcessIdentity& process);
ProcessIdentity processFromJson(const QJsonObject& note);

} // namespace zefrin
