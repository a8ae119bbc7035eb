// The main window around its game list: the list grows with the window, the bottom row
// follows the bottom edge, and a window made too small snaps back.

#include "app/Layout.h"
#include "app/frmCargador.h"
#include "support/EmulatorFolder.h"
#include "widgets/LabelButton.h"

#include <QLabel>
#include <QListWidget>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

QRect pixelsOf(const QRect& twips)
{
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}

// The client size of a window whose outer size is that many twips.
QSize clientOf(int outerWidth, int outerHeight)
{
    return QSize((outerWidth - 120) / 15, (outerHeight - 450) / 15);
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void layoutFollowsTheOuterSize_data()
    {
        // Outer sizes in twips as the user drags them, and what they give, in twips.
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("snappedOuter");
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QRect>("status");
        QTest::addColumn<QRect>("log");
        const QRect designList(2160, 30, 4860, 2565);
        const QRect designStatus(2160, 2625, 4125, 255);
        const QRect designLog(6300, 2625, 720, 255);
        QTest::newRow("design") << QSize(7185, 3330) << QSize(7185, 3330) << designList
                                << designStatus << designLog;
        QTest::newRow("larger") << QSize(8685, 4830) << QSize(8685, 4830)
                                << QRect(2160, 30, 6360, 4065) << QRect(2160, 4125, 5625, 255)
                                << QRect(7800, 4125, 720, 255);
        QTest::newRow("narrower") << QSize(6000, 3330) << QSize(7185, 3330) << designList
                                  << designStatus << designLog;
        QTest::newRow("3300 high")
            << QSize(7185, 3300) << QSize(7185, 3300) << QRect(2160, 30, 4860, 2535)
            << QRect(2160, 2595, 4125, 255) << QRect(6300, 2595, 720, 255);
        QTest::newRow("3285 high")
            << QSize(7185, 3285) << QSize(7185, 3285) << QRect(2160, 30, 4860, 2520)
            << QRect(2160, 2580, 4125, 255) << QRect(6300, 2580, 720, 255);
        QTest::newRow("3270 high")
            << QSize(7185, 3270) << QSize(7185, 3330) << designList << designStatus << designLog;
        QTest::newRow("narrow and wide high")
            << QSize(2000, 4830) << QSize(7185, 4830) << QRect(2160, 30, 4860, 4065)
            << QRect(2160, 4125, 4125, 255) << QRect(6300, 4125, 720, 255);
        QTest::newRow("tiny") << QSize(450, 600) << QSize(7185, 3330) << designList << designStatus
                              << designLog;
    }

    void layoutFollowsTheOuterSize()
    {
        QFETCH(QSize, outer);
        QFETCH(QSize, snappedOuter);
        QFETCH(QRect, list);
        QFETCH(QRect, status);
        QFETCH(QRect, log);
        const MainWindowLayout layout = mainWindowLayout(clientOf(outer.width(), outer.height()));
        QCOMPARE(layout.clientSize, clientOf(snappedOuter.width(), snappedOuter.height()));
        QCOMPARE(layout.lstJuegos, pixelsOf(list));
        QCOMPARE(layout.lblEstado, pixelsOf(status));
        QCOMPARE(layout.lblLog, pixelsOf(log));
    }

    void windowSnapsBackAndKeepsTheButtonColumn()
    {
        EmulatorFolder folder;
        Program program(folder.path());
        frmCargador window(program.context);
        window.resize(designClientSize());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect buttons = window.lblDirectorio->geometry();

        window.resize(571, 292);
        QTRY_COMPARE(window.lstJuegos->geometry(), pixelsOf(QRect(2160, 30, 6360, 4065)));
        QCOMPARE(window.lblLog->geometry(), pixelsOf(QRect(7800, 4125, 720, 255)));

        window.resize(300, 100);
        QTRY_COMPARE(window.size(), QSize(471, 192));
        QTRY_COMPARE(window.lstJuegos->geometry(), pixelsOf(QRect(2160, 30, 4860, 2565)));
        QCOMPARE(window.lblEstado->geometry(), pixelsOf(QRect(2160, 2625, 4125, 255)));
        QCOMPARE(window.lblDirectorio->geometry(), buttons);
    }

    void minimizedWindowKeepsItsControls()
    {
        EmulatorFolder folder;
        Program program(folder.path());
        frmCargador window(program.context);
        window.resize(571, 292);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(window.lstJuegos->width(), 424);
        window.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(window.isMinimized());
        window.resize(200, 100);
        QTest::qWait(50);
        QCOMPARE(window.lstJuegos->width(), 424);
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
