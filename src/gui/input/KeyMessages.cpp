#include "KeyMessages.h"

#include "gui/widgets/Seams.h"

namespace zefrin {

namespace {

Dialogs::Icon iconOf(KeyMessage::Kind kind)
{
    switch (kind) {
    case KeyMessage::Kind::Information:
        return Dialogs::Icon::Information;
    case KeyMessage::Kind::Exclamation:
        return Dialogs::Icon::Exclamation;
    case KeyMessage::Kind::Critical:
        break;
    }
    return Dialogs::Icon::Critical;
}

} // namespace

bool showKeyStep(Dialogs& dialogs, QWidget* parent, const KeyStep& step)
{
    for (const KeyMessage& message : step.messages)
        dialogs.message(parent, iconOf(message.kind), message.title, message.text);
    return step.done;
}

} // namespace zefrin
