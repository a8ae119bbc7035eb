// The controller files written by "Guardar y salir" and read back when the editor opens:
// their bytes, the port and key names they take from the key-name table, the lines a hand
// edit may leave in them, and the round trip from table to files and back.

#include "ReadOnly.h"
#include "input/ControllerFiles.h"
#include "input/KeyAssignment.h"
#include "input/KeyNameTable.h"
#include "support/EmulatorFolder.h"

#include <QRandomGenerator>
#include <QXmlStreamReader>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QByteArray entryHeader = "#   Teclas configuradas para el Z e f r i n\r\n#\r\n";
const QByteArray xmlHead = "<mameconfig version=\"10\">\r\n"
                           "\t<system name=\"default\">\r\n"
                           "\r\n"
                           "\t\t<!-- Configuracion del teclado para Zefrin -->\r\n"
                           "\t\t<input>\r\n";
const QByteArray xmlTail = "\t\t</input>\r\n"
                           "\t</system>\r\n"
                           "</mameconfig>\r\n";

QByteArray xmlPort(const QByteArray& port, const QByteArray& keyCode)
{
    return "\t\t\t<port type=\"" + port + "\">\r\n\t\t\t\t<newseq type=\"standard\">" + keyCode +
           "</newseq>\r\n\t\t\t</port>\r\n";
}

} // namespace

class ControllerFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        QVERIFY(CrearTablaTeclas(folder->path()));
        folder->makeFolder(QStringLiteral("ctrlr"));
    }

    void cleanup() { folder.reset(); }

    void noAssignedKeysGivesHeadersOnly()
    {
        KeyTable table = emptyKeyTable();
        table[0][0] = 0; // a key the table did not know counts as none
        QVERIFY(writeControllerFiles(folder->path(), table));
        QCOMPARE(entryBytes(), entryHeader);
        QCOMPARE(xmlBytes(), xmlHead + xmlTail);
        QCOMPARE(xmlBytes().count("\r\n"), 8);
    }

    void oneAssignedKey()
    {
        KeyTable table = emptyKeyTable();
        table[1][2] = 80; // player 2 "Arriba" on the up arrow
        QVERIFY(writeControllerFiles(folder->path(), table));
        QCOMPARE(entryBytes(), entryHeader + "P2_JOYSTICK_UP          \"KEYCODE_UP\"\r\n");
        QCOMPARE(xmlBytes(), xmlHead + xmlPort("P2_JOYSTICK_UP", "KEYCODE_UP") + xmlTail);
    }

    void entriesFollowPlayersThenControls()
    {
        KeyTable table = emptyKeyTable();
        table[3][0] = 17;
        table[0][15] = 18;
        table[0][1] = 19;
        table[2][7] = -1;
        table[1][0] = 101;
        QVERIFY(writeControllerFiles(folder->path(), table));
        QCOMPARE(entryBytes(), entryHeader + "START1                  \"KEYCODE_3\"\r\n"
                                             "P1_BUTTON10             \"KEYCODE_2\"\r\n"
                                             "COIN2                   \"KEYCODE_EQUALS\"\r\n"
                                             "COIN4                   \"KEYCODE_1\"\r\n");
        QCOMPARE(xmlBytes(),
                 xmlHead + xmlPort("START1", "KEYCODE_3") + xmlPort("P1_BUTTON10", "KEYCODE_2") +
                     xmlPort("COIN2", "KEYCODE_EQUALS") + xmlPort("COIN4", "KEYCODE_1") + xmlTail);
    }

    void keysWithoutTableLines()
    {
        // "B.May" and "<" have no line in the default table; they get the emulator's names.
        KeyTable table = emptyKeyTable();
        table[0][0] = 42;
        table[0][1] = 56;
        QVERIFY(writeControllerFiles(folder->path(), table));
        QCOMPARE(entryBytes(), entryHeader + "COIN1                   \"KEYCODE_CAPSLOCK\"\r\n"
                                             "START1                  \"KEYCODE_BACKSLASH2\"\r\n");
        QCOMPARE(xmlBytes(), xmlHead + xmlPort("COIN1", "KEYCODE_CAPSLOCK") +
                                 xmlPort("START1", "KEYCODE_BACKSLASH2") + xmlTail);
        QCOMPARE(readControllerEntries(folder->path(), entryPath()), table);
    }

    void handEditedTableWins()
    {
        folder->writeFile(QStringLiteral("Zefrin.tlc"), "[teclas]\r\nt42 = KEYCODE_LSHIFT\r\n"
                                                        "[comienzo]\r\nc0 = COIN\r\n");
        KeyTable table = emptyKeyTable();
        table[0][0] = 42; // named by the table
        table[1][0] = 43; // no longer named: left out
        table[0][2] = 42; // control without a name in the table: left out
        QVERIFY(writeControllerFiles(folder->path(), table));
        QCOMPARE(entryBytes(), entryHeader + "COIN1                   \"KEYCODE_LSHIFT\"\r\n");
        QCOMPARE(labelOfKeyCode(folder->path(), QStringLiteral("KEYCODE_CAPSLOCK")), 0);
    }

    void namesAreEscapedInXml()
    {
        folder->writeFile(QStringLiteral("Zefrin.tlc"),
                          "[teclas]\r\nt43 = KEY<&>\"\r\n[comienzo]\r\nc0 = CO&IN\r\n");
        KeyTable table = emptyKeyTable();
        table[0][0] = 43;
        QVERIFY(writeControllerFiles(folder->path(), table));
        const QByteArray xml = xmlBytes();
        QVERIFY(xml.contains("<port type=\"CO&amp;IN1\">"));
        QVERIFY(xml.contains(">KEY&lt;&amp;&gt;&quot;</newseq>"));
        QXmlStreamReader reader(xml);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    }

    void xmlIsWhatTheEmulatorReads()
    {
        KeyTable table = emptyKeyTable();
        table[0][0] = 21;
        table[3][15] = 100;
        QVERIFY(writeControllerFiles(folder->path(), table));
        QXmlStreamReader reader(xmlBytes());
        QStringList seen;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto attributes = reader.attributes();
            if (reader.name() == u"mameconfig")
                seen << "mameconfig " + attributes.value("version").toString();
            else if (reader.name() == u"system")
                seen << "system " + attributes.value("name").toString();
            else if (reader.name() == u"input")
                seen << QStringLiteral("input");
            else if (reader.name() == u"port")
                seen << "port " + attributes.value("type").toString();
            else if (reader.name() == u"newseq")
                seen << "newseq " + attributes.value("type").toString() + " " +
                            reader.readElementText();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(seen, (QStringList{"mameconfig 10", "system default", "input", "port COIN1",
                                    "newseq standard KEYCODE_5", "port P4_BUTTON10",
                                    "newseq standard KEYCODE_ENTER_PAD"}));
    }

    void entryFolderIsCreatedOneLevel()
    {
        QVERIFY(!folder->exists(QStringLiteral("ctrlr/Zefrin")));
        QVERIFY(writeControllerFiles(folder->path(), emptyKeyTable()));
        QVERIFY(QFileInfo(folder->filePath(QStringLiteral("ctrlr/Zefrin"))).isDir());
    }

    void writingFails_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("no ctrlr folder") << "no ctrlr";
        QTest::newRow("ctrlr/Zefrin is a file") << "file";
        QTest::newRow("entry file read-only") << "read-only entry";
        QTest::newRow("ctrlr folder read-only") << "read-only ctrlr";
    }

    void writingFails()
    {
        QFETCH(QString, obstacle);
        KeyTable table = emptyKeyTable();
        table[0][0] = 43;
        std::unique_ptr<ReadOnly> lock;
        if (obstacle == "no ctrlr") {
            QVERIFY(QDir(folder->filePath(QStringLiteral("ctrlr"))).removeRecursively());
        } else if (obstacle == "file") {
            folder->writeFile(QStringLiteral("ctrlr/Zefrin"), "x");
        } else {
            QVERIFY(writeControllerFiles(folder->path(), emptyKeyTable()));
            lock = std::make_unique<ReadOnly>(
                obstacle == "read-only entry" ? entryPath() : folder->filePath("ctrlr"));
            if (!lock->locked())
                QSKIP("cannot make a file immutable here (chattr +i)");
        }
        QVERIFY(!writeControllerFiles(folder->path(), table));
        if (obstacle == "no ctrlr")
            QVERIFY(!folder->exists(QStringLiteral("ctrlr")));
        if (!lock)
            return;
        // Nothing half-written: a file is new or old, whole either way, and no temporary
        // file is left. The entry file lies in ctrlr/Zefrin, which the lock does not cover.
        const QByteArray newEntries = entryHeader + "COIN1                   \"KEYCODE_A\"\r\n";
        QCOMPARE(entryBytes(), obstacle == "read-only entry" ? entryHeader : newEntries);
        QCOMPARE(xmlBytes(), xmlHead + xmlTail);
        const auto entries = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(folder->filePath("ctrlr/Zefrin")).entryList(entries),
                 QStringList{"default.ini"});
        QCOMPARE(QDir(folder->filePath("ctrlr")).entryList(entries),
                 (QStringList{"Zefrin", "Zefrin.cfg"}));
    }

    void handEditedEntryFile()
    {
        folder->writeFile(QStringLiteral("ctrlr/Zefrin/default.ini"),
                          "#   Teclas configuradas para el Z e f r i n\r\n"
                          "#\r\n"
                          "# COIN1 \"KEYCODE_Q\"\r\n"                   // comment
                          "\r\n"                                        // blank
                          "   \r\n"                                     // blanks
                          "COIN1                   \"KEYCODE_5\"\r\n"   // placed
                          "P2_BUTTON4  \"KEYCODE_B\"   \r\n"            // trailing blanks
                          "START3 \"KEYCODE_X\"\n"                      // LF only
                          "P5_BUTTON1              \"KEYCODE_C\"\r\n"   // player 5
                          "P0_BUTTON1              \"KEYCODE_C\"\r\n"   // player 0
                          "COINX                   \"KEYCODE_C\"\r\n"   // no digit
                          "P1_DIAL                 \"KEYCODE_C\"\r\n"   // unknown port
                          "PAUSE                   \"KEYCODE_C\"\r\n"   // unknown port
                          "p1_button1              \"KEYCODE_C\"\r\n"   // lower case
                          "P1_BUTTON2              KEYCODE_C\r\n"       // no quotes
                          "P1_BUTTON3              \"KEYCODE_C\r\n"     // one quote
                          "P1_BUTTON5              \"\r\n"              // a lone quote
                          "P1_BUTTON6\r\n"                              // no value
                          "P1_BUTTON7              \"keycode_c\"\r\n"   // unknown key code
                          "P1_BUTTON8              \"KEYCODE_TAB\"\r\n" // only under ?t
                          "P1_BUTTON9              \"\"\r\n"            // empty key code
                          "P4_BUTTON10             \"KEYCODE_A\"\r\n"
                          "P4_BUTTON10             \"KEYCODE_S\""); // later wins
        KeyTable expected = emptyKeyTable();
        expected[0][0] = 21;
        expected[1][9] = 61;
        expected[2][1] = 58;
        expected[0][12] = 0;
        expected[0][13] = 0;
        expected[0][14] = 0;
        expected[3][15] = 44;
        QCOMPARE(readControllerEntries(folder->path(), entryPath()), expected);
    }

    void missingEntryFileGivesEmptyTable()
    {
        QCOMPARE(readControllerEntries(folder->path(), entryPath()), emptyKeyTable());
    }

    void roundTrip()
    {
        // Every selectable key once at most, spread over random cells; the rest left free.
        QRandomGenerator random(20240605);
        for (int run = 0; run < 5; ++run) {
            QList<int> keys;
            for (int key = 17; key <= 101; ++key) {
                if (key != 29 && key != 84)
                    keys << key;
            }
            KeyTable table = emptyKeyTable();
            for (auto& player : table) {
                for (int& cell : player) {
                    if (random.bounded(3) != 0 && !keys.isEmpty())
                        cell = keys.takeAt(random.bounded(int(keys.size())));
                }
            }
            QVERIFY(writeControllerFiles(folder->path(), table));
            QCOMPARE(readControllerEntries(folder->path(), entryPath()), table);
        }
    }

private:
    QString entryPath() const { return controllerEntryPath(folder->path()); }
    QByteArray entryBytes() const
    {
        return folder->readFile(QStringLiteral("ctrlr/Zefrin/default.ini"));
    }
    QByteArray xmlBytes() const { return folder->readFile(QStringLiteral("ctrlr/Zefrin.cfg")); }

    std::unique_ptr<EmulatorFolder> folder;
};

QTEST_GUILESS_MAIN(ControllerFilesTest)
#include "tst_controllerfiles.moc"
