#ifndef LOOPFORGE_WINDOW_GIFFRAME_H
#define LOOPFORGE_WINDOW_GIFFRAME_H

#include "encode/gifoptions.h"

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <vector>

class CaptionDrag;
struct ExportFrame;
class CaptionPreview;
class EditHistory;
class FrameList;
class ImportRun;
class PreviewCache;
class RecentProjects;
class ToolbarFit;
struct WindowSettings;
class WorkerProgress;
struct Caption;
struct CropArea;
struct EditState;
struct PendingProjectCaptions;
struct SavedState;
struct StripFrame;
struct VideoRange;
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

enum class EditKind;
enum class OrientationEdit;

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
    ID_MENU_ABOUT,
    ID_MENU_MOVE_LEFT,
    ID_MENU_MOVE_RIGHT,
    ID_MENU_FRAME_DELAY,
    ID_MENU_UNDO,
    ID_MENU_REDO,
    ID_MENU_GIF_OPTIONS,
    ID_MENU_SELECT_ALL,
    ID_MENU_DUPLICATE,
    ID_MENU_CUT,
    ID_MENU_COPY,
    ID_MENU_PASTE,
    ID_MENU_REVERSE,
    ID_MENU_YOYO,
    ID_MENU_SPEED,
    ID_MENU_REMOVE_DUPLICATES,
    ID_MENU_ROTATE_LEFT,
    ID_MENU_ROTATE_RIGHT,
    ID_MENU_ROTATE_180,
    ID_MENU_FLIP_HORIZONTAL,
    ID_MENU_FLIP_VERTICAL,
    ID_MENU_CROP,
    ID_MENU_KEYBOARD_SHORTCUTS,
    ID_MENU_PREVIEW_AS_GIF,
    ID_MENU_RECENT_FIRST,  // the recent projects, one id each
    ID_MENU_RECENT_LAST = ID_MENU_RECENT_FIRST + 7,
    ID_MENU_ADD_CAPTION,
    ID_MENU_CAPTIONS,
    ID_MENU_IMPORT_VIDEO
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

    // --- Preview and playback (gifframe_preview.cpp) ----------------------
    void OnPlay(wxCommandEvent& event);
    void StopPlayback();
    void ShowPlayState();
    void ShowStopState();
    void OnTimer(wxTimerEvent& event);
    void DrawPreviewFrame(int index);
    void OnThumbnailLeftClick(wxThumbnailEvent& event);
    // The strip's selection changed by any means: the preview shows its focus.
    void OnStripSelection(wxThumbnailEvent& event);
    void OnChangeSplitterWindow(wxSplitterEvent& event);
    void OnLoopCount(wxCommandEvent& event);
    void OnPreviewPaint(wxPaintEvent& event);
    // The picture the preview shows for a frame: its own, or with "Preview
    // as GIF" on, the frame as the export makes it (output size, fitting,
    // the classic profile's colours).
    wxImage PreviewPicture(int index) const;
    void OnPreviewAsGif(wxCommandEvent& event);
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
    // Keys of the strip: Delete deletes the selection, Space starts or stops
    // the preview, Ctrl+Shift+Left and Right move the selection.
    void OnStripKey(wxKeyEvent& event);
    void ThreadUpdate(wxCommandEvent& event);
    // Moves the import's progress dialog on while a file with many pictures is read.
    void OnImportProgress(wxCommandEvent& event);
    // An entry of the running import was skipped for a reason worth telling.
    void OnPictureRefused(wxCommandEvent& event);
    void OnPictureDamaged(wxCommandEvent& event);
    // Starts the import thread on the paths; false when it could not start.
    // The frames go before the frame at insertAt (-1: at the end), the whole
    // import as one step to undo. With reportUnreadable, the paths that gave
    // no picture are listed to the user once the import is over.
    bool ImportFiles(const wxArrayString& paths, bool reportUnreadable = false, int insertAt = -1);
    // Decodes the paths at once and inserts their frames from pos on
    // (pos -1 appends); returns the number of frames inserted.
    int InsertFiles(const wxArrayString& paths, int pos);
    // Deletes the frames at the indices (any order); false if none was there.
    bool DeleteFrames(const std::vector<int>& indices);

    // --- Video clips (gifframe_video.cpp) ----------------------------------
    void OnImportVideo(wxCommandEvent& event);
    // Asks which part of the clip to import (saying what to install when
    // ffmpeg is missing, or why the clip cannot be read), then imports it
    // before the frame at insertAt (-1: at the end). False when nothing started.
    bool ImportVideo(const wxString& path, int insertAt = -1);
    // Imports the frames of the part of a clip, each with its time in the
    // clip as its own delay, on the import thread with progress and Cancel:
    // one step to undo, and nothing kept when cancelled. False when the
    // import could not start.
    bool StartVideoImport(const VideoRange& range, int insertAt = -1);

    // --- Frame order, frame delays, undo (gifframe_frames.cpp) ------------
    // The frames of the strip: what Save, Save Project and the preview read.
    const FrameList& GetFrames() const { return *m_frames; }
    // The tooltip of a frame: its file, size, delay and start time.
    wxString FrameToolTip(int index) const;
    // The selected frames in strip order.
    std::vector<int> GetSelectedFrames() const;
    // Each edit below is one step to undo and returns false, recording
    // nothing, when it changed nothing.
    // Inserts decoded frames before pos (-1: at the end).
    bool InsertFrames(int pos, const std::vector<StripFrame>& frames);
    // Moves the frames, kept in strip order, before the frame at `before`.
    bool MoveFrames(const std::vector<int>& indices, int before);
    // Move Left (step -1) and Move Right (+1) of the frames.
    bool ShiftFrames(const std::vector<int>& indices, int step);
    // Gives the frames their own delay; 0 gives them the animation's again.
    bool SetFramesDelay(const std::vector<int>& indices, int delay);
    bool Undo();
    bool Redo();
    void OnMoveFrames(wxCommandEvent& event);
    void OnFrameDelay(wxCommandEvent& event);
    void OnUndoRedo(wxCommandEvent& event);
    void OnThumbnailItemsDropped(wxThumbnailEvent& event);

    // --- Selecting, copying and reshaping the frames (gifframe_toolbox.cpp)
    // Each edit is one step to undo and returns false when it changed nothing.
    void SelectAllFrames();
    // Copies of the frames right after each run of them; the copies are selected.
    bool DuplicateFrames(const std::vector<int>& indices);
    // Copy keeps the frames for Paste (they share their pictures); Cut also
    // removes them. False when there is nothing to copy.
    bool CopyFrames(const std::vector<int>& indices);
    bool CutFrames(const std::vector<int>& indices);
    // Inserts what Copy or Cut kept before the frame at `before` (-1: at the end).
    bool PasteFrames(int before);
    bool ReverseFrames(const std::vector<int>& indices);
    bool YoyoFrames();
    // Plays the frames (all when empty) at percent of their speed.
    bool ChangeFramesSpeed(const std::vector<int>& indices, int percent);
    // The frames that repeat the one before them within tolerance.
    std::vector<int> FindDuplicateFrames(double tolerance) const;
    bool RemoveDuplicateFrames(const std::vector<int>& repeated);
    // Turns or mirrors the frames (all when empty) where they are shown and
    // exported; the pictures stay as they are.
    bool OrientFrames(const std::vector<int>& indices, OrientationEdit edit);
    // What Reverse, Speed and Remove Duplicate Frames work on: the selection
    // when it holds more than one frame, else all frames (empty).
    std::vector<int> GetEditScope() const;
    void OnSelectAll(wxCommandEvent& event);
    void OnDuplicate(wxCommandEvent& event);
    void OnCutCopy(wxCommandEvent& event);
    void OnPaste(wxCommandEvent& event);
    void OnReverse(wxCommandEvent& event);
    void OnYoyo(wxCommandEvent& event);
    void OnSpeed(wxCommandEvent& event);
    void OnRemoveDuplicates(wxCommandEvent& event);
    void OnOrient(wxCommandEvent& event);
    // Keeps the part of every frame inside the crop (none: the whole
    // picture), where they are shown and exported; the output size follows.
    bool SetCrop(const CropArea& crop);
    const CropArea& GetCrop() const { return *m_crop; }
    void OnCrop(wxCommandEvent& event);

    // --- Captions (gifframe_captions.cpp) ----------------------------------
    // Each edit is one step to undo; false, recording nothing, when nothing
    // changed. A caption is named by its place in FrameList::GetCaptions().
    bool AddCaption(const Caption& caption, const std::vector<int>& frames);
    bool EditCaption(int index, const Caption& caption, const std::vector<int>& frames);
    bool DeleteCaption(int index);
    void OnAddCaption(wxCommandEvent& event);
    void OnCaptions(wxCommandEvent& event);
    // Dragging a caption on the preview puts its centre where it is dropped.
    void OnPreviewMouse(wxMouseEvent& event);
    // "Add Caption…" and "Captions…", translated.
    static wxString AddCaptionLabel();
    static wxString CaptionsLabel();

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
    // Puts the captions of the project just opened on its frames, once they arrived.
    void ApplyOpenedProjectCaptions();
    void ConfirmCloseProject();
    bool IsProjectModified() const;
    // Asks about unsaved work before another project replaces it; true to go on.
    bool MayOpenAnotherProject();

    // --- Outside files, recent projects, title (gifframe_files.cpp) -------
    // Opens files named on the command line or handed over by the file
    // manager: a project (asking first about unsaved work) or pictures added
    // through the import. False when nothing was started.
    bool OpenFiles(const wxArrayString& paths);
    // "name - product", marked "*" while the work is unsaved.
    static wxString WindowTitle(const wxString& name, bool modified);
    // Frames that no project or GIF written holds as they are now.
    bool HasUnsavedWork() const;
    // The title names the project, else the GIF, and marks unsaved work.
    void UpdateTitle();
    // The title without the unsaved mark, as message boxes show it.
    wxString MessageCaption() const;
    // Adds the project to the recent ones and shows them in the File menu.
    void RememberProject(const wxString& path);
    // Opens the recent project at index; a file that is gone leaves the list.
    bool OpenRecentProject(size_t index);
    void OnRecentProject(wxCommandEvent& event);
    void OnKeyboardShortcuts(wxCommandEvent& event);

    // --- GIF export commands (gifframe_export.cpp) ------------------------
    void OnSaveAnimator(wxCommandEvent& event);
    void OnSaveAsGif(wxCommandEvent& event);
    void WorkSaveAsGifThreadUpdate(wxCommandEvent& event);
    // The path with the format's ending added unless it ends in one already.
    static wxString EnsureGifExtension(const wxString& path,
                                       ExportFormat format = ExportFormat::Gif);
    // The strip's frames and the output size, for the chooser's size estimate.
    std::vector<ExportFrame> ChooserFrames() const;
    wxSize ChooserSize() const;
    bool StartExport(int width, int height, const wxString& title);
    // Whether writing the GIF to path would replace the project or a file
    // the frames are read from; if so the user is told, and nothing is written.
    bool RefuseOverwritingSource(const wxString& path);
    void OnGifOptions(wxCommandEvent& event);

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
    // Starts an import; replaceStrip (opening a project) empties the strip
    // and the undo history once the import runs.
    bool StartImport(const ImportRun& run, bool replaceStrip);
    // Closes the window when a close waited for the worker's end.
    void CloseIfRequested(WorkerProgress& worker);
    // The frames, settings and undo: gifframe_frames.cpp.
    EditState CurrentState() const;
    void RecordEdit(EditKind kind);
    // Makes change to the frames one step to undo and shows the result;
    // false, recording nothing, when the change returns false.
    bool EditFrames(const std::function<bool(FrameList&)>& change);
    // The same for a change of the frames and the animation's settings.
    bool EditWork(const std::function<bool(EditState&)>& change);
    // Selects exactly the frames at the indices.
    void SelectFrames(const std::vector<int>& indices);
    void RestoreState(const EditState& state);
    // Shows the frame list in the strip; frames keep their selection and the
    // preview stays on its frame, or is cleared if that frame is gone.
    void ShowFrames();
    // ShowFrames, then the size and the commands that follow from the frames.
    void ShowChangedFrames();
    void ShowStartTimes();
    void UpdateUndoCommands();
    // "Frame Delay…", translated, for the Frame menu and the pop-up menu.
    static wxString FrameDelayLabel();
    // The strip's item for a frame: it shows the frame's own picture, cut
    // to the crop and turned.
    wxImageThumbnailItem* MakeFrameItem(const StripFrame& frame) const;
    SavedState CurrentSavedState() const;
    void TakeProjectSnapshot();
    void TakeExportSnapshot();
    bool IsExportSnapshotCurrent() const;
    void ShowExportStatus();
    void BindCommands();
    void SetStaticLabels();
    void ApplyFrameCommandState();
    void FillRecentMenu();
    void OnIdleTitle(wxIdleEvent& event);
    void OnFrameSize(wxSizeEvent& event);
    void FitToolbar();
    // Gives the strip the share of the window and the thumbnail size last chosen.
    void ApplyWindowSettings();
    void PlaceSash();

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
    std::unique_ptr<ToolbarFit> m_toolbarFit;  // keeps the settings on screen when narrow

    wxThumbnailCtrl* m_thumbnailCtrl;
    wxTimer m_timer;

    // Menus, rebuilt on a language switch.
    wxMenuBar* m_menuBar;
    wxMenu* m_menuFile;
    wxMenu* m_menuFrame;
    wxMenu* m_menuAnimation;
    wxMenu* m_menuHelp;
    wxMenu* m_menuLanguage;
    wxMenu* m_menuRecent;
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
    wxSize m_openedProjectSize;  // stored size of a project whose import runs; 0 x 0 if none
    // Captions and frame names of a project whose import runs.
    std::unique_ptr<PendingProjectCaptions> m_openedProjectCaptions;
    // The work when the project and the GIF were last written; null if never.
    std::unique_ptr<SavedState> m_projectSaved;
    std::unique_ptr<SavedState> m_exportSaved;
    GifOptions m_gifOptions;  // how Save writes the GIF: the user's current choice
    std::unique_ptr<RecentProjects> m_recentProjects;
    std::unique_ptr<WindowSettings> m_windowSettings;  // strip share and thumbnail size

    // The frames and the edits to undo and redo.
    std::unique_ptr<FrameList> m_frames;
    std::unique_ptr<EditHistory> m_history;
    std::unique_ptr<std::vector<StripFrame>> m_clipboard;  // what Copy and Cut kept
    std::unique_ptr<CropArea> m_crop;                     // the part of every frame kept
    int m_lastDelay;    // the delay spin's value before its latest change
    bool m_sizeChosen;  // the user set the output size; edits of the strip keep it

    // Workers, and what the running import asked for.
    std::unique_ptr<WorkerProgress> m_importWorker;
    std::unique_ptr<WorkerProgress> m_exportWorker;
    std::unique_ptr<ImportRun> m_importRun;

    // Preview.
    wxString m_previewFileName;
    wxSize m_previewSize;  // full size of the frame last drawn
    int m_previewIndex;    // strip index of that frame, -1 when none
    std::unique_ptr<PreviewCache> m_previewCache;
    std::unique_ptr<CaptionPreview> m_captionPreview;  // frames with captions
    std::unique_ptr<CaptionDrag> m_captionDrag;        // a caption being dragged, or null
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
