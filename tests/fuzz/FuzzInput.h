#pragma once
// Turning fuzzer bytes into the program's inputs: files in a private folder, and texts.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "engine/services/TextFile.h"

#include <cstddef>
#include <cstdint>

namespace zefrin::fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// One emulator folder for the whole fuzzing run; every input rewrites the file under test.
class FuzzFolder {
public:
    QString path() const { return folder_.path(); }

    void write(const QString& name, const QByteArray& content) const
    {
        QDir().mkpath(QFileInfo(folder_.filePath(name)).path());
        QFile file(folder_.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }

    QString filePath(const QString& name) const { return folder_.filePath(name); }

private:
    // Memory-backed where the system has it: every input rewrites a file.
    static QString base()
    {
        const QString shared = QStringLiteral("/dev/shm");
        return QFileInfo(shared).isWritable()
                   ? shared + QStringLiteral("/zefrin-fuzz-XXXXXX")
                   : QDir::tempPath() + QStringLiteral("/zefrin-fuzz-XXXXXX");
    }

    QTemporaryDir folder_{base()};
};

// The input's lines as the program reads text files.
inline QStringList linesOf(const QByteArray& input)
{
    return splitLines(decodeSystemText(input));
}

// Splits an input in two at the first NUL byte, for targets that compare two texts.
inline std::pair<QByteArray, QByteArray> splitAtNul(const QByteArray& input)
{
    const qsizetype at = input.indexOf('\0');
    if (at < 0)
        return {input, QByteArray()};
    return {input.left(at), input.mid(at + 1)};
}

} // namespace zefrin::fuzz
