#include "LaunchRig.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QtTest>

namespace zefrin::test {

LaunchRig::LaunchRig(const QString& subfolder)
    : folder(subfolder)
    , program(folder.path())
    , window(program.context)
{
    folder.installEmulator();
    program.state.EmulatorVersion = QStringLiteral("0.70");
}

void LaunchRig::addGame(const QString& shortName, const QString& title, const QString& archive)
{
    collection.games.push_back(fixture::makeGame(shortName.toStdString(), title.toStdString(),
                                                 {{shortName.toStdString() + ".1", 512}}));
    archives_ << (archive.isEmpty() ? shortName + QStringLiteral(".zip") : archive);
}

void LaunchRig::addDirective(const char* key, const QString& value, const QString& game)
{
    collection.directives.push_back({key, value.toStdString(), game.toStdString()});
}

void LaunchRig::install()
{
    QVERIFY(fixture::writeDataFile(collection, folder.filePath("standin.dat").toStdString()));
    window.ROMs.clear();
    window.ROMTemporal.clear();
    window.lstJuegos->clear();
    for (std::size_t k = 0; k < collection.games.size(); ++k) {
        const fixture::Game& game = collection.games[k];
        const QString archive = archives_.at(static_cast<int>(k));
        QVERIFY(fixture::writeGoodArchive(
            game, folder.filePath(QStringLiteral("roms/") + archive).toStdString()));
        window.ROMs << archive;
        window.ROMTemporal << static_cast<int>(k);
        window.lstJuegos->addItem(QString::fromStdString(game.title));
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void LaunchRig::tickDefinedKeys()
{
    folder.writeFile("ctrlr/Zefrin/default.ini",
                     "#   Teclas configuradas para el Z e f r i n\r\n#\r\n");
    window.chkUsaControles->setChecked(true);
    QVERIFY(window.chkUsaControles->isChecked());
}

void LaunchRig::selectRow(int row)
{
    window.lstJuegos->setCurrentRow(row);
}

void LaunchRig::doubleClickRow(int row)
{
    QListWidget* list = window.lstJuegos;
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    // QTest's own double click reaches a widget as two separate clicks; the second press
    // is sent as the window system sends it, as a double-click event.
    QWidget* viewport = list->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
    QMouseEvent press(QEvent::MouseButtonDblClick, centre, viewport->mapToGlobal(centre),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
}

QByteArray LaunchRig::fileOrNothing(const QString& relative) const
{
    return folder.exists(relative) ? folder.readFile(relative) : QByteArray("(none)");
}

namespace {

bool chattr(const char* flag, const QString& path)
{
    return QProcess::execute(QStringLiteral("chattr"), {QLatin1String(flag), path}) == 0;
}

} // namespace

Immutable::Immutable(const QString& path)
    : path_(path)
    , active_(chattr("+i", path))
{
}

Immutable::~Immutable()
{
    if (active_)
        chattr("-i", path_);
}

} // namespace zefrin::test
