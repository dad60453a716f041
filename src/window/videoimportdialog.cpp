#include "window/videoimportdialog.h"

#include "window/translatedbuttons.h"

#include <wx/bitmap.h>
#include <wx/checkbox.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

namespace
{
// The end of the last whole tenth of a second in the clip.
double LastTime(const VideoClipInfo& info)
{
    return std::max(0.1, std::floor(info.duration * 10) / 10);
}

wxBitmap PreviewBitmap(const wxImage& picture, int side)
{
    if (!picture.IsOk())
        return wxBitmap(side, side * 3 / 4);
    const double scale = std::min(
        1.0, std::min(double(side) / picture.GetWidth(), double(side) / picture.GetHeight()));
    return wxBitmap(picture.Scale(std::max(1, int(picture.GetWidth() * scale)),
                                  std::max(1, int(picture.GetHeight() * scale)),
                                  wxIMAGE_QUALITY_BILINEAR));
}
}  // namespace

wxString FormatClipTime(double seconds)
{
    const long tenths = std::lround(std::max(0.0, seconds) * 10);
    return wxString::Format(wxS("%ld:%02ld.%ld"), tenths / 600, tenths / 10 % 60, tenths % 10);
}

VideoImportDialog::VideoImportDialog(wxWindow* parent, const wxString& path,
                                     const VideoClipInfo& info)
    : wxDialog(parent, wxID_ANY, _("Import Video")),
      m_path(path),
      m_info(info),
      m_previewTimer(this)
{
    const int gap = FromDIP(6);
    const double last = LastTime(info);
    const int maxRate =
        std::max(1, int(std::floor(std::min(info.frameRate, kMaxVideoFrameRate) + 1e-6)));

    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(
        new wxStaticText(
            this, wxID_ANY,
            wxFileNameFromPath(path) + wxS("\n") +
                wxString::Format(_("Length %s, %d x %d pixels, %s frames a second"),
                                 FormatClipTime(info.duration), info.width, info.height,
                                 wxString::FromDouble(std::round(info.frameRate * 100) / 100))),
        0, wxALL, FromDIP(10));

    // The start and the end side by side, each above the frame shown there.
    wxBoxSizer* times = new wxBoxSizer(wxHORIZONTAL);
    auto addTime = [&](const wxString& label, int id, double value, wxSpinCtrlDouble*& spin,
                       wxStaticBitmap*& preview)
    {
        wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
        wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
        spin = new wxSpinCtrlDouble(this, id, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    wxSP_ARROW_KEYS, 0, last, value, 0.1);
        spin->SetDigits(1);
        row->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                 gap);
        row->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
        row->Add(new wxStaticText(this, wxID_ANY, _("seconds")), 0, wxALIGN_CENTER_VERTICAL);
        column->Add(row, 0, wxBOTTOM, gap);
        preview =
            new wxStaticBitmap(this, wxID_ANY, PreviewBitmap(wxImage(), FromDIP(kPreviewSide)));
        preview->SetMinSize(FromDIP(wxSize(kPreviewSide, kPreviewSide)));
        column->Add(preview, 0, wxALIGN_CENTER_HORIZONTAL);
        times->Add(column, 0, wxRIGHT, FromDIP(10));
    };
    addTime(_("Start:"), ID_START, 0, m_startSpin, m_startPreview);
    addTime(_("End:"), ID_END, last, m_endSpin, m_endPreview);
    top->Add(times, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    wxFlexGridSizer* settings = new wxFlexGridSizer(3, gap, gap);
    m_rateSpin = new wxSpinCtrl(
        this, ID_RATE, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 1, maxRate,
        int(std::lround(std::min<double>(maxRate, DefaultGifFrameRate(info.frameRate)))));
    settings->Add(new wxStaticText(this, wxID_ANY, _("Frame rate:")), 0, wxALIGN_CENTER_VERTICAL);
    settings->Add(m_rateSpin, 0, wxALIGN_CENTER_VERTICAL);
    settings->Add(new wxStaticText(this, wxID_ANY,
                                   wxString::Format(_("frames a second (at most %d)"), maxRate)),
                  0, wxALIGN_CENTER_VERTICAL);
    m_scaleCheck = new wxCheckBox(this, ID_SCALE, _("Scale to a width of"));
    m_widthSpin = new wxSpinCtrl(this, ID_WIDTH, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, 1, info.width, std::min(info.width, 480));
    m_widthSpin->Enable(false);
    settings->Add(m_scaleCheck, 0, wxALIGN_CENTER_VERTICAL);
    settings->Add(m_widthSpin, 0, wxALIGN_CENTER_VERTICAL);
    settings->Add(new wxStaticText(this, wxID_ANY, _("pixels")), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(settings, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    m_countText = new wxStaticText(this, wxID_ANY, wxString());
    top->Add(m_countText, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));

    AddOkCancelButtons(this, top);
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(wxEVT_SPINCTRLDOUBLE, &VideoImportDialog::OnTimeChanged, this);
    Bind(wxEVT_SPINCTRL, &VideoImportDialog::OnChanged, this);
    Bind(wxEVT_CHECKBOX, &VideoImportDialog::OnChanged, this);
    Bind(wxEVT_TIMER, &VideoImportDialog::OnPreviewTimer, this);
    ShowCount();
    m_previewTimer.StartOnce(1);
}

VideoRange VideoImportDialog::GetRange() const
{
    VideoRange range;
    range.path = m_path;
    range.start = m_startSpin->GetValue();
    // The last tenth the end spin shows stands for the clip's very end.
    range.end = m_endSpin->GetValue() >= LastTime(m_info) ? m_info.duration : m_endSpin->GetValue();
    range.frameRate = m_rateSpin->GetValue();
    range.width = m_scaleCheck->GetValue() ? m_widthSpin->GetValue() : 0;
    return range;
}

void VideoImportDialog::ShowCount()
{
    const VideoRange range = GetRange();
    const int count = ExpectedVideoFrameCount(range);
    const wxSize size = VideoFrameSize(wxSize(m_info.width, m_info.height), range.width);
    m_countText->SetLabel(
        range.end > range.start
            ? wxString::Format(wxPLURAL("About %d frame of %d x %d pixels",
                                        "About %d frames of %d x %d pixels", count),
                               count, size.x, size.y)
            : wxString(_("The end must come after the start.")));
    if (wxWindow* ok = FindWindow(wxID_OK))
        ok->Enable(range.end > range.start && count > 0);
}

void VideoImportDialog::OnChanged(wxCommandEvent&)
{
    m_widthSpin->Enable(m_scaleCheck->GetValue());
    ShowCount();
}

void VideoImportDialog::OnTimeChanged(wxSpinDoubleEvent&)
{
    ShowCount();
    m_previewTimer.StartOnce(300);
}

void VideoImportDialog::OnPreviewTimer(wxTimerEvent&)
{
    if (m_startSpin->GetValue() != m_shownStart)
    {
        m_shownStart = m_startSpin->GetValue();
        ShowFrame(m_shownStart, false, m_startPreview);
    }
    if (m_endSpin->GetValue() != m_shownEnd)
    {
        m_shownEnd = m_endSpin->GetValue();
        ShowFrame(std::min(GetRange().end, m_info.duration), true, m_endPreview);
    }
}

void VideoImportDialog::ShowFrame(double seconds, bool before, wxStaticBitmap* preview)
{
    // The frame shown at the end is the last one before it: the last of a
    // short stretch read up to it.
    VideoRange range;
    range.path = m_path;
    range.start = before ? std::max(0.0, seconds - 0.5) : seconds;
    range.end = before ? seconds : std::min(m_info.duration, seconds + 0.5);
    range.frameRate = std::min(m_info.frameRate, kMaxVideoFrameRate);
    range.width = std::min(m_info.width, FromDIP(kPreviewSide) * 2);
    wxString error;
    wxImage picture;
    VideoFrameReader reader;
    if (reader.Open(range, wxSize(m_info.width, m_info.height), 0, error))
        for (wxImage next; reader.Next(next, error) && (before || !picture.IsOk());)
            picture = next;
    preview->SetBitmap(PreviewBitmap(picture, FromDIP(kPreviewSide)));
    preview->SetToolTip(picture.IsOk() ? wxString() : error);
    Layout();
}
