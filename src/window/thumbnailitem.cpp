#include "window/thumbnailctrl.h"

// TODO(strip): items and their painting; this placeholder only lets the program link.
wxIMPLEMENT_ABSTRACT_CLASS(wxThumbnailItem, wxObject);
wxIMPLEMENT_CLASS(wxImageThumbnailItem, wxThumbnailItem);

wxThumbnailItem::wxThumbnailItem(const wxString& filename) : m_filename(filename) {}
bool wxThumbnailItem::Draw(wxDC&, wxThumbnailCtrl*, const wxRect&, int) { return false; }
bool wxThumbnailItem::DrawBackground(wxDC&, wxThumbnailCtrl*, const wxRect&, const wxRect&, int, int) { return true; }
bool wxThumbnailItem::Load(wxThumbnailCtrl*, bool) { return false; }

wxImageThumbnailItem::wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& filename)
    : wxThumbnailItem(filename), m_image(image), m_frameIndex(frameIndex)
{
}
wxImageThumbnailItem::~wxImageThumbnailItem() { delete m_image; }
bool wxImageThumbnailItem::Draw(wxDC&, wxThumbnailCtrl*, const wxRect&, int) { return true; }
bool wxImageThumbnailItem::Load(wxThumbnailCtrl*, bool) { return true; }
const wxImage& wxImageThumbnailItem::GetImage() const { return *m_image; }
wxSize wxImageThumbnailItem::GetImageSize() const { return m_image->GetSize(); }
wxBitmap wxImageThumbnailItem::GetBitmap() const { return wxBitmap(*m_image); }
wxImage wxImageThumbnailItem::ScaleToFit(const wxImage& image, int, int) { return image; }
