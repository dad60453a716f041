#include "jobs/imagethread.h"

#include "decode/picturesequence.h"
#include "jobs/threadevent.h"

#include <wx/event.h>
#include <wx/image.h>
#include <wx/utils.h>

ImageThread::ImageThread(wxEvtHandler* owner, const wxArrayString& paths,
                         std::shared_ptr<std::atomic<bool>> cancel,
                         std::shared_ptr<std::atomic<int>> backlog, std::vector<VideoEntry> videos)
    : wxThread(wxTHREAD_DETACHED),
      m_owner(owner),
      m_paths(paths),
      m_cancel(std::move(cancel)),
      m_backlog(std::move(backlog)),
      m_videos(std::move(videos))
{
}

void ImageThread::WaitWhileBacklogIsFull()
{
    while (m_backlog && m_backlog->load() >= kMaxPicturesOnTheirWay && !Stopped())
        wxMilliSleep(2);
}

bool ImageThread::Stopped()
{
    return (m_cancel && m_cancel->load()) || TestDestroy();
}

void ImageThread::PostPicture(const wxString& path, int percent, int frameIndex,
                              ImportedPicture* picture)
{
    auto* event = new wxCommandEvent(wxEVT_THREAD_UPDATE, ID_IMAGE_THREAD);
    event->SetString(path);
    event->SetInt(percent);
    event->SetExtraLong(frameIndex);
    event->SetClientData(picture);
    if (picture && m_backlog)
        ++*m_backlog;
    wxQueueEvent(m_owner, event);
}

void ImageThread::PostProgress(int percent)
{
    auto* event = new wxCommandEvent(wxEVT_THREAD_UPDATE, ID_IMAGE_PROGRESS);
    event->SetInt(percent);
    wxQueueEvent(m_owner, event);
}

void ImageThread::PostRefusal(const wxString& entry, PictureDecodeStatus status)
{
    auto* event = new wxCommandEvent(wxEVT_PICTURE_REFUSED, ID_IMAGE_THREAD);
    event->SetString(entry);
    event->SetInt(static_cast<int>(status));
    wxQueueEvent(m_owner, event);
}

void ImageThread::PostDamage(const wxString& gifPath, int frameIndex)
{
    auto* event = new wxCommandEvent(wxEVT_PICTURE_DAMAGED, ID_IMAGE_THREAD);
    event->SetString(gifPath);
    event->SetInt(frameIndex);
    wxQueueEvent(m_owner, event);
}

wxThread::ExitCode ImageThread::Entry()
{
    const int count = static_cast<int>(m_paths.size());
    bool sentHundred = false;
    int progressSent = 0;
    PictureSequence sequence(m_paths,
                             [this](std::size_t entry, PictureDecodeStatus status)
                             {
                                 if (IsReportedRefusal(status))
                                     PostRefusal(m_paths[entry], status);
                             },
                             [this](std::size_t entry, int frameIndex)
                             { PostDamage(DescribePictureEntry(m_paths[entry]).path, frameIndex); });
    sequence.SetVideoEntries(m_videos);
    SequencePicture picture;
    for (;;)
    {
        WaitWhileBacklogIsFull();
        if (!sequence.Next(picture, [this] { return Stopped(); }))
            break;
        const int i = static_cast<int>(picture.entry);
        int percent = (i + 1) * 100 / count;
        if (picture.kind == PictureEntryKind::WholeGif ||
            picture.kind == PictureEntryKind::WholeVideo)
            percent = i + 1 == count && picture.lastOfEntry ? 100 : i * 100 / count;
        sentHundred = sentHundred || percent == 100;
        auto* imported = new ImportedPicture{std::move(*picture.image), picture.delay,
                                             StoredPicture()};
        picture.image.reset();
        imported->stored = StoredPicture::Keep(imported->image);
        PostPicture(picture.path, percent, picture.frameIndex, imported);

        // Within a GIF file the percentage above stands still; how much of
        // the file has been read moves the dialog on.
        const int position = static_cast<int>(sequence.Position() * 100 / count);
        if (position > percent && position > progressSent && position < 100)
        {
            PostProgress(position);
            progressSent = position;
        }
    }
    if (!sentHundred)
        PostPicture(wxString(), 100, 0, nullptr);
    return 0;
}
