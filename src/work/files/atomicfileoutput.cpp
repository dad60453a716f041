#include "files/atomicfileoutput.h"

#include "files/temporaryfiles.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
const size_t kBufferSize = 1 << 16;

// Temporary files are named ".NAME" + kTemporaryMarker + six characters, a
// name nobody else uses, so that stale ones can be told apart.
const char kTemporaryMarker[] = ".loopforge-";
const std::time_t kStaleTemporaryAge = 24 * 60 * 60;

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

// The path a chain of symbolic links ends at, the last of them possibly
// dangling (writing then creates the file it names); path itself when it is
// no link. Empty with error set for a loop or an over-long link.
std::string FollowLinks(const std::string& path, int& error)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops)
    {
        char link[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), link, sizeof link);
        if (length < 0)
            return current;
        if (static_cast<size_t>(length) == sizeof link)
        {
            error = ENAMETOOLONG;
            return std::string();
        }
        const std::string target(link, static_cast<size_t>(length));
        const size_t slash = current.rfind('/');
        current = target[0] == '/' || slash == std::string::npos
                      ? target
                      : current.substr(0, slash + 1) + target;
    }
    error = ELOOP;
    return std::string();
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
    struct stat existing = {};
    const bool exists = ::stat(m_target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode))
        OpenDirect();
    else
        OpenTemporary(exists, existing.st_mode);
}

void AtomicFileOutputStream::OpenTemporary(bool exists, mode_t existingMode)
{
    int error = 0;
    m_target = FollowLinks(m_target, error);
    if (error != 0)
    {
        Fail(error);
        return;
    }
    const size_t slash = m_target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    const std::string prefix = "." + name + kTemporaryMarker;
    RemoveStaleTemporaryFiles(folder, prefix, kStaleTemporaryAge);

    m_temp = folder + prefix + "XXXXXX";
    m_fd = CreateTemporaryFile(m_temp);
    if (m_fd < 0)
    {
        m_temp.clear();
        Fail(errno);
        return;
    }
    fchmod(m_fd, exists ? (existingMode & 07777) : NewFileMode());
}

void AtomicFileOutputStream::OpenDirect()
{
    m_fd = ::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
    {
        Fail(errno);
        return;
    }
    // Once open, writes wait for a slow reader as any program's would.
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        Fail(errno);
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
    const bool direct = m_temp.empty();
    if (!direct && ::fsync(m_fd) != 0)
        Fail(errno);
    if (::close(m_fd) != 0)
        Fail(errno);
    m_fd = -1;
    if (m_errno == 0 && !direct && std::rename(m_temp.c_str(), m_target.c_str()) != 0)
        Fail(errno);
    if (m_errno != 0)
    {
        Discard();
        return false;
    }
    ForgetTemporaryFile(m_temp);
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
        ForgetTemporaryFile(m_temp);
        m_temp.clear();
    }
    m_buffer.clear();
}
