#include "ArchiveCheck.h"

#include "CrcList.h"
#include "PendingRename.h"
#include "ZipCrcs.h"
#include "engine/catalogue/RomFolder.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zefrin {

namespace {

// The verdict is on the first line; a longer one is no verdict, so reading stops there.
constexpr qint64 longestFirstLine = 4096;
// Today's verdict follows a line per wrong file: a set has some dozens at most.
constexpr qint64 longestAnswer = 1 << 20;

// False when the upper case of `text` surely does not start with `upperPrefix`: the ASCII
// characters in front are compared as they upper-case, without a copy of the line; any other
// character leaves the answer to the comparison of the whole upper case.
bool mayStartWithUpper(QStringView text, QStringView upperPrefix)
{
    for (qsizetype i = 0; i < upperPrefix.size(); ++i) {
        if (i == text.size())
            return false;
        const char16_t c = text.at(i).unicode();
        if (c >= 0x80)
            return true;
        const char16_t upper = c >= 'a' && c <= 'z' ? char16_t(c - ('a' - 'A')) : c;
        if (upper != upperPrefix.at(i).unicode())
            return false;
    }
    return true;
}

} // namespace

bool stopsSearch(CheckOutcome outcome)
{
    switch (outcome) {
    case CheckOutcome::Good:
    case CheckOutcome::NotGood:
    case CheckOutcome::NameTaken:
    case CheckOutcome::GoodBeside:
    case CheckOutcome::NoRomFiles:
        return false;
    case CheckOutcome::NotPassable:
    case CheckOutcome::ArchiveMissing:
    case CheckOutcome::RenameRefused:
    case CheckOutcome::RecordFailed:
    case CheckOutcome::EmulatorNotRun:
    case CheckOutcome::DiskFull:
    case CheckOutcome::NotRestored:
        break;
    }
    return true;
}

bool isGoodVerifyLine(const QString& firstLine, const QString& set)
{
    // The emulator's words are ASCII, and the user's locale must not case them: Turkish rules
    // make "is" "İS", so no verdict would ever read as good. QString's own upper case is the
    // same in every locale.
    const QString good = QStringLiteral("romset ") + set + QStringLiteral(" is good");
    return firstLine.trimmed().toUpper() == good.toUpper();
}

QString firstLineOf(const QString& path)
{
    return firstLineOf(fileDevice(path));
}

QString firstLineOf(std::unique_ptr<QIODevice> answer)
{
    if (!answer->open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = answer->readLine(longestFirstLine);
    const QStringList lines = splitLines(decodeSystemText(line));
    return lines.isEmpty() ? QString() : lines.first();
}

bool isPassingVerifyAnswer(const QStringList& answerLines, const QString& set)
{
    const QString romset = (QStringLiteral("romset ") + set + QLatin1Char(' ')).toUpper();
    for (const QString& line : answerLines) {
        if (!mayStartWithUpper(QStringView(line).trimmed(), romset))
            continue;
        const QString words = line.trimmed().toUpper();
        if (!words.startsWith(romset))
            continue;
        QStringView verdict = QStringView(words).mid(romset.size());
        // A clone names its parent set.
        if (verdict.startsWith(QLatin1Char('['))) {
            const qsizetype close = verdict.indexOf(QStringLiteral("] "));
            if (close < 0)
                continue;
            verdict = verdict.mid(close + 2);
        }
        if (verdict == QLatin1String("IS GOOD") || verdict == QLatin1String("IS BEST AVAILABLE"))
            return true;
    }
    return false;
}

QStringList answerLinesOf(const QString& path)
{
    return answerLinesOf(fileDevice(path));
}

QStringList answerLinesOf(std::unique_ptr<QIODevice> answer)
{
    if (!answer->open(QIODevice::ReadOnly))
        return {};
    // No bigger buffer than the answer needs: a read makes room for all it asks.
    const qint64 wanted =
        answer->isSequential() ? longestAnswer : std::min(answer->bytesAvailable(), longestAnswer);
    return splitLines(decodeSystemText(answer->read(wanted)));
}

ArchiveChecker::ArchiveChecker(EmulatorRunner& runner, const QString& emulatorFolder,
                               const QString& recordPath, Dialect dialect,
                               const QString& scratchFolder)
    : runner_(runner)
    , emulatorFolder_(emulatorFolder)
    , dialect_(dialect)
    , romsFolder_(emulatorPath(emulatorFolder, QStringLiteral("roms")))
    , recordPath_(recordPath)
    , scriptPath_(emulatorPath(emulatorFolder, QStringLiteral("abrir.bat")))
    , answerPath_(emulatorPath(emulatorFolder, QStringLiteral("1.p")))
    , filesPath_(emulatorPath(emulatorFolder, QStringLiteral("2.p")))
    , besideFolder_(scratchFolder.isEmpty() ? QString()
                                            : scratchFolder + QStringLiteral("/comprobacion"))
{
}

QString ArchiveChecker::inRoms(const QString& name) const
{
    return romsFolder_ + QLatin1Char('/') + name;
}

std::optional<CheckOutcome> ArchiveChecker::CheckArchiveAsGame(const QString& archive,
                                                               const QString& candidate,
                                                               bool sharesFile)
{
    if (!isPassableArchiveName(archive) || !isPassableArchiveName(candidate))
        return CheckOutcome::NotPassable;
    archive_ = archive;
    candidate_ = candidate;
    renamed_ = false;
    sharesFile_ = sharesFile || dialect_ != Dialect::Today;
    beside_ = false;
    if (archive == candidate) {
        if (!FileExists(inRoms(archive)))
            return CheckOutcome::ArchiveMissing;
        return startVerify();
    }
    if (FileExists(inRoms(candidate))) {
        if (!FileExists(inRoms(archive)))
            return CheckOutcome::ArchiveMissing;
        return startBeside();
    }

    const bool keepRecord = !recordPath_.isEmpty();
    if (keepRecord && !writePendingRename(recordPath_, {emulatorFolder_, archive, candidate}))
        return CheckOutcome::RecordFailed;
    if (!RenameInFolder(archive, candidate, romsFolder_)) {
        if (keepRecord)
            (void)clearPendingRename(recordPath_);
        return whyRenameFailed();
    }
    renamed_ = true;
    if (const std::optional<CheckOutcome> refused = startVerify())
        return renameBack(*refused);
    return std::nullopt;
}

std::optional<CheckOutcome> ArchiveChecker::startVerify()
{
    const QString set = StripExtension(candidate_);
    // An answer left by an earlier run must not stand in for one this run did not give. The
    // script goes first too: a link planted under its name would be written through.
    if (!removeIfExists(answerPath_) || !removeIfExists(filesPath_) || !removeIfExists(scriptPath_))
        return CheckOutcome::EmulatorNotRun;
    // The set's files are asked for only after a passing verdict (exit status 0).
    const QString verify =
        beside_ ? verifySetLineIn(set, besideFolder_) : verifySetLine(set, dialect_);
    if (!writeScript(scriptPath_,
                     {sharesFile_ ? verify : verify + QStringLiteral(" && ") + setCrcsLine(set)}))
        return CheckOutcome::EmulatorNotRun;
    if (!runner_.start(
            scriptCommand(emulatorFolder_, scriptPath_, runner_.emulatorFor(emulatorFolder_)), this,
            &ArchiveChecker::verifyEnded))
        return CheckOutcome::EmulatorNotRun;
    return std::nullopt;
}

void ArchiveChecker::verifyEnded(const ShellResult& shell)
{
    CheckOutcome verdict = CheckOutcome::EmulatorNotRun;
    if (shell.started) {
        const QString set = StripExtension(candidate_);
        const bool passed = dialect_ == Dialect::Today
                                ? isPassingVerifyAnswer(answerLinesOf(answerPath_), set)
                                : isGoodVerifyLine(firstLineOf(answerPath_), set);
        verdict = !passed ? CheckOutcome::NotGood : sharesFile_ ? CheckOutcome::Good : heldFiles();
        // Today's emulator answers nothing on standard output for a set it does not find, so
        // an empty answer is a verdict, unless a full disk swallowed what it wrote.
        if (verdict != CheckOutcome::Good && lostToFullDisk(passed))
            verdict = CheckOutcome::DiskFull;
    }
    (void)removeIfExists(filesPath_);
    if (beside_) {
        removeBeside();
        if (verdict == CheckOutcome::Good)
            verdict = CheckOutcome::GoodBeside;
        else if (verdict == CheckOutcome::NotGood)
            verdict = CheckOutcome::NameTaken;
    }
    emit checked(renameBack(verdict));
}

std::optional<CheckOutcome> ArchiveChecker::startBeside()
{
    // The emulator takes a list of folders separated by ';' for its ROM path.
    if (dialect_ != Dialect::Today || besideFolder_.isEmpty() ||
        besideFolder_.contains(QLatin1Char(';')))
        return CheckOutcome::NameTaken;
    removeBeside();
    const QString archivePath = QFileInfo(inRoms(archive_)).absoluteFilePath();
    if (!QDir().mkpath(besideFolder_) ||
        !QFile::link(archivePath, besideFolder_ + QLatin1Char('/') + candidate_)) {
        removeBeside();
        return CheckOutcome::NameTaken;
    }
    beside_ = true;
    const std::optional<CheckOutcome> refused = startVerify();
    if (refused) {
        removeBeside();
        beside_ = false;
    }
    return refused;
}

void ArchiveChecker::removeBeside()
{
    // Only links live there: removing them never touches what they point at.
    if (!besideFolder_.isEmpty())
        (void)QDir(besideFolder_).removeRecursively();
}

bool ArchiveChecker::lostToFullDisk(bool passed) const
{
    const QString lost = passed ? filesPath_ : answerPath_;
    return QFileInfo(lost).size() == 0 && diskIsFull(lost);
}

CheckOutcome ArchiveChecker::heldFiles() const
{
    QFile answer(filesPath_);
    // No list of the set's files: nothing shows that the archive holds one.
    if (!answer.open(QIODevice::ReadOnly))
        return CheckOutcome::NotGood;
    const QByteArray text = answer.read(longestAnswer);
    const CrcIndex setFiles = CrcIndex::fromText(text);
    // The emulator lists nothing at all for a set without ROM files; an answer of other
    // lines tells nothing of the set's files.
    if (setFiles.isEmpty())
        return text.trimmed().isEmpty() ? CheckOutcome::NoRomFiles : CheckOutcome::NotGood;
    const std::optional<QList<quint32>> held =
        zipFileCrcs(inRoms(renamed_ ? candidate_ : archive_));
    if (!held || setFiles.setsHolding(*held).isEmpty())
        return CheckOutcome::NotGood;
    return CheckOutcome::Good;
}

CheckOutcome ArchiveChecker::renameBack(CheckOutcome verdict)
{
    if (!renamed_)
        return verdict;
    if (!RenameInFolder(candidate_, archive_, romsFolder_))
        return CheckOutcome::NotRestored; // the record stays: the next start puts it back
    renamed_ = false;
    if (!recordPath_.isEmpty())
        (void)clearPendingRename(recordPath_);
    return verdict;
}

CheckOutcome ArchiveChecker::whyRenameFailed() const
{
    if (FileExists(inRoms(candidate_)))
        return CheckOutcome::NameTaken;
    if (!FileExists(inRoms(archive_)))
        return CheckOutcome::ArchiveMissing;
    return CheckOutcome::RenameRefused;
}

} // namespace zefrin
