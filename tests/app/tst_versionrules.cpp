// Reading the emulator's version and ordering versions.

#include "engine/version/VersionRules.h"
#include "support/BytesRead.h"
#include "support/EmulatorFolder.h"

#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class VersionRulesTest : public QObject {
    Q_OBJECT

private slots:
    void versionsAscend_data()
    {
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("thresholds")
            << QStringList{"0.37 BETA 14", "0.37 BETA 16", "0.52",  "0.53", "0.59",
                           "0.59b",        "0.61",         "0.100", "0.251"};
        QTest::newRow("short digit runs") << QStringList{"0.6", "0.59"};
        QTest::newRow("prefix first") << QStringList{"0.59", "0.59u1"};
    }

    void versionsAscend()
    {
        QFETCH(QStringList, ascending);
        for (qsizetype i = 0; i + 1 < ascending.size(); ++i) {
            const QString& lower = ascending.at(i);
            const QString& higher = ascending.at(i + 1);
            QVERIFY2(compareVersions(lower, higher) < 0, qPrintable(lower + " < " + higher));
            QVERIFY2(compareVersions(higher, lower) > 0, qPrintable(higher + " > " + lower));
        }
    }

    // Blanks and leading zeros do not count. Below 0.53 the emulator is told to play without
    // sound; the unknown version lies below every threshold.
    void thresholds()
    {
        QCOMPARE(compareVersions("   0.61", "0.061"), 0);
        QVERIFY(!versionAtOrBelow(InstalledVersion("   0.61"), noControllerThreshold()));
        QVERIFY(!launchWithoutSound(InstalledVersion("0.53")) &&
                launchWithoutSound(InstalledVersion()));
    }

    void readVersion_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("version");
        QTest::newRow("blank lines skipped") << QByteArray("\r\n   \r\n 0.61 \r\nx") << " 0.61 ";
        QTest::newRow("only blanks") << QByteArray("  \r\n\r\n   ") << unknownVersionText();
        // A first line longer than a version is not read on.
        QTest::newRow("huge first line") << QByteArray(8 << 20, '7') + "\r\n0.61\r\n"
                                         << unknownVersionText();
    }

    void readVersion()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, version);
        EmulatorFolder dir;
        dir.writeFile("whatsnew.txt", bytes);
        const qint64 before = bytesReadSoFar();
        QCOMPARE(ReadEmulatorVersion(dir.path()).shown(), version);
        QVERIFY2(bytesReadSoFar() - before < (2 << 20), "read on past the version's length");
    }
};

QTEST_MAIN(VersionRulesTest)
#include "tst_versionrules.moc"
