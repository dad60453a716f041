#ifndef LOOPFORGE_TESTS_GIFFRAME_TEST_ACCESS_H
#define LOOPFORGE_TESTS_GIFFRAME_TEST_ACCESS_H

// Lets the window tests read and set the main window's members.
#include "project/savedstate.h"
#include "window/gifframe.h"
#include "window/workerprogress.h"

struct GifFrameTestAccess
{
    explicit GifFrameTestAccess(GifFrame* frame) : f(frame) {}
    GifFrame* f;

    wxThumbnailCtrl* Strip() const { return f->m_thumbnailCtrl; }
    wxSpinCtrl* DelaySpin() const { return f->m_spinctrl_delay; }
    wxSpinCtrl* WidthSpin() const { return f->m_spinctrl_width; }
    wxSpinCtrl* HeightSpin() const { return f->m_spinctrl_height; }
    wxStatusBar* StatusBar() const { return f->m_statusBar1; }
    wxToolBar* ToolBar() const { return f->m_toolBar_button; }
    wxPanel* PreviewPanel() const { return f->m_panel_down; }
    wxPanel* TopPanel() const { return f->m_panel_top; }
    wxTimer& Timer() const { return f->m_timer; }
    const GifOptions& ChosenGifOptions() const { return f->m_gifOptions; }

    wxMenuItem* SaveItem() const { return f->m_menuItem_save; }
    wxMenuItem* SaveAsItem() const { return f->m_menuItem_save_as; }
    wxMenuItem* OpenProjectItem() const { return f->m_menuItem_open_project; }
    wxMenuItem* SaveProjectItem() const { return f->m_menuItem_save_project; }
    wxMenuItem* ExitItem() const { return f->m_menuItem_exit; }
    wxMenuItem* AddImageItem() const { return f->m_menuItem_add_image; }
    wxMenuItem* DeleteItem() const { return f->m_menuItem_delete; }
    wxMenuItem* ClearAllItem() const { return f->m_menuItem_clear_all; }
    wxMenuItem* RunItem() const { return f->m_menuItem_run; }
    wxMenuItem* LoopCountItem() const { return f->m_menuItem_loop_count; }
    wxMenuItem* HelpItem() const { return f->m_menuItem_help; }
    wxMenuItem* SupportItem() const { return f->m_menuItem_support; }
    wxMenuItem* CheckUpdateItem() const { return f->m_menuItem_check_update; }
    wxMenuItem* AboutItem() const { return f->m_menuItem_about; }
    wxMenu* LanguageMenu() const { return f->m_menuLanguage; }

    int& SourceWidth() const { return f->m_sourceWidth; }
    int& SourceHeight() const { return f->m_sourceHeight; }
    int& GifWidth() const { return f->m_gifWidth; }
    int& GifHeight() const { return f->m_gifHeight; }
    wxString& GifPath() const { return f->m_gifPath; }
    wxString& GifFileName() const { return f->m_gifFileName; }
    wxString& ProjectPath() const { return f->m_projectPath; }
    wxString& ProjectFileName() const { return f->m_projectFileName; }
    // The work as it is counts as the saved project.
    void MarkProjectSaved() const { f->TakeProjectSnapshot(); }
    // What the last export recorded; 0 when none counts.
    int ExportCount() const { return f->m_exportSaved ? int(f->m_exportSaved->names.size()) : 0; }
    int ExportDelay() const { return f->m_exportSaved ? f->m_exportSaved->delay : 0; }
    int ExportWidth() const { return f->m_exportSaved ? f->m_exportSaved->width : 0; }
    bool SizeChosen() const { return f->m_sizeChosen; }
    wxProgressDialog* ImportProgress() const { return f->m_importWorker->GetDialog(); }
    wxProgressDialog* ExportProgress() const { return f->m_exportWorker->GetDialog(); }
    wxString& PreviewFileName() const { return f->m_previewFileName; }
    wxSize& PreviewSize() const { return f->m_previewSize; }
    int& PreviewIndex() const { return f->m_previewIndex; }
    int& PlayIndex() const { return f->m_playIndex; }
    int& LoopCount() const { return f->m_loopCount; }
    int& LoopsPlayed() const { return f->m_loopsPlayed; }
    bool& Playing() const { return f->m_playing; }
    int& Language() const { return f->m_language; }
    wxLocale*& Locale() const { return f->m_locale; }
};

#endif
