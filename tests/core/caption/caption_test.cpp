// Captions: colours and places as the command line and projects give them,
// text of any script laid out without boxes of missing letters, and places
// that keep to the output size.
#include "caption/caption.h"
#include "caption/captiondrawing.h"

#include "wx_printers.h"

#include <gtest/gtest.h>

TEST(CaptionColour, ReadsHexAndNamesAndRefusesTheRest)
{
    const struct
    {
        const char* text;
        bool ok;
        CaptionColour colour;
    } cases[] = {
        {"#fff", true, {255, 255, 255, 255}},
        {"#102030", true, {16, 32, 48, 255}},
        {"#10203040", true, {16, 32, 48, 64}},
        {"Yellow", true, {255, 255, 0, 255}},
        {"#1020304", false, {}},
        {"102030", false, {}},
        {"#10203g", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases)
    {
        CaptionColour colour;
        EXPECT_EQ(ParseCaptionColour(wxString::FromUTF8(c.text), colour), c.ok) << c.text;
        if (c.ok)
        {
            EXPECT_EQ(colour, c.colour) << c.text;
            CaptionColour again;
            ASSERT_TRUE(ParseCaptionColour(CaptionColourText(colour), again));
            EXPECT_EQ(again, colour) << c.text;
        }
    }
}

// The fonts the tests install (DejaVu for Arabic and Hebrew, Noto CJK) have
// every letter; a code point no font has shows the check can fail.
TEST(CaptionLayout, EveryScriptFindsItsLetters)
{
    const struct
    {
        const char* text;
        bool complete;
    } cases[] = {
        {"Hello, world", true},
        {"مرحبا بالعالم", true},
        {"שלום עולם", true},
        {"こんにちは世界", true},
        {"你好，世界", true},
        {"한국어", true},
        {"Mixed English עברית and 中文", true},
        {"\xf3\xbf\xbf\xbd", false},  // U+FFFFD, private use
    };
    for (const auto& c : cases)
    {
        Caption caption;
        caption.text = wxString::FromUTF8(c.text);
        const int missing = CaptionMissingGlyphs(caption, 400, 300);
        if (c.complete)
            EXPECT_EQ(missing, 0) << c.text;
        else
            EXPECT_GT(missing, 0) << c.text;
    }
}

TEST(CaptionLayout, PlacesKeepToTheOutputSize)
{
    Caption caption;
    caption.text = wxS("Placed");
    caption.size = 20;
    for (const wxSize output : {wxSize(320, 240), wxSize(640, 480)})
    {
        caption.place = CaptionPlace::Top;
        const wxRect top = CaptionBounds(caption, output.x, output.y);
        caption.place = CaptionPlace::Centre;
        const wxRect centre = CaptionBounds(caption, output.x, output.y);
        caption.place = CaptionPlace::Bottom;
        const wxRect bottom = CaptionBounds(caption, output.x, output.y);
        caption.place = CaptionPlace::Free;
        caption.x = 0.25;
        caption.y = 0.75;
        const wxRect free = CaptionBounds(caption, output.x, output.y);

        EXPECT_LT(top.y, output.y / 8) << output.x;
        EXPECT_NEAR(centre.y + centre.height / 2, output.y / 2, 1) << output.x;
        EXPECT_GT(bottom.GetBottom(), output.y * 7 / 8) << output.x;
        EXPECT_LT(bottom.GetBottom(), output.y) << output.x;
        for (const wxRect& box : {top, centre, bottom})
            EXPECT_NEAR(box.x + box.width / 2, output.x / 2, 1) << output.x;
        EXPECT_NEAR(free.x + free.width / 2, output.x / 4, 1) << output.x;
        EXPECT_NEAR(free.y + free.height / 2, output.y * 3 / 4, 1) << output.x;
    }
}

TEST(CaptionDrawing, TheSameCaptionDrawsTheSamePixelsOnlyInsideItsBox)
{
    Caption caption;
    caption.text = wxString::FromUTF8("Bold 字 ✓");
    caption.bold = true;
    caption.box = true;
    wxImage first(200, 100);
    first.SetRGB(wxRect(0, 0, 200, 100), 90, 120, 150);
    const wxImage blank = first.Copy();
    wxImage second = first.Copy();
    const CaptionRef shared = std::make_shared<const Caption>(caption);
    DrawCaptions({shared}, first);
    DrawCaptions({std::make_shared<const Caption>(caption)}, second);
    ASSERT_EQ(0, memcmp(first.GetData(), second.GetData(), 200 * 100 * 3));

    const wxRect box = CaptionBounds(caption, 200, 100);
    int inside = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
        {
            const size_t at = (size_t(y) * 200 + x) * 3;
            const bool changed = memcmp(first.GetData() + at, blank.GetData() + at, 3) != 0;
            (box.Contains(x, y) ? inside : outside) += changed;
        }
    EXPECT_GT(inside, box.width * box.height / 2) << "the box fills its rectangle";
    EXPECT_EQ(outside, 0);
}
