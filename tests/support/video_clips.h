#ifndef LOOPFORGE_TESTS_VIDEO_CLIPS_H
#define LOOPFORGE_TESTS_VIDEO_CLIPS_H

#include "files/childprocess.h"

#include <wx/image.h>
#include <wx/string.h>

// Makes a lossless clip of 2 seconds at 25 frames a second, 32 x 24 pixels,
// whose frame n is grey n * 4 all over, so a picture tells which frame of
// the clip it is. Needs ffmpeg. Returns false with the reason in error.
inline bool MakeCounterClip(const wxString& path, wxString& error)
{
    ChildProcess ffmpeg;
    if (!ffmpeg.Start({"ffmpeg", "-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                       "color=black:s=32x24:r=25:d=2,format=rgb24,geq=r='N*4':g='N*4':b='N*4'",
                       "-c:v", "ffv1", path},
                      ChildProcess::NoPipes, error))
        return false;
    if (ffmpeg.Wait() == 0)
        return true;
    error = ffmpeg.GetErrorOutput();
    return false;
}

// The frame of the counter clip a picture shows.
inline int CounterFrame(const wxImage& picture)
{
    return picture.IsOk() ? (picture.GetRed(0, 0) + 2) / 4 : -1;
}

#endif
