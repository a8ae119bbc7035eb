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

    bool isValid() const { return pid > 0; }
    bool operator==(const ProcessIdentity& other) const
    {
        return pid == other.pid && started == other.started;
    }
};

// The process of that id as it runs now; invalid when none runs (a process that has ended but
// was not yet reaped runs no more).
ProcessIdentity processIdentity(qint64 pid);

// This copy of the program.
ProcessIdentity ownProcessIdentity();

// True while that very process runs.
bool isRunning(const ProcessIdentity& process);

// As a note keeps it, and back: an invalid identity when the note holds none.
QJsonObject processToJson(const ProcessIdentity& process);
ProcessIdentity processFromJson(const QJsonObject& note);

} // namespace zefrin
