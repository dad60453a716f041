#ifndef LOOPFORGE_TESTS_PILLOW_FRAMES_H
#define LOOPFORGE_TESTS_PILLOW_FRAMES_H

// The frames Pillow composes from a GIF file (see pillow_frames.py), to hold
// the program's reading and writing of GIFs against an independent viewer.
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <cstdio>
#include <string>
#include <vector>

// A frame of Pillow's composition: RGBA, with the disposal and rectangle
// Pillow read for it.
struct PillowFrame
{
    wxSize size;
    int disposal = 0;
    wxRect area;
    std::string rgba;
};

struct PillowResult
{
    std::vector<PillowFrame> frames;
    bool complete = false;  // Pillow read to the end without an error
};

inline PillowResult ComposeWithPillow(const wxString& path)
{
    PillowResult result;
    const std::string command = "/usr/bin/python3 '" LF_SOURCE_DIR
                                "/tests/support/pillow_frames.py' '" +
                                path.utf8_string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    for (;;)
    {
        std::string line;
        for (int c = std::fgetc(pipe); c != EOF && c != '\n'; c = std::fgetc(pipe))
            line += char(c);
        PillowFrame frame;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (std::sscanf(line.c_str(), "frame %d %d %d %d %d %d %d", &frame.size.x, &frame.size.y,
                        &frame.disposal, &x0, &y0, &x1, &y1) != 7)
        {
            result.complete = line == "end";
            break;
        }
        frame.area = wxRect(x0, y0, x1 - x0, y1 - y0);
        frame.rgba.resize(size_t(frame.size.x) * frame.size.y * 4);
        if (std::fread(&frame.rgba[0], 1, frame.rgba.size(), pipe) != frame.rgba.size())
            break;
        result.frames.push_back(std::move(frame));
    }
    pclose(pipe);
    return result;
}

#endif
