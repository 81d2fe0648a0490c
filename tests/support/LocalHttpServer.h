#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A socket listening on a free loopback port, which it stores in `*pPort`. The kernel completes
// connections to it whether or not anyone accepts them.
inline int ListenOnLoopback(int *pPort)
{
    const int listening = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listening, 4);
    socklen_t length = sizeof address;
    ::getsockname(listening, reinterpret_cast<sockaddr *>(&address), &length);
    *pPort = ntohs(address.sin_port);
    return listening;
}

// A one-thread HTTP server on 127.0.0.1 that answers every request with one fixed response,
// until it is destroyed. Only for tests.
class LocalHttpServer
{
public:
    explicit LocalHttpServer(std::string body, std::string status = "200 OK")
        : m_response("HTTP/1.1 " + status +
                     "\r\nContent-Type: application/xml\r\nContent-Length: " +
                     std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body)
    {
        m_socket = ListenOnLoopback(&m_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~LocalHttpServer()
    {
        m_stop = true;
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        m_thread.join();
    }
    LocalHttpServer(const LocalHttpServer &) = delete;
    LocalHttpServer &operator=(const LocalHttpServer &) = delete;

    // A loopback port that refuses connections: bound for a moment, then closed.
    static int ClosedPort()
    {
        const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length);
        ::close(probe);
        return ntohs(address.sin_port);
    }

    std::string url(const std::string &path = "/doc.xml") const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    int requests() const { return m_requests; }

private:
    void serve()
    {
        while (!m_stop) {
            const int client = ::accept(m_socket, nullptr, nullptr);
            if (client < 0)
                return;
            char buffer[4096];
            ::recv(client, buffer, sizeof buffer, 0); // the request itself does not matter
            ++m_requests;
            std::size_t sent = 0;
            while (sent < m_response.size()) {
                const ssize_t n = ::send(client, m_response.data() + sent, m_response.size() - sent,
                                         MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            ::close(client);
        }
    }

    std::string m_response;
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};
