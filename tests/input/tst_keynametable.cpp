// The key-name table Zefrin.tlc and the INI reading under it: the default file byte for byte,
// the lookups on it and on hand-edited files, and the private-profile rules of LeerINI.

#include "input/KeyNameTable.h"
#include "services/IniFile.h"
#include "support/EmulatorFolder.h"

#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// The default table as written on disk, LF standing for CR LF.
const char* const defaultTable = R"([teclas]


t43 = KEYCODE_A
t61 = KEYCODE_B
t59 = KEYCODE_C
t45 = KEYCODE_D
t32 = KEYCODE_E
t46 = KEYCODE_F
t47 = KEYCODE_G
t48 = KEYCODE_H
t37 = KEYCODE_I
t49 = KEYCODE_J
t50 = KEYCODE_K
t51 = KEYCODE_L
t63 = KEYCODE_M
t62 = KEYCODE_N
t38 = KEYCODE_O
t39 = KEYCODE_P
t30 = KEYCODE_Q
t33 = KEYCODE_R
t44 = KEYCODE_S
t34 = KEYCODE_T
t36 = KEYCODE_U
t60 = KEYCODE_V
t31 = KEYCODE_W
t58 = KEYCODE_X
t35 = KEYCODE_Y
t57 = KEYCODE_Z
t26 = KEYCODE_0
t17 = KEYCODE_1
t18 = KEYCODE_2
t19 = KEYCODE_3
t20 = KEYCODE_4
t21 = KEYCODE_5
t22 = KEYCODE_6
t23 = KEYCODE_7
t24 = KEYCODE_8
t25 = KEYCODE_9
t97 = KEYCODE_0_PAD
t94 = KEYCODE_1_PAD
t95 = KEYCODE_2_PAD
t96 = KEYCODE_3_PAD
t91 = KEYCODE_4_PAD
t92 = KEYCODE_5_PAD
t93 = KEYCODE_6_PAD
t88 = KEYCODE_7_PAD
t89 = KEYCODE_8_PAD
t90 = KEYCODE_9_PAD
?t = KEYCODE_TILDE
t27 = KEYCODE_MINUS
t101 = KEYCODE_EQUALS
t28 = KEYCODE_BACKSPACE
?t = KEYCODE_TAB
t40 = KEYCODE_OPENBRACE
t41 = KEYCODE_CLOSEBRACE
t68 = KEYCODE_ENTER
t52 = KEYCODE_COLON
t53 = KEYCODE_QUOTE
t54 = KEYCODE_BACKSLASH
?t = KEYCODE_BACKSLASH2
t64 = KEYCODE_COMMA
t65 = KEYCODE_STOP
t66 = KEYCODE_SLASH
t71 = KEYCODE_SPACE
t76 = KEYCODE_INSERT
t79 = KEYCODE_DEL
t75 = KEYCODE_HOME
t78 = KEYCODE_END
t74 = KEYCODE_PGUP
t77 = KEYCODE_PGDN
t81 = KEYCODE_LEFT
t83 = KEYCODE_RIGHT
t80 = KEYCODE_UP
t82 = KEYCODE_DOWN
t85 = KEYCODE_SLASH_PAD
t86 = KEYCODE_ASTERISK
t87 = KEYCODE_MINUS_PAD
t99 = KEYCODE_PLUS_PAD
t98 = KEYCODE_DEL_PAD
t100 = KEYCODE_ENTER_PAD
?t = KEYCODE_PRTSCR
?t = KEYCODE_PAUSE
t55 = KEYCODE_LSHIFT
t67 = KEYCODE_RSHIFT
t69 = KEYCODE_LCONTROL
t73 = KEYCODE_RCONTROL
t70 = KEYCODE_LALT
t72 = KEYCODE_RALT
?t = KEYCODE_SCRLOCK
?t = KEYCODE_NUMLOCK
?t = KEYCODE_CAPSLOCK
?t = KEYCODE_LWIN
?t = KEYCODE_RWIN
?t = KEYCODE_MENU
?t = JOYCODE_1_LEFT
?t = JOYCODE_1_RIGHT
?t = JOYCODE_1_UP
?t = JOYCODE_1_DOWN
?t = JOYCODE_1_BUTTON1
?t = JOYCODE_1_BUTTON2
?t = JOYCODE_1_BUTTON3
?t = JOYCODE_1_BUTTON4
?t = JOYCODE_1_BUTTON5
?t = JOYCODE_1_BUTTON6
?t = JOYCODE_1_START
?t = JOYCODE_1_SELECT


[comienzo]


c0 = COIN
c1 = START


[Control]


c2 = _JOYSTICK_UP
c3 = _JOYSTICK_DOWN
c4 = _JOYSTICK_LEFT
c5 = _JOYSTICK_RIGHT
c6 = _BUTTON1
c7 = _BUTTON2
c8 = _BUTTON3
c9 = _BUTTON4
c10 = _BUTTON5
c11 = _BUTTON6
c12 = _BUTTON7
c13 = _BUTTON8
c14 = _BUTTON9
c15 = _BUTTON10
)";

QByteArray defaultTableBytes()
{
    return QByteArray(defaultTable).replace("\n", "\r\n");
}

} // namespace

class KeyNameTableTest : public QObject {
    Q_OBJECT

private slots:
    void defaultTableIsWrittenByteForByte()
    {
        EmulatorFolder folder;
        QVERIFY(CrearTablaTeclas(folder.path()));
        const QByteArray written = folder.readFile("Zefrin.tlc");
        QCOMPARE(written, defaultTableBytes());
        QCOMPARE(written.count("\r\n?t = "), 23);
        QCOMPARE(written.count("\r\nt"), 81);
        QVERIFY(written.endsWith("\r\nc15 = _BUTTON10\r\n"));
        QVERIFY(!written.contains("\n\n") && !written.contains("\r\r"));
    }

    void recreatingReplacesAnyTable()
    {
        EmulatorFolder folder;
        folder.writeFile("Zefrin.tlc", "[teclas]\r\nt43 = KEYCODE_Z\r\n");
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(folder.readFile("Zefrin.tlc"), defaultTableBytes());
        QVERIFY(QFile::remove(folder.filePath("Zefrin.tlc")));
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(folder.readFile("Zefrin.tlc"), defaultTableBytes());
    }

    void tableThatCannotBeWrittenIsReported()
    {
        EmulatorFolder folder;
        folder.writeFile("Zefrin.tlc/inside", "x");
        QVERIFY(!CrearTablaTeclas(folder.path()));
        QCOMPARE(keyNameOfLabel(folder.path(), 43), QString());
    }

    void keyNamesOfLabels_data()
    {
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << 43 << "KEYCODE_A";
        QTest::newRow("1") << 17 << "KEYCODE_1";
        QTest::newRow("Ñ is the colon key") << 52 << "KEYCODE_COLON";
        QTest::newRow("¡ is the equals key") << 101 << "KEYCODE_EQUALS";
        QTest::newRow("pad enter") << 100 << "KEYCODE_ENTER_PAD";
        QTest::newRow("B.May has no line") << 42 << "";
        QTest::newRow("< has no line") << 56 << "";
        QTest::newRow("not selectable") << 29 << "";
        QTest::newRow("label 0") << 0 << "";
    }

    void keyNamesOfLabels()
    {
        QFETCH(int, label);
        QFETCH(QString, name);
        EmulatorFolder folder;
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(keyNameOfLabel(folder.path(), label), name);
    }

    void portNames_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("player");
        QTest::addColumn<QString>("port");
        QTest::newRow("coin") << 0 << 1 << "COIN1";
        QTest::newRow("start") << 1 << 3 << "START3";
        QTest::newRow("up") << 2 << 1 << "P1_JOYSTICK_UP";
        QTest::newRow("right") << 5 << 3 << "P3_JOYSTICK_RIGHT";
        QTest::newRow("button 4") << 9 << 2 << "P2_BUTTON4";
        QTest::newRow("button 10") << 15 << 4 << "P4_BUTTON10";
    }

    void portNames()
    {
        QFETCH(int, control);
        QFETCH(int, player);
        QFETCH(QString, port);
        EmulatorFolder folder;
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(NombrePuerto(folder.path(), control, player), port);
        QCOMPARE(ControlDeNombre(folder.path(), port), control);
        QCOMPARE(JugadorDeNombre(port), player);
    }

    void labelOfKeyName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("label");
        QTest::newRow("A") << "KEYCODE_A" << 43;
        QTest::newRow("pad enter") << "KEYCODE_ENTER_PAD" << 100;
        QTest::newRow("equals") << "KEYCODE_EQUALS" << 101;
        QTest::newRow("only under ?t") << "KEYCODE_TAB" << 0;
        QTest::newRow("letter case counts") << "keycode_a" << 0;
        QTest::newRow("unknown") << "KEYCODE_NOPE" << 0;
    }

    void labelOfKeyName()
    {
        QFETCH(QString, name);
        QFETCH(int, label);
        EmulatorFolder folder;
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(TeclaDeNombre(folder.path(), name), label);
    }

    void labelOfKeyNameOnAHandEditedTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("label");
        QTest::newRow("twice: smaller label") << "KEYCODE_A" << 20;
        QTest::newRow("label below 10") << "KEYCODE_Q" << 0;
        QTest::newRow("label above 102") << "KEYCODE_W" << 0;
        QTest::newRow("quoted value") << "KEYCODE_X" << 102;
        QTest::newRow("duplicate key: first line") << "KEYCODE_B" << 30;
        QTest::newRow("shadowed duplicate") << "KEYCODE_C" << 0;
    }

    void labelOfKeyNameOnAHandEditedTable()
    {
        QFETCH(QString, name);
        QFETCH(int, label);
        EmulatorFolder folder;
        folder.writeFile("Zefrin.tlc", "[Teclas]\r\nt50 = KEYCODE_A\r\nt20 = KEYCODE_A\r\n"
                                       "t9 = KEYCODE_Q\r\nt103 = KEYCODE_W\r\n"
                                       "t102 = \"KEYCODE_X\"\r\nt30 = KEYCODE_B\r\n"
                                       "T30 = KEYCODE_C\r\n");
        QCOMPARE(TeclaDeNombre(folder.path(), name), label);
    }

    void controlOfPortName_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("control");
        QTest::newRow("COIN3") << "COIN3" << 0;
        QTest::newRow("START2") << "START2" << 1;
        QTest::newRow("P2_BUTTON4") << "P2_BUTTON4" << 9;
        QTest::newRow("P1_BUTTON1") << "P1_BUTTON1" << 6;
        QTest::newRow("not in the table") << "P1_DIAL" << 0;
        QTest::newRow("small letters") << "p1_button1" << 0;
    }

    void controlOfPortName()
    {
        QFETCH(QString, port);
        QFETCH(int, control);
        EmulatorFolder folder;
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(ControlDeNombre(folder.path(), port), control);
    }

    void playerOfPortName_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("player");
        QTest::newRow("P2_BUTTON4") << "P2_BUTTON4" << 2;
        QTest::newRow("COIN3") << "COIN3" << 3;
        QTest::newRow("START4") << "START4" << 4;
        QTest::newRow("P read at position 2") << "PSTART1" << 0;
        QTest::newRow("letter instead of digit") << "PX_BUTTON1" << 0;
        QTest::newRow("P alone") << "P" << 0;
        QTest::newRow("COIN alone") << "COIN" << 0;
        QTest::newRow("small p") << "p1_UP" << 0;
        QTest::newRow("other") << "KEYCODE_A" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void playerOfPortName()
    {
        QFETCH(QString, port);
        QFETCH(int, player);
        QCOMPARE(JugadorDeNombre(port), player);
    }

    void handEditIsSeenAtTheNextLookup()
    {
        EmulatorFolder folder;
        QVERIFY(CrearTablaTeclas(folder.path()));
        QCOMPARE(keyNameOfLabel(folder.path(), 43), QStringLiteral("KEYCODE_A"));
        QCOMPARE(NombrePuerto(folder.path(), 2, 1), QStringLiteral("P1_JOYSTICK_UP"));
        folder.writeFile("Zefrin.tlc", "[teclas]\nt43 = KEYCODE_Z\n[control]\nc2 = _UP\n");
        QCOMPARE(keyNameOfLabel(folder.path(), 43), QStringLiteral("KEYCODE_Z"));
        QCOMPARE(TeclaDeNombre(folder.path(), "KEYCODE_Z"), 43);
        QCOMPARE(NombrePuerto(folder.path(), 2, 1), QStringLiteral("P1_UP"));
        QCOMPARE(ControlDeNombre(folder.path(), "P1_UP"), 2);
        QCOMPARE(NombrePuerto(folder.path(), 0, 1), QStringLiteral("1"));
    }

    void missingTableAnswersNothing()
    {
        EmulatorFolder folder;
        QCOMPARE(keyNameOfLabel(folder.path(), 43), QString());
        QCOMPARE(TeclaDeNombre(folder.path(), "KEYCODE_A"), 0);
        QCOMPARE(ControlDeNombre(folder.path(), "START2"), 0);
        QCOMPARE(ControlDeNombre(folder.path(), "P1_BUTTON1"), 0);
    }

    void privateProfileRules_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<none>": no file
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray longValue(300, 'x');
        QTest::newRow("names in any case")
            << QByteArray("[Control]\r\nC2 = _JOYSTICK_UP\r\n") << "control"
            << "c2"
            << "_JOYSTICK_UP";
        QTest::newRow("first line wins") << QByteArray("[s]\r\nk = one\r\nk = two\r\n") << "s"
                                         << "k"
                                         << "one";
        QTest::newRow("key without value shadows a later one")
            << QByteArray("[s]\r\nk\r\nk = two\r\n") << "s"
            << "k"
            << "default";
        QTest::newRow("repeated section: first match in file order")
            << QByteArray("[s]\r\na = 1\r\n[t]\r\nb = 2\r\n[S]\r\nb = 3\r\na = 4\r\n") << "s"
            << "b"
            << "3";
        QTest::newRow("repeated section: earlier line")
            << QByteArray("[s]\r\na = 1\r\n[t]\r\nb = 2\r\n[S]\r\nb = 3\r\na = 4\r\n") << "s"
            << "a"
            << "1";
        QTest::newRow("blanks dropped") << QByteArray("[s]\r\n \t k \t=  v  w \t\r\n") << "s"
                                        << "k"
                                        << "v  w";
        QTest::newRow("double quotes") << QByteArray("[s]\r\nk = \"quoted value\"\r\n") << "s"
                                       << "k"
                                       << "quoted value";
        QTest::newRow("single quotes") << QByteArray("[s]\r\nk = 'single'\r\n") << "s"
                                       << "k"
                                       << "single";
        QTest::newRow("blanks inside quotes kept") << QByteArray("[s]\r\nk = \"  in  \"\r\n") << "s"
                                                   << "k"
                                                   << "  in  ";
        QTest::newRow("unmatched quotes kept") << QByteArray("[s]\r\nk = \"mixed'\r\n") << "s"
                                               << "k"
                                               << "\"mixed'";
        QTest::newRow("lone quote kept") << QByteArray("[s]\r\nk = \"\r\n") << "s"
                                         << "k"
                                         << "\"";
        QTest::newRow("empty quotes") << QByteArray("[s]\r\nk = \"\"\r\n") << "s"
                                      << "k"
                                      << "default";
        QTest::newRow("equals sign in the value") << QByteArray("[s]\r\nk = a=b\r\n") << "s"
                                                  << "k"
                                                  << "a=b";
        QTest::newRow("254 characters at most") << "[s]\r\nk = " + longValue + "\r\n"
                                                << "s"
                                                << "k" << QString(254, 'x');
        QTest::newRow("quotes go before the cut") << "[s]\r\nk = \"" + longValue + "\"\r\n"
                                                  << "s"
                                                  << "k" << QString(254, 'x');
        QTest::newRow("missing section") << QByteArray("[other]\r\nk = v\r\n") << "s"
                                         << "k"
                                         << "default";
        QTest::newRow("missing key") << QByteArray("[s]\r\nj = v\r\n") << "s"
                                     << "k"
                                     << "default";
        QTest::newRow("empty value") << QByteArray("[s]\r\nk =\r\n") << "s"
                                     << "k"
                                     << "default";
        QTest::newRow("key before any section") << QByteArray("k = v\r\n[s]\r\n") << "s"
                                                << "k"
                                                << "default";
        QTest::newRow("LF line ends") << QByteArray("[s]\nj = 1\nk = v\n") << "s"
                                      << "k"
                                      << "v";
        QTest::newRow("CR line ends") << QByteArray("[s]\rj = 1\rk = v") << "s"
                                      << "k"
                                      << "v";
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[s]\r\nk = v\r\n") << "s"
                                         << "k"
                                         << "v";
        QTest::newRow("blanks in the header") << QByteArray("  [ s ]  \r\nk = v\r\n") << "s"
                                              << "k"
                                              << "v";
        QTest::newRow("binary junk") << QByteArray("\x00\xff\r\n[s]\r\nk = v\r\n\x01", 17) << "s"
                                     << "k"
                                     << "v";
        QTest::newRow("megabyte line") << "[s]\r\nj = " + QByteArray(1 << 20, 'j') + "\r\nk = v"
                                       << "s"
                                       << "k"
                                       << "v";
        QTest::newRow("no file") << QByteArray("<none>") << "s"
                                 << "k"
                                 << "default";
    }

    void privateProfileRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        EmulatorFolder folder;
        if (content != "<none>")
            folder.writeFile("test.ini", content);
        QCOMPARE(LeerINI(folder.filePath("test.ini"), section, key, "default"), expected);
    }
};

QTEST_APPLESS_MAIN(KeyNameTableTest)
#include "tst_keynametable.moc"
