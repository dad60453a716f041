#include "project/sourceoverwrite.h"

#include "decode/framereference.h"
#include "files/samefile.h"

#include <wx/intl.h>

wxString FindOverwrittenSource(const wxString& output, const wxArrayString& frameNames,
                               const wxString& projectPath)
{
    if (!projectPath.empty() && IsSameFile(output, projectPath))
        return projectPath;
    wxString checked;
    for (const wxString& name : frameNames)
    {
        FrameReference reference;
        const wxString source = ParseFrameReference(name, reference) ? reference.gifPath : name;
        // The frames of one GIF file come in runs; each run is looked at once.
        if (source == checked)
            continue;
        checked = source;
        if (IsSameFile(output, source))
            return source;
    }
    return wxString();
}

wxString DescribeOverwrittenSource(const wxString& source)
{
    return wxString::Format(_("it is %s, which the GIF is made from"), source);
}
