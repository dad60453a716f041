#ifndef LOOPFORGE_WORK_IMPORTRUN_H
#define LOOPFORGE_WORK_IMPORTRUN_H

#include "decode/damagedframes.h"
#include "decode/videosequence.h"
#include "edit/importrefusals.h"

#include <wx/arrstr.h>
#include <wx/string.h>

#include <atomic>
#include <memory>
#include <vector>

// The own delay a picture takes from its file's delay: none when the file
// gives none or the animation delay, so a GIF at the animation's pace
// follows later changes of it.
int OwnDelayFromFile(int fileDelay, int animationDelay);

// One import as the window follows it while the import thread delivers its
// pictures: what was asked for (entries, each with an own delay or 0), where
// the pictures go in the strip, and which entries gave nothing.
class ImportRun
{
public:
    ImportRun() = default;
    // insertAt: the strip position of the first picture; -1 appends.
    // orientations: per entry, as the frames' (none: all upright).
    ImportRun(const wxArrayString& entries, const std::vector<int>& delays, int insertAt,
              const std::vector<int>& orientations = {});

    // Makes entries parts of video clips (PictureSequence::SetVideoEntries).
    void SetVideoEntries(const std::vector<VideoEntry>& videos);
    const std::vector<VideoEntry>& GetVideoEntries() const { return m_videos; }

    struct Arrival
    {
        int position;  // where the picture goes; -1: at the end
        int delay;            // its own delay; 0 for none
        int orientation = 0;  // the orientation of its entry
        VideoRangeRef video;  // the range of the clip it is a frame of
    };
    // Takes a delivered picture, named as the thread names it: the file's
    // path and the frame index, with the delay its file gives it (0: none).
    // The thread delivers in entry order, so it belongs to the first entry
    // from the current one on that names it. Its own delay is its entry's,
    // else the one it takes from the file (OwnDelayFromFile); a frame of a
    // whole video range keeps its time in the clip.
    Arrival Take(const wxString& path, int frameIndex, int fileDelay = 0,
                 int animationDelay = 0);

    const wxArrayString& GetEntries() const { return m_entries; }
    // The entries that gave no picture and were not refused with a reason,
    // in their order.
    wxArrayString GetUnreadable() const;
    int GetDelivered() const { return m_delivered; }

    // Whether the entries that gave nothing are listed to the user at the end.
    bool reportUnreadable = false;
    // Whether the import is one step the user can undo.
    bool undoable = true;
    // Whether a cancelled import takes its frames out of the strip again.
    bool keepNothingOnCancel = false;
    // Entries skipped for a reason the user can act on, told with it.
    ImportRefusals refusals;
    // Frames of GIF files left out for damage.
    DamagedFrames damaged;
    // Pictures the thread has posted and the window not yet taken; the
    // thread waits while too many are on their way.
    std::shared_ptr<std::atomic<int>> backlog = std::make_shared<std::atomic<int>>(0);

private:
    wxArrayString m_entries;
    std::vector<int> m_delays;
    std::vector<int> m_orientations;
    std::vector<VideoEntry> m_videos;
    std::vector<bool> m_gave;
    size_t m_current = 0;
    int m_insertAt = -1;
    int m_delivered = 0;
};

#endif
