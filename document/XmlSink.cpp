#include "XmlSink.h"

#include <algorithm>
#include <cerrno>

bool XmlSink::flush()
{
    if (m_file == nullptr || m_used == 0)
        return !failed();
    if (std::fwrite(m_data.get(), 1, m_used, m_file) != m_used)
        fail(std::strerror(errno));
    m_used = 0;
    return !failed();
}

void XmlSink::makeRoom(std::size_t size)
{
    if (m_file != nullptr && m_used > 0)
        flush();
    if (m_capacity - m_used >= size)
        return;
    const std::size_t capacity = std::max({kBlock, m_used + size, m_capacity * 2});
    // Not zeroed: every byte is written before it is read, and most of a block is never touched.
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_used > 0)
        std::memcpy(data.get(), m_data.get(), m_used);
    m_data = std::move(data);
    m_capacity = capacity;
}
