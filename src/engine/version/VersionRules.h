#pragma once
// The emulator's version, read from the first non-blank line of its release notes, and the
// rules that decide from it which features the installed emulator allows.

#include "InstalledVersion.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

namespace zefrin {

// Shown when no version could be read (InstalledVersion::shown).
QString unknownVersionText();

// The most characters a version line may have, leading spaces included.
constexpr qsizetype longestVersionLine = 256;

// The first line of whatsnew.txt that is not blank, exactly as read (spaces kept), or unknown
// when the file is missing, unreadable or holds no such line, or when
// that line is longer than longestVersionLine. Only that line is read, and only as far as
// that length: the rest of the file, however large, is not.
InstalledVersion ReadEmulatorVersion(const QString& emulatorFolder);
// The same, when the release notes belong to the emulator that runs (`program`): the folder's
// own one, its executable in the folder. Notes an old installation left beside the packaged
// emulator (from PATH, or the folder's `mame` a link to it) describe another emulator: the
// version unknown then, and that emulator is to be asked.
InstalledVersion ReadEmulatorVersion(const QString& emulatorFolder, const QString& program);
// The same rule over release notes from elsewhere than the folder's file.
InstalledVersion versionOfNotes(std::unique_ptr<QIODevice> notes);
// The same rule over lines already read, whatever their length.
InstalledVersion versionFromLines(const QStringList& lines);

// Orders emulator version texts: blanks around them are ignored, each run of digits counts
// by its numeric value and every other character by its code, a proper prefix is smaller.
// So "0.37 BETA 14" < "0.52" < "0.59" < "0.59b" < "0.61" < "0.100", and "0.6" < "0.59".
// Negative, zero or positive as for a three-way comparison.
int compareVersions(const QString& a, const QString& b);

// True when the version lies at or below the threshold; an unknown version lies below every
// threshold.
bool versionAtOrBelow(const InstalledVersion& version, const QString& threshold);

// Versions at or below this one have no key configuration and no settings file to create.
QString noConfigurationThreshold(); // "0.37 BETA 14"
// Versions at or below this one have no controller files.
QString noControllerThreshold(); // "0.59"
// Versions below this one are started with their sound card switched off.
QString soundOptionThreshold(); // "0.53"

// What the start-up shows and allows for a version.
// The status line shows a restriction in red and plain information in teal.
enum class StatusTone { Restriction, Information };
struct VersionState {
    QString caption;
    StatusTone tone = StatusTone::Restriction;
    bool keysAvailable = false;
    bool mayCreateSettings = false;
};
VersionState versionStateFor(const InstalledVersion& version);

// True when the launch line needs " -soundcard 0".
bool launchWithoutSound(const InstalledVersion& version);

} // namespace zefrin
