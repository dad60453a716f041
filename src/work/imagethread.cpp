#include "work/imagethread.h"

#include "work/picturedecoder.h"
#include "work/threadevent.h"

#include <wx/event.h>
#include <wx/image.h>

ImageThread::ImageThread(wxEvtHandler* owner, const wxArrayString& paths,
                         std::shared_ptr<std::atomic<bool>> cancel)
    : wxThread(wxTHREAD_DETACHED), m_owner(owner), m_paths(paths), m_cancel(std::move(cancel))
{
}

bool ImageThread::Stopped()
{
    return (m_cancel && m_cancel->load()) || TestDestroy();
}

void ImageThread::PostPicture(const wxString& path, int percent, int frameIndex, wxImage* image)
{
    auto* event = new wxCommandEvent(wxEVT_THREAD_UPDATE, ID_IMAGE_THREAD);
    event->SetString(path);
    event->SetInt(percent);
    event->SetExtraLong(frameIndex);
    event->SetClientData(image);
    wxQueueEvent(m_owner, event);
}

wxThread::ExitCode ImageThread::Entry()
{
    const int count = static_cast<int>(m_paths.size());
    bool sentHundred = false;
    for (int i = 0; i < count && !Stopped(); ++i)
    {
        const PictureEntry entry = DescribePictureEntry(m_paths[i]);
        const bool lastEntry = i + 1 == count;
        const PictureDecodeStatus status = DecodePictures(
            m_paths[i],
            [&](std::unique_ptr<wxImage> image, int frameIndex, bool lastPicture)
            {
                int percent = (i + 1) * 100 / count;
                if (entry.kind == PictureEntryKind::WholeGif)
                    percent = lastEntry && lastPicture ? 100 : i * 100 / count;
                sentHundred = sentHundred || percent == 100;
                PostPicture(entry.path, percent, frameIndex, image.release());
            },
            [this] { return Stopped(); });
        if (IsReportedRefusal(status))
        {
            auto* refusal = new wxCommandEvent(wxEVT_PICTURE_REFUSED, ID_IMAGE_THREAD);
            refusal->SetString(m_paths[i]);
            refusal->SetInt(static_cast<int>(status));
            wxQueueEvent(m_owner, refusal);
        }
    }
    if (!sentHundred)
        PostPicture(wxString(), 100, 0, nullptr);
    return 0;
}
