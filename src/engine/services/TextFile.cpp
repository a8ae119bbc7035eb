#include "TextFile.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace zefrin {

namespace {

// Where the line at `position` ends: the first CR or LF from there, or the text's end. The
// library's search finds them; the last CR and LF found are kept while still ahead, so that
// each character is looked at once whatever mix of line ends the text holds.
qsizetype nextOf(QStringView text, QLatin1Char c, qsizetype position)
{
    const qsizetype at = text.indexOf(c, position);
    return at < 0 ? text.size() : at;
}

qsizetype lineEndFrom(QStringView text, qsizetype position, qsizetype& cr, qsizetype& lf)
{
    if (cr < position)
        cr = nextOf(text, QLatin1Char('\r'), position);
    if (lf < position)
        lf = nextOf(text, QLatin1Char('\n'), position);
    return std::min(cr, lf);
}

// How many lines splitLines makes of `text`: one for each line end (CR LF being one), and one
// more for a last line without an end.
qsizetype lineCount(QStringView text)
{
    if (text.isEmpty())
        return 0;
    const bool lastEnded = text.back() == QLatin1Char('\r') || text.back() == QLatin1Char('\n');
    return text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')) -
           text.count(QStringView(u"\r\n")) + (lastEnded ? 0 : 1);
}

} // namespace

QStringList splitLines(const QString& text)
{
    QStringList lines;
    lines.reserve(lineCount(text));
    qsizetype start = 0;
    qsizetype cr = -1;
    qsizetype lf = -1;
    const qsizetype size = text.size();
    while (start < size) {
        const qsizetype end = lineEndFrom(text, start, cr, lf);
        lines << text.mid(start, end - start);
        start = end + (end + 1 < size && text.at(end) == QLatin1Char('\r') &&
                               text.at(end + 1) == QLatin1Char('\n')
                           ? 2
                           : 1);
    }
    return lines;
}

QString decodeSystemText(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

QByteArray encodeSystemText(const QString& text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

std::optional<QStringList> readTextLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitLines(decodeSystemText(file.readAll()));
}

namespace {

constexpr qsizetype longestUndecodedRun = 1 << 16;

} // namespace

std::unique_ptr<QIODevice> fileDevice(const QString& path)
{
    return std::make_unique<QFile>(path);
}

std::unique_ptr<QIODevice> memoryDevice(const QByteArray& bytes)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    return buffer;
}

TextChunkReader::TextChunkReader(const QString& path, QStringConverter::Encoding encoding,
                                 qsizetype chunk)
    : TextChunkReader(fileDevice(path), encoding, chunk)
{
}

TextChunkReader::TextChunkReader(std::unique_ptr<QIODevice> device,
                                 QStringConverter::Encoding encoding, qsizetype chunk)
    : device_(std::move(device))
    , decoder_(encoding)
    , chunk_(chunk)
{
    open_ = device_->open(QIODevice::ReadOnly);
}

QByteArray TextChunkReader::readPart()
{
    // No more than the device still holds: a small file costs no buffer of a whole chunk,
    // and text in memory at its end is not asked for one more (a read makes room for all
    // it asks). A file may hold more than it says (those of /proc say nothing).
    const qint64 available = device_->bytesAvailable();
    auto* const memory = qobject_cast<QBuffer*>(device_.get());
    if (memory && available <= 0)
        return QByteArray();
    // Text in memory that is one part is shared, not copied.
    if (memory && memory->pos() == 0 && available <= chunk_) {
        (void)memory->seek(available);
        return memory->data();
    }
    return device_->read(available > 0 ? std::min<qint64>(chunk_, available) : chunk_);
}

std::optional<QString> TextChunkReader::next()
{
    while (open_ && !failed_) {
        const QByteArray bytes = readPart();
        if (bytes.isEmpty()) {
            const auto* file = qobject_cast<const QFileDevice*>(device_.get());
            failed_ = file && file->error() != QFileDevice::NoError;
            QString text = decoder_.decode(undecoded_);
            undecoded_.clear();
            if (text.isEmpty())
                return std::nullopt;
            return text;
        }
        // Decoded up to the last ASCII byte only: a character cut by the chunk, or a byte
        // that starts none, is decoded with the bytes that follow it, as a read of the whole
        // file decodes it (the decoder's state carried between calls does not always give
        // what one call over the whole text gives). The bytes kept back hold no ASCII byte,
        // so only the new ones are searched. A run of more than 64 KB without one is decoded
        // as it comes, so that memory stays bounded; only an invalid byte at such a cut could
        // then decode otherwise.
        qsizetype end = bytes.size();
        while (end > 0 && static_cast<uchar>(bytes.at(end - 1)) >= 0x80)
            --end;
        end = end > 0 ? undecoded_.size() + end : 0;
        undecoded_ += bytes;
        if (end == 0 && undecoded_.size() <= longestUndecodedRun)
            continue;
        if (end == 0)
            end = undecoded_.size();
        QString text = decoder_.decode(QByteArrayView(undecoded_).first(end));
        // What is left is copied alone (a removal would copy the part it shares with `bytes`).
        undecoded_ = end == undecoded_.size() ? QByteArray() : undecoded_.sliced(end);
        if (!text.isEmpty())
            return text;
    }
    return std::nullopt;
}

TextLineReader::TextLineReader(const QString& path, QStringConverter::Encoding encoding,
                               qsizetype chunk)
    : text_(path, encoding, chunk)
{
}

TextLineReader::TextLineReader(std::unique_ptr<QIODevice> device,
                               QStringConverter::Encoding encoding, qsizetype chunk)
    : text_(std::move(device), encoding, chunk)
{
}

std::optional<QString> TextLineReader::next()
{
    const std::optional<QStringView> line = nextView();
    if (!line)
        return std::nullopt;
    // An empty line is a null string, as it always was.
    return line->isEmpty() ? QString() : line->toString();
}

std::optional<QStringView> TextLineReader::nextView()
{
    // Keeps its capacity: a long line cut by parts reuses the room of the last one.
    carried_.truncate(0);
    for (;;) {
        if (position_ == part_.size()) {
            std::optional<QString> part = text_.next();
            if (!part) {
                previousEnd_ = lastEnd_;
                lastEnd_ = LineEnd::None;
                return carried_.isEmpty() ? std::nullopt : std::optional<QStringView>(carried_);
            }
            part_ = std::move(*part);
            position_ = 0;
            nextCr_ = -1;
            nextLf_ = -1;
        }
        const QChar* const text = part_.constData();
        if (afterCr_ && text[position_] == QLatin1Char('\n')) {
            ++position_;
            lastEnd_ = LineEnd::CrLf;
        }
        afterCr_ = false;
        const qsizetype end = lineEndFrom(part_, position_, nextCr_, nextLf_);
        const QStringView piece(text + position_, end - position_);
        if (end == part_.size()) {
            carried_.append(piece);
            position_ = end;
            continue;
        }
        afterCr_ = text[end] == QLatin1Char('\r');
        previousEnd_ = lastEnd_;
        lastEnd_ = afterCr_ ? LineEnd::Cr : LineEnd::Lf;
        position_ = end + 1;
        if (carried_.isEmpty())
            return piece;
        carried_.append(piece);
        return QStringView(carried_);
    }
}

QLatin1StringView lineEndText(LineEnd end)
{
    switch (end) {
    case LineEnd::Lf:
        return QLatin1StringView("\n");
    case LineEnd::Cr:
        return QLatin1StringView("\r");
    case LineEnd::CrLf:
        return QLatin1StringView("\r\n");
    case LineEnd::None:
        break;
    }
    return {};
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += encodeSystemText(line);
        bytes += "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zefrin
