// Import Video: the frames of a part of a clip, their delays, Cancel, a
// missing ffmpeg, and the renderer making the window's GIF from a clip.
#include "editing_fixture.h"
#include "video_clips.h"

#include "edit/framelist.h"
#include "window/videoimportdialog.h"

#include <wx/progdlg.h>
#include <wx/utils.h>
#include <wx/weakref.h>

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
            frames.push_back(CounterFrame(strip.source->Picture()));
        return frames;
    }

    // A new window in place of the present one, as after a restart.
    void Restart()
    {
        wxWeakRef<wxFrame> ref(frame);
        frame->Destroy();
        frame = nullptr;
        ASSERT_TRUE(WaitFor([&] { return !ref; }));
        MainWindowTest::SetUp();
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
    EXPECT_EQ(last.source->GetSize(), wxSize(16, 12));

    ASSERT_TRUE(frame->Undo());
    EXPECT_TRUE(frame->GetFrames().IsEmpty());
}

TEST_F(VideoTest, CancelledImportKeepsNothing)
{
    AddFrame(wxSize(32, 24));
    ASSERT_TRUE(frame->StartVideoImport(VideoRange{clip, 0, 2, 25, 0}));
    ASSERT_NO_FATAL_FAILURE(CancelImportWhilePicturesWait());
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

// The window's Save of a part of a clip, the renderer from the clip and
// from the project, and the project reopened: the same frames and bytes.
// A project whose clip is gone names it among the missing pictures.
TEST_F(VideoTest, RendererAndProjectMakeTheWindowsGifFromAClip)
{
    ASSERT_TRUE(frame->StartVideoImport(VideoRange{clip, 0.4, 1.6, 12, 16}));
    ASSERT_TRUE(WaitForWorker());
    const std::vector<int> frames = ClipFrames();
    const std::vector<int> delays = frame->GetFrames().GetOwnDelays();
    const wxString windowGif = dir.File(wxS("window.gif"));
    wxCommandEvent command;
    wxTEST_DIALOG(frame->OnSaveAnimator(command), ExpectFileDialog(windowGif));
    ASSERT_TRUE(WaitForWorker());
    const std::string saved = ReadFileBytes(windowGif);
    ASSERT_FALSE(saved.empty());
    const wxString project = dir.File(wxS("clip.xml"));
    wxTEST_DIALOG(frame->OnSaveProject(command), ExpectFileDialog(project));

    const auto render = [this](const wxString& arguments, const wxString& name)
    {
        const wxString output = dir.File(name);
        wxArrayString out, errors;
        EXPECT_EQ(wxExecute(wxS("\"" LF_STAGE_DIR "/bin/loopforge-render\" ") + arguments +
                                wxS(" -o \"") + output + wxS("\""),
                            out, errors, wxEXEC_SYNC | wxEXEC_NOEVENTS),
                  0)
            << wxJoin(errors, '\n');
        return ReadFileBytes(output);
    };
    EXPECT_TRUE(render(wxS("--start 0.4 --end 1.6 --fps 12 --width 16 \"") + clip + wxS("\""),
                       wxS("from-clip.gif")) == saved)
        << "the renderer reads the clip otherwise";
    EXPECT_TRUE(render(wxS("\"") + project + wxS("\""), wxS("from-project.gif")) == saved)
        << "the renderer reads the project's clip otherwise";

    Restart();
    wxTEST_DIALOG(frame->OnOpenProject(command), ExpectFileDialog(project));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(ClipFrames(), frames);
    EXPECT_EQ(frame->GetFrames().GetOwnDelays(), delays);
    EXPECT_FALSE(frame->IsProjectModified());

    ASSERT_TRUE(wxRenameFile(clip, dir.File(wxS("moved.mkv"))));
    Restart();
    ShownMessage shown;
    wxTEST_DIALOG(
        {
            frame->OnOpenProject(command);
            ASSERT_TRUE(WaitForWorker());
        },
        ExpectFileDialog(project), ExpectMessage(&shown));
    EXPECT_EQ(shown.message,
              wxS("These pictures of the project are missing or cannot be read:\n\n") + clip +
                  wxS(" (15 frames)"));
    EXPECT_TRUE(frame->GetFrames().IsEmpty());
}
