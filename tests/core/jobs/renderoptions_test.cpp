#include "jobs/renderoptions.h"

#include <gtest/gtest.h>

namespace
{
bool Parse(std::vector<wxString> arguments, RenderOptions& options, wxString& error)
{
    return ParseRenderArguments(arguments, options, error);
}
}  // namespace

TEST(RenderOptions, ReadsEveryOption)
{
    RenderOptions options;
    wxString error;
    ASSERT_TRUE(
        Parse({"-d", "25", "-s", "320x240", "-o", "out.gif", "a.png", "b.gif_3"}, options, error));
    EXPECT_EQ(options.delay, 25);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 240);
    EXPECT_EQ(options.output, "out.gif");
    ASSERT_EQ(options.inputs.size(), 2u);
    EXPECT_EQ(options.inputs[1], "b.gif_3");

    ASSERT_TRUE(Parse({"a.png", "-o", "out.gif"}, options, error));
    EXPECT_EQ(options.delay, 10);
    EXPECT_EQ(options.width, 0);
    EXPECT_EQ(options.height, 0);

    ASSERT_TRUE(Parse({"-o", "out.gif", "--", "-odd name.png"}, options, error));
    EXPECT_EQ(options.inputs[0], "-odd name.png");

    ASSERT_TRUE(Parse({"--start=1:02:03.5", "--end", "3724", "--fps", "7.5", "--width", "320", "-o",
                       "o.gif", "c.mp4"},
                      options, error))
        << error;
    EXPECT_EQ(options.clipStart, 3723.5);
    EXPECT_EQ(options.clipEnd, 3724.0);
    EXPECT_EQ(options.clipFrameRate, 7.5);
    EXPECT_EQ(options.clipWidth, 320);

    ASSERT_TRUE(Parse({"--help"}, options, error));
    EXPECT_TRUE(options.help);
    ASSERT_TRUE(Parse({"--version"}, options, error));
    EXPECT_TRUE(options.version);

    // Long forms, with the value apart or after "=", and standard output.
    ASSERT_TRUE(Parse({"--delay", "7", "--size=64x48", "--output", "-", "a.png"}, options, error));
    EXPECT_EQ(options.delay, 7);
    EXPECT_EQ(options.width, 64);
    EXPECT_EQ(options.output, "-");
    EXPECT_FALSE(options.optimised.has_value());

    ASSERT_TRUE(Parse({"--crop", "4x2+1+1", "--rotate", "270", "--flip=v", "-o", "o.gif", "a.png"},
                      options, error));
    EXPECT_EQ(options.crop, wxRect(1, 1, 4, 2));
    EXPECT_EQ(options.rotate, OrientationEdit::RotateLeft);
    EXPECT_EQ(options.flip, OrientationEdit::FlipVertical);
    EXPECT_FALSE(options.reverse || options.yoyo || options.speed || options.dedupe);
    ASSERT_TRUE(Parse({"--reverse", "--yoyo", "--speed", "150", "--dedupe", "-o", "o.gif", "a.png"},
                      options, error));
    EXPECT_TRUE(options.reverse && options.yoyo);
    EXPECT_EQ(options.speed, 150);
    EXPECT_EQ(options.dedupe, 0.0);
    ASSERT_TRUE(Parse({"--dedupe=2.5", "-o", "o.gif", "a.png"}, options, error));
    EXPECT_EQ(options.dedupe, 2.5);
    EXPECT_EQ(RenderCaption(options), nullptr);

    // A caption on every frame: the options change only what they name.
    ASSERT_TRUE(
        Parse({"--caption", "Hi\\nthere", "--caption-pos=top", "--caption-size", "48",
               "--caption-color", "#ff0", "--caption-outline", "3,#102030", "-o", "o.gif", "a.png"},
              options, error));
    const CaptionRef caption = RenderCaption(options);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text, "Hi\nthere");
    EXPECT_EQ(caption->place, CaptionPlace::Top);
    EXPECT_EQ(caption->size, 48);
    EXPECT_EQ(caption->colour, (CaptionColour{255, 255, 0, 255}));
    EXPECT_EQ(caption->outline, 3);
    EXPECT_EQ(caption->outlineColour, (CaptionColour{0x10, 0x20, 0x30, 255}));
    EXPECT_EQ(caption->family, Caption().family);
    ASSERT_TRUE(Parse({"--caption", "x", "--caption-outline", "white", "p.xml"}, options, error));
    EXPECT_EQ(RenderCaption(options)->outline, Caption().outline);
    EXPECT_EQ(RenderCaption(options)->outlineColour, (CaptionColour{255, 255, 255, 255}));
}

TEST(RenderOptions, GifOptionsChooseTheOptimisedProfile)
{
    struct Case
    {
        std::vector<wxString> arguments;
        GifOptions expected;
    };
    GifOptions optimised;
    optimised.optimised = true;
    GifOptions colours = optimised, dithered = optimised, smooth = optimised, looped;
    colours.colours = 32;
    dithered.dither = GifDither::Ordered;
    smooth.smooth = true;
    looped.loopCount = 3;  // the classic export with a loop count
    GifOptions webp, lossyWebp;
    webp.format = lossyWebp.format = ExportFormat::WebP;
    webp.webpQuality = kWebpLossless;
    lossyWebp.webpQuality = 60;
    GifOptions lossy = optimised, limited = optimised;
    lossy.lossy = 40;
    limited.maxBytes = 8u << 20;
    const Case cases[] = {
        {{"--optimize"}, optimised},      {{"--colors", "32"}, colours},
        {{"--dither=ordered"}, dithered}, {{"--smooth"}, smooth},
        {{"--loop", "3"}, looped},        {{"--format", "webp", "--webp-lossless"}, webp},
        {{"--format=webp", "--webp-quality", "60"}, lossyWebp},
        {{"--lossy", "40"}, lossy},       {{"--max-size=8m"}, limited},
    };
    for (const Case& c : cases)
    {
        std::vector<wxString> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", "o.gif", "a.png"});
        RenderOptions options;
        wxString error;
        ASSERT_TRUE(Parse(arguments, options, error)) << error.utf8_string();
        GifOptions gif;
        ApplyRenderGifOptions(options, gif);
        EXPECT_EQ(gif, c.expected) << c.arguments[0].utf8_string();
    }
}

TEST(RenderOptions, TheFormatComesFromTheOptionThenTheEnding)
{
    RenderOptions options;
    EXPECT_EQ(RenderFormat(options, wxS("/w/a.WebM"), ExportFormat::Gif), ExportFormat::WebM);
    EXPECT_EQ(RenderFormat(options, wxS("/w/a.mp4"), ExportFormat::WebP), ExportFormat::Mp4);
    EXPECT_EQ(RenderFormat(options, wxS("/w.webp/a"), ExportFormat::Gif), ExportFormat::Gif);
    EXPECT_EQ(RenderFormat(options, wxS("-"), ExportFormat::WebP), ExportFormat::WebP);
    options.format = ExportFormat::Mp4;
    EXPECT_EQ(RenderFormat(options, wxS("/w/a.gif"), ExportFormat::Gif), ExportFormat::Mp4);
}

TEST(RenderOptions, RejectsBadArgumentsWithAOneLineReason)
{
    const std::pair<std::vector<wxString>, const char*> bad[] = {
        {{}, ""},
        {{"a.png"}, ""},
        {{"-o", "out.gif"}, ""},
        {{"-o"}, ""},
        {{"-d", "-5", "-o", "o.gif", "a.png"}, "delay"},
        {{"-d", "ten", "-o", "o.gif", "a.png"}, "delay"},
        {{"-d", "70000", "-o", "o.gif", "a.png"}, "delay"},
        {{"-d", "0", "-o", "o.gif", "a.png"}, "delay"},
        {{"--delay=", "-o", "o.gif", "a.png"}, "delay"},
        {{"--colors", "1", "-o", "o.gif", "a.png"}, "colors"},
        {{"--colors=257", "-o", "o.gif", "a.png"}, "colors"},
        {{"--dither", "floyd", "-o", "o.gif", "a.png"}, "dithering"},
        {{"--loop", "-1", "-o", "o.gif", "a.png"}, "loop"},
        {{"--format", "avi", "-o", "o.gif", "a.png"}, "format"},
        {{"--webp-quality", "101", "-o", "o.webp", "a.png"}, "WebP quality"},
        {{"--lossy", "101", "-o", "o.gif", "a.png"}, "lossy"},
        {{"--max-size", "8G", "-o", "o.gif", "a.png"}, "size limit"},
        {{"--max-size", "0K", "-o", "o.gif", "a.png"}, "size limit"},
        {{"--max-size", "5000M", "-o", "o.gif", "a.png"}, "size limit"},
        {{"--rotate", "45", "-o", "o.gif", "a.png"}, "rotation"},
        {{"--flip=x", "-o", "o.gif", "a.png"}, "flip"},
        {{"--crop", "4x2", "-o", "o.gif", "a.png"}, "crop"},
        {{"--speed", "0", "-o", "o.gif", "a.png"}, "speed"},
        {{"--dedupe=300", "-o", "o.gif", "a.png"}, "tolerance"},
        {{"--optimize=yes", "-o", "o.gif", "a.png"}, "--optimize"},
        {{"--loop"}, "--loop"},
        {{"-s", "320", "-o", "o.gif", "a.png"}, "size"},
        {{"-s", "0x240", "-o", "o.gif", "a.png"}, "size"},
        {{"-s", "320x", "-o", "o.gif", "a.png"}, "size"},
        {{"-s", "32ax24", "-o", "o.gif", "a.png"}, "size"},
        {{"-q", "-o", "o.gif", "a.png"}, ""},
        {{"--start", "1:75", "-o", "o.gif", "c.mp4"}, "time"},
        {{"--end", "-2", "-o", "o.gif", "c.mp4"}, "time"},
        {{"--start", "1.5:00", "-o", "o.gif", "c.mp4"}, "time"},
        {{"--start", "3", "--end", "2", "-o", "o.gif", "c.mp4"}, "--end"},
        {{"--fps", "60", "-o", "o.gif", "c.mp4"}, "frame rate"},
        {{"--fps", "0", "-o", "o.gif", "c.mp4"}, "frame rate"},
        {{"--width", "0", "-o", "o.gif", "c.mp4"}, "width"},
        {{"--fps", "12", "p.xml"}, "project"},
        // A project takes no pictures, delay or size.
        {{"-o", "o.gif", "a.png", "p.xml"}, "project"},
        {{"p.xml", "q.xml"}, "project"},
        {{"-d", "5", "p.xml"}, "project"},
        {{"-s", "20x20", "p.xml"}, "project"},
        {{"--caption-pos", "left", "--caption", "x", "p.xml"}, "caption position"},
        {{"--caption-pos", "free", "--caption", "x", "p.xml"}, "caption position"},
        {{"--caption-size", "3", "--caption", "x", "p.xml"}, "caption size"},
        {{"--caption-color", "#12345", "--caption", "x", "p.xml"}, "caption color"},
        {{"--caption-outline", "51", "--caption", "x", "p.xml"}, "caption outline"},
        {{"--caption-outline", "2,nocolour", "--caption", "x", "p.xml"}, "caption outline"},
        {{"--caption-size", "20", "p.xml"}, "--caption"},
    };
    for (const auto& [arguments, reason] : bad)
    {
        const std::string call =
            wxJoin(wxArrayString(arguments.size(), arguments.data()), ' ').utf8_string();
        RenderOptions options;
        wxString error;
        EXPECT_FALSE(ParseRenderArguments(arguments, options, error)) << call;
        EXPECT_FALSE(error.empty()) << call;
        EXPECT_NE(error.Find(reason), wxNOT_FOUND) << call << ": " << error.utf8_string();
        EXPECT_EQ(error.find('\n'), wxString::npos) << call;
    }
}

TEST(RenderOptions, ASingleXmlInputIsAProject)
{
    RenderOptions options;
    wxString error;
    ASSERT_TRUE(ParseRenderArguments({"work/p.xml"}, options, error)) << error.utf8_string();
    EXPECT_EQ(options.project, "work/p.xml");
    EXPECT_TRUE(options.inputs.empty());
    EXPECT_TRUE(options.output.empty());

    ASSERT_TRUE(ParseRenderArguments({"-o", "o.gif", "P.XML"}, options, error));
    EXPECT_EQ(options.project, "P.XML");
    EXPECT_EQ(options.output, "o.gif");

    // Pictures never end in .xml; a frame reference is still a picture.
    ASSERT_TRUE(ParseRenderArguments({"-o", "o.gif", "a.gif_3"}, options, error));
    EXPECT_TRUE(options.project.empty());
}
