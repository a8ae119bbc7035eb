#pragma once
// One option line of the emulator's settings file mame.ini, set or put back. The emulator
// writes an option as its name filled with blanks to 24 columns and the value; an option it
// has no value for is written commented out: "# ", the name filled to 22, "<NULL> (Not Set)".
// Names and values compare exactly, letter case included, as the emulator's own reader does.

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace zefrin {

struct OptionRewrite {
    QStringList lines;
    // The option line as it stood before it was last replaced, for putting it back later.
    QString lineaAnterior;
    // The option already holds the value: the file is to stay as it is.
    bool alreadySet = false;
};

// The rewrite of mame.ini's lines for option `name`:
//   - a commented line naming the option is remembered and replaced by the option set to
//     `value` (its own text uncommented when it already shows `value`);
//   - an uncommented line naming it, when `restore` is set, gives way to `lineaAnterior`;
//   - otherwise, when it already holds `value`, nothing is to change (alreadySet); else it is
//     remembered and replaced: by the commented "not set" form for an empty controller
//     option, by the name filled to 24 and the value in every other case.
// Every line naming the option is handled; a file without one comes back unchanged.
OptionRewrite rewriteOptionLines(const QStringList& lines, const QString& name,
                                 const QString& value, bool restore, const QString& lineaAnterior);

// rewriteOptionLines one line at a time, in file order, for a file read line by line.
class OptionLineRewriter {
public:
    OptionLineRewriter(const QString& name, const QString& value, bool restore,
                       const QString& lineaAnterior);

    // The line that takes `line`'s place, or nothing when the option already holds the value:
    // the file is then to stay as it is, whatever came before.
    std::optional<QString> rewrite(const QString& line);
    // The same for a line that is not kept: the view holds until the next call.
    std::optional<QStringView> rewriteView(QStringView line);
    // The line to remember once every line was rewritten.
    const QString& lineaAnterior() const { return lineaAnterior_; }
    // True when some line came back different.
    bool changed() const { return changed_; }

private:
    // What becomes of a line: kept as it is, replaced by replaced_, or the option already
    // holds the value.
    enum class Fate { Kept, Replaced, AlreadySet };
    // `kept`, when given, holds the line's text, to be shared rather than copied.
    Fate fateOf(QStringView line, const QString* kept);
    // `line` becomes the line to remember (shared from `kept` when given).
    void remember(QStringView line, const QString* kept);

    const QString name_;
    const QString value_;
    const bool restore_;
    // The option set to the value, and what an uncommented line naming it gives way to: the
    // same for every such line.
    const QString optionLine_;
    const QString setLine_;
    QString lineaAnterior_;
    QString replaced_;
    bool changed_ = false;
};

// True when an uncommented line of the file sets option `name` to `value`. The file is read
// line by line, up to that line.
bool iniOptionHolds(const QString& iniPath, const QString& name, const QString& value);

enum class IniChange {
    Unchanged,   // the file already said so, or does not name the option
    Rewritten,   // the file now holds the new line
    NotRead,     // the file is missing or cannot be read
    NotReplaced, // the new content could not be written; the file is as it was
    NotNoted     // the line to be replaced could not be kept; the file is as it was
};

// One pass of a file's lines, in Latin-1 so every byte stays itself, through `rewriter`; each
// line that comes back goes to `out` (when given) ended as the line it replaces was. Rewritten when
// some line changed, Unchanged when none did or the option already holds the value, NotRead when
// `in` cannot be read, NotReplaced when `out` takes not every byte.
IniChange rewriteOptionText(std::unique_ptr<QIODevice> in, OptionLineRewriter& rewriter,
                            QIODevice* out);

// The new content a rewrite writes beside the file before it takes the old one's place, under
// a name no other file has, is named in a run record (services/RunRecord.h) at `recordPath`
// first: a program ended in between leaves it, and the next start removes that file and no
// other.
void removeIniRewriteLeftover(const QString& recordPath, const QString& emulatorFolder);

// Applies rewriteOptionLines to the file at `iniPath`, read and written line by line (a file
// of any size is never held whole): once to learn whether anything changes, and only then
// again into the new content. The new content replaces the old in one step (written beside
// it, then renamed over it), so a failure leaves the old file whole and no temporary file
// behind; a file with nothing to change is not written at all. `lineaAnterior` changes only when
// the file was rewritten; `beforeReplacing`, when given, is handed the line to be remembered just
// before the new content takes the old one's place, and says whether it could keep it: if not,
// the file stays as it was. A file that is a link is rewritten where it points: the link
// stays. `leftoverRecord` names the new content's file while it exists (none kept when empty;
// NotNoted when it cannot be written).
IniChange rewriteIniOption(const QString& iniPath, const QString& name, const QString& value,
                           bool restore, QString& lineaAnterior,
                           const std::function<bool(const QString&)>& beforeReplacing = {},
                           const QString& leftoverRecord = {});

} // namespace zefrin
