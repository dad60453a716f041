#ifndef LOOPFORGE_WORK_ATOMICFILEOUTPUT_H
#define LOOPFORGE_WORK_ATOMICFILEOUTPUT_H

#include <wx/stream.h>
#include <wx/string.h>

#include <string>
#include <vector>

// An output stream that writes to a temporary file beside the target and puts
// it in the target's place only on Commit(), so a failed or interrupted write
// never destroys the file that was there. Writes are buffered; the first
// failing system call is remembered with its errno. Without Commit() the
// temporary file is removed.
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
    bool Flush();
    void Fail(int error);

    std::string m_target;  // in the file system's encoding
    std::string m_temp;
    int m_fd = -1;
    int m_errno = 0;
    std::vector<char> m_buffer;
};

#endif
