#pragma once
// The two detail reports of the ROM manager: what the emulator says about a game's archive
// (the ROM files it must hold) and about an archive (which files it recognises, what the game
// of that name needs, whether the set verifies, whether the files are known). The emulator's
// answers are copied byte for byte under fixed headers, every line ended by CR LF.
//
// The emulator's answer files and the command script live in the emulator folder only while a
// report is made; the report itself is written to a folder of its own inside the program's
// private scratch folder, where it stays, for the editor to read, until the program ends.

#include "engine/services/Dialect.h"
#include "engine/services/EmulatorRunner.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace zefrin {

// Script lines: the game report lists the ROMs of the set named by the game's archive name;
// the archive report asks four questions about roms/ARCHIVE and its set, into 1.p to 4.p.
QStringList gameReportScript(const QString& gameArchiveName);
QStringList archiveReportScript(const QString& archive, Dialect dialect);

// The report texts, from the emulator's answers as they were written.
QByteArray gameReportText(const QString& title, const QByteArray& gameFiles);
// Today's emulator has no "-isknown": the last section says so instead of an answer.
QByteArray archiveReportText(const std::array<QByteArray, 4>& answers, Dialect dialect);

struct ReportResult {
    bool written = false;
    QString path;  // the report, when written
    QString error; // why not, when not
    // The script that could not be written, when the emulator could not be asked: the
    // report is made all the same, with every answer empty.
    QString unasked;
};

// Makes a report: the emulator is asked (one run of a script), then the report is written.
class ReportMaker : public QObject {
    Q_OBJECT

public:
    ReportMaker(EmulatorRunner& runner, const QString& emulatorFolder, const QString& scratchFolder,
                Dialect dialect);

    // Start a report; `made` follows. False, with nothing started, while another run is in
    // progress.
    bool gameReport(const QString& title, const QString& gameArchiveName);
    bool archiveReport(const QString& archive);

signals:
    void made(const ReportResult& report);

private slots:
    void answered(const ShellResult& shell);

private:
    // Runs the script; its answers are 1.p to `count`.p.
    bool ask(const QStringList& script, int count);
    // The answers, each empty when it was not written. The script and the answers are gone
    // from the emulator folder afterwards.
    QList<QByteArray> takeAnswers();
    ReportResult write(const QByteArray& text) const;

    EmulatorRunner& runner_;
    QString emulatorFolder_;
    QString scratchFolder_;
    Dialect dialect_;
    QString scriptPath_;
    // The report in progress: a game report names its title, an archive report none.
    QString title_;
    int count_ = 0;
    // The script that could not be written, when the emulator could not be asked.
    QString unasked_;
};

} // namespace zefrin
