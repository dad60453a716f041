#ifndef LOOPFORGE_TESTS_FIFO_H
#define LOOPFORGE_TESTS_FIFO_H

// A named pipe, for code that must never wait on one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/string.h>

#include <chrono>
#include <future>
#include <string>

class Fifo
{
public:
    explicit Fifo(const wxString& path)
        : m_path(static_cast<const char*>(path.fn_str())), m_ok(mkfifo(m_path.c_str(), 0600) == 0)
    {
    }
    bool IsOk() const { return m_ok; }

    // Opens and closes the writing end: a reader stuck opening the pipe gets
    // through and reads its end, so a failing test ends instead of hanging.
    void Release() const
    {
        const int fd = open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            close(fd);
    }

    // Runs work on another thread; true when it finished within the time.
    // Otherwise releases any reader of the pipe, waits for work and returns false.
    template <typename Work>
    bool FinishesPromptly(Work work, std::chrono::seconds limit = std::chrono::seconds(10)) const
    {
        std::future<void> done = std::async(std::launch::async, work);
        if (done.wait_for(limit) == std::future_status::ready)
            return true;
        while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
            Release();
        return false;
    }

private:
    std::string m_path;
    bool m_ok;
};

#endif
