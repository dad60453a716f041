#ifndef LOOPFORGE_WORK_DAMAGEDFRAMES_H
#define LOOPFORGE_WORK_DAMAGEDFRAMES_H

#include <wx/arrstr.h>
#include <wx/string.h>

#include <utility>
#include <vector>

// Frames of GIF files left out of an import or a render because their pixel
// data is damaged, gathered for the report at its end.
class DamagedFrames
{
public:
    void Add(const wxString& gifPath, int frameIndex);
    bool IsEmpty() const { return m_files.empty(); }
    void Clear() { m_files.clear(); }

    // One line per file, "PATH: frames 21, 40-45 are damaged and were left
    // out", frames counted from 1 as the file plays them.
    wxArrayString Describe() const;

private:
    std::vector<std::pair<wxString, std::vector<int>>> m_files;
};

#endif
