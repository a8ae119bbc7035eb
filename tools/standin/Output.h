#pragma once
// An output stream as the emulator writes it: whole lines with the configured line end,
// buffered, and flushed before the process waits, dies or exits. Standard error is written
// line by line after standard output is flushed, so both keep the order they were written in
// when they share a pipe.

#include <cstdio>
#include <string>
#include <string_view>

namespace zefrin::standin {

class Output {
public:
    explicit Output(bool crlf)
        : m_eol(crlf ? "\r\n" : "\n")
    {
    }
    // Standard error, flushing `out` before each line.
    Output(bool crlf, Output& out)
        : m_eol(crlf ? "\r\n" : "\n")
        , m_stream(stderr)
        , m_before(&out)
    {
    }
    ~Output() { flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void line(std::string_view text);
    // Bytes as they are, no line end added.
    void text(std::string_view bytes);
    void flush();
    std::size_t eolSize() const { return m_eol.size(); }
    // Writes no more than `bytes` from now on; the rest is dropped unseen, as writes to a full
    // disk are. A negative count sets no limit.
    void cutAfter(long bytes) { m_room = bytes; }

private:
    std::string m_eol;
    std::string m_buffer;
    std::FILE* m_stream = stdout;
    Output* m_before = nullptr;
    long m_room = -1;
};

} // namespace zefrin::standin
