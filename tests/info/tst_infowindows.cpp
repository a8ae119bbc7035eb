// The About window and the release notes, as the user meets them from the main window.

#include "engine/version/ReleaseNotes.h"
#include "gui/app/frmCargador.h"
#include "gui/info/LinkLabel.h"
#include "gui/info/frmAcercaDe.h"
#include "gui/info/frmHistorial.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

class InfoWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // The program's own font, which the windows' design sizes are made for.
    void initTestCase() { QApplication::setFont(windowFont()); }

    void aboutWindowAndReleaseNotesAsTheUserMeetsThem()
    {
        EmulatorFolder folder;
        Program program(folder.path());
        frmCargador window(program.context);
        window.show();
        QTest::mouseClick(window.Label1, Qt::LeftButton);
        frmAcercaDe* about = window.findChild<frmAcercaDe*>();
        QVERIFY(about && about->isVisible() && about->isModal());
        QStringList texts;
        const QList<QLabel*> labels = about->findChildren<QLabel*>();
        for (const QLabel* one : labels) {
            texts << one->text();
            QVERIFY2(about->rect().contains(one->geometry()), qPrintable(one->objectName()));
            for (const QLabel* other : labels)
                QVERIFY2(one == other || !one->geometry().intersects(other->geometry()),
                         qPrintable(one->objectName() + " " + other->objectName()));
        }
        QCOMPARE(texts.join('|'),
                 QStringLiteral("Acerca de...  ¡El Zefrin!|Versión:|0.21a|Creado por:|El equipo de "
                                "desarrollo de Zefrin!|Páginas de interés:|mamedev.org|Página "
                                "oficial (inglés)|www.emulatronia.com|Página multitud de ROMs "
                                "(Español)|Notas de las versiones|OK|"));
        QVERIFY(about->lblMame->font().underline() &&
                about->lblEnlaceRoms->cursor().shape() == Qt::PointingHandCursor);
        QTest::mouseClick(window.Label1, Qt::LeftButton);
        QCOMPARE(window.findChildren<frmAcercaDe*>().size(), 1);

        // Every click on a link asks the browser anew; one that cannot be opened is said.
        QTest::mouseClick(about->lblMame, Qt::LeftButton);
        QTest::mouseClick(about->lblMame, Qt::LeftButton);
        QTest::mouseClick(about->lblEnlaceRoms, Qt::LeftButton);
        QCOMPARE(program.desktop.openedUrls,
                 QList<QUrl>({QUrl("https://mamedev.org/"), QUrl("https://mamedev.org/"),
                              QUrl("https://www.emulatronia.com/")}));
        program.desktop.succeed = false;
        QTest::mouseClick(about->lblEnlaceRoms, Qt::LeftButton);
        QCOMPARE(program.dialogs.shown.size(), 1);
        QVERIFY(program.dialogs.shown.first().text.contains("https://www.emulatronia.com/"));

        QTest::mouseClick(about->lblSalir[0], Qt::LeftButton);
        auto* notes = about->findChild<frmHistorial*>();
        QVERIFY(notes && notes->isVisible() && notes->isModal() && notes->Text1->isReadOnly());
        const QString text = notes->Text1->toPlainText();
        QCOMPARE(text, releaseNotes().replace("\r\n", "\n"));
        // The version heading, then the releases newest first.
        QCOMPARE(text.split('\n').filter(QRegularExpression("^(Z e f r i n|Cambios)")),
                 QStringList({"Z e f r i n !      v0.21a", "Cambios en la versión 0.21a",
                              "Cambios en la versión 0.20d", "Cambios en la versión 0.20c",
                              "Cambios en la versión 0.20b", "Cambios para la versión 0.10"}));
        QTest::mouseClick(notes->lblSalir, Qt::LeftButton);
        QVERIFY(!notes->isVisible() && about->isVisible());
        QTest::mouseClick(about->lblSalir[1], Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "tst_infowindows.moc"
