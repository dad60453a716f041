#ifndef LOOPFORGE_TESTS_LOCAL_HTTP_SERVER_H
#define LOOPFORGE_TESTS_LOCAL_HTTP_SERVER_H

// A tiny HTTP server on 127.0.0.1 for the tests of the update check: it
// answers every request with one canned response, or never answers at all.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class LocalHttpServer
{
public:
    // Answers every request with the raw response; with an empty one the
    // server accepts connections and never answers.
    explicit LocalHttpServer(std::string rawResponse)
        : m_response(std::move(rawResponse)), m_silent(m_response.empty())
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof(address);
        if (m_listener < 0 ||
            bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(m_listener, 8) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        if (pipe(m_wake) != 0)
            return;
        m_thread = std::thread([this] { Serve(); });
    }

    ~LocalHttpServer()
    {
        m_stop = true;
        if (m_wake[1] >= 0)
            (void)!write(m_wake[1], "x", 1);
        if (m_thread.joinable())
            m_thread.join();
        for (int fd : {m_listener, m_wake[0], m_wake[1]})
            if (fd >= 0)
                close(fd);
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsRunning() const { return m_port != 0 && m_thread.joinable(); }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    // The request lines received so far ("GET /path HTTP/1.1").
    std::vector<std::string> RequestLines() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requestLines;
    }

    // A complete response with the given status, body and extra header lines
    // (each ending in \r\n).
    static std::string Response(int status, const std::string& body,
                                const std::string& extraHeaders = std::string())
    {
        return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Other") +
               "\r\nContent-Type: application/xml; charset=utf-8\r\nContent-Length: " +
               std::to_string(body.size()) + "\r\n" + extraHeaders + "Connection: close\r\n\r\n" +
               body;
    }

private:
    void Serve()
    {
        std::vector<int> held;  // connections of a silent server stay open
        while (!m_stop)
        {
            pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
                break;
            const int client = accept(m_listener, nullptr, nullptr);
            if (client < 0)
                continue;
            const std::string request = ReadRequest(client);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requestLines.push_back(request.substr(0, request.find("\r\n")));
            }
            if (m_silent)
            {
                held.push_back(client);
                continue;
            }
            size_t sent = 0;
            while (sent < m_response.size())
            {
                const ssize_t n =
                    send(client, m_response.data() + sent, m_response.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
            close(client);
        }
        for (int fd : held)
            close(fd);
    }

    // Reads up to the blank line that ends the request head.
    std::string ReadRequest(int client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536)
        {
            pollfd fds[2] = {{client, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (poll(fds, 2, 5000) <= 0 || (fds[1].revents & POLLIN))
                break;
            const ssize_t n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<size_t>(n));
        }
        return request;
    }

    const std::string m_response;
    const bool m_silent;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requestLines;
};

#endif
