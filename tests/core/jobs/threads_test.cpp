// The event sequences of the import and export threads, received by a plain
// event handler whose queue the test pumps.
#include "jobs/imagethread.h"
#include "jobs/threadevent.h"
#include "jobs/worksaveasgifthread.h"

#include "gif_files.h"
#include "gif_inspect.h"
#include "temp_dir.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/event.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
struct Received
{
    int id;
    wxString path;
    int percent;
    long extra;
    wxSize size;  // of the image, (0, 0) without one
};

class Recorder : public wxEvtHandler
{
public:
    Recorder()
    {
        Bind(wxEVT_THREAD_UPDATE, &Recorder::OnUpdate, this, ID_IMAGE_THREAD);
        Bind(wxEVT_THREAD_UPDATE, &Recorder::OnUpdate, this, ID_SAVE_GIF_THREAD);
        Bind(
            wxEVT_THREAD_UPDATE,
            [this](wxCommandEvent& event)
            {
                EXPECT_EQ(event.GetClientData(), nullptr);
                progress.push_back(event.GetInt());
            },
            ID_IMAGE_PROGRESS);
    }

    // Pumps the queue until the event with 100 arrived.
    bool WaitForEnd()
    {
        for (wxStopWatch watch; watch.Time() < 60000;)
        {
            wxAppConsole::GetInstance()->ProcessPendingEvents();
            if (!events.empty() && events.back().percent == 100)
                return true;
            wxMilliSleep(2);
        }
        return false;
    }

    std::vector<Received> events;
    std::vector<int> progress;                  // import progress within files
    std::shared_ptr<std::atomic<int>> backlog;  // taken down as pictures arrive

private:
    void OnUpdate(wxCommandEvent& event)
    {
        std::unique_ptr<ImportedPicture> picture(
            static_cast<ImportedPicture*>(event.GetClientData()));
        if (picture && backlog)
            --*backlog;
        events.push_back({event.GetId(), event.GetString(), event.GetInt(), event.GetExtraLong(),
                          picture ? picture->image.GetSize() : wxSize(0, 0)});
    }
};

std::vector<int> Percents(const std::vector<Received>& events)
{
    std::vector<int> percents;
    for (const Received& r : events)
        percents.push_back(r.percent);
    return percents;
}

std::vector<Received> Import(const wxArrayString& paths,
                             std::shared_ptr<std::atomic<bool>> cancel = {},
                             std::vector<int>* progress = nullptr)
{
    Recorder recorder;
    auto* thread = new ImageThread(&recorder, paths, cancel);
    EXPECT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    EXPECT_TRUE(recorder.WaitForEnd());
    if (progress)
        *progress = recorder.progress;
    return recorder.events;
}

wxString ThreeFrameGif(const TempDir& dir)
{
    return dir.Write("three.gif", WriteGifFrames({TwoColourImage(6, 4), TwoColourImage(7, 4),
                                                  TwoColourImage(8, 4)}));
}

wxString Png(const TempDir& dir, const wxString& name)
{
    return WritePng(dir, name, 10, 5);
}
}  // namespace

TEST(ImageThreadEvents, StillPictureThenWholeGif)
{
    TempDir dir;
    wxArrayString paths;
    paths.Add(Png(dir, "a.png"));
    paths.Add(ThreeFrameGif(dir));
    std::vector<int> progress;
    std::vector<Received> events = Import(paths, {}, &progress);
    EXPECT_EQ(Percents(events), (std::vector<int>{50, 50, 50, 100}));
    // Within the GIF the reading moves on beyond the file's own percentage.
    ASSERT_FALSE(progress.empty());
    EXPECT_GT(progress.front(), 50);
    EXPECT_LT(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

    // Only the last entry's last picture carries 100: a GIF before another
    // file must not end the import early.
    paths.Add(Png(dir, "b.png"));
    EXPECT_EQ(Percents(Import(paths)), (std::vector<int>{33, 33, 33, 33, 100}));

    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].path, paths[0]);
    EXPECT_EQ(events[0].extra, 0);
    EXPECT_EQ(events[0].size, wxSize(10, 5));
    for (int j = 0; j < 3; ++j)
    {
        EXPECT_EQ(events[1 + j].id, ID_IMAGE_THREAD);
        EXPECT_EQ(events[1 + j].path, paths[1]);
        EXPECT_EQ(events[1 + j].extra, j);
        EXPECT_EQ(events[1 + j].size, wxSize(6, 4));  // the first frame's screen
    }
}

TEST(ImageThreadEvents, SingleStillAndFrameReference)
{
    TempDir dir;
    wxArrayString single;
    single.Add(Png(dir, "a.png"));
    std::vector<Received> events = Import(single);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].percent, 100);
    EXPECT_EQ(events[0].extra, 0);

    const wxString gif = ThreeFrameGif(dir);
    wxArrayString references;
    references.Add(gif + "_2");
    references.Add(gif + "_0");
    references.Add(Png(dir, "b.png"));
    events = Import(references);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].path, gif);
    EXPECT_EQ(events[0].extra, 2);
    EXPECT_EQ(events[0].size, wxSize(6, 4));
    EXPECT_EQ(events[0].percent, 33);
    EXPECT_EQ(events[1].percent, 66);
    EXPECT_EQ(events[2].percent, 100);
}

TEST(ImageThreadEvents, ImportAlwaysEndsWithHundred)
{
    TempDir dir;
    // The last path gives nothing: a closing event without a picture follows.
    wxArrayString paths;
    paths.Add(Png(dir, "a.png"));
    paths.Add(dir.Write("broken.png", "not a picture"));
    std::vector<Received> events = Import(paths);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].percent, 50);
    EXPECT_EQ(events[1].percent, 100);
    EXPECT_EQ(events[1].size, wxSize(0, 0));
    EXPECT_TRUE(events[1].path.empty());

    // An unreadable file in the middle is skipped; the others keep their percentages.
    paths.Clear();
    paths.Add(Png(dir, "a.png"));
    paths.Add(dir.File("missing.png"));
    paths.Add(Png(dir, "c.png"));
    events = Import(paths);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].percent, 33);
    EXPECT_EQ(events[1].percent, 100);
    EXPECT_EQ(events[1].size, wxSize(10, 5));

    events = Import(wxArrayString());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].percent, 100);
    EXPECT_EQ(events[0].size, wxSize(0, 0));

    // Stopped before the first entry.
    auto cancel = std::make_shared<std::atomic<bool>>(true);
    paths.Clear();
    paths.Add(Png(dir, "a.png"));
    events = Import(paths, cancel);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].size, wxSize(0, 0));
}

TEST(ImageThreadEvents, PicturesOnTheirWayAreBounded)
{
    // A receiver that does not take its events holds the decoder back.
    TempDir dir;
    const wxString gif =
        dir.Write("many.gif", WriteGifFrames(std::vector<wxImage>(30, TwoColourImage(4, 4))));
    Recorder recorder;
    recorder.backlog = std::make_shared<std::atomic<int>>(0);
    auto* thread = new ImageThread(&recorder, Paths({gif}), {}, recorder.backlog);
    ASSERT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    for (wxStopWatch watch;
         recorder.backlog->load() < ImageThread::kMaxPicturesOnTheirWay && watch.Time() < 10000;)
        wxMilliSleep(2);
    wxMilliSleep(100);
    EXPECT_EQ(recorder.backlog->load(), ImageThread::kMaxPicturesOnTheirWay);
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.events.size(), 30u);
    EXPECT_EQ(recorder.backlog->load(), 0);
}

namespace
{
std::vector<Received> Export(const std::vector<const wxImage*>& frames, const wxString& path,
                             int width, int height, std::shared_ptr<std::atomic<bool>> cancel = {})
{
    Recorder recorder;
    std::vector<ExportFrame> delayed;
    for (const wxImage* frame : frames)
        delayed.push_back({frame, 50});
    auto* thread = new WorkSaveAsGifThread(&recorder, delayed, path, width, height, cancel);
    EXPECT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    EXPECT_TRUE(recorder.WaitForEnd());
    return recorder.events;
}
}  // namespace

TEST(ExportThreadEvents, ProgressThenResult)
{
    TempDir dir;
    const wxImage a = MakePhotoLike(50, 40, 1), b = MakeFlat(30, 30);
    std::vector<Received> events = Export({&a, &b, &a, &b}, dir.File("four.gif"), 50, 40);
    EXPECT_EQ(Percents(events), (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(events.back().id, ID_SAVE_GIF_THREAD);
    EXPECT_EQ(events.back().extra, 1);
    EXPECT_TRUE(events.back().path.empty());
    const InspectedGif gif = InspectGif(ReadFileBytes(dir.File("four.gif")));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 4u);
    EXPECT_EQ(gif.frames[3].delay, 50);

    events = Export({&a, &b, &a}, dir.File("three.gif"), 50, 40);
    EXPECT_EQ(Percents(events), (std::vector<int>{33, 66, 100}));
}

TEST(ExportThreadEvents, FailureAndCancellationAreReported)
{
    TempDir dir;
    const wxImage a = MakeFlat(30, 30);
    std::vector<Received> events = Export({&a}, dir.File("empty.gif"), 0, 30);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].percent, 100);
    EXPECT_EQ(events[0].extra, 0);
    EXPECT_NE(events[0].path.find(dir.File("empty.gif")), wxString::npos);
    EXPECT_FALSE(wxFileExists(dir.File("empty.gif")));

    events = Export({&a, &a}, dir.File("stopped.gif"), 30, 30,
                    std::make_shared<std::atomic<bool>>(true));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].extra, 0);
    EXPECT_FALSE(events[0].path.empty());
    EXPECT_FALSE(wxFileExists(dir.File("stopped.gif")));
}
