#pragma once
// The emulator's game list lista.txt ("mame -listfull" output): its one reader, for the main
// window's catalogue, the ROM manager's list and the compatibility search. The first line is
// the list's heading and no game. The archive of a game is its short name + ".zip".
// In the classic dialect each game line is laid out in fixed columns:
//   columns 1 to 10   the short name, filled with spaces
//   column 11         an opening double quote
//   columns 12 to L-1 the title, as is
//   column L          a closing double quote (dropped, whatever it is)
// and a line shorter than 12 characters has no title. Today's emulator fills the name to 17
// characters and a name may be longer: the name is the line's first word (up to a blank or a
// double quote), the title the text between the line's first and last double quotes, and a
// line without two of them has no title.
// Lookups look at the game lines in file order and the first match wins; lines without a title
// are passed over. Names and titles match after upper-casing with the user's locale.

#include "engine/services/Dialect.h"
#include "engine/services/TextFile.h"

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace zefrin {

QString gameListPath(const QString& emulatorFolder);

// The game lines of lista.txt, heading dropped; nothing when the file cannot be read.
std::optional<QStringList> readGameLines(const QString& emulatorFolder);
// The same a line at a time, for lookups that need not hold the list.
class GameLineReader {
public:
    explicit GameLineReader(const QString& emulatorFolder);
    explicit GameLineReader(std::unique_ptr<QIODevice> list);
    bool isOpen() const { return lines_.isOpen(); }
    // The next line as a view that holds until the next call.
    std::optional<QStringView> nextView();

private:
    TextLineReader lines_;
};

// The fields of a game line. The name is empty when the line names no set.
QStringView gameLineName(QStringView gameLine, Dialect dialect);
bool hasTitle(QStringView gameLine, Dialect dialect);
QStringView gameLineTitle(QStringView gameLine, Dialect dialect);

// The archive name a game line asks for: its name plus ".zip"; empty when the line names no
// set at all.
QString candidateArchiveName(QStringView gameLine, Dialect dialect);
// The title of a game line as a found game is announced: trimmed at both ends.
QString announcedTitle(QStringView gameLine, Dialect dialect);

// The titles of the ROM manager's game list: of every titled game line, the text between the
// quotes (a line of exactly 12 gives an empty title), in the alphabetical order of `locale`
// without regard to letter case, as a sorted list box keeps them (accented letters beside
// their plain ones), then by character codes, so the order never depends on the file order.
QStringList managerTitles(const QStringList& gameLines, Dialect dialect,
                          const QLocale& locale = QLocale());

// The title shown for an archive the game list does not know.
QString unknownArchiveTitle(const QString& archiveName);

// Upper case as the user's locale writes it. Only a few languages have case rules of their own
// (Turkish and Azerbaijani dotted and dotless i, Lithuanian, Greek accents); every other one
// upper-cases as Unicode does, which skips the locale's converter, far slower.
class LocaleUpper {
public:
    LocaleUpper();
    QString operator()(QStringView text) const;
    // True when `text` upper-cases to `upper`; ASCII text is compared without a copy.
    bool isUpperOf(QStringView text, QStringView upper) const;
    // The upper case of `text` put in `out`, in the room it has when no one shares it: for a
    // key that is kept only now and then.
    void upperInto(QStringView text, QString& out) const;

private:
    QLocale locale_;
    bool plainAscii_ = false;
};

// The lookups with lista.txt read anew for each call, so a regenerated list is seen by the
// very next one. Nothing when the list has no such game, or cannot be read.
std::optional<QString> TitleForArchive(const QString& emulatorFolder, const QString& archiveName,
                                       Dialect dialect);
std::optional<QString> ArchiveForTitle(const QString& emulatorFolder, const QString& title,
                                       Dialect dialect);
// The same with the list's bytes from elsewhere than the folder's file.
std::optional<QString> TitleForArchive(std::unique_ptr<QIODevice> list, const QString& archiveName,
                                       Dialect dialect);
std::optional<QString> ArchiveForTitle(std::unique_ptr<QIODevice> list, const QString& title,
                                       Dialect dialect);

// lista.txt read once, for many lookups while it cannot change (a catalogue build). Answers
// exactly as the per-call lookups would, through indexes of the first line of each name and
// of each title.
class GameList {
public:
    // `archives`, when given, are the only ones titleForArchive is asked about: the titles of
    // other games are not kept, so a list of any size (or garbage) costs little memory.
    GameList(const QString& emulatorFolder, Dialect dialect,
             const std::optional<QStringList>& archives = std::nullopt);
    // The list's bytes from elsewhere than the folder's file.
    GameList(const QByteArray& list, Dialect dialect,
             const std::optional<QStringList>& archives = std::nullopt);

    // False when lista.txt could not be read: every lookup then fails.
    bool isReadable() const { return readable_; }

    std::optional<QString> titleForArchive(const QString& archiveName) const;
    // The title index is built on the first call.
    std::optional<QString> archiveForTitle(const QString& title);

private:
    void read(const std::optional<QStringList>& archives);
    std::unique_ptr<QIODevice> listDevice() const;

    QString emulatorFolder_;
    std::optional<QByteArray> listBytes_;
    Dialect dialect_;
    bool readable_ = false;
    LocaleUpper upper_;
    QHash<QString, QString> titleOfName_;
    QHash<QString, QString> archiveOfTitle_;
    bool titlesIndexed_ = false;
};

} // namespace zefrin
