#ifndef LOOPFORGE_WINDOW_GIFFRAME_H
#define LOOPFORGE_WINDOW_GIFFRAME_H

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <atomic>
#include <memory>

class ImportRefusals;
class PreviewCache;
class wxLocale;
class wxMenu;
class wxMenuBar;
class wxMenuItem;
class wxPanel;
class wxProgressDialog;
class wxSpinCtrl;
class wxSplitterEvent;
class wxSplitterWindow;
class wxStaticText;
class wxStatusBar;
class wxImageThumbnailItem;
class wxThumbnailCtrl;
class wxThumbnailEvent;
class wxToolBar;

// Command ids of the menu items (the language items use their language codes).
enum
{
    ID_INSERT_IMAGE = 0,  // the strip's pop-up "Insert Image" item
    ID_MENU_SAVE = wxID_HIGHEST + 100,
    ID_MENU_SAVE_AS,
    ID_MENU_OPEN_PROJECT,
    ID_MENU_SAVE_PROJECT,
    ID_MENU_EXIT,
    ID_MENU_ADD_IMAGE,
    ID_MENU_DELETE,
    ID_MENU_CLEAR_ALL,
    ID_MENU_RUN,
    ID_MENU_LOOP_COUNT,
    ID_MENU_HELP,
    ID_MENU_SUPPORT,
    ID_MENU_CHECK_UPDATE,
    ID_MENU_ABOUT
};

// The main window. Its layout comes from the resource "MyFrame1"; InitFrame
// looks the controls up, builds the menus and wires the commands. The
// implementation is split into one file per concern (gifframe_*.cpp).
class GifFrame : public wxFrame
{
public:
    GifFrame();
    ~GifFrame() override;

    // Looks up the resource's controls and sets the window up. Returns false
    // and fills missingControls when the resource lacks a control or has one
    // of the wrong class.
    virtual bool InitFrame(wxString* missingControls = nullptr);

    // --- Construction and commands (gifframe.cpp) -------------------------
    void CreateMenuBar();
    void EnableFrameCommands();
    void DisableFrameCommands();
    void OnClose(wxCloseEvent& event);
    void OnExitItem(wxCommandEvent& event);
    void OnHelpLink(wxCommandEvent& event);
    // True while an import or an export worker runs.
    bool IsWorkerRunning() const;
    // Moves a worker's progress dialog to percent; at 100 the worker is
    // over: closes the dialog and returns true.
    bool AdvanceWorkerProgress(wxProgressDialog*& dialog, int percent);
    // Closes the window when a close waited for a worker to end.
    void CloseIfRequested();

    // --- Preview and playback (gifframe_preview.cpp) ----------------------
    void OnPlay(wxCommandEvent& event);
    void StopPlayback();
    void ShowPlayState();
    void ShowStopState();
    void OnTimer(wxTimerEvent& event);
    void DrawPreviewFrame(int index);
    void OnThumbnailLeftClick(wxThumbnailEvent& event);
    void OnChangeSplitterWindow(wxSplitterEvent& event);
    void OnLoopCount(wxCommandEvent& event);
    void OnPreviewPaint(wxPaintEvent& event);
    // Forgets the previewed frame and clears the preview panel.
    void ClearPreview();
    // Where a picture of the given size is drawn in a panel: shrunk to fit
    // (never enlarged), centred, 30 pixels below the centre or as far below
    // it as the panel's height leaves room for.
    static wxRect PreviewPlacement(const wxSize& picture, const wxSize& panel);
    // Status field 1 for a previewed frame: name, width and height.
    wxString PreviewStatusText(const wxString& fileName, int width, int height) const;

    // --- Canvas size, delay and status line (gifframe_canvas.cpp) ---------
    void OnSetDelay(wxCommandEvent& event);
    void OnWidthChanged(wxCommandEvent& event);
    void OnHeightChanged(wxCommandEvent& event);
    void UpdateCanvasSize();
    wxString StatusSizeText(int width, int height) const;

    // --- Frame list editing (gifframe_editing.cpp) ------------------------
    void OnAddImage(wxCommandEvent& event);
    void OnInsertImage(wxCommandEvent& event);
    void OnDeleteImage(wxCommandEvent& event);
    void OnClearAll(wxCommandEvent& event);
    void OnThumbnailRightClick(wxThumbnailEvent& event);
    void ThreadUpdate(wxCommandEvent& event);
    // Moves the import's progress dialog on while a file with many pictures is read.
    void OnImportProgress(wxCommandEvent& event);
    // An entry of the running import was skipped for a reason worth telling.
    void OnPictureRefused(wxCommandEvent& event);
    // Starts the import thread on the paths; false when it could not start.
    // With reportUnreadable, the paths that gave no picture are listed to the
    // user once the import is over. The pictures go in from insertAt on, or
    // at the end with -1.
    bool ImportFiles(const wxArrayString& paths, bool reportUnreadable = false,
                     int insertAt = -1);
    // Decodes the paths at once and inserts their frames from pos on
    // (pos -1 appends); returns the number of frames inserted.
    int InsertFiles(const wxArrayString& paths, int pos);
    // Deletes the given indices (sorted in descending order).
    void DeleteFrames(const wxArrayInt& descendingIndices);

    // --- Project files (gifframe_project.cpp) -----------------------------
    void OnSaveProject(wxCommandEvent& event);
    bool SaveProject();
    void OnOpenProject(wxCommandEvent& event);
    void OpenProjectFile();
    bool OpenProjectPath(const wxString& path);
    // Opens a project file dropped on the window, asking first as Open Project does.
    void OpenDroppedProject(const wxString& path);
    // Gives the spins the size stored in the project just opened, once its
    // import is over (the import sets the size from the frames first).
    void ApplyOpenedProjectSize();
    void ConfirmCloseProject();
    bool IsProjectModified() const;
    // Asks about unsaved work before another project replaces it; true to go on.
    bool MayOpenAnotherProject();

    // --- GIF export commands (gifframe_export.cpp) ------------------------
    void OnSaveAnimator(wxCommandEvent& event);
    void OnSaveAsGif(wxCommandEvent& event);
    void WorkSaveAsGifThreadUpdate(wxCommandEvent& event);
    static wxString EnsureGifExtension(const wxString& path);
    bool StartExport(int width, int height, const wxString& title);

    // --- About dialog (gifframe_about.cpp) --------------------------------
    void OnAbout(wxCommandEvent& event);

    // --- Languages (gifframe_language.cpp) --------------------------------
    void InitWindowLocale(int code);
    void OnLanguage(wxCommandEvent& event);
    void UpdateLabels();

    // --- Update check (gifframe_update.cpp) -------------------------------
    void CheckForUpdate();
    void OnUpdateResult(wxCommandEvent& event);

private:
    friend struct GifFrameTestAccess;

    bool LookUpControls(wxString* missingControls);
    void TakeExportSnapshot();
    bool IsExportSnapshotCurrent() const;
    void ShowExportStatus();
    void BindCommands();
    void SetStaticLabels();
    void ApplyFrameCommandState();
    // Puts an item the import delivered into the strip; false when it is not taken.
    bool AddImportedItem(wxImageThumbnailItem* item);

    // Controls from the resource (not owned).
    wxSplitterWindow* m_splitter3;
    wxPanel* m_panel_top;
    wxPanel* m_panel_down;
    wxSpinCtrl* m_spinctrl_delay;
    wxSpinCtrl* m_spinctrl_width;
    wxSpinCtrl* m_spinctrl_height;
    wxStaticText* m_staticText_delay;
    wxStaticText* m_staticText_sec;
    wxStaticText* m_staticText_gif;
    wxStaticText* m_staticText_width;
    wxStaticText* m_staticText_wpx;
    wxStaticText* m_staticText_height;
    wxStaticText* m_staticText_hpx;
    wxStatusBar* m_statusBar1;
    wxToolBar* m_toolBar_button;

    wxThumbnailCtrl* m_thumbnailCtrl;
    wxTimer m_timer;

    // Menus, rebuilt on a language switch.
    wxMenuBar* m_menuBar;
    wxMenu* m_menuFile;
    wxMenu* m_menuFrame;
    wxMenu* m_menuAnimation;
    wxMenu* m_menuHelp;
    wxMenu* m_menuLanguage;
    wxMenuItem* m_menuItem_save;
    wxMenuItem* m_menuItem_save_as;
    wxMenuItem* m_menuItem_open_project;
    wxMenuItem* m_menuItem_save_project;
    wxMenuItem* m_menuItem_exit;
    wxMenuItem* m_menuItem_add_image;
    wxMenuItem* m_menuItem_delete;
    wxMenuItem* m_menuItem_clear_all;
    wxMenuItem* m_menuItem_run;
    wxMenuItem* m_menuItem_loop_count;
    wxMenuItem* m_menuItem_help;
    wxMenuItem* m_menuItem_support;
    wxMenuItem* m_menuItem_check_update;
    wxMenuItem* m_menuItem_about;
    wxMenuItem* m_menuItem_chinese_simplified;
    wxMenuItem* m_menuItem_chinese_traditional;
    wxMenuItem* m_menuItem_german;
    wxMenuItem* m_menuItem_english;
    wxMenuItem* m_menuItem_french;
    wxMenuItem* m_menuItem_italian;
    wxMenuItem* m_menuItem_japanese;

    // Canvas size.
    int m_sourceWidth;
    int m_sourceHeight;
    int m_gifWidth;
    int m_gifHeight;

    // Output GIF and project files.
    wxString m_gifPath;
    wxString m_gifFileName;
    wxString m_projectPath;
    wxString m_projectFileName;
    int m_projectDelay;
    int m_projectWidth;
    int m_projectHeight;
    int m_projectCount;
    wxSize m_openedProjectSize;  // stored size of a project whose import runs; 0 x 0 if none
    int m_exportCount;
    int m_exportDelay;
    int m_exportWidth;
    int m_exportHeight;

    // Workers. The progress dialogs keep the window disabled while a worker
    // runs; the cancel flag asks a running worker to stop.
    wxProgressDialog* m_importProgress;
    wxProgressDialog* m_exportProgress;
    std::shared_ptr<std::atomic<bool>> m_workerCancel;
    bool m_closeRequested;
    // Import bookkeeping: pictures posted and not yet received, what was
    // asked for and what arrived.
    std::shared_ptr<std::atomic<int>> m_importBacklog;
    int m_importInsertAt;  // strip position of the next picture; -1 appends
    wxArrayString m_importRequested;
    wxArrayString m_importDelivered;
    bool m_importReportUnreadable;
    std::unique_ptr<ImportRefusals> m_importRefusals;
    // The item a right click was on; Insert Image uses it when nothing is selected.
    int m_rightClickIndex;

    // Preview.
    wxString m_previewFileName;
    wxSize m_previewSize;   // full size of the frame last drawn
    int m_previewIndex;     // strip index of that frame, -1 when none
    std::unique_ptr<PreviewCache> m_previewCache;
    int m_playIndex;
    int m_loopCount;
    int m_loopsPlayed;
    bool m_playing;

    // Whether the commands that need frames are enabled.
    bool m_frameCommandsEnabled;

    // Language.
    int m_language;
    wxLocale* m_locale;

    wxDECLARE_EVENT_TABLE();
};

#endif
