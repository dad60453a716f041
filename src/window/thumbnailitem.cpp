#include "window/textfit.h"
#include "window/thumbnailctrl.h"

#include "decode/framereference.h"
#include "encode/pictureorientation.h"
#include "window/checkerboard.h"

#include <wx/crt.h>
#include <wx/dc.h>
#include <wx/filename.h>
#include <wx/log.h>

#include <algorithm>

wxIMPLEMENT_ABSTRACT_CLASS(wxThumbnailItem, wxObject);
wxIMPLEMENT_CLASS(wxImageThumbnailItem, wxThumbnailItem);

namespace
{
// The thumbnail box when an item is loaded without a control.
const wxSize kDefaultThumbnailBox(80, 80);

void DrawBevel(wxDC& dc, const wxRect& rect, bool sunken)
{
    const int x = rect.x;
    const int y = rect.y;
    const int w = rect.width;
    const int h = rect.height;
    dc.SetPen(sunken ? *wxWHITE_PEN : *wxBLACK_PEN);
    dc.DrawLine(x + w - 1, y, x + w - 1, y + h - 1);
    dc.DrawLine(x, y + h - 1, x + w, y + h - 1);
    dc.SetPen(sunken ? *wxBLACK_PEN : *wxWHITE_PEN);
    dc.DrawLine(x, y, x + w - 1, y);
    dc.DrawLine(x, y, x, y + h - 1);
}
}  // namespace

// ---------------------------------------------------------------------------
// wxThumbnailItem
// ---------------------------------------------------------------------------

wxThumbnailItem::wxThumbnailItem(const wxString& filename) : m_filename(filename) {}

bool wxThumbnailItem::Draw(wxDC&, wxThumbnailCtrl*, const wxRect&, int)
{
    return false;
}

bool wxThumbnailItem::Load(wxThumbnailCtrl*, bool)
{
    return false;
}

bool wxThumbnailItem::DrawBackground(wxDC& dc, wxThumbnailCtrl* ctrl, const wxRect& rect,
                                     const wxRect& imageRect, int flags, int index)
{
    const bool selected = (flags & wxTHUMBNAIL_SELECTED) != 0;
    const wxColour fill = !selected                        ? ctrl->GetItemBackgroundColour()
                          : (flags & wxTHUMBNAIL_FOCUSSED) ? ctrl->GetFocusedSelectionColour()
                                                           : ctrl->GetUnfocusedSelectionColour();
    dc.SetBrush(wxBrush(fill));
    dc.SetPen(wxPen(fill, 1, wxPENSTYLE_SOLID));
    dc.DrawRectangle(rect);
    DrawBevel(dc, rect, selected);

    const int margin = ctrl->GetItemMargin();
    const int bandHeight = (rect.height - imageRect.height) / 2;
    const wxString displayName = wxFileNameFromPath(GetFilename());
    if (!displayName.empty())
    {
        dc.SetFont(ctrl->GetFont());
        dc.SetTextForeground(selected ? *wxWHITE : *wxBLACK);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        const wxRect box(rect.x + margin, rect.y + margin, rect.width - 2 * margin,
                         bandHeight - 2 * margin);
        wxDCClipper clip(dc, box);
        const wxString shown = FitWithEllipsis(dc, displayName, box.width);
        const int textWidth = dc.GetTextExtent(shown).x;
        dc.DrawText(shown, box.x + std::max(0, (box.width - textWidth) / 2), box.y);
    }

    wxString extension;
    wxFileName::SplitPath(displayName, nullptr, nullptr, &extension);
    if (!extension.empty())
    {
        dc.SetFont(ctrl->GetFont());
        dc.SetTextForeground(selected ? *wxWHITE : ctrl->GetFrameLabelColour());
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        const wxRect box(rect.x + margin, rect.y + rect.height - bandHeight + margin,
                         rect.width - 2 * margin, bandHeight - 2 * margin);
        wxDCClipper clip(dc, box);
        const double startSeconds = double(ctrl->GetStartTime(index)) / 100.0;
        dc.DrawText(FitWithEllipsis(dc, wxString::Format(wxS("#%d  %.2fsec"), index + 1, startSeconds),
                                    box.width),
                    box.x, box.y);
    }

    if (flags & wxTHUMBNAIL_IS_FOCUS)
    {
        dc.SetPen(wxPen(ctrl->GetFocusRectColour(), 1, wxPENSTYLE_DOT));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(imageRect.x - 1, imageRect.y - 1, imageRect.width + 2,
                         imageRect.height + 2);
    }
    return true;
}

// ---------------------------------------------------------------------------
// wxImageThumbnailItem
// ---------------------------------------------------------------------------

wxImageThumbnailItem::wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& filename)
    : wxThumbnailItem(filename),
      m_picture(image ? image : new wxImage),
      m_frameIndex(frameIndex),
      m_hasFrameSuffix(false),
      m_nameIsFinal(false)
{
}

wxImageThumbnailItem::wxImageThumbnailItem(PictureLoader picture, const wxSize& size,
                                           const void* key, int frameIndex, const wxString& name)
    : wxThumbnailItem(name),
      m_picture(picture ? std::shared_ptr<const wxImage>() : std::make_shared<const wxImage>()),
      m_load(std::move(picture)),
      m_size(size),
      m_key(key),
      m_frameIndex(frameIndex),
      m_hasFrameSuffix(false),
      m_nameIsFinal(true)
{
}

bool wxImageThumbnailItem::Draw(wxDC& dc, wxThumbnailCtrl*, const wxRect& imageRect, int)
{
    if (m_thumbnail.IsOk())
    {
        // Transparent parts show a checkerboard, not the decoder's mask colour.
        DrawOverCheckerboard(
            dc, m_thumbnail,
            wxPoint(imageRect.x + (imageRect.width - m_thumbnail.GetWidth()) / 2,
                    imageRect.y + (imageRect.height - m_thumbnail.GetHeight()) / 2));
    }
    return true;
}

wxString wxImageThumbnailItem::GetSourcePath() const
{
    if (!m_hasFrameSuffix)
        return GetFilename();
    return GetFilename().BeforeLast(wxS('_'));
}

bool wxImageThumbnailItem::Load(wxThumbnailCtrl* ctrl, bool forceUpdate)
{
    wxPuts(wxS("wxImageThumbnailItem"));
    if (m_thumbnail.IsOk() && !forceUpdate)
        return true;
    if (!m_nameIsFinal && !wxFileName::FileExists(GetSourcePath()))
        return false;

    wxLogNull noMessages;
    // A GIF frame takes the name of its frame reference, once.
    if (!m_nameIsFinal && !m_hasFrameSuffix && HasGifEnding(GetFilename()))
    {
        SetFilename(GetFilename() + wxString::Format(wxS("_%d"), m_frameIndex));
        m_hasFrameSuffix = true;
    }

    m_thumbnail = wxNullBitmap;
    const wxImage picture = GetImage();
    if (picture.IsOk())
    {
        // Shrunk first, so only the small picture is turned.
        const wxSize box = OrientedSize(
            ctrl ? ctrl->GetThumbnailImageSize() : kDefaultThumbnailBox, m_orientation);
        const bool cropped = !m_crop.IsEmpty() && m_crop != wxRect(wxPoint(0, 0), picture.GetSize());
        const wxImage thumbnail = OrientPicture(
            ScaleToFit(cropped ? picture.GetSubImage(m_crop) : picture, box.x, box.y),
            m_orientation);
        if (thumbnail.IsOk())
            m_thumbnail = wxBitmap(thumbnail);
    }
    return true;
}

wxImage wxImageThumbnailItem::GetImage() const
{
    return m_load ? m_load() : *m_picture;
}

wxSize wxImageThumbnailItem::GetImageSize() const
{
    const wxSize size = m_load ? m_size : m_picture->IsOk() ? m_picture->GetSize() : wxSize();
    if (size.x < 1 || size.y < 1)
        return wxSize(0, 0);
    return OrientedSize(m_crop.IsEmpty() ? size : m_crop.GetSize(), m_orientation);
}

void wxImageThumbnailItem::SetView(int orientation, const wxRect& crop, wxThumbnailCtrl* ctrl)
{
    if (orientation == m_orientation && crop == m_crop)
        return;
    m_orientation = orientation;
    m_crop = crop;
    if (m_thumbnail.IsOk())
        Load(ctrl, true);
}

wxBitmap wxImageThumbnailItem::GetBitmap() const
{
    const wxImage picture = GetImage();
    if (!picture.IsOk())
        return wxNullBitmap;
    wxLogNull noMessages;
    return wxBitmap(OrientPicture(m_crop.IsEmpty() ? picture : picture.GetSubImage(m_crop),
                                  m_orientation));
}

wxImage wxImageThumbnailItem::ScaleToFit(const wxImage& image, int boxWidth, int boxHeight)
{
    if (!image.IsOk() || boxWidth < 1 || boxHeight < 1)
        return image;
    const double sx = double(boxWidth) / image.GetWidth();
    const double sy = double(boxHeight) / image.GetHeight();
    if (sx >= 1 && sy >= 1)
        return image;
    const double s = std::min(sx, sy);
    // A very long, thin picture still keeps one row or column of pixels.
    const int width = std::max(1, int(image.GetWidth() * s));
    const int height = std::max(1, int(image.GetHeight() * s));
    return image.Scale(width, height, wxIMAGE_QUALITY_NORMAL);
}
