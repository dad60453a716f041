#include "jobs/renderoptions.h"

#include "decode/videoclip.h"
#include "encode/animationexport.h"

#include <wx/intl.h>

namespace
{
// Whole decimal number in [minimum, maximum], nothing else.
bool ParseNumber(const wxString& text, long minimum, long maximum, long& value)
{
    if (text.empty() || text.length() > 9)
        return false;
    for (const wxUniChar c : text)
        if (c < wxS('0') || c > wxS('9'))
            return false;
    return text.ToLong(&value) && value >= minimum && value <= maximum;
}

bool ParseSize(const wxString& text, RenderOptions& options)
{
    const size_t x = text.find_first_of(wxS("xX"));
    long width = 0, height = 0;
    if (x == wxString::npos || !ParseNumber(text.substr(0, x), 1, 65535, width) ||
        !ParseNumber(text.substr(x + 1), 1, 65535, height))
        return false;
    options.width = static_cast<int>(width);
    options.height = static_cast<int>(height);
    return true;
}

// A decimal number in [minimum, maximum].
bool ParseDecimal(const wxString& text, double minimum, double maximum, double& value)
{
    return !text.empty() && text.length() <= 20 &&
           text.find_first_not_of(wxS("0123456789.")) == wxString::npos &&
           text.ToCDouble(&value) && value >= minimum && value <= maximum;
}

// The canonical name of an option that takes a value, or empty.
wxString ValueOption(const wxString& name)
{
    if (name == wxS("-d") || name == wxS("--delay"))
        return wxS("--delay");
    if (name == wxS("-s") || name == wxS("--size"))
        return wxS("--size");
    if (name == wxS("-o") || name == wxS("--output"))
        return wxS("--output");
    if (name == wxS("--colors") || name == wxS("--dither") || name == wxS("--loop") ||
        name == wxS("--crop") || name == wxS("--rotate") || name == wxS("--flip") ||
        name == wxS("--speed") || name == wxS("--dedupe") || name == wxS("--format") ||
        name == wxS("--webp-quality") || name == wxS("--lossy") || name == wxS("--max-size"))
        return name;
    if (name == wxS("--start") || name == wxS("--end") || name == wxS("--fps") ||
        name == wxS("--width"))
        return name;
    if (name == wxS("--caption") || name == wxS("--caption-pos") ||
        name == wxS("--caption-size") || name == wxS("--caption-color") ||
        name == wxS("--caption-outline"))
        return name;
    return wxString();
}

bool ApplyValue(const wxString& option, const wxString& value, RenderOptions& options,
                wxString& error)
{
    long number = 0;
    if (option == wxS("--delay"))
    {
        // A delay of 0 makes many viewers pick a speed of their own.
        if (!ParseNumber(value, 1, 65535, number))
        {
            error = wxString::Format(
                _("invalid delay '%s': give hundredths of a second from 1 to 65535"), value);
            return false;
        }
        options.delay = static_cast<int>(number);
        options.delayGiven = true;
    }
    else if (option == wxS("--size"))
    {
        if (!ParseSize(value, options))
        {
            error = wxString::Format(
                _("invalid size '%s': give WIDTHxHEIGHT, each from 1 to 65535"), value);
            return false;
        }
    }
    else if (option == wxS("--colors"))
    {
        if (!ParseNumber(value, kMinGifColours, kMaxGifColours, number))
        {
            error = wxString::Format(_("invalid number of colors '%s': give 2 to 256"), value);
            return false;
        }
        options.colours = static_cast<int>(number);
    }
    else if (option == wxS("--dither"))
    {
        GifDither dither = GifDither::Diffuse;
        if (!ParseGifDither(value, dither))
        {
            error = wxString::Format(
                _("invalid dithering '%s': give none, ordered or diffuse"), value);
            return false;
        }
        options.dither = dither;
    }
    else if (option == wxS("--loop"))
    {
        if (!ParseNumber(value, 0, kMaxGifLoopCount, number))
        {
            error = wxString::Format(
                _("invalid loop count '%s': give 0 (forever) to 65535"), value);
            return false;
        }
        options.loopCount = static_cast<int>(number);
    }
    else if (option == wxS("--format"))
    {
        ExportFormat format = ExportFormat::Gif;
        if (!ParseExportFormat(value, format))
        {
            error = wxString::Format(_("invalid format '%s': give gif, webp, mp4 or webm"),
                                     value);
            return false;
        }
        options.format = format;
    }
    else if (option == wxS("--webp-quality"))
    {
        if (!ParseNumber(value, 0, kMaxWebpQuality, number))
        {
            error = wxString::Format(_("invalid WebP quality '%s': give 0 to 100"), value);
            return false;
        }
        options.webpQuality = static_cast<int>(number);
    }
    else if (option == wxS("--lossy"))
    {
        if (!ParseNumber(value, 0, kMaxGifLossy, number))
        {
            error = wxString::Format(_("invalid lossy strength '%s': give 0 to 100"), value);
            return false;
        }
        options.lossy = static_cast<int>(number);
    }
    else if (option == wxS("--max-size"))
    {
        std::uint64_t bytes = 0;
        if (!ParseByteSize(value, bytes))
        {
            error = wxString::Format(
                _("invalid size limit '%s': give bytes, or a number ending in K or M"), value);
            return false;
        }
        options.maxBytes = bytes;
    }
    else if (option == wxS("--speed"))
    {
        if (!ParseNumber(value, 1, 10000, number))
        {
            error = wxString::Format(_("invalid speed '%s': give a percentage from 1 to 10000"),
                                     value);
            return false;
        }
        options.speed = static_cast<int>(number);
    }
    else if (option == wxS("--dedupe"))
    {
        double tolerance = -1;
        if (!value.ToCDouble(&tolerance) || tolerance < 0 || tolerance > 255)
        {
            error = wxString::Format(_("invalid tolerance '%s': give 0 to 255"), value);
            return false;
        }
        options.dedupe = tolerance;
    }
    else if (option == wxS("--crop"))
    {
        wxRect rect;
        if (!ParseCropGeometry(value, rect))
        {
            error = wxString::Format(_("invalid crop '%s': give WIDTHxHEIGHT+X+Y"), value);
            return false;
        }
        options.crop = rect;
    }
    else if (option == wxS("--rotate"))
    {
        if (value == wxS("90"))
            options.rotate = OrientationEdit::RotateRight;
        else if (value == wxS("180"))
            options.rotate = OrientationEdit::Rotate180;
        else if (value == wxS("270"))
            options.rotate = OrientationEdit::RotateLeft;
        else
        {
            error = wxString::Format(_("invalid rotation '%s': give 90, 180 or 270"), value);
            return false;
        }
    }
    else if (option == wxS("--flip"))
    {
        if (value == wxS("h"))
            options.flip = OrientationEdit::FlipHorizontal;
        else if (value == wxS("v"))
            options.flip = OrientationEdit::FlipVertical;
        else
        {
            error = wxString::Format(_("invalid flip '%s': give h or v"), value);
            return false;
        }
    }
    else if (option == wxS("--start") || option == wxS("--end"))
    {
        double seconds = 0;
        if (!ParseClipTime(value, seconds))
        {
            error = wxString::Format(
                _("invalid time '%s': give seconds (12.5) or minutes and seconds (1:05.5)"),
                value);
            return false;
        }
        (option == wxS("--start") ? options.clipStart : options.clipEnd) = seconds;
    }
    else if (option == wxS("--fps"))
    {
        double rate = 0;
        if (!ParseDecimal(value, kMinVideoFrameRate, kMaxVideoFrameRate, rate))
        {
            error = wxString::Format(_("invalid frame rate '%s': give 0.1 to 50 frames a second"),
                                     value);
            return false;
        }
        options.clipFrameRate = rate;
    }
    else if (option == wxS("--width"))
    {
        if (!ParseNumber(value, 1, 65535, number))
        {
            error = wxString::Format(_("invalid width '%s': give 1 to 65535 pixels"), value);
            return false;
        }
        options.clipWidth = static_cast<int>(number);
    }
    else if (option == wxS("--caption"))
    {
        options.captionText = value;
    }
    else if (option == wxS("--caption-pos"))
    {
        CaptionPlace place = CaptionPlace::Bottom;
        if (!ParseCaptionPlace(value, place) || place == CaptionPlace::Free)
        {
            error = wxString::Format(
                _("invalid caption position '%s': give top, center or bottom"), value);
            return false;
        }
        options.captionPlace = place;
    }
    else if (option == wxS("--caption-size"))
    {
        if (!ParseNumber(value, kMinCaptionSize, kMaxCaptionSize, number))
        {
            error = wxString::Format(_("invalid caption size '%s': give %d to %d pixels"), value,
                                     kMinCaptionSize, kMaxCaptionSize);
            return false;
        }
        options.captionSize = static_cast<int>(number);
    }
    else if (option == wxS("--caption-color"))
    {
        CaptionColour colour;
        if (!ParseCaptionColour(value, colour))
        {
            error = wxString::Format(
                _("invalid caption color '%s': give #RRGGBB, #RRGGBBAA or a color name"), value);
            return false;
        }
        options.captionColour = colour;
    }
    else if (option == wxS("--caption-outline"))
    {
        // A width, a colour, or both as WIDTH,COLOR.
        const wxString width = value.BeforeFirst(',');
        const wxString colourText = value.AfterFirst(',');
        CaptionColour colour;
        if (ParseNumber(width, 0, kMaxCaptionOutline, number) &&
            (colourText.empty() || ParseCaptionColour(colourText, colour)))
        {
            options.captionOutline = static_cast<int>(number);
            if (!colourText.empty())
                options.captionOutlineColour = colour;
        }
        else if (ParseCaptionColour(value, colour))
            options.captionOutlineColour = colour;
        else
        {
            error = wxString::Format(
                _("invalid caption outline '%s': give a width from 0 to %d, a color, or both "
                  "as WIDTH,COLOR"),
                value, kMaxCaptionOutline);
            return false;
        }
    }
    else
    {
        options.output = value;
    }
    return true;
}
}  // namespace

wxString RenderUsage()
{
    return wxS(
        "usage: loopforge-render [-d DELAY] [-s WIDTHxHEIGHT] [GIF OPTIONS] -o OUT.gif INPUT...\n"
        "       loopforge-render PROJECT.xml [-o OUT.gif] [GIF OPTIONS]");
}

wxString RenderHelp()
{
    // Only the messages are translated; the help stays in English beside the
    // option names it explains.
    return RenderUsage() + wxS("\n\n") +
           wxS("Writes one animated GIF, as the window's Save does.\n"
             "\n"
             "  INPUT...              PNG, JPEG, BMP and GIF files (every frame of a GIF\n"
             "                        file), or frame references: anim.gif_12 is frame 12\n"
             "                        of anim.gif\n"
             "  -d, --delay DELAY     delay of every frame in hundredths of a second,\n"
             "                        1 to 65535 (default: the delays a GIF file stores\n"
             "                        for its frames, 10 for other pictures)\n"
             "  -s, --size WxH        output size (default: the size the window would\n"
             "                        choose from the frames)\n"
             "  -o, --output OUT.gif  the GIF file to write; - writes to standard output\n"
             "  PROJECT.xml           a saved project, given as the only input (a name\n"
             "                        ending in .xml in any case): renders its frames with\n"
             "                        its delay, its stored width and height and its GIF\n"
             "                        options. Without -o it writes the project's GIF name\n"
             "                        beside the project file, or, when the project has no\n"
             "                        GIF name, the project's name with .gif in place of\n"
             "                        .xml. -d and -s do not apply.\n"
             "\n"
             "Video clips (MP4, M4V, WebM, MKV, MOV, AVI; read with ffmpeg and ffprobe,\n"
             "which must be installed):\n"
             "  CLIP                  every frame of the part of the clip below, each for\n"
             "                        its time in the clip (unless -d is given)\n"
             "  --start T, --end T    the part taken, in seconds (12.5) or minutes and\n"
             "                        seconds (1:05.5); default the whole clip\n"
             "  --fps N               frames a second taken, 0.1 to 50, at most the\n"
             "                        clip's own (default 10)\n"
             "  --width W             the frames scaled to W pixels wide, keeping their\n"
             "                        aspect (default: the clip's size)\n"
             "\n"
             "GIF options (the window's GIF Options; without them the classic export):\n"
             "  --optimize            smaller files: later frames store only what changed,\n"
             "                        a shared palette where it serves, a better colour\n"
             "                        reduction\n"
             "  --colors N            at most N colours per palette, 2 to 256 (default 256)\n"
             "  --dither METHOD       none, ordered or diffuse (default none)\n"
             "  --smooth              shrink large pictures by averaging, not by picking\n"
             "                        pixels\n"
             "  --loop N              the loop count stored in the file: viewers play the\n"
             "                        animation once, then repeat it N times (1 to 65535);\n"
             "                        0 repeats it forever (default)\n"
             "  --lossy N             let the compression stray from the exact colours,\n"
             "                        0 (exact, default) to 100: smaller files, mostly of\n"
             "                        photos, for a little noise\n"
             "  --max-size SIZE       keep the file under SIZE bytes (K and M suffixes:\n"
             "                        8M, 500K): fewer colours, dithering, lossy strength,\n"
             "                        frame rate and, last, a smaller output size are\n"
             "                        tried until it fits; when nothing reasonable fits,\n"
             "                        nothing is written\n"
             "  --estimate            print the estimated size of the file in bytes and\n"
             "                        write nothing\n"
             "                        --colors, --dither, --smooth, --lossy and\n"
             "                        --max-size imply --optimize.\n"
             "\n"
             "Output format (the same frames, encoded otherwise): the one the output's\n"
             "ending names (.gif, .webp, .mp4 or .webm, in any case), else GIF or the\n"
             "format a project stores:\n"
             "  --format FORMAT       gif, webp, mp4 or webm, whatever the ending\n"
             "  --webp-quality N      a WebP's quality, 0 to 100 (default 75): frames are\n"
             "                        compressed with loss, except where compressing\n"
             "                        without loss is smaller, as on screen content\n"
             "  --webp-lossless       every WebP frame without loss (large for photos)\n"
             "                        A WebP keeps transparency and the loop count.\n"
             "  MP4 (H.264) and WebM (VP9) videos are made by the ffmpeg program, which\n"
             "  must be installed; an MP4 side of an odd length gains one black row or\n"
             "  column. Videos keep every frame's delay, not the loop count or\n"
             "  transparency.\n"
             "\n"
             "Edits of the frames (on top of those a project stores, in this order):\n"
             "  --crop WxH+X+Y        keep the part W by H pixels wide and high whose top\n"
             "                        left corner is X, Y of the first frame; frames of\n"
             "                        another size keep the part at the same relative\n"
             "                        place (replaces a project's crop)\n"
             "  --rotate DEGREES      turn every frame clockwise by 90, 180 or 270\n"
             "  --flip h|v            mirror every frame left to right (h) or top to\n"
             "                        bottom (v)\n"
             "  --reverse             play the frames in reverse order\n"
             "  --yoyo                play them forth and back: the frames before the\n"
             "                        last back to the second follow in reverse order\n"
             "  --speed PERCENT       play at PERCENT of the speed (200: twice as fast);\n"
             "                        delays stay within 2 to 65535\n"
             "  --dedupe[=TOLERANCE]  drop a frame that repeats the one kept before it\n"
             "                        (mean colour difference per pixel up to TOLERANCE,\n"
             "                        0 to 255, default 0: exact) and add its time to\n"
             "                        that frame\n"
             "\n"
             "Caption on every frame (with a project: over the project's own captions):\n"
             "  --caption TEXT        the text; \\n starts a new line\n"
             "  --caption-pos POS     top, center or bottom (default bottom)\n"
             "  --caption-size PX     the text's size in pixels, 4 to 1000 (default 32)\n"
             "  --caption-color COLOR the text's colour: #RRGGBB, #RRGGBBAA or a name such\n"
             "                        as white or yellow (default white)\n"
             "  --caption-outline OUTLINE\n"
             "                        the outline's width in pixels (0 to 50; 0: none), its\n"
             "                        colour, or both as WIDTH,COLOR (default 2,black)\n"
             "\n"
             "  -h, --help            show this help\n"
             "  --version             show the version\n"
             "\n"
             "Errors (bad arguments, unreadable projects, missing or unreadable pictures,\n"
             "failed writes) print one line and exit with a non-zero status; an existing\n"
             "output file is only ever replaced by a complete one.");
}

bool ParseClipTime(const wxString& text, double& seconds)
{
    double total = 0;
    const wxArrayString parts = wxSplit(text, ':', '\0');
    if (parts.empty() || parts.size() > 3)
        return false;
    for (std::size_t i = 0; i < parts.size(); ++i)
    {
        double value = 0;
        const bool last = i + 1 == parts.size();
        // Minutes and seconds below an hour or a minute stay below 60.
        if (!ParseDecimal(parts[i], 0, i == 0 ? 1e7 : 60, value) || (!last && value != long(value)) ||
            (i > 0 && value >= 60))
            return false;
        total = total * 60 + value;
    }
    seconds = total;
    return true;
}

bool IsProjectArgument(const wxString& input)
{
    return input.Lower().EndsWith(wxS(".xml"));
}

bool ParseRenderArguments(const std::vector<wxString>& arguments, RenderOptions& options,
                          wxString& error)
{
    options = RenderOptions();
    bool optionsEnded = false;
    bool delayOrSizeGiven = false;
    bool clipPartGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const wxString& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != wxS('-') || argument == wxS("-"))
        {
            options.inputs.Add(argument);
            continue;
        }
        if (argument == wxS("--"))
        {
            optionsEnded = true;
            continue;
        }
        if (argument == wxS("-h") || argument == wxS("--help"))
        {
            options.help = true;
            return true;
        }
        if (argument == wxS("--version"))
        {
            options.version = true;
            return true;
        }
        if (argument == wxS("--optimize"))
        {
            options.optimised = true;
            continue;
        }
        if (argument == wxS("--webp-lossless"))
        {
            options.webpQuality = kWebpLossless;
            continue;
        }
        if (argument == wxS("--estimate"))
        {
            options.estimate = true;
            continue;
        }
        if (argument == wxS("--smooth"))
        {
            options.smooth = true;
            continue;
        }
        if (argument == wxS("--reverse") || argument == wxS("--yoyo"))
        {
            (argument == wxS("--reverse") ? options.reverse : options.yoyo) = true;
            continue;
        }
        // The tolerance is optional, so it only ever comes after "=".
        if (argument == wxS("--dedupe"))
        {
            options.dedupe = 0;
            continue;
        }

        // --name=value or the value as the next argument.
        const size_t equals = argument.StartsWith(wxS("--")) ? argument.find('=') : wxString::npos;
        const wxString name = equals == wxString::npos ? argument : argument.substr(0, equals);
        const wxString option = ValueOption(name);
        if (option.empty())
        {
            error = wxString::Format(_("unknown option %s"), name);
            return false;
        }
        wxString value;
        if (equals != wxString::npos)
            value = argument.substr(equals + 1);
        else if (i + 1 == arguments.size())
        {
            error = wxString::Format(_("option %s needs a value"), argument);
            return false;
        }
        else
            value = arguments[++i];
        delayOrSizeGiven =
            delayOrSizeGiven || option == wxS("--delay") || option == wxS("--size");
        clipPartGiven = clipPartGiven || option == wxS("--start") || option == wxS("--end") ||
                        option == wxS("--fps") || option == wxS("--width");
        if (!ApplyValue(option, value, options, error))
            return false;
    }
    for (const wxString& input : options.inputs)
        if (IsProjectArgument(input) && options.inputs.size() > 1)
        {
            error = wxString::Format(
                _("the project %s must be the only input: projects are rendered one at a time"),
                input);
            return false;
        }
    if (!options.captionText && (options.captionPlace || options.captionSize ||
                                 options.captionColour || options.captionOutline ||
                                 options.captionOutlineColour))
    {
        error = _("the caption options need --caption TEXT");
        return false;
    }
    if (options.inputs.size() == 1 && IsProjectArgument(options.inputs[0]))
    {
        if (delayOrSizeGiven)
        {
            error = _("-d and -s do not apply to a project: it stores its own delay and size");
            return false;
        }
        if (clipPartGiven)
        {
            error = _("--start, --end, --fps and --width apply to video clips, not to a project: "
                      "it stores the part of its clips it takes");
            return false;
        }
        options.project = options.inputs[0];
        options.inputs.clear();
        return true;
    }
    if (options.output.empty() && !options.estimate)
    {
        error = _("no output file: give -o OUT.gif");
        return false;
    }
    if (options.inputs.empty())
    {
        error = _("no input pictures");
        return false;
    }
    if (options.clipStart && options.clipEnd && *options.clipEnd <= *options.clipStart)
    {
        error = _("--end must come after --start");
        return false;
    }
    return true;
}

bool ParseByteSize(const wxString& text, std::uint64_t& bytes)
{
    std::uint64_t unit = 1;
    wxString digits = text;
    const wxString last = text.Right(1).Upper();
    if (last == wxS("K") || last == wxS("M"))
    {
        unit = last == wxS("K") ? 1024 : 1024 * 1024;
        digits = text.Left(text.length() - 1);
    }
    long number = 0;
    if (!ParseNumber(digits, 1, 999999999, number))
        return false;
    bytes = std::uint64_t(number) * unit;
    return bytes <= kMaxGifTargetBytes;
}

void ApplyRenderGifOptions(const RenderOptions& options, GifOptions& gif)
{
    if (options.optimised || options.colours || options.dither || options.smooth || options.lossy ||
        options.maxBytes)
        gif.optimised = true;
    if (options.lossy)
        gif.lossy = *options.lossy;
    if (options.maxBytes)
        gif.maxBytes = *options.maxBytes;
    if (options.colours)
        gif.colours = *options.colours;
    if (options.dither)
        gif.dither = *options.dither;
    if (options.smooth)
        gif.smooth = *options.smooth;
    if (options.loopCount)
        gif.loopCount = *options.loopCount;
    if (options.format)
        gif.format = *options.format;
    if (options.webpQuality)
        gif.webpQuality = *options.webpQuality;
}

ExportFormat RenderFormat(const RenderOptions& options, const wxString& output,
                          ExportFormat stored)
{
    return options.format ? *options.format : ExportFormatFor(output, stored);
}

CaptionRef RenderCaption(const RenderOptions& options)
{
    if (!options.captionText || options.captionText->empty())
        return nullptr;
    Caption caption;
    caption.text = *options.captionText;
    caption.text.Replace(wxS("\\n"), wxS("\n"));
    caption.place = options.captionPlace.value_or(caption.place);
    caption.size = options.captionSize.value_or(caption.size);
    caption.colour = options.captionColour.value_or(caption.colour);
    caption.outline = options.captionOutline.value_or(caption.outline);
    caption.outlineColour = options.captionOutlineColour.value_or(caption.outlineColour);
    return std::make_shared<const Caption>(SanitisedCaption(caption));
}
