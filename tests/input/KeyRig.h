#pragma once
// An emulator folder ready for the key configuration (the stand-in's mame.ini from -cc, the
// default key-name table, a ctrlr folder, the user's cfg/default.cfg), the main window and
// the controls editor on it.

#include "engine/input/KeyNameTable.h"
#include "gui/app/frmCargador.h"
#include "gui/input/frmTeclas.h"
#include "gui/widgets/LabelButton.h"
#include "support/EmulatorFolder.h"
#include "support/ReadOnlyMount.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace zefrin::test {

// The names in a folder, hidden ones included.
inline QStringList folderEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

inline const QByteArray userInputSettings = "<mameconfig version=\"10\"><!-- user --></mameconfig>";
inline const QByteArray unsetCtrlrLine = "# ctrlr                 <NULL> (Not Set)";
inline const QByteArray zefrinCtrlrLine = "ctrlr                   Zefrin";

struct KeyRig {
    KeyRig()
    {
        folder.installEmulator();
        QCOMPARE(QProcess::execute("sh", {"-c", "cd \"$0\" && ./mame -cc", folder.path()}), 0);
        originalIni = folder.readFile("mame.ini");
        QVERIFY(CrearTablaTeclas(folder.path()));
        folder.makeFolder("ctrlr");
        folder.writeFile("cfg/default.cfg", userInputSettings);
    }

    // The editor as the main window opens it, but not modal.
    frmTeclas& open()
    {
        editor.reset();
        program.dialogs.shown.clear();
        editor = std::make_unique<frmTeclas>(program.context, window, &window);
        editor->Form_Load();
        editor->show();
        return *editor;
    }

    void expectOneMessage(Dialogs::Icon icon, const QString& title, const QString& text)
    {
        QCOMPARE(program.dialogs.shown.size(), 1);
        QCOMPARE(program.dialogs.shown.first().icon, icon);
        QCOMPARE(program.dialogs.shown.first().title, title);
        QCOMPARE(program.dialogs.shown.first().text, text);
    }

    EmulatorFolder folder;
    QByteArray originalIni;
    Program program{folder.path()};
    frmCargador window{program.context};
    std::unique_ptr<frmTeclas> editor;
};

// A key table with the given cells {player, control, key} set and the rest -1.
inline KeyTable tableOf(std::initializer_list<std::array<int, 3>> cells)
{
    KeyTable table = emptyKeyTable();
    for (const auto& [player, control, key] : cells)
        table[player][control] = key;
    return table;
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace zefrin::test
