// The two detail reports: their texts line for line, the emulator's answers copied byte for
// byte, and an emulator folder left as it was found.

#include "ManagerFolder.h"
#include "romman/RomReports.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// What the emulator prints for one command line, run in the folder as the script runs it.
QByteArray emulatorAnswer(const ManagerFolder& folder, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(folder.folder.filePath("mame"), arguments);
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// None of the command's working files is left in the emulator folder.
void verifyNoWorkingFiles(const ManagerFolder& folder)
{
    for (const char* name : {"abrir.bat", "1.p", "2.p", "3.p", "4.p", "comparacion.log"})
        QVERIFY2(!folder.folder.exists(name), name);
}

} // namespace

class RomReportsTest : public QObject {
    Q_OBJECT

private slots:
    void scripts()
    {
        QCOMPARE(gameReportScript("abc.zip"), QStringList{"mame 'abc' -listroms > 1.p"});
        QCOMPARE(gameReportScript("  abc.zip  "), QStringList{"mame 'abc' -listroms > 1.p"});
        QCOMPARE(archiveReportScript("mi juego's.zip"),
                 (QStringList{"mame 'roms/mi juego'\\''s.zip' -romident > 1.p",
                              "mame 'mi juego'\\''s' -listroms > 2.p",
                              "mame 'mi juego'\\''s' -verifyroms > 3.p",
                              "mame 'roms/mi juego'\\''s.zip' -isknown > 4.p"}));
    }

    void gameReportText_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("copied");
        QTest::newRow("CR LF lines") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("LF lines") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("no last line end") << QByteArray("a\nb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("empty lines kept") << QByteArray("\n\na\n") << QByteArray("\r\n\r\na\r\n");
        QTest::newRow("not UTF-8")
            << QByteArray("caf\xe9 \xff\n") << QByteArray("caf\xe9 \xff\r\n");
        QTest::newRow("nothing") << QByteArray() << QByteArray();
    }

    void gameReportText()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, copied);
        QCOMPARE(zefrin::gameReportText("Ñandú del Águila", answer),
                 QByteArray("\r\n/* ÑANDÚ DEL ÁGUILA */\r\n/* ARCHIVOS QUE DEBE TENER SU .ZIP */"
                            "\r\n\r\n") +
                     copied);
    }

    void archiveReportText()
    {
        const QByteArray expected =
            "/* COMPROBACIÓN DE LOS ARCHIVOS DE LA ROM */\r\n"
            "\r\n"
            "uno\r\n"
            "\r\n"
            "/* ROMS QUE DEBERÍA TENER EL ARCHIVO PARA QUE FUNCIONE */\r\n"
            "\r\n"
            "dos a\r\ndos b\r\n"
            "\r\n"
            "/* COMPROBACIÓN DE LA INTEGRIDAD DEL ARCHIVO */\r\n"
            "\r\n"
            "\r\n"
            "/* ¿RECONOCE M.A.M.E. ESTA ROM? */\r\n"
            "/* NOTA: Que M.A.M.E. reconozca al completo(KNOWN) o en parte(PARTKNOWN) esta ROM no "
            "implica que la emule. */\r\n"
            "\r\n"
            "cuatro\r\n";
        QCOMPARE(zefrin::archiveReportText({"uno\n", "dos a\ndos b", "", "cuatro\r\n"}), expected);
        // With nothing from the last command the report ends with the empty line after the note.
        QVERIFY(zefrin::archiveReportText({"", "", "", ""}).endsWith("la emule. */\r\n\r\n"));
    }

    void gameReportFromTheEmulator()
    {
        ManagerFolder folder;
        QTemporaryDir scratch;
        const ReportMaker maker(folder.path(), scratch.path());
        const ReportResult report = maker.gameReport("Come Cocos", "pacman.zip");
        QVERIFY2(report.written, qPrintable(report.error));
        QVERIFY(report.path.startsWith(scratch.path() + "/"));
        QCOMPARE(QFileInfo(report.path).fileName(), QStringLiteral("comparacion.log"));
        const QByteArray answer = emulatorAnswer(folder, {"pacman", "-listroms"});
        QVERIFY(answer.contains("pm.6e"));
        QCOMPARE(readBytes(report.path), zefrin::gameReportText("Come Cocos", answer));
        QCOMPARE(folder.emulatorCalls().first(), QStringLiteral("pacman\t-listroms"));
        verifyNoWorkingFiles(folder);
    }

    void archiveReportFromTheEmulator_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("holds");
        QTest::newRow("good under its name") << "pacman.zip"
                                             << "pacman";
        QTest::newRow("good under an old name") << "puckman.zip"
                                                << "pacman";
        QTest::newRow("unknown files") << "misterio.zip"
                                       << "foreign";
        QTest::newRow("blanks and quotes") << "mi \"juego\" it's.zip"
                                           << "pacman";
        QTest::newRow("shell signs") << "a & b; $(touch pwned) `touch pwned` 100%.zip"
                                     << "foreign";
    }

    void archiveReportFromTheEmulator()
    {
        QFETCH(QString, archive);
        QFETCH(QString, holds);
        ManagerFolder folder;
        if (holds == "foreign")
            folder.foreignArchive(archive);
        else
            folder.goodArchive(holds.toStdString(), archive);
        QTemporaryDir scratch;
        const ReportMaker maker(folder.path(), scratch.path());
        const ReportResult report = maker.archiveReport(archive);
        QVERIFY2(report.written, qPrintable(report.error));

        const QString set = QFileInfo(archive).completeBaseName();
        const std::array<QByteArray, 4> answers{
            emulatorAnswer(folder, {"roms/" + archive, "-romident"}),
            emulatorAnswer(folder, {set, "-listroms"}),
            emulatorAnswer(folder, {set, "-verifyroms"}),
            emulatorAnswer(folder, {"roms/" + archive, "-isknown"})};
        for (const QByteArray& answer : answers)
            QVERIFY(!answer.isEmpty());
        QCOMPARE(readBytes(report.path), zefrin::archiveReportText(answers));
        QCOMPARE(folder.romsListing(), QStringList{archive});
        verifyNoWorkingFiles(folder);
        QVERIFY(!folder.folder.exists("pwned") && !folder.folder.exists("roms/pwned"));
    }

    void staleAnswersAreNotCopied()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "pacman.zip");
        // An emulator that answers only the first question.
        folder.replaceEmulator("#!/bin/sh\n[ \"$2\" = -romident ] && echo identificado\n");
        for (const char* name : {"1.p", "2.p", "3.p", "4.p"})
            folder.folder.writeFile(name, "viejo\r\n");
        QTemporaryDir scratch;
        const ReportResult report =
            ReportMaker(folder.path(), scratch.path()).archiveReport("pacman.zip");
        QVERIFY(report.written);
        QCOMPARE(readBytes(report.path), zefrin::archiveReportText({"identificado\n", "", "", ""}));
        verifyNoWorkingFiles(folder);
    }

    void reportWithoutAnEmulatorRun()
    {
        ManagerFolder folder;
        // The script cannot be written: a folder of its name is in the way.
        folder.folder.makeFolder("abrir.bat");
        folder.folder.writeFile("abrir.bat/keep", "x");
        QTemporaryDir scratch;
        const ReportResult report =
            ReportMaker(folder.path(), scratch.path()).gameReport("Tetrix", "tetrix.zip");
        QVERIFY(report.written);
        QCOMPARE(readBytes(report.path), zefrin::gameReportText("Tetrix", {}));
        QVERIFY(folder.emulatorCalls().isEmpty());
    }

    void eachReportKeepsItsOwnFile()
    {
        ManagerFolder folder;
        QTemporaryDir scratch;
        const ReportMaker maker(folder.path(), scratch.path());
        const ReportResult first = maker.gameReport("Tetrix", "tetrix.zip");
        const ReportResult second = maker.gameReport("Donkey Kong", "dkong.zip");
        QVERIFY(first.written && second.written);
        QVERIFY(first.path != second.path);
        QVERIFY(readBytes(first.path).contains("/* TETRIX */"));
        QVERIFY(readBytes(second.path).contains("/* DONKEY KONG */"));
    }

    void noScratchFolderNoReport()
    {
        ManagerFolder folder;
        const ReportResult report =
            ReportMaker(folder.path(), QString()).gameReport("Tetrix", "tetrix.zip");
        QVERIFY(!report.written);
        QVERIFY(!report.error.isEmpty());
        verifyNoWorkingFiles(folder);
        QVERIFY(QDir(folder.path()).entryList({"informe*"}, QDir::AllEntries).isEmpty());
    }
};

QTEST_GUILESS_MAIN(RomReportsTest)
#include "tst_romreports.moc"
