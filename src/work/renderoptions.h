#ifndef LOOPFORGE_WORK_RENDEROPTIONS_H
#define LOOPFORGE_WORK_RENDEROPTIONS_H

#include <wx/arrstr.h>
#include <wx/string.h>

#include <vector>

// The command line of loopforge-render:
//   loopforge-render [-d DELAY] [-s WIDTHxHEIGHT] -o OUT.gif INPUT...
struct RenderOptions
{
    int delay = 10;  // hundredths of a second
    int width = 0;   // 0 x 0: the size the main window would choose from the frames
    int height = 0;
    wxString output;
    wxArrayString inputs;  // picture paths and frame references, in order
    bool help = false;     // -h or --help: print the usage and do nothing else
};

// The usage text, one line per form.
wxString RenderUsage();

// Parses the arguments after the program name. On failure returns false with
// a one-line reason in error.
bool ParseRenderArguments(const std::vector<wxString>& arguments, RenderOptions& options,
                          wxString& error);

#endif
