#include "app/language.h"
#include "language_window_fixture.h"
#include "window/gifoptionspanel.h"
#include "window/localnumbers.h"

#include <wx/dcclient.h>
#include <wx/filename.h>
#include <wx/stattext.h>

namespace
{
wxString DataDirIn(const wxString& documents)
{
    return documents + wxS("/Corvanel files/Corvanel Loopforge");
}

wxString Label(wxWindow* frame, const char* name)
{
    wxStaticText* text = wxDynamicCast(frame->FindWindow(XRCID(name)), wxStaticText);
    return text ? text->GetLabel() : wxS("<missing>");
}
}  // namespace

TEST(LanguageFile, LivesInTheMakerAndProductFoldersOfTheDocumentsFolder)
{
    ScopedDocumentsDir documents;
    EXPECT_EQ(GetUserDataDir(), DataDirIn(documents.Path()));
    EXPECT_TRUE(wxDirExists(DataDirIn(documents.Path())));
    EXPECT_EQ(GetLanguageFilePath(), DataDirIn(documents.Path()) + wxS("/language.txt"));
}

TEST(LanguageFile, DocumentsFolderIsTheXdgOneTheToolkitReports)
{
    TempDir home;
    wxFileName::Mkdir(home.File(wxS(".config")), 0700);
    WriteFileBytes(home.File(wxS(".config/user-dirs.dirs")),
                   "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    wxFileName::Mkdir(home.File(wxS("Dokumente")), 0700);

    wxString oldHome, oldConfig;
    const bool hadHome = wxGetEnv(wxS("HOME"), &oldHome);
    const bool hadConfig = wxGetEnv(wxS("XDG_CONFIG_HOME"), &oldConfig);
    wxSetEnv(wxS("HOME"), home.Path());
    wxUnsetEnv(wxS("XDG_CONFIG_HOME"));
    const wxString previous = SetDocumentsDirOverride(wxString());

    const wxString dataDir = GetUserDataDir();

    SetDocumentsDirOverride(previous);
    hadHome ? wxSetEnv(wxS("HOME"), oldHome) : wxUnsetEnv(wxS("HOME"));
    if (hadConfig)
        wxSetEnv(wxS("XDG_CONFIG_HOME"), oldConfig);

    EXPECT_EQ(dataDir, DataDirIn(home.File(wxS("Dokumente"))));
    EXPECT_TRUE(wxDirExists(dataDir));
}

TEST(LanguageFile, ReadsTheLeadingNumber)
{
    ScopedDocumentsDir documents;
    const std::pair<std::string, int> cases[] = {
        {"110\n", 110},
        {"110\r\n", 110},
        {"  89", 89},
        {"\t+47x", 47},
        {"-3", -3},
        {"abc", 0},
        {"", 0},
        {"x58", 0},
        {"0000011299", 112},  // only the first eight bytes count
        {"\xEF\xBB\xBF"
         "58",
         0}};
    for (const auto& [bytes, code] : cases)
    {
        WriteFileBytes(GetLanguageFilePath(), bytes);
        EXPECT_EQ(ReadLanguage(), code) << "file holding \"" << bytes << "\"";
    }
}

TEST(LanguageFile, WriteReplacesTheContent)
{
    ScopedDocumentsDir documents;
    WriteFileBytes(GetLanguageFilePath(), "112 and some more text");
    WriteLanguage(89);
    EXPECT_EQ(ReadFileBytes(GetLanguageFilePath()), "89");
    WriteLanguage(46);
    EXPECT_EQ(ReadFileBytes(GetLanguageFilePath()), "46");
    EXPECT_EQ(FilesIn(GetUserDataDir()), std::vector<wxString>{wxS("language.txt")})
        << "nothing is left beside it";
}

using FirstStart = LanguageWindowTest;

TEST_F(FirstStart, WritesEnglishAndChecksIt)
{
    EXPECT_EQ(ReadFileBytes(GetLanguageFilePath()), "58");
    EXPECT_EQ(Access().Language(), 58);
    ASSERT_NE(CheckedLanguageItem(), nullptr);
    EXPECT_EQ(CheckedLanguageItem()->GetId(), 58);
    EXPECT_EQ(MenuTitles()[0], wxS("File"));
    EXPECT_EQ(Label(frame, "m_staticText_delay"), wxS("Delay :"));
}

// With the file a switch writes (checked below), a restart starts in that language.
class SavedItalian : public LanguageWindowTest
{
    std::string SavedLanguage() const override { return "110\n"; }
};

TEST_F(SavedItalian, StartsInItalian)
{
    EXPECT_EQ(Access().Language(), 110);
    ASSERT_NE(CheckedLanguageItem(), nullptr);
    EXPECT_EQ(CheckedLanguageItem()->GetItemLabelText(), wxS("Italiano"));
    EXPECT_EQ(MenuTitles().at(1), wxS("Fotogrammi"));
    EXPECT_EQ(Access().SaveAsItem()->GetItemLabel(), wxS("Salva con nome"));
    EXPECT_EQ(Access().ExitItem()->GetItemLabel(), wxS("Esci\tCtrl+Q"));
    EXPECT_EQ(Label(frame, "m_staticText_width"), wxS("Larghezza:"));
    // The file is read, not rewritten.
    EXPECT_EQ(ReadFileBytes(GetLanguageFilePath()), "110\n");
}

class SavedNonsense : public LanguageWindowTest
{
    std::string SavedLanguage() const override { return "deutsch"; }
};

TEST_F(SavedNonsense, StartsInTheSystemLanguageWithNothingChecked)
{
    EXPECT_EQ(Access().Language(), 0);
    EXPECT_EQ(CheckedLanguageItem(), nullptr);
    // The test machine's system language is English (C locale).
    EXPECT_EQ(MenuTitles().at(0), wxS("File"));
}

using LanguageSwitch = LanguageWindowTest;

TEST_F(LanguageSwitch, DeutschRewritesMenusLabelsAndTheFile)
{
    ChooseLanguage(89);

    EXPECT_EQ(ReadFileBytes(GetLanguageFilePath()), "89");
    EXPECT_EQ(Access().Language(), 89);
    ASSERT_NE(CheckedLanguageItem(), nullptr);
    EXPECT_EQ(CheckedLanguageItem()->GetItemLabelText(), wxS("Deutsch"));

    EXPECT_EQ(MenuTitles(), (std::vector<wxString>{"Datei", "Einzelbilder", "Animation", "Hilfe"}));
    const GifFrameTestAccess a = Access();
    EXPECT_EQ(a.SaveItem()->GetItemLabel(), wxS("Speichern"));
    EXPECT_EQ(a.SaveProjectItem()->GetItemLabel(), wxS("Projekt speichern\tCtrl+S"));
    EXPECT_EQ(a.AddImageItem()->GetItemLabel(),
              wxString::FromUTF8("Bild hinzuf\xC3\xBCgen\tCtrl+Ins"));
    EXPECT_EQ(a.DeleteItem()->GetItemLabel(), wxString::FromUTF8("L\xC3\xB6schen\tCtrl+Del"));
    EXPECT_EQ(a.RunItem()->GetItemLabel(), wxS("Animation abspielen\tCtrl+P"));
    EXPECT_EQ(a.CheckUpdateItem()->GetItemLabel(), wxS("Nach Updates suchen"));
    EXPECT_EQ(a.AboutItem()->GetItemLabel(), wxString::FromUTF8("\xC3\x9C"
                                                                "ber"));
    // The language names stay in their own language.
    EXPECT_EQ(a.LanguageMenu()->FindItemByPosition(0)->GetItemLabelText(),
              wxString::FromUTF8("\xE4\xB8\xAD\xE6\x96\x87\xE7\xAE\x80\xE4\xBD\x93"));
    EXPECT_EQ(a.LanguageMenu()->FindItemByPosition(3)->GetItemLabelText(), wxS("English"));

    EXPECT_EQ(Label(frame, "m_staticText_delay"), wxString::FromUTF8("Verz\xC3\xB6gerung:"));
    EXPECT_EQ(Label(frame, "m_staticText_sec"), wxS("1/100 s"));
    EXPECT_EQ(Label(frame, "m_staticText_gif"), wxS("GIF:"));
    EXPECT_EQ(Label(frame, "m_staticText_width"), wxS("Breite:"));
    EXPECT_EQ(Label(frame, "m_staticText_wpx"), wxS("px"));
    EXPECT_EQ(Label(frame, "m_staticText_height"), wxString::FromUTF8("H\xC3\xB6he:"));
    EXPECT_EQ(Label(frame, "m_staticText_hpx"), wxS("px"));
    EXPECT_EQ(a.ToolBar()->GetToolShortHelp(XRCID("m_tool_insert")),
              wxString::FromUTF8("Bild hinzuf\xC3\xBCgen"));
    EXPECT_EQ(frame->GetTitle(), wxS("Corvanel Loopforge"));
}

TEST_F(LanguageSwitch, EveryLanguageChecksItsItemAndTranslatesTheMenus)
{
    const std::pair<int, const char*> fileMenu[] = {
        {46, "\xE6\x96\x87\xE4\xBB\xB6"},
        {47, "\xE6\xAA\x94\xE6\xA1\x88"},
        {89, "Datei"},
        {80, "Fichier"},
        {110, "File"},
        {112, "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB"},
        {58, "File"}};
    for (const auto& [code, label] : fileMenu)
    {
        ChooseLanguage(code);
        ASSERT_NE(CheckedLanguageItem(), nullptr) << code;
        EXPECT_EQ(CheckedLanguageItem()->GetId(), code);
        EXPECT_EQ(MenuTitles().at(0), wxString::FromUTF8(label)) << code;
        EXPECT_EQ(ReadFileBytes(GetLanguageFilePath()), std::to_string(code));
    }
    // Back in English every text is the program's own again.
    EXPECT_EQ(Label(frame, "m_staticText_delay"), wxS("Delay :"));
    EXPECT_EQ(Access().HelpItem()->GetItemLabel(), wxS("Help"));
}

TEST_F(LanguageSwitch, StatusFieldOneKeepsNamingThePreviewedFrame)
{
    ChooseLanguage(80);
    EXPECT_EQ(Status(1), wxString()) << "nothing previewed, nothing named";
    AddFramesAndPreview();
    ChooseLanguage(89);
    EXPECT_EQ(Status(1), wxString::FromUTF8("anim.gif_3 Breite:64px,H\xC3\xB6he:48 px"));
}

// Chinese characters come from a fallback font whose lines are taller than
// those of the window's font.
TEST_F(LanguageSwitch, StatusBarIsAsTallAsTheLinesItShows)
{
    AddFramesAndPreview();
    ChooseLanguage(LANGUAGE_CODE_CHINESE_SIMPLIFIED);
    wxStatusBar* bar = Access().StatusBar();
    wxClientDC dc(bar);
    dc.SetFont(bar->GetFont());
    for (int field : {0, 1})
    {
        const int lineHeight = dc.GetTextExtent(Status(field)).y;
        wxRect rect;
        EXPECT_TRUE(WaitFor(
            [&] { return bar->GetFieldRect(field, rect) && rect.height >= lineHeight; }, 2000))
            << Status(field).utf8_string() << ": line " << lineHeight << ", field " << rect.height;
    }
}

TEST_F(LanguageSwitch, ResetsTheSizeSpinsFromTheFrames)
{
    AddFramesAndPreview();
    Access().WidthSpin()->SetValue(123);
    ChooseLanguage(89);
    EXPECT_EQ(SpinSize(), wxSize(64, 48));
    EXPECT_EQ(Status(0), wxS("Untitled.gif (64 * 48)px"));
    ChooseLanguage(46);
    EXPECT_EQ(Status(0), wxString::FromUTF8("Untitled.gif (64 * 48)\xE5\x83\x8F\xE7\xB4\xA0"));
}

TEST_F(LanguageSwitch, KeepsTheCommandStateOfTheWindow)
{
    ChooseLanguage(89);
    EXPECT_FALSE(Access().SaveItem()->IsEnabled());
    EXPECT_FALSE(Access().RunItem()->IsEnabled());
    EXPECT_TRUE(Access().AddImageItem()->IsEnabled());
    EXPECT_FALSE(ToolEnabled("m_tool_play"));

    frame->EnableFrameCommands();
    ChooseLanguage(112);
    EXPECT_TRUE(Access().SaveItem()->IsEnabled());
    EXPECT_TRUE(Access().RunItem()->IsEnabled());
    EXPECT_TRUE(Access().WidthSpin()->IsEnabled());
}

TEST_F(LanguageSwitch, RunningPreviewKeepsItsStopItem)
{
    AddFramesAndPreview();
    wxCommandEvent run = Command(ID_MENU_RUN);
    frame->ProcessWindowEvent(run);
    ASSERT_TRUE(Access().Playing());
    ChooseLanguage(89);
    EXPECT_EQ(Access().RunItem()->GetItemLabel(), wxS("Animation anhalten\tCtrl+T"));
    EXPECT_TRUE(Access().Playing());
    frame->StopPlayback();
}

TEST_F(LanguageSwitch, ProjectTitleStays)
{
    Access().ProjectPath() = wxS("/tmp/holiday.xml");
    Access().ProjectFileName() = wxS("holiday.xml");
    frame->SetTitle(wxS("holiday - Corvanel Loopforge"));
    ChooseLanguage(89);
    EXPECT_EQ(frame->GetTitle(), wxS("holiday - Corvanel Loopforge"));
}

// A frame's tooltip names it in full and writes its numbers the local way,
// though the system has no German or French locale.
TEST_F(LanguageSwitch, FrameToolTipsWriteNumbersInTheLanguage)
{
    AddFramesAndPreview();
    Type(Access().DelaySpin(), 125);
    const struct
    {
        int code;
        const char* text;
    } cases[] = {
        {89, "anim.gif_3\n64 \xC3\x97 48 Pixel\nVerz\xC3\xB6gerung: 1,25 s\nBeginnt bei: 1,25 s"},
        {58, "anim.gif_3\n64 \xC3\x97 48 pixels\nDelay: 1.25 s\nStarts at: 1.25 s"},
    };
    for (const auto& c : cases)
    {
        ChooseLanguage(c.code);
        EXPECT_EQ(wxFileNameFromPath(frame->FrameToolTip(1)), wxString::FromUTF8(c.text));
    }
    ChooseLanguage(80);
    EXPECT_EQ(LocalInteger(1234567), wxString::FromUTF8("1\xE2\x80\xAF" "234\xE2\x80\xAF" "567"));
}

// In a narrow window GTK would hide the last fields behind its overflow
// arrow; in every language the settings stay on screen at 800 x 600.
TEST_F(LanguageSwitch, EveryToolbarSettingIsOnScreenAt800x600)
{
    frame->SetSize(800, 600);
    for (const LanguageEntry& language : GetLanguages())
    {
        SCOPED_TRACE(language.folder);
        ChooseLanguage(language.code);
        Settle(100);
        wxToolBar* bar = Access().ToolBar();
        for (const char* name :
             {"m_staticText_delay", "m_spinctrl_delay", "m_staticText_sec", "m_staticText_width",
              "m_spinctrl_width", "m_staticText_height", "m_spinctrl_height"})
        {
            wxWindow* control = bar->FindWindow(XRCID(name));
            ASSERT_NE(control, nullptr) << name;
            EXPECT_TRUE(control->IsShownOnScreen()) << name;
            EXPECT_LE(control->GetRect().GetRight(), frame->GetClientSize().x) << name;
        }
    }
}

// The GIF options under the Save chooser fit an 800-pixel screen in every
// language, each control whole inside the panel.
TEST_F(LanguageSwitch, TheSavePanelFitsAnEightHundredPixelScreen)
{
    for (const LanguageEntry& language : GetLanguages())
    {
        SCOPED_TRACE(language.folder);
        ChooseLanguage(language.code);
        wxFrame host(nullptr, wxID_ANY, wxS("chooser"), wxPoint(0, 0), wxSize(780, 300));
        wxWindow* panel = CreateGifOptionsChooserPanel(&host);
        host.Show();
        Settle(50);
        EXPECT_LE(panel->GetBestSize().x, host.GetClientSize().x);
        for (wxWindow* control : panel->GetChildren())
        {
            const wxRect rect = control->GetRect();
            EXPECT_LE(rect.GetRight(), host.GetClientSize().x) << control->GetLabel();
            EXPECT_LE(rect.GetBottom(), host.GetClientSize().y) << control->GetLabel();
        }
    }
}
