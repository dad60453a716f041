#include "files/childprocess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

extern char** environ;

namespace
{
// A pipe both of whose ends close in programs started later, so a second
// child does not hold the first one's input open.
bool MakePipe(int fds[2])
{
    return pipe2(fds, O_CLOEXEC) == 0;
}

// Writing to a program that has ended must fail with EPIPE rather than end
// this process with SIGPIPE. Ignoring the signal is what a program that
// talks to pipes and sockets wants anyway; a handler someone installed stays.
void IgnoreBrokenPipes()
{
    struct sigaction current;
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        signal(SIGPIPE, SIG_IGN);
}

std::string FileName(const wxString& text)
{
    return std::string(text.fn_str());
}
}  // namespace

wxString FindProgram(const wxString& name)
{
    if (name.empty())
        return wxString();
    if (name.Find('/') != wxNOT_FOUND)
        return access(FileName(name).c_str(), X_OK) == 0 ? name : wxString();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size())
    {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + FileName(name);
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return wxString(candidate.c_str(), wxConvFile);
        start = end + 1;
    }
    return wxString();
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0)
        Kill();
    CloseFd(m_input);
    CloseFd(m_output);
    CloseFd(m_errors);
}

void ChildProcess::CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

bool ChildProcess::Start(const std::vector<wxString>& arguments, int pipes, wxString& error)
{
    if (arguments.empty() || m_pid > 0)
    {
        error = "no program to start";
        return false;
    }
    const wxString program = FindProgram(arguments[0]);
    if (program.empty())
    {
        error = wxString::Format("%s is not installed", arguments[0]);
        return false;
    }
    IgnoreBrokenPipes();

    int input[2] = {-1, -1};
    int output[2] = {-1, -1};
    char errorName[] = "/tmp/loopforge-child-XXXXXX";
    const int errors = mkostemp(errorName, O_CLOEXEC);
    if (errors >= 0)
        unlink(errorName);
    const bool piped = (!(pipes & InputPipe) || MakePipe(input)) &&
                       (!(pipes & OutputPipe) || MakePipe(output));
    if (errors < 0 || !piped)
    {
        error = wxString::Format("cannot start %s: %s", arguments[0], strerror(errno));
        for (int fd : {input[0], input[1], output[0], output[1], errors})
            if (fd >= 0)
                close(fd);
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipes & InputPipe)
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (pipes & OutputPipe)
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);

    std::vector<std::string> texts;
    texts.push_back(FileName(program));
    for (size_t i = 1; i < arguments.size(); ++i)
        texts.push_back(FileName(arguments[i]));
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : {input[0], output[1]})
        if (fd >= 0)
            close(fd);
    if (failed != 0)
    {
        error = wxString::Format("cannot start %s: %s", arguments[0], strerror(failed));
        for (int fd : {input[1], output[0], errors})
            if (fd >= 0)
                close(fd);
        return false;
    }
    m_pid = pid;
    m_input = input[1];
    m_output = output[0];
    m_errors = errors;
    m_status = -1;
    return true;
}

bool ChildProcess::Write(const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0 && m_input >= 0)
    {
        const ssize_t written = write(m_input, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= size_t(written);
    }
    return size == 0;
}

void ChildProcess::CloseInput()
{
    CloseFd(m_input);
}

long ChildProcess::Read(void* data, std::size_t size)
{
    if (m_output < 0)
        return -1;
    for (;;)
    {
        const ssize_t got = read(m_output, data, size);
        if (got < 0 && errno == EINTR)
            continue;
        return long(got);
    }
}

bool ChildProcess::ReadFully(void* data, std::size_t size)
{
    char* bytes = static_cast<char*>(data);
    while (size > 0)
    {
        const long got = Read(bytes, size);
        if (got <= 0)
            return false;
        bytes += got;
        size -= size_t(got);
    }
    return true;
}

std::vector<char> ChildProcess::ReadAll(std::size_t maxBytes)
{
    std::vector<char> all;
    char buffer[16384];
    for (;;)
    {
        const long got = Read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        const size_t room = maxBytes - all.size();
        all.insert(all.end(), buffer, buffer + std::min(size_t(got), room));
    }
    return all;
}

int ChildProcess::Wait()
{
    CloseFd(m_input);
    if (m_pid > 0)
    {
        int status = 0;
        pid_t done;
        do
            done = waitpid(m_pid, &status, 0);
        while (done < 0 && errno == EINTR);
        m_status = done == m_pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        m_pid = -1;
    }
    CloseFd(m_output);
    return m_status;
}

void ChildProcess::Kill()
{
    if (m_pid > 0)
        kill(m_pid, SIGKILL);
    Wait();
}

wxString ChildProcess::GetErrorOutput(std::size_t maxBytes) const
{
    if (m_errors < 0)
        return wxString();
    const off_t end = lseek(m_errors, 0, SEEK_END);
    if (end <= 0)
        return wxString();
    const off_t start = end > off_t(maxBytes) ? end - off_t(maxBytes) : 0;
    std::string text(size_t(end - start), '\0');
    const ssize_t got = pread(m_errors, text.data(), text.size(), start);
    text.resize(got > 0 ? size_t(got) : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return wxString::FromUTF8(text.c_str());
}
