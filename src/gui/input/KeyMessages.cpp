#include "KeyMessages.h"

#include "gui/widgets/Seams.h"

namespace zefrin {

namespace {

Dialogs::Icon iconOf(UserMessage::Kind kind)
{
    switch (kind) {
    case UserMessage::Kind::Information:
        return Dialogs::Icon::Information;
    case UserMessage::Kind::Exclamation:
        return Dialogs::Icon::Exclamation;
    case UserMessage::Kind::Critical:
        break;
    }
    return Dialogs::Icon::Critical;
}

} // namespace

void showUserMessage(Dialogs& dialogs, QWidget* parent, const UserMessage& message)
{
    dialogs.message(parent, iconOf(message.kind), message.title, message.text);
}

bool showKeyStep(Dialogs& dialogs, QWidget* parent, const KeyStep& step)
{
    for (const KeyMessage& message : step.messages)
        showUserMessage(dialogs, parent, message);
    return step.done;
}

} // namespace zefrin
