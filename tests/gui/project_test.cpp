// Project files through the real main window: Save Project and Open Project
// with their dialogs, frames arriving through the import thread, the
// unsaved-project prompts before opening another project and before closing,
// failed writes, broken files, missing pictures, and loopforge-render on a
// project the window wrote.
#include "editing_fixture.h"
#include "file_size_limit.h"
#include "gif_inspect.h"

#include "app/product.h"
#include "edit/framelist.h"
#include "encode/pictureorientation.h"
#include "project/projectfile.h"
#include "window/recentprojects.h"

#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/utils.h>
#include <wx/weakref.h>
#include <wx/xml/xml.h>

#include <string>
#include <vector>

namespace
{
const char kFailedToLoad[] = "Failed to load XML file!";

// Every `path` text of a written project in file order, including the GIF
// entries that readers skip.
wxArrayString PathEntries(const wxString& projectPath)
{
    wxArrayString entries;
    wxXmlDocument doc;
    if (!doc.Load(projectPath))
        return entries;
    for (const wxXmlNode* part = doc.GetRoot()->GetChildren(); part; part = part->GetNext())
        if (part->GetName() == wxS("images"))
            for (const wxXmlNode* path = part->GetChildren(); path; path = path->GetNext())
                entries.push_back(path->GetNodeContent());
    return entries;
}

// Project file choosers, answered after checking that they are the ones expected.
ExpectFileDialog SaveProjectChooser(const wxString& path, int answer = wxID_OK)
{
    return ExpectFileDialog(path, answer)
        .Shows(wxS("Save XML Files"), wxS("XML files (*.xml)|*.xml"),
               wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
}
ExpectFileDialog OpenProjectChooser(const wxString& path, int answer = wxID_OK)
{
    return ExpectFileDialog(path, answer)
        .Shows(wxS("Load Xml Files"), wxS("Xml files (*.xml)|*.[xX][mM][lL]|All files (*)|*"),
               wxFD_OPEN | wxFD_FILE_MUST_EXIST);
}

// The unsaved-project prompt with the caption expected, answered.
AnswerMessage Prompt(int answer, const wxString& caption)
{
    return AnswerMessage(answer, caption,
                         wxS("The project is unsaved,you can continue to edit\n your project when "
                             "you open it next time,do you \nwant to save the project now?"));
}

wxString Titled(const wxString& name)
{
    return name + wxS(" - ") + GetProductName();
}
}  // namespace

class ProjectTest : public EditingWindowTest
{
protected:
    void SetUp() override
    {
        EditingWindowTest::SetUp();
        png = dir.File(wxS("a.png"));
        ASSERT_TRUE(MakeFlat(320, 240).SaveFile(png, wxBITMAP_TYPE_PNG));
        gif = dir.File(wxS("b.gif"));
        ASSERT_TRUE(ExportFrames(
            {SolidImage(320, 240, wxColour(0, 120, 255)), MakePhotoLike(160, 120, 2)}, gif));
        jpg = dir.File(wxS("c.jpg"));
        ASSERT_TRUE(MakePhotoLike(320, 240, 3).SaveFile(jpg, wxBITMAP_TYPE_JPEG));
        twelve = dir.File(wxS("twelve.gif"));
        std::vector<wxImage> frames;
        for (int i = 0; i < 12; ++i)
            frames.push_back(SolidImage(32, 24, wxColour(20 * i, 255 - 20 * i, 128)));
        ASSERT_TRUE(ExportFrames(frames, twelve));
    }

    wxArrayString StripNames() const
    {
        wxArrayString names;
        for (int i = 0; i < Access().Strip()->GetCount(); ++i)
            names.push_back(Access().Strip()->GetItem(i)->GetFilename());
        return names;
    }

    void TypeDelay(int value) { Type(Access().DelaySpin(), value); }

    // Save Project of a project without a file: the save dialog answered with path.
    void SaveProjectAs(const wxString& path)
    {
        wxCommandEvent save;
        wxTEST_DIALOG(frame->OnSaveProject(save), SaveProjectChooser(path));
    }

    // Open Project into an empty strip: the open dialog answered with path.
    void OpenProject(const wxString& path)
    {
        wxCommandEvent open;
        wxTEST_DIALOG(frame->OnOpenProject(open), OpenProjectChooser(path));
        ASSERT_TRUE(WaitForWorker());
    }

    // Open Project on a file that is not a whole project.
    void OpenBrokenProject(const wxString& path)
    {
        const wxString title = frame->GetTitle();
        wxCommandEvent open;
        wxTEST_DIALOG(frame->OnOpenProject(open), OpenProjectChooser(path),
                      AnswerMessage(wxID_OK, title, kFailedToLoad));
    }

    // Closes as the close button does; true when the window is destroyed.
    bool CloseWindow()
    {
        wxWeakRef<wxFrame> ref(frame);
        frame->Close();
        if (!wxPendingDelete.Member(frame))
            return false;
        frame = nullptr;
        return WaitFor([&] { return !ref; });
    }

    // Quits and starts the program's window again.
    void Restart()
    {
        if (frame)
        {
            wxWeakRef<wxFrame> ref(frame);
            frame->Destroy();
            frame = nullptr;
            ASSERT_TRUE(WaitFor([&] { return !ref; }));
        }
        MainWindowTest::SetUp();
    }

    // Builds a strip from the files in a fresh window, saves it as a new
    // project, and returns the project's path.
    wxString SaveStripAsProject(const wxArrayString& files, const wxString& name)
    {
        Restart();
        Import(files);
        const wxString path = dir.File(name);
        SaveProjectAs(path);
        return path;
    }

    wxString png, gif, jpg, twelve;
};

// --- Writing ---------------------------------------------------------------

TEST_F(ProjectTest, ExampleStripGivesTheExampleFileExactly)
{
    Import(Paths({png, gif, jpg}));
    ASSERT_EQ(StripNames(), Paths({png, gif + "_0", gif + "_1", jpg}));
    ASSERT_EQ(SpinSize(), wxSize(320, 240));
    TypeDelay(20);
    Access().GifPath() = dir.File(wxS("anim.gif"));

    // The name given without its ending gets ".xml".
    SaveProjectAs(dir.File(wxS("example")));

    wxString expected =
        wxString::FromUTF8(ReadFileBytes(wxS(LF_TEST_DATA_DIR "/project_example.xml")));
    ASSERT_FALSE(expected.empty());
    expected.Replace(wxS("@DIR@"), dir.Path());
    EXPECT_EQ(ReadFileBytes(dir.File(wxS("example.xml"))), expected.utf8_string());
    EXPECT_EQ(frame->GetTitle(), Titled(wxS("example")));
    EXPECT_EQ(Access().ProjectPath(), dir.File(wxS("example.xml")));
    EXPECT_FALSE(frame->IsProjectModified());
}

TEST_F(ProjectTest, GifRunsRoundTripThroughTheWindow)
{
    struct Case
    {
        const char* what;
        wxArrayString files;
        wxArrayString frames;   // the strip the files give
        wxArrayString entries;  // what the project file lists
    };
    wxArrayString twelveFrames;
    for (int i = 0; i < 12; ++i)
        twelveFrames.push_back(twelve + wxString::Format(wxS("_%d"), i));
    const auto joined = [](std::initializer_list<wxArrayString> parts)
    {
        wxArrayString all;
        for (const wxArrayString& part : parts)
            for (const wxString& path : part)
                all.push_back(path);
        return all;
    };
    const Case cases[] = {
        {"a run ending the strip", Paths({png, gif}), Paths({png, gif + "_0", gif + "_1"}),
         Paths({png, gif + "_0", gif, gif + "_1"})},
        {"twelve frames in the middle", Paths({png, twelve, jpg}),
         joined({Paths({png}), twelveFrames, Paths({jpg})}),
         joined({Paths({png}), twelveFrames, Paths({twelve, jpg})})},
        {"one GIF frame at the end", Paths({png, gif + "_1"}), Paths({png, gif + "_1"}),
         Paths({png, gif + "_1"})}};

    int n = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const wxString path = SaveStripAsProject(c.files, wxString::Format(wxS("p%d.xml"), n++));
        ASSERT_EQ(StripNames(), c.frames);
        const wxSize size = SpinSize();
        EXPECT_EQ(PathEntries(path), c.entries);

        Restart();
        OpenProject(path);
        EXPECT_EQ(StripNames(), c.frames);
        EXPECT_EQ(SpinSize(), size);
        EXPECT_FALSE(frame->IsProjectModified());
    }
}

TEST_F(ProjectTest, TheAddedEndingNeverReplacesAProjectWithoutAsking)
{
    const wxString existing = dir.Write(wxS("kept.xml"), "an earlier project");
    Import(Paths({png}));
    wxCommandEvent save;
    wxTEST_DIALOG(
        frame->OnSaveProject(save), SaveProjectChooser(dir.File(wxS("kept"))),
        AnswerMessage(wxID_NO, wxS("Save XML Files"), wxS("\"kept.xml\" already exists")));
    EXPECT_EQ(ReadFileBytes(existing), "an earlier project");
    EXPECT_TRUE(Access().ProjectPath().empty());
    EXPECT_TRUE(frame->IsProjectModified());

    wxTEST_DIALOG(frame->OnSaveProject(save), SaveProjectChooser(dir.File(wxS("kept"))),
                  AnswerMessage(wxID_YES, wxS("Save XML Files"), wxS("kept.xml")));
    EXPECT_EQ(PathEntries(existing), Paths({png}));
    EXPECT_EQ(Access().ProjectPath(), existing);
}

TEST_F(ProjectTest, SaveProjectOnAnEmptyStripDoesNothing)
{
    // No dialog may appear: the test's modal hook fails on any.
    wxCommandEvent save;
    frame->OnSaveProject(save);
    EXPECT_FALSE(frame->SaveProject());
    EXPECT_TRUE(Access().ProjectPath().empty());
    EXPECT_EQ(frame->GetTitle(), GetProductName());
}

// --- Reading ---------------------------------------------------------------

TEST_F(ProjectTest, ReopeningShowsTheSameFramesAndSettings)
{
    Import(Paths({png, gif, jpg}));
    TypeDelay(35);
    Type(Access().WidthSpin(), 200);
    ASSERT_EQ(SpinSize(), wxSize(200, 150));
    Access().GifPath() = dir.File(wxS("anim.gif"));
    Access().GifFileName() = wxS("anim.gif");
    SaveProjectAs(dir.File(wxS("again.xml")));
    const wxArrayString frames = StripNames();

    Restart();
    Access().GifPath() = dir.File(wxS("earlier.gif"));
    OpenProject(dir.File(wxS("again.xml")));
    EXPECT_EQ(StripNames(), frames);
    EXPECT_EQ(Access().DelaySpin()->GetValue(), 35);
    // The stored size outlasts the import, which sets the size from the frames first.
    EXPECT_EQ(SpinSize(), wxSize(200, 150));
    EXPECT_EQ(Access().GifWidth(), 200);
    EXPECT_EQ(Access().GifHeight(), 150);
    EXPECT_EQ(Access().SourceWidth(), 320);
    EXPECT_EQ(Access().SourceHeight(), 240);
    EXPECT_EQ(Status(0), wxS("anim.gif (200 * 150)px"));
    EXPECT_EQ(frame->GetTitle(), Titled(wxS("again")));
    EXPECT_EQ(Access().GifFileName(), wxS("anim.gif"));
    // The GIF the project names, beside it, replaces the one of earlier work.
    EXPECT_EQ(Access().GifPath(), dir.File(wxS("anim.gif")));
    EXPECT_TRUE(Access().SaveItem()->IsEnabled());
    EXPECT_FALSE(frame->IsProjectModified());
    EXPECT_TRUE(CloseWindow()) << "an unchanged project closes without a prompt";
}

TEST_F(ProjectTest, FileLackingDelayAppliesSizeAndStatusAndKeepsTheDelay)
{
    Access().DelaySpin()->SetValue(33);
    const wxString path =
        dir.Write(wxS("nodelay.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project><name>n.gif</name>"
                  "<gif><width>40</width><height>30</height></gif>"
                  "<images><path>" +
                      png.utf8_string() + "</path></images></project>");
    OpenBrokenProject(path);
    EXPECT_EQ(SpinSize(), wxSize(40, 30));
    EXPECT_EQ(Status(0), wxS("n.gif(40 * 30)px"));
    EXPECT_EQ(Access().DelaySpin()->GetValue(), 33);
    EXPECT_FALSE(frame->IsWorkerRunning()) << "an import started";
    EXPECT_EQ(Access().Strip()->GetCount(), 0);
    EXPECT_TRUE(Access().ProjectPath().empty());
    EXPECT_EQ(frame->GetTitle(), GetProductName());
}

// Which structures the reader refuses is checked on the reader itself.
TEST_F(ProjectTest, FilesThatAreNotWholeProjectsAreReportedAndNeverBecomeTheProject)
{
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string settings =
        "<name>x.gif</name><gif><width>40</width><height>30</height><delay_time>5</delay_time>"
        "</gif>";
    const std::string path = "<path>" + png.utf8_string() + "</path>";
    Project whole;
    whole.width = 40;
    whole.height = 30;
    whole.delay = 5;
    whole.framePaths.push_back(png);
    std::string nested = head + "<project>";
    for (int i = 0; i < 150000; ++i)
        nested += "<a>";
    const std::pair<const char*, std::string> files[] = {
        {"nested.xml", nested},
        {"empty-images.xml", head + "<project>" + settings + "<images/></project>"},
        {"images-spaces.xml", head + "<project>" + settings + "<images>\n  </images></project>"},
        {"not-xml.xml", "this is not XML at all"},
        {"truncated.xml", ProjectDocumentText(whole).substr(0, 170)},
        {"images-in-gif.xml", head +
                                  "<project><name/><gif><width>40</width><height>30</height>"
                                  "<delay_time>5</delay_time><images>" +
                                  path + "</images></gif></project>"},
    };
    for (const auto& [name, text] : files)
    {
        SCOPED_TRACE(name);
        OpenBrokenProject(dir.Write(wxString::FromUTF8(name), text));
        EXPECT_FALSE(frame->IsWorkerRunning()) << "an import started";
        EXPECT_EQ(Access().Strip()->GetCount(), 0);
        EXPECT_TRUE(Access().ProjectPath().empty());
        EXPECT_EQ(frame->GetTitle(), GetProductName());
    }

    // With frames in the strip, a later Save Project asks for a file rather
    // than overwrite the file that failed to open.
    Import(Paths({png}));
    const wxString broken = dir.File(wxS("not-xml.xml"));
    wxCommandEvent open;
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_NO, wxS("Warning!")),
                  OpenProjectChooser(broken),
                  AnswerMessage(wxID_OK, GetProductName(), kFailedToLoad));
    wxCommandEvent save;
    wxTEST_DIALOG(frame->OnSaveProject(save), SaveProjectChooser(broken, wxID_CANCEL));
    EXPECT_EQ(ReadFileBytes(broken), "this is not XML at all");
}

TEST_F(ProjectTest, UpperCaseXmlEndingOpensWithAnEmptyNameAndSavesBesideIt)
{
    Project project;
    project.gifName = wxS("up.gif");
    project.width = 320;
    project.height = 240;
    project.delay = 12;
    project.framePaths.push_back(png);
    project.framePaths.push_back(jpg);
    const wxString upper = dir.File(wxS("UP.XML"));
    ASSERT_TRUE(WriteProjectFile(upper, project, nullptr));
    const std::string before = ReadFileBytes(upper);

    OpenProject(upper);
    EXPECT_EQ(StripNames(), Paths({png, jpg}));
    EXPECT_EQ(Access().DelaySpin()->GetValue(), 12);
    EXPECT_EQ(frame->GetTitle(), Titled(wxString()));
    EXPECT_EQ(Access().ProjectPath(), upper);

    // The known project path is used without a dialog, with ".xml" added.
    TypeDelay(13);
    EXPECT_TRUE(frame->SaveProject());
    EXPECT_EQ(ReadFileBytes(upper), before);
    const ProjectReadResult saved = ReadProjectFile(upper + wxS(".xml"));
    ASSERT_TRUE(saved.IsComplete());
    EXPECT_EQ(saved.project.delay, 13);
    EXPECT_EQ(frame->GetTitle(), Titled(wxS("UP.XML")));
}

TEST_F(ProjectTest, MissingPicturesAreReportedOnceAfterTheImport)
{
    const wxString gone = dir.File(wxS("gone.png"));
    const wxString broken = dir.Write(wxS("broken.jpg"), "\xFF\xD8\xFF\xE0 then nothing useful");
    Project project;
    project.width = 320;
    project.height = 240;
    project.delay = 10;
    for (const wxString& entry : {png, gone, gif + "_0", broken, gif + "_5"})
        project.framePaths.push_back(entry);
    const wxString path = dir.File(wxS("holes.xml"));
    ASSERT_TRUE(WriteProjectFile(path, project, nullptr));

    wxString message;
    wxCommandEvent open;
    wxTEST_DIALOG(
        {
            frame->OnOpenProject(open);
            ASSERT_TRUE(WaitForWorker());
        },
        OpenProjectChooser(path),
        AnswerMessage(wxID_OK, Titled(wxS("holes")), wxString(), &message));
    EXPECT_EQ(wxSplit(message, '\n', '\0'),
              Paths({"These pictures of the project are missing or cannot be read:", "", gone,
                     broken, gif + "_5"}));
    // The rest of the project is there.
    EXPECT_EQ(StripNames(), Paths({png, gif + "_0"}));
    EXPECT_EQ(Access().ProjectPath(), path);
    // The project still names five pictures, so it counts as changed.
    EXPECT_TRUE(frame->IsProjectModified());

    // A later Add Image of a missing file names it among the skipped ones only.
    ShownMessage skipped;
    wxTEST_DIALOG(Import(Paths({gone, jpg})), ExpectMessage(&skipped));
    EXPECT_EQ(skipped.message, "These pictures were skipped:\n\n" + gone + " (no such file)");
    EXPECT_EQ(Access().Strip()->GetCount(), 3);
}

// --- Prompts before opening -----------------------------------------------

// Cancel stops the import of a project and keeps the frames that came; the
// entries it never got to are not called missing.
TEST_F(ProjectTest, CancelledImportKeepsTheFramesReadSoFar)
{
    std::vector<wxColour> colours;
    for (int i = 0; i < 40; ++i)
        colours.push_back(wxColour(6 * i, 120, 255 - 6 * i));
    const wxString gif = WriteAnimatedGif(wxS("long.gif"), colours);
    Project project;
    project.width = project.height = 24;
    project.delay = 10;
    for (int i = 39; i >= 0; --i)
        project.framePaths.push_back(gif + wxString::Format("_%d", i));
    project.framePaths.push_back(dir.File(wxS("gone.png")));
    const wxString path = dir.File(wxS("long.xml"));
    ASSERT_TRUE(WriteProjectFile(path, project, nullptr));

    ASSERT_TRUE(frame->OpenProjectPath(path));
    ASSERT_NO_FATAL_FAILURE(CancelImportWhilePicturesWait());
    ASSERT_TRUE(WaitForWorker(1000));
    EXPECT_GT(Strip()->GetCount(), 0);
    EXPECT_LT(Strip()->GetCount(), 40);
    EXPECT_EQ(StripNames().front(), gif + "_39");
    EXPECT_TRUE(WaitFor([] { return !ProgressDialogShown(); }));
}

TEST_F(ProjectTest, OpeningIntoANeverSavedStripAsksWithWarningBang)
{
    const wxString other = SaveStripAsProject(Paths({jpg, gif}), wxS("other.xml"));
    Restart();
    Import(Paths({png}));
    Access().GifPath() = dir.File(wxS("mine.gif"));
    wxCommandEvent open;

    // Cancel: no dialog, nothing changes.
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_CANCEL, wxS("Warning!")));
    EXPECT_EQ(StripNames(), Paths({png}));
    EXPECT_EQ(Access().GifPath(), dir.File(wxS("mine.gif")));

    // Yes, then cancelling the save dialog: the project is not saved, so
    // nothing is opened over it.
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_YES, wxS("Warning!")),
                  SaveProjectChooser(wxString(), wxID_CANCEL));
    EXPECT_EQ(StripNames(), Paths({png}));
    EXPECT_TRUE(frame->IsProjectModified());

    // Yes: saves the strip first, then the other project takes its place.
    const wxString mine = dir.File(wxS("mine.xml"));
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_YES, wxS("Warning!")),
                  SaveProjectChooser(mine), OpenProjectChooser(other));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(PathEntries(mine), Paths({png}));
    EXPECT_EQ(StripNames(), Paths({jpg, gif + "_0", gif + "_1"}));
    EXPECT_EQ(frame->GetTitle(), Titled(wxS("other")));
    // The other project names no GIF: the one of the earlier strip is forgotten.
    EXPECT_TRUE(Access().GifPath().empty());
    EXPECT_FALSE(frame->IsProjectModified());
}

// Opening never mixes two projects: reopening the open one shows it once,
// and a later Save Project writes only its own frames.
TEST_F(ProjectTest, OpeningReplacesTheStrip)
{
    const wxString other = SaveStripAsProject(Paths({jpg}), wxS("other.xml"));
    Restart();
    Import(Paths({png}));
    wxCommandEvent open;
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_NO, wxS("Warning!")),
                  OpenProjectChooser(other));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(StripNames(), Paths({jpg}));
    EXPECT_EQ(Access().ProjectPath(), other);
    EXPECT_FALSE(frame->IsProjectModified());

    wxTEST_DIALOG(frame->OnOpenProject(open), OpenProjectChooser(other));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(StripNames(), Paths({jpg}));
    EXPECT_FALSE(frame->Undo()) << "opening a project starts a new history";
    EXPECT_TRUE(frame->SaveProject());
    EXPECT_EQ(PathEntries(other), Paths({jpg}));
}

TEST_F(ProjectTest, OpeningAfterChangesToASavedProjectAsksWithWarning)
{
    const wxString other = SaveStripAsProject(Paths({jpg}), wxS("other.xml"));
    const wxString mine = SaveStripAsProject(Paths({png}), wxS("mine.xml"));
    wxCommandEvent open;

    // Unchanged: straight to the open dialog; cancelling it opens nothing.
    wxTEST_DIALOG(frame->OnOpenProject(open), OpenProjectChooser(other, wxID_CANCEL));
    EXPECT_EQ(StripNames(), Paths({png}));
    EXPECT_EQ(Access().ProjectPath(), mine);

    // Changed: "Warning"; No opens without saving.
    TypeDelay(44);
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_CANCEL, wxS("Warning")));
    EXPECT_EQ(ReadProjectFile(mine).project.delay, 10);
    // Yes writes to the project's own file without a dialog, then opens.
    wxTEST_DIALOG(frame->OnOpenProject(open), Prompt(wxID_YES, wxS("Warning")),
                  OpenProjectChooser(other));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(ReadProjectFile(mine).project.delay, 44);
    EXPECT_EQ(StripNames(), Paths({jpg}));
    EXPECT_EQ(Access().ProjectPath(), other);
}

// --- Title, recent projects, files from the command line --------------------

TEST_F(ProjectTest, TheTitleMarksUnsavedWork)
{
    Import(Paths({png}));
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame->GetTitle(), wxS("*") + GetProductName());
    const wxString path = dir.File(wxS("marked.xml"));
    SaveProjectAs(path);
    EXPECT_EQ(frame->GetTitle(), Titled(wxS("marked")));
    TypeDelay(30);
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame->GetTitle(), wxS("*") + Titled(wxS("marked")));
    EXPECT_TRUE(frame->SaveProject());
    EXPECT_EQ(frame->GetTitle(), Titled(wxS("marked")));
}

TEST_F(ProjectTest, RecentProjectsKeepTheLastEightAndDropOnesThatAreGone)
{
    RecentProjects recent(dir.File(wxS("recent.txt")));
    for (int i = 0; i < 9; ++i)
        recent.Add(wxString::Format(wxS("/p/%d.xml"), i));
    recent.Add(wxS("/p/3.xml"));
    RecentProjects read(dir.File(wxS("recent.txt")));
    read.Load();
    EXPECT_EQ(read.GetPaths(), Paths({"/p/3.xml", "/p/8.xml", "/p/7.xml", "/p/6.xml", "/p/5.xml",
                                      "/p/4.xml", "/p/2.xml", "/p/1.xml"}));

    const wxString first = SaveStripAsProject(Paths({png}), wxS("first.xml"));
    const wxString second = SaveStripAsProject(Paths({jpg}), wxS("second.xml"));
    const auto shown = [this](int n)
    {
        const wxMenuItem* item = frame->GetMenuBar()->FindItem(ID_MENU_RECENT_FIRST + n);
        return item ? item->GetItemLabelText() : wxString();
    };
    EXPECT_EQ(shown(0), "1 " + second);
    EXPECT_EQ(shown(1), "2 " + first);

    // Chosen from the menu, a project opens; one that is gone leaves the list.
    Restart();
    ASSERT_TRUE(frame->OpenRecentProject(1));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(StripNames(), Paths({png}));
    EXPECT_EQ(shown(0), "1 " + first);
    ASSERT_TRUE(wxRemoveFile(second));
    Restart();
    wxTEST_DIALOG(EXPECT_FALSE(frame->OpenRecentProject(1)),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("gone"));
    EXPECT_EQ(shown(0), "1 " + first);
    EXPECT_NE(shown(1), "2 " + second);
}

TEST_F(ProjectTest, FilesFromTheCommandLineAddPicturesOrOpenAProjectAfterAsking)
{
    const wxString project = SaveStripAsProject(Paths({jpg}), wxS("given.xml"));
    Restart();
    ASSERT_TRUE(frame->OpenFiles(Paths({png, gif})));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(StripNames(), Paths({png, gif + "_0", gif + "_1"}));

    // The strip holds unsaved work: the question comes first.
    wxTEST_DIALOG(EXPECT_FALSE(frame->OpenFiles(Paths({project}))),
                  Prompt(wxID_CANCEL, wxS("Warning!")));
    EXPECT_EQ(StripNames(), Paths({png, gif + "_0", gif + "_1"}));
    wxTEST_DIALOG(EXPECT_TRUE(frame->OpenFiles(Paths({project}))), Prompt(wxID_NO, wxS("Warning!")));
    ASSERT_TRUE(WaitForWorker());
    EXPECT_EQ(StripNames(), Paths({jpg}));
    EXPECT_EQ(Access().ProjectPath(), project);
}

// --- Prompts before closing ------------------------------------------------

// (An unchanged project closing at once is checked after reopening one.)
TEST_F(ProjectTest, CloseWithUnsavedChangesFollowsTheAnswer)
{
    const struct
    {
        int answer;
        bool closes;
        int savedDelay;
    } cases[] = {{wxID_CANCEL, false, 10}, {wxID_NO, true, 10}, {wxID_YES, true, 50}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.answer);
        const wxString path =
            SaveStripAsProject(Paths({png}), wxString::Format(wxS("p%d.xml"), c.answer));
        TypeDelay(50);
        wxTEST_DIALOG(EXPECT_EQ(CloseWindow(), c.closes), Prompt(c.answer, wxS("Warning")));
        EXPECT_EQ(frame == nullptr, c.closes) << "the window stays only when cancelled";
        EXPECT_EQ(ReadProjectFile(path).project.delay, c.savedDelay);
    }
}

// The same count, delay and size are not the same project: any change of
// the frames themselves leaves it unsaved, and closing asks.
TEST_F(ProjectTest, ChangedFramesLeaveTheProjectUnsaved)
{
    const wxString path = SaveStripAsProject(Paths({png, gif, jpg}), wxS("frames.xml"));
    const wxString other = dir.File(wxS("other.png"));
    ASSERT_TRUE(MakeFlat(320, 240).SaveFile(other, wxBITMAP_TYPE_PNG));
    const std::pair<const char*, std::function<bool()>> edits[] = {
        {"another frame in place of one",
         [&]
         { return frame->DeleteFrames({0}) && frame->InsertFiles(Paths({other}), 0) == 1; }},
        {"a new order", [&] { return frame->MoveFrames({3}, 0); }},
        {"a frame's own delay", [&] { return frame->SetFramesDelay({2}, 44); }},
    };
    for (const auto& [what, edit] : edits)
    {
        SCOPED_TRACE(what);
        ASSERT_FALSE(frame->IsProjectModified());
        ASSERT_TRUE(edit());
        EXPECT_EQ(Access().Strip()->GetCount(), 4);
        EXPECT_TRUE(frame->IsProjectModified());
        wxTEST_DIALOG(EXPECT_FALSE(CloseWindow()), Prompt(wxID_CANCEL, wxS("Warning")));
        ASSERT_NE(frame, nullptr);
        // Undone, the work is the saved project again.
        while (frame->IsProjectModified() && frame->Undo())
            ;
    }
    EXPECT_EQ(PathEntries(path), Paths({png, gif + "_0", gif + "_1", gif, jpg}));
}

TEST_F(ProjectTest, CloseOfANeverSavedStripYesAsksForTheFile)
{
    Import(Paths({png, jpg}));
    // Cancelling the save dialog would lose the strip: the window stays.
    wxTEST_DIALOG(EXPECT_FALSE(CloseWindow()), Prompt(wxID_YES, wxS("Warning")),
                  SaveProjectChooser(wxString(), wxID_CANCEL));
    ASSERT_NE(frame, nullptr) << "the window was closed";
    EXPECT_TRUE(frame->IsProjectModified()) << "a cancelled save takes no snapshot";

    const wxString path = dir.File(wxS("closing.xml"));
    wxTEST_DIALOG(EXPECT_TRUE(CloseWindow()), Prompt(wxID_YES, wxS("Warning")),
                  SaveProjectChooser(path));
    EXPECT_EQ(PathEntries(path), Paths({png, jpg}));
}

TEST_F(ProjectTest, FailedWritesKeepTheOldFileAndTheWindow)
{
    const wxString path = SaveStripAsProject(Paths({png, gif, jpg}), wxS("kept.xml"));
    const std::string before = ReadFileBytes(path);
    TypeDelay(77);

    wxString message;
    {
        // Any file growing past 100 bytes fails to write, as on a full disk.
        FileSizeLimit diskFull(100);
        ASSERT_TRUE(diskFull.IsOk());
        wxCommandEvent save;
        wxTEST_DIALOG(frame->OnSaveProject(save),
                      AnswerMessage(wxID_OK, Titled(wxS("kept")), path, &message));
        EXPECT_TRUE(frame->IsProjectModified()) << "a failed write takes no snapshot";

        wxTEST_DIALOG(EXPECT_FALSE(CloseWindow()), Prompt(wxID_YES, wxS("Warning")),
                      AnswerMessage(wxID_OK, Titled(wxS("kept")), path));
        ASSERT_NE(frame, nullptr) << "the window was closed";
    }
    EXPECT_NE(message.Find(wxS("File too large")), wxNOT_FOUND) << message.utf8_string();
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(wxFindFirstFile(dir.File(wxS(".kept*"))), wxString()) << "temporary file left";

    // Once the disk has room again the same save works.
    EXPECT_TRUE(frame->SaveProject());
    EXPECT_EQ(ReadProjectFile(path).project.delay, 77);
}

// --- The renderer ------------------------------------------------------------

TEST_F(ProjectTest, RendererMakesTheSameGifAsTheWindowsSave)
{
    Import(Paths({png, gif, jpg, twelve}));
    TypeDelay(7);
    Type(Access().WidthSpin(), 200);
    // Captions of several scripts, overlapping on frame 3, drawn by the
    // window here and by the renderer without a display below.
    Caption boxed;
    boxed.text = wxString::FromUTF8("Step 1 — مرحبا\n你好");
    boxed.box = true;
    boxed.size = 18;
    Caption free;
    free.text = wxS("free");
    free.place = CaptionPlace::Free;
    free.x = 0.3;
    free.y = 0.2;
    ASSERT_TRUE(frame->AddCaption(boxed, {1, 2, 3}));
    ASSERT_TRUE(frame->AddCaption(free, {3, 9}));
    const wxString windowGif = dir.File(wxS("window.gif"));
    wxCommandEvent save;
    wxTEST_DIALOG(frame->OnSaveAnimator(save), ExpectFileDialog(windowGif));
    ASSERT_TRUE(WaitForWorker());
    const std::string saved = ReadFileBytes(windowGif);
    const InspectedGif inspected = InspectGif(saved);
    ASSERT_TRUE(inspected.ok);
    EXPECT_EQ(inspected.width, 200);
    EXPECT_EQ(inspected.height, 150);
    ASSERT_EQ(inspected.frames.size(), 16u);
    EXPECT_EQ(inspected.frames[0].delay, 7);

    const wxString project = dir.File(wxS("render.xml"));
    SaveProjectAs(project);
    ASSERT_EQ(ReadProjectFile(project).project.captions.size(), 2u);

    const auto render = [](const wxString& arguments)
    {
        wxExecuteEnv noDisplay;
        wxGetEnvMap(&noDisplay.env);
        noDisplay.env.erase(wxS("DISPLAY"));
        noDisplay.env.erase(wxS("WAYLAND_DISPLAY"));
        wxArrayString output, errors;
        const long status = wxExecute(wxS("\"" LF_STAGE_DIR "/bin/loopforge-render\" ") + arguments,
                                      output, errors, wxEXEC_SYNC | wxEXEC_NOEVENTS, &noDisplay);
        EXPECT_EQ(status, 0) << wxJoin(errors, '\n').utf8_string();
    };
    const wxString rendered = dir.File(wxS("rendered.gif"));
    render(wxString::Format(wxS("\"%s\" -o \"%s\""), project, rendered));
    EXPECT_TRUE(ReadFileBytes(rendered) == saved) << "-o output differs from the window's Save";

    // Without -o the project's own GIF is written beside it: the same file again.
    ASSERT_TRUE(wxRemoveFile(windowGif));
    render(wxS("\"") + project + wxS("\""));
    EXPECT_TRUE(ReadFileBytes(windowGif) == saved)
        << "default output differs from the window's Save";

    // The project reopened in a new window saves the same GIF to the file it
    // names, without asking, and a second Save of the same work does nothing.
    Restart();
    OpenProject(project);
    ASSERT_TRUE(wxRemoveFile(windowGif));
    frame->OnSaveAnimator(save);
    ASSERT_TRUE(WaitForWorker());
    EXPECT_TRUE(ReadFileBytes(windowGif) == saved) << "the reopened project saves another GIF";
    frame->OnSaveAnimator(save);
    EXPECT_FALSE(frame->IsWorkerRunning());
    // Save Project keeps the GIF's name.
    EXPECT_TRUE(frame->SaveProject());
    EXPECT_EQ(ReadProjectFile(project).project.gifName, wxS("window.gif"));
}

// Cropped, turned and mirrored frames: the GIF holds the source's pixels cut
// and turned, the size follows, the project keeps the crop and the
// orientations, and the renderer makes the same bytes from the project.
TEST_F(ProjectTest, CroppedAndTurnedFramesSaveThosePixelsAndRenderTheSame)
{
    // Six colours far apart: the classic export's colour steps keep them apart.
    const wxImage source = PalettedImage(
        6, 4, {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 255, 255, 255});
    const wxString pattern = dir.File(wxS("pattern.png"));
    ASSERT_TRUE(source.SaveFile(pattern, wxBITMAP_TYPE_PNG));
    Import(Paths({pattern, pattern}));
    const CropArea crop{wxRect(1, 1, 4, 2), wxSize(6, 4)};
    ASSERT_TRUE(frame->SetCrop(crop));
    EXPECT_EQ(SpinSize(), wxSize(4, 2));
    ASSERT_TRUE(frame->OrientFrames({}, OrientationEdit::RotateRight));
    ASSERT_TRUE(frame->OrientFrames({1}, OrientationEdit::FlipHorizontal));
    EXPECT_EQ(SpinSize(), wxSize(2, 4));

    const wxString windowGif = dir.File(wxS("turned.gif"));
    wxCommandEvent save;
    wxTEST_DIALOG(frame->OnSaveAnimator(save), ExpectFileDialog(windowGif));
    ASSERT_TRUE(WaitForWorker());
    const std::string saved = ReadFileBytes(windowGif);
    const InspectedGif gif = InspectGif(saved);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.width, 2);
    ASSERT_EQ(gif.height, 4);
    const std::vector<std::vector<unsigned char>> shown = ComposeGif(gif);
    ASSERT_EQ(shown.size(), 2u);
    // Cut to 4 x 2 from (1, 1) and turned clockwise, the shown (x, y) is the
    // source's (1 + y, 2 - x); the second frame is also mirrored left to right.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            for (int f = 0; f < 2; ++f)
            {
                const int tx = f == 0 ? x : 1 - x;
                const unsigned char* got = &shown[size_t(f)][(size_t(y) * 2 + size_t(x)) * 3];
                const unsigned char* want =
                    source.GetData() + (size_t(2 - tx) * 6 + size_t(1 + y)) * 3;
                const auto near = [&](int c) { return std::abs(got[c] - want[c]) <= 8; };
                EXPECT_TRUE(near(0) && near(1) && near(2))
                    << "frame " << f << " at " << x << "," << y << ": " << int(got[0]) << " "
                    << int(got[1]) << " " << int(got[2]) << " for " << int(want[0]) << " "
                    << int(want[1]) << " " << int(want[2]);
            }

    const wxString project = dir.File(wxS("turned.xml"));
    SaveProjectAs(project);
    EXPECT_EQ(ReadProjectFile(project).project.frameOrientations, (std::vector<int>{1, 7}));
    EXPECT_TRUE(ReadProjectFile(project).project.crop == crop);
    wxArrayString output, errors;
    const wxString rendered = dir.File(wxS("rendered.gif"));
    EXPECT_EQ(wxExecute(wxString::Format(wxS("\"" LF_STAGE_DIR "/bin/loopforge-render\" \"%s\" -o \"%s\""),
                                         project, rendered),
                        output, errors, wxEXEC_SYNC | wxEXEC_NOEVENTS),
              0)
        << wxJoin(errors, '\n').utf8_string();
    EXPECT_TRUE(ReadFileBytes(rendered) == saved) << "the renderer turns the frames otherwise";

    // Reopened, the frames are cut and turned as before; an undo turns them back.
    Restart();
    OpenProject(project);
    EXPECT_EQ(frame->GetFrames().GetOrientations(), (std::vector<int>{1, 7}));
    EXPECT_TRUE(frame->GetCrop() == crop);
    EXPECT_EQ(SpinSize(), wxSize(2, 4));
    EXPECT_FALSE(frame->IsProjectModified());
    ASSERT_TRUE(frame->OrientFrames({}, OrientationEdit::Rotate180));
    EXPECT_TRUE(frame->IsProjectModified());
    ASSERT_TRUE(frame->Undo());
    EXPECT_EQ(frame->GetFrames().GetOrientations(), (std::vector<int>{1, 7}));
}

// Reverse, Yo-yo, Speed and Remove Duplicate Frames in the window save the
// bytes the renderer makes with the same edits as options.
TEST_F(ProjectTest, RendererEditsTheFrameOrderAndTimingAsTheWindowDoes)
{
    Import(Paths({png, png, twelve}));
    TypeDelay(10);
    ASSERT_TRUE(frame->ReverseFrames({}));
    ASSERT_TRUE(frame->YoyoFrames());
    ASSERT_TRUE(frame->ChangeFramesSpeed({}, 200));
    ASSERT_TRUE(frame->RemoveDuplicateFrames(frame->FindDuplicateFrames(0)));
    ASSERT_EQ(frame->GetFrames().GetCount(), 24);  // 26 after the yo-yo, two repeats gone
    const wxString windowGif = dir.File(wxS("edited.gif"));
    wxCommandEvent save;
    wxTEST_DIALOG(frame->OnSaveAnimator(save), ExpectFileDialog(windowGif));
    ASSERT_TRUE(WaitForWorker());

    const wxString rendered = dir.File(wxS("rendered.gif"));
    wxArrayString output, errors;
    EXPECT_EQ(wxExecute(wxString::Format(wxS("\"" LF_STAGE_DIR "/bin/loopforge-render\" -d 10 "
                                             "--reverse --yoyo --speed 200 --dedupe "
                                             "-o \"%s\" \"%s\" \"%s\" \"%s\""),
                                         rendered, png, png, twelve),
                        output, errors, wxEXEC_SYNC | wxEXEC_NOEVENTS),
              0)
        << wxJoin(errors, '\n').utf8_string();
    EXPECT_TRUE(ReadFileBytes(rendered) == ReadFileBytes(windowGif))
        << "the renderer's edits differ from the window's";
}
