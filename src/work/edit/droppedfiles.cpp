#include "edit/droppedfiles.h"

#include "decode/videoclip.h"

#include <wx/dir.h>
#include <wx/filename.h>

#include <algorithm>

namespace
{
bool HasPictureEnding(const wxString& path)
{
    const wxString ending = wxFileName(path).GetExt().Lower();
    return ending == wxS("png") || ending == wxS("jpg") || ending == wxS("jpeg") ||
           ending == wxS("bmp") || ending == wxS("gif");
}

void AddFolderPictures(const wxString& folder, wxArrayString& pictures)
{
    wxDir dir(folder);
    wxString name;
    for (bool more = dir.IsOpened() && dir.GetFirst(&name, wxString(), wxDIR_FILES); more;
         more = dir.GetNext(&name))
        if (HasPictureEnding(name))
            pictures.push_back(wxFileName(folder, name).GetFullPath());
}

bool NameOrder(const wxString& a, const wxString& b)
{
    const int byName = wxCmpNatural(wxFileNameFromPath(a), wxFileNameFromPath(b));
    return byName != 0 ? byName < 0 : a < b;
}
}  // namespace

DroppedFiles SortOutDroppedFiles(const wxArrayString& dropped)
{
    DroppedFiles files;
    if (dropped.size() == 1 && wxFileName(dropped[0]).GetExt().Lower() == wxS("xml") &&
        !wxDirExists(dropped[0]))
    {
        files.project = dropped[0];
        return files;
    }
    if (dropped.size() == 1 && IsVideoClipPath(dropped[0]) && !wxDirExists(dropped[0]))
    {
        files.video = dropped[0];
        return files;
    }
    for (const wxString& path : dropped)
    {
        if (wxDirExists(path))
            AddFolderPictures(path, files.pictures);
        else
            files.pictures.push_back(path);
    }
    std::stable_sort(files.pictures.begin(), files.pictures.end(), NameOrder);
    return files;
}
