#pragma once
// The load log: what the emulator printed during a launch, standard output and error as it
// wrote them. It is kept as the bytes it printed (8-bit text in the system's code page), every
// line followed by CR LF whatever line end it had: an output of hundreds of megabytes is then
// held once, never as a decoded copy, and its lines are decoded one at a time when shown.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zefrin {

// The output with every line followed by CR LF; lines end at CR LF, a lone LF or CR, and a
// last line without an end gets one.
QByteArray launchLogText(const QByteArray& output);

// The emulator's output file read into the log's form a piece at a time, or nothing (with
// the reason) when it cannot be read.
std::optional<QByteArray> readLaunchLog(const QString& path, QString* error);

// The lines of a log in that form, by index.
class LogLines {
public:
    explicit LogLines(const QByteArray& log);

    qsizetype count() const { return static_cast<qsizetype>(starts_.size()); }
    // Line `row`, decoded, without its line end; a line longer than `longestShown`
    // characters is cut there and ends in an ellipsis.
    QString line(qsizetype row) const;
    // The length of the longest line as shown.
    qsizetype widest() const { return widest_; }

    static constexpr qsizetype longestShown = 2000;

private:
    QByteArray log_;
    std::vector<qsizetype> starts_;
    qsizetype widest_ = 0;
};

} // namespace zefrin
