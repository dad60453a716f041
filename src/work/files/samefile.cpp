#include "files/samefile.h"

#include <wx/filename.h>

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace
{
// The path with every link resolved; for a missing file, its folder's
// resolved path and its own name.
wxString ResolvedPath(const wxString& path)
{
    wxFileName name(path);
    name.MakeAbsolute();
    const wxString absolute = name.GetFullPath();
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(absolute.fn_str(), nullptr),
                                                         &std::free);
    if (resolved)
        return wxString(resolved.get(), wxConvFile);
    std::unique_ptr<char, decltype(&std::free)> folder(realpath(name.GetPath().fn_str(), nullptr),
                                                       &std::free);
    if (folder)
        return wxString(folder.get(), wxConvFile) + wxS("/") + name.GetFullName();
    return absolute;
}
}  // namespace

bool IsSameFile(const wxString& a, const wxString& b)
{
    struct stat first = {}, second = {};
    if (stat(a.fn_str(), &first) == 0 && stat(b.fn_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return ResolvedPath(a) == ResolvedPath(b);
}
