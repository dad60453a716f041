#include "encode/picturecrop.h"

#include <wx/string.h>

#include <algorithm>

namespace
{
// value * to / from, rounded to the nearest whole number.
int Scale(int value, int to, int from)
{
    return int((static_cast<long long>(value) * to * 2 + from) / (2LL * from));
}

bool ParseWhole(const wxString& text, long& value)
{
    if (text.empty() || text.length() > 5)
        return false;
    for (const wxUniChar c : text)
        if (c < wxS('0') || c > wxS('9'))
            return false;
    return text.ToLong(&value) && value <= 65535;
}
}  // namespace

wxRect CropRectFor(const CropArea& crop, const wxSize& size)
{
    const wxRect whole(wxPoint(0, 0), size);
    if (!crop.IsSet() || size.x < 1 || size.y < 1)
        return whole;
    wxRect rect = crop.rect;
    if (size != crop.reference)
    {
        const int left = Scale(rect.x, size.x, crop.reference.x);
        const int top = Scale(rect.y, size.y, crop.reference.y);
        const int right = Scale(rect.GetRight() + 1, size.x, crop.reference.x);
        const int bottom = Scale(rect.GetBottom() + 1, size.y, crop.reference.y);
        rect = wxRect(left, top, right - left, bottom - top);
    }
    rect.x = std::clamp(rect.x, 0, size.x - 1);
    rect.y = std::clamp(rect.y, 0, size.y - 1);
    rect.width = std::clamp(rect.width, 1, size.x - rect.x);
    rect.height = std::clamp(rect.height, 1, size.y - rect.y);
    return rect;
}

bool ParseCropGeometry(const wxString& text, wxRect& rect)
{
    const size_t x = text.find_first_of(wxS("xX"));
    const size_t plus = text.find(wxS('+'));
    const size_t secondPlus = plus == wxString::npos ? plus : text.find(wxS('+'), plus + 1);
    if (x == wxString::npos || plus == wxString::npos || secondPlus == wxString::npos ||
        x > plus)
        return false;
    long width = 0, height = 0, left = 0, top = 0;
    if (!ParseWhole(text.substr(0, x), width) || !ParseWhole(text.substr(x + 1, plus - x - 1), height) ||
        !ParseWhole(text.substr(plus + 1, secondPlus - plus - 1), left) ||
        !ParseWhole(text.substr(secondPlus + 1), top) || width < 1 || height < 1)
        return false;
    rect = wxRect(int(left), int(top), int(width), int(height));
    return true;
}
