#pragma once
// A temporary emulator folder for one test, with the stand-in emulator installed as `mame`,
// and the program-wide state and scripted seams a window needs, pointing at it.

#include "TestSeams.h"
#include "engine/services/InstanceLock.h"
#include "gui/widgets/AppContext.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace zefrin::test {

class EmulatorFolder {
public:
    // subfolder: a name with spaces, quotes or other characters to put the folder under.
    explicit EmulatorFolder(const QString& subfolder = QStringLiteral("MAME 0.70"));
    ~EmulatorFolder();
    EmulatorFolder(const EmulatorFolder&) = delete;
    EmulatorFolder& operator=(const EmulatorFolder&) = delete;

    QString path() const { return path_; }
    QString filePath(const QString& relative) const;

    // Copies the stand-in emulator in as `mame`.
    void installEmulator();
    void writeFile(const QString& relative, const QByteArray& bytes);
    QByteArray readFile(const QString& relative) const;
    bool exists(const QString& relative) const;
    void makeFolder(const QString& relative);

    // A whatsnew.txt whose first line is the version.
    void setVersion(const QByteArray& versionLine);

private:
    QTemporaryDir root_;
    QString path_;
};

// Every file under `path` (hidden ones too) with its bytes, by its path relative to `path`;
// files of the names in `skipped` left out.
QMap<QString, QByteArray> folderContents(const QString& path, const QStringList& skipped = {});

// Everything a window is handed, with scripted dialogs, desktop and program end, and an
// instance lock and a run records folder of its own so tests never meet a running copy.
struct Program {
    explicit Program(const QString& emulatorFolder);

    AppState state;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    RecordingExit programExit;
    QTemporaryDir lockFolder;
    QTemporaryDir recordsFolder;
    std::unique_ptr<InstanceLock> lock;
    AppContext context;
};

} // namespace zefrin::test
