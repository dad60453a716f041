#include "decode/unreadablepictures.h"

#include "decode/framereference.h"

#include <wx/filename.h>
#include <wx/intl.h>

#include <algorithm>
#include <vector>

wxString ListUnreadablePictures(const wxArrayString& entries, const wxString& separator,
                                std::size_t maxItems)
{
    struct Item
    {
        wxString entry;
        wxString file;      // the GIF file of a frame reference, else the entry
        size_t frameCount;  // entries of file in a row
    };
    // Frames of one GIF file, and frames of one video clip (entries that
    // all name the clip), in a row are one item.
    std::vector<Item> items;
    for (const wxString& entry : entries)
    {
        FrameReference reference;
        const wxString file = ParseFrameReference(entry, reference) ? reference.gifPath : entry;
        if (!items.empty() && items.back().file == file)
            ++items.back().frameCount;
        else
            items.push_back({entry, file, 1u});
    }

    wxString text;
    const size_t shown = std::min(items.size(), maxItems);
    for (size_t i = 0; i < shown; ++i)
    {
        if (i > 0)
            text += separator;
        const Item& item = items[i];
        text += item.frameCount > 1 ? wxString::Format(_("%s (%lu frames)"), item.file,
                                                       static_cast<unsigned long>(item.frameCount))
                                    : item.entry;
    }
    if (shown < items.size())
        text += separator + wxString::Format(_("and %lu more"),
                                             static_cast<unsigned long>(items.size() - shown));
    return text;
}

wxString DescribeUnreadableFile(const wxString& path)
{
    const wxFileName name(path);
    if (!name.FileExists())
        return _("no such file");
    if (name.GetSize() == 0)
        return _("the file is empty");
    return _("damaged or not a picture");
}
