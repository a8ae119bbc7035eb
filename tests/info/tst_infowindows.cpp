// The About window and the release notes, as the user meets them from the main window.

#include "app/frmCargador.h"
#include "info/LinkLabel.h"
#include "info/ReleaseNotes.h"
#include "info/frmAcercaDe.h"
#include "info/frmHistorial.h"
#include "support/EmulatorFolder.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"

#include <QApplication>
#include <QFrame>
#include <QPlainTextEdit>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

QPoint pixelsOf(int left, int top)
{
    return QPoint(left / 15, top / 15);
}

QColor textColour(QWidget* widget)
{
    widget->ensurePolished();
    return widget->palette().color(widget->foregroundRole());
}

} // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;

    frmAcercaDe* openAbout()
    {
        QTest::mouseClick(window->Label1, Qt::LeftButton);
        return window->findChild<frmAcercaDe*>();
    }

private slots:
    void initTestCase()
    {
        // The program's own font, which the window's design sizes are made for.
        QApplication::setFont(windowFont());
    }

    void init()
    {
        folder = std::make_unique<EmulatorFolder>();
        program = std::make_unique<Program>(folder->path());
        window = std::make_unique<frmCargador>(program->context);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        window.reset();
        program.reset();
        folder.reset();
    }

    void aboutOpensModallyOverTheMainWindowOnlyWhenIdle()
    {
        program->state.EmulatorBusy = true;
        QTest::mouseClick(window->Label1, Qt::LeftButton);
        QVERIFY(!window->findChild<frmAcercaDe*>());
        program->state.EmulatorBusy = false;
        frmAcercaDe* about = openAbout();
        QVERIFY(about && about->isVisible() && about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("Acerca de...  ¡El Zefrin!"));
        QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(about->size(), QSize(368, 217));
        QCOMPARE(about->palette().color(QPalette::Window), Colours::windowBackground());
        QTest::mouseClick(window->Label1, Qt::LeftButton);
        QCOMPARE(window->findChildren<frmAcercaDe*>().size(), 1);
        QTest::mouseClick(about->lblSalir[1], Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    void aboutControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QColor>("colour");
        const QColor white(Qt::white);
        const QColor teal(0, 128, 128);
        QTest::newRow("Label5") << "Label5"
                                << "Acerca de...  ¡El Zefrin!" << pixelsOf(1440, 75) << white;
        QTest::newRow("Label1") << "Label1"
                                << "Versión:" << pixelsOf(150, 375) << white;
        QTest::newRow("Label6") << "Label6"
                                << "0.21a" << pixelsOf(360, 675) << teal;
        QTest::newRow("Label2") << "Label2"
                                << "Creado por:" << pixelsOf(135, 975) << white;
        QTest::newRow("Label4") << "Label4"
                                << "Páginas de interés:" << pixelsOf(135, 1590) << white;
        QTest::newRow("lblMame") << "lblMame"
                                 << "mamedev.org" << pixelsOf(330, 1875) << teal;
        QTest::newRow("Label10") << "Label10"
                                 << "Página oficial (inglés)" << pixelsOf(1500, 1875) << white;
        QTest::newRow("lblEnlaceRoms") << "lblEnlaceRoms"
                                       << "www.emulatronia.com" << pixelsOf(330, 2130) << teal;
        QTest::newRow("Label12") << "Label12"
                                 << "Página multitud de ROMs (Español)" << pixelsOf(2550, 2145)
                                 << white;
    }

    void aboutControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QPoint, place);
        QFETCH(QColor, colour);
        frmAcercaDe* about = openAbout();
        auto* label = about->findChild<QLabel*>(name);
        QVERIFY2(label, qPrintable(name));
        QCOMPARE(label->text(), text);
        QCOMPARE(label->pos(), place);
        QCOMPARE(textColour(label), colour);
        QVERIFY2(label->geometry().right() < about->width(), "inside the window");
        if (auto* link = qobject_cast<LinkLabel*>(label)) {
            QVERIFY(link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
    }

    void captionsDoNotOverlap()
    {
        frmAcercaDe* about = openAbout();
        const QList<QLabel*> labels = about->findChildren<QLabel*>();
        for (const QLabel* one : labels)
            for (const QLabel* other : labels)
                QVERIFY2(one == other || !one->geometry().intersects(other->geometry()),
                         qPrintable(one->objectName() + " " + other->objectName()));
    }

    void linksOpenTheBrowserEveryTime()
    {
        frmAcercaDe* about = openAbout();
        QTest::mouseClick(about->lblMame, Qt::LeftButton);
        QTest::mouseClick(about->lblMame, Qt::LeftButton);
        QTest::mouseClick(about->lblEnlaceRoms, Qt::LeftButton);
        const QList<QUrl>& opened = program->desktop.openedUrls;
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0], opened[1]);
        QCOMPARE(opened[0].host(), QStringLiteral("mamedev.org"));
        QCOMPARE(opened[2].host(), QStringLiteral("www.emulatronia.com"));
        QVERIFY(program->dialogs.shown.isEmpty());

        program->desktop.succeed = false;
        QTest::mouseClick(about->lblEnlaceRoms, Qt::LeftButton);
        QCOMPARE(program->dialogs.shown.size(), 1);
        QVERIFY(program->dialogs.shown.first().text.contains(opened[2].toString()));
        QVERIFY(about->isVisible());
    }

    void buttonsFlashTheLighterBlue()
    {
        frmAcercaDe* about = openAbout();
        QCOMPARE(about->lblSalir[0]->text(), QStringLiteral("Notas de las versiones"));
        QCOMPARE(about->lblSalir[0]->geometry(), QRect(163, 191, 152, 17));
        QCOMPARE(about->lblSalir[1]->text(), QStringLiteral("OK"));
        QCOMPARE(about->lblSalir[1]->geometry(), QRect(317, 191, 42, 17));
        for (LabelButton* button : about->lblSalir) {
            QCOMPARE(button->backColour(), Colours::buttonNormal());
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(-1, -1));
            QCOMPARE(button->backColour(), Colours::buttonPressed());
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-1, -1));
            QCOMPARE(button->backColour(), Colours::buttonNormal());
        }
    }

    void notesOpenOverAboutAndOkReturnsToIt()
    {
        frmAcercaDe* about = openAbout();
        QTest::mouseClick(about->lblSalir[0], Qt::LeftButton);
        auto* notes = about->findChild<frmHistorial*>();
        QVERIFY(notes && notes->isVisible() && notes->isModal());
        QCOMPARE(notes->windowTitle(), QStringLiteral("Historial"));
        QVERIFY(notes->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(notes->size(), QSize(313, 195));
        QCOMPARE(notes->lblSalir->text(), QStringLiteral("OK"));
        QCOMPARE(notes->lblSalir->pos(), pixelsOf(3975, 2565));
        QCOMPARE(notes->Text1->geometry(), QRect(5, 57, 303, 112));
        QVERIFY(notes->Text1->isReadOnly());
        QCOMPARE(notes->Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        notes->Text1->ensurePolished();
        QCOMPARE(notes->Text1->palette().color(QPalette::Base), Colours::buttonPressed());
        QCOMPARE(notes->Text1->toPlainText(),
                 releaseNotes().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QTest::mouseClick(notes->lblSalir, Qt::LeftButton);
        QVERIFY(!notes->isVisible());
        QVERIFY(about->isVisible());
    }

    void releaseNotesInTheirOrder()
    {
        const QString notes = releaseNotes();
        QVERIFY(notes.endsWith(QStringLiteral("\r\n")));
        QVERIFY(!notes.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
        const QStringList lines = notes.split(QStringLiteral("\r\n"));
        QVERIFY(lines[0].startsWith(QStringLiteral("Z e f r i n !")));
        QVERIFY(lines[0].endsWith(QStringLiteral("v0.21a")));
        const QStringList sections = {QStringLiteral("Cambios en la versión 0.21a"),
                                      QStringLiteral("Cambios en la versión 0.20d"),
                                      QStringLiteral("Cambios en la versión 0.20c"),
                                      QStringLiteral("Cambios en la versión 0.20b"),
                                      QStringLiteral("Cambios para la versión 0.10")};
        // Heading, blank, paragraph, blank, paragraph, blank: then the first section.
        QCOMPARE(lines.indexOf(sections[0]), 6);
        QCOMPARE(lines.mid(1, 5).count(QString()), 3);
        qsizetype previous = 0;
        for (const QString& section : sections) {
            const qsizetype at = lines.indexOf(section);
            QVERIFY2(at > previous, qPrintable(section));
            QVERIFY2(lines.value(at + 1).startsWith(QStringLiteral("- ")), qPrintable(section));
            previous = at;
        }
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "tst_infowindows.moc"
