#pragma once
// Text files as the emulator and the program exchange them: 8-bit text in the system's
// code page, every written line ended by CR LF; reading accepts CR LF, a lone LF or CR,
// and a last line without an end.

#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <memory>
#include <optional>

namespace zefrin {

// Splits decoded text into lines by the rules above.
QStringList splitLines(const QString& text);

// The lines of a file, or nothing when it cannot be opened.
std::optional<QStringList> readTextLines(const QString& path);

// Where the readers below take their bytes from: a file, or bytes already in memory (the same
// reading either way).
std::unique_ptr<QIODevice> fileDevice(const QString& path);
std::unique_ptr<QIODevice> memoryDevice(const QByteArray& bytes);

// A file's text a part at a time, for files of any size: the parts put together are the text
// a decode of the whole file gives.
class TextChunkReader {
public:
    // `encoding`: the system's code page, or Latin-1 where every byte must stay itself.
    // `chunk`: how many bytes are read at a time.
    explicit TextChunkReader(const QString& path,
                             QStringConverter::Encoding encoding = QStringConverter::System,
                             qsizetype chunk = 1 << 16);
    explicit TextChunkReader(std::unique_ptr<QIODevice> device,
                             QStringConverter::Encoding encoding = QStringConverter::System,
                             qsizetype chunk = 1 << 16);

    // False when the file could not be opened; it then has no text.
    bool isOpen() const { return open_; }
    // The next part, never empty, or nothing at the end of the file or once reading failed.
    std::optional<QString> next();
    // True when reading stopped on an error before the end of the file.
    bool failed() const { return failed_; }

private:
    // The next bytes of the device, none at its end.
    QByteArray readPart();

    std::unique_ptr<QIODevice> device_;
    QStringDecoder decoder_;
    const qsizetype chunk_;
    bool open_ = false;
    bool failed_ = false;
    QByteArray undecoded_;
};

// How a line of a file ended: the last line of a file may have no end.
enum class LineEnd { None, Lf, Cr, CrLf };
QLatin1StringView lineEndText(LineEnd end);

// A file's lines one at a time, by the rules above and the same as readTextLines gives, for
// files of any size: it holds one part of the file and the line being read, not the file.
class TextLineReader {
public:
    explicit TextLineReader(const QString& path,
                            QStringConverter::Encoding encoding = QStringConverter::System,
                            qsizetype chunk = 1 << 16);
    explicit TextLineReader(std::unique_ptr<QIODevice> device,
                            QStringConverter::Encoding encoding = QStringConverter::System,
                            qsizetype chunk = 1 << 16);

    bool isOpen() const { return text_.isOpen(); }
    // The next line, or nothing at the end of the file or once reading failed.
    std::optional<QString> next();
    // The same line as a view that holds until the next call, for a reader that keeps none of
    // it: no copy is made of a line that lies within one part.
    std::optional<QStringView> nextView();
    bool failed() const { return text_.failed(); }
    // How the line before the one last read ended (None for the first line); once the file
    // has ended, how its last line ended. A CR's LF may lie in the next part of the file, so a
    // line's end is known only when the next line is read.
    LineEnd endOfPreviousLine() const { return previousEnd_; }

private:
    TextChunkReader text_;
    QString part_;
    // A line begun in an earlier part, put together here.
    QString carried_;
    qsizetype position_ = 0;
    // The last line ended with a CR: an LF right after it belongs to that line end.
    bool afterCr_ = false;
    LineEnd lastEnd_ = LineEnd::None;
    LineEnd previousEnd_ = LineEnd::None;
    // The next CR and LF found in part_ (its size: none; below position_: to be searched).
    qsizetype nextCr_ = -1;
    qsizetype nextLf_ = -1;
};

// Writes every line followed by CR LF. The file appears complete or not at all: the text goes
// to a temporary file that replaces the target only when everything was written.
[[nodiscard]] bool writeTextLines(const QString& path, const QStringList& lines,
                                  QString* error = nullptr);

// Decodes 8-bit text read from a file or a child process.
QString decodeSystemText(const QByteArray& bytes);
QByteArray encodeSystemText(const QString& text);

} // namespace zefrin
