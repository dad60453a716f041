#include "work/renderoptions.h"

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
}  // namespace

wxString RenderUsage()
{
    return wxS(
        "usage: loopforge-render [-d DELAY] [-s WIDTHxHEIGHT] -o OUT.gif INPUT...\n"
        "       loopforge-render PROJECT.xml [-o OUT.gif]");
}

wxString RenderHelp()
{
    // Only the messages are translated; the help stays in English beside the
    // option names it explains.
    return RenderUsage() + wxS("\n\n") +
           wxS("Writes one looping animated GIF, as the window's Save does.\n"
             "\n"
             "  INPUT...         PNG, JPEG, BMP and GIF files (every frame of a GIF file),\n"
             "                   or frame references: anim.gif_12 is frame 12 of anim.gif\n"
             "  -d DELAY         delay between frames in hundredths of a second (default 10)\n"
             "  -s WIDTHxHEIGHT  output size (default: the size the window would choose\n"
             "                   from the frames)\n"
             "  -o OUT.gif       the GIF file to write\n"
             "  PROJECT.xml      a saved project, given as the only input (a name ending\n"
             "                   in .xml in any case): renders its frames with its delay\n"
             "                   and its stored width and height. Without -o it writes the\n"
             "                   project's GIF name beside the project file, or, when the\n"
             "                   project has no GIF name, the project's name with .gif in\n"
             "                   place of .xml. -d and -s do not apply.\n"
             "  -h, --help       show this help\n"
             "\n"
             "Errors (bad arguments, unreadable projects, missing or unreadable pictures,\n"
             "failed writes) print one line and exit with a non-zero status; an existing\n"
             "output file is only ever replaced by a complete one.");
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
        if (argument != wxS("-d") && argument != wxS("-s") && argument != wxS("-o"))
        {
            error = wxString::Format(_("unknown option %s"), argument);
            return false;
        }
        if (i + 1 == arguments.size())
        {
            error = wxString::Format(_("option %s needs a value"), argument);
            return false;
        }
        const wxString& value = arguments[++i];
        delayOrSizeGiven = delayOrSizeGiven || argument != wxS("-o");
        long delay = 0;
        if (argument == wxS("-d"))
        {
            if (!ParseNumber(value, 0, 65535, delay))
            {
                error = wxString::Format(
                    _("invalid delay '%s': give hundredths of a second from 0 to 65535"), value);
                return false;
            }
            options.delay = static_cast<int>(delay);
        }
        else if (argument == wxS("-s"))
        {
            if (!ParseSize(value, options))
            {
                error = wxString::Format(
                    _("invalid size '%s': give WIDTHxHEIGHT, each from 1 to 65535"), value);
                return false;
            }
        }
        else
            options.output = value;
    }
    for (const wxString& input : options.inputs)
        if (IsProjectArgument(input) && options.inputs.size() > 1)
        {
            error = wxString::Format(
                _("the project %s must be the only input: projects are rendered one at a time"),
                input);
            return false;
        }
    if (options.inputs.size() == 1 && IsProjectArgument(options.inputs[0]))
    {
        if (delayOrSizeGiven)
        {
            error = _("-d and -s do not apply to a project: it stores its own delay and size");
            return false;
        }
        options.project = options.inputs[0];
        options.inputs.clear();
        return true;
    }
    if (options.output.empty())
    {
        error = _("no output file: give -o OUT.gif");
        return false;
    }
    if (options.inputs.empty())
    {
        error = _("no input pictures");
        return false;
    }
    return true;
}
