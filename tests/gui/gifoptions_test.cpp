// The GIF options: their panel in both layouts, the dialog with its size
// estimate, and the window that remembers the choice, exports with it and
// notices when it changes.
#include "editing_fixture.h"
#include "gif_inspect.h"
#include "language_window_fixture.h"
#include "project/projectfile.h"
#include "test_pictures.h"
#include "window/gifoptionschoice.h"
#include "window/gifoptionsdialog.h"
#include "window/gifoptionspanel.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>

namespace
{
GifOptions Chosen()
{
    GifOptions options;
    options.optimised = true;
    options.onlyChanges = false;
    options.colours = 40;
    options.dither = GifDither::Ordered;
    options.smooth = true;
    options.loopCount = 3;
    options.format = ExportFormat::WebP;  // kept by the panel, chosen in the chooser
    options.webpQuality = 40;
    options.lossy = 30;
    options.maxBytes = 512 << 10;
    return options;
}

// Clicks a radio button or check box of a shown window through the display
// server and waits until the control took the click.
void Click(wxWindow* window, int id)
{
    wxWindow* control = window->FindWindow(id);
    ASSERT_NE(control, nullptr) << id;
    const auto value = [control]
    {
        if (auto* radio = wxDynamicCast(control, wxRadioButton))
            return radio->GetValue();
        return wxDynamicCast(control, wxCheckBox)->GetValue();
    };
    const bool before = value();
    wxUIActionSimulator sim;
    // Radio buttons and check boxes answer a click on their box, at the left.
    const wxRect rect = control->GetScreenRect();
    sim.MouseMove(rect.GetLeft() + 8, rect.GetTop() + rect.GetHeight() / 2);
    sim.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return value() != before; })) << "control " << id;
    Settle();
}
}  // namespace

class GifOptionsPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent = new wxFrame(nullptr, wxID_ANY, wxS("parent"), wxPoint(0, 0), wxSize(900, 600));
        parent->Show();
        Settle();
    }
    void TearDown() override { parent->Destroy(); }
    wxFrame* parent = nullptr;
};

TEST_F(GifOptionsPanelTest, ShowsAndGivesBackEveryChoiceInBothLayouts)
{
    for (auto layout : {GifOptionsPanel::Layout::Full, GifOptionsPanel::Layout::Compact})
    {
        auto* panel = new GifOptionsPanel(parent, layout, Chosen());
        parent->SendSizeEvent();
        Settle();
        EXPECT_EQ(panel->GetOptions(), Chosen());
        panel->SetOptions(GifOptions());
        EXPECT_EQ(panel->GetOptions(), GifOptions());

        // Classic greys out the optimised profile's parts; forever, the count.
        for (int id :
             {GifOptionsPanel::ID_ONLY_CHANGES, GifOptionsPanel::ID_GLOBAL_PALETTE,
              GifOptionsPanel::ID_COLOURS, GifOptionsPanel::ID_DITHER, GifOptionsPanel::ID_SMOOTH,
              GifOptionsPanel::ID_LOOP_COUNT, GifOptionsPanel::ID_LOSSY, GifOptionsPanel::ID_LIMIT,
              GifOptionsPanel::ID_LIMIT_SIZE})
            EXPECT_FALSE(panel->FindWindow(id)->IsThisEnabled()) << id;
        int changes = 0;
        panel->SetChangeHandler([&] { ++changes; });
        Click(panel, GifOptionsPanel::ID_OPTIMISED);
        Click(panel, GifOptionsPanel::ID_LOOP_TIMES);
        Click(panel, GifOptionsPanel::ID_SMOOTH);
        EXPECT_EQ(changes, 3);
        EXPECT_TRUE(panel->FindWindow(GifOptionsPanel::ID_DITHER)->IsThisEnabled());
        EXPECT_TRUE(panel->FindWindow(GifOptionsPanel::ID_LOOP_COUNT)->IsThisEnabled());
        GifOptions expected;
        expected.optimised = true;
        expected.smooth = true;
        expected.loopCount = 3;  // the count last shown comes back
        EXPECT_EQ(panel->GetOptions(), expected);
        panel->Destroy();
    }
}

TEST_F(GifOptionsPanelTest, TheDialogEstimatesTheFileAndFollowsTheChoice)
{
    std::vector<wxImage> pictures;
    for (unsigned seed = 1; seed <= 6; ++seed)
        pictures.push_back(MakePhotoLike(120, 90, seed));
    std::vector<ExportFrame> frames;
    for (const wxImage& picture : pictures)
        frames.push_back({&picture, 10});
    const auto estimated = [](const GifOptionsDialog& dialog)
    { return dialog.GetEstimateText().Contains(wxS("about")); };

    GifOptionsDialog dialog(parent, GifOptions(), frames, 120, 90);
    dialog.Show();
    ASSERT_TRUE(WaitFor([&] { return estimated(dialog); }, 20000)) << dialog.GetEstimateText();
    const wxString classic = dialog.GetEstimateText();
    Click(&dialog, GifOptionsPanel::ID_OPTIMISED);
    EXPECT_FALSE(estimated(dialog)) << "an estimate is for the choice it was made for";
    ASSERT_TRUE(WaitFor([&] { return estimated(dialog); }, 20000)) << dialog.GetEstimateText();
    EXPECT_NE(dialog.GetEstimateText(), classic);
    EXPECT_TRUE(dialog.GetOptions().optimised);

    GifOptionsDialog empty(parent, GifOptions(), {}, 120, 90);
    EXPECT_FALSE(empty.GetEstimateText().empty());
    EXPECT_FALSE(estimated(empty));

    // The Save and Save As choosers' panel estimates too, and says when the
    // size limit will make the file smaller.
    GifOptions limited = Chosen();
    limited.maxBytes = 1024;
    SetChooserGifOptions(limited);
    SetChooserEstimate(frames, wxSize(120, 90));
    auto* chooser = static_cast<GifOptionsPanel*>(CreateGifOptionsChooserPanel(parent));
    ASSERT_TRUE(WaitFor([&] { return chooser->GetEstimateText().Contains(wxS("about")); }, 20000))
        << chooser->GetEstimateText();
    EXPECT_TRUE(chooser->GetEstimateText().Contains(wxS("1 KB"))) << chooser->GetEstimateText();
    chooser->Destroy();
    SetChooserEstimate({}, wxSize());
}

// Sets the dialog's panel to the options, then closes it with the answer.
class AnswerGifOptions : public wxExpectModalBase<GifOptionsDialog, AnswerGifOptions>
{
public:
    AnswerGifOptions(const GifOptions& options, int answer) : m_options(options), m_answer(answer)
    {
    }

protected:
    int OnInvoked(GifOptionsDialog* dialog) const override
    {
        GifOptionsPanel* panel = nullptr;
        for (wxWindow* child : dialog->GetChildren())
            if (!panel)
                panel = dynamic_cast<GifOptionsPanel*>(child);
        EXPECT_NE(panel, nullptr);
        if (panel)
            panel->SetOptions(m_options);
        return m_answer;
    }

private:
    GifOptions m_options;
    int m_answer;
};

// The window with a user data folder of its own, so a remembered choice
// reaches no other test.
class GifOptionsWindowTest : public EditingWindowTest
{
protected:
    ScopedDocumentsDir documents;

    // Opens GIF Options from the File menu and answers it with options.
    void ChooseInDialog(const GifOptions& options, int answer = wxID_OK)
    {
        wxCommandEvent open = Command(ID_MENU_GIF_OPTIONS);
        wxTEST_DIALOG(frame->OnGifOptions(open), AnswerGifOptions(options, answer));
    }

    void Save()
    {
        wxCommandEvent save = Command(ID_MENU_SAVE);
        frame->OnSaveAnimator(save);
    }
};

TEST_F(GifOptionsWindowTest, TheFileMenuOffersGifOptions)
{
    wxMenuItem* item = frame->GetMenuBar()->FindItem(ID_MENU_GIF_OPTIONS);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetMenu()->GetTitle(), frame->GetMenuBar()->GetMenu(0)->GetTitle());
    EXPECT_TRUE(item->IsEnabled()) << "the options can be chosen before there are frames";
}

TEST_F(GifOptionsWindowTest, AChoiceIsRememberedAndSaveExportsWithIt)
{
    AddFrames(3, wxSize(40, 30));
    GifOptions looped;
    looped.optimised = true;
    looped.loopCount = 3;
    ChooseInDialog(looped);
    EXPECT_EQ(LoadUserGifOptions(), looped) << "remembered beside the language file";

    const wxString path = dir.File(wxS("anim.gif"));
    wxTEST_DIALOG(Save(), ExpectFileDialog(path));
    ASSERT_TRUE(WaitForWorker());
    InspectedGif gif = InspectGif(ReadFileBytes(path));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.loopCount, 3);
    ASSERT_EQ(gif.frames.size(), 1u) << "identical frames, optimised: one shows for all";
    const int optimisedDelay = gif.frames[0].delay;

    // Nothing changed: Save does nothing. Another choice: Save writes again.
    Save();
    EXPECT_EQ(Access().ExportProgress(), nullptr);
    ChooseInDialog(GifOptions());
    Save();
    ASSERT_TRUE(WaitForWorker());
    gif = InspectGif(ReadFileBytes(path));
    EXPECT_EQ(gif.loopCount, 0);
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.frames[1].width, 40) << "classic frames are whole";
    EXPECT_EQ(optimisedDelay, gif.frames[0].delay + gif.frames[1].delay + gif.frames[2].delay);

    // Cancel keeps the choice.
    ChooseInDialog(looped, wxID_CANCEL);
    EXPECT_EQ(LoadUserGifOptions(), GifOptions());
}

// A remembered choice the window cannot read (here nested far deeper than
// the stack could take apart) gives the defaults and is reported at start,
// once: the file is set aside.
TEST_F(GifOptionsWindowTest, AnUnreadableChoiceIsReportedOnceAndGivesTheDefaults)
{
    const wxString path = GetGifOptionsFilePath();
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<gif_options>";
    WriteFileBytes(path, deep);
    ShownMessage told;
    GifFrame* started = nullptr;
    const auto start = [&]
    {
        started = CreateMainFrame(nullptr);
        WaitFor([&] { return told.count > 0; });
    };
    wxTEST_DIALOG(start(), ExpectMessage(&told));
    ASSERT_NE(started, nullptr);
    EXPECT_EQ(GifFrameTestAccess(started).ChosenGifOptions(), GifOptions());
    EXPECT_NE(told.message.Find(path + wxS(".bad")), wxNOT_FOUND) << told.message;
    started->Destroy();
    EXPECT_FALSE(wxFileExists(path));

    wxString problem;
    EXPECT_EQ(LoadUserGifOptions(&problem), GifOptions());
    EXPECT_TRUE(problem.empty()) << "reported once";
    wxRemoveFile(path + wxS(".bad"));
}

TEST_F(GifOptionsWindowTest, AChangedChoiceLeavesTheProjectUnsaved)
{
    AddFrames(2);
    Access().ProjectPath() = dir.File(wxS("p.xml"));
    ASSERT_TRUE(frame->SaveProject());
    EXPECT_FALSE(frame->IsProjectModified());
    ChooseInDialog(Chosen());
    EXPECT_TRUE(frame->IsProjectModified());
    ASSERT_TRUE(frame->SaveProject());
    EXPECT_FALSE(frame->IsProjectModified());
    EXPECT_EQ(ReadProjectFile(dir.File(wxS("p.xml"))).project.gifOptions, Chosen());
}
