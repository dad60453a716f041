#ifndef LOOPFORGE_WORK_CAPTION_H
#define LOOPFORGE_WORK_CAPTION_H

#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <vector>

// A colour with opacity (alpha 255: opaque). A plain value, so captions can be
// shared by the worker threads of an export without touching toolkit objects.
struct CaptionColour
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    bool operator==(const CaptionColour& other) const
    {
        return red == other.red && green == other.green && blue == other.blue &&
               alpha == other.alpha;
    }
    bool operator!=(const CaptionColour& other) const { return !(*this == other); }
};

// Where a caption sits: centred across the frame at its top, middle or
// bottom, or with its centre at fractions of the frame's width and height.
enum class CaptionPlace
{
    Top,
    Centre,
    Bottom,
    Free
};

// Text drawn on frames when they are shown and exported, never into their
// pictures. Sizes are pixels of the output; the place is relative to the
// output size, so it stays where it was when the size changes.
struct Caption
{
    wxString text;  // may hold several lines
    wxString family = wxS("Sans");
    int size = 32;  // pixels
    bool bold = false;
    bool italic = false;
    CaptionColour colour{255, 255, 255, 255};
    CaptionColour outlineColour{0, 0, 0, 255};
    int outline = 2;   // pixels around each letter; 0: none
    bool box = false;  // a filled box behind the text
    CaptionColour boxColour{0, 0, 0, 160};
    CaptionPlace place = CaptionPlace::Bottom;
    double x = 0.5;  // for Free: the centre as fractions of the width and height
    double y = 0.5;

    bool operator==(const Caption& other) const;
    bool operator!=(const Caption& other) const { return !(*this == other); }
};

// Frames share their captions; a caption is never changed once made, an edit
// puts a new one in its place.
using CaptionRef = std::shared_ptr<const Caption>;
using FrameCaptions = std::vector<CaptionRef>;

const int kMinCaptionSize = 4;
const int kMaxCaptionSize = 1000;
const int kMaxCaptionOutline = 50;
// Longer texts are cut here, so no caption can make a layout without end.
const size_t kMaxCaptionText = 4000;

// Brings sizes, outline and place into range and cuts an overlong text.
Caption SanitisedCaption(Caption caption);

// "#rrggbb", or "#rrggbbaa" when not opaque.
wxString CaptionColourText(const CaptionColour& colour);
// Reads "#rgb", "#rrggbb", "#rrggbbaa" or a few colour names (white, black,
// red, green, blue, yellow, cyan, magenta, grey/gray); false for anything else.
bool ParseCaptionColour(const wxString& text, CaptionColour& colour);

// "top", "center", "bottom" or "free".
wxString CaptionPlaceName(CaptionPlace place);
// Reads the names above, and "centre" and "middle" for the centre.
bool ParseCaptionPlace(const wxString& text, CaptionPlace& place);

#endif
