#pragma once
// Standard output as the emulator writes it: whole lines with the configured line end,
// buffered, and flushed before the process waits, dies or exits.

#include <string>
#include <string_view>

namespace zefrin::standin {

class Output {
public:
    explicit Output(bool crlf)
        : m_eol(crlf ? "\r\n" : "\n")
    {
    }
    ~Output() { flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void line(std::string_view text);
    void flush();
    std::size_t eolSize() const { return m_eol.size(); }

private:
    std::string m_eol;
    std::string m_buffer;
};

} // namespace zefrin::standin
