#pragma once
// The CRC-32 of every file of a zip archive, as its central directory records them (read with
// libzip; no file is unpacked). Folders and empty files are passed over: they are no ROM.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace zefrin {

// Nothing when the archive is not a zip whose central directory can be read.
std::optional<QList<quint32>> zipFileCrcs(const QString& path);
std::optional<QList<quint32>> zipFileCrcs(const QByteArray& bytes);

} // namespace zefrin
