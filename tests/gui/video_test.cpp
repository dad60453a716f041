// Import Video: the frames of a part of a clip, their delays, Cancel, a
// missing ffmpeg, and the renderer making the window's GIF from a clip.
#include "editing_fixture.h"
#include "video_clips.h"

#include "edit/framelist.h"
#include "window/videoimportdialog.h"

#include <wx/progdlg.h>
#include <wx/utils.h>

#include <numeric>
#include <vector>

namespace
{
class VideoTest : public EditingWindowTest
{
protected:
    void SetUp() override
    {
        EditingWindowTest::SetUp();
        clip = dir.File(wxS("counter.mkv"));
        wxString error;
        ASSERT_TRUE(MakeCounterClip(clip, error)) << error;
    }

    // The clip frame each strip frame shows.
    std::vector<int> ClipFrames() const
    {
        std::vector<int> frames;
        for (const StripFrame& strip : frame->GetFrames().GetFrames())
            frames.push_back(CounterFrame(strip.source->picture));
        return frames;
    }

    wxString clip;
};
}  // namespace

TEST_F(VideoTest, APartOfAClipComesAsItsFramesWithTheirTimesAsOneStepToUndo)
{
    ASSERT_TRUE(frame->StartVideoImport(VideoRange{clip, 0.4, 1.6, 12, 16}));
    ASSERT_TRUE(WaitForWorker());
    const std::vector<int> frames = ClipFrames();
    ASSERT_EQ(frames.size(), 15u);
    EXPECT_EQ(frames[0], 10);
    EXPECT_EQ(frames[12], 35);  // a second later
    const std::vector<int> delays = frame->GetFrames().GetOwnDelays();
    EXPECT_EQ((std::vector<int>(delays.begin(), delays.begin() + 3)), (std::vector<int>{8, 8, 9}));
    EXPECT_NEAR(std::accumulate(delays.begin(), delays.end(), 0), 120, 100.0 / 12);
    const StripFrame& last = frame->GetFrames().Get(14);
    EXPECT_EQ(last.source->name, clip);
    EXPECT_EQ(last.source->frameIndex, 14);
    EXPECT_EQ(last.source->picture.GetSize(), wxSize(16, 12));

    ASSERT_TRUE(frame->Undo());
    EXPECT_TRUE(frame->GetFrames().IsEmpty());
}

TEST_F(VideoTest, CancelledImportKeepsNothing)
{
    AddFrame(wxSize(32, 24));
    ASSERT_TRUE(frame->StartVideoImport(VideoRange{clip, 0, 2, 25, 0}));
    // The import thread stops once a few frames wait for the window, so
    // Cancel comes while frames are on their way however fast it runs.
    wxMilliSleep(300);
    wxProgressDialog* dialog = Access().ImportProgress();
    ASSERT_NE(dialog, nullptr);
    wxWindow* cancel = dialog->FindWindow(wxID_CANCEL);
    ASSERT_NE(cancel, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
    click.SetEventObject(cancel);
    cancel->GetEventHandler()->ProcessEvent(click);
    ASSERT_TRUE(WaitForWorker(5000));
    EXPECT_EQ(Strip()->GetCount(), 1);
    EXPECT_EQ(frame->GetFrames().GetCount(), 1);
    // The frame added before is the last step to undo.
    ASSERT_TRUE(frame->Undo());
    EXPECT_TRUE(frame->GetFrames().IsEmpty());
    EXPECT_FALSE(frame->Undo());
}

TEST_F(VideoTest, WithoutFfmpegImportVideoSaysWhatToInstall)
{
    wxString path;
    wxGetEnv(wxS("PATH"), &path);
    wxSetEnv(wxS("PATH"), dir.Path());
    ShownMessage shown;
    wxCommandEvent event;
    wxTEST_DIALOG(frame->OnImportVideo(event), ExpectMessage(&shown));
    wxSetEnv(wxS("PATH"), path);
    EXPECT_NE(shown.message.Find(wxS("Debian package is called ffmpeg")), wxNOT_FOUND)
        << shown.message;
    EXPECT_FALSE(frame->IsWorkerRunning());
}

// The dialog offers the whole clip at 10 frames a second, at its own size.
TEST_F(VideoTest, TheDialogStartsWithTheWholeClip)
{
    VideoClipInfo info;
    wxString error;
    ASSERT_TRUE(ProbeVideoClip(clip, info, error)) << error;
    VideoImportDialog dialog(frame, clip, info);
    const VideoRange range = dialog.GetRange();
    EXPECT_EQ(range.path, clip);
    EXPECT_EQ(range.start, 0);
    EXPECT_NEAR(range.end, 2, 0.01);
    EXPECT_EQ(range.frameRate, 10);
    EXPECT_EQ(range.width, 0);
    EXPECT_EQ(FormatClipTime(65.5), wxS("1:05.5"));
}
