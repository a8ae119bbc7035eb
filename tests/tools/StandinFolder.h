#pragma once
// A temporary emulator folder with the stand-in emulator copied in as `mame`, for tests that
// run it as the front end does: in the folder, with the folder as working folder.

#include "fixture/Collection.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>

struct StandinResult {
    QByteArray out;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    qint64 elapsedMs = 0;
    QList<QByteArray> lines() const; // split at LF, without the empty piece after the last
};

class StandinFolder {
public:
    explicit StandinFolder(const zefrin::fixture::Collection& collection);

    bool isValid() const { return m_valid; }
    QString path(const QString& relative = {}) const;
    std::filesystem::path fsPath(const QString& relative) const;
    QByteArray read(const QString& relative) const;
    bool write(const QString& relative, const QByteArray& bytes) const;

    // Runs `mame` with the arguments; `program` may name another copy of the stand-in.
    StandinResult run(const QStringList& arguments, const QString& program = {}) const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
