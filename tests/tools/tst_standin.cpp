// The stand-in emulator as the front end meets it: a program in the emulator folder that
// answers command lines in the emulator's formats and leaves files behind as the emulator does.

#include "StandinFolder.h"
#include "fixture/Crc32.h"
#include "fixture/Demo.h"
#include "fixture/Zip.h"

#include <QFile>
#include <QStringDecoder>
#include <QTest>

namespace fx = zefrin::fixture;

namespace {

fx::Collection basicCollection(std::vector<fx::Directive> directives = {})
{
    return {{fx::makeGame("galaga", "Galaga Espacial", {{"gg1.bin", 300}, {"gg2.bin", 200}}),
             fx::makeGame("b", "bólido \"turbo\"", {{"b.rom", 64}}),
             fx::makeGame("tenletters", "Diez Letras", {{"t.1", 16}})},
            std::move(directives)};
}

const fx::Game& galaga(const fx::Collection& c)
{
    return *fx::findGame(c, "galaga");
}

} // namespace

class TestStandin : public QObject {
    Q_OBJECT

private slots:
    void listFullHasFixedColumns_data()
    {
        QTest::addColumn<QString>("eol");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("default") << QString() << QByteArray("\n");
        QTest::newRow("crlf") << "crlf" << QByteArray("\r\n");
    }

    void listFullHasFixedColumns()
    {
        QFETCH(QString, eol);
        QFETCH(QByteArray, lineEnd);
        std::vector<fx::Directive> directives;
        if (!eol.isEmpty())
            directives.push_back({"eol", eol.toStdString(), ""});
        const StandinFolder folder(basicCollection(directives));
        QVERIFY(folder.isValid());
        const StandinResult r = folder.run({"-listfull"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, "Name:     Description:" + lineEnd +             //
                            "galaga    \"Galaga Espacial\"" + lineEnd +  //
                            "b         \"bólido \"turbo\"\"" + lineEnd + //
                            "tenletters\"Diez Letras\"" + lineEnd);
    }

    void verifySetsJudgesByCentralDirectory_data()
    {
        QTest::addColumn<QString>("archive"); // what roms/ holds
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<int>("exitCode");
        const QStringList args{"galaga", "-verifysets"};
        QTest::newRow("good") << "good" << args << QByteArray("romset galaga is good") << 0;
        QTest::newRow("command first") << "good" << QStringList{"-verifysets", "galaga"}
                                       << QByteArray("romset galaga is good") << 0;
        QTest::newRow("capital archive name") << "capitals" << QStringList{"GALAGA", "-verifysets"}
                                              << QByteArray("romset galaga is good") << 0;
        QTest::newRow("file renamed, CRC right")
            << "renamed" << args << QByteArray("romset galaga is good") << 0;
        QTest::newRow("right name, wrong CRC")
            << "bad" << args << QByteArray("romset galaga is bad") << 2;
        QTest::newRow("file missing")
            << "missing" << args << QByteArray("romset galaga is bad") << 2;
        QTest::newRow("not a zip") << "text" << args << QByteArray("romset galaga is bad") << 2;
        QTest::newRow("truncated zip")
            << "truncated" << args << QByteArray("romset galaga is bad") << 2;
        QTest::newRow("no archive") << "" << args << QByteArray("romset galaga not found") << 2;
        QTest::newRow("unknown game") << "good" << QStringList{"xyz", "-verifysets"}
                                      << QByteArray("Game \"xyz\" not supported") << 1;
    }

    void verifySetsJudgesByCentralDirectory()
    {
        QFETCH(QString, archive);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, firstLine);
        QFETCH(int, exitCode);
        const fx::Collection collection = basicCollection();
        const StandinFolder folder(collection);
        QVERIFY(folder.isValid());
        const fx::Game& game = galaga(collection);
        std::vector<fx::ZipEntry> entries{{"gg1.bin", game.files[0].content},
                                          {"gg2.bin", game.files[1].content}};
        const auto zip = folder.fsPath("roms/galaga.zip");
        if (archive == "good")
            QVERIFY(fx::writeGoodArchive(game, zip));
        else if (archive == "capitals")
            QVERIFY(fx::writeGoodArchive(game, folder.fsPath("roms/GALAGA.ZIP")));
        else if (archive == "renamed")
            QVERIFY(fx::writeZip(zip, {{"other.bin", entries[0].content}, entries[1]}));
        else if (archive == "bad")
            QVERIFY(fx::writeBadArchive(game, zip));
        else if (archive == "missing")
            QVERIFY(fx::writeZip(zip, {entries[0]}));
        else if (archive == "text")
            QVERIFY(folder.write("roms/galaga.zip", "no soy un zip\n"));
        else if (archive == "truncated")
            QVERIFY(
                folder.write("roms/galaga.zip",
                             QByteArray::fromStdString(fx::zipBytes(entries).value()).chopped(5)));

        const StandinResult r = folder.run(arguments);
        QCOMPARE(r.lines().value(0), firstLine);
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode != 1)
            QVERIFY(r.lines().last().endsWith(" were OK."));
    }

    void verifySetsLetterCase_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::newRow("normal") << "normal" << QByteArray("romset galaga is good");
        QTest::newRow("lower, trailing blanks")
            << "lower" << QByteArray("romset galaga is good   ");
        QTest::newRow("upper") << "upper" << QByteArray("ROMSET GALAGA IS GOOD");
    }

    void verifySetsLetterCase()
    {
        QFETCH(QString, mode);
        QFETCH(QByteArray, firstLine);
        const fx::Collection collection =
            basicCollection({{"verifysets-case", mode.toStdString(), ""}});
        const StandinFolder folder(collection);
        QVERIFY(fx::writeGoodArchive(galaga(collection), folder.fsPath("roms/galaga.zip")));
        QCOMPARE(folder.run({"galaga", "-verifysets"}).lines().value(0), firstLine);
    }

    void listRomsPrintsTheTable()
    {
        const StandinFolder folder(basicCollection());
        const StandinResult r = folder.run({"galaga", "-listroms"});
        const auto crc = [](const std::string& s) {
            return QByteArray::number(fx::crc32(s), 16).rightJustified(8, '0');
        };
        const fx::Collection c = basicCollection();
        QCOMPARE(r.out, "This is the list of the ROMs required for driver \"galaga\".\n"
                        "Name              Size Checksum\n"
                        "gg1.bin            300 CRC(" +
                            crc(galaga(c).files[0].content) +
                            ")\n"
                            "gg2.bin            200 CRC(" +
                            crc(galaga(c).files[1].content) + ")\n");
    }

    void romIdentAndIsKnownMatchByChecksum_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("set name") << "mixed";
        QTest::newRow("path") << "roms/mixed.zip";
        QTest::newRow("backslash path") << "roms\\mixed.zip";
    }

    void romIdentAndIsKnownMatchByChecksum()
    {
        QFETCH(QString, argument);
        const fx::Collection collection = basicCollection();
        const StandinFolder folder(collection);
        QVERIFY(fx::writeZip(
            folder.fsPath("roms/mixed.zip"),
            {{"renamed.bin", galaga(collection).files[1].content}, {"x.bin", "nothing known"}}));
        const StandinResult ident = folder.run({argument, "-romident"});
        QCOMPARE(ident.lines().mid(0, 2),
                 (QList<QByteArray>{"renamed.bin  = gg2.bin      Galaga Espacial [galaga]",
                                    "x.bin        NO MATCH"}));
        const StandinResult known = folder.run({argument, "-isknown"});
        QCOMPARE(known.lines(), (QList<QByteArray>{"renamed.bin  KNOWN", "x.bin        UNKNOWN",
                                                   "mixed.zip    PARTKNOWN"}));
    }

    void romIdentSaysWhenThereIsNoZip()
    {
        const StandinFolder folder(basicCollection());
        QVERIFY(folder.write("roms/junk.zip", "junk"));
        QCOMPARE(folder.run({"junk", "-romident"}).out, "junk: not a valid zip archive\n");
        QCOMPARE(folder.run({"roms/none.zip", "-isknown"}).out, "roms/none.zip: file not found\n");
    }

    void createConfigWritesMameIni()
    {
        const StandinFolder folder(basicCollection());
        QVERIFY(folder.write("mame.ini", "old"));
        QCOMPARE(folder.run({"-cc"}).exitCode, 0);
        const QByteArray ini = folder.read("mame.ini");
        QVERIFY(ini.contains("\r\n# ctrlr                 <NULL> (Not Set)\r\n"));
        QVERIFY(ini.contains("\r\nrompath                 roms\r\n"));
        QVERIFY(ini.startsWith("#\r\n"));
        QCOMPARE(ini.count('\n'), ini.count("\r\n"));

        const StandinFolder silent(basicCollection({{"cc-no-ini", "1", ""}}));
        QCOMPARE(silent.run({"-cc"}).exitCode, 0);
        QVERIFY(!QFile::exists(silent.path("mame.ini")));
    }

    void gameRunWritesConfigOnExit()
    {
        const fx::Collection collection = basicCollection();
        const StandinFolder folder(collection);
        QVERIFY(fx::writeGoodArchive(galaga(collection), folder.fsPath("roms/galaga.zip")));
        const StandinResult r = folder.run({"galaga", "-soundcard", "0"});
        QCOMPARE(r.exitStatus, QProcess::NormalExit);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.lines().size(), 3);
        QVERIFY(folder.read("cfg/galaga.cfg").contains("<mameconfig version=\"10\">"));
        QVERIFY(folder.read("cfg/galaga.cfg").contains("<system name=\"galaga\">"));
        QVERIFY(folder.read("cfg/default.cfg").contains("<system name=\"default\">"));

        // Settings the emulator read at start are written back unchanged.
        QVERIFY(folder.write("cfg/default.cfg", "<mameconfig version=\"10\">mine</mameconfig>"));
        QCOMPARE(folder.run({"galaga"}).exitCode, 0);
        QCOMPARE(folder.read("cfg/default.cfg"), "<mameconfig version=\"10\">mine</mameconfig>");
    }

    void gameRunFollowsDirectives_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("lineCount"); // -1: not checked
        QTest::addColumn<int>("exitCode");  // -1: dies from a signal
        QTest::addColumn<bool>("writesCfg");
        QTest::newRow("lines") << "run-lines"
                               << "7" << 7 << 0 << true;
        QTest::newRow("silent") << "run-silent"
                                << "1" << 0 << 0 << true;
        QTest::newRow("exit code") << "run-exit"
                                   << "3" << 3 << 3 << true;
        QTest::newRow("no cfg") << "run-no-cfg"
                                << "1" << 3 << 0 << false;
        QTest::newRow("abort") << "run-crash"
                               << "abort" << 3 << -1 << false;
        QTest::newRow("segv") << "run-crash"
                              << "segv" << 3 << -1 << false;
        QTest::newRow("megabytes") << "run-megabytes"
                                   << "2" << -1 << 0 << true;
        QTest::newRow("non-UTF-8") << "run-non-utf8"
                                   << "1" << 4 << 0 << true;
    }

    void gameRunFollowsDirectives()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, lineCount);
        QFETCH(int, exitCode);
        QFETCH(bool, writesCfg);
        // The directive names galaga only; game "b" runs as usual.
        const fx::Collection collection =
            basicCollection({{key.toStdString(), value.toStdString(), "GALAGA"}});
        const StandinFolder folder(collection);
        QVERIFY(fx::writeGoodArchive(galaga(collection), folder.fsPath("roms/galaga.zip")));
        QVERIFY(fx::writeGoodArchive(*fx::findGame(collection, "b"), folder.fsPath("roms/b.zip")));

        const StandinResult r = folder.run({"galaga"});
        if (exitCode < 0) {
            QCOMPARE(r.exitStatus, QProcess::CrashExit);
        } else {
            QCOMPARE(r.exitStatus, QProcess::NormalExit);
            QCOMPARE(r.exitCode, exitCode);
        }
        if (lineCount >= 0)
            QCOMPARE(r.lines().size(), lineCount);
        QCOMPARE(QFile::exists(folder.path("cfg/galaga.cfg")), writesCfg);
        if (key == "run-megabytes")
            QVERIFY(r.out.size() >= 2 * 1024 * 1024);
        QStringDecoder utf8(QStringDecoder::Utf8);
        [[maybe_unused]] const QString text = utf8(r.out);
        QCOMPARE(utf8.hasError(), key == "run-non-utf8");

        const StandinResult other = folder.run({"b"});
        QCOMPARE(other.exitCode, 0);
        QCOMPARE(other.lines().size(), 3);
    }

    void waitsAsLongAsConfigured_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("game run") << "run-ms" << QStringList{"galaga"};
        QTest::newRow("game list") << "listfull-delay-ms" << QStringList{"-listfull"};
    }

    void waitsAsLongAsConfigured()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, arguments);
        const fx::Collection collection = basicCollection({{key.toStdString(), "400", ""}});
        const StandinFolder folder(collection);
        QVERIFY(fx::writeGoodArchive(galaga(collection), folder.fsPath("roms/galaga.zip")));
        const StandinResult r = folder.run(arguments);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.elapsedMs >= 400);
    }

    void gameRunRefusals_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("unknown game")
            << "xyz" << QList<QByteArray>{"Game \"xyz\" not supported"} << 1;
        QTest::newRow("no archive")
            << "tenletters"
            << QList<QByteArray>{"t.1          NOT FOUND", "ERROR: required files are missing, "
                                                           "the game cannot be run."}
            << 2;
    }

    void gameRunRefusals()
    {
        QFETCH(QString, game);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(int, exitCode);
        const StandinFolder folder(basicCollection());
        const StandinResult r = folder.run({game});
        QCOMPARE(r.lines(), lines);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(!QFile::exists(folder.path("cfg")));
    }

    void badCommandLinesAreRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("unknown option")
            << QStringList{"-foo"} << QByteArray("Error: unknown option: -foo");
        QTest::newRow("missing value") << QStringList{"galaga", "-soundcard"}
                                       << QByteArray("Error: option -soundcard expects a value");
        QTest::newRow("romident without file")
            << QStringList{"-romident"} << QByteArray("Error: -romident needs a file or set name");
    }

    void badCommandLinesAreRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, line);
        const StandinFolder folder(basicCollection());
        const StandinResult r = folder.run(arguments);
        QCOMPARE(r.lines(), QList<QByteArray>{line});
        QCOMPARE(r.exitCode, 1);
    }

    void everyCallIsRecorded()
    {
        const StandinFolder folder(basicCollection());
        folder.run({"-listfull"});
        folder.run({"galaga", "-soundcard", "0"});
        folder.run({"con espacio", "-isknown"});
        folder.run({"tab\there", "-foo"});
        QCOMPARE(folder.read("standin-calls.txt"), "-listfull\n"
                                                   "galaga\t-soundcard\t0\n"
                                                   "con espacio\t-isknown\n"
                                                   "tab here\t-foo\n");
    }

    void dataFileBesideTheProgramIsFound()
    {
        const StandinFolder program(basicCollection());
        const StandinFolder work({});
        QVERIFY(QFile::remove(work.path("standin.dat")));
        const StandinResult r = work.run({"-listfull"}, program.path("mame"));
        QCOMPARE(r.lines().size(), 4);
    }

    void demoFolderShowsEveryKindOfArchive()
    {
        const StandinFolder folder({});
        std::string error;
        QVERIFY(fx::writeDemo(folder.fsPath(""), error));
        QCOMPARE(folder.run({"-listfull"}).lines().size(), 14);
        const QByteArray verified = folder.run({"-verifysets"}).out;
        QVERIFY(verified.contains("romset tetrix is bad\n"));
        QVERIFY(verified.endsWith("10 romsets found, 9 were OK.\n"));
        QCOMPARE(folder.run({"dragonf.zip", "-isknown"}).lines().last(), "dragonf.zip  KNOWN");
        QCOMPARE(folder.run({"misterio", "-isknown"}).lines().last(), "misterio.zip UNKNOWN");
        QCOMPARE(folder.run({"roto", "-romident"}).out, "roto: not a valid zip archive\n");
    }
};

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
