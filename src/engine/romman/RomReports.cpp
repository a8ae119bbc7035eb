#include "RomReports.h"

#include "engine/catalogue/GameList.h"
#include "engine/launch/LaunchLog.h"
#include "engine/services/EmulatorCommands.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace zefrin {

namespace {

const QByteArray lineEnd = QByteArrayLiteral("\r\n");

QString answerName(int number)
{
    return QString::number(number) + QStringLiteral(".p");
}

class ReportText {
public:
    void line(const QString& text) { bytes_ += encodeSystemText(text) + lineEnd; }
    void empty() { bytes_ += lineEnd; }
    // The lines as the emulator wrote them, each ended by CR LF, as the launch log has them.
    void answer(const QByteArray& output) { bytes_ += launchLogText(output); }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QStringList gameReportScript(const QString& gameArchiveName)
{
    return {listRomsLine(StripExtension(gameArchiveName.trimmed()))};
}

QStringList archiveReportScript(const QString& archive, Dialect dialect)
{
    return archiveDetailLines(archive, dialect);
}

QByteArray gameReportText(const QString& title, const QByteArray& gameFiles)
{
    ReportText report;
    report.empty();
    report.line(QStringLiteral("/* ") + LocaleUpper()(title) + QStringLiteral(" */"));
    report.line(QStringLiteral("/* ARCHIVOS QUE DEBE TENER SU .ZIP */"));
    report.empty();
    report.answer(gameFiles);
    return report.bytes();
}

QByteArray archiveReportText(const std::array<QByteArray, 4>& answers, Dialect dialect)
{
    ReportText report;
    report.line(QStringLiteral("/* COMPROBACIÓN DE LOS ARCHIVOS DE LA ROM */"));
    report.empty();
    report.answer(answers[0]);
    report.empty();
    report.line(QStringLiteral("/* ROMS QUE DEBERÍA TENER EL ARCHIVO PARA QUE FUNCIONE */"));
    report.empty();
    report.answer(answers[1]);
    report.empty();
    report.line(QStringLiteral("/* COMPROBACIÓN DE LA INTEGRIDAD DEL ARCHIVO */"));
    report.empty();
    report.answer(answers[2]);
    report.empty();
    report.line(QStringLiteral("/* ¿RECONOCE M.A.M.E. ESTA ROM? */"));
    if (dialect == Dialect::Today) {
        report.empty();
        report.line(QStringLiteral("Esta versión de M.A.M.E ya no tiene esta comprobación "
                                   "(-isknown). La primera sección dice qué archivos de la ROM "
                                   "reconoce."));
        return report.bytes();
    }
    report.line(QStringLiteral("/* NOTA: Que M.A.M.E. reconozca al completo(KNOWN) o en "
                               "parte(PARTKNOWN) esta ROM no implica que la emule. */"));
    report.empty();
    report.answer(answers[3]);
    return report.bytes();
}

ReportMaker::ReportMaker(EmulatorRunner& runner, const QString& emulatorFolder,
                         const QString& scratchFolder, Dialect dialect)
    : runner_(runner)
    , emulatorFolder_(emulatorFolder)
    , scratchFolder_(scratchFolder)
    , dialect_(dialect)
    , scriptPath_(emulatorPath(emulatorFolder, QStringLiteral("abrir.bat")))
{
}

bool ReportMaker::gameReport(const QString& title, const QString& gameArchiveName)
{
    if (!ask(gameReportScript(gameArchiveName), 1))
        return false;
    title_ = title;
    return true;
}

bool ReportMaker::archiveReport(const QString& archive)
{
    if (!ask(archiveReportScript(archive, dialect_), 4))
        return false;
    title_.clear();
    return true;
}

bool ReportMaker::ask(const QStringList& script, int count)
{
    if (runner_.isBusy())
        return false;
    count_ = count;
    unasked_.clear();
    // Answers left by an earlier command must not pass for this one's.
    for (int number = 1; number <= count; ++number)
        (void)removeIfExists(emulatorPath(emulatorFolder_, answerName(number)));
    // A script that cannot be written or run leaves every section empty; the report is made
    // all the same.
    CommandLine command;
    // A link planted under the script's name would be written through: it goes first.
    if (removeIfExists(scriptPath_) && writeScript(scriptPath_, script)) {
        command = scriptCommand(emulatorFolder_, scriptPath_, runner_.emulatorFor(emulatorFolder_));
    } else {
        unasked_ = scriptPath_;
        command.error = scriptPath_;
    }
    return runner_.start(command, this, &ReportMaker::answered);
}

void ReportMaker::answered(const ShellResult&)
{
    (void)removeIfExists(scriptPath_);
    const QList<QByteArray> answers = takeAnswers();
    if (count_ == 1)
        emit made(write(gameReportText(title_, answers.at(0))));
    else
        emit made(write(archiveReportText(
            {answers.at(0), answers.at(1), answers.at(2), answers.at(3)}, dialect_)));
}

QList<QByteArray> ReportMaker::takeAnswers()
{
    QList<QByteArray> answers;
    for (int number = 1; number <= count_; ++number) {
        const QString answerPath = emulatorPath(emulatorFolder_, answerName(number));
        answers << readAll(answerPath);
        (void)removeIfExists(answerPath);
    }
    return answers;
}

ReportResult ReportMaker::write(const QByteArray& text) const
{
    ReportResult result;
    result.unasked = unasked_;
    if (scratchFolder_.isEmpty() || !QDir(scratchFolder_).exists()) {
        result.error = QStringLiteral("no hay carpeta temporal");
        return result;
    }
    // A folder per report: an editor still showing an earlier one keeps its file.
    const QDir scratch(scratchFolder_);
    QString folder;
    for (int number = 1; folder.isEmpty(); ++number) {
        const QString name = QStringLiteral("informe-%1").arg(number);
        if (scratch.exists(name))
            continue;
        if (!scratch.mkdir(name)) {
            result.error = QStringLiteral("no se puede crear la carpeta ") + scratch.filePath(name);
            return result;
        }
        folder = scratch.filePath(name);
    }
    QSaveFile file(folder + QStringLiteral("/comparacion.log"));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.written = true;
    result.path = file.fileName();
    return result;
}

} // namespace zefrin
