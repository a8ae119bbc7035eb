#pragma once
// A message the engine has for the user: the window shows it in a box of the kind's icon.

#include <QString>

namespace zefrin {

struct UserMessage {
    enum class Kind { Information, Exclamation, Critical };
    Kind kind = Kind::Critical;
    QString title;
    QString text;
};

} // namespace zefrin
