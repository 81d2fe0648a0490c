#include "XmlSink.h"

#include <cerrno>
#include <cstring>

bool XmlSink::flush()
{
    if (m_file == nullptr || m_buffer.empty())
        return !failed();
    if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) {
        fail(std::strerror(errno));
        return false;
    }
    m_buffer.clear();
    return !failed();
}
