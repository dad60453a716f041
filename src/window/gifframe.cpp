#include "window/gifframe.h"

#include "app/language.h"
#include "app/paths.h"
#include "app/product.h"
#include "net/domainoption.h"
#include "net/updatecheck.h"
#include "window/captionpreview.h"
#include "window/framedroptarget.h"
#include "window/gifoptionschoice.h"
#include "window/previewcache.h"
#include "window/recentprojects.h"
#include "window/textfit.h"
#include "window/thumbnailctrl.h"
#include "window/toolbarfit.h"
#include "window/translatedbuttons.h"
#include "window/windowsettings.h"
#include "window/workerprogress.h"
#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "edit/importrun.h"
#include "edit/picturecache.h"
#include "project/projectcaptions.h"
#include "project/savedstate.h"
#include "jobs/threadevent.h"

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/iconbndl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <iostream>

wxBEGIN_EVENT_TABLE(GifFrame, wxFrame)
    EVT_THUMBNAIL_LEFT_CLICK(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailLeftClick)
    EVT_THUMBNAIL_RIGHT_CLICK(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailRightClick)
    EVT_THUMBNAIL_ITEMS_DROPPED(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailItemsDropped)
    EVT_CLOSE(GifFrame::OnClose)
    EVT_COMMAND(wxID_ANY, wxEVT_UPDATE_CHECK, GifFrame::OnUpdateResult)
    EVT_COMMAND(ID_IMAGE_THREAD, wxEVT_THREAD_UPDATE, GifFrame::ThreadUpdate)
    EVT_COMMAND(ID_IMAGE_PROGRESS, wxEVT_THREAD_UPDATE, GifFrame::OnImportProgress)
    EVT_COMMAND(ID_IMAGE_THREAD, wxEVT_PICTURE_REFUSED, GifFrame::OnPictureRefused)
    EVT_COMMAND(ID_IMAGE_THREAD, wxEVT_PICTURE_DAMAGED, GifFrame::OnPictureDamaged)
    EVT_COMMAND(ID_SAVE_GIF_THREAD, wxEVT_THREAD_UPDATE, GifFrame::WorkSaveAsGifThreadUpdate)
wxEND_EVENT_TABLE()

GifFrame::GifFrame()
    : m_splitter3(nullptr),
      m_panel_top(nullptr),
      m_panel_down(nullptr),
      m_spinctrl_delay(nullptr),
      m_spinctrl_width(nullptr),
      m_spinctrl_height(nullptr),
      m_staticText_delay(nullptr),
      m_staticText_sec(nullptr),
      m_staticText_gif(nullptr),
      m_staticText_width(nullptr),
      m_staticText_wpx(nullptr),
      m_staticText_height(nullptr),
      m_staticText_hpx(nullptr),
      m_statusBar1(nullptr),
      m_toolBar_button(nullptr),
      m_toolbarFit(nullptr),
      m_thumbnailCtrl(nullptr),
      m_menuBar(nullptr),
      m_menuFile(nullptr),
      m_menuFrame(nullptr),
      m_menuAnimation(nullptr),
      m_menuHelp(nullptr),
      m_menuLanguage(nullptr),
      m_menuRecent(nullptr),
      m_menuItem_save(nullptr),
      m_menuItem_save_as(nullptr),
      m_menuItem_open_project(nullptr),
      m_menuItem_save_project(nullptr),
      m_menuItem_exit(nullptr),
      m_menuItem_add_image(nullptr),
      m_menuItem_delete(nullptr),
      m_menuItem_clear_all(nullptr),
      m_menuItem_run(nullptr),
      m_menuItem_loop_count(nullptr),
      m_menuItem_help(nullptr),
      m_menuItem_support(nullptr),
      m_menuItem_check_update(nullptr),
      m_menuItem_about(nullptr),
      m_menuItem_chinese_simplified(nullptr),
      m_menuItem_chinese_traditional(nullptr),
      m_menuItem_german(nullptr),
      m_menuItem_english(nullptr),
      m_menuItem_french(nullptr),
      m_menuItem_italian(nullptr),
      m_menuItem_japanese(nullptr),
      m_sourceWidth(0),
      m_sourceHeight(0),
      m_gifWidth(0),
      m_gifHeight(0),
      m_recentProjects(new RecentProjects),
      m_windowSettings(new WindowSettings),
      m_frames(new FrameList),
      m_history(new EditHistory),
      m_clipboard(new std::vector<StripFrame>),
      m_crop(new CropArea),
      m_lastDelay(0),
      m_sizeChosen(false),
      m_importWorker(new WorkerProgress(this, true)),
      m_exportWorker(new WorkerProgress(this)),
      m_importRun(new ImportRun),
      m_previewIndex(-1),
      m_previewCache(new PreviewCache),
      m_captionPreview(new CaptionPreview),
      m_playIndex(0),
      m_loopCount(0),
      m_loopsPlayed(0),
      m_playing(false),
      m_frameCommandsEnabled(false),
      m_language(LANGUAGE_CODE_ENGLISH),
      m_locale(nullptr)
{
}

GifFrame::~GifFrame()
{
    // A worker posts to this window until its last event has been handled;
    // OnClose waits for that, so nothing else may destroy the window earlier.
    wxASSERT_MSG(!IsWorkerRunning(), "main window destroyed while a worker runs");
    m_timer.Stop();
    delete m_thumbnailCtrl;
    m_thumbnailCtrl = nullptr;
}

namespace
{
// Finds a control of the resource by name and checks its class; records the
// name when it is missing or of another class.
template <typename T>
T* LookUp(wxWindow* frame, const char* name, wxString* problems)
{
    wxWindow* window = frame->FindWindow(XRCID(name));
    T* control = wxDynamicCast(window, T);
    if (!control && problems)
    {
        if (!problems->empty())
            *problems += wxS(", ");
        *problems += wxString::FromUTF8(name);
        if (window)
            *problems += wxString::Format(wxS(" (a %s, not a %s)"),
                                          window->GetClassInfo()->GetClassName(),
                                          T::ms_classInfo.GetClassName());
    }
    return control;
}
}  // namespace

bool GifFrame::LookUpControls(wxString* missingControls)
{
    wxString problems;
    m_splitter3 = LookUp<wxSplitterWindow>(this, "m_splitter3", &problems);
    m_panel_top = LookUp<wxPanel>(this, "m_panel_top", &problems);
    m_panel_down = LookUp<wxPanel>(this, "m_panel_down", &problems);
    m_spinctrl_delay = LookUp<wxSpinCtrl>(this, "m_spinctrl_delay", &problems);
    m_spinctrl_width = LookUp<wxSpinCtrl>(this, "m_spinctrl_width", &problems);
    m_spinctrl_height = LookUp<wxSpinCtrl>(this, "m_spinctrl_height", &problems);
    m_staticText_delay = LookUp<wxStaticText>(this, "m_staticText_delay", &problems);
    m_staticText_sec = LookUp<wxStaticText>(this, "m_staticText_sec", &problems);
    m_staticText_gif = LookUp<wxStaticText>(this, "m_staticText_gif", &problems);
    m_staticText_width = LookUp<wxStaticText>(this, "m_staticText_width", &problems);
    m_staticText_wpx = LookUp<wxStaticText>(this, "m_staticText_wpx", &problems);
    m_staticText_height = LookUp<wxStaticText>(this, "m_staticText_height", &problems);
    m_staticText_hpx = LookUp<wxStaticText>(this, "m_staticText_hpx", &problems);
    m_statusBar1 = LookUp<wxStatusBar>(this, "m_statusBar1", &problems);
    m_toolBar_button = LookUp<wxToolBar>(this, "m_toolBar_button", &problems);
    if (m_toolBar_button)
    {
        for (const char* tool : {"m_tool_play", "m_tool_delete", "m_tool_insert"})
        {
            if (!m_toolBar_button->FindById(XRCID(tool)))
            {
                if (!problems.empty())
                    problems += wxS(", ");
                problems += wxString::FromUTF8(tool);
            }
        }
    }
    if (missingControls)
        *missingControls = problems;
    return problems.empty();
}

bool GifFrame::InitFrame(wxString* missingControls)
{
    // Without every control of the resource nothing below can work.
    if (!LookUpControls(missingControls))
        return false;

    m_language = ReadLanguage();
    InitWindowLocale(m_language);
    wxString optionsProblem;
    m_gifOptions = LoadUserGifOptions(&optionsProblem);
    if (!optionsProblem.empty())
        CallAfter([this, optionsProblem]
                  { ShowMessageBox(this, optionsProblem, MessageCaption(), wxOK | wxICON_WARNING); });
    m_recentProjects.reset(new RecentProjects(GetRecentProjectsFilePath()));
    m_recentProjects->Load();

    CreateMenuBar();
    BindCommands();

    m_panel_top->SetSizer(new wxBoxSizer(wxHORIZONTAL));
    m_thumbnailCtrl = new wxThumbnailCtrl(m_panel_top, wxDefaultPosition, m_panel_top->GetSize());
    m_panel_top->GetSizer()->Add(m_thumbnailCtrl, 1, wxEXPAND, 0);
    m_thumbnailCtrl->SetBackgroundColour(wxColour(176, 223, 227));
    m_thumbnailCtrl->SetLabelDelay(m_spinctrl_delay->GetValue());
    m_thumbnailCtrl->Bind(wxEVT_KEY_DOWN, &GifFrame::OnStripKey, this);
    m_thumbnailCtrl->SetToolTipText([this](int index) { return FrameToolTip(index); });
    m_thumbnailCtrl->SetThumbnailSideHandler(
        [this](int side)
        {
            m_windowSettings->thumbnailSide = side;
            m_windowSettings->Save(GetWindowSettingsFilePath());
        });
    ApplyWindowSettings();
    m_thumbnailCtrl->Bind(wxEVT_COMMAND_THUMBNAIL_ITEM_SELECTED, &GifFrame::OnStripSelection, this);
    m_thumbnailCtrl->Bind(wxEVT_COMMAND_THUMBNAIL_ITEM_DESELECTED, &GifFrame::OnStripSelection,
                          this);
    m_thumbnailCtrl->SetDropTarget(new FrameDropTarget(this, m_thumbnailCtrl));
    m_panel_down->SetDropTarget(new FrameDropTarget(this, nullptr));

    // Themes may give the tooltip colour some transparency; the preview
    // needs a solid background that really covers the previous frame.
    const wxColour infoBackground = wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK);
    m_panel_down->SetBackgroundColour(
        wxColour(infoBackground.Red(), infoBackground.Green(), infoBackground.Blue()));
    m_panel_down->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_panel_down->Bind(wxEVT_PAINT, &GifFrame::OnPreviewPaint, this);
    m_panel_down->Bind(wxEVT_LEFT_DOWN, &GifFrame::OnPreviewMouse, this);
    m_panel_down->Bind(wxEVT_MOTION, &GifFrame::OnPreviewMouse, this);
    m_panel_down->Bind(wxEVT_LEFT_UP, &GifFrame::OnPreviewMouse, this);
    // A drag the system ends (another window took the pointer) ends where it is.
    m_panel_down->Bind(wxEVT_MOUSE_CAPTURE_LOST,
                       [this](wxMouseCaptureLostEvent&)
                       {
                           wxMouseEvent up(wxEVT_LEFT_UP);
                           up.SetPosition(m_panel_down->ScreenToClient(wxGetMousePosition()));
                           OnPreviewMouse(up);
                       });

    m_timer.SetOwner(this, ID_PLAY_TIMER);

    SetStaticLabels();

    // Everything in the toolbar that is no tool, no field and no field's name.
    std::vector<wxWindow*> decorations;
    for (wxWindow* child : m_toolBar_button->GetChildren())
        if (wxDynamicCast(child, wxStaticText) && child != m_staticText_delay &&
            child != m_staticText_sec && child != m_staticText_width &&
            child != m_staticText_height)
            decorations.push_back(child);
    m_toolbarFit.reset(new ToolbarFit(m_toolBar_button, decorations));
    Bind(wxEVT_SIZE, &GifFrame::OnFrameSize, this);
    FitToolbar();

    const int widths[] = {200, 400, -1};
    m_statusBar1->SetFieldsCount(3, widths);
    FitStatusBarHeight(this, m_statusBar1, PreviewStatusText(wxString(), 0, 0));
    // Field 0 belongs to the GIF's name and size; menu help must not replace it.
    SetStatusBarPane(-1);

    DisableFrameCommands();

    m_sourceWidth = m_sourceHeight = 0;
    m_playIndex = m_loopCount = m_loopsPlayed = 0;
    m_lastDelay = m_spinctrl_delay->GetValue();

    const wxString iconPath = GetInstallDir() + wxS("/Themes/application.ico");
    std::cout << iconPath.utf8_string() << std::endl;
    {
        wxLogNull noLog;
        const wxIconBundle icons(iconPath, wxBITMAP_TYPE_ICO);
        if (!icons.IsEmpty())
            SetIcons(icons);
    }

    SetTitle(GetProductName());
    m_playing = false;
    return true;
}

void GifFrame::SetStaticLabels()
{
    m_staticText_delay->SetLabel(_("Delay ") + wxS(":"));
    m_staticText_sec->SetLabel(wxS("1/100") + _("sec "));
    m_staticText_gif->SetLabel(_("GIF") + wxS(":"));
    m_staticText_width->SetLabel(_("Width") + wxS(":"));
    m_staticText_wpx->SetLabel(_("px"));
    m_staticText_height->SetLabel(_("Height") + wxS(":"));
    m_staticText_hpx->SetLabel(_("px"));
    if (m_toolBar_button)
        m_toolBar_button->Realize();
    // Labels of another length may make the toolbar fit, or no longer fit.
    FitToolbar();
}

void GifFrame::ApplyWindowSettings()
{
    *m_windowSettings = WindowSettings::Load(GetWindowSettingsFilePath());
    m_menuBar->Check(ID_MENU_PREVIEW_AS_GIF, m_windowSettings->previewAsGif);
    PictureCache::Shared().SetLimit(m_windowSettings->pictureCacheMiB > 0
                                        ? std::size_t(m_windowSettings->pictureCacheMiB) << 20
                                        : PictureCache::DefaultLimit());
    if (m_windowSettings->thumbnailSide > 0)
        m_thumbnailCtrl->SetThumbnailSide(m_windowSettings->thumbnailSide);
    // The splitter has its height once the window is laid out: the sash is
    // placed after the first size it gets, once it has moved its sash itself.
    m_splitter3->Bind(wxEVT_SIZE,
                      [this, placed = false](wxSizeEvent& event) mutable
                      {
                          event.Skip();
                          if (placed ||
                              m_splitter3->GetClientSize().y < 2 * m_splitter3->GetMinimumPaneSize())
                              return;
                          placed = true;
                          CallAfter(&GifFrame::PlaceSash);
                      });
}

void GifFrame::PlaceSash()
{
    const int height = m_splitter3->GetClientSize().y;
    if (height <= 0)
        return;
    const double share = m_windowSettings->stripShare;
    if (share > 0)
        m_splitter3->SetSashPosition(int(share * height));
    // The strip keeps its share while the window is resized, so it grows
    // with a larger window.
    m_splitter3->SetSashGravity(
        share > 0 ? share : std::clamp(double(m_splitter3->GetSashPosition()) / height, 0.0, 1.0));
}

void GifFrame::OnFrameSize(wxSizeEvent& event)
{
    event.Skip();
    FitToolbar();
}

void GifFrame::FitToolbar()
{
    if (m_toolbarFit)
        m_toolbarFit->Fit(GetClientSize().x);
}

namespace
{
// A label with a character beyond ASCII (an ellipsis, a degree sign): the
// text is taken as UTF-8 whatever the C library's locale.
wxString Utf8Label(const char* label)
{
    return wxGetTranslation(wxString::FromUTF8(label));
}
}  // namespace

void GifFrame::CreateMenuBar()
{
    wxMenuBar* menuBar = new wxMenuBar;

    m_menuFile = new wxMenu;
    m_menuItem_save = m_menuFile->Append(ID_MENU_SAVE, _("Save"));
    m_menuItem_save_as = m_menuFile->Append(ID_MENU_SAVE_AS, _("Save As"));
    m_menuFile->Append(ID_MENU_GIF_OPTIONS, _("GIF Options..."));
    m_menuItem_open_project =
        m_menuFile->Append(ID_MENU_OPEN_PROJECT, _("Open Project") + wxS("\tCtrl+O"));
    m_menuRecent = new wxMenu;
    m_menuFile->AppendSubMenu(m_menuRecent, _("Recent Projects"));
    FillRecentMenu();
    m_menuItem_save_project =
        m_menuFile->Append(ID_MENU_SAVE_PROJECT, _("Save Project") + wxS("\tCtrl+S"));
    m_menuItem_exit = m_menuFile->Append(ID_MENU_EXIT, _("Exit") + wxS("\tCtrl+Q"));

    m_menuFrame = new wxMenu;
    m_menuItem_add_image =
        m_menuFrame->Append(ID_MENU_ADD_IMAGE, _("Add Image") + wxS("\tCtrl+Ins"));
    m_menuItem_delete = m_menuFrame->Append(ID_MENU_DELETE, _("Delete") + wxS("\tCtrl+Del"));
    m_menuItem_clear_all = m_menuFrame->Append(ID_MENU_CLEAR_ALL, _("Clear All"));
    m_menuFrame->Append(ID_MENU_IMPORT_VIDEO, Utf8Label(wxTRANSLATE("Import Video…")));
    m_menuFrame->AppendSeparator();
    m_menuFrame->Append(ID_MENU_SELECT_ALL, _("Select All") + wxS("\tCtrl+A"));
    m_menuFrame->Append(ID_MENU_DUPLICATE, _("Duplicate") + wxS("\tCtrl+D"));
    m_menuFrame->Append(ID_MENU_CUT, _("Cut") + wxS("\tCtrl+X"));
    m_menuFrame->Append(ID_MENU_COPY, _("Copy") + wxS("\tCtrl+C"));
    m_menuFrame->Append(ID_MENU_PASTE, _("Paste") + wxS("\tCtrl+V"));
    m_menuFrame->AppendSeparator();
    m_menuFrame->Append(ID_MENU_MOVE_LEFT, _("Move Left") + wxS("\tCtrl+Shift+Left"));
    m_menuFrame->Append(ID_MENU_MOVE_RIGHT, _("Move Right") + wxS("\tCtrl+Shift+Right"));
    m_menuFrame->Append(ID_MENU_FRAME_DELAY, FrameDelayLabel());
    m_menuFrame->Append(ID_MENU_SPEED, Utf8Label(wxTRANSLATE("Speed…")));
    m_menuFrame->Append(ID_MENU_REVERSE, _("Reverse"));
    m_menuFrame->Append(ID_MENU_YOYO, _("Yo-yo"));
    m_menuFrame->Append(ID_MENU_REMOVE_DUPLICATES,
                        Utf8Label(wxTRANSLATE("Remove Duplicate Frames…")));
    m_menuFrame->AppendSeparator();
    m_menuFrame->Append(ID_MENU_ROTATE_LEFT, Utf8Label(wxTRANSLATE("Rotate 90° Left")));
    m_menuFrame->Append(ID_MENU_ROTATE_RIGHT, Utf8Label(wxTRANSLATE("Rotate 90° Right")));
    m_menuFrame->Append(ID_MENU_ROTATE_180, Utf8Label(wxTRANSLATE("Rotate 180°")));
    m_menuFrame->Append(ID_MENU_FLIP_HORIZONTAL, _("Flip Horizontal"));
    m_menuFrame->Append(ID_MENU_FLIP_VERTICAL, _("Flip Vertical"));
    m_menuFrame->Append(ID_MENU_CROP, Utf8Label(wxTRANSLATE("Crop…")));
    m_menuFrame->AppendSeparator();
    m_menuFrame->Append(ID_MENU_ADD_CAPTION, AddCaptionLabel());
    m_menuFrame->Append(ID_MENU_CAPTIONS, CaptionsLabel());
    m_menuFrame->AppendSeparator();
    m_menuFrame->Append(ID_MENU_UNDO, _("Undo") + wxS("\tCtrl+Z"));
    m_menuFrame->Append(ID_MENU_REDO, _("Redo") + wxS("\tCtrl+Y"));

    m_menuAnimation = new wxMenu;
    m_menuItem_run = m_menuAnimation->Append(ID_MENU_RUN, _("Run animation") + wxS("\tCtrl+P"));
    m_menuItem_loop_count = m_menuAnimation->Append(ID_MENU_LOOP_COUNT, _("Loop Count"));
    m_menuAnimation->AppendCheckItem(ID_MENU_PREVIEW_AS_GIF, _("Preview as GIF"))
        ->Check(m_windowSettings->previewAsGif);

    m_menuLanguage = new wxMenu;
    wxMenuItem** const languageItems[] = {
        &m_menuItem_chinese_simplified, &m_menuItem_chinese_traditional, &m_menuItem_german,
        &m_menuItem_english,            &m_menuItem_french,              &m_menuItem_italian,
        &m_menuItem_japanese};
    size_t slot = 0;
    for (const LanguageEntry& language : GetLanguages())
        *languageItems[slot++] = m_menuLanguage->AppendCheckItem(
            language.code, wxString::FromUTF8(language.label));
    for (wxMenuItem** item : languageItems)
        (*item)->Check((*item)->GetId() == m_language);

    m_menuHelp = new wxMenu;
    m_menuItem_help = m_menuHelp->Append(ID_MENU_HELP, _("Help"));
    m_menuHelp->Append(ID_MENU_KEYBOARD_SHORTCUTS, _("Keyboard Shortcuts"));
    m_menuHelp->AppendSubMenu(m_menuLanguage, _("Language"));
    m_menuItem_support = m_menuHelp->Append(ID_MENU_SUPPORT, _("Support"));
    m_menuItem_check_update = m_menuHelp->Append(ID_MENU_CHECK_UPDATE, _("Check for Update"));
    m_menuItem_about = m_menuHelp->Append(ID_MENU_ABOUT, _("About"));

    menuBar->Append(m_menuFile, _("File"));
    menuBar->Append(m_menuFrame, _("Frame"));
    menuBar->Append(m_menuAnimation, _("Animation"));
    menuBar->Append(m_menuHelp, _("Help"));

    wxMenuBar* previous = GetMenuBar();
    SetMenuBar(menuBar);
    m_menuBar = menuBar;
    delete previous;

    // A rebuilt bar keeps the command state of the window.
    if (m_spinctrl_delay)
        ApplyFrameCommandState();
}

void GifFrame::BindCommands()
{
    // Menu items have fixed ids, so these connections survive a rebuilt bar.
    Bind(wxEVT_MENU, &GifFrame::OnSaveAnimator, this, ID_MENU_SAVE);
    Bind(wxEVT_MENU, &GifFrame::OnSaveAsGif, this, ID_MENU_SAVE_AS);
    Bind(wxEVT_MENU, &GifFrame::OnGifOptions, this, ID_MENU_GIF_OPTIONS);
    Bind(wxEVT_MENU, &GifFrame::OnOpenProject, this, ID_MENU_OPEN_PROJECT);
    Bind(wxEVT_MENU, &GifFrame::OnSaveProject, this, ID_MENU_SAVE_PROJECT);
    Bind(wxEVT_MENU, &GifFrame::OnExitItem, this, ID_MENU_EXIT);
    Bind(wxEVT_MENU, &GifFrame::OnAddImage, this, ID_MENU_ADD_IMAGE);
    Bind(wxEVT_MENU, &GifFrame::OnImportVideo, this, ID_MENU_IMPORT_VIDEO);
    Bind(wxEVT_MENU, &GifFrame::OnDeleteImage, this, ID_MENU_DELETE);
    Bind(wxEVT_MENU, &GifFrame::OnClearAll, this, ID_MENU_CLEAR_ALL);
    Bind(wxEVT_MENU, &GifFrame::OnMoveFrames, this, ID_MENU_MOVE_LEFT);
    Bind(wxEVT_MENU, &GifFrame::OnMoveFrames, this, ID_MENU_MOVE_RIGHT);
    Bind(wxEVT_MENU, &GifFrame::OnFrameDelay, this, ID_MENU_FRAME_DELAY);
    Bind(wxEVT_MENU, &GifFrame::OnSelectAll, this, ID_MENU_SELECT_ALL);
    Bind(wxEVT_MENU, &GifFrame::OnDuplicate, this, ID_MENU_DUPLICATE);
    Bind(wxEVT_MENU, &GifFrame::OnCutCopy, this, ID_MENU_CUT);
    Bind(wxEVT_MENU, &GifFrame::OnCutCopy, this, ID_MENU_COPY);
    Bind(wxEVT_MENU, &GifFrame::OnPaste, this, ID_MENU_PASTE);
    Bind(wxEVT_MENU, &GifFrame::OnReverse, this, ID_MENU_REVERSE);
    Bind(wxEVT_MENU, &GifFrame::OnYoyo, this, ID_MENU_YOYO);
    Bind(wxEVT_MENU, &GifFrame::OnSpeed, this, ID_MENU_SPEED);
    Bind(wxEVT_MENU, &GifFrame::OnRemoveDuplicates, this, ID_MENU_REMOVE_DUPLICATES);
    for (int id : {ID_MENU_ROTATE_LEFT, ID_MENU_ROTATE_RIGHT, ID_MENU_ROTATE_180,
                   ID_MENU_FLIP_HORIZONTAL, ID_MENU_FLIP_VERTICAL})
        Bind(wxEVT_MENU, &GifFrame::OnOrient, this, id);
    Bind(wxEVT_MENU, &GifFrame::OnCrop, this, ID_MENU_CROP);
    Bind(wxEVT_MENU, &GifFrame::OnAddCaption, this, ID_MENU_ADD_CAPTION);
    Bind(wxEVT_MENU, &GifFrame::OnCaptions, this, ID_MENU_CAPTIONS);
    Bind(wxEVT_MENU, &GifFrame::OnUndoRedo, this, ID_MENU_UNDO);
    Bind(wxEVT_MENU, &GifFrame::OnUndoRedo, this, ID_MENU_REDO);
    Bind(wxEVT_MENU, &GifFrame::OnPlay, this, ID_MENU_RUN);
    Bind(wxEVT_MENU, &GifFrame::OnLoopCount, this, ID_MENU_LOOP_COUNT);
    Bind(wxEVT_MENU, &GifFrame::OnHelpLink, this, ID_MENU_HELP);
    Bind(wxEVT_MENU, &GifFrame::OnHelpLink, this, ID_MENU_SUPPORT);
    Bind(wxEVT_MENU, &GifFrame::OnHelpLink, this, ID_MENU_CHECK_UPDATE);
    Bind(wxEVT_MENU, &GifFrame::OnAbout, this, ID_MENU_ABOUT);
    Bind(wxEVT_MENU, &GifFrame::OnKeyboardShortcuts, this, ID_MENU_KEYBOARD_SHORTCUTS);
    Bind(wxEVT_MENU, &GifFrame::OnPreviewAsGif, this, ID_MENU_PREVIEW_AS_GIF);
    Bind(wxEVT_MENU, &GifFrame::OnRecentProject, this, ID_MENU_RECENT_FIRST, ID_MENU_RECENT_LAST);
    Bind(wxEVT_IDLE, &GifFrame::OnIdleTitle, this);
    for (const LanguageEntry& language : GetLanguages())
        Bind(wxEVT_MENU, &GifFrame::OnLanguage, this, language.code);

    Bind(wxEVT_MENU, &GifFrame::OnInsertImage, this, ID_INSERT_IMAGE);
    Bind(wxEVT_MENU, &GifFrame::OnDeleteImage, this, wxID_DELETE);
    Bind(wxEVT_MENU, &GifFrame::OnLoopCount, this, XRCID("m_menuItem_loop_count"));

    Bind(wxEVT_TOOL, &GifFrame::OnPlay, this, XRCID("m_tool_play"));
    Bind(wxEVT_TOOL, &GifFrame::OnDeleteImage, this, XRCID("m_tool_delete"));
    Bind(wxEVT_TOOL, &GifFrame::OnAddImage, this, XRCID("m_tool_insert"));

    Bind(wxEVT_TIMER, &GifFrame::OnTimer, this, ID_PLAY_TIMER);
    m_spinctrl_delay->Bind(wxEVT_TEXT, &GifFrame::OnSetDelay, this);
    m_spinctrl_width->Bind(wxEVT_TEXT, &GifFrame::OnWidthChanged, this);
    m_spinctrl_height->Bind(wxEVT_TEXT, &GifFrame::OnHeightChanged, this);
    m_splitter3->Bind(wxEVT_SPLITTER_SASH_POS_CHANGED, &GifFrame::OnChangeSplitterWindow, this);

    // A menu item has one accelerator; Redo answers to Ctrl+Shift+Z as well.
    wxAcceleratorEntry redo(wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', ID_MENU_REDO);
    SetAcceleratorTable(wxAcceleratorTable(1, &redo));
}

void GifFrame::ApplyFrameCommandState()
{
    const bool enable = m_frameCommandsEnabled;
    for (wxMenuItem* item : {m_menuItem_save, m_menuItem_save_as, m_menuItem_delete,
                             m_menuItem_clear_all, m_menuItem_run, m_menuItem_loop_count,
                             m_menuItem_save_project})
        if (item)
            item->Enable(enable);
    if (m_menuBar)
        for (int id : {ID_MENU_MOVE_LEFT, ID_MENU_MOVE_RIGHT, ID_MENU_FRAME_DELAY,
                       ID_MENU_SELECT_ALL, ID_MENU_DUPLICATE, ID_MENU_CUT, ID_MENU_COPY,
                       ID_MENU_SPEED, ID_MENU_REVERSE, ID_MENU_YOYO,
                       ID_MENU_REMOVE_DUPLICATES, ID_MENU_ROTATE_LEFT, ID_MENU_ROTATE_RIGHT,
                       ID_MENU_ROTATE_180, ID_MENU_FLIP_HORIZONTAL, ID_MENU_FLIP_VERTICAL,
                       ID_MENU_CROP, ID_MENU_ADD_CAPTION, ID_MENU_CAPTIONS})
            m_menuBar->Enable(id, enable);
    m_toolBar_button->EnableTool(XRCID("m_tool_delete"), enable);
    m_toolBar_button->EnableTool(XRCID("m_tool_play"), enable);
    m_spinctrl_delay->Enable(enable);
    m_spinctrl_width->Enable(enable);
    m_spinctrl_height->Enable(enable);
    UpdateUndoCommands();
}

void GifFrame::EnableFrameCommands()
{
    m_frameCommandsEnabled = true;
    ApplyFrameCommandState();
}

void GifFrame::DisableFrameCommands()
{
    m_frameCommandsEnabled = false;
    ApplyFrameCommandState();
}

bool GifFrame::IsWorkerRunning() const
{
    return m_importWorker->IsRunning() || m_exportWorker->IsRunning();
}

void GifFrame::CloseIfRequested(WorkerProgress& worker)
{
    if (worker.TakeCloseRequest())
        Close();
}

void GifFrame::OnClose(wxCloseEvent&)
{
    StopPlayback();

    // A running worker reads the strip and posts to this window: ask it to
    // stop and close once it has reported its end.
    for (WorkerProgress* worker : {m_importWorker.get(), m_exportWorker.get()})
    {
        if (worker->IsRunning())
        {
            worker->RequestClose();
            return;
        }
    }

    if (m_frames->IsEmpty())
    {
        Destroy();
        return;
    }
    ConfirmCloseProject();
}

void GifFrame::OnExitItem(wxCommandEvent&)
{
    Close();
}

void GifFrame::OnHelpLink(wxCommandEvent& event)
{
    StopPlayback();
    if (event.GetId() == ID_MENU_CHECK_UPDATE)
    {
        CheckForUpdate();
        return;
    }
    if (!g_domainOption)
        return;
    const wxString url =
        event.GetId() == ID_MENU_HELP ? g_domainOption->m_helpUrl : g_domainOption->m_supportUrl;
    // Only web pages go to the browser; anything else in the file is ignored.
    if (IsWebAddress(url))
        wxLaunchDefaultBrowser(url);
}
