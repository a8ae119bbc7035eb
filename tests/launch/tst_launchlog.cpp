// "Ver  Log": what the emulator printed at the last launch, in a message box, or in a
// scrolling viewer when it would not fit on the screen.

#include "launch/LaunchRig.h"
#include "widgets/LabelButton.h"

#include <QApplication>
#include <QDialog>
#include <QListView>
#include <QTimer>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class LaunchLogTest : public QObject {
    Q_OBJECT

private slots:
    void logOfTheLastLaunch_data()
    {
        QTest::addColumn<bool>("launch");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("before any launch") << false << false << "Visor de Sucesos."
                                           << "No hay sucesos.";
        QTest::newRow("silent emulator") << true << true << "Visor de Sucesos."
                                         << "No hay sucesos.";
        QTest::newRow("emulator output") << true << false << "Visor de sucesos."
                                         << "Juego cargado: Galaxian 'Deluxe'\r\n\r\nSucesos:"
                                            "\r\n\r\nLoading \"Galaxian 'Deluxe'\" (galaxn)"
                                            "\r\ngalaxn: running, line 2 of 2\r\n";
    }

    void logOfTheLastLaunch()
    {
        QFETCH(bool, launch);
        QFETCH(bool, silent);
        QFETCH(QString, title);
        QFETCH(QString, text);
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian 'Deluxe'"));
        rig.addDirective("run-lines", QStringLiteral("2"));
        rig.addDirective("run-silent", silent ? QStringLiteral("1") : QStringLiteral("0"));
        rig.install();
        if (launch)
            rig.doubleClickRow(0);
        QTest::mouseClick(rig.window.lblLog, Qt::LeftButton);
        QCOMPARE(rig.program.dialogs.shown.size(), 1);
        const ShownMessage& shown = rig.program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::None);
        QCOMPARE(shown.title, title);
        QCOMPARE(shown.text, text);
        QVERIFY(!shown.longText);
    }

    void nothingWhileBusy()
    {
        LaunchRig rig;
        rig.program.state.LastLaunchLog = QStringLiteral("x\r\n");
        rig.program.state.EmulatorBusy = true;
        QTest::mouseClick(rig.window.lblLog, Qt::LeftButton);
        QVERIFY(rig.program.dialogs.shown.isEmpty());
    }

    void thousandsOfLinesGoToTheScrollingViewer()
    {
        LaunchRig rig;
        rig.addGame(QStringLiteral("galaxn"), QStringLiteral("Galaxian"));
        rig.addDirective("run-lines", QStringLiteral("5000"));
        rig.install();
        rig.doubleClickRow(0);
        QTest::mouseClick(rig.window.lblLog, Qt::LeftButton);
        QCOMPARE(rig.program.dialogs.shown.size(), 1);
        const ShownMessage& shown = rig.program.dialogs.shown.first();
        QVERIFY(shown.longText);
        QCOMPARE(shown.title, QStringLiteral("Visor de sucesos."));
        QCOMPARE(shown.text, QStringLiteral("Juego cargado: Galaxian\r\n\r\nSucesos:\r\n\r\n") +
                                 rig.program.state.LastLaunchLog);
    }

    void scrollingViewerShowsTheWholeText()
    {
        QString text;
        for (int i = 1; i <= 200000; ++i)
            text += QStringLiteral("línea %1 de la salida\r\n").arg(i);
        QString title;
        QStringList shownLines;
        int rows = 0;
        QTimer::singleShot(0, qApp, [&] {
            auto* viewer = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            const auto* view = viewer ? viewer->findChild<QListView*>() : nullptr;
            if (!view)
                return;
            title = viewer->windowTitle();
            rows = view->model()->rowCount();
            for (const int row : {0, 1, rows - 1})
                shownLines << view->model()->index(row, 0).data().toString();
            viewer->accept();
        });
        MessageBoxDialogs().showLongText(nullptr, QStringLiteral("Visor de sucesos."), text);
        QCOMPARE(title, QStringLiteral("Visor de sucesos."));
        QCOMPARE(rows, 200000);
        QCOMPARE(shownLines, QStringList({QStringLiteral("línea 1 de la salida"),
                                          QStringLiteral("línea 2 de la salida"),
                                          QStringLiteral("línea 200000 de la salida")}));
    }
};

QTEST_MAIN(LaunchLogTest)
#include "tst_launchlog.moc"
