#include "LaunchLog.h"

#include "engine/services/TextFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace zefrin {

namespace {

// A piece of the file at a time: the whole file is never in memory twice.
constexpr qint64 pieceSize = 4 << 20;

// Appends `bytes` to `log` in the log's form. `pendingCr` carries a CR that ended the last
// piece, whose LF (if any) begins the next one.
void appendNormalised(QByteArray& log, const char* bytes, qsizetype size, bool& pendingCr)
{
    const char* const end = bytes + size;
    const char* at = bytes;
    if (pendingCr && at < end && *at == '\n')
        ++at; // the LF of a CR LF split between pieces
    pendingCr = false;
    while (at < end) {
        const char* stop = at;
        while (stop < end && *stop != '\n' && *stop != '\r')
            ++stop;
        log.append(at, stop - at);
        if (stop == end)
            return;
        log.append("\r\n", 2);
        if (*stop == '\r') {
            if (stop + 1 == end)
                pendingCr = true;
            else if (stop[1] == '\n')
                ++stop;
        }
        at = stop + 1;
    }
}

void finish(QByteArray& log)
{
    if (!log.isEmpty() && !log.endsWith("\r\n"))
        log.append("\r\n", 2);
}

} // namespace

QByteArray launchLogText(const QByteArray& output)
{
    QByteArray log;
    log.reserve(output.size() + output.size() / 16 + 2);
    bool pendingCr = false;
    appendNormalised(log, output.constData(), output.size(), pendingCr);
    finish(log);
    return log;
}

std::optional<QByteArray> readLaunchLog(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QByteArray log;
    log.reserve(file.size() + file.size() / 16 + 2);
    QByteArray piece(pieceSize, Qt::Uninitialized);
    bool pendingCr = false;
    for (;;) {
        const qint64 read = file.read(piece.data(), pieceSize);
        if (read < 0) {
            *error = file.errorString();
            return std::nullopt;
        }
        if (read == 0)
            break;
        appendNormalised(log, piece.constData(), read, pendingCr);
    }
    finish(log);
    log.squeeze();
    return log;
}

LogLines::LogLines(const QByteArray& log)
    : log_(log)
{
    const char* const data = log_.constData();
    const qsizetype size = log_.size();
    qsizetype start = 0;
    while (start < size) {
        starts_.push_back(start);
        const void* lf = std::memchr(data + start, '\n', static_cast<std::size_t>(size - start));
        const qsizetype next = lf ? static_cast<const char*>(lf) - data + 1 : size;
        widest_ = std::max(widest_, std::min(next - start - 2, longestShown + 1));
        start = next;
    }
}

QString LogLines::line(qsizetype row) const
{
    if (row < 0 || row >= count())
        return {};
    const auto index = static_cast<std::size_t>(row);
    const qsizetype start = starts_[index];
    const qsizetype end = (index + 1 < starts_.size() ? starts_[index + 1] : log_.size()) - 2;
    // Decoding more than is shown is work for nothing: four bytes cover any character.
    const qsizetype taken = std::min(end - start, longestShown * 4);
    QString text = decodeSystemText(log_.mid(start, taken));
    if (text.size() > longestShown || taken < end - start) {
        text.truncate(longestShown);
        text += QChar(0x2026);
    }
    return text;
}

} // namespace zefrin
