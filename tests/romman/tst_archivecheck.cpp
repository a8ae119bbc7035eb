// CheckArchiveAsGame: the emulator's verdict on an archive under a game's name, and that the
// archive always ends under its own name, whatever the emulator, the names or the folder do.

#include "ManagerFolder.h"
#include "romman/ArchiveCheck.h"
#include "romman/PendingRename.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

Q_DECLARE_METATYPE(zefrin::CheckOutcome)

class ArchiveCheckTest : public QObject {
    Q_OBJECT

private slots:
    void verifyLineVerdict_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("set");
        QTest::addColumn<bool>("good");
        QTest::newRow("as printed") << "romset pacman is good"
                                    << "pacman" << true;
        QTest::newRow("upper case") << "ROMSET PACMAN IS GOOD"
                                    << "pacman" << true;
        QTest::newRow("mixed case set") << "romset PacMan is good"
                                        << "PACMAN" << true;
        QTest::newRow("trailing blanks") << "romset pacman is good   "
                                         << "pacman" << true;
        QTest::newRow("leading blanks") << "   romset pacman is good"
                                        << "pacman" << true;
        QTest::newRow("accented set") << "romset pañuelo is good"
                                      << "PAÑUELO" << true;
        QTest::newRow("bad") << "romset pacman is bad"
                             << "pacman" << false;
        QTest::newRow("not found") << "romset pacman not found"
                                   << "pacman" << false;
        QTest::newRow("parent set") << "romset puckman is good"
                                    << "pacman" << false;
        QTest::newRow("parent named") << "romset pacman [puckman] is good"
                                      << "pacman" << false;
        QTest::newRow("extra word") << "romset pacman is good indeed"
                                    << "pacman" << false;
        QTest::newRow("double blank") << "romset  pacman is good"
                                      << "pacman" << false;
        QTest::newRow("punctuation") << "romset pacman is good."
                                     << "pacman" << false;
        QTest::newRow("empty") << ""
                               << "pacman" << false;
    }

    void verifyLineVerdict()
    {
        QFETCH(QString, line);
        QFETCH(QString, set);
        QFETCH(bool, good);
        QCOMPARE(isGoodVerifyLine(line, set), good);
    }

    void plainArchiveNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("archive") << "pacman.zip" << true;
        QTest::newRow("blanks and signs") << "a & b; $(c) `d` 'e' \"f\" 100%.zip" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("up a folder") << "../pacman.zip" << false;
        QTest::newRow("backslash") << "..\\pacman.zip" << false;
        QTest::newRow("absolute") << "/tmp/pacman.zip" << false;
    }

    void plainArchiveNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(isPlainArchiveName(name), plain);
    }

    void outcomeAndNameAfterwards_data()
    {
        QTest::addColumn<QString>("kind"); // the archive under test: good/bad for pacman, foreign
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<CheckOutcome>("outcome");
        QTest::addColumn<int>("emulatorRuns");
        QTest::newRow("passes") << "good"
                                << "viejo.zip"
                                << "pacman.zip" << CheckOutcome::Good << 1;
        QTest::newRow("bad file") << "bad"
                                  << "viejo.zip"
                                  << "pacman.zip" << CheckOutcome::NotGood << 1;
        QTest::newRow("other game") << "good"
                                    << "viejo.zip"
                                    << "dkong.zip" << CheckOutcome::NotGood << 1;
        QTest::newRow("foreign") << "foreign"
                                 << "viejo.zip"
                                 << "pacman.zip" << CheckOutcome::NotGood << 1;
        QTest::newRow("unknown set") << "good"
                                     << "viejo.zip"
                                     << "nadie.zip" << CheckOutcome::NotGood << 1;
        QTest::newRow("own name") << "good"
                                  << "pacman.zip"
                                  << "pacman.zip" << CheckOutcome::Good << 1;
        QTest::newRow("candidate leaves roms")
            << "good"
            << "viejo.zip"
            << "../pacman.zip" << CheckOutcome::NotPlainName << 0;
        QTest::newRow("capital extension") << "good"
                                           << "VIEJO.ZIP"
                                           << "pacman.zip" << CheckOutcome::Good << 1;
    }

    void outcomeAndNameAfterwards()
    {
        QFETCH(QString, kind);
        QFETCH(QString, archive);
        QFETCH(QString, candidate);
        QFETCH(CheckOutcome, outcome);
        QFETCH(int, emulatorRuns);
        ManagerFolder folder;
        if (kind == "good")
            folder.goodArchive("pacman", archive);
        else if (kind == "bad")
            folder.badArchive("pacman", archive);
        else
            folder.foreignArchive(archive);
        folder.goodArchive("galaga", "galaga.zip");
        const QStringList before = folder.romsListing();
        const QByteArray bytes = folder.romBytes(archive);

        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame(archive, candidate), outcome);

        QCOMPARE(folder.romsListing(), before);
        QCOMPARE(folder.romBytes(archive), bytes);
        QCOMPARE(folder.emulatorCalls().size(), emulatorRuns);
        QVERIFY(!QFile::exists(folder.recordPath()));
        QVERIFY(!QFile::exists(folder.folder.filePath("pacman.zip")));
    }

    void takenNameIsNeverTouched()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        folder.badArchive("pacman", "pacman.zip");
        const QByteArray taken = folder.romBytes("pacman.zip");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"), CheckOutcome::NameTaken);
        QCOMPARE(folder.romBytes("pacman.zip"), taken);
        QCOMPARE(folder.romsListing(), (QStringList{"pacman.zip", "viejo.zip"}));
        QVERIFY(folder.emulatorCalls().isEmpty());
    }

    void hostileArchiveNames_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::newRow("spaces") << "mi juego viejo.zip";
        QTest::newRow("single quote") << "it's'; touch pwned; '.zip";
        QTest::newRow("double quotes") << "say \"hi\".zip";
        QTest::newRow("ampersand") << "a & touch pwned.zip";
        QTest::newRow("semicolon") << "a; touch pwned.zip";
        QTest::newRow("substitution") << "$(touch pwned).zip";
        QTest::newRow("backquotes") << "`touch pwned`.zip";
        QTest::newRow("percent") << "100% %PATH%.zip";
        QTest::newRow("leading dash") << "-rf.zip";
    }

    void hostileArchiveNames()
    {
        QFETCH(QString, archive);
        // The folder's own name is hostile as well: the script runs inside it.
        ManagerFolder folder(managerCollection(), "emu $(touch pwned); `x` 'q' & 50%");
        folder.goodArchive("pacman", archive);
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame(archive, "pacman.zip"), CheckOutcome::Good);
        QCOMPARE(folder.romsListing(), QStringList{archive});
        QCOMPARE(folder.emulatorCalls(), QStringList{"pacman\t-verifysets"});
        QVERIFY(!QFile::exists(folder.folder.filePath("pwned")));
        QVERIFY(!QFile::exists(folder.folder.filePath("roms/pwned")));
    }

    void hostileSetNames_data()
    {
        QTest::addColumn<QString>("set");
        QTest::newRow("ampersand") << "a&b";
        QTest::newRow("semicolon") << "a;touch x";
        QTest::newRow("substitution") << "$(touch x)";
        QTest::newRow("backquotes") << "`touch x`";
        QTest::newRow("quotes") << "it's\"q\"";
        QTest::newRow("percent") << "50%";
    }

    void hostileSetNames()
    {
        QFETCH(QString, set);
        fx::Collection games = managerCollection();
        games.games.push_back(fx::makeGame(set.toStdString(), "Raro", {{"r.1", 32}}));
        ManagerFolder folder(games);
        folder.goodArchive(set.toStdString(), "viejo.zip");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", set + ".zip"), CheckOutcome::Good);
        QCOMPARE(folder.emulatorCalls(), QStringList{set + "\t-verifysets"});
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
        QVERIFY(!QFile::exists(folder.folder.filePath("x")));
    }

    void emulatorAnswers_data()
    {
        QTest::addColumn<QByteArray>("emulator"); // empty: the stand-in with the directive
        QTest::addColumn<QString>("letterCase");
        QTest::addColumn<CheckOutcome>("outcome");
        QTest::newRow("lower case, trailing blanks")
            << QByteArray() << "lower" << CheckOutcome::Good;
        QTest::newRow("upper case") << QByteArray() << "upper" << CheckOutcome::Good;
        QTest::newRow("CR LF") << QByteArray("#!/bin/sh\nprintf 'romset %s is good\\r\\n' \"$1\"\n")
                               << "" << CheckOutcome::Good;
        QTest::newRow("writes nothing")
            << QByteArray("#!/bin/sh\nexit 0\n") << "" << CheckOutcome::NotGood;
        QTest::newRow("never writes 1.p")
            << QByteArray("#!/bin/sh\nrm -f 1.p\nexit 0\n") << "" << CheckOutcome::NotGood;
        QTest::newRow("answers on stderr only")
            << QByteArray("#!/bin/sh\necho \"romset $1 is good\" >&2\n") << ""
            << CheckOutcome::NotGood;
        QTest::newRow("verdict on second line")
            << QByteArray("#!/bin/sh\necho loading\necho \"romset $1 is good\"\n") << ""
            << CheckOutcome::NotGood;
        QTest::newRow("crashes") << QByteArray("#!/bin/sh\nkill -SEGV $$\n") << ""
                                 << CheckOutcome::NotGood;
        QTest::newRow("not executable")
            << QByteArray("not a program") << "" << CheckOutcome::NotGood;
    }

    void emulatorAnswers()
    {
        QFETCH(QByteArray, emulator);
        QFETCH(QString, letterCase);
        QFETCH(CheckOutcome, outcome);
        std::vector<fx::Directive> directives;
        if (!letterCase.isEmpty())
            directives.push_back({"verifysets-case", letterCase.toStdString(), ""});
        ManagerFolder folder(managerCollection(directives));
        if (!emulator.isEmpty())
            folder.replaceEmulator(emulator);
        if (QTest::currentDataTag() == QByteArray("not executable"))
            QFile::setPermissions(folder.folder.filePath("mame"), QFile::ReadOwner);
        folder.goodArchive("pacman", "viejo.zip");
        // A verdict left over from an earlier run must not count for this one.
        folder.folder.writeFile("1.p", "romset pacman is good\r\n");

        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"), outcome);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
        QVERIFY(!QFile::exists(folder.recordPath()));
    }

    void scriptAndAnswerStayInTheFolder()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"), CheckOutcome::Good);
        QCOMPARE(folder.folder.readFile("abrir.bat"),
                 QByteArray("mame 'pacman' -verifysets > 1.p\r\n"));
        QVERIFY(folder.folder.readFile("1.p").startsWith("romset pacman is good"));
    }

    void recordHoldsTheRenameWhileTheEmulatorRuns()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "mi viejo.zip");
        folder.replaceEmulator(
            "#!/bin/sh\ncp '" + folder.recordPath().toUtf8() +
            "' record.json\nls roms > listing.txt\necho \"romset $1 is good\"\n");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("mi viejo.zip", "pacman.zip"), CheckOutcome::Good);

        QCOMPARE(folder.folder.readFile("listing.txt"), QByteArray("pacman.zip\n"));
        QFile copy(folder.folder.filePath("record.json"));
        QVERIFY(copy.exists());
        QFile::rename(copy.fileName(), folder.folder.filePath("../seen.json"));
        const std::optional<PendingRename> seen =
            readPendingRename(folder.folder.filePath("../seen.json"));
        QVERIFY(seen);
        QCOMPARE(seen->archive, QStringLiteral("mi viejo.zip"));
        QCOMPARE(seen->temporary, QStringLiteral("pacman.zip"));
        QCOMPARE(seen->emulatorFolder, folder.path());
        QVERIFY(!QFile::exists(folder.recordPath()));
    }

    void noRecordNoRename()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        // The record's folder cannot be made: a file is in its way.
        folder.folder.writeFile("../blocker", "x");
        const ArchiveChecker checker(folder.path(), folder.folder.filePath("../blocker/r.json"));
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"), CheckOutcome::RecordFailed);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
        QVERIFY(folder.emulatorCalls().isEmpty());
    }

    void missingArchive()
    {
        ManagerFolder folder;
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("borrado.zip", "pacman.zip"),
                 CheckOutcome::ArchiveMissing);
        QCOMPARE(checker.CheckArchiveAsGame("pacman.zip", "pacman.zip"),
                 CheckOutcome::ArchiveMissing);
        QVERIFY(folder.romsListing().isEmpty());
        QVERIFY(folder.emulatorCalls().isEmpty());
        QVERIFY(!QFile::exists(folder.recordPath()));
    }

    void lockedArchiveOrFolder_data()
    {
        QTest::addColumn<QString>("locked");
        QTest::newRow("archive") << "roms/viejo.zip";
        QTest::newRow("roms folder") << "roms";
    }

    void lockedArchiveOrFolder()
    {
        QFETCH(QString, locked);
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        const QByteArray bytes = folder.romBytes("viejo.zip");
        const Immutable lock(folder.folder.filePath(locked));
        if (!lock.applied())
            QSKIP("chattr +i is not available here");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"),
                 CheckOutcome::RenameRefused);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
        QCOMPARE(folder.romBytes("viejo.zip"), bytes);
        QVERIFY(folder.emulatorCalls().isEmpty());
        QVERIFY(!QFile::exists(folder.recordPath()));
    }

    void nameTakenBackMeansNotRestored()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        const QByteArray bytes = folder.romBytes("viejo.zip");
        // Something puts a file of the archive's own name in roms while the emulator runs.
        folder.replaceEmulator("#!/bin/sh\necho intruso > roms/viejo.zip\n"
                               "echo \"romset $1 is good\"\n");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"), CheckOutcome::NotRestored);
        QCOMPARE(folder.romBytes("pacman.zip"), bytes);
        QCOMPARE(folder.romBytes("viejo.zip"), QByteArray("intruso\n"));
        const std::optional<PendingRename> record = readPendingRename(folder.recordPath());
        QVERIFY(record);
        QCOMPARE(record->archive, QStringLiteral("viejo.zip"));
        QCOMPARE(record->temporary, QStringLiteral("pacman.zip"));
    }

    void scriptThatCannotBeWritten()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        folder.folder.makeFolder("abrir.bat");
        folder.folder.writeFile("abrir.bat/keep", "x");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"),
                 CheckOutcome::EmulatorNotRun);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
        QVERIFY(!QFile::exists(folder.recordPath()));
    }

    void withoutRecordPathNoRecordIsKept()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "viejo.zip");
        const ArchiveChecker checker(folder.path(), QString());
        QCOMPARE(checker.CheckArchiveAsGame("viejo.zip", "pacman.zip"), CheckOutcome::Good);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
    }

    void searchStoppingOutcomes()
    {
        QVERIFY(!stopsSearch(CheckOutcome::Good));
        QVERIFY(!stopsSearch(CheckOutcome::NotGood));
        QVERIFY(!stopsSearch(CheckOutcome::NameTaken));
        QVERIFY(!stopsSearch(CheckOutcome::NotPlainName));
        QVERIFY(stopsSearch(CheckOutcome::ArchiveMissing));
        QVERIFY(stopsSearch(CheckOutcome::RenameRefused));
        QVERIFY(stopsSearch(CheckOutcome::RecordFailed));
        QVERIFY(stopsSearch(CheckOutcome::EmulatorNotRun));
        QVERIFY(stopsSearch(CheckOutcome::NotRestored));
    }
};

QTEST_GUILESS_MAIN(ArchiveCheckTest)
#include "tst_archivecheck.moc"
