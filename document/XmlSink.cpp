#include "XmlSink.h"

#include <algorithm>
#include <cerrno>
#include <new>

bool XmlSink::flush()
{
    if (m_file == nullptr || m_used == 0)
        return !failed();
    if (std::fwrite(m_data.get(), 1, m_used, m_file) != m_used)
        fail(std::strerror(errno));
    m_flushed += m_used;
    m_used = 0;
    if (m_progress && !failed() && !m_progress(m_flushed)) {
        m_cancelled = true;
        fail("cancelled");
    }
    return !failed();
}

void XmlSink::makeRoom(std::size_t size)
{
    if (m_file != nullptr && m_used > 0)
        flush();
    if (m_capacity - m_used >= size)
        return;
    const std::size_t capacity = std::max({kBlock, m_used + size, m_capacity * 2});
    auto *data = static_cast<char *>(std::realloc(m_data.get(), capacity));
    if (data == nullptr)
        throw std::bad_alloc();
    // realloc has freed or kept the old block: the pointer moves over without a free.
    static_cast<void>(m_data.release());
    m_data.reset(data);
    m_capacity = capacity;
}
