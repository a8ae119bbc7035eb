#include "Output.h"

#include <cstdio>

namespace zefrin::standin {

void Output::line(std::string_view text)
{
    m_buffer.append(text).append(m_eol);
    if (m_buffer.size() >= 1U << 16)
        flush();
}

void Output::flush()
{
    if (!m_buffer.empty())
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
    std::fflush(stdout);
    m_buffer.clear();
}

} // namespace zefrin::standin
