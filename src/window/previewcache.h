#ifndef LOOPFORGE_WINDOW_PREVIEWCACHE_H
#define LOOPFORGE_WINDOW_PREVIEWCACHE_H

#include <wx/bitmap.h>

#include <cstddef>
#include <unordered_map>

class wxImage;

// Bitmaps of frames as the preview shows them in a panel of one size, so
// that playback does not rescale a frame on every tick. Emptied when the
// panel size changes; an entry is recognised by the picture's address and
// its pixels, so a new picture at a reused address is never served a stale
// bitmap.
class PreviewCache
{
public:
    explicit PreviewCache(size_t budgetBytes = size_t(384) << 20);

    // The picture in the orientation (encode/pictureorientation.h) fitted
    // into panel (never enlarged), as a bitmap.
    // part: the rectangle of the picture shown (the crop), taken before the turn.
    wxBitmap Get(const wxImage& picture, int orientation, const wxRect& part, const wxSize& panel);
    void Clear();

    size_t GetBytes() const { return m_bytes; }
    size_t GetCount() const { return m_entries.size(); }

private:
    struct Entry
    {
        const unsigned char* pixels;  // identifies the picture the bitmap was made from
        int orientation;
        wxRect part;
        wxBitmap bitmap;
    };

    std::unordered_map<const wxImage*, Entry> m_entries;
    wxSize m_panel;
    size_t m_bytes;
    size_t m_budget;
};

#endif
