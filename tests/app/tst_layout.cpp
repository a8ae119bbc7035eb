// The main window around its game list: the list grows with the window, the bottom row
// follows the bottom edge, and a window made too small snaps back.

#include "gui/app/frmCargador.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"

#include <QListWidget>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void layoutFollowsTheWindowSize_data()
    {
        // Client sizes in pixels as the user drags the window, and how far beyond the design
        // size of 471 x 192 (7185 x 3330 twips outside) the window then is: snapped back to it
        // when narrower, or lower than 189 (3285 twips outside). A minimized window keeps the
        // controls of its larger size.
        QTest::addColumn<QSize>("dragged");
        QTest::addColumn<QSize>("grown");
        QTest::addColumn<bool>("minimized");
        QTest::newRow("larger") << QSize(571, 292) << QSize(100, 100) << false;
        QTest::newRow("narrower") << QSize(392, 192) << QSize(0, 0) << false;
        QTest::newRow("3285 twips high") << QSize(471, 189) << QSize(0, -3) << false;
        QTest::newRow("3270 twips high") << QSize(471, 188) << QSize(0, 0) << false;
        QTest::newRow("narrow and high") << QSize(125, 292) << QSize(0, 100) << false;
        QTest::newRow("minimized") << QSize(22, 10) << QSize(100, 100) << true;
    }

    void layoutFollowsTheWindowSize()
    {
        QFETCH(QSize, dragged);
        QFETCH(QSize, grown);
        QFETCH(bool, minimized);
        EmulatorFolder folder;
        Program program(folder.path());
        frmCargador window(program.context);
        window.show();
        const QRect buttons = window.lblDirectorio->geometry();
        const QSize expected = QSize(471, 192) + grown;
        if (minimized) {
            window.resize(expected);
            window.setWindowState(Qt::WindowMinimized);
        }
        window.resize(dragged);
        if (!minimized)
            QTRY_COMPARE(window.size(), expected);
        const auto [dw, dh] = std::pair(grown.width(), grown.height());
        QCOMPARE(window.lstJuegos->geometry(), QRect(144, 2, 324 + dw, 171 + dh));
        QCOMPARE(window.lblEstado->geometry(), QRect(144, 175 + dh, 275 + dw, 17));
        QCOMPARE(window.lblLog->geometry(), QRect(420 + dw, 175 + dh, 48, 17));
        QCOMPARE(window.lblDirectorio->geometry(), buttons);
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
