// The main window as a user sees it: where every control sits, what it says, its colours and
// the pressed look of its buttons; the list grows with the window, the bottom row follows the
// bottom edge, and a window made too small snaps back.

#include "gui/app/frmCargador.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/Runs.h"

#include <QCheckBox>
#include <QFrame>
#include <QListWidget>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        program = std::make_unique<Program>(folder->path());
        window = std::make_unique<frmCargador>(program->context);
    }

    void cleanup()
    {
        window.reset();
        program.reset();
        folder.reset();
    }

    void controlsSitAtTheirDesignPlaces_data()
    {
        // Design places in twips, 15 to a pixel.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        // (The list, the status line and "Ver  Log": layoutFollowsTheWindowSize.)
        QTest::newRow("lblDirectorio") << "lblDirectorio" << QRect(45, 1095, 2070, 255);
        QTest::newRow("lblLista") << "lblLista" << QRect(45, 1365, 2070, 255);
        QTest::newRow("lblGestionar") << "lblGestionar" << QRect(45, 1635, 2070, 255);
        QTest::newRow("lblTeclas") << "lblTeclas" << QRect(45, 1995, 2070, 255);
        QTest::newRow("chkUsaControles") << "chkUsaControles" << QRect(105, 2280, 1935, 225);
        QTest::newRow("Shape1") << "Shape1" << QRect(45, 2265, 2070, 255);
        QTest::newRow("Label1") << "Label1" << QRect(45, 2625, 2070, 255);
        QTest::newRow("Label5") << "Label5" << QRect(390, 840, 1350, 210);
        QTest::newRow("Label4") << "Label4" << QRect(795, 120, 1725, 300);
    }

    void controlsSitAtTheirDesignPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        const auto* control = window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        const QRect expected(twips.x() / 15, twips.y() / 15, twips.width() / 15,
                             twips.height() / 15);
        QCOMPARE(control->geometry(), expected);
    }

    void windowLook()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("El Front End para M.A.M.E"));
        QCOMPARE(window->palette().color(QPalette::Window), QColor(15, 63, 96));
        QCOMPARE(window->chkUsaControles->text(), QStringLiteral("Utilizar teclas definidas"));
        QCOMPARE(window->chkUsaControles->toolTip(),
                 QStringLiteral("Marca esta casilla si quieres utilizar las terclas definidas "
                                "desde el Zefrin!"));
        QCOMPARE(window->checkBoxColour(), Colours::buttonNormal());
        for (auto* button : window->findChildren<LabelButton*>()) {
            QCOMPARE(button->backColour(), Colours::buttonNormal());
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(button->alignment(), Qt::AlignCenter);
        }
    }

    void buttonsShowThePressedColourWhileHeld_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("busy"); // the look shows while a game runs too
        for (const char* name :
             {"Label1", "lblDirectorio", "lblGestionar", "lblLista", "lblLog", "lblTeclas"}) {
            QTest::newRow(name) << name << false;
            QTest::newRow(qPrintable(QString::fromLatin1(name) + " busy")) << name << true;
        }
    }

    void buttonsShowThePressedColourWhileHeld()
    {
        QFETCH(QString, name);
        QFETCH(bool, busy);
        if (busy)
            occupy(program->state.emulator, 2000);
        auto* button = window->findChild<LabelButton*>(name);
        QVERIFY(button);
        QTest::mousePress(button, Qt::LeftButton);
        QCOMPARE(button->backColour(), Colours::buttonPressed());
        // Released off the button: the look comes back, but no command runs.
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(button->backColour(), Colours::buttonNormal());
    }

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
        frmCargador& window = *this->window;
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
    void greyKeysButtonFlashesAndStaysGreyAndRefuses()
    {
        window->lblTeclas->setBackColour(Colours::disabledGrey());
        QTest::mousePress(window->lblTeclas, Qt::LeftButton);
        QCOMPARE(window->lblTeclas->backColour(), Colours::buttonPressed());
        QVERIFY(!window->KeysButtonWasActive);
        QTest::mouseRelease(window->lblTeclas, Qt::LeftButton);
        QCOMPARE(window->lblTeclas->backColour(), Colours::disabledGrey());
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("No es posible."));
        QCOMPARE(shown.text, QStringLiteral("Esta opción no está habilitada para pa versión de "
                                            "M.A.M.E que tienes, actualiza la versión si quieres "
                                            "configurar desde el Zefrin!."));
    }

    void greyKeysButtonIsSilentWhileBusy()
    {
        window->lblTeclas->setBackColour(Colours::disabledGrey());
        occupy(program->state.emulator, 2000);
        QTest::mouseClick(window->lblTeclas, Qt::LeftButton);
        QCOMPARE(window->lblTeclas->backColour(), Colours::disabledGrey());
        QVERIFY(program->dialogs.shown.isEmpty());
    }

    void greyCheckBoxKeepsItsGreyThroughAPress()
    {
        window->setCheckBoxColour(Colours::disabledGrey());
        QTest::mousePress(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::buttonPressed());
        QTest::mouseRelease(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::disabledGrey());
        window->setCheckBoxColour(Colours::buttonNormal());
        QTest::mousePress(window->chkUsaControles, Qt::LeftButton);
        QTest::mouseRelease(window->chkUsaControles, Qt::LeftButton);
        QCOMPARE(window->checkBoxColour(), Colours::buttonNormal());
        QVERIFY(window->KeysButtonWasActive);
    }

private:
    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
