#include "editing_fixture.h"
#include "file_size_limit.h"
#include "gif_inspect.h"

#include "edit/picturecache.h"

#include <cerrno>
#include <cstring>

namespace
{
// Answers the GIF file chooser after checking what it offers.
ExpectFileDialog GifChooser(const wxString& title, const wxString& path, int answer = wxID_OK)
{
    return ExpectFileDialog(path, answer)
        .Shows(title,
               wxS("GIF image (*.gif)|*.gif|Animated WebP (*.webp)|*.[wW][eE][bB][pP]|"
                   "MP4 video (*.mp4)|*.[mM][pP]4|WebM video (*.webm)|*.[wW][eE][bB][mM]"),
               wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
}
}  // namespace

class GifExportTest : public EditingWindowTest
{
protected:
    static std::vector<int> Delays(const InspectedGif& gif)
    {
        std::vector<int> delays;
        for (const InspectedFrame& frame : gif.frames)
            delays.push_back(frame.delay);
        return delays;
    }

    void Save()
    {
        wxCommandEvent save = Command(ID_MENU_SAVE);
        frame->OnSaveAnimator(save);
    }
    void SaveAs()
    {
        wxCommandEvent saveAs = Command(ID_MENU_SAVE_AS);
        frame->OnSaveAsGif(saveAs);
    }

    // A first Save answered with the path; waits until the export ends.
    void SaveChoosing(const wxString& path)
    {
        wxTEST_DIALOG(Save(), GifChooser(wxS("Save GIF Files"), path));
        EXPECT_NE(Access().ExportProgress(), nullptr);
        ASSERT_TRUE(WaitForWorker());
    }

    void SetDelay(int delay) { Type(Access().DelaySpin(), delay); }
};

TEST_F(GifExportTest, SaveWithTheChooserCancelledExportsNothing)
{
    AddFrames(2);
    wxTEST_DIALOG(Save(), GifChooser(wxS("Save GIF Files"), wxString(), wxID_CANCEL));
    EXPECT_EQ(Access().GifPath(), wxString());
    EXPECT_EQ(Access().ExportProgress(), nullptr);
    EXPECT_EQ(Access().ExportCount(), 0);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<wxString>{wxS("f0.png"), wxS("f1.png")}));
}

TEST_F(GifExportTest, ANameWithoutExtensionGetsGifAppended)
{
    AddFrames(3, wxSize(40, 30));
    SetDelay(12);
    SaveChoosing(dir.File(wxS("movie")));

    EXPECT_EQ(Access().GifPath(), dir.File(wxS("movie.gif")));
    EXPECT_EQ(Access().GifFileName(), wxS("movie.gif"));
    EXPECT_EQ(Status(0), wxS("movie.gif (40 * 30)px"));
    EXPECT_FALSE(wxFileExists(dir.File(wxS("movie"))));
    const InspectedGif gif = InspectGif(ReadFileBytes(dir.File(wxS("movie.gif"))));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    EXPECT_EQ(Delays(gif), (std::vector<int>{12, 12, 12}));
    EXPECT_EQ(Access().ExportCount(), 3);
    EXPECT_EQ(Access().ExportDelay(), 12);
}

TEST_F(GifExportTest, AnUpperCaseGifEndingGetsGifAppended)
{
    AddFrames(1);
    SaveChoosing(dir.File(wxS("MOVIE.GIF")));
    EXPECT_EQ(Access().GifPath(), dir.File(wxS("MOVIE.GIF.gif")));
    EXPECT_TRUE(InspectGif(ReadFileBytes(dir.File(wxS("MOVIE.GIF.gif")))).ok);
    EXPECT_FALSE(wxFileExists(dir.File(wxS("MOVIE.GIF"))));
}

TEST_F(GifExportTest, AnotherFormatsEndingWritesThatFormatAndIsRemembered)
{
    AddFrames(2, wxSize(40, 30));
    SaveChoosing(dir.File(wxS("clip.WebP")));
    EXPECT_EQ(Access().GifPath(), dir.File(wxS("clip.WebP")));
    EXPECT_EQ(ReadFileBytes(dir.File(wxS("clip.WebP"))).substr(8, 4), "WEBP");
    // The next chooser opens on that format.
    EXPECT_EQ(Access().ChosenGifOptions().format, ExportFormat::WebP);
}

TEST_F(GifExportTest, AnMp4OfOddSizeIsPaddedAndTheStatusBarSaysSo)
{
    AddFrames(2, wxSize(41, 31));
    SaveChoosing(dir.File(wxS("clip.mp4")));
    EXPECT_TRUE(wxFileExists(dir.File(wxS("clip.mp4"))));
    EXPECT_NE(Status(0).Find(wxS("the video is 42 x 32")), wxNOT_FOUND) << Status(0);
}

TEST_F(GifExportTest, SaveExportsAgainOnlyWhenSomethingChangedOrTheFileIsGone)
{
    AddFrames(2);
    SetDelay(10);
    const wxString path = dir.File(wxS("anim.gif"));
    SaveChoosing(path);
    const std::string first = ReadFileBytes(path);

    // Nothing changed and the file is there: no chooser, no export.
    Save();
    EXPECT_EQ(Access().ExportProgress(), nullptr);

    SetDelay(35);
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr);
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Delays(InspectGif(ReadFileBytes(path))), (std::vector<int>{35, 35}));
    EXPECT_EQ(Access().ExportDelay(), 35);
    EXPECT_NE(ReadFileBytes(path), first);

    ASSERT_TRUE(wxRemoveFile(path));
    Save();
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(InspectGif(ReadFileBytes(path)).frames.size(), 2u);

    // Another frame in place of one, with count, delay and size the same,
    // even from the same file changed since.
    ASSERT_TRUE(frame->DeleteFrames({1}));
    AddFrame(wxSize(40, 30), *wxBLUE);
    ASSERT_EQ(Access().ExportCount(), 2);
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr) << "a replaced frame went unnoticed";
    ASSERT_TRUE(WaitForWorker());
    const InspectedGif replaced = InspectGif(ReadFileBytes(path));
    ASSERT_EQ(replaced.frames.size(), 2u);
    EXPECT_NE(replaced.frames[0].colours, replaced.frames[1].colours);

    // So does a new order, and a frame's own delay.
    ASSERT_TRUE(frame->MoveFrames({1}, 0));
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr) << "a new order went unnoticed";
    ASSERT_TRUE(WaitForWorker());
    ASSERT_TRUE(frame->SetFramesDelay({1}, 70));
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr) << "a frame's delay went unnoticed";
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Delays(InspectGif(ReadFileBytes(path))), (std::vector<int>{35, 70}));
}

// The chooser only asked about the name as typed: replacing the file with the
// added ending needs an answer of its own.
TEST_F(GifExportTest, AFileWithTheAddedEndingIsReplacedOnlyWhenTheUserAgrees)
{
    AddFrames(2);
    const wxString existing = dir.Write(wxS("movie.gif"), "the user's earlier file");
    ShownMessage asked;
    wxTEST_DIALOG(Save(), GifChooser(wxS("Save GIF Files"), dir.File(wxS("movie"))),
                  ExpectMessage(&asked, wxID_NO));
    EXPECT_EQ(asked.count, 1);
    EXPECT_NE(asked.message.Find(wxS("movie.gif")), wxNOT_FOUND);
    EXPECT_FALSE(frame->IsWorkerRunning());
    EXPECT_EQ(ReadFileBytes(existing), "the user's earlier file");
    EXPECT_TRUE(Access().GifPath().empty());

    wxTEST_DIALOG(Save(), GifChooser(wxS("Save GIF Files"), dir.File(wxS("movie"))),
                  ExpectMessage(&asked, wxID_YES));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Access().GifPath(), existing);
    EXPECT_TRUE(InspectGif(ReadFileBytes(existing)).ok);

    // A name that already ends right was asked about by the chooser itself.
    dir.Write(wxS("clip.gif"), "old");
    wxTEST_DIALOG(SaveAs(), GifChooser(wxS("Save As GIF Files"), dir.File(wxS("clip.gif"))));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_TRUE(InspectGif(ReadFileBytes(dir.File(wxS("clip.gif")))).ok);
}

TEST_F(GifExportTest, SaveAsCancelledForgetsTheRememberedFile)
{
    AddFrames(2);
    SaveChoosing(dir.File(wxS("first.gif")));
    wxTEST_DIALOG(SaveAs(), GifChooser(wxS("Save As GIF Files"), wxString(), wxID_CANCEL));
    EXPECT_EQ(Access().GifPath(), wxString());

    // The next Save asks again.
    SaveChoosing(dir.File(wxS("second.gif")));
    EXPECT_TRUE(InspectGif(ReadFileBytes(dir.File(wxS("second.gif")))).ok);
}

TEST_F(GifExportTest, SaveAsWritesTheTypedSize)
{
    AddFrames(2, wxSize(80, 60));
    Type(Access().WidthSpin(), 40);
    wxTEST_DIALOG(SaveAs(), GifChooser(wxS("Save As GIF Files"), dir.File(wxS("small"))));
    ASSERT_TRUE(WaitForWorker());

    EXPECT_EQ(Status(0), wxS("small.gif (40 * 30)px"));
    const InspectedGif gif = InspectGif(ReadFileBytes(dir.File(wxS("small.gif"))));
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    EXPECT_EQ(Access().ExportWidth(), 40);
}

TEST_F(GifExportTest, ProgressDialogFollowsEachFrameAndClosesAtTheEnd)
{
    AddFrames(4);
    Strip()->SelectAll();
    std::vector<int> seen;
    RecordProgress(ID_SAVE_GIF_THREAD, &seen);

    wxTEST_DIALOG(Save(), GifChooser(wxS("Save GIF Files"), dir.File(wxS("four.gif"))));
    EXPECT_TRUE(ProgressDialogShown());
    EXPECT_FALSE(frame->IsEnabled());
    // The strip stays as the export reads it (a dialog here would fail the test).
    wxCommandEvent del = Command(ID_MENU_DELETE);
    frame->OnDeleteImage(del);
    frame->OnClearAll(del);
    EXPECT_EQ(Strip()->GetCount(), 4);
    ASSERT_TRUE(WaitForWorker());

    EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, -1}));
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(WaitFor([] { return !ProgressDialogShown(); }));
}

TEST_F(GifExportTest, AFailedWriteIsReportedKeepsThePreviousFileAndIsRetried)
{
    AddFrames(3);
    SetDelay(10);
    const wxString path = dir.File(wxS("keep.gif"));
    SaveChoosing(path);
    const std::string previous = ReadFileBytes(path);
    ASSERT_FALSE(previous.empty());

    SetDelay(20);
    ShownMessage failure;
    {
        FileSizeLimit limit(64);
        ASSERT_TRUE(limit.IsOk());
        const auto saveAndWait = [this]
        {
            Save();
            WaitForWorker();
        };
        wxTEST_DIALOG(saveAndWait(), ExpectMessage(&failure));
    }
    EXPECT_EQ(failure.count, 1);
    EXPECT_NE(failure.message.Find(path), wxNOT_FOUND) << failure.message;
    EXPECT_NE(failure.message.Find(wxString::FromUTF8(std::strerror(EFBIG))), wxNOT_FOUND)
        << failure.message;
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<wxString>{wxS("f0.png"), wxS("f1.png"),
                                                          wxS("f2.png"), wxS("keep.gif")}));
    EXPECT_TRUE(frame->IsEnabled());

    // Nothing changed since, yet the failed attempt does not count.
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr);
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Delays(InspectGif(ReadFileBytes(path))), (std::vector<int>{20, 20, 20}));
}

TEST_F(GifExportTest, AMissingFolderIsReportedAndRetriedOnceItExists)
{
    AddFrames(1);
    const wxString path = dir.File(wxS("gone/out.gif"));
    Access().GifPath() = path;
    Access().GifFileName() = wxS("out.gif");
    const auto saveAndWait = [this]
    {
        Save();
        WaitForWorker();
    };
    ShownMessage failure;
    wxTEST_DIALOG(saveAndWait(), ExpectMessage(&failure));
    EXPECT_NE(failure.message.Find(path), wxNOT_FOUND) << failure.message;
    EXPECT_NE(failure.message.Find(wxString::FromUTF8(std::strerror(ENOENT))), wxNOT_FOUND)
        << failure.message;
    EXPECT_FALSE(wxFileExists(path));

    MakeFolder(wxS("gone"));
    Save();
    ASSERT_TRUE(WaitForWorker());
    EXPECT_TRUE(InspectGif(ReadFileBytes(path)).ok);
}

// Neither a chosen nor a remembered file may be one the frames are read from.
TEST_F(GifExportTest, SaveNeverWritesOverAFileTheFramesComeFrom)
{
    const wxString gif = WriteAnimatedGif(wxS("anim.gif"), {*wxRED, *wxGREEN});
    Import(Paths({gif}));
    const std::string before = ReadFileBytes(gif);
    ShownMessage refused;
    wxTEST_DIALOG(SaveAs(), GifChooser(wxS("Save As GIF Files"), gif), ExpectMessage(&refused));
    EXPECT_NE(refused.message.Find(gif), wxNOT_FOUND) << refused.message;
    EXPECT_EQ(Access().ExportProgress(), nullptr);

    Access().GifPath() = gif;
    wxTEST_DIALOG(Save(), ExpectMessage(&refused));
    EXPECT_EQ(refused.count, 2);
    EXPECT_EQ(Access().ExportProgress(), nullptr);
    EXPECT_TRUE(Access().GifPath().empty()) << "the next Save asks for another file";
    EXPECT_EQ(ReadFileBytes(gif), before);
}

TEST_F(GifExportTest, SaveOnAnEmptyStripOnlyRemembersTheChosenFile)
{
    wxTEST_DIALOG(Save(), GifChooser(wxS("Save GIF Files"), dir.File(wxS("later"))));
    EXPECT_EQ(Access().GifPath(), dir.File(wxS("later")));
    EXPECT_EQ(Access().GifFileName(), wxS("later"));
    EXPECT_EQ(Access().ExportProgress(), nullptr);
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST_F(GifExportTest, ClosingDuringAnExportLeavesTheUserFileAsItWas)
{
    // Enough work that the export is still running when the window closes.
    const wxString picture = WritePng(dir, wxS("photo.png"), 640, 480);
    const wxImage photo = MakePhotoLike(640, 480, 7);
    for (int i = 0; i < 100; ++i)
        ASSERT_GE(AppendFrame(frame, picture, photo), 0);
    frame->EnableFrameCommands();
    frame->UpdateCanvasSize();
    // The project counts as saved, so closing asks nothing.
    Access().MarkProjectSaved();

    const wxString path = dir.Write(wxS("user.gif"), "the user's earlier file");
    Access().GifPath() = path;
    Save();
    ASSERT_NE(Access().ExportProgress(), nullptr);
    ASSERT_TRUE(CloseAndWaitForDestruction());

    // Normally the export stops at once and the file stays as it was; a
    // machine slow enough to finish it first leaves the whole new file.
    const std::string after = ReadFileBytes(path);
    if (after != "the user's earlier file")
    {
        EXPECT_EQ(InspectGif(after).frames.size(), 100u);
    }
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<wxString>{wxS("photo.png"), wxS("user.gif")}));
}

// Frames keep the pictures they were imported with: a file changed or gone
// since, with no decoded picture left in the cache, deleted and brought back
// by Undo, still saves as imported.
TEST_F(GifExportTest, FramesWhosePicturesWereLetGoSaveAsImportedWhateverTheirFiles)
{
    const wxColour colours[] = {*wxRED, *wxGREEN, *wxBLUE};
    wxArrayString paths;
    for (int i = 0; i < 3; ++i)
        paths.push_back(WritePng(dir, wxString::Format(wxS("p%d.png"), i), 40, 30, colours[i]));
    Import(paths);
    ASSERT_EQ(Strip()->GetCount(), 3);
    WritePng(dir, wxS("p0.png"), 40, 30, *wxWHITE);
    ASSERT_TRUE(wxRemoveFile(paths[1]));

    struct CacheLimit
    {
        CacheLimit() { PictureCache::Shared().SetLimit(1); }
        ~CacheLimit() { PictureCache::Shared().SetLimit(PictureCache::DefaultLimit()); }
    } nothingKept;
    ASSERT_TRUE(frame->DeleteFrames({0, 2}));
    ASSERT_TRUE(frame->Undo());
    EXPECT_EQ(PictureCache::Shared().GetCount(), 0u);
    SaveChoosing(dir.File(wxS("kept.gif")));

    const std::vector<std::vector<unsigned char>> shown =
        ComposeGif(InspectGif(ReadFileBytes(dir.File(wxS("kept.gif")))));
    ASSERT_EQ(shown.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
    {
        // The GIF's palette may shift a channel by a few steps.
        const unsigned char* pixel = &shown[i][(15 * 40 + 20) * 3];
        const int expected[] = {colours[i].Red(), colours[i].Green(), colours[i].Blue()};
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel[c], expected[c], 8) << "frame " << i << " channel " << c;
    }
}
