#ifndef LOOPFORGE_WINDOW_GIFOPTIONSPANEL_H
#define LOOPFORGE_WINDOW_GIFOPTIONSPANEL_H

#include "encode/gifexport.h"
#include "encode/gifoptions.h"

#include <wx/panel.h>

#include <functional>
#include <vector>

class GifEstimateText;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinCtrl;
class wxSpinEvent;

// The controls of the GIF options: the profile (Classic or Optimised), the
// optimised profile's parts (with the lossy strength and the size limit),
// which are enabled only with it, and how often the file plays; the compact
// layout also how a WebP is compressed. The full layout serves the GIF
// Options dialog; the compact one fits below the file list of the Save and
// Save As choosers.
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

    // Adds a line below the controls telling what frames at size would come
    // to with the options shown (see GifEstimateText), kept up to date.
    void ShowEstimate(std::vector<ExportFrame> frames, const wxSize& size);
    // The estimate as shown; empty without one. For tests.
    wxString GetEstimateText() const;

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
        ID_WEBP_QUALITY,
        ID_LOSSY,
        ID_LIMIT,
        ID_LIMIT_SIZE,
        ID_LIMIT_UNIT
    };

private:
    void BuildFull();
    void BuildCompact();
    // The lossy strength and the size limit, for either layout.
    void BuildSizeControls(wxWindow* parent);
    wxSizer* LossyRow(wxWindow* parent);
    wxSizer* LimitRow(wxWindow* parent);
    void ShowEnabledParts();
    void OnChange(wxCommandEvent& event);
    void OnSpin(wxSpinEvent& event);
    void Changed();

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
    wxSpinCtrl* m_lossy = nullptr;
    wxCheckBox* m_limit = nullptr;
    wxSpinCtrl* m_limitSize = nullptr;
    wxChoice* m_limitUnit = nullptr;  // MB, KB
    GifEstimateText* m_estimate = nullptr;
    std::function<void()> m_changed;
};

// Makes the panel for wxFileDialog::SetExtraControlCreator, showing the
// options set with SetChooserGifOptions.
wxWindow* CreateGifOptionsChooserPanel(wxWindow* parent);
void SetChooserGifOptions(const GifOptions& options);
// The frames and output size the chooser panel estimates the file for.
void SetChooserEstimate(std::vector<ExportFrame> frames, const wxSize& size);

#endif
