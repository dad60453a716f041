#include "files/temporaryfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace
{
// The signal handler reads the names, so they live in fixed slots that it
// can walk without locks or allocation.
struct Slot
{
    enum State
    {
        Free,
        Filling,
        Ready
    };
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots");

const int kSlots = 16;
Slot g_slots[kSlots];

const int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t InterruptSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kInterrupts)
        sigaddset(&set, signal);
    return set;
}

void Remember(const std::string& name)
{
    if (name.size() >= PATH_MAX)
        return;
    for (Slot& slot : g_slots)
    {
        int expected = Slot::Free;
        if (slot.state.compare_exchange_strong(expected, Slot::Filling))
        {
            std::memcpy(slot.path, name.c_str(), name.size() + 1);
            slot.state.store(Slot::Ready, std::memory_order_release);
            return;
        }
    }
}

extern "C" void RemoveAndEnd(int signal)
{
    for (Slot& slot : g_slots)
        if (slot.state.load(std::memory_order_acquire) == Slot::Ready)
            ::unlink(slot.path);
    // The handler was reset to the default action on entry; the signal,
    // raised again, ends the process as it would have without us.
    ::raise(signal);
}

bool IsTemplateSuffix(const char* suffix)
{
    for (int i = 0; i < 6; ++i)
    {
        const char c = suffix[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return suffix[6] == '\0';
}
}  // namespace

int CreateTemporaryFile(std::string& nameTemplate)
{
    // An interruption between creating and remembering would leave the file.
    const sigset_t interrupts = InterruptSet();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
    const int fd = mkostemp(&nameTemplate[0], O_CLOEXEC);
    const int error = errno;
    if (fd >= 0)
        Remember(nameTemplate);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return fd;
}

void ForgetTemporaryFile(const std::string& name)
{
    for (Slot& slot : g_slots)
        if (slot.state.load(std::memory_order_acquire) == Slot::Ready && name == slot.path)
        {
            slot.state.store(Slot::Free, std::memory_order_release);
            return;
        }
}

void RemoveTemporaryFilesOnInterrupt()
{
    for (int signal : kInterrupts)
    {
        struct sigaction current;
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = RemoveAndEnd;
        action.sa_mask = InterruptSet();
        action.sa_flags = SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

void RemoveStaleTemporaryFiles(const std::string& folder, const std::string& prefix,
                               std::time_t maxAgeSeconds)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir))
    {
        const char* name = entry->d_name;
        if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0 ||
            !IsTemplateSuffix(name + prefix.size()))
            continue;
        struct stat info;
        if (::fstatat(::dirfd(dir), name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            now - info.st_mtime > maxAgeSeconds)
            ::unlinkat(::dirfd(dir), name, 0);
    }
    ::closedir(dir);
}
