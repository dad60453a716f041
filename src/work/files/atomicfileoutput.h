#ifndef LOOPFORGE_WORK_ATOMICFILEOUTPUT_H
#define LOOPFORGE_WORK_ATOMICFILEOUTPUT_H

#include <wx/stream.h>
#include <wx/string.h>

#include <sys/types.h>
#include <string>
#include <vector>

// An output stream that writes to a temporary file beside the target and puts
// it in the target's place only on Commit(), so a failed or interrupted write
// never destroys the file that was there. Writes are buffered; the first
// failing system call is remembered with its errno. Without Commit() the
// temporary file is removed; it is also removed when the process is
// interrupted (see RemoveTemporaryFilesOnInterrupt), and such files older
// than a day, left by a process that was killed, go when the same target is
// written again.
//
// A target that is a symbolic link stays one: the file it points to is
// replaced. A device, a pipe or a socket cannot be replaced atomically and
// must not be replaced at all: it is written straight into (a pipe without a
// reader fails at once instead of waiting for one).
class AtomicFileOutputStream : public wxOutputStream
{
public:
    explicit AtomicFileOutputStream(const wxString& target);
    ~AtomicFileOutputStream() override;
    AtomicFileOutputStream(const AtomicFileOutputStream&) = delete;
    AtomicFileOutputStream& operator=(const AtomicFileOutputStream&) = delete;

    bool IsOk() const override;
    // Flushes, syncs and closes the temporary file and renames it onto the target.
    bool Commit();
    // Removes the temporary file.
    void Discard();

    // The errno of the first failure, 0 if none.
    int GetErrno() const { return m_errno; }

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override;

private:
    void OpenTemporary(bool exists, mode_t existingMode);
    void OpenDirect();
    bool Flush();
    void Fail(int error);

    std::string m_target;  // in the file system's encoding, links followed
    std::string m_temp;    // empty when writing straight into the target
    int m_fd = -1;
    int m_errno = 0;
    std::vector<char> m_buffer;
};

#endif
