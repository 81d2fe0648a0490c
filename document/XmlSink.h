#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Buffered output of the writer: into memory only, or flushed to a file in large blocks.
class XmlSink
{
public:
    // With a null `file` everything stays in memory (see text()).
    explicit XmlSink(std::FILE *file = nullptr) : m_file(file) {}

    void put(std::string_view text)
    {
        if (m_capacity - m_used < text.size())
            makeRoom(text.size());
        std::memcpy(m_data.get() + m_used, text.data(), text.size());
        m_used += text.size();
    }
    void put(char c)
    {
        if (m_used == m_capacity)
            makeRoom(1);
        m_data[m_used++] = c;
    }
    // Writes what is buffered to the file; false (and error()) when the file refused it.
    bool flush();
    // Hears the bytes written to the file after each block; when it returns false the sink
    // fails as cancelled() and the writer stops.
    void setProgress(std::function<bool(std::uint64_t nWritten)> progress)
    {
        m_progress = std::move(progress);
    }
    bool cancelled() const { return m_cancelled; }

    // A writer that meets content XML cannot hold stops here; the first reason is kept.
    void fail(std::string reason)
    {
        if (m_error.empty())
            m_error = std::move(reason);
    }
    bool failed() const { return !m_error.empty(); }
    const std::string &error() const { return m_error; }
    // What is buffered (everything, for a sink without a file).
    std::string_view text() const { return std::string_view(m_data.get(), m_used); }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    // Flushes to the file, or grows the memory buffer, so that `size` more bytes fit.
    void makeRoom(std::size_t size);

    std::FILE *m_file;
    std::unique_ptr<char[]> m_data;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::string m_error;
    std::function<bool(std::uint64_t)> m_progress;
    std::uint64_t m_written = 0;
    bool m_cancelled = false;
};
