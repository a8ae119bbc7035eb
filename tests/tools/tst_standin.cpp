// The stand-in emulator as the front end meets it: a program in the emulator folder that
// answers command lines in the emulator's formats and leaves files behind as the emulator does;
// and the zip, checksum and collection code behind it.

#include "fixture/Collection.h"
#include "fixture/Crc32.h"
#include "fixture/Demo.h"
#include "fixture/Zip.h"
#include "support/EmulatorFolder.h"

#include <QProcess>
#include <QTest>

namespace fx = zefrin::fixture;
using zefrin::test::EmulatorFolder;

namespace {

const fx::Game galaga =
    fx::makeGame("galaga", "Galaga Espacial", {{"gg1.bin", 300}, {"gg2.bin", 200}});
const fx::Game bolido = fx::makeGame("b", "bólido \"turbo\"", {{"b.rom", 64}});
const fx::Game tenLetters = fx::makeGame("tenletters", "Diez Letras", {{"t.1", 16}});

QByteArray zip(const std::vector<fx::ZipEntry>& entries)
{
    return QByteArray::fromStdString(fx::zipBytes(entries).value());
}

const QByteArray goodGalaga =
    zip({{"gg1.bin", galaga.files[0].content}, {"gg2.bin", galaga.files[1].content}});
const QByteArray gamesData =
    QByteArray::fromStdString(fx::dataFileText({{galaga, bolido, tenLetters}, {}}));

// An emulator folder with the stand-in as `mame`, the three games and the directives (data
// file lines) in its standin.dat, and galaga's good archive, named in capitals, in roms.
struct Standin : EmulatorFolder {
    explicit Standin(const QByteArray& directives = {})
    {
        installEmulator();
        writeFile("standin.dat", gamesData + directives);
        writeFile("roms/GALAGA.ZIP", goodGalaga);
    }
};

// The stand-in run as the front end runs it, in the emulator folder.
struct Run {
    Run(const EmulatorFolder& folder, const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(folder.filePath("mame"), arguments);
        process.waitForFinished(60000);
        out = process.readAllStandardOutput();
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QByteArray out;
    int exitCode; // -1: ended by a signal
};

} // namespace

class StandinTest : public QObject {
    Q_OBJECT

private slots:
    void crc32MatchesKnownVectors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("crc");
        QTest::newRow("empty") << QByteArray() << 0x00000000U;
        QTest::newRow("check value") << QByteArray("123456789") << 0xCBF43926U;
        QTest::newRow("high bytes") << QByteArray("\xff\x00\x80", 3) << 0xAC616EDFU;
    }

    void crc32MatchesKnownVectors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, crc);
        QCOMPARE(fx::crc32(bytes.toStdString()), crc);
    }

    void damagedArchivesAreNeverReadOutOfBounds()
    {
        // Every cut leaves no zip; a flipped byte may go unnoticed in stored data, as in the
        // real format, but the sanitizers see every access.
        const std::string whole = goodGalaga.toStdString();
        int stillZips = 0;
        for (std::size_t at = 0; at < whole.size(); ++at) {
            QVERIFY(!fx::parseZipDirectory(std::string_view(whole).substr(0, at)));
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ 0xFF);
            stillZips += fx::parseZipDirectory(damaged) ? 1 : 0;
        }
        QVERIFY(stillZips > 0 && stillZips < static_cast<int>(whole.size()));
        // An end record announcing a directory of 46 bytes that the file does not have.
        QVERIFY(!fx::parseZipDirectory(
            std::string("PK\x05\x06\0\0\0\0\1\0\1\0\x2e\0\0\0\0\0\0\0\0\0", 22)));
    }

    void listFullHasFixedColumns()
    {
        const QByteArray lines = "Name:     Description:\n"
                                 "galaga    \"Galaga Espacial\"\n"
                                 "b         \"b\xc3\xb3lido \"turbo\"\"\n"
                                 "tenletters\"Diez Letras\"\n";
        QCOMPARE(Run(Standin(), {"-listfull"}).out, lines);
        QCOMPARE(Run(Standin("eol\tcrlf\n"), {"-listfull"}).out,
                 QByteArray(lines).replace("\n", "\r\n"));
    }

    void answersInTheEmulatorsFormats_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QByteArray>("galagaArchive"); // "<none>": none
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // or its start, without a last line end
        const std::string gg1 = galaga.files[0].content;
        const std::string gg2 = galaga.files[1].content;
        const QByteArray& good = goodGalaga;
        // -verifysets judges by the central directory: names of files do not matter, CRCs do.
        QTest::newRow("good") << "galaga -verifysets" << good << 0
                              << "romset galaga is good\n1 romsets found, 1 were OK.\n";
        QTest::newRow("set in capitals")
            << "GALAGA -verifysets" << good << 0 << "romset galaga is good";
        QTest::newRow("file renamed")
            << "galaga -verifysets" << zip({{"x.bin", gg1}, {"gg2.bin", gg2}}) << 0
            << "romset galaga is good";
        QTest::newRow("wrong CRC")
            << "galaga -verifysets" << zip({{"gg1.bin", std::string(300, 'x')}, {"gg2.bin", gg2}})
            << 2 << "romset galaga is bad";
        QTest::newRow("file missing")
            << "galaga -verifysets" << zip({{"gg1.bin", gg1}}) << 2 << "romset galaga is bad";
        QTest::newRow("not a zip")
            << "galaga -verifysets" << QByteArray("no soy un zip\n") << 2 << "romset galaga is bad";
        QTest::newRow("no archive") << "galaga -verifysets" << QByteArray("<none>") << 2
                                    << "romset galaga not found\n0 romsets found, 0 were OK.\n";
        QTest::newRow("unknown set")
            << "xyz -verifysets" << good << 1 << "Game \"xyz\" not supported\n";
        QTest::newRow("listroms")
            << "galaga -listroms" << good << 0
            << QStringLiteral("This is the list of the ROMs required for driver \"galaga\".\n"
                              "Name              Size Checksum\n"
                              "gg1.bin            300 CRC(%1)\n"
                              "gg2.bin            200 CRC(%2)\n")
                   .arg(fx::crc32(gg1), 8, 16, QLatin1Char('0'))
                   .arg(fx::crc32(gg2), 8, 16, QLatin1Char('0'));
        QTest::newRow("romident, backslash path")
            << "roms\\mixed.zip -romident" << good << 7
            << "renamed.bin  = gg2.bin      Galaga Espacial [galaga]\n"
               "x.bin        NO MATCH\n"
               "Out of 2 files, 1 matched, 1 did not match.\n";
        QTest::newRow("isknown, path")
            << "roms/mixed.zip -isknown" << good << 7
            << "renamed.bin  KNOWN\nx.bin        UNKNOWN\nmixed.zip    PARTKNOWN\n";
        QTest::newRow("romident, not a zip")
            << "junk -romident" << good << 8 << "junk: not a valid zip archive\n";
        QTest::newRow("isknown, no file")
            << "none -isknown" << good << 8 << "none: file not found\n";
        QTest::newRow("run, no archive") << "tenletters" << good << 2
                                         << "t.1          NOT FOUND\nERROR: required files are "
                                            "missing, the game cannot be run.\n";
        QTest::newRow("unknown option") << "-foo" << good << 1 << "Error: unknown option: -foo\n";
    }

    void answersInTheEmulatorsFormats()
    {
        QFETCH(QString, commandLine);
        QFETCH(QByteArray, galagaArchive);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        Standin folder;
        folder.writeFile("roms/GALAGA.ZIP", galagaArchive);
        if (galagaArchive == "<none>")
            QVERIFY(QFile::remove(folder.filePath("roms/GALAGA.ZIP")));
        folder.writeFile("roms/mixed.zip",
                         zip({{"renamed.bin", galaga.files[1].content}, {"x.bin", "?"}}));
        folder.writeFile("roms/junk.zip", "junk");
        const Run r(folder, commandLine.split(' '));
        const QByteArray expected = output.toUtf8();
        QCOMPARE(expected.endsWith('\n') ? r.out : r.out.left(expected.size()), expected);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(!folder.exists("cfg"));
    }

    void createConfigWritesMameIni()
    {
        Standin folder;
        folder.writeFile("mame.ini", "old");
        QCOMPARE(Run(folder, {"-cc"}).exitCode, 0);
        const QByteArray ini = folder.readFile("mame.ini");
        QVERIFY(ini.contains("\r\n# ctrlr                 <NULL> (Not Set)\r\n"));
        QVERIFY(ini.contains("\r\nrompath                 roms\r\n"));
        QCOMPARE(ini.count('\n'), ini.count("\r\n"));
    }

    void gameRunFollowsDirectives_data()
    {
        QTest::addColumn<QByteArray>("directive");
        QTest::addColumn<int>("lineCount"); // -1: not checked
        QTest::addColumn<int>("exitCode");  // -1: dies from a signal
        QTest::addColumn<bool>("writesCfg");
        QTest::newRow("lines") << QByteArray("run-lines\t7\tGALAGA\n") << 7 << 0 << true;
        QTest::newRow("silent") << QByteArray("run-silent\t1\tGALAGA\n") << 0 << 0 << true;
        QTest::newRow("exit code") << QByteArray("run-exit\t3\tGALAGA\n") << 3 << 3 << true;
        QTest::newRow("no cfg") << QByteArray("run-no-cfg\t1\tGALAGA\n") << 3 << 0 << false;
        QTest::newRow("abort") << QByteArray("run-crash\tabort\tGALAGA\n") << 3 << -1 << false;
        QTest::newRow("segv") << QByteArray("run-crash\tsegv\tGALAGA\n") << 3 << -1 << false;
        QTest::newRow("megabytes") << QByteArray("run-megabytes\t2\tGALAGA\n") << -1 << 0 << true;
        QTest::newRow("non-UTF-8") << QByteArray("run-non-utf8\t1\tGALAGA\n") << 4 << 0 << true;
    }

    void gameRunFollowsDirectives()
    {
        QFETCH(QByteArray, directive);
        QFETCH(int, lineCount);
        QFETCH(int, exitCode);
        QFETCH(bool, writesCfg);
        Standin folder(directive);
        QVERIFY(fx::writeGoodArchive(bolido, folder.filePath("roms/b.zip").toStdString()));
        const Run r(folder, {"galaga"});
        QCOMPARE(r.exitCode, exitCode);
        if (lineCount >= 0)
            QCOMPARE(r.out.count('\n'), lineCount);
        QCOMPARE(folder.exists("cfg/galaga.cfg"), writesCfg);
        // The directive names galaga only; b runs as usual.
        const Run other(folder, {"b"});
        QCOMPARE(other.exitCode, 0);
        QCOMPARE(other.out.count('\n'), 3);
    }

    // The emulator reads its settings when it starts and writes them back when it ends, over
    // whatever the files became meanwhile: defaults where there was no file.
    void gameRunWritesBackWhatItReadAtStart()
    {
        Standin folder("run-ms\t1500\tGALAGA\n");
        folder.writeFile("cfg/galaga.cfg", "<at start/>");
        QProcess game;
        game.setWorkingDirectory(folder.path());
        game.start(folder.filePath("mame"), {"galaga"});
        QVERIFY(game.waitForStarted());
        QTest::qWait(700);
        folder.writeFile("cfg/galaga.cfg", "<meanwhile/>");
        folder.writeFile("cfg/default.cfg", "<meanwhile/>");
        QVERIFY(game.waitForFinished(30000));
        QCOMPARE(folder.readFile("cfg/galaga.cfg"), QByteArray("<at start/>"));
        QVERIFY(folder.readFile("cfg/default.cfg").contains("<system name=\"default\">"));
    }

    void everyCallIsRecorded()
    {
        const Standin folder;
        for (const QStringList& arguments : QList<QStringList>{
                 {"-listfull"}, {"con espacio", "-isknown"}, {"tab\there", "-foo"}, {"it's", "$x"}})
            Run(folder, arguments);
        QCOMPARE(folder.readFile("standin-calls.txt"),
                 "-listfull\ncon espacio\t-isknown\ntab here\t-foo\nit's\t$x\n");
    }

    void demoFolderShowsEveryKindOfArchive()
    {
        EmulatorFolder folder;
        folder.installEmulator();
        std::string error;
        QVERIFY(fx::writeDemo(folder.path().toStdString(), error));
        QCOMPARE(Run(folder, {"-listfull"}).out.count('\n'), 14);
        QVERIFY(Run(folder, {"-verifysets"}).out.endsWith("10 romsets found, 9 were OK.\n"));
        QVERIFY(Run(folder, {"misterio", "-isknown"}).out.endsWith("misterio.zip UNKNOWN\n"));
    }
};

QTEST_GUILESS_MAIN(StandinTest)
#include "tst_standin.moc"
