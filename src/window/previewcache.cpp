#include "window/previewcache.h"

#include "window/gifframe.h"

#include <wx/image.h>

PreviewCache::PreviewCache(size_t budgetBytes) : m_bytes(0), m_budget(budgetBytes) {}

void PreviewCache::Clear()
{
    m_entries.clear();
    m_bytes = 0;
}

wxBitmap PreviewCache::Get(const wxImage& image, const wxSize& panel)
{
    if (panel != m_panel)
    {
        Clear();
        m_panel = panel;
    }

    if (!image.IsOk())
        return wxBitmap();
    const auto found = m_entries.find(&image);
    if (found != m_entries.end())
    {
        if (found->second.pixels == image.GetData())
            return found->second.bitmap;
        m_bytes -= size_t(found->second.bitmap.GetWidth()) * found->second.bitmap.GetHeight() * 4;
        m_entries.erase(found);
    }

    const wxRect placement = GifFrame::PreviewPlacement(image.GetSize(), panel);
    if (placement.width < 1 || placement.height < 1)
        return wxBitmap();
    const wxBitmap bitmap =
        placement.GetSize() == image.GetSize()
            ? wxBitmap(image)
            : wxBitmap(image.Scale(placement.width, placement.height, wxIMAGE_QUALITY_NORMAL));

    const size_t bytes = size_t(placement.width) * placement.height * 4;
    if (m_bytes + bytes <= m_budget)
    {
        m_entries[&image] = Entry{image.GetData(), bitmap};
        m_bytes += bytes;
    }
    return bitmap;
}
