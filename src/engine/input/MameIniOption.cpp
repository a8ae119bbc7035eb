#include "MameIniOption.h"

#include "OptionLines.h"
#include "engine/services/RunRecord.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>
#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace zefrin {

namespace {

constexpr int valueColumn = 24;
constexpr int commentedValueColumn = 22;

QString optionLine(const QString& name, const QString& value)
{
    return RellenarDerecha(name, valueColumn) + value;
}

// What a line naming the option gives way to: an empty controller option is written as the
// emulator writes an option it has no value for.
QString setOptionLine(const QString& name, const QString& value, const QString& optionLine)
{
    if (name == QLatin1String("ctrlr") && value.isEmpty())
        return QStringLiteral("# ") + RellenarDerecha(name, commentedValueColumn) +
               QStringLiteral("<NULL> (Not Set)");
    return optionLine;
}

bool isComment(QStringView line)
{
    return line.startsWith(QLatin1Char('#'));
}

// Puts `text` in `target`, in the room it already has when no one shares it: the lines a
// rewrite remembers and makes come one after another.
void assign(QString& target, QStringView text)
{
    target.resize(0);
    target.append(text);
}

} // namespace

OptionLineRewriter::OptionLineRewriter(const QString& name, const QString& value, bool restore,
                                       const QString& lineaAnterior)
    : name_(name)
    , value_(value)
    , restore_(restore)
    , optionLine_(optionLine(name, value))
    , setLine_(setOptionLine(name, value, optionLine_))
    , lineaAnterior_(lineaAnterior)
{
}

std::optional<QString> OptionLineRewriter::rewrite(const QString& line)
{
    switch (fateOf(line, &line)) {
    case Fate::Kept:
        return line;
    case Fate::Replaced:
        return replaced_;
    case Fate::AlreadySet:
        break;
    }
    return std::nullopt;
}

std::optional<QStringView> OptionLineRewriter::rewriteView(QStringView line)
{
    switch (fateOf(line, nullptr)) {
    case Fate::Kept:
        return line;
    case Fate::Replaced:
        return QStringView(replaced_);
    case Fate::AlreadySet:
        break;
    }
    return std::nullopt;
}

void OptionLineRewriter::remember(QStringView line, const QString* kept)
{
    if (kept)
        lineaAnterior_ = *kept;
    else
        assign(lineaAnterior_, line);
}

OptionLineRewriter::Fate OptionLineRewriter::fateOf(QStringView line, const QString* kept)
{
    // A line that names the option holds its name: most lines are passed at this test.
    if (!line.contains(name_))
        return Fate::Kept;
    if (isComment(line)) {
        // "# name value": the option's text starts after the "# ".
        const QStringView text = line.mid(2);
        if (nameOfLine(text) != name_)
            return Fate::Kept;
        remember(line, kept);
        if (restOfLine(text) == value_)
            assign(replaced_, text);
        else
            replaced_ = optionLine_;
    } else if (nameOfLine(line) != name_) {
        return Fate::Kept;
    } else if (restore_) {
        replaced_ = lineaAnterior_;
    } else if (restOfLine(line) == value_) {
        return Fate::AlreadySet;
    } else {
        remember(line, kept);
        replaced_ = setLine_;
    }
    changed_ = changed_ || replaced_ != line;
    return Fate::Replaced;
}

OptionRewrite rewriteOptionLines(const QStringList& lines, const QString& name,
                                 const QString& value, bool restore, const QString& lineaAnterior)
{
    OptionLineRewriter rewriter(name, value, restore, lineaAnterior);
    OptionRewrite result{{}, lineaAnterior, false};
    result.lines.reserve(lines.size());
    for (const QString& line : lines) {
        std::optional<QString> rewritten = rewriter.rewrite(line);
        if (!rewritten)
            return {lines, lineaAnterior, true};
        result.lines << std::move(*rewritten);
    }
    result.lineaAnterior = rewriter.lineaAnterior();
    return result;
}

namespace {

// Each byte of mame.ini is taken as one character and written back as the same byte: the
// names and values compared are ASCII, and every other line keeps its bytes whatever code
// page the emulator's folder names and paths were written in.
constexpr QStringConverter::Encoding iniBytes = QStringConverter::Latin1;

// Lines written as Latin-1 bytes, each after the end of the line before it, through one
// buffer that every line reuses.
class LineWriter {
public:
    explicit LineWriter(QIODevice& out)
        : out_(out)
    {
    }
    // False when `out` takes not every byte.
    bool write(LineEnd endBefore, QStringView line);

private:
    QIODevice& out_;
    QStringEncoder encoder_{iniBytes};
    QByteArray bytes_;
};

bool LineWriter::write(LineEnd endBefore, QStringView line)
{
    const QLatin1StringView end = lineEndText(endBefore);
    bytes_.resize(end.size() + encoder_.requiredSpace(line.size()));
    char* next = std::copy(end.begin(), end.end(), bytes_.data());
    next = encoder_.appendToBuffer(next, line);
    bytes_.truncate(next - bytes_.data());
    return out_.write(bytes_) == bytes_.size();
}

// One read of the file through `rewriter`, the new lines written to `out` when one is given,
// each line ended as the line it takes the place of was (the user's file keeps its own line
// ends): Rewritten when some line changes, Unchanged, NotRead, or NotReplaced when writing
// failed.
IniChange rewriteFile(std::unique_ptr<QIODevice> file, OptionLineRewriter& rewriter, QIODevice* out)
{
    TextLineReader in(std::move(file), iniBytes);
    if (!in.isOpen())
        return IniChange::NotRead;
    std::optional<LineWriter> writer;
    if (out)
        writer.emplace(*out);
    // The emulator reads a first line after a UTF-8 byte order mark (as editors save it) as
    // any other: the line is looked at without the mark, which stays.
    const QString byteOrderMark =
        QStringLiteral(u"\u00ef\u00bb\u00bf"); // its bytes, read as Latin-1
    bool first = true;
    while (std::optional<QStringView> line = in.nextView()) {
        if (std::exchange(first, false) && line->startsWith(byteOrderMark)) {
            if (writer && !writer->write(LineEnd::None, byteOrderMark))
                return IniChange::NotReplaced;
            line = line->mid(byteOrderMark.size());
        }
        const std::optional<QStringView> rewritten = rewriter.rewriteView(*line);
        if (!rewritten)
            return IniChange::Unchanged;
        if (writer && !writer->write(in.endOfPreviousLine(), *rewritten))
            return IniChange::NotReplaced;
    }
    if (in.failed())
        return IniChange::NotRead;
    if (writer && !writer->write(in.endOfPreviousLine(), {}))
        return IniChange::NotReplaced;
    return rewriter.changed() ? IniChange::Rewritten : IniChange::Unchanged;
}

// The new content on the disk itself before it takes the old one's place.
bool syncToDisk(QFile& file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

// Puts `replacement` in the place of `target` in one step.
bool replaceWith(const QString& target, const QString& replacement)
{
#ifdef Q_OS_UNIX
    // POSIX rename replaces the target atomically (Qt's own rename never replaces).
    return std::rename(QFile::encodeName(replacement).constData(),
                       QFile::encodeName(target).constData()) == 0;
#else
    return QFile::remove(target) && QFile::rename(replacement, target);
#endif
}

} // namespace

IniChange rewriteOptionText(std::unique_ptr<QIODevice> in, OptionLineRewriter& rewriter,
                            QIODevice* out)
{
    return rewriteFile(std::move(in), rewriter, out);
}

namespace {

const QString leftoverKey = QStringLiteral("temporary");

// The new content that is not to take the file's place goes, and so does its note, once the
// file is gone.
IniChange dropNewContent(QFile& out, const QString& leftoverRecord, IniChange change)
{
    if (out.remove() || !out.exists())
        (void)clearRunRecord(leftoverRecord);
    return change;
}

} // namespace

void removeIniRewriteLeftover(const QString& recordPath, const QString& emulatorFolder)
{
    const RecordReading reading = readRunRecordFor(recordPath, emulatorFolder);
    if (reading.state == RecordState::Absent)
        return;
    // Named from the folder, which may have been renamed since.
    const QString leftover = reading.note.value(leftoverKey).toString();
    if (reading.state == RecordState::Ours && !leftover.isEmpty() &&
        !removeIfExists(QDir(emulatorFolder).absoluteFilePath(leftover)))
        return; // kept for the next start
    (void)clearRunRecord(recordPath);
}

IniChange rewriteIniOption(const QString& iniPath, const QString& name, const QString& value,
                           bool restore, QString& lineaAnterior,
                           const std::function<bool(const QString&)>& beforeReplacing,
                           const QString& leftoverRecord)
{
    // A link is followed: the user's own file is the one rewritten, and the link stays.
    const QFileInfo given(iniPath);
    const QString file = given.isSymLink() ? given.canonicalFilePath() : iniPath;
    if (file.isEmpty())
        return IniChange::NotRead;
    // A first read decides, so that a file with nothing to change is never written.
    OptionLineRewriter probe(name, value, restore, lineaAnterior);
    const IniChange outcome = rewriteFile(fileDevice(file), probe, nullptr);
    if (outcome != IniChange::Rewritten)
        return outcome;
    // The new content is written beside the file under a free name, noted first, then
    // renamed over it in one step: a failure leaves the old file whole. A program ended in
    // between leaves that file behind; the next start removes it, as the note names it.
    const QFileInfo target(file);
    if (!target.isWritable())
        return IniChange::NotReplaced;
    const QString temporary = target.dir().filePath(
        freeFileName(target.path(), target.fileName(), QStringLiteral(".zefrin-nuevo")));
    const QDir folder = given.absoluteDir();
    const QString named = folder.relativeFilePath(temporary);
    if (!leftoverRecord.isEmpty() &&
        !writeRunRecord(
            leftoverRecord, folder.path(),
            {{leftoverKey, named.startsWith(QStringLiteral("../")) ? temporary : named}}))
        return IniChange::NotNoted;
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        (void)clearRunRecord(leftoverRecord);
        return IniChange::NotReplaced;
    }
    // Should the file change between the two reads, the second one decides.
    OptionLineRewriter rewriter(name, value, restore, lineaAnterior);
    const IniChange written = rewriteFile(fileDevice(file), rewriter, &out);
    const bool flushed = written == IniChange::Rewritten && out.flush() && syncToDisk(out) &&
                         out.setPermissions(target.permissions());
    out.close();
    if (!flushed)
        return dropNewContent(out, leftoverRecord,
                              written == IniChange::Rewritten ? IniChange::NotReplaced : written);
    if (beforeReplacing && !beforeReplacing(rewriter.lineaAnterior()))
        return dropNewContent(out, leftoverRecord, IniChange::NotNoted);
    if (!replaceWith(file, temporary))
        return dropNewContent(out, leftoverRecord, IniChange::NotReplaced);
    (void)clearRunRecord(leftoverRecord);
    lineaAnterior = rewriter.lineaAnterior();
    return IniChange::Rewritten;
}

bool iniOptionHolds(const QString& iniPath, const QString& name, const QString& value)
{
    TextLineReader lines(iniPath);
    while (const std::optional<QString> line = lines.next()) {
        if (!line->startsWith(QLatin1Char('#')) && NombreDeLinea(*line) == name &&
            RestoDeLinea(*line) == value)
            return true;
    }
    return false;
}

} // namespace zefrin
