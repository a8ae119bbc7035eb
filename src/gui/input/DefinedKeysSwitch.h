#pragma once
// What the controls editor needs of the window that holds the defined-keys switch.

namespace zefrin {

class DefinedKeysSwitch {
public:
    virtual ~DefinedKeysSwitch() = default;

    // Points mame.ini's controller option at the program's controller file. False when it
    // could not; `failureReported` tells whether the user was already told why (and the
    // switch turned off) or the caller is to say it.
    virtual bool pointAtControllerFile(bool* failureReported) = 0;
    virtual bool definedKeysOn() const = 0;
    // Turns the switch on, with the steps a user's click runs; it may turn itself off again
    // after telling the user why.
    virtual void turnDefinedKeysOn() = 0;

protected:
    DefinedKeysSwitch() = default;
    DefinedKeysSwitch(const DefinedKeysSwitch&) = default;
    DefinedKeysSwitch& operator=(const DefinedKeysSwitch&) = default;
};

} // namespace zefrin
