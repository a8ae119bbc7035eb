#pragma once
// What a step of the key switch (engine/input/KeySwitchSteps.h) tells the user, shown.

#include "engine/input/KeySwitchSteps.h"

class QWidget;

namespace zefrin {

class Dialogs;

// A message of the engine's in a box of its kind's icon.
void showUserMessage(Dialogs& dialogs, QWidget* parent, const UserMessage& message);
// Each message in a box of its own, in order. Returns whether the step went through.
bool showKeyStep(Dialogs& dialogs, QWidget* parent, const KeyStep& step);

} // namespace zefrin
