#include "KeyFolder.h"

#include "input/KeyNameTable.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace zefrin::test {

void prepareKeyFolder(EmulatorFolder& folder)
{
    folder.installEmulator();
    QProcess emulator;
    emulator.setWorkingDirectory(folder.path());
    emulator.start(folder.filePath(QStringLiteral("mame")), {QStringLiteral("-cc")});
    QVERIFY(emulator.waitForFinished());
    QVERIFY(folder.readFile(QStringLiteral("mame.ini")).contains(unsetCtrlrLine + "\r\n"));
    QVERIFY(CrearTablaTeclas(folder.path()));
    folder.makeFolder(QStringLiteral("ctrlr"));
    folder.writeFile(QStringLiteral("cfg/default.cfg"), userInputSettings);
}

QStringList folderEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace zefrin::test
