// The key-name table Zefrin.tlc (its default bytes, hand edits, the private-profile rules
// under it) and the controller files written from the editor's table. Read back: tst_frmteclas.

#include "KeyRig.h"
#include "engine/input/ControllerFiles.h"
#include "engine/services/IniFile.h"

#include <QCryptographicHash>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QByteArray entryHeader = "#   Teclas configuradas para el Z e f r i n\r\n#\r\n";

// The XML controller file holding the given port names and key codes, in order.
QByteArray xmlFile(const QList<QByteArray>& portsAndKeyCodes = {})
{
    QByteArray xml = "<mameconfig version=\"10\">\r\n\t<system name=\"default\">\r\n\r\n"
                     "\t\t<!-- Configuracion del teclado para Zefrin -->\r\n\t\t<input>\r\n";
    for (qsizetype i = 0; i + 1 < portsAndKeyCodes.size(); i += 2)
        xml += "\t\t\t<port type=\"" + portsAndKeyCodes[i] +
               "\">\r\n\t\t\t\t<newseq type=\"standard\">" + portsAndKeyCodes[i + 1] +
               "</newseq>\r\n\t\t\t</port>\r\n";
    return xml + "\t\t</input>\r\n\t</system>\r\n</mameconfig>\r\n";
}

} // namespace

class ControllerFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        QVERIFY(CrearTablaTeclas(folder->path()));
        folder->makeFolder("ctrlr");
    }

    void defaultTableIsWrittenByteForByteOverAnyOther()
    {
        folder->writeFile("Zefrin.tlc", "[teclas]\r\nt43 = KEYCODE_Z\r\n");
        QVERIFY(CrearTablaTeclas(folder->path()));
        // The whole file as the program has always written it: 2,407 bytes, CR LF ends.
        QCOMPARE(
            QCryptographicHash::hash(folder->readFile("Zefrin.tlc"), QCryptographicHash::Sha256)
                .toHex(),
            "9912ad10d0a867071d91161ec942666fe058fec9e75e05a35c15c45dd496e971");
    }

    // Of two lines of a key the first answers, without the double quotes around it. Odd
    // bytes, and the table read whole answering as read anew: tests/fuzz/fuzz_keytable.
    void firstLineOfAKeyAnswersUnquoted()
    {
        folder->writeFile("test.ini", "[s]\r\nk = \"  in  \"\r\nk = two\r\n");
        QCOMPARE(IniFile(folder->filePath("test.ini")).value("s", "k", "default"), "  in  ");
    }

    void filesAreWrittenByteForByteWithTheTablesNames()
    {
        // Players then controls; "B.May" and "<" have no table line: the emulator's names. A
        // key the table did not know (0) counts as none.
        const KeyTable table = tableOf(
            {{3, 0, 17}, {0, 15, 18}, {1, 0, 101}, {1, 2, 80}, {0, 1, 42}, {0, 0, 56}, {2, 7, 0}});
        QVERIFY(writeControllerFiles(folder->path(), table, Dialect::Classic));
        QCOMPARE(folder->readFile("ctrlr/Zefrin/default.ini"),
                 entryHeader + "COIN1                   \"KEYCODE_BACKSLASH2\"\r\n"
                               "START1                  \"KEYCODE_CAPSLOCK\"\r\n"
                               "P1_BUTTON10             \"KEYCODE_2\"\r\n"
                               "COIN2                   \"KEYCODE_EQUALS\"\r\n"
                               "P2_JOYSTICK_UP          \"KEYCODE_UP\"\r\n"
                               "COIN4                   \"KEYCODE_1\"\r\n");
        QCOMPARE(folder->readFile("ctrlr/Zefrin.cfg"),
                 xmlFile({"COIN1", "KEYCODE_BACKSLASH2", "START1", "KEYCODE_CAPSLOCK",
                          "P1_BUTTON10", "KEYCODE_2", "COIN2", "KEYCODE_EQUALS", "P2_JOYSTICK_UP",
                          "KEYCODE_UP", "COIN4", "KEYCODE_1"}));
        // A hand-edited table, read anew at every lookup, its first line of a key answering;
        // names that would break the XML.
        folder->writeFile(
            "Zefrin.tlc",
            "[teclas]\nt42 = KEYCODE_LSHIFT\nt43 = KEY<&>\"\nt42 = X\n[comienzo]\nc0 = CO&IN\n");
        // Key 44 and control 2 are no longer named: left out.
        QVERIFY(writeControllerFiles(folder->path(),
                                     tableOf({{0, 0, 42}, {1, 0, 43}, {2, 0, 44}, {0, 2, 45}}),
                                     Dialect::Classic));
        QCOMPARE(folder->readFile("ctrlr/Zefrin/default.ini"),
                 entryHeader + "CO&IN1                  \"KEYCODE_LSHIFT\"\r\n"
                               "CO&IN2                  \"KEY<&>\"\"\r\n");
        QCOMPARE(folder->readFile("ctrlr/Zefrin.cfg"),
                 xmlFile({"CO&amp;IN1", "KEYCODE_LSHIFT", "CO&amp;IN2", "KEY&lt;&amp;&gt;&quot;"}));
    }

    // Today's emulator spells the numeric pad's digits KEYCODE_nPAD: the files name them so,
    // and they read back to the same keys.
    void todaysEmulatorGetsItsOwnPadNames()
    {
        const KeyTable table = tableOf({{0, 0, 89}, {0, 1, 30}, {1, 0, 100}});
        QVERIFY(writeControllerFiles(folder->path(), table, Dialect::Today));
        QCOMPARE(folder->readFile("ctrlr/Zefrin/default.ini"),
                 entryHeader + "COIN1                   \"KEYCODE_8PAD\"\r\n"
                               "START1                  \"KEYCODE_Q\"\r\n"
                               "COIN2                   \"KEYCODE_ENTER_PAD\"\r\n");
        QCOMPARE(
            readControllerEntries(folder->path(), folder->filePath("ctrlr/Zefrin/default.ini")),
            table);
    }

private:
    std::unique_ptr<EmulatorFolder> folder;
};

QTEST_GUILESS_MAIN(ControllerFilesTest)
#include "tst_controllerfiles.moc"
