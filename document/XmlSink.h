#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Buffered output of the writer: into memory only, or flushed to a file in large blocks.
class XmlSink {
public:
    // With a null `file` everything stays in buffer().
    explicit XmlSink(std::FILE *file = nullptr) : m_file(file) {}

    void put(std::string_view text)
    {
        m_buffer.append(text);
        if (m_file != nullptr && m_buffer.size() >= kFlushAt)
            flush();
    }
    void put(char c) { m_buffer.push_back(c); }
    // Writes what is buffered to the file; false (and error()) when the file refused it.
    bool flush();

    // A writer that meets content XML cannot hold stops here; the first reason is kept.
    void fail(std::string reason)
    {
        if (m_error.empty())
            m_error = std::move(reason);
    }
    bool failed() const { return !m_error.empty(); }
    const std::string &error() const { return m_error; }
    const std::string &buffer() const { return m_buffer; }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    std::FILE *m_file;
    std::string m_buffer;
    std::string m_error;
};
