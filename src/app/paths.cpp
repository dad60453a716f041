#include "app/paths.h"

#include <wx/app.h>
#include <wx/stdpaths.h>

#include <climits>
#include <cstdlib>

namespace
{
wxString& ProgramPathOverride()
{
    static wxString path;
    return path;
}

wxString CutBeforeLastSlash(const wxString& path, const wxString& whenNone)
{
    wxString normalized(path);
    normalized.Replace(wxS("\\"), wxS("/"));
    const size_t slash = normalized.rfind('/');
    if (slash == wxString::npos)
        return whenNone;
    return normalized.Left(slash);
}
}  // namespace

wxString ExecutableDirFromProgramPath(const wxString& programPath)
{
    return CutBeforeLastSlash(programPath, wxS("."));
}

wxString ParentDirOf(const wxString& dir)
{
    return CutBeforeLastSlash(dir, wxString());
}

void SetProgramPath(const wxString& programPath)
{
    ProgramPathOverride() = programPath;
}

wxString GetProgramPath()
{
    if (!ProgramPathOverride().empty())
        return ProgramPathOverride();

    // argv[0] is bare when the program is started through PATH and names the
    // link when started through a symbolic link; the system knows the real file.
    const wxString exe = wxStandardPaths::Get().GetExecutablePath();
    if (!exe.empty())
    {
        char resolved[PATH_MAX];
        if (realpath(exe.fn_str(), resolved))
            return wxString(resolved, *wxConvFileName);
        return exe;
    }
    if (wxTheApp && wxTheApp->argc > 0)
        return wxTheApp->argv[0];
    return wxString();
}

wxString GetExecutableDir()
{
    return ExecutableDirFromProgramPath(GetProgramPath());
}

wxString GetInstallDir()
{
    return ParentDirOf(GetExecutableDir());
}

wxString GetOptionFilePath()
{
    return GetInstallDir() + wxS("/option.cfg");
}
