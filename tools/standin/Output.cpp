#include "Output.h"

namespace zefrin::standin {

void Output::line(std::string_view text)
{
    m_buffer.append(text).append(m_eol);
    if (m_before != nullptr || m_buffer.size() >= 1U << 16)
        flush();
}

void Output::text(std::string_view bytes)
{
    m_buffer.append(bytes);
}

void Output::flush()
{
    if (m_before != nullptr)
        m_before->flush();
    if (m_room >= 0 && m_buffer.size() > static_cast<std::size_t>(m_room))
        m_buffer.resize(static_cast<std::size_t>(m_room));
    if (m_room >= 0)
        m_room -= static_cast<long>(m_buffer.size());
    if (!m_buffer.empty())
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream);
    std::fflush(m_stream);
    m_buffer.clear();
}

} // namespace zefrin::standin
