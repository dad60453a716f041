#include "window/captionpreview.h"

#include "caption/captiondrawing.h"
#include "encode/gifexport.h"
#include "window/gifframe.h"

namespace
{
const size_t kKeptFrames = 24;
}

wxImage CaptionedFrame(const wxImage& picture, const FrameCaptions& captions, const wxSize& output)
{
    if (!picture.IsOk() || output.x < 1 || output.y < 1)
        return wxImage();
    wxImage frame = PrepareFrame(picture, output.x, output.y);
    DrawCaptions(captions, frame);
    return frame;
}

wxBitmap CaptionPreview::Get(std::uint64_t key, const wxImage& picture,
                             const FrameCaptions& captions, const wxSize& output,
                             const wxSize& panel)
{
    if (!picture.IsOk())
        return wxBitmap();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->key == key && it->captions == captions && it->output == output &&
            it->panel == panel)
        {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return m_entries.front().bitmap;
        }
    const wxImage frame = CaptionedFrame(picture, captions, output);
    const wxRect placement = GifFrame::PreviewPlacement(output, panel);
    if (!frame.IsOk() || placement.width < 1 || placement.height < 1)
        return wxBitmap();
    const wxBitmap bitmap =
        placement.GetSize() == output
            ? wxBitmap(frame)
            : wxBitmap(frame.Scale(placement.width, placement.height, wxIMAGE_QUALITY_NORMAL));
    m_entries.push_front({key, captions, output, panel, bitmap});
    if (m_entries.size() > kKeptFrames)
        m_entries.pop_back();
    return bitmap;
}
