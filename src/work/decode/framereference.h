#ifndef LOOPFORGE_WORK_FRAMEREFERENCE_H
#define LOOPFORGE_WORK_FRAMEREFERENCE_H

#include <wx/string.h>

#include <cstddef>

// One frame of a GIF file named by its path: "<file>.gif_<index>", as the
// strip names GIF frames and project files store them.
struct FrameReference
{
    wxString gifPath;   // the GIF file's own path as spelt, ending in ".gif" in any case
    std::size_t index;  // 0-based frame index; saturates for absurdly long digit runs
};

// Whether a path ends in ".gif" in any case (".GIF", ".Gif"): a GIF file's
// frames are taken apart, and its frames named by frame references.
bool HasGifEnding(const wxString& path);

// Reads a frame reference. Only ".gif_" (in any case) followed by one or more decimal digits
// running to the end of the entry counts, with at least one character before
// ".gif" (so "x.gif_old/pic.png" or ".gif_3" are plain paths). Any number of
// digits is read, so files with more than 1000 frames round-trip.
bool ParseFrameReference(const wxString& entry, FrameReference& reference);

#endif
