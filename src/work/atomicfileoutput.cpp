#include "work/atomicfileoutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
const size_t kBufferSize = 1 << 16;

// The permissions a newly created file gets: 0666 less the process umask,
// read without changing it (other threads may be creating files).
mode_t NewFileMode()
{
    mode_t mask = 022;
    if (FILE* status = std::fopen("/proc/self/status", "r"))
    {
        char line[256];
        while (std::fgets(line, sizeof line, status))
        {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1)
            {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}
}  // namespace

AtomicFileOutputStream::AtomicFileOutputStream(const wxString& target)
    : m_target(static_cast<const char*>(target.fn_str()))
{
    m_buffer.reserve(kBufferSize);
    if (m_target.empty())
    {
        Fail(ENOENT);
        return;
    }
    const size_t slash = m_target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    m_temp = folder + "." + name + ".XXXXXX";
    m_fd = mkstemp(&m_temp[0]);
    if (m_fd < 0)
    {
        m_temp.clear();
        Fail(errno);
        return;
    }
    struct stat existing;
    const mode_t mode =
        stat(m_target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    fchmod(m_fd, mode);
}

AtomicFileOutputStream::~AtomicFileOutputStream()
{
    Discard();
}

bool AtomicFileOutputStream::IsOk() const
{
    return m_fd >= 0 && m_errno == 0;
}

void AtomicFileOutputStream::Fail(int error)
{
    if (m_errno == 0)
        m_errno = error ? error : EIO;
    m_lasterror = wxSTREAM_WRITE_ERROR;
}

size_t AtomicFileOutputStream::OnSysWrite(const void* buffer, size_t size)
{
    if (!IsOk())
    {
        m_lasterror = wxSTREAM_WRITE_ERROR;
        return 0;
    }
    const char* bytes = static_cast<const char*>(buffer);
    if (m_buffer.size() + size > kBufferSize && !Flush())
        return 0;
    if (size >= kBufferSize)
    {
        m_buffer.assign(bytes, bytes + size);
        return Flush() ? size : 0;
    }
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    return size;
}

bool AtomicFileOutputStream::Flush()
{
    size_t done = 0;
    while (done < m_buffer.size())
    {
        const ssize_t written = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
        {
            Fail(written < 0 ? errno : ENOSPC);
            return false;
        }
        done += static_cast<size_t>(written);
    }
    m_buffer.clear();
    return true;
}

bool AtomicFileOutputStream::Commit()
{
    if (!IsOk() || !Flush())
    {
        Discard();
        return false;
    }
    if (::fsync(m_fd) != 0)
        Fail(errno);
    if (::close(m_fd) != 0)
        Fail(errno);
    m_fd = -1;
    if (m_errno == 0 && std::rename(m_temp.c_str(), m_target.c_str()) != 0)
        Fail(errno);
    if (m_errno != 0)
    {
        Discard();
        return false;
    }
    m_temp.clear();
    return true;
}

void AtomicFileOutputStream::Discard()
{
    if (m_fd >= 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty())
    {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
    m_buffer.clear();
}
