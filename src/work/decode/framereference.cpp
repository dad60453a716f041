#include "decode/framereference.h"

#include <limits>

bool HasGifEnding(const wxString& path)
{
    return path.length() >= 4 && path.Right(4).Lower() == wxS(".gif");
}

bool ParseFrameReference(const wxString& entry, FrameReference& reference)
{
    const size_t underscore = entry.rfind(wxS('_'));
    if (underscore == wxString::npos || underscore + 1 == entry.length())
        return false;

    std::size_t index = 0;
    constexpr std::size_t maxIndex = std::numeric_limits<std::size_t>::max();
    for (size_t i = underscore + 1; i < entry.length(); ++i)
    {
        const wxUniChar c = entry[i];
        if (c < wxS('0') || c > wxS('9'))
            return false;
        const std::size_t digit = static_cast<std::size_t>(c.GetValue() - '0');
        index = index > (maxIndex - digit) / 10 ? maxIndex : index * 10 + digit;
    }

    const wxString gifPath = entry.substr(0, underscore);
    if (gifPath.length() < 5 || !HasGifEnding(gifPath))
        return false;

    reference.gifPath = gifPath;
    reference.index = index;
    return true;
}
