#pragma once
// Turning fuzzer bytes into the program's inputs, all in memory: the readers take the bytes
// through the same device the file path gives them.

#include <QByteArray>
#include <QString>

#include "engine/services/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace zefrin::fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input's lines as the program reads text files.
inline QStringList linesOf(const QByteArray& input)
{
    return splitLines(decodeSystemText(input));
}

// A reader of the input's first lines as the program reads text: only the part they need is
// decoded.
inline TextLineReader firstLinesOf(const QByteArray& input)
{
    return TextLineReader(memoryDevice(input), QStringConverter::System, 256);
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
