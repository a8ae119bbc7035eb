// The record of an archive a check has renamed, and the start-up that puts such an archive
// back when the program was ended in the middle of a check.

#include "ManagerFolder.h"
#include "app/frmCargador.h"
#include "romman/ArchiveCheck.h"
#include "romman/PendingRename.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

Q_DECLARE_METATYPE(zefrin::RecoveryOutcome)

namespace {

// What a program ended during a check leaves: the archive under the game's name and the
// record written before the rename.
void leaveInterruptedCheck(ManagerFolder& folder, const QString& archive, const QString& temporary)
{
    folder.goodArchive("pacman", temporary);
    QVERIFY(writePendingRename(folder.recordPath(), {folder.path(), archive, temporary}));
}

} // namespace

class PendingRenameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void recordKeepsAnyName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "viejo.zip";
        QTest::newRow("signs") << "a & b; $(c) `d` 'e' \"f\" 100%.zip";
        QTest::newRow("line end") << "dos\nlíneas\r.zip";
        QTest::newRow("non-ASCII") << "pañuelo ñandú 日本.zip";
        QTest::newRow("braces") << "{\"archive\": \"x\"}.zip";
    }

    void recordKeepsAnyName()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString record = dir.filePath("sub/folder/record.json");
        const PendingRename rename{"/emu/MAME \"0.70\"", name, "pacman.zip"};
        QVERIFY(writePendingRename(record, rename));
        const std::optional<PendingRename> read = readPendingRename(record);
        QVERIFY(read);
        QCOMPARE(read->emulatorFolder, rename.emulatorFolder);
        QCOMPARE(read->archive, rename.archive);
        QCOMPARE(read->temporary, rename.temporary);
        QVERIFY(clearPendingRename(record));
        QVERIFY(!QFile::exists(record));
        QVERIFY(!readPendingRename(record));
        QVERIFY(clearPendingRename(record));
    }

    void brokenRecordReadsAsNone()
    {
        QTemporaryDir dir;
        const QString record = dir.filePath("record.json");
        for (const QByteArray& bytes :
             {QByteArray("{\"archive\": \"a.zip\", \"tempo"), QByteArray("{}"),
              QByteArray("not json"), QByteArray("{\"archive\": \"a.zip\"}")}) {
            QFile file(record);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            QVERIFY2(!readPendingRename(record), bytes.constData());
        }
    }

    void defaultRecordIsOnePerFolderOutsideIt()
    {
        const QString a = defaultPendingRenameRecord("/juegos/MAME");
        const QString b = defaultPendingRenameRecord("/juegos/MAME 0.70");
        QVERIFY(a != b);
        QCOMPARE(defaultPendingRenameRecord("/juegos/MAME/"), a);
        QCOMPARE(frmCargador::pendingRenameRecordFor("/juegos/MAME"), a);
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QVERIFY2(a.startsWith(data + "/"), qPrintable(a));
        QVERIFY(!a.startsWith("/juegos/"));
    }

    void recovery_data()
    {
        QTest::addColumn<bool>("ownName");   // a file of the archive's own name is in roms
        QTest::addColumn<bool>("otherName"); // a file of the temporary name is in roms
        QTest::addColumn<bool>("locked");    // roms cannot be changed
        QTest::addColumn<RecoveryOutcome>("outcome");
        QTest::addColumn<QStringList>("listing");
        QTest::addColumn<bool>("recordKept");
        QTest::newRow("interrupted check") << false << true << false << RecoveryOutcome::Restored
                                           << QStringList{"mi viejo.zip"} << false;
        QTest::newRow("ended after the rename back")
            << true << false << false << RecoveryOutcome::AlreadyInPlace
            << QStringList{"mi viejo.zip"} << false;
        QTest::newRow("both names present") << true << true << false << RecoveryOutcome::BothPresent
                                            << QStringList{"mi viejo.zip", "pacman.zip"} << false;
        QTest::newRow("archive deleted since")
            << false << false << false << RecoveryOutcome::Missing << QStringList{} << false;
        QTest::newRow("roms read-only") << false << true << true << RecoveryOutcome::RestoreFailed
                                        << QStringList{"pacman.zip"} << true;
    }

    void recovery()
    {
        QFETCH(bool, ownName);
        QFETCH(bool, otherName);
        QFETCH(bool, locked);
        QFETCH(RecoveryOutcome, outcome);
        QFETCH(QStringList, listing);
        QFETCH(bool, recordKept);
        ManagerFolder folder;
        QVERIFY(
            writePendingRename(folder.recordPath(), {folder.path(), "mi viejo.zip", "pacman.zip"}));
        if (ownName)
            folder.goodArchive("dkong", "mi viejo.zip");
        if (otherName)
            folder.goodArchive("pacman", "pacman.zip");
        const QByteArray bytes = folder.romBytes("pacman.zip");
        std::optional<Immutable> lock;
        if (locked) {
            lock.emplace(folder.folder.filePath("roms"));
            if (!lock->applied())
                QSKIP("chattr +i is not available here");
        }

        const Recovery recovery = recoverPendingRename(folder.recordPath(), folder.path());
        QCOMPARE(recovery.outcome, outcome);
        QCOMPARE(recovery.rename.archive, QStringLiteral("mi viejo.zip"));
        QCOMPARE(recovery.rename.temporary, QStringLiteral("pacman.zip"));
        QCOMPARE(folder.romsListing(), listing);
        QCOMPARE(QFile::exists(folder.recordPath()), recordKept);
        if (outcome == RecoveryOutcome::Restored)
            QCOMPARE(folder.romBytes("mi viejo.zip"), bytes);
    }

    void recoveryLeavesOtherFoldersAlone()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "pacman.zip");
        QVERIFY(
            writePendingRename(folder.recordPath(), {"/otra/carpeta", "viejo.zip", "pacman.zip"}));
        QCOMPARE(recoverPendingRename(folder.recordPath(), folder.path()).outcome,
                 RecoveryOutcome::NothingPending);
        QCOMPARE(folder.romsListing(), QStringList{"pacman.zip"});
        QVERIFY(QFile::exists(folder.recordPath()));
    }

    void nothingPending()
    {
        ManagerFolder folder;
        QCOMPARE(recoverPendingRename(folder.recordPath(), folder.path()).outcome,
                 RecoveryOutcome::NothingPending);
        QCOMPARE(recoverPendingRename(QString(), folder.path()).outcome,
                 RecoveryOutcome::NothingPending);
    }

    // The program ended during a check; the next start puts the archive back and says so.
    void startUpPutsTheArchiveBack()
    {
        ManagerFolder folder;
        folder.folder.setVersion("0.70");
        leaveInterruptedCheck(folder, "mi viejo.zip", "pacman.zip");
        const QByteArray bytes = folder.romBytes("pacman.zip");
        Program program(folder.path());
        program.state.pendingRenameRecord = folder.recordPath();
        frmCargador window(program.context);
        QVERIFY(window.Form_Load());

        QCOMPARE(folder.romsListing(), QStringList{"mi viejo.zip"});
        QCOMPARE(folder.romBytes("mi viejo.zip"), bytes);
        QVERIFY(!QFile::exists(folder.recordPath()));
        QCOMPARE(program.dialogs.shown.size(), 1);
        const ShownMessage& shown = program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("Archivo recuperado"));
        QCOMPARE(shown.text,
                 QStringLiteral("Zefrin! se cerró mientras comprobaba el archivo mi viejo.zip, "
                                "que tenía temporalmente el nombre pacman.zip en la carpeta "
                                "roms. Se le ha devuelto su nombre."));
    }

    void startUpTellsWhenItCannot()
    {
        ManagerFolder folder;
        folder.folder.setVersion("0.70");
        leaveInterruptedCheck(folder, "mi viejo.zip", "pacman.zip");
        const Immutable lock(folder.folder.filePath("roms"));
        if (!lock.applied())
            QSKIP("chattr +i is not available here");
        Program program(folder.path());
        program.state.pendingRenameRecord = folder.recordPath();
        frmCargador window(program.context);
        QVERIFY(window.Form_Load());
        QCOMPARE(folder.romsListing(), QStringList{"pacman.zip"});
        QVERIFY(QFile::exists(folder.recordPath()));
        QVERIFY(!program.dialogs.shown.isEmpty());
        QCOMPARE(program.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QVERIFY(program.dialogs.shown.first().text.contains("pacman.zip"));
    }

    void startUpWithoutRecordSaysNothing()
    {
        ManagerFolder folder;
        folder.folder.setVersion("0.70");
        folder.goodArchive("pacman", "pacman.zip");
        Program program(folder.path());
        program.state.pendingRenameRecord = folder.recordPath();
        frmCargador window(program.context);
        QVERIFY(window.Form_Load());
        QVERIFY(program.dialogs.shown.isEmpty());
        QCOMPARE(folder.romsListing(), QStringList{"pacman.zip"});
    }

    // A second copy must not touch an archive the first one is checking.
    void secondCopyLeavesTheRecordAlone()
    {
        ManagerFolder folder;
        folder.folder.setVersion("0.70");
        leaveInterruptedCheck(folder, "mi viejo.zip", "pacman.zip");
        Program program(folder.path());
        program.state.pendingRenameRecord = folder.recordPath();
        InstanceLock first(program.lockFolder.filePath("zefrin.lock"));
        QVERIFY(first.tryAcquire());
        frmCargador window(program.context);
        QVERIFY(!window.Form_Load());
        QCOMPARE(folder.romsListing(), QStringList{"pacman.zip"});
        QVERIFY(QFile::exists(folder.recordPath()));
    }

    // The record as a real check leaves it when it never returns from the emulator.
    void recordOfARealCheckIsRecovered()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "mi viejo.zip");
        // The emulator keeps a copy of the record and the listing, as they were mid-check.
        folder.replaceEmulator("#!/bin/sh\ncp '" + folder.recordPath().toUtf8() +
                               "' ../crash.json\necho \"romset $1 is good\"\n");
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(checker.CheckArchiveAsGame("mi viejo.zip", "pacman.zip"), CheckOutcome::Good);
        // Replay the moment of the crash: the archive under the game's name, the record there.
        QVERIFY(QFile::rename(folder.romPath("mi viejo.zip"), folder.romPath("pacman.zip")));
        QVERIFY(QFile::rename(folder.folder.filePath("../crash.json"), folder.recordPath()));
        QCOMPARE(recoverPendingRename(folder.recordPath(), folder.path()).outcome,
                 RecoveryOutcome::Restored);
        QCOMPARE(folder.romsListing(), QStringList{"mi viejo.zip"});
    }
};

QTEST_MAIN(PendingRenameTest)
#include "tst_pendingrename.moc"
