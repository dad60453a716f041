#include "files/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <new>

namespace
{
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};
}  // namespace

FileReadResult ReadRegularFile(const wxString& path, std::size_t maxBytes,
                               std::vector<unsigned char>& data)
{
    bool whole = false;
    return ReadRegularFileHead(path, maxBytes, maxBytes, data, whole);
}

FileReadResult ReadRegularFileHead(const wxString& path, std::size_t maxBytes,
                                   std::size_t headBytes, std::vector<unsigned char>& data,
                                   bool& whole)
{
    data.clear();
    whole = false;
    const wxCharBuffer name = path.fn_str();
    struct stat info;
    if (!name.data() || ::stat(name.data(), &info) != 0)
        return FileReadResult::CannotOpen;
    if (!S_ISREG(info.st_mode))
        return FileReadResult::NotRegularFile;

    // The file may have been replaced since: without O_NONBLOCK a pipe put
    // in its place would block the open itself.
    const FileDescriptor file(::open(name.data(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0)
        return FileReadResult::CannotOpen;
    if (::fstat(file.Get(), &info) != 0)
        return FileReadResult::ReadFailed;
    if (!S_ISREG(info.st_mode))
        return FileReadResult::NotRegularFile;
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > maxBytes)
        return FileReadResult::TooLarge;

    const std::size_t size = static_cast<std::size_t>(info.st_size);
    try
    {
        data.resize(std::min(size, headBytes));
    }
    catch (const std::bad_alloc&)
    {
        return FileReadResult::OutOfMemory;
    }
    std::size_t done = 0;
    while (done < data.size())
    {
        const ssize_t count = ::read(file.Get(), data.data() + done, data.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
        {
            data.clear();
            return FileReadResult::ReadFailed;
        }
        if (count == 0)
            break;  // the file shrank while it was read
        done += static_cast<std::size_t>(count);
    }
    // A file that shrank while it was read was read whole.
    whole = size <= headBytes || done < data.size();
    data.resize(done);
    return FileReadResult::Read;
}
