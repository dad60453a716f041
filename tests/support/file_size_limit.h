#ifndef LOOPFORGE_TESTS_FILE_SIZE_LIMIT_H
#define LOOPFORGE_TESTS_FILE_SIZE_LIMIT_H

// Makes every write that would grow a file past a few bytes fail with EFBIG
// while the object lives: a real write failure that even root gets, so tests
// can check what a failed save leaves behind. Only the soft limit is lowered,
// so it can be raised again without privileges.
#include <sys/resource.h>

#include <csignal>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool IsOk() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

#endif
