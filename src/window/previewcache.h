#ifndef LOOPFORGE_WINDOW_PREVIEWCACHE_H
#define LOOPFORGE_WINDOW_PREVIEWCACHE_H

#include <wx/bitmap.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>

class wxImage;

// Bitmaps of frames as the preview shows them in a panel of one size, so
// that playback does not rescale a frame on every tick. Emptied when the
// panel size changes; an entry is recognised by the frame's picture key
// (FrameSource::key, never reused), so a picture loaded again after the
// picture cache let it go still finds its bitmap.
class PreviewCache
{
public:
    explicit PreviewCache(size_t budgetBytes = size_t(384) << 20);

    // The picture in the orientation (encode/pictureorientation.h) fitted
    // into panel (never enlarged), as a bitmap.
    // part: the rectangle of the picture shown (the crop), taken before the turn.
    wxBitmap Get(std::uint64_t key, const wxImage& picture, int orientation, const wxRect& part,
                 const wxSize& panel);
    // The bitmap kept for the same, if any, so the picture need not be loaded.
    wxBitmap Find(std::uint64_t key, int orientation, const wxRect& part, const wxSize& panel);
    void Clear();

    size_t GetBytes() const { return m_bytes; }
    size_t GetCount() const { return m_entries.size(); }

private:
    struct Entry
    {
        int orientation;
        wxRect part;
        wxBitmap bitmap;
    };

    std::unordered_map<std::uint64_t, Entry> m_entries;
    wxSize m_panel;
    size_t m_bytes;
    size_t m_budget;
};

#endif
