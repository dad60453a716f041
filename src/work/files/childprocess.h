#ifndef LOOPFORGE_WORK_CHILDPROCESS_H
#define LOOPFORGE_WORK_CHILDPROCESS_H

#include <wx/string.h>

#include <sys/types.h>

#include <cstddef>
#include <vector>

// The full path of a program found on PATH; empty when it is not installed.
wxString FindProgram(const wxString& name);

// Another program run as a separate process, with its standard input and
// output connected to pipes the caller reads and writes, and its error
// output kept aside for the message when it fails. The arguments go to the
// program as they are: no shell sees them. Safe to use from any thread;
// one object is used by one thread at a time.
class ChildProcess
{
public:
    enum Pipes
    {
        NoPipes = 0,
        InputPipe = 1,   // the caller writes the program's standard input
        OutputPipe = 2,  // the caller reads the program's standard output
    };

    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // A program still running is stopped: an abandoned job must not linger.
    ~ChildProcess();

    // Starts arguments[0] (looked up on PATH) with the rest as its
    // arguments. Streams without a pipe read from and write to /dev/null.
    // On failure returns false with a reason in error.
    bool Start(const std::vector<wxString>& arguments, int pipes, wxString& error);
    bool IsRunning() const { return m_pid > 0; }

    // Writes all of size bytes to the program's input; false once the
    // program stopped reading (it ended or closed its input).
    bool Write(const void* data, std::size_t size);
    // Closes the program's input, which tells it the input has ended.
    void CloseInput();

    // Reads up to size bytes of the program's output; 0 at its end, -1 on
    // an error.
    long Read(void* data, std::size_t size);
    // Reads exactly size bytes; false when the output ends first.
    bool ReadFully(void* data, std::size_t size);
    // Reads the whole remaining output, up to maxBytes (the rest is
    // dropped); for short answers such as a probe's.
    std::vector<char> ReadAll(std::size_t maxBytes);

    // Waits for the program to end; its exit status, or -1 when a signal
    // ended it.
    int Wait();
    // Stops the program at once and waits for it (for Cancel).
    void Kill();

    // The last lines the program wrote to its error output, for a message.
    wxString GetErrorOutput(std::size_t maxBytes = 2000) const;

private:
    void CloseFd(int& fd);

    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    int m_errors = -1;  // an unlinked temporary file holding the error output
    int m_status = -1;
};

#endif
