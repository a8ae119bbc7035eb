// The keyboard picture of the controls editor as data, and the assignment rules apart from
// the window: resting colours, which keys may be chosen, where the selection moves, which
// keys are taken.

#include "input/KeyAssignment.h"
#include "input/KeyboardPicture.h"

#include <QSet>
#include <QtTest>

using namespace zefrin;

class KeyAssignmentTest : public QObject {
    Q_OBJECT

private slots:
    void pictureHoldsEveryKeyOnce()
    {
        QSet<int> numbers;
        for (const KeyPicture& key : keyboardPicture()) {
            QVERIFY2(key.number >= 0 && key.number < keyCount, key.caption);
            QVERIFY2(!numbers.contains(key.number), key.caption);
            numbers.insert(key.number);
            QCOMPARE(keyPicture(key.number).caption, key.caption);
        }
        QCOMPARE(numbers.size(), keyCount);
    }

    void keysSitInTheirRows_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("function row")
            << 1485 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QTest::newRow("digit row")
            << 1935 << QList<int>{16, 17,  18, 19, 20, 21, 22, 23, 24, 25, 26,
                                  27, 101, 28, 76, 75, 74, 84, 85, 86, 87};
        QTest::newRow("Q row") << 2235 << QList<int>{29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
                                                     40, 41, 68, 79, 78, 77, 88, 89, 90, 99};
        QTest::newRow("A row") << 2535 << QList<int>{42, 43, 44, 45, 46, 47, 48, 49,
                                                     50, 51, 52, 53, 54, 91, 92, 93};
        QTest::newRow("Z row") << 2835 << QList<int>{55, 56, 57, 58, 59, 60, 61, 62, 63,
                                                     64, 65, 66, 67, 80, 94, 95, 96, 100};
        QTest::newRow("space row") << 3135 << QList<int>{69, 70, 71, 72, 73, 81, 82, 83, 97, 98};
    }

    void keysSitInTheirRows()
    {
        QFETCH(int, top);
        QFETCH(QList<int>, numbers);
        int previousRight = 0;
        for (int number : numbers) {
            const KeyPicture& key = keyPicture(number);
            QCOMPARE(key.top, top);
            // Left to right without overlap.
            QVERIFY2(key.left >= previousRight, key.caption);
            previousRight = key.left + key.width;
        }
    }

    void oddKeys_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::newRow("Esc") << 0 << "Esc" << QRect(2205, 1485, 315, 285);
        QTest::newRow("º") << 16 << "º" << QRect(2205, 1935, 315, 285);
        QTest::newRow("¡") << 101 << "¡" << QRect(6165, 1935, 315, 285);
        QTest::newRow("Borr") << 28 << "Borr" << QRect(6495, 1935, 495, 285);
        QTest::newRow("Tab") << 29 << "Tab" << QRect(2205, 2235, 405, 285);
        QTest::newRow("Int") << 68 << "Int" << QRect(6675, 2235, 315, 585);
        QTest::newRow("keypad +") << 99 << "+" << QRect(9300, 2235, 315, 585);
        QTest::newRow("B.May") << 42 << "B.May" << QRect(2205, 2535, 495, 285);
        QTest::newRow("Ñ") << 52 << "Ñ" << QRect(5685, 2535, 315, 285);
        QTest::newRow("´") << 53 << "´" << QRect(6015, 2535, 315, 285);
        QTest::newRow("Ç") << 54 << "Ç" << QRect(6345, 2535, 315, 285);
        QTest::newRow("May") << 55 << "May" << QRect(2205, 2835, 330, 285);
        QTest::newRow("right May") << 67 << "May" << QRect(6180, 2835, 810, 285);
        QTest::newRow("keypad Int") << 100 << "Int" << QRect(9300, 2835, 315, 585);
        QTest::newRow("Espacio") << 71 << "Espacio" << QRect(3585, 3135, 1995, 285);
        QTest::newRow("Alt Gr") << 72 << "Alt Gr" << QRect(5595, 3135, 495, 285);
        QTest::newRow("keypad 0") << 97 << "0" << QRect(8310, 3135, 645, 285);
    }

    void oddKeys()
    {
        QFETCH(int, number);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        const KeyPicture& key = keyPicture(number);
        QCOMPARE(keyCaption(number), caption);
        QCOMPARE(QRect(key.left, key.top, key.width, key.height), place);
    }

    void selectableKeys()
    {
        for (int number = 0; number < keyCount; ++number) {
            const bool reserved = number <= 16 || number == 29 || number == 84;
            QCOMPARE(isSelectableKey(number), !reserved);
        }
        QVERIFY(!isSelectableKey(-1));
        QVERIFY(!isSelectableKey(102));
    }

    void restingColours_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QColor>("colour");
        const QColor pink(255, 192, 192);
        const QColor grey(224, 224, 224);
        const QColor white(255, 255, 255);
        QTest::newRow("Esc") << 0 << pink;
        QTest::newRow("F12") << 12 << pink;
        QTest::newRow("Pau") << 15 << pink;
        QTest::newRow("º") << 16 << pink;
        QTest::newRow("Tab") << 29 << pink;
        QTest::newRow("Nu") << 84 << pink;
        QTest::newRow("1") << 17 << white;
        QTest::newRow("A") << 43 << white;
        QTest::newRow("Ñ") << 52 << white;
        QTest::newRow("¡") << 101 << white;
        QTest::newRow("'") << 27 << white;
        QTest::newRow("Espacio, seven letters") << 71 << white;
        QTest::newRow("keypad 7") << 88 << white;
        QTest::newRow("keypad point") << 98 << white;
        QTest::newRow("Borr") << 28 << grey;
        QTest::newRow("B.May") << 42 << grey;
        QTest::newRow("Alt Gr") << 72 << grey;
        QTest::newRow("Ar") << 80 << grey;
        QTest::newRow("Int") << 68 << grey;
        QTest::newRow("<") << 56 << grey;
        QTest::newRow("keypad /") << 85 << grey;
        QTest::newRow("keypad *") << 86 << grey;
        QTest::newRow("keypad -") << 87 << grey;
        QTest::newRow("keypad +") << 99 << grey;
        QTest::newRow("keypad Int") << 100 << grey;
        QTest::newRow("main -") << 66 << white;
    }

    void restingColours()
    {
        QFETCH(int, number);
        QFETCH(QColor, colour);
        QCOMPARE(restingKeyColour(number), colour);
    }

    void selectionMovesOn_data()
    {
        QTest::addColumn<int>("player");
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("nextPlayer");
        QTest::addColumn<int>("nextControl");
        QTest::newRow("coin to start") << 0 << 0 << 0 << 1;
        QTest::newRow("button 9 to 10") << 2 << 14 << 2 << 15;
        QTest::newRow("player 2 button 10 to player 3 coin") << 1 << 15 << 2 << 0;
        QTest::newRow("player 4 wraps to player 1") << 3 << 15 << 0 << 0;
    }

    void selectionMovesOn()
    {
        QFETCH(int, player);
        QFETCH(int, control);
        QFETCH(int, nextPlayer);
        QFETCH(int, nextControl);
        QCOMPARE(nextSelection({player, control}), (Selection{nextPlayer, nextControl}));
    }

    void takenKeys()
    {
        KeyTable table = emptyKeyTable();
        table[1][5] = 43;
        QVERIFY(!TeclaYaAsignada(table, 43, 1, 5)); // its own cell
        QVERIFY(TeclaYaAsignada(table, 43, 1, 4));  // another control of the player
        QVERIFY(TeclaYaAsignada(table, 43, 0, 5));  // the same control of another player
        QVERIFY(TeclaYaAsignada(table, 43, 3, 15));
        QVERIFY(!TeclaYaAsignada(table, 44, 0, 0));
        table[3][15] = 43; // the last cell counts too
        QVERIFY(TeclaYaAsignada(table, 43, 1, 5));
        // "No key" is never taken.
        QVERIFY(!TeclaYaAsignada(emptyKeyTable(), 17, 0, 0));
    }
};

QTEST_GUILESS_MAIN(KeyAssignmentTest)
#include "tst_keyassignment.moc"
