#include "EmulatorFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

#include <filesystem>
#include <system_error>

namespace zefrin::test {

EmulatorFolder::EmulatorFolder(const QString& subfolder)
    : path_(root_.filePath(subfolder))
{
    QVERIFY2(root_.isValid(), "no temporary folder");
    QDir().mkpath(path_);
    QDir().mkpath(filePath(QStringLiteral("roms")));
}

// Qt removes only the names it can decode: the tests' names that are no UTF-8 go by their bytes.
EmulatorFolder::~EmulatorFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(root_.path()).toStdString(), ignored);
}

QString EmulatorFolder::filePath(const QString& relative) const
{
    return path_ + QLatin1Char('/') + relative;
}

void EmulatorFolder::installEmulator()
{
#ifdef ZEFRIN_STANDIN_PATH
    const QString target = filePath(QStringLiteral("mame"));
    QFile::remove(target);
    QVERIFY(QFile::copy(QStringLiteral(ZEFRIN_STANDIN_PATH), target));
#else
    QFAIL("the stand-in emulator is not built");
#endif
}

void EmulatorFolder::writeFile(const QString& relative, const QByteArray& bytes)
{
    const QString target = filePath(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile file(target);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(target));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray EmulatorFolder::readFile(const QString& relative) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool EmulatorFolder::exists(const QString& relative) const
{
    return QFileInfo::exists(filePath(relative));
}

void EmulatorFolder::makeFolder(const QString& relative)
{
    QDir().mkpath(filePath(relative));
}

QMap<QString, QByteArray> folderContents(const QString& path, const QStringList& skipped)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!skipped.contains(QFileInfo(file).fileName()) && file.open(QIODevice::ReadOnly))
            files.insert(QDir(path).relativeFilePath(file.fileName()), file.readAll());
    }
    return files;
}

void EmulatorFolder::setVersion(const QByteArray& versionLine)
{
    writeFile(QStringLiteral("whatsnew.txt"), versionLine + "\r\n\r\nNew features:\r\n");
}

Program::Program(const QString& emulatorFolder)
    : lock(std::make_unique<InstanceLock>(lockFolder.filePath(QStringLiteral("zefrin.lock"))))
    , context{state, dialogs, desktop, programExit, *lock}
{
    state.emulatorFolder = emulatorFolder;
    state.records = RunRecords::forFolder(emulatorFolder, recordsFolder.path());
}

} // namespace zefrin::test
