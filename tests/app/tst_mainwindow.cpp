// The main window as a user sees it, the About window and release notes it opens, and the
// emulator folder given back when it closes.

#include "engine/input/KeySwitch.h"
#include "gui/app/frmCargador.h"
#include "gui/info/LinkLabel.h"
#include "gui/info/frmAcercaDe.h"
#include "gui/info/frmHistorial.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/ReadOnlyMount.h"
#include "support/Runs.h"

#include <QApplication>
#include <QListView>
#include <QPlainTextEdit>
#include <QtTest>

#include <list>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// The files of a session that exist, each with what it holds (line ends as slashes).
QString filesOf(const EmulatorFolder& folder)
{
    QStringList files;
    for (const char* name : {"cfg/default.bak", "cfg/default.cfg", "1.p", "2.p", "3.p", "4.p",
                             "abrir.bat", "all.bat", "mame.ini"})
        if (folder.exists(name))
            files << name + QStringLiteral("=") + folder.readFile(name).replace("\r\n", "/");
    return files.join(' ');
}

// A run of the program over the folder, from a CD or not, ended by closing its window: what it
// said, and a complaint of its own unless the window closed and took the launch log along.
QList<ShownMessage> closeRun(const EmulatorFolder& folder, const QString& records,
                             bool fromCd = false)
{
    Program program(folder.path());
    program.state.records = RunRecords::forFolder(folder.path(), records);
    program.state.CdMode = fromCd;
    frmCargador window(program.context);
    window.show();
    QFile log(program.state.scratch.logPath());
    if (!log.open(QIODevice::WriteOnly) || !window.close() || window.isVisible() || log.exists())
        program.dialogs.shown.append({Dialogs::Icon::None, "Not closed", "or the log stayed"});
    return program.dialogs.shown;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The program's own font, which the windows' design sizes are made for.
    void initTestCase() { QApplication::setFont(windowFont()); }

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

    // Pressed, the grey keys button shows it and goes back to grey; it says why it refuses, but
    // not while a game runs.
    void greyKeysButtonSaysWhyItRefuses()
    {
        program->state.keysAvailable = false;
        QTest::mousePress(window->lblTeclas, Qt::LeftButton);
        QCOMPARE(window->lblTeclas->backColour(), Colours::buttonPressed());
        QTest::mouseRelease(window->lblTeclas, Qt::LeftButton);
        QCOMPARE(window->lblTeclas->backColour(), Colours::disabledGrey());
        occupy(program->state.emulator, 2000);
        QTest::mouseClick(window->lblTeclas, Qt::LeftButton);
        QCOMPARE(program->dialogs.shown.size(), 1);
        const ShownMessage& shown = program->dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Information);
        QCOMPARE(shown.title + shown.text,
                 QStringLiteral("No es posible.Esta opción no está habilitada para pa versión de "
                                "M.A.M.E que tienes, actualiza la versión si quieres configurar "
                                "desde el Zefrin!."));
    }

    void layoutFollowsTheWindowSize_data()
    {
        // Client sizes in pixels as the user drags the window, and how far beyond the design size
        // of 471 x 192 (7185 x 3330 twips outside) the window then is: snapped back to it when
        // narrower, or lower than 189 (3285 twips outside). A minimized window keeps the controls
        // of its larger size.
        QTest::addColumn<QSize>("dragged");
        QTest::addColumn<QSize>("grown");
        QTest::addColumn<bool>("minimized");
        QTest::newRow("larger") << QSize(571, 292) << QSize(100, 100) << false;
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
        window->show();
        const QSize expected = QSize(471, 192) + grown;
        if (minimized) {
            window->resize(expected);
            window->setWindowState(Qt::WindowMinimized);
        }
        window->resize(dragged);
        if (!minimized)
            QTRY_COMPARE(window->size(), expected);
        const auto [dw, dh] = std::pair(grown.width(), grown.height());
        QCOMPARE(window->lstJuegos->geometry(), QRect(144, 2, 324 + dw, 171 + dh));
        QCOMPARE(window->lblEstado->geometry(), QRect(144, 175 + dh, 275 + dw, 17));
        QCOMPARE(window->lblLog->geometry(), QRect(420 + dw, 175 + dh, 48, 17));
        // The other controls stay at their design places, in twips, 15 to a pixel.
        const QList<QPair<const char*, QRect>> twips{{"lblDirectorio", {45, 1095, 2070, 255}},
                                                     {"lblLista", {45, 1365, 2070, 255}},
                                                     {"lblGestionar", {45, 1635, 2070, 255}},
                                                     {"lblTeclas", {45, 1995, 2070, 255}},
                                                     {"chkUsaControles", {105, 2280, 1935, 225}},
                                                     {"Shape1", {45, 2265, 2070, 255}},
                                                     {"Label1", {45, 2625, 2070, 255}},
                                                     {"Label5", {390, 840, 1350, 210}},
                                                     {"Label4", {795, 120, 1725, 300}}};
        for (const auto& [name, place] : twips)
            QCOMPARE(window->findChild<QWidget*>(name)->geometry(),
                     QRect(place.topLeft() / 15, place.size() / 15));
    }

    void aboutWindowAndReleaseNotesAsTheUserMeetsThem()
    {
        window->show();
        QTest::mouseClick(window->Label1, Qt::LeftButton);
        frmAcercaDe* about = window->findChild<frmAcercaDe*>();
        QVERIFY(about && about->isVisible() && about->isModal());
        QStringList texts;
        for (const QLabel* one : about->findChildren<QLabel*>())
            texts << one->text();
        QCOMPARE(texts.join('|'),
                 QStringLiteral("Acerca de...  ¡El Zefrin!|Versión:|0.21a|Creado por:|El equipo de "
                                "desarrollo de Zefrin!|Páginas de interés:|mamedev.org|Página "
                                "oficial (inglés)|www.emulatronia.com|Página multitud de ROMs "
                                "(Español)|Notas de las versiones|OK|"));
        QTest::mouseClick(window->Label1, Qt::LeftButton);
        QCOMPARE(window->findChildren<frmAcercaDe*>().size(), 1);

        // Every click on a link asks the browser anew; one that cannot be opened is said.
        QTest::mouseClick(about->lblMame, Qt::LeftButton);
        QTest::mouseClick(about->lblEnlaceRoms, Qt::LeftButton);
        QTest::mouseClick(about->lblMame, Qt::LeftButton);
        QCOMPARE(program->desktop.openedUrls,
                 QList<QUrl>({QUrl("https://mamedev.org/"), QUrl("https://www.emulatronia.com/"),
                              QUrl("https://mamedev.org/")}));
        program->desktop.succeed = false;
        QTest::mouseClick(about->lblEnlaceRoms, Qt::LeftButton);
        QCOMPARE(program->dialogs.shown.size(), 1);
        QVERIFY(program->dialogs.shown.first().text.contains("https://www.emulatronia.com/"));

        QTest::mouseClick(about->lblSalir[0], Qt::LeftButton);
        auto* notes = about->findChild<frmHistorial*>();
        QVERIFY(notes && notes->isVisible() && notes->isModal() && notes->Text1->isReadOnly());
        // The version heading, then the releases newest first.
        QCOMPARE(notes->Text1->toPlainText().split('\n').filter(
                     QRegularExpression("^(Z e f r i n|Cambios)")),
                 QStringList({"Z e f r i n !      v0.21a", "Cambios en la versión 0.21a",
                              "Cambios en la versión 0.20d", "Cambios en la versión 0.20c",
                              "Cambios en la versión 0.20b", "Cambios para la versión 0.10"}));
        QTest::mouseClick(notes->lblSalir, Qt::LeftButton);
        QVERIFY(!notes->isVisible() && about->isVisible());
        QTest::mouseClick(about->lblSalir[1], Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    // Closing (refused while a game runs: tst_launch) gives the emulator folder back as the user
    // had it, and whatever cannot be put back is said once.
    void closingGivesTheFolderBack()
    {
        // The folder as a session with defined keys on leaves it: the user's settings parked, and
        // the emulator's written since.
        QTemporaryDir records;
        folder->writeFile("cfg/default.cfg", "user");
        QCOMPARE(
            parkEmulatorInputFile(
                folder->path(), RunRecords::forFolder(folder->path(), records.path()).inputSettings)
                .outcome,
            Parking::Outcome::Parked);
        folder->writeFile("cfg/default.cfg", "emulator");
        for (const char* name : {"1.p", "abrir.bat", "all.bat"})
            folder->writeFile(name, "x");
        folder->writeFile("mame.ini", "rompath roms\r\nctrlr Zefrin\r\n");
        const QString left = filesOf(*folder);

        // From a CD, closing touches nothing in the folder.
        QVERIFY(closeRun(*folder, records.path(), true).isEmpty());
        QCOMPARE(filesOf(*folder), left);

        // What cannot be given back is said once, and every other step is still taken.
        const QString givenBack = "mame.ini=rompath roms/# ctrlr                 <NULL> (Not Set)/";
        QList<ShownMessage> said;
        {
            const ReadOnlyMount cfg(folder->filePath("cfg"));
            const ReadOnlyMount script(folder->filePath("all.bat"));
            if (!cfg.readOnly || !script.readOnly)
                QSKIP("read-only bind mounts need the right to mount");
            said = closeRun(*folder, records.path());
        }
        QCOMPARE(filesOf(*folder),
                 "cfg/default.bak=user cfg/default.cfg=emulator all.bat=x " + givenBack);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].title == "Error." && said[0].text.contains("'cfg/default.bak'") &&
                     said[0].text.contains("'all.bat'") && !said[0].text.contains("'1.p'"),
                 qPrintable(said[0].text));
        // The next run gives back the rest without a word.
        QVERIFY(closeRun(*folder, records.path()).isEmpty());
        QCOMPARE(filesOf(*folder), "cfg/default.cfg=user " + givenBack);
    }

    // The exchanges' temporary files go at close only when the program made them: a user's
    // own all.bat stays, also when the user changes it meanwhile. Those a copy ended by force
    // made go at the next start.
    void temporaryFilesGoOnlyWhenTheProgramMadeThem()
    {
        QTemporaryDir records;
        folder->installEmulator();
        folder->setVersion("0.70");
        folder->writeFile("all.bat", "echo mío\r\n");
        folder->writeFile("lista.txt", "Name:     Description:\r\n");
        folder->writeFile("mame.ini", "rompath roms\r\n");
        const QString usersOwn = "all.bat=echo mío/ mame.ini=rompath roms/";
        std::list<Program> programs;
        std::list<frmCargador> windows;
        const auto start = [&] {
            programs.emplace_back(folder->path());
            programs.back().state.records = RunRecords::forFolder(folder->path(), records.path());
            return loadToEnd(windows.emplace_back(programs.back().context));
        };
        QVERIFY(start());
        for (const char* name : {"1.p", "abrir.bat", "2.p", "3.p", "4.p"})
            folder->writeFile(name, "x");
        // Ended by force: no close.
        QVERIFY(start());
        QCOMPARE(filesOf(*folder), usersOwn);
        folder->writeFile("1.p", "x");
        QVERIFY(QFile::remove(folder->filePath("all.bat")));
        folder->writeFile("all.bat", "echo nuevo\r\n");
        windows.back().show();
        QVERIFY(windows.back().close());
        QCOMPARE(filesOf(*folder), "all.bat=echo nuevo/ mame.ini=rompath roms/");
    }

private:
    std::unique_ptr<EmulatorFolder> folder;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCargador> window;
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
