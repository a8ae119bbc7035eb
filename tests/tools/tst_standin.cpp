// The stand-in emulator as the front end meets it: a program in the emulator folder that
// answers command lines in the emulator's formats and leaves files behind as the emulator does;
// and the zip, checksum and collection code behind it. Its directives for game runs, its call
// log, mame.ini and the demo folder are met by the suites that use them.

#include "fixture/Collection.h"
#include "fixture/Crc32.h"
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
        err = process.readAllStandardError();
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QByteArray out;
    QByteArray err;
    int exitCode; // -1: ended by a signal
};

// A clone holds files of its own and the parent's last file.
fx::Game cloneOf(const fx::Game& parent, fx::Game clone)
{
    clone.files.push_back(parent.files.back());
    clone.parent = parent.shortName;
    return clone;
}

const fx::Game galagao =
    cloneOf(galaga, fx::makeGame("galagao", "Galaga Espacial (otra)", {{"go1.bin", 100}}));
// A short name longer than today's 17-column name field.
const fx::Game segunda = cloneOf(
    tenLetters, fx::makeGame("diezletras_segunda", "Diez Letras (segunda)", {{"d2.bin", 32}}));
const fx::Game pong = fx::makeGame("pong", "Pong [TTL]", {});

QByteArray crcOf(const std::string& bytes)
{
    return QByteArray::number(fx::crc32(bytes), 16).rightJustified(8, '0');
}

// The stand-in speaking today's dialect with three more games: galagao (good: its own file in
// its archive, the shared one in galaga's), diezletras_segunda (bad: its file 2 bytes short,
// the shared one missing) and pong (no ROM files). Today's emulator sees only archives named
// as the set in lower case: not TENLETTERS.ZIP. b's archive holds b.rom with other bytes.
// Folder mame.ini files set other paths.
struct TodayStandin : Standin {
    explicit TodayStandin(const QByteArray& directives)
        : Standin(QByteArray::fromStdString(fx::dataFileText({{galagao, segunda, pong}, {}})) +
                  "dialect\ttoday\n" + directives)
    {
        writeFile("roms/galaga.zip", goodGalaga);
        writeFile("roms/galagao.zip", zip({{"go1.bin", galagao.files[0].content}}));
        writeFile("roms/b.zip", zip({{"b.rom", std::string(64, 'x')}}));
        writeFile("roms/TENLETTERS.ZIP", zip({{"t.1", tenLetters.files[0].content}}));
        writeFile("roms/diezletras_segunda.zip", zip({{"d2.bin", std::string(30, 'd')}}));
        writeFile("ctrlr/Zefrin.cfg",
                  "<mameconfig version=\"10\">\n<system name=\"default\" />\n</mameconfig>\n");
        // Read only from a folder that -inipath names.
        writeFile("mame.ini", "rompath                   nada\n");
        writeFile("ini/mame.ini", "\xEF\xBB\xBF# CORE SEARCH PATH OPTIONS\n"
                                  "rompath                   nada;roms\n"
                                  "cfg_directory             \"ini cfg\"\n");
    }
};

} // namespace

class StandinTest : public QObject {
    Q_OBJECT

private slots:
    void crc32MatchesKnownVectors()
    {
        QCOMPARE(fx::crc32(""), 0U);
        QCOMPARE(fx::crc32("123456789"), 0xCBF43926U);
        QCOMPARE(fx::crc32(std::string("\xff\x00\x80", 3)), 0xAC616EDFU);
    }

    void answersInTheEmulatorsFormats_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QByteArray>("galagaArchive"); // "<none>": none
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // or its start, without a last line end
        const std::string gg1 = galaga.files[0].content;
        const std::string gg2 = galaga.files[1].content;
        const auto row = [](const char* tag, const char* commandLine, int exitCode,
                            const QString& output, const QByteArray& galagaArchive = goodGalaga) {
            QTest::newRow(tag) << QString(commandLine) << galagaArchive << exitCode << output;
        };
        // -verifysets judges by the central directory: names of files do not matter, CRCs do.
        row("good, a file renamed", "galaga -verifysets", 0,
            "romset galaga is good\n1 romsets found, 1 were OK.\n",
            zip({{"x.bin", gg1}, {"gg2.bin", gg2}}));
        row("wrong CRC", "galaga -verifysets", 2, "romset galaga is bad",
            zip({{"gg1.bin", std::string(300, 'x')}, {"gg2.bin", gg2}}));
        row("no archive", "galaga -verifysets", 2,
            "romset galaga not found\n0 romsets found, 0 were OK.\n", "<none>");
        row("unknown set", "xyz -verifysets", 1, "Game \"xyz\" not supported\n");
        row("listroms", "galaga -listroms", 0,
            QStringLiteral("This is the list of the ROMs required for driver \"galaga\".\n"
                           "Name              Size Checksum\n"
                           "gg1.bin            300 CRC(%1)\n"
                           "gg2.bin            200 CRC(%2)\n")
                .arg(fx::crc32(gg1), 8, 16, QLatin1Char('0'))
                .arg(fx::crc32(gg2), 8, 16, QLatin1Char('0')));
        row("romident, backslash path", "roms\\mixed.zip -romident", 7,
            "renamed.bin  = gg2.bin      Galaga Espacial [galaga]\n"
            "x.bin        NO MATCH\n"
            "Out of 2 files, 1 matched, 1 did not match.\n");
        row("isknown, path", "roms/mixed.zip -isknown", 7,
            "renamed.bin  KNOWN\nx.bin        UNKNOWN\nmixed.zip    PARTKNOWN\n");
        row("romident, not a zip", "junk -romident", 8, "junk: not a valid zip archive\n");
        row("isknown, no file", "none -isknown", 8, "none: file not found\n");
        row("run, no archive", "tenletters", 2,
            "t.1          NOT FOUND\nERROR: required files are missing, the game cannot be run.\n");
        // Names fill ten columns; CR LF line ends (directive eol): tst_catalogue.
        row("listfull", "-listfull", 0,
            "Name:     Description:\ngalaga    \"Galaga Espacial\"\n"
            "b         \"bólido \"turbo\"\"\ntenletters\"Diez Letras\"\n");
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

    void gameRunWritesBackTheSettingsItRead()
    {
        // The emulator reads its cfg files when the game starts and writes what it holds on
        // exit: a change made during the run is lost, a file made during the run replaced.
        Standin folder("run-ms\t1000\n");
        folder.writeFile("cfg/galaga.cfg", "read at start");
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(folder.filePath("mame"), {"galaga"});
        QVERIFY(process.waitForReadyRead(10000)); // running: the files have been read
        folder.writeFile("cfg/galaga.cfg", "changed");
        folder.writeFile("cfg/default.cfg", "made");
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(folder.readFile("cfg/galaga.cfg"), QByteArray("read at start"));
        QVERIFY(folder.readFile("cfg/default.cfg").contains("<system name=\"default\">"));
    }

    void answersInTodaysFormats_data()
    {
        // As 0.251 prints them, but for the SHA-1 it adds after each CRC: standin.dat has none.
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QByteArray>("directives");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QString>("cfgFile"); // the file a game run writes; empty: none
        const QByteArray bCrc = crcOf(bolido.files[0].content);
        const QByteArray xCrc = crcOf(std::string(64, 'x'));
        // A run ends with the key the coin takes: no settings of the game's, default.cfg or
        // controller file map it.
        const QByteArray galagaRun = "Loading \"Galaga Espacial\" (galaga)\n"
                                     "galaga: running, line 2 of 3\ngalaga: running, line 3 of 3\n"
                                     "COIN1 = KEYCODE_5\n";
        const QByteArray bWrong = "b.rom WRONG CHECKSUMS:\n    EXPECTED: CRC(" + bCrc +
                                  ")\n       FOUND: CRC(" + xCrc + ")\n";
        const auto row = [](const char* tag, const char* commandLine, int exitCode,
                            const QByteArray& out, const QByteArray& err = {},
                            const QString& cfgFile = {}, const QByteArray& directives = {}) {
            QTest::newRow(tag) << QString(commandLine) << directives << exitCode << out << err
                               << cfgFile;
        };
        row("version", "-version", 0, "0.251 (unknown)");
        row("listfull", "-listfull", 0,
            "Name:             Description:\n"
            "galaga            \"Galaga Espacial\"\n"
            "b                 \"b\xc3\xb3lido \"turbo\"\"\n"
            "tenletters        \"Diez Letras\"\n"
            "galagao           \"Galaga Espacial (otra)\"\n"
            "diezletras_segunda \"Diez Letras (segunda)\"\n"
            "pong              \"Pong [TTL]\"\n");
        row("listcrc", "-listcrc galaga*", 0,
            crcOf(galaga.files[0].content) +
                " gg1.bin                         \tgalaga          \tGalaga Espacial\n" +
                crcOf(galaga.files[1].content) +
                " gg2.bin                         \tgalaga          \tGalaga Espacial\n" +
                crcOf(galagao.files[0].content) +
                " go1.bin                         \tgalagao         \tGalaga Espacial (otra)\n" +
                crcOf(galagao.files[1].content) +
                " gg2.bin                         \tgalagao         \tGalaga Espacial (otra)\n");
        row("verifysets is gone", "galaga -verifysets", 6, {},
            "Error: unknown option: -verifysets\n");
        row("good", "-verifyroms GALAGA", 0,
            "romset galaga is good\n1 romsets found, 1 were OK.\n");
        row("clone, shared file in the parent's archive", "-verifyroms galagao", 0,
            "romset galagao [galaga] is good\n1 romsets found, 1 were OK.\n");
        row("no ROM files", "-verifyroms pong", 0,
            "romset pong is best available\n1 romsets found, 1 were OK.\n");
        row("wrong CRC", "-verifyroms b", 2,
            "b           : b.rom (64 bytes) - INCORRECT CHECKSUM:\nEXPECTED: CRC(" + bCrc +
                ")\n   FOUND: CRC(" + xCrc + ")\nromset b is bad\n",
            "1 romsets found, 0 were OK.\n");
        row("clone, short file, shared file missing", "-verifyroms diezletras_segunda", 2,
            "diezletras_segunda: d2.bin (32 bytes) - INCORRECT LENGTH: 30 bytes\n"
            "diezletras_segunda: t.1 (16 bytes) - NOT FOUND (tenletters)\n"
            "romset diezletras_segunda [tenletters] is bad\n",
            "1 romsets found, 0 were OK.\n");
        row("archive name in capitals", "-verifyroms tenletters", 2, {},
            "romset \"tenletters\" not found!\n");
        row("verify, no match", "-verifyroms xyz", 5, {}, "No matching systems found for 'xyz'\n");
        row("run, options anywhere",
            "-inipath . galaga -rompath roms -cfg_directory mis_cfg -ctrlrpath ctrlr -ctrlr "
            "Zefrin -video none -sound none -skip_gameinfo",
            0, galagaRun, {}, "mis_cfg/galaga.cfg");
        row("run, paths from the ini, errors too", "galaga -inipath ini", 0, galagaRun,
            "galaga: error, line 1 of 2\ngalaga: error, line 2 of 2\n", "ini cfg/galaga.cfg",
            "run-stderr-lines\t2\tgalaga\n");
        row("run, wrong CRC", "b", 0,
            "Loading \"b\xc3\xb3lido \"turbo\"\" (b)\n"
            "b: running, line 2 of 3\nb: running, line 3 of 3\nCOIN1 = KEYCODE_5\n",
            bWrong + "WARNING: the machine might not run correctly.\n", "cfg/b.cfg");
        row("run, files missing", "diezletras_segunda", 2, {},
            "d2.bin WRONG LENGTH (expected: 00000020 found: 0000001e)\n"
            "d2.bin WRONG CHECKSUMS:\n    EXPECTED: CRC(" +
                crcOf(segunda.files[0].content) + ")\n       FOUND: CRC(" +
                crcOf(std::string(30, 'd')) +
                ")\nt.1 NOT FOUND (tried in diezletras_segunda tenletters)\n"
                "Fatal error: Required files are missing, the machine cannot be run.\n");
        row("run, no controller file", "galaga -ctrlr Otro", 3,
            "Ignoring MAME exception: Could not load controller configuration file Otro.cfg\n",
            "Fatal error: Could not load controller configuration file Otro.cfg\n");
        row("run, unknown set", "xyz", 5, {}, "Unknown system 'xyz'\n");
    }

    void answersInTodaysFormats()
    {
        QFETCH(QString, commandLine);
        QFETCH(QByteArray, directives);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(QString, cfgFile);
        const TodayStandin folder(directives);
        const Run r(folder, commandLine.split(' '));
        QCOMPARE(r.out, out);
        QCOMPARE(r.err, err);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(folder.exists("cfg"), cfgFile.startsWith("cfg/"));
        QVERIFY(cfgFile.isEmpty() || folder.exists(cfgFile));
    }
};

QTEST_GUILESS_MAIN(StandinTest)
#include "tst_standin.moc"
