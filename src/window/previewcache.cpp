#include "window/previewcache.h"

#include "window/gifframe.h"

#include "encode/pictureorientation.h"

#include <wx/image.h>

PreviewCache::PreviewCache(size_t budgetBytes) : m_bytes(0), m_budget(budgetBytes) {}

void PreviewCache::Clear()
{
    m_entries.clear();
    m_bytes = 0;
}

wxBitmap PreviewCache::Find(std::uint64_t key, int orientation, const wxRect& part,
                            const wxSize& panel)
{
    if (panel != m_panel)
    {
        Clear();
        m_panel = panel;
    }
    const auto found = m_entries.find(key);
    if (found != m_entries.end() && found->second.orientation == orientation &&
        found->second.part == part)
        return found->second.bitmap;
    return wxBitmap();
}

wxBitmap PreviewCache::Get(std::uint64_t key, const wxImage& whole, int orientation,
                           const wxRect& part, const wxSize& panel)
{
    const wxBitmap kept = Find(key, orientation, part, panel);
    if (kept.IsOk())
        return kept;
    const auto found = m_entries.find(key);
    if (found != m_entries.end())
    {
        m_bytes -= size_t(found->second.bitmap.GetWidth()) * found->second.bitmap.GetHeight() * 4;
        m_entries.erase(found);
    }
    if (!whole.IsOk())
        return wxBitmap();

    // The part shown is cut out only when the frame is drawn anew.
    const bool cut = part != wxRect(wxPoint(0, 0), whole.GetSize()) && !part.IsEmpty();
    const wxImage image = cut ? whole.GetSubImage(part) : whole;
    const wxSize shown = OrientedSize(image.GetSize(), orientation);
    const wxRect placement = GifFrame::PreviewPlacement(shown, panel);
    if (placement.width < 1 || placement.height < 1)
        return wxBitmap();
    // Shrunk before it is turned, so only the small picture is copied.
    const wxSize scaled = OrientedSize(placement.GetSize(), orientation);
    const wxBitmap bitmap = wxBitmap(OrientPicture(
        scaled == image.GetSize() ? image
                                  : image.Scale(scaled.x, scaled.y, wxIMAGE_QUALITY_NORMAL),
        orientation));

    const size_t bytes = size_t(placement.width) * placement.height * 4;
    if (m_bytes + bytes <= m_budget)
    {
        m_entries[key] = Entry{orientation, part, bitmap};
        m_bytes += bytes;
    }
    return bitmap;
}
