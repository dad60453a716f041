#include "window/checkerboard.h"

#include <wx/bitmap.h>
#include <wx/dc.h>

#include <algorithm>

namespace
{
const int kSquare = 8;
const wxColour kLight(204, 204, 204);
const wxColour kDark(153, 153, 153);
}  // namespace

void DrawOverCheckerboard(wxDC& dc, const wxBitmap& bitmap, const wxPoint& position)
{
    if (!bitmap.IsOk())
        return;
    if (bitmap.GetMask() || bitmap.HasAlpha())
    {
        const wxRect area(position, bitmap.GetSize());
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(kLight));
        dc.DrawRectangle(area);
        dc.SetBrush(wxBrush(kDark));
        for (int y = 0; y < area.height; y += kSquare)
            for (int x = (y / kSquare % 2) * kSquare; x < area.width; x += 2 * kSquare)
                dc.DrawRectangle(area.x + x, area.y + y, std::min(kSquare, area.width - x),
                                 std::min(kSquare, area.height - y));
    }
    dc.DrawBitmap(bitmap, position, true);
}
