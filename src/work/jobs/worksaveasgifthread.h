#ifndef LOOPFORGE_WORK_WORKSAVEASGIFTHREAD_H
#define LOOPFORGE_WORK_WORKSAVEASGIFTHREAD_H

#include <wx/string.h>
#include <wx/thread.h>

#include <atomic>
#include <memory>
#include <vector>

#include "encode/gifexport.h"

class wxEvtHandler;

// Exports frames to an animated GIF file (or the format the path's ending
// names, else options.format) on a detached worker thread (see
// ExportAnimation) and reports to sink with wxEVT_THREAD_UPDATE events of id
// ID_SAVE_GIF_THREAD: one per frame with the percentage (i + 1) * 100 / n, and
// a final one with 100 whose extra long is 1 when the file was written and
// moved into place, 0 otherwise, with the reason in its string (for a file
// written, what the user should know of it, if anything: an MP4 padded to
// even sides, what was changed to keep it under its size limit).
//
// frames point at the strip's full-size pictures, in strip order, each with
// its delay. The thread only reads them through const access and never
// copies them; the window keeps the strip unchanged (and the sink alive)
// until the final event. options say how the file is written. Stop it with
// Delete() or by setting *cancel: the temporary file is removed and the final
// event reports the cancellation.
class WorkSaveAsGifThread : public wxThread
{
public:
    WorkSaveAsGifThread(wxEvtHandler* sink, std::vector<ExportFrame> frames, const wxString& path,
                        int width, int height, std::shared_ptr<std::atomic<bool>> cancel = {},
                        const GifOptions& options = GifOptions());

protected:
    ExitCode Entry() override;

private:
    bool Stopped();
    void Post(int percent, bool ok = false, const wxString& error = wxString());

    wxEvtHandler* m_sink;
    std::vector<ExportFrame> m_frames;
    wxString m_path;
    int m_width;
    int m_height;
    GifOptions m_options;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};

#endif
