#include "editing_fixture.h"
#include "gif_inspect.h"
#include "test_pictures.h"
#include "work/threadevent.h"

#include <wx/dir.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

namespace
{
// Answers the GIF file chooser after checking what it offers.
class AnswerGifChooser : public wxExpectModalBase<wxFileDialog, AnswerGifChooser>
{
public:
    AnswerGifChooser(const wxString& title, const wxString& path, int answer = wxID_OK)
        : m_title(title), m_path(path), m_answer(answer)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dlg) const override
    {
        EXPECT_EQ(dlg->GetMessage(), m_title);
        EXPECT_EQ(dlg->GetWildcard(), wxS("Image files (*.gif)|*.gif"));
        EXPECT_TRUE(dlg->HasFlag(wxFD_SAVE));
        EXPECT_TRUE(dlg->HasFlag(wxFD_OVERWRITE_PROMPT));
        if (m_answer != wxID_OK)
            return m_answer;
        dlg->SetPath(m_path);
        // The chooser takes the path over asynchronously.
        for (wxStopWatch sw; dlg->GetPath() != m_path && sw.Time() < 5000;)
            wxYield();
        EXPECT_EQ(dlg->GetPath(), m_path);
        return wxID_OK;
    }

private:
    wxString m_title;
    wxString m_path;
    int m_answer;
};

// Lowers the largest file this process may write, so that a write fails
// with "File too large" even for root; restored on destruction.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int);
};
}  // namespace

class GifExportTest : public EditingWindowTest
{
protected:
    static std::string Bytes(const wxString& path)
    {
        std::ifstream in(path.utf8_string(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static std::vector<int> Delays(const InspectedGif& gif)
    {
        std::vector<int> delays;
        for (const InspectedFrame& frame : gif.frames)
            delays.push_back(frame.delay);
        return delays;
    }

    // Every file name in the folder, hidden ones (temporary files) included.
    static std::vector<wxString> FilesIn(const wxString& folder)
    {
        std::vector<wxString> names;
        wxDir dir(folder);
        wxString name;
        for (bool more = dir.GetFirst(&name, wxString(), wxDIR_FILES | wxDIR_HIDDEN); more;
             more = dir.GetNext(&name))
            names.push_back(name);
        std::sort(names.begin(), names.end());
        return names;
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
        wxTEST_DIALOG(Save(), AnswerGifChooser(wxS("Save GIF Files"), path));
        EXPECT_NE(Access().ExportProgress(), nullptr);
        ASSERT_TRUE(WaitForWorker());
    }

    void SetDelay(int delay) { Access().DelaySpin()->SetValue(delay); }
};

TEST_F(GifExportTest, SaveWithTheChooserCancelledExportsNothing)
{
    AddFrames(2);
    wxTEST_DIALOG(Save(), AnswerGifChooser(wxS("Save GIF Files"), wxString(), wxID_CANCEL));
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
    const InspectedGif gif = InspectGif(Bytes(dir.File(wxS("movie.gif"))));
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
    EXPECT_TRUE(InspectGif(Bytes(dir.File(wxS("MOVIE.GIF.gif")))).ok);
    EXPECT_FALSE(wxFileExists(dir.File(wxS("MOVIE.GIF"))));
}

TEST_F(GifExportTest, SaveExportsAgainOnlyWhenSomethingChangedOrTheFileIsGone)
{
    AddFrames(2);
    SetDelay(10);
    const wxString path = dir.File(wxS("anim.gif"));
    SaveChoosing(path);
    const std::string first = Bytes(path);

    // Nothing changed and the file is there: no chooser, no export.
    Save();
    EXPECT_EQ(Access().ExportProgress(), nullptr);

    SetDelay(35);
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr);
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Delays(InspectGif(Bytes(path))), (std::vector<int>{35, 35}));
    EXPECT_EQ(Access().ExportDelay(), 35);
    EXPECT_NE(Bytes(path), first);

    ASSERT_TRUE(wxRemoveFile(path));
    Save();
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(InspectGif(Bytes(path)).frames.size(), 2u);
}

TEST_F(GifExportTest, SaveAsCancelledForgetsTheRememberedFile)
{
    AddFrames(2);
    SaveChoosing(dir.File(wxS("first.gif")));
    wxTEST_DIALOG(SaveAs(), AnswerGifChooser(wxS("Save As GIF Files"), wxString(), wxID_CANCEL));
    EXPECT_EQ(Access().GifPath(), wxString());

    // The next Save asks again.
    SaveChoosing(dir.File(wxS("second.gif")));
    EXPECT_TRUE(InspectGif(Bytes(dir.File(wxS("second.gif")))).ok);
}

TEST_F(GifExportTest, SaveAsWritesTheTypedSize)
{
    AddFrames(2, wxSize(80, 60));
    Access().WidthSpin()->SetValue(40);
    wxCommandEvent typed(wxEVT_TEXT, Access().WidthSpin()->GetId());
    frame->OnWidthChanged(typed);
    wxTEST_DIALOG(SaveAs(), AnswerGifChooser(wxS("Save As GIF Files"), dir.File(wxS("small"))));
    ASSERT_TRUE(WaitForWorker());

    EXPECT_EQ(Status(0), wxS("small.gif (40 * 30)px"));
    const InspectedGif gif = InspectGif(Bytes(dir.File(wxS("small.gif"))));
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    EXPECT_EQ(Access().ExportWidth(), 40);
}

TEST_F(GifExportTest, ProgressDialogFollowsEachFrameAndClosesAtTheEnd)
{
    AddFrames(4);
    Strip()->SelectAll();
    std::vector<int> seen;
    frame->Bind(
        wxEVT_THREAD_UPDATE,
        [this, &seen](wxCommandEvent& event)
        {
            frame->WorkSaveAsGifThreadUpdate(event);
            wxProgressDialog* dialog = Access().ExportProgress();
            seen.push_back(dialog ? dialog->GetValue() : -1);
        },
        ID_SAVE_GIF_THREAD);

    wxTEST_DIALOG(Save(), AnswerGifChooser(wxS("Save GIF Files"), dir.File(wxS("four.gif"))));
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
    Settle();
    EXPECT_FALSE(ProgressDialogShown());
}

TEST_F(GifExportTest, AFailedWriteIsReportedKeepsThePreviousFileAndIsRetried)
{
    AddFrames(3);
    SetDelay(10);
    const wxString path = dir.File(wxS("keep.gif"));
    SaveChoosing(path);
    const std::string previous = Bytes(path);
    ASSERT_FALSE(previous.empty());

    SetDelay(20);
    ShownMessage failure;
    {
        FileSizeLimit limit(64);
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
    EXPECT_EQ(Bytes(path), previous);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<wxString>{wxS("f0.png"), wxS("f1.png"),
                                                          wxS("f2.png"), wxS("keep.gif")}));
    EXPECT_TRUE(frame->IsEnabled());

    // Nothing changed since, yet the failed attempt does not count.
    Save();
    EXPECT_NE(Access().ExportProgress(), nullptr);
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(Delays(InspectGif(Bytes(path))), (std::vector<int>{20, 20, 20}));
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
    EXPECT_TRUE(InspectGif(Bytes(path)).ok);
}

TEST_F(GifExportTest, SaveOnAnEmptyStripOnlyRemembersTheChosenFile)
{
    wxTEST_DIALOG(Save(), AnswerGifChooser(wxS("Save GIF Files"), dir.File(wxS("later"))));
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
        ASSERT_GE(AppendFrame(Strip(), picture, photo), 0);
    frame->EnableFrameCommands();
    frame->UpdateCanvasSize();
    // The project counts as saved, so closing asks nothing.
    Access().ProjectCount() = Strip()->GetCount();
    Access().ProjectDelay() = Access().DelaySpin()->GetValue();
    Access().ProjectWidth() = Access().WidthSpin()->GetValue();
    Access().ProjectHeight() = Access().HeightSpin()->GetValue();

    const wxString path = dir.Write(wxS("user.gif"), "the user's earlier file");
    Access().GifPath() = path;
    Save();
    ASSERT_NE(Access().ExportProgress(), nullptr);
    ASSERT_TRUE(CloseAndWaitForDestruction());

    // Normally the export stops at once and the file stays as it was; a
    // machine slow enough to finish it first leaves the whole new file.
    const std::string after = Bytes(path);
    if (after != "the user's earlier file")
    {
        EXPECT_EQ(InspectGif(after).frames.size(), 100u);
    }
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<wxString>{wxS("photo.png"), wxS("user.gif")}));
}
