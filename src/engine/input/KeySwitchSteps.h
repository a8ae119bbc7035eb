#pragma once
// The steps of switching the user's keys on and off, in one place for the main window's
// switch and the controls editor's save: each does its work on the files and says what the
// user is to be told. The windows only ask for a step and show its messages.

#include "engine/services/Dialect.h"
#include "engine/services/RunRecord.h"
#include "engine/services/UserMessage.h"

#include <QList>
#include <QString>

namespace zefrin {

// What a step tells the user.
using KeyMessage = UserMessage;

// Whether a step went through, and what the user is told of it, in order.
struct KeyStep {
    bool done = true;
    QList<KeyMessage> messages;
};

// Whether mame.ini (as an earlier copy may have left it) names the program's controller file,
// and whether the keys it names are still saved.
enum class KeysInForce { No, Yes, SavedKeysGone };

class KeySwitchSteps {
public:
    // `controllerLine` is the user's own controller line while the switch has it replaced
    // (LineaAnterior): the steps that change mame.ini keep it up to date.
    KeySwitchSteps(const QString& emulatorFolder, Dialect dialect, const RunRecords& records,
                   QString& controllerLine);

    KeysInForce keysInForce() const;
    // The keys have been saved (the controller file is there): the switch can go on.
    KeyStep checkKeysSaved() const;
    // The emulator's own input settings parked (KeySwitch.h); not done when they could not be,
    // or their parking noted.
    KeyStep parkInputSettings() const;
    // The parked settings given back.
    KeyStep giveBackInputSettings() const;
    // mame.ini's controller option names the program's controller file: not done, with the
    // reason, when it does not (no controller line, or no mame.ini at all).
    KeyStep checkKeysPointed() const;
    // Rewrites the option line `name` of mame.ini (MameIniOption.h), keeping the user's line
    // in its record first when a value replaces it. Not done when mame.ini could not be
    // changed; then with the message to show unless it could not even be read (which the
    // caller tells in its own words).
    KeyStep changeIniOption(const QString& name, const QString& value, bool restore);
    // The user's controller line has been given back: neither remembered nor recorded.
    void forgetControllerLine();
    // The user's controller line given back to mame.ini, and forgotten, while remembered.
    KeyStep giveBackUserLine();
    // The user's controller line is given back while remembered; otherwise a line still
    // naming the program's files (from an earlier run) is reset. A controller setting of the
    // user's own stays as it is.
    KeyStep giveBackControllerOption();

private:
    QString iniPath() const;

    QString emulatorFolder_;
    Dialect dialect_;
    RunRecords records_;
    QString& controllerLine_;
};

} // namespace zefrin
