#pragma once
// The emulator's game list lista.txt ("mame -listfull" output) and the lookups between ROM
// archive names and game titles over it. Each game line is laid out in fixed columns:
//   columns 1 to 10   the short name, filled with spaces (the archive is short name + ".zip")
//   column 11         an opening double quote
//   columns 12 to L-1 the title, as is
//   column L          a closing double quote (dropped, whatever it is)
// Lines are looked at in file order and the first match wins; a heading line takes part with
// the same rules and as a rule matches nothing. A line shorter than 12 characters has no
// title and is passed over. Names and titles match after upper-casing with the user's locale.

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace zefrin {

// The title shown for an archive the game list does not know.
QString unknownArchiveTitle(const QString& archiveName);

// Upper case as the user's locale writes it. Names are plain ASCII nearly always; when the
// locale upper-cases the ASCII letters plainly (not Turkish, say), those skip the locale's
// converter, which is far slower.
class LocaleUpper {
public:
    LocaleUpper();
    QString operator()(QStringView text) const;

private:
    QLocale locale_;
    bool plainAscii_ = false;
};

// The lookups with lista.txt read anew for each call, so a regenerated list is seen by the
// very next one. Nothing when the file cannot be read.
std::optional<QString> TitleForArchive(const QString& emulatorFolder, const QString& archiveName);
std::optional<QString> ArchiveForTitle(const QString& emulatorFolder, const QString& title);

// lista.txt read once, for many lookups while it cannot change (a catalogue build). Answers
// exactly as the per-call lookups would, through indexes of the first line of each name and
// of each title.
class GameList {
public:
    explicit GameList(const QString& emulatorFolder);

    // False when lista.txt could not be read: every lookup then fails.
    bool isReadable() const { return readable_; }

    std::optional<QString> titleForArchive(const QString& archiveName) const;
    // The title index is built on the first call.
    std::optional<QString> archiveForTitle(const QString& title);

private:
    QStringList lines_;
    bool readable_ = false;
    LocaleUpper upper_;
    QHash<QString, qsizetype> lineOfName_;
    QHash<QString, qsizetype> lineOfTitle_;
    bool titlesIndexed_ = false;
};

} // namespace zefrin
