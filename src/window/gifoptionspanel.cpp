#include "window/gifoptionspanel.h"

#include "window/gifestimatetext.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cstdint>

namespace
{
// The options the next chooser panel shows.
GifOptions& ChooserOptions()
{
    static GifOptions options;
    return options;
}

// The frames and size the next chooser panel estimates the file for.
struct ChooserEstimate
{
    std::vector<ExportFrame> frames;
    wxSize size;
};
ChooserEstimate& ChooserFrames()
{
    static ChooserEstimate estimate;
    return estimate;
}

// The largest number the size limit's field takes, in either unit.
const int kMaxLimitNumber = 4095;

// Choice positions of the dithering methods.
const GifDither kDithers[] = {GifDither::None, GifDither::Ordered, GifDither::Diffuse};
}  // namespace

GifOptionsPanel::GifOptionsPanel(wxWindow* parent, Layout layout, const GifOptions& options)
    : wxPanel(parent, wxID_ANY)
{
    if (layout == Layout::Full)
        BuildFull();
    else
        BuildCompact();
    SetOptions(options);
    Bind(wxEVT_RADIOBUTTON, &GifOptionsPanel::OnChange, this);
    Bind(wxEVT_CHECKBOX, &GifOptionsPanel::OnChange, this);
    Bind(wxEVT_CHOICE, &GifOptionsPanel::OnChange, this);
    Bind(wxEVT_SPINCTRL, &GifOptionsPanel::OnSpin, this);
}

void GifOptionsPanel::BuildFull()
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* profile = new wxStaticBoxSizer(wxVERTICAL, this, _("Profile"));
    wxWindow* box = profile->GetStaticBox();
    m_classic = new wxRadioButton(box, ID_CLASSIC, _("Classic: every frame whole, as always"),
                                  wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_optimised = new wxRadioButton(box, ID_OPTIMISED, _("Optimised: smaller files"));
    m_onlyChanges =
        new wxCheckBox(box, ID_ONLY_CHANGES, _("Store only what changes between frames"));
    m_globalPalette =
        new wxCheckBox(box, ID_GLOBAL_PALETTE, _("Share one palette when the frames allow it"));
    m_colours = new wxSpinCtrl(box, ID_COLOURS, wxString(), wxDefaultPosition, wxDefaultSize,
                               wxSP_ARROW_KEYS, kMinGifColours, kMaxGifColours, kMaxGifColours);
    m_dither = new wxChoice(box, ID_DITHER);
    m_smooth = new wxCheckBox(box, ID_SMOOTH, _("Smooth scaling when pictures are shrunk"));

    auto* colours = new wxBoxSizer(wxHORIZONTAL);
    colours->Add(new wxStaticText(box, wxID_ANY, _("Colours:")), 0, wxALIGN_CENTER_VERTICAL);
    colours->Add(m_colours, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
    colours->AddSpacer(15);
    colours->Add(new wxStaticText(box, wxID_ANY, _("Dithering:")), 0, wxALIGN_CENTER_VERTICAL);
    colours->Add(m_dither, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);

    auto* parts = new wxBoxSizer(wxVERTICAL);
    parts->Add(m_onlyChanges, 0, wxBOTTOM, 4);
    parts->Add(m_globalPalette, 0, wxBOTTOM, 4);
    parts->Add(colours, 0, wxBOTTOM, 4);
    parts->Add(m_smooth, 0, wxBOTTOM, 4);
    BuildSizeControls(box);
    parts->Add(LossyRow(box), 0, wxBOTTOM, 4);
    parts->Add(LimitRow(box));
    profile->Add(m_classic, 0, wxALL, 4);
    profile->Add(m_optimised, 0, wxALL, 4);
    auto* indented = new wxBoxSizer(wxHORIZONTAL);
    indented->AddSpacer(24);
    indented->Add(parts, 0, wxRIGHT | wxBOTTOM, 8);
    profile->Add(indented);

    auto* looping = new wxStaticBoxSizer(wxVERTICAL, this, _("Playing the saved file"));
    wxWindow* loopBox = looping->GetStaticBox();
    m_loopForever = new wxRadioButton(loopBox, ID_LOOP_FOREVER, _("Forever"), wxDefaultPosition,
                                      wxDefaultSize, wxRB_GROUP);
    m_loopTimes = new wxRadioButton(loopBox, ID_LOOP_TIMES, _("Play once, then repeat"));
    m_loopCount = new wxSpinCtrl(loopBox, ID_LOOP_COUNT, wxString(), wxDefaultPosition,
                                 wxDefaultSize, wxSP_ARROW_KEYS, 1, kMaxGifLoopCount, 1);
    auto* times = new wxBoxSizer(wxHORIZONTAL);
    times->Add(m_loopTimes, 0, wxALIGN_CENTER_VERTICAL);
    times->Add(m_loopCount, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
    times->Add(new wxStaticText(loopBox, wxID_ANY, _("time(s)")), 0,
               wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
    looping->Add(m_loopForever, 0, wxALL, 4);
    looping->Add(times, 0, wxALL, 4);
    looping->Add(new wxStaticText(loopBox, wxID_ANY,
                                  _("Viewers follow this; the preview's Loop Count is separate.")),
                 0, wxALL, 4);

    top->Add(profile, 0, wxEXPAND | wxBOTTOM, 8);
    top->Add(looping, 0, wxEXPAND);
    m_dither->Append(_("None"));
    m_dither->Append(_("Ordered"));
    m_dither->Append(_("Error diffusion"));
    SetSizerAndFit(top);
}

void GifOptionsPanel::BuildCompact()
{
    m_classic = new wxRadioButton(this, ID_CLASSIC, _("Classic"), wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP);
    m_optimised = new wxRadioButton(this, ID_OPTIMISED, _("Optimised"));
    m_onlyChanges = new wxCheckBox(this, ID_ONLY_CHANGES, _("Only changes"));
    m_globalPalette = new wxCheckBox(this, ID_GLOBAL_PALETTE, _("Shared palette"));
    m_smooth = new wxCheckBox(this, ID_SMOOTH, _("Smooth scaling"));
    m_colours = new wxSpinCtrl(this, ID_COLOURS, wxString(), wxDefaultPosition, wxDefaultSize,
                               wxSP_ARROW_KEYS, kMinGifColours, kMaxGifColours, kMaxGifColours);
    m_dither = new wxChoice(this, ID_DITHER);
    m_dither->Append(_("None"));
    m_dither->Append(_("Ordered"));
    m_dither->Append(_("Error diffusion"));
    m_loopForever = new wxRadioButton(this, ID_LOOP_FOREVER, _("Forever"), wxDefaultPosition,
                                      wxDefaultSize, wxRB_GROUP);
    m_loopTimes = new wxRadioButton(this, ID_LOOP_TIMES, _("Play once, then repeat"));
    m_loopCount = new wxSpinCtrl(this, ID_LOOP_COUNT, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, 1, kMaxGifLoopCount, 1);

    // Three short rows rather than two long ones: the chooser is no wider
    // than the screen, and German or French labels made the second row
    // longer than an 800-pixel screen.
    const int centre = wxALIGN_CENTER_VERTICAL;
    auto* first = new wxBoxSizer(wxHORIZONTAL);
    first->Add(new wxStaticText(this, wxID_ANY, _("GIF:")), 0, centre | wxRIGHT, 5);
    first->Add(m_classic, 0, centre | wxRIGHT, 5);
    first->Add(m_optimised, 0, centre | wxRIGHT, 15);
    first->Add(m_onlyChanges, 0, centre | wxRIGHT, 5);
    first->Add(m_globalPalette, 0, centre);
    auto* second = new wxBoxSizer(wxHORIZONTAL);
    second->Add(m_smooth, 0, centre | wxRIGHT, 15);
    second->Add(new wxStaticText(this, wxID_ANY, _("Colours:")), 0, centre | wxRIGHT, 5);
    second->Add(m_colours, 0, centre | wxRIGHT, 15);
    second->Add(new wxStaticText(this, wxID_ANY, _("Dithering:")), 0, centre | wxRIGHT, 5);
    second->Add(m_dither, 0, centre);
    auto* third = new wxBoxSizer(wxHORIZONTAL);
    third->Add(new wxStaticText(this, wxID_ANY, _("Looping:")), 0, centre | wxRIGHT, 5);
    third->Add(m_loopForever, 0, centre | wxRIGHT, 5);
    third->Add(m_loopTimes, 0, centre | wxRIGHT, 5);
    third->Add(m_loopCount, 0, centre | wxRIGHT, 5);
    third->Add(new wxStaticText(this, wxID_ANY, _("time(s)")), 0, centre);
    BuildSizeControls(this);
    auto* fourth = new wxBoxSizer(wxHORIZONTAL);
    fourth->Add(LossyRow(this), 0, centre | wxRIGHT, 15);
    fourth->Add(LimitRow(this), 0, centre);
    m_webpLossless = new wxRadioButton(this, ID_WEBP_LOSSLESS, _("Lossless"), wxDefaultPosition,
                                       wxDefaultSize, wxRB_GROUP);
    m_webpLossy = new wxRadioButton(this, ID_WEBP_LOSSY, _("Lossy, quality"));
    m_webpQuality = new wxSpinCtrl(this, ID_WEBP_QUALITY, wxString(), wxDefaultPosition,
                                   wxDefaultSize, wxSP_ARROW_KEYS, 0, kMaxWebpQuality,
                                   GifOptions().webpQuality);
    auto* fifth = new wxBoxSizer(wxHORIZONTAL);
    fifth->Add(new wxStaticText(this, wxID_ANY, _("WebP:")), 0, centre | wxRIGHT, 5);
    fifth->Add(m_webpLossless, 0, centre | wxRIGHT, 5);
    fifth->Add(m_webpLossy, 0, centre | wxRIGHT, 5);
    fifth->Add(m_webpQuality, 0, centre);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(first, 0, wxBOTTOM, 4);
    top->Add(second, 0, wxBOTTOM, 4);
    top->Add(fourth, 0, wxBOTTOM, 4);
    top->Add(third, 0, wxBOTTOM, 4);
    top->Add(fifth);
    SetSizerAndFit(top);
}

void GifOptionsPanel::BuildSizeControls(wxWindow* parent)
{
    m_lossy = new wxSpinCtrl(parent, ID_LOSSY, wxString(), wxDefaultPosition, wxDefaultSize,
                             wxSP_ARROW_KEYS, 0, kMaxGifLossy, 0);
    m_lossy->SetToolTip(
        _("0 keeps every colour exact; higher values make smaller files, mostly "
          "of photos, for a little noise"));
    m_limit = new wxCheckBox(parent, ID_LIMIT, _("Keep the file under"));
    m_limitSize = new wxSpinCtrl(parent, ID_LIMIT_SIZE, wxString(), wxDefaultPosition,
                                 wxDefaultSize, wxSP_ARROW_KEYS, 1, kMaxLimitNumber, 8);
    m_limitUnit = new wxChoice(parent, ID_LIMIT_UNIT);
    m_limitUnit->Append(_("MB"));
    m_limitUnit->Append(_("KB"));
    m_limitUnit->SetSelection(0);
}

wxSizer* GifOptionsPanel::LossyRow(wxWindow* parent)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(parent, wxID_ANY, _("Lossy compression:")), 0,
             wxALIGN_CENTER_VERTICAL);
    row->Add(m_lossy, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
    return row;
}

wxSizer* GifOptionsPanel::LimitRow(wxWindow*)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(m_limit, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(m_limitSize, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
    row->Add(m_limitUnit, 0, wxLEFT | wxALIGN_CENTER_VERTICAL, 5);
    return row;
}

GifOptions GifOptionsPanel::GetOptions() const
{
    GifOptions options = m_shown;
    options.optimised = m_optimised->GetValue();
    options.onlyChanges = m_onlyChanges->GetValue();
    options.globalPalette = m_globalPalette->GetValue();
    options.colours = m_colours->GetValue();
    const int dither = m_dither->GetSelection();
    options.dither = dither >= 0 && dither < 3 ? kDithers[dither] : GifDither::None;
    options.smooth = m_smooth->GetValue();
    options.loopCount = m_loopTimes->GetValue() ? m_loopCount->GetValue() : 0;
    if (m_webpLossy)
        options.webpQuality = m_webpLossy->GetValue() ? m_webpQuality->GetValue() : kWebpLossless;
    options.lossy = m_lossy->GetValue();
    options.maxBytes = m_limit->GetValue() ? std::uint64_t(m_limitSize->GetValue())
                                                 << (m_limitUnit->GetSelection() == 1 ? 10 : 20)
                                           : 0;
    return options;
}

void GifOptionsPanel::SetOptions(const GifOptions& options)
{
    m_shown = options;
    if (m_webpLossy)
    {
        m_webpLossless->SetValue(options.webpQuality == kWebpLossless);
        m_webpLossy->SetValue(options.webpQuality != kWebpLossless);
        if (options.webpQuality != kWebpLossless)
            m_webpQuality->SetValue(options.webpQuality);
    }
    m_classic->SetValue(!options.optimised);
    m_optimised->SetValue(options.optimised);
    m_onlyChanges->SetValue(options.onlyChanges);
    m_globalPalette->SetValue(options.globalPalette);
    m_colours->SetValue(options.colours);
    for (int i = 0; i < 3; ++i)
        if (kDithers[i] == options.dither)
            m_dither->SetSelection(i);
    m_smooth->SetValue(options.smooth);
    m_loopForever->SetValue(options.loopCount == 0);
    m_loopTimes->SetValue(options.loopCount > 0);
    if (options.loopCount > 0)
        m_loopCount->SetValue(options.loopCount);
    m_lossy->SetValue(options.lossy);
    m_limit->SetValue(options.maxBytes > 0);
    if (options.maxBytes > 0)
    {
        // Whole megabytes in MB, anything else in KB (at least 1).
        const bool megabytes = options.maxBytes % (1u << 20) == 0 &&
                               (options.maxBytes >> 20) <= std::uint64_t(kMaxLimitNumber);
        const std::uint64_t number =
            megabytes ? options.maxBytes >> 20 : std::max<std::uint64_t>(options.maxBytes >> 10, 1);
        m_limitUnit->SetSelection(megabytes ? 0 : 1);
        m_limitSize->SetValue(int(std::min<std::uint64_t>(number, kMaxLimitNumber)));
    }
    ShowEnabledParts();
}

void GifOptionsPanel::ShowEnabledParts()
{
    const bool optimised = m_optimised->GetValue();
    for (wxWindow* part :
         {static_cast<wxWindow*>(m_onlyChanges), static_cast<wxWindow*>(m_globalPalette),
          static_cast<wxWindow*>(m_colours), static_cast<wxWindow*>(m_dither),
          static_cast<wxWindow*>(m_smooth), static_cast<wxWindow*>(m_lossy),
          static_cast<wxWindow*>(m_limit)})
        part->Enable(optimised);
    m_limitSize->Enable(optimised && m_limit->GetValue());
    m_limitUnit->Enable(optimised && m_limit->GetValue());
    m_loopCount->Enable(m_loopTimes->GetValue());
    if (m_webpQuality)
        m_webpQuality->Enable(m_webpLossy->GetValue());
}

void GifOptionsPanel::ShowEstimate(std::vector<ExportFrame> frames, const wxSize& size)
{
    if (m_estimate)
        return;
    m_estimate = new GifEstimateText(this, std::move(frames), size.x, size.y, GetOptions());
    GetSizer()->Add(m_estimate, 0, wxTOP | wxEXPAND, 6);
    Fit();
}

wxString GifOptionsPanel::GetEstimateText() const
{
    return m_estimate ? m_estimate->GetLabel() : wxString();
}

void GifOptionsPanel::Changed()
{
    if (m_estimate)
        m_estimate->Follow(GetOptions());
    if (m_changed)
        m_changed();
}

void GifOptionsPanel::OnChange(wxCommandEvent& event)
{
    event.Skip();
    ShowEnabledParts();
    Changed();
}

void GifOptionsPanel::OnSpin(wxSpinEvent& event)
{
    event.Skip();
    Changed();
}

wxWindow* CreateGifOptionsChooserPanel(wxWindow* parent)
{
    auto* panel = new GifOptionsPanel(parent, GifOptionsPanel::Layout::Compact, ChooserOptions());
    // The panel's estimate reads the frames until the chooser closes.
    panel->ShowEstimate(ChooserFrames().frames, ChooserFrames().size);
    return panel;
}

void SetChooserGifOptions(const GifOptions& options)
{
    ChooserOptions() = options;
}

void SetChooserEstimate(std::vector<ExportFrame> frames, const wxSize& size)
{
    ChooserFrames() = ChooserEstimate{std::move(frames), size};
}
