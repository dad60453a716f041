#ifndef LOOPFORGE_WINDOW_GIFOPTIONSPANEL_H
#define LOOPFORGE_WINDOW_GIFOPTIONSPANEL_H

#include "encode/gifoptions.h"

#include <wx/panel.h>

#include <functional>

class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinCtrl;
class wxSpinEvent;

// The controls of the GIF options: the profile (Classic or Optimised), the
// optimised profile's parts, which are enabled only with it, and how often
// the file plays; the compact layout also how a WebP is compressed. The full layout serves the GIF Options dialog; the compact
// one fits below the file list of the Save and Save As choosers.
class GifOptionsPanel : public wxPanel
{
public:
    enum class Layout
    {
        Full,
        Compact
    };

    GifOptionsPanel(wxWindow* parent, Layout layout, const GifOptions& options);

    GifOptions GetOptions() const;
    void SetOptions(const GifOptions& options);

    // Called after every change the user makes.
    void SetChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // Window ids of the controls, for tests and for finding them by id.
    enum
    {
        ID_CLASSIC = wxID_HIGHEST + 400,
        ID_OPTIMISED,
        ID_ONLY_CHANGES,
        ID_GLOBAL_PALETTE,
        ID_COLOURS,
        ID_DITHER,
        ID_SMOOTH,
        ID_LOOP_FOREVER,
        ID_LOOP_TIMES,
        ID_LOOP_COUNT,
        ID_WEBP_LOSSLESS,
        ID_WEBP_LOSSY,
        ID_WEBP_QUALITY
    };

private:
    void BuildFull();
    void BuildCompact();
    void ShowEnabledParts();
    void OnChange(wxCommandEvent& event);
    void OnSpin(wxSpinEvent& event);

    wxRadioButton* m_classic = nullptr;
    wxRadioButton* m_optimised = nullptr;
    wxCheckBox* m_onlyChanges = nullptr;
    wxCheckBox* m_globalPalette = nullptr;
    wxSpinCtrl* m_colours = nullptr;
    wxChoice* m_dither = nullptr;
    wxCheckBox* m_smooth = nullptr;
    wxRadioButton* m_loopForever = nullptr;
    wxRadioButton* m_loopTimes = nullptr;
    wxSpinCtrl* m_loopCount = nullptr;
    // How a WebP is compressed: in the compact layout only, beside the
    // chooser's file types.
    wxRadioButton* m_webpLossless = nullptr;
    wxRadioButton* m_webpLossy = nullptr;
    wxSpinCtrl* m_webpQuality = nullptr;
    GifOptions m_shown;  // what SetOptions gave, for the settings without a control
    std::function<void()> m_changed;
};

// Makes the panel for wxFileDialog::SetExtraControlCreator, showing the
// options set with SetChooserGifOptions.
wxWindow* CreateGifOptionsChooserPanel(wxWindow* parent);
void SetChooserGifOptions(const GifOptions& options);

#endif
