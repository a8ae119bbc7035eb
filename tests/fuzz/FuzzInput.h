#pragma once
// Turning fuzzer bytes into the program's inputs: files in a private folder, and texts.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

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
        QFile file(folder_.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }

private:
    QTemporaryDir folder_;
};

// Splits an input in two at the first NUL byte, for targets that compare two texts.
inline std::pair<QByteArray, QByteArray> splitAtNul(const QByteArray& input)
{
    const qsizetype at = input.indexOf('\0');
    if (at < 0)
        return {input, QByteArray()};
    return {input.left(at), input.mid(at + 1)};
}

} // namespace zefrin::fuzz
