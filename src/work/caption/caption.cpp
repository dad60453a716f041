#include "caption/caption.h"

#include <algorithm>
#include <cmath>

bool Caption::operator==(const Caption& other) const
{
    return text == other.text && family == other.family && size == other.size &&
           bold == other.bold && italic == other.italic && colour == other.colour &&
           outlineColour == other.outlineColour && outline == other.outline && box == other.box &&
           boxColour == other.boxColour && place == other.place && x == other.x && y == other.y;
}

Caption SanitisedCaption(Caption caption)
{
    caption.size = std::clamp(caption.size, kMinCaptionSize, kMaxCaptionSize);
    caption.outline = std::clamp(caption.outline, 0, kMaxCaptionOutline);
    const auto fraction = [](double value)
    { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.5; };
    caption.x = fraction(caption.x);
    caption.y = fraction(caption.y);
    if (caption.text.length() > kMaxCaptionText)
        caption.text.Truncate(kMaxCaptionText);
    if (caption.family.empty() || caption.family.length() > 200)
        caption.family = Caption().family;
    return caption;
}

wxString CaptionColourText(const CaptionColour& colour)
{
    wxString text = wxString::Format(wxS("#%02x%02x%02x"), colour.red, colour.green, colour.blue);
    if (colour.alpha != 255)
        text += wxString::Format(wxS("%02x"), colour.alpha);
    return text;
}

namespace
{
int HexDigit(wxUniChar c)
{
    if (c >= '0' && c <= '9')
        return int(c) - '0';
    if (c >= 'a' && c <= 'f')
        return int(c) - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return int(c) - 'A' + 10;
    return -1;
}
}  // namespace

bool ParseCaptionColour(const wxString& text, CaptionColour& colour)
{
    static const struct
    {
        const char* name;
        CaptionColour colour;
    } kNames[] = {{"white", {255, 255, 255, 255}}, {"black", {0, 0, 0, 255}},
                  {"red", {255, 0, 0, 255}},       {"green", {0, 128, 0, 255}},
                  {"blue", {0, 0, 255, 255}},      {"yellow", {255, 255, 0, 255}},
                  {"cyan", {0, 255, 255, 255}},    {"magenta", {255, 0, 255, 255}},
                  {"grey", {128, 128, 128, 255}},  {"gray", {128, 128, 128, 255}}};
    const wxString lower = text.Lower();
    for (const auto& named : kNames)
        if (lower == named.name)
        {
            colour = named.colour;
            return true;
        }
    if (!text.StartsWith(wxS("#")))
        return false;
    std::vector<int> digits;
    for (size_t i = 1; i < text.length(); ++i)
    {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return false;
        digits.push_back(digit);
    }
    std::vector<int> channels;
    if (digits.size() == 3)
        for (int digit : digits)
            channels.push_back(digit * 17);
    else if (digits.size() == 6 || digits.size() == 8)
        for (size_t i = 0; i < digits.size(); i += 2)
            channels.push_back(digits[i] * 16 + digits[i + 1]);
    else
        return false;
    channels.resize(4, 255);
    colour = {std::uint8_t(channels[0]), std::uint8_t(channels[1]), std::uint8_t(channels[2]),
              std::uint8_t(channels[3])};
    return true;
}

wxString CaptionPlaceName(CaptionPlace place)
{
    switch (place)
    {
        case CaptionPlace::Top:
            return wxS("top");
        case CaptionPlace::Centre:
            return wxS("center");
        case CaptionPlace::Bottom:
            return wxS("bottom");
        case CaptionPlace::Free:
            break;
    }
    return wxS("free");
}

bool ParseCaptionPlace(const wxString& text, CaptionPlace& place)
{
    const wxString lower = text.Lower();
    if (lower == wxS("top"))
        place = CaptionPlace::Top;
    else if (lower == wxS("center") || lower == wxS("centre") || lower == wxS("middle"))
        place = CaptionPlace::Centre;
    else if (lower == wxS("bottom"))
        place = CaptionPlace::Bottom;
    else if (lower == wxS("free"))
        place = CaptionPlace::Free;
    else
        return false;
    return true;
}
