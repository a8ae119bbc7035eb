// The launch's pieces that need no emulator: which rows are refused, where a game's settings
// file is, how the emulator's output becomes the log, and when the log fits a message box.

#include "launch/GameLaunch.h"
#include "launch/LaunchMessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zefrin;

class LaunchPiecesTest : public QObject {
    Q_OBJECT

private slots:
    void unrecognisedRows_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("refused");
        QTest::newRow("unknown archive") << "ROM desconocida(pacman.zip)" << true;
        QTest::newRow("prefix alone") << "ROM desconocida" << true;
        QTest::newRow("words later") << "Mi ROM desconocida(favorita)" << false;
        QTest::newRow("other case") << "rom desconocida(x.zip)" << false;
        QTest::newRow("cut short") << "ROM desconocid" << false;
        QTest::newRow("title") << "Galaxian" << false;
    }

    void unrecognisedRows()
    {
        QFETCH(QString, title);
        QFETCH(bool, refused);
        QCOMPARE(isUnrecognisedTitle(title), refused);
    }

    void gameSettingsFile_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("stem");
        QTest::newRow("none") << QStringList{} << "pacman"
                              << "pacman";
        QTest::newRow("same name") << QStringList{"pacman.cfg"} << "pacman"
                                   << "pacman";
        QTest::newRow("archive in capitals") << QStringList{"zumbador.cfg"} << "ZUMBADOR"
                                             << "zumbador";
        QTest::newRow("only a backup") << QStringList{"Zumbador.bak"} << "zumbador"
                                       << "Zumbador";
        QTest::newRow("exact name first") << QStringList{"Pacman.cfg", "pacman.cfg"} << "pacman"
                                          << "pacman";
        QTest::newRow("wildcards are letters") << QStringList{"ab.cfg"} << "a?"
                                               << "a?";
        QTest::newRow("other game") << QStringList{"pacmanj.cfg"} << "pacman"
                                    << "pacman";
    }

    void gameSettingsFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, game);
        QFETCH(QString, stem);
        QTemporaryDir cfg;
        for (const QString& name : files) {
            QFile file(cfg.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(gameSettingsStem(cfg.path(), game), stem);
    }

    void logTextEndsEveryLineWithCrLf_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("log");
        QTest::newRow("nothing") << QByteArray() << "";
        QTest::newRow("LF") << QByteArray("a\nb\n") << "a\r\nb\r\n";
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n";
        QTest::newRow("lone CR") << QByteArray("a\rb") << "a\r\nb\r\n";
        QTest::newRow("no last end") << QByteArray("a\nb") << "a\r\nb\r\n";
        QTest::newRow("blank lines") << QByteArray("\n\nx\n") << "\r\n\r\nx\r\n";
        QTest::newRow("accents") << QByteArray("Dragón\n") << "Dragón\r\n";
        QTest::newRow("not UTF-8") << QByteArray("Se\xF1"
                                                 "al\n")
                                   << "Se\uFFFDal\r\n";
    }

    void logTextEndsEveryLineWithCrLf()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, log);
        QCOMPARE(launchLogText(output), log);
    }

    void messageBoxFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        // Three rows of ten characters.
        QTest::newRow("empty") << "" << true;
        QTest::newRow("three lines") << "a\r\nb\r\nc" << true;
        QTest::newRow("three ended lines") << "a\r\nb\r\nc\r\n" << true;
        QTest::newRow("four lines") << "a\r\nb\r\nc\r\nd" << false;
        QTest::newRow("blank lines count") << "\r\n\r\n\r\n\r\n" << false;
        QTest::newRow("wraps to three") << QString(30, QLatin1Char('x')) << true;
        QTest::newRow("wraps to four") << QString(31, QLatin1Char('x')) << false;
        QTest::newRow("LF ends") << "a\nb\nc\nd" << false;
    }

    void messageBoxFit()
    {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QCOMPARE(fitsInMessageBox(text, 3, 10), fits);
    }
};

QTEST_GUILESS_MAIN(LaunchPiecesTest)
#include "tst_launchpieces.moc"
