#ifndef LOOPFORGE_WORK_IMAGETHREAD_H
#define LOOPFORGE_WORK_IMAGETHREAD_H

#include <wx/arrstr.h>
#include <wx/thread.h>

#include "decode/videosequence.h"

#include <atomic>
#include <memory>
#include <vector>

class wxEvtHandler;
enum class PictureDecodeStatus;
struct ImportedPicture;

// Decodes a list of import entries (picture paths and frame references) on a
// detached worker thread and posts one wxEVT_THREAD_UPDATE event with id
// ID_IMAGE_THREAD per picture to owner, as work/threadevent.h describes:
// path, percentage, frame index and the heap-allocated ImportedPicture. Percentages,
// with c entries and i the entry's position: (i + 1) * 100 / c for a picture
// or a frame reference; i * 100 / c for each frame of a whole GIF file or
// video range, except
// that the last frame of the last entry gets 100. When no picture carried 100
// (the last entry gave nothing, the list was empty, or the import was
// stopped), a final event with 100 and no image says that the import is over.
// While a GIF file or a video range is read, events with id ID_IMAGE_PROGRESS carry the
// percentage of the whole list read so far, rising, below 100.
// An entry skipped for a reason the user can act on also posts a
// wxEVT_PICTURE_REFUSED event, and a GIF frame left out for damage a
// wxEVT_PICTURE_DAMAGED event.
//
// Stop it with Delete() or by setting *cancel; either takes effect before the
// next entry or GIF frame. The owner must outlive the thread.
//
// With a backlog counter, the thread adds 1 for each picture it posts and the
// owner takes 1 off for each it receives; the thread decodes no further while
// kMaxPicturesOnTheirWay are on their way, so a file decoded faster than the
// window takes its pictures never piles them up in the event queue.
class ImageThread : public wxThread
{
public:
    static constexpr int kMaxPicturesOnTheirWay = 8;

    ImageThread(wxEvtHandler* owner, const wxArrayString& paths,
                std::shared_ptr<std::atomic<bool>> cancel = {},
                std::shared_ptr<std::atomic<int>> backlog = {},
                std::vector<VideoEntry> videos = {});

protected:
    ExitCode Entry() override;

private:
    bool Stopped();
    void WaitWhileBacklogIsFull();
    void PostPicture(const wxString& path, int percent, int frameIndex,
                     ImportedPicture* picture);
    void PostProgress(int percent);
    void PostRefusal(const wxString& entry, PictureDecodeStatus status);
    void PostDamage(const wxString& gifPath, int frameIndex);

    wxEvtHandler* m_owner;
    wxArrayString m_paths;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::shared_ptr<std::atomic<int>> m_backlog;
    std::vector<VideoEntry> m_videos;  // see PictureSequence::SetVideoEntries
};

#endif
