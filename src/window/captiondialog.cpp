#include "window/captiondialog.h"

#include "window/translatedbuttons.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clrpicker.h>
#include <wx/combobox.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace
{
wxColour ToColour(const CaptionColour& colour)
{
    return wxColour(colour.red, colour.green, colour.blue);
}

// The picker has no opacity: the caption's own is kept.
CaptionColour FromColour(const wxColour& colour, std::uint8_t alpha)
{
    return {colour.Red(), colour.Green(), colour.Blue(), alpha};
}
}  // namespace

CaptionDialog::CaptionDialog(wxWindow* parent, const wxString& title, const Caption& caption,
                             int first, int last, int frameCount)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_caption(caption)
{
    const int gap = FromDIP(6);
    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, _("Text:")), 0, wxLEFT | wxRIGHT | wxTOP,
             FromDIP(10));
    m_text = new wxTextCtrl(this, ID_TEXT, caption.text, wxDefaultPosition,
                            wxSize(FromDIP(360), FromDIP(70)), wxTE_MULTILINE);
    top->Add(m_text, 1, wxEXPAND | wxALL, FromDIP(10));

    wxFlexGridSizer* grid = new wxFlexGridSizer(2, gap, gap);
    const auto label = [&](const wxString& text)
    { grid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL); };
    const auto row = [&](std::initializer_list<wxWindow*> windows)
    {
        wxBoxSizer* line = new wxBoxSizer(wxHORIZONTAL);
        for (wxWindow* window : windows)
            line->Add(window, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
        grid->Add(line);
    };

    label(_("Font:"));
    const wxString families[] = {wxS("Sans"), wxS("Serif"), wxS("Monospace")};
    m_family = new wxComboBox(this, ID_FONT, caption.family, wxDefaultPosition, wxDefaultSize,
                              WXSIZEOF(families), families);
    m_size = new wxSpinCtrl(this, ID_SIZE, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS, kMinCaptionSize, kMaxCaptionSize, caption.size);
    m_bold = new wxCheckBox(this, wxID_ANY, _("Bold"));
    m_bold->SetValue(caption.bold);
    m_italic = new wxCheckBox(this, wxID_ANY, _("Italic"));
    m_italic->SetValue(caption.italic);
    row({m_family, m_size, new wxStaticText(this, wxID_ANY, _("px")), m_bold, m_italic});

    label(_("Text color:"));
    m_colour = new wxColourPickerCtrl(this, wxID_ANY, ToColour(caption.colour));
    row({m_colour});

    label(_("Outline:"));
    m_outline = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                               wxSP_ARROW_KEYS, 0, kMaxCaptionOutline, caption.outline);
    m_outlineColour = new wxColourPickerCtrl(this, wxID_ANY, ToColour(caption.outlineColour));
    row({m_outline, new wxStaticText(this, wxID_ANY, _("px")), m_outlineColour});

    label(wxString());
    m_box = new wxCheckBox(this, wxID_ANY, _("Box behind the text"));
    m_box->SetValue(caption.box);
    m_boxColour = new wxColourPickerCtrl(this, wxID_ANY, ToColour(caption.boxColour));
    row({m_box, m_boxColour});

    label(_("Position:"));
    const wxString places[] = {_("Top"), _("Center"), _("Bottom"), _("Where dragged")};
    m_place =
        new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, WXSIZEOF(places), places);
    m_place->SetSelection(int(caption.place));
    row({m_place});

    label(_("Frames:"));
    frameCount = std::max(frameCount, 1);
    m_first = new wxSpinCtrl(this, ID_FIRST, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                             wxSP_ARROW_KEYS, 1, frameCount, std::clamp(first, 1, frameCount));
    m_last = new wxSpinCtrl(this, ID_LAST, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS, 1, frameCount, std::clamp(last, 1, frameCount));
    row({m_first, new wxStaticText(this, wxID_ANY, _("to")), m_last});
    top->Add(grid, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    AddOkCancelButtons(this, top);

    SetSizerAndFit(top);
    CentreOnParent();
    m_text->SetFocus();
    m_text->SelectAll();
}

Caption CaptionDialog::GetCaption() const
{
    Caption caption = m_caption;
    caption.text = m_text->GetValue();
    caption.family = m_family->GetValue().Strip(wxString::both);
    caption.size = m_size->GetValue();
    caption.bold = m_bold->GetValue();
    caption.italic = m_italic->GetValue();
    caption.colour = FromColour(m_colour->GetColour(), caption.colour.alpha);
    caption.outline = m_outline->GetValue();
    caption.outlineColour = FromColour(m_outlineColour->GetColour(), caption.outlineColour.alpha);
    caption.box = m_box->GetValue();
    caption.boxColour = FromColour(m_boxColour->GetColour(), caption.boxColour.alpha);
    if (m_place->GetSelection() != wxNOT_FOUND)
        caption.place = CaptionPlace(m_place->GetSelection());
    return SanitisedCaption(caption);
}

int CaptionDialog::GetFirstFrame() const
{
    return std::min(m_first->GetValue(), m_last->GetValue());
}

int CaptionDialog::GetLastFrame() const
{
    return std::max(m_first->GetValue(), m_last->GetValue());
}
