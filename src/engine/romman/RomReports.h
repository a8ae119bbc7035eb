#pragma once
// The two detail reports of the ROM manager: what the emulator says about a game's archive
// (the ROM files it must hold) and about an archive (which files it recognises, what the game
// of that name needs, whether the set verifies, whether the files are known). The emulator's
// answers are copied byte for byte under fixed headers, every line ended by CR LF.
//
// The emulator's answer files and the command script live in the emulator folder only while a
// report is made; the report itself is written to a folder of its own inside the program's
// private scratch folder, where it stays, for the editor to read, until the program ends.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

namespace zefrin {

// Script lines: the game report lists the ROMs of the set named by the game's archive name;
// the archive report asks four questions about roms/ARCHIVE and its set, into 1.p to 4.p.
QStringList gameReportScript(const QString& gameArchiveName);
QStringList archiveReportScript(const QString& archive);

// The report texts, from the emulator's answers as they were written.
QByteArray gameReportText(const QString& title, const QByteArray& gameFiles);
QByteArray archiveReportText(const std::array<QByteArray, 4>& answers);

struct ReportResult {
    bool written = false;
    QString path;  // the report, when written
    QString error; // why not, when not
    // The script that could not be written, when the emulator could not be asked: the
    // report is made all the same, with every answer empty.
    QString unasked;
};

class ReportMaker {
public:
    ReportMaker(const QString& emulatorFolder, const QString& scratchFolder);

    ReportResult gameReport(const QString& title, const QString& gameArchiveName) const;
    ReportResult archiveReport(const QString& archive) const;

private:
    // Runs the script; the answers 1.p to `count`.p, each empty when it was not written. The
    // script and the answers are gone from the emulator folder afterwards.
    QList<QByteArray> ask(const QStringList& script, int count, QString& unasked) const;
    ReportResult write(const QByteArray& text, const QString& unasked) const;

    QString emulatorFolder_;
    QString scratchFolder_;
};

} // namespace zefrin
