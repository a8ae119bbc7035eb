// The ROM manager window as a user meets it: its controls, its two lists, the guard that keeps
// one command at a time, and every command run through its buttons against the stand-in.

#include "ManagerFolder.h"
#include "app/frmCargador.h"
#include "romman/frmGestionar.h"
#include "widgets/Colours.h"
#include "widgets/LabelButton.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString searchQuestion = QStringLiteral("¿De verdad deseas buscar?");

// A loaded, shown ROM manager over a stand-in emulator folder.
struct Manager {
    explicit Manager(std::vector<fx::Directive> directives = {})
        : folder(managerCollection(std::move(directives)))
        , program(folder.path())
    {
        program.state.pendingRenameRecord = folder.recordPath();
    }

    bool load()
    {
        window = std::make_unique<frmGestionar>(program.context);
        const bool loaded = window->Form_Load();
        window->show();
        return loaded;
    }

    QStringList titlesShown() const
    {
        QStringList titles;
        for (const ShownMessage& shown : program.dialogs.shown)
            titles << shown.title;
        return titles;
    }

    ManagerFolder folder;
    Program program;
    std::unique_ptr<frmGestionar> window;
};

void clickItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
    QVERIFY(items.first()->isSelected());
}

void click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `step` once from inside the next wait for the emulator.
void duringNextWait(const std::function<void()>& step)
{
    QTimer::singleShot(0, step);
}

QStringList itemsOf(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// Runs `step` once on the ROM manager as soon as it is open and showing, modally.
void onceManagerOpens(const std::function<void(frmGestionar&)>& step)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        auto* manager = qobject_cast<frmGestionar*>(QApplication::activeModalWidget());
        if (!manager || !manager->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        step(*manager);
    });
    poll->start();
}

// Keeps the emulator busy for a moment on the game-list command, so that a wait really
// runs the window's events.
fx::Directive slowList()
{
    return {"listfull-delay-ms", "200", ""};
}

} // namespace

class FrmGestionarTest : public QObject {
    Q_OBJECT

private slots:
    void controlsSitAtTheirDesignPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Label2") << "Label2"
                                << "Carpeta ROMs"
                                << "" << QRect(525, 90, 1260, 195);
        QTest::newRow("Label1") << "Label1"
                                << "ROMs soportadas por esta versión de M.A.M.E"
                                << "" << QRect(3750, 90, 3990, 195);
        QTest::newRow("ROMs") << "ROMs"
                              << ""
                              << "" << QRect(105, 315, 2175, 3150);
        QTest::newRow("lstJuegos") << "lstJuegos"
                                   << ""
                                   << "" << QRect(2325, 315, 7125, 3150);
        QTest::newRow("Estado") << "Estado"
                                << ""
                                << "" << QRect(3015, 1005, 3780, 1650);
        QTest::newRow("Label4") << "Label4"
                                << "Número de ROMs emuladas:"
                                << "" << QRect(330, 195, 2445, 195);
        QTest::newRow("Label7") << "Label7"
                                << "Número de ROMs Analizadas:"
                                << "" << QRect(330, 480, 2565, 195);
        QTest::newRow("Label9") << "Label9"
                                << "Progreso:"
                                << "" << QRect(330, 795, 855, 195);
        QTest::newRow("progreso") << "progreso"
                                  << ""
                                  << "" << QRect(1260, 795, 2175, 210);
        QTest::newRow("lblCancelar")
            << "lblCancelar"
            << "Cancelar"
            << "Cancelar el proceso de búsqueda" << QRect(1335, 1260, 975, 255);
        QTest::newRow("Label3") << "Label3"
                                << "Titulo para el archivo:"
                                << "" << QRect(795, 3555, 1995, 195);
        QTest::newRow("lblContiene") << "lblContiene"
                                     << "Detalles"
                                     << "Detalles del archivo .zip" << QRect(105, 3525, 705, 255);
        QTest::newRow("Label5") << "Label5"
                                << "Nombre de la ROM seleccionada:"
                                << "" << QRect(795, 3840, 2985, 195);
        QTest::newRow("lblArchivosJuego")
            << "lblArchivosJuego"
            << "Detalles"
            << "Detalles del juego seleccionado" << QRect(105, 3810, 705, 255);
        QTest::newRow("lblBuscar")
            << "lblBuscar"
            << "Buscar ROM compatible"
            << "Busca un juego emulable compatible para el archivo seleccionado, entre todos los "
               "juegos emulables de M.A.M.E"
            << QRect(105, 4140, 2070, 255);
        QTest::newRow("lblCompara")
            << "lblCompara"
            << "Comparar ROMs"
            << "Compara el archivo seleccionado con el juego para ver si son compatibles"
            << QRect(2190, 4140, 2070, 255);
        QTest::newRow("lblActualizar")
            << "lblActualizar"
            << "Actualizar ROM"
            << "Cambiar el archivo seleccionado al archivo para el juego seleccionado."
            << QRect(4275, 4140, 2070, 255);
        QTest::newRow("lblSalir") << "lblSalir(1)"
                                  << "Salir"
                                  << "Pues, salir, que otra cosa puede ser."
                                  << QRect(8820, 4140, 630, 255);
    }

    void controlsSitAtTheirDesignPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(QRect, twips);
        Manager manager;
        frmGestionar window(manager.program.context);
        const auto* control = window.findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(),
                 twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        QCOMPARE(control->toolTip(), toolTip);
        if (const auto* label = qobject_cast<const QLabel*>(control))
            QCOMPARE(label->text(), caption);
    }

    void lookAndFonts()
    {
        Manager manager;
        frmGestionar window(manager.program.context);
        QVERIFY(window.windowTitle().isEmpty());
        QCOMPARE(window.palette().color(QPalette::Window), Colours::windowBackground());
        QVERIFY(window.Estado->isHidden());
        for (LabelButton* button :
             {window.lblBuscar, window.lblCompara, window.lblActualizar, window.lblSalir,
              window.lblContiene, window.lblArchivosJuego, window.lblCancelar}) {
            QCOMPARE(button->backColour(), Colours::buttonNormal());
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(button->font().bold(), button == window.lblSalir);
        }
        for (QLabel* label : {window.Label1, window.Label2, window.Label3, window.Label4,
                              window.Label5, window.Label7, window.Label9}) {
            QVERIFY(label->font().bold());
            QVERIFY(label->styleSheet().contains("white"));
        }
        for (QLabel* value :
             {window.lblTitulo, window.lblArchivo, window.lblTotal, window.lblActual}) {
            QVERIFY(value->text().isEmpty());
            QVERIFY(value->styleSheet().contains(Colours::statusTeal().name()));
        }
        QVERIFY(window.ROMs->font().pixelSize() > window.lstJuegos->font().pixelSize());
        QVERIFY(window.lstJuegos->styleSheet().contains(Colours::listBackground().name()));
        QCOMPARE(window.findChildren<QFrame*>(QRegularExpression("^Line[1-8]$")).size(), 8);
    }

    void pressedLook_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pressedLook");
        QTest::newRow("lblActualizar") << "lblActualizar" << true;
        QTest::newRow("lblCancelar") << "lblCancelar" << true;
        QTest::newRow("lblSalir") << "lblSalir(1)" << true;
        QTest::newRow("lblBuscar") << "lblBuscar" << false;
        QTest::newRow("lblCompara") << "lblCompara" << false;
        QTest::newRow("lblContiene") << "lblContiene" << false;
    }

    void pressedLook()
    {
        QFETCH(QString, name);
        QFETCH(bool, pressedLook);
        Manager manager;
        frmGestionar window(manager.program.context);
        auto* button = window.findChild<LabelButton*>(name);
        QVERIFY(button);
        // Even while a command runs: the look does not ask the guard.
        window.ManagerBusy = true;
        QTest::mousePress(button, Qt::LeftButton);
        QCOMPARE(button->backColour(),
                 pressedLook ? Colours::buttonPressed() : Colours::buttonNormal());
        QTest::mouseRelease(button, Qt::LeftButton);
        QCOMPARE(button->backColour(), Colours::buttonNormal());
    }

    void loadingFillsBothLists()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "puckman.zip");
        manager.folder.goodArchive("galaga", "GALAGA.ZIP");
        manager.folder.foreignArchive("misterio.zip");
        manager.folder.folder.writeFile("roms/leeme.txt", "x");
        manager.folder.folder.makeFolder("roms/carpeta.zip");
        // An old list: the window asks the emulator for a new one.
        manager.folder.folder.writeFile("lista.txt",
                                        "Name:     Description:\r\nviejo     \"Viejo\"\r\n");
        QVERIFY(manager.load());
        QCOMPARE(itemsOf(manager.window->ROMs),
                 (QStringList{"GALAGA.ZIP", "misterio.zip", "puckman.zip"}));
        QCOMPARE(itemsOf(manager.window->lstJuegos),
                 (QStringList{"Come Cocos", "Donkey Kong", "Galaga Espacial", "Tetrix"}));
        QCOMPARE(manager.folder.folder.readFile("all.bat"),
                 QByteArray("mame -listfull > lista.txt\r\n"));
        QCOMPARE(manager.folder.emulatorCalls(), QStringList{"-listfull"});
        QCOMPARE(manager.window->size(), QSize(pixels(9450), pixels(4395)));
        QVERIFY(manager.program.dialogs.shown.isEmpty());
        QCOMPARE(manager.window->cursor().shape(), Qt::ArrowCursor);
    }

    void loadingWithoutAWorkingEmulator()
    {
        Manager manager;
        manager.folder.replaceEmulator("#!/bin/sh\nexit 1\n");
        manager.folder.goodArchive("pacman", "pacman.zip");
        QVERIFY(manager.load());
        QCOMPARE(itemsOf(manager.window->ROMs), QStringList{"pacman.zip"});
        QCOMPARE(manager.window->lstJuegos->count(), 0);
    }

    void cdInstallationWithoutItsFiles_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<bool>("ends");
        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("no key table") << QStringList{"all.bat", "lista.txt"} << true;
        QTest::newRow("no game list") << QStringList{"all.bat", "Zefrin.tlc"} << true;
        QTest::newRow("no script") << QStringList{"lista.txt", "Zefrin.tlc"} << true;
        QTest::newRow("all three") << QStringList{"all.bat", "lista.txt", "Zefrin.tlc"} << false;
    }

    void cdInstallationWithoutItsFiles()
    {
        QFETCH(QStringList, present);
        QFETCH(bool, ends);
        Manager manager;
        manager.program.state.CdMode = true;
        for (const QString& name : present)
            manager.folder.folder.writeFile(
                name, name == "all.bat" ? "mame -listfull > lista.txt\r\n" : "\r\n");
        QCOMPARE(manager.load(), !ends);
        QCOMPARE(manager.program.programExit.ended, ends);
        if (!ends) {
            QVERIFY(manager.program.dialogs.shown.isEmpty());
            return;
        }
        QCOMPARE(manager.program.dialogs.shown.size(), 1);
        const ShownMessage& shown = manager.program.dialogs.shown.first();
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Error Crítico."));
        QVERIFY(shown.text.startsWith("Estás ejecutando el Zefrin des de una unidad de CD, y no "));
        QVERIFY(shown.text.contains("imposible.\r\nSi quieres ejecutar Zefrin desde un CD-ROM"));
        QVERIFY(manager.folder.emulatorCalls().isEmpty());
    }

    void selectionsShowTheLookups()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "PACMAN.zip");
        manager.folder.foreignArchive("xyz.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.ROMs, "PACMAN.zip");
        QCOMPARE(window.lblTitulo->text(), QStringLiteral("Come Cocos"));
        clickItem(window.ROMs, "xyz.zip");
        QCOMPARE(window.lblTitulo->text(), QStringLiteral("ROM desconocida(xyz.zip)"));
        QCOMPARE(window.lblTitulo->width(), window.lblTitulo->sizeHint().width());
        clickItem(window.lstJuegos, "Donkey Kong");
        QCOMPARE(window.lblArchivo->text(), QStringLiteral("dkong.zip"));
        // The keyboard changes the selection as a click does.
        QTest::keyClick(window.lstJuegos->viewport(), Qt::Key_Down);
        QCOMPARE(window.selectedTitle(), QStringLiteral("Galaga Espacial"));
        QCOMPARE(window.lblArchivo->text(), QStringLiteral("galaga.zip"));
        // A title the list no longer has.
        manager.folder.folder.writeFile("lista.txt", "Name:     Description:\r\n");
        clickItem(window.lstJuegos, "Tetrix");
        QCOMPARE(window.lblArchivo->text(), QStringLiteral("ERROR"));
        // Without a list no archive is known, and nothing stops.
        QFile::remove(manager.folder.folder.filePath("lista.txt"));
        clickItem(window.ROMs, "PACMAN.zip");
        QCOMPARE(window.lblTitulo->text(), QStringLiteral("ROM desconocida(PACMAN.zip)"));
    }

    void busyWindowIgnoresEveryCommandButCancel()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "puckman.zip");
        manager.folder.goodArchive("dkong", "dkong.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.ROMs, "puckman.zip");
        clickItem(window.lstJuegos, "Come Cocos");
        manager.folder.forgetEmulatorCalls();

        window.ManagerBusy = true;
        clickItem(window.ROMs, "dkong.zip");
        clickItem(window.lstJuegos, "Tetrix");
        QCOMPARE(window.lblTitulo->text(), QStringLiteral("ROM desconocida(puckman.zip)"));
        QCOMPARE(window.lblArchivo->text(), QStringLiteral("pacman.zip"));
        for (LabelButton* button : {window.lblBuscar, window.lblCompara, window.lblActualizar,
                                    window.lblContiene, window.lblArchivosJuego, window.lblSalir})
            click(button);
        QVERIFY(window.close() == false);
        QTest::keyClick(&window, Qt::Key_Escape);
        window.reject();
        QVERIFY(window.isVisible());
        QVERIFY(manager.program.dialogs.shown.isEmpty());
        QVERIFY(manager.program.desktop.openedFiles.isEmpty());
        QVERIFY(manager.folder.emulatorCalls().isEmpty());

        window.lblCancelar->setVisible(true);
        click(window.lblCancelar);
        QCOMPARE(manager.titlesShown(), QStringList{"¿Estas seguro?"});

        window.ManagerBusy = false;
        click(window.lblSalir);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void frameCloseWhenIdle()
    {
        Manager manager;
        QVERIFY(manager.load());
        QVERIFY(manager.window->close());
        QVERIFY(!manager.window->isVisible());
    }

    void searchFindsTheGame()
    {
        Manager manager;
        manager.folder.goodArchive("dkong", "mono.zip");
        manager.folder.goodArchive("galaga", "galaga.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.ROMs, "mono.zip");
        manager.program.dialogs.answers = {true};
        click(window.lblBuscar);

        QCOMPARE(manager.titlesShown(), (QStringList{searchQuestion, "¡Encontrada!"}));
        const ShownMessage& question = manager.program.dialogs.shown.at(0);
        QVERIFY(question.yesNo);
        QCOMPARE(question.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(question.text,
                 QStringLiteral("Quieres realmente buscar una ROM compatible con este archivo "
                                "entre las ROMs emulables por esta versión de M.A.M.E? Si decides "
                                "hacerlo, recuerda que este proceso puede durar bastante."));
        const ShownMessage& found = manager.program.dialogs.shown.at(1);
        QCOMPARE(found.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(found.text, QStringLiteral("Se ha encpntrado compatibilidad para el archivo "
                                            "seleccionado, el título del juego es Donkey Kong."));
        // galaga's archive is there, so galaga was never tried; pacman was, then dkong.
        QCOMPARE(
            manager.folder.emulatorCalls(),
            (QStringList{"-listfull", "-listfull", "pacman\t-verifysets", "dkong\t-verifysets"}));
        QCOMPARE(window.lblTotal->text(), QStringLiteral("4"));
        QCOMPARE(window.lblActual->text(), QStringLiteral("3"));
        QCOMPARE(window.progreso->value(), 3);
        QCOMPARE(window.progreso->maximum(), 4);
        QCOMPARE(manager.folder.romsListing(), (QStringList{"galaga.zip", "mono.zip"}));
        QVERIFY(window.Estado->isHidden());
        QVERIFY(!window.SearchRunning && !window.ManagerBusy);
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QFile::exists(manager.folder.recordPath()));
    }

    void searchFindsNothing()
    {
        Manager manager;
        manager.folder.foreignArchive("misterio.zip");
        QVERIFY(manager.load());
        clickItem(manager.window->ROMs, "misterio.zip");
        manager.program.dialogs.answers = {true};
        click(manager.window->lblBuscar);
        QCOMPARE(manager.titlesShown(), (QStringList{searchQuestion, "¡Ogh!"}));
        QCOMPARE(manager.program.dialogs.shown.last().text,
                 QStringLiteral("No se han encontrado ROMs compatibbles"));
        QCOMPARE(manager.program.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        QCOMPARE(manager.folder.romsListing(), QStringList{"misterio.zip"});
        QVERIFY(manager.window->Estado->isHidden());
        // Ready again at once.
        manager.program.dialogs.answers = {false};
        click(manager.window->lblBuscar);
        QCOMPARE(manager.titlesShown().size(), 3);
    }

    void searchWithoutSelectionOrConsent()
    {
        Manager manager;
        manager.folder.goodArchive("dkong", "mono.zip");
        QVERIFY(manager.load());
        manager.folder.forgetEmulatorCalls();
        click(manager.window->lblBuscar);
        QVERIFY(manager.program.dialogs.shown.isEmpty());
        clickItem(manager.window->ROMs, "mono.zip");
        manager.program.dialogs.answers = {false};
        click(manager.window->lblBuscar);
        QCOMPARE(manager.titlesShown(), QStringList{searchQuestion});
        QVERIFY(manager.folder.emulatorCalls().isEmpty());
        QVERIFY(!manager.window->ManagerBusy);
    }

    void searchWithAnEmptyGameList()
    {
        Manager manager;
        manager.folder.goodArchive("dkong", "mono.zip");
        QVERIFY(manager.load());
        clickItem(manager.window->ROMs, "mono.zip");
        manager.folder.replaceEmulator("#!/bin/sh\nexit 0\n");
        manager.program.dialogs.answers = {true};
        click(manager.window->lblBuscar);
        QCOMPARE(manager.titlesShown(), (QStringList{searchQuestion, "¡Ogh!"}));
    }

    void searchWithMoreGamesThanTheListShows()
    {
        Manager manager;
        manager.folder.goodArchive("tetrix", "viejo.zip");
        QVERIFY(manager.load());
        // The window was loaded with no games at all; the search's new list has four.
        manager.window->lstJuegos->clear();
        clickItem(manager.window->ROMs, "viejo.zip");
        manager.program.dialogs.answers = {true};
        click(manager.window->lblBuscar);
        QCOMPARE(manager.titlesShown(), (QStringList{searchQuestion, "¡Encontrada!"}));
        QCOMPARE(manager.window->lblTotal->text(), QStringLiteral("0"));
        QCOMPARE(manager.window->lblActual->text(), QStringLiteral("4"));
        const QProgressBar* bar = manager.window->progreso;
        QVERIFY(bar->minimum() <= bar->value() && bar->value() <= bar->maximum());
    }

    void cancelDuringTheSearch_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void cancelDuringTheSearch()
    {
        QFETCH(bool, confirm);
        Manager manager({slowList()});
        manager.folder.foreignArchive("misterio.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.ROMs, "misterio.zip");
        manager.folder.forgetEmulatorCalls();
        manager.program.dialogs.answers = {true, confirm};
        bool panelShown = false;
        bool exitRefused = false;
        duringNextWait([&] {
            panelShown = window.Estado->isVisible() && window.SearchRunning &&
                         window.cursor().shape() == Qt::WaitCursor;
            click(window.lblSalir);
            window.close();
            QTest::keyClick(&window, Qt::Key_Escape);
            exitRefused = window.isVisible();
            click(window.lblCancelar);
        });
        click(window.lblBuscar);

        QVERIFY(panelShown);
        QVERIFY(exitRefused);
        QVERIFY(window.isVisible());
        if (confirm) {
            QCOMPARE(manager.titlesShown(),
                     (QStringList{searchQuestion, "¿Estas seguro?", "Proceso cancelado"}));
            QCOMPARE(manager.program.dialogs.shown.last().text,
                     QStringLiteral("La comprobación ha sido cancelada por el usuario."));
            // The check that was running when the cancel came still ran, and no other.
            QCOMPARE(manager.folder.emulatorCalls().size(), 2);
        } else {
            QCOMPARE(manager.titlesShown(),
                     (QStringList{searchQuestion, "¿Estas seguro?", "¡Ogh!"}));
            QCOMPARE(manager.folder.emulatorCalls().size(), 5);
        }
        const ShownMessage& ask = manager.program.dialogs.shown.at(1);
        QCOMPARE(ask.text, QStringLiteral("¿Deseas abortar la búsqueda de ROMs compatibles?"));
        QVERIFY(ask.yesNo);
        QCOMPARE(manager.folder.romsListing(), QStringList{"misterio.zip"});
        QVERIFY(window.Estado->isHidden());
        QVERIFY(!window.SearchRunning && !window.ManagerBusy);
    }

    void searchStopsOnALockedArchive()
    {
        Manager manager;
        manager.folder.foreignArchive("misterio.zip");
        QVERIFY(manager.load());
        clickItem(manager.window->ROMs, "misterio.zip");
        const Immutable lock(manager.folder.romPath("misterio.zip"));
        if (!lock.applied())
            QSKIP("chattr +i is not available here");
        manager.program.dialogs.answers = {true};
        click(manager.window->lblBuscar);
        QCOMPARE(manager.titlesShown(), (QStringList{searchQuestion, "Error"}));
        QVERIFY(manager.program.dialogs.shown.last().text.contains("misterio.zip"));
        QCOMPARE(manager.folder.romsListing(), QStringList{"misterio.zip"});
    }

    void compare_data()
    {
        QTest::addColumn<QString>("holds");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("checks");
        QTest::newRow("compatible") << "pacman"
                                    << "Come Cocos"
                                    << "¡Encontrada!" << 1;
        QTest::newRow("not compatible") << "pacman"
                                        << "Tetrix"
                                        << "¡Ogh!" << 1;
        QTest::newRow("game's archive present") << "pacman"
                                                << "Galaga Espacial"
                                                << "No es posible la comparación" << 0;
        QTest::newRow("game unknown") << "pacman"
                                      << "Donkey Kong"
                                      << "¡No!" << 0;
    }

    void compare()
    {
        QFETCH(QString, holds);
        QFETCH(QString, title);
        QFETCH(QString, shown);
        QFETCH(int, checks);
        Manager manager;
        manager.folder.goodArchive(holds.toStdString(), "viejo.zip");
        manager.folder.goodArchive("galaga", "galaga.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        if (title == "Donkey Kong")
            manager.folder.folder.writeFile("lista.txt", "Name:     Description:\r\n");
        clickItem(window.ROMs, "viejo.zip");
        clickItem(window.lstJuegos, title);
        manager.folder.forgetEmulatorCalls();
        click(window.lblCompara);
        QCOMPARE(manager.titlesShown(), QStringList{shown});
        const ShownMessage& message = manager.program.dialogs.shown.first();
        if (shown == "¡Encontrada!") {
            QCOMPARE(message.icon, Dialogs::Icon::Exclamation);
            QCOMPARE(message.text,
                     QStringLiteral("Las ROMs son compatibles. Puede que actualizando la ROM "
                                    "para el juego seleccionado M.A.M.E pueda emularla."));
        } else if (shown == "¡Ogh!") {
            QCOMPARE(message.text, QStringLiteral("No hay compatibilidad entre estas ROMs."));
        } else if (shown == "No es posible la comparación") {
            QCOMPARE(message.text,
                     QStringLiteral("No puedes comparar la ROM con el juego seleccionado "
                                    "mientras exista un archivo de ROM para este."));
        }
        QCOMPARE(manager.folder.emulatorCalls().size(), checks);
        QCOMPARE(manager.folder.romsListing(), (QStringList{"galaga.zip", "viejo.zip"}));
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!window.ManagerBusy);
    }

    void compareNeedsBothSelections()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "viejo.zip");
        QVERIFY(manager.load());
        click(manager.window->lblCompara);
        clickItem(manager.window->ROMs, "viejo.zip");
        click(manager.window->lblCompara);
        QVERIFY(manager.program.dialogs.shown.isEmpty());
        QVERIFY(!manager.window->ManagerBusy);
    }

    void compareAnArchiveWithItsOwnGame()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "pacman.zip");
        QVERIFY(manager.load());
        clickItem(manager.window->ROMs, "pacman.zip");
        clickItem(manager.window->lstJuegos, "Come Cocos");
        click(manager.window->lblCompara);
        QCOMPARE(manager.titlesShown(), QStringList{"¡Encontrada!"});
    }

    void update_data()
    {
        QTest::addColumn<QString>("holds");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("listing");
        QTest::newRow("compatible") << "pacman"
                                    << "Come Cocos" << QList<bool>{true} << QStringList{"Atención"}
                                    << QStringList{"galaga.zip", "pacman.zip"};
        QTest::newRow("answered no")
            << "pacman"
            << "Come Cocos" << QList<bool>{false} << QStringList{"Atención"}
            << QStringList{"galaga.zip", "viejo.zip"};
        QTest::newRow("not compatible")
            << "pacman"
            << "Tetrix" << QList<bool>{true} << QStringList{"Atención", "¡No!"}
            << QStringList{"galaga.zip", "viejo.zip"};
        QTest::newRow("name taken")
            << "galaga"
            << "Galaga Espacial" << QList<bool>{true} << QStringList{"Atención", "Error"}
            << QStringList{"galaga.zip", "viejo.zip"};
    }

    void update()
    {
        QFETCH(QString, holds);
        QFETCH(QString, title);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, listing);
        Manager manager;
        manager.folder.goodArchive(holds.toStdString(), "viejo.zip");
        manager.folder.goodArchive("galaga", "galaga.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.ROMs, "viejo.zip");
        clickItem(window.lstJuegos, title);
        const QString archiveName = window.lblArchivo->text();
        manager.folder.forgetEmulatorCalls();
        manager.program.dialogs.answers = answers;
        click(window.lblActualizar);

        QCOMPARE(manager.titlesShown(), shown);
        const ShownMessage& question = manager.program.dialogs.shown.first();
        QCOMPARE(question.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(question.text, "¿Deseas actualizar el archivo de ROM viejo.zip al archivo para el "
                                "juego " +
                                    title + "(" + archiveName + ")?");
        QCOMPARE(manager.folder.romsListing(), listing);
        QCOMPARE(itemsOf(window.ROMs), listing);
        if (shown.size() > 1) {
            const QString text = manager.program.dialogs.shown.last().text;
            QCOMPARE(manager.program.dialogs.shown.last().icon, Dialogs::Icon::Critical);
            QCOMPARE(text, shown.last() == "Error"
                               ? QStringLiteral("No es posible actualizar el archivo zip para el "
                                                "juego seleccionado, ya que existe otro zip con "
                                                "el nombre de la actualización.")
                               : QStringLiteral("No es posible actualizar esta ROM ya que no "
                                                "sería emulable por la versión de M.A.M.E"));
        }
        if (!answers.first() || shown.last() == "Error")
            QVERIFY(manager.folder.emulatorCalls().isEmpty());
        // The value labels keep their texts.
        QCOMPARE(window.lblArchivo->text(), archiveName);
    }

    void updateRefusals()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "viejo.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.lstJuegos, "Come Cocos");
        click(window.lblActualizar);
        QCOMPARE(manager.titlesShown(), QStringList{"¡No!"});
        QCOMPARE(manager.program.dialogs.shown.first().icon, Dialogs::Icon::Information);
        QCOMPARE(manager.program.dialogs.shown.first().text,
                 QStringLiteral("Debes selccionar un archivo de la carpeta roms y un título para "
                                "que se pueda actualizar."));
        // The archive disappears while the question is open.
        clickItem(window.ROMs, "viejo.zip");
        manager.program.dialogs.shown.clear();
        manager.program.dialogs.answers = {true};
        QFile::rename(manager.folder.romPath("viejo.zip"),
                      manager.folder.folder.filePath("fuera.zip"));
        click(window.lblActualizar);
        QCOMPARE(manager.titlesShown(), (QStringList{"Atención", "No es posible continuar"}));
        QCOMPARE(manager.program.dialogs.shown.last().text,
                 QStringLiteral("El archivo a actualizar ha sido borrado o movido durante el "
                                "proceso de actualización."));
    }

    void errorMarkerIsNoFileName_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("compare") << "lblCompara";
        QTest::newRow("update") << "lblActualizar";
        QTest::newRow("game report") << "lblArchivosJuego";
    }

    void errorMarkerIsNoFileName()
    {
        QFETCH(QString, command);
        Manager manager;
        manager.folder.goodArchive("pacman", "viejo.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        clickItem(window.ROMs, "viejo.zip");
        manager.folder.folder.writeFile("lista.txt", "Name:     Description:\r\n");
        clickItem(window.lstJuegos, "Come Cocos");
        QCOMPARE(window.lblArchivo->text(), QStringLiteral("ERROR"));
        manager.folder.forgetEmulatorCalls();
        manager.program.dialogs.answers = {true};
        click(window.findChild<QWidget*>(command));
        QCOMPARE(manager.titlesShown(), QStringList{"¡No!"});
        QCOMPARE(manager.program.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QVERIFY(manager.folder.emulatorCalls().isEmpty());
        QVERIFY(manager.program.desktop.openedFiles.isEmpty());
        QCOMPARE(manager.folder.romsListing(), QStringList{"viejo.zip"});
        QVERIFY(!manager.folder.folder.exists("roms/ERROR"));
    }

    void reports_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("game") << "lblArchivosJuego" << QByteArray("\r\n/* DONKEY KONG */\r\n");
        QTest::newRow("archive") << "lblContiene"
                                 << QByteArray("/* COMPROBACIÓN DE LOS ARCHIVOS DE LA ROM */\r\n");
    }

    void reports()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, starts);
        Manager manager;
        manager.folder.goodArchive("pacman", "mi viejo.zip");
        QVERIFY(manager.load());
        frmGestionar& window = *manager.window;
        auto* button = window.findChild<QWidget*>(command);
        click(button); // nothing selected: nothing happens
        QVERIFY(manager.program.desktop.openedFiles.isEmpty());
        clickItem(window.ROMs, "mi viejo.zip");
        clickItem(window.lstJuegos, "Donkey Kong");
        click(button);

        QVERIFY(manager.program.dialogs.shown.isEmpty());
        QCOMPARE(manager.program.desktop.openedFiles.size(), 1);
        const QString report = manager.program.desktop.openedFiles.first();
        QVERIFY(report.startsWith(manager.program.state.scratch.path() + "/"));
        QFile file(report);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(starts));
        for (const char* name : {"abrir.bat", "1.p", "2.p", "3.p", "4.p", "comparacion.log"})
            QVERIFY2(!manager.folder.folder.exists(name), name);
        QCOMPARE(manager.folder.romsListing(), QStringList{"mi viejo.zip"});
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!window.ManagerBusy);
    }

    void openedFromTheMainWindow()
    {
        Manager manager;
        manager.folder.folder.setVersion("0.70");
        manager.folder.goodArchive("pacman", "puckman.zip");
        frmCargador main(manager.program.context);
        QVERIFY(main.Form_Load());
        main.show();
        QVERIFY(main.lstJuegos->findItems("ROM desconocida(puckman.zip)", Qt::MatchExactly).size());

        bool busyWhileOpen = false;
        bool modal = false;
        QWidget* parent = nullptr;
        manager.program.dialogs.answers = {true};
        onceManagerOpens([&](frmGestionar& window) {
            busyWhileOpen = manager.program.state.EmulatorBusy;
            modal = window.isModal();
            parent = window.parentWidget();
            // The main window's commands wait; its close is refused.
            click(main.lblGestionar);
            QVERIFY(!main.close());
            clickItem(window.ROMs, "puckman.zip");
            clickItem(window.lstJuegos, "Come Cocos");
            click(window.lblActualizar);
            click(window.lblSalir);
        });
        click(main.lblGestionar);

        QVERIFY(busyWhileOpen);
        QVERIFY(modal);
        QCOMPARE(parent, &main);
        QVERIFY(!manager.program.state.EmulatorBusy);
        QCOMPARE(manager.titlesShown(), QStringList{"Atención"});
        QCOMPARE(manager.folder.romsListing(), QStringList{"pacman.zip"});
        // The game list was rebuilt after the window closed: the renamed archive is known now.
        QCOMPARE(main.lstJuegos->count(), 1);
        QCOMPARE(main.lstJuegos->item(0)->text(), QStringLiteral("Come Cocos"));
        QCOMPARE(main.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void mainWindowBusyOpensNothing()
    {
        Manager manager;
        manager.folder.folder.setVersion("0.70");
        frmCargador main(manager.program.context);
        QVERIFY(main.Form_Load());
        manager.folder.forgetEmulatorCalls();
        manager.program.state.EmulatorBusy = true;
        click(main.lblGestionar);
        QVERIFY(manager.folder.emulatorCalls().isEmpty());
        QVERIFY(manager.program.state.EmulatorBusy);
    }

    void reportThatCannotBeOpened()
    {
        Manager manager;
        manager.folder.goodArchive("pacman", "pacman.zip");
        QVERIFY(manager.load());
        manager.program.desktop.succeed = false;
        clickItem(manager.window->ROMs, "pacman.zip");
        click(manager.window->lblContiene);
        QCOMPARE(manager.titlesShown(), QStringList{"Error"});
        QVERIFY(manager.program.dialogs.shown.first().text.contains(
            manager.program.desktop.openedFiles.first()));
    }
};

QTEST_MAIN(FrmGestionarTest)
#include "tst_frmgestionar.moc"
