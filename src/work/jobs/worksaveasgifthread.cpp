#include "jobs/worksaveasgifthread.h"

#include "encode/animationexport.h"
#include "jobs/threadevent.h"

#include <wx/arrstr.h>
#include <wx/event.h>

WorkSaveAsGifThread::WorkSaveAsGifThread(wxEvtHandler* sink, std::vector<ExportFrame> frames,
                                         const wxString& path, int width, int height,
                                         std::shared_ptr<std::atomic<bool>> cancel,
                                         const GifOptions& options)
    : wxThread(wxTHREAD_DETACHED),
      m_sink(sink),
      m_frames(std::move(frames)),
      m_path(path),
      m_width(width),
      m_height(height),
      m_options(options),
      m_cancel(std::move(cancel))
{
}

bool WorkSaveAsGifThread::Stopped()
{
    return (m_cancel && m_cancel->load()) || TestDestroy();
}

void WorkSaveAsGifThread::Post(int percent, bool ok, const wxString& error)
{
    auto* event = new wxCommandEvent(wxEVT_THREAD_UPDATE, ID_SAVE_GIF_THREAD);
    event->SetInt(percent);
    if (percent == 100)
    {
        event->SetExtraLong(ok ? 1 : 0);
        event->SetString(error);
    }
    wxQueueEvent(m_sink, event);
}

wxThread::ExitCode WorkSaveAsGifThread::Entry()
{
    // The last frame's 100 waits until the file is in place, and carries the result.
    GifExportSettings settings;
    settings.width = m_width;
    settings.height = m_height;
    settings.options = m_options;
    settings.options.format = ExportFormatFor(m_path, m_options.format);
    const GifExportResult result = ExportAnimation(
        m_frames, m_path, settings,
        [this](int done, int count)
        {
            if (done < count)
                Post(done * 100 / count);
        },
        [this] { return Stopped(); });
    // What a written file should tell the user: an MP4 padded to even sides,
    // or what was changed to keep it under its size limit.
    Post(100, result.ok, result.ok ? wxJoin(result.warnings, '\n', '\0') : result.error);
    return 0;
}
