#pragma once
// Text files as the emulator and the program exchange them: 8-bit text in the system's
// code page, every written line ended by CR LF; reading accepts CR LF, a lone LF or CR,
// and a last line without an end.

#include <QString>
#include <QStringList>

#include <optional>

namespace zefrin {

// Splits decoded text into lines by the rules above.
QStringList splitLines(const QString& text);

// The lines of a file, or nothing when it cannot be opened.
std::optional<QStringList> readTextLines(const QString& path);

// Writes every line followed by CR LF. The file appears complete or not at all: the text goes
// to a temporary file that replaces the target only when everything was written.
[[nodiscard]] bool writeTextLines(const QString& path, const QStringList& lines,
                                  QString* error = nullptr);

// Decodes 8-bit text read from a file or a child process.
QString decodeSystemText(const QByteArray& bytes);
QByteArray encodeSystemText(const QString& text);

} // namespace zefrin
