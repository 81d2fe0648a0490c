#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
        m_data.get()[m_used++] = c;
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
    // From now on the offset of each element's "<" is appended to `starts` (null: no longer).
    void setElementStarts(std::vector<std::size_t> *starts) { m_elementStarts = starts; }
    void markElementStart()
    {
        if (m_elementStarts != nullptr)
            m_elementStarts->push_back(m_flushed + m_used);
    }

    // What is buffered (everything, for a sink without a file).
    std::string_view text() const { return std::string_view(m_data.get(), m_used); }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    // Flushes to the file, or grows the memory buffer, so that `size` more bytes fit.
    void makeRoom(std::size_t size);

    // Grown with realloc, which moves large blocks without copying them: a document written
    // into memory takes its own size, not one and a half times it while the buffer grows.
    struct Free {
        void operator()(char *p) const { std::free(p); }
    };

    std::FILE *m_file;
    std::unique_ptr<char, Free> m_data;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::size_t m_flushed = 0;
    std::string m_error;
    std::vector<std::size_t> *m_elementStarts = nullptr;
    std::function<bool(std::uint64_t)> m_progress;
    bool m_cancelled = false;
};
