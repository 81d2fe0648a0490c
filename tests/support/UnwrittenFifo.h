#pragma once

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// A FIFO that nothing writes to, for code that must refuse it at once. Should the code block
// on it anyway, a writer opens and closes it after `rescueAfter`, so the test fails instead of
// hanging. Only for tests.
class UnwrittenFifo
{
public:
    explicit UnwrittenFifo(std::string path,
                           std::chrono::milliseconds rescueAfter = std::chrono::seconds(5))
        : m_path(std::move(path))
    {
        ::mkfifo(m_path.c_str(), 0600);
        m_rescuer = std::thread([this, rescueAfter] { rescue(rescueAfter); });
    }
    ~UnwrittenFifo()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_rescuer.join();
        ::unlink(m_path.c_str());
    }
    UnwrittenFifo(const UnwrittenFifo &) = delete;
    UnwrittenFifo &operator=(const UnwrittenFifo &) = delete;

    const std::string &path() const { return m_path; }

private:
    void rescue(std::chrono::milliseconds after)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_for(lock, after, [this] { return m_done; }))
            return;
        // A writer can open without blocking only while a reader waits.
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; })) {
            const int writer = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0)
                ::close(writer);
        }
    }

    std::string m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_rescuer;
};
