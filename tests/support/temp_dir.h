#ifndef LOOPFORGE_TESTS_TEMP_DIR_H
#define LOOPFORGE_TESTS_TEMP_DIR_H

#include "test_files.h"

#include <wx/filename.h>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir
{
public:
    TempDir()
    {
        const wxString base = wxFileName::CreateTempFileName(wxS("lftest"));
        wxRemoveFile(base);
        wxFileName::Mkdir(base, 0700, wxPATH_MKDIR_FULL);
        m_path = base;
    }
    ~TempDir() { wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const wxString& Path() const { return m_path; }
    wxString File(const wxString& name) const { return m_path + wxS("/") + name; }

    // Writes bytes to a file inside the folder and returns its path.
    wxString Write(const wxString& name, const std::string& bytes) const
    {
        const wxString path = File(name);
        WriteFileBytes(path, bytes);
        return path;
    }

private:
    wxString m_path;
};

#endif
