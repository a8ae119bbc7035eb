#pragma once
// The one place that decides which dialect (services/Dialect.h) the installed emulator speaks.

#include "InstalledVersion.h"
#include "engine/services/Dialect.h"

#include <QByteArray>
#include <QString>

namespace zefrin {

// The first version of today's dialect: the numeric pad's key codes were renamed in it.
QString todayDialectThreshold(); // "0.118"

// Classic for the versions before the threshold and for an unknown version (what the program
// did before it knew of a second dialect); today's from it on.
Dialect dialectOf(const InstalledVersion& version);

// The version in the emulator's answer to "-version": its first word, when that is a version
// number ("0.251 (unknown)" gives "0.251"); otherwise unknown.
InstalledVersion versionFromAnswer(const QByteArray& answer);

} // namespace zefrin
