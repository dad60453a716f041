#ifndef LOOPFORGE_WINDOW_VIDEOIMPORTDIALOG_H
#define LOOPFORGE_WINDOW_VIDEOIMPORTDIALOG_H

#include "decode/videoclip.h"

#include <wx/dialog.h>
#include <wx/timer.h>

class wxCheckBox;
class wxSpinCtrl;
class wxSpinCtrlDouble;
class wxSpinDoubleEvent;
class wxStaticBitmap;
class wxStaticText;

// Asks which part of a probed video clip becomes frames: its start and end
// (each shown as the frame there), the frame rate of the GIF (at most the
// clip's) and, if wanted, a width the frames are scaled to.
class VideoImportDialog : public wxDialog
{
public:
    VideoImportDialog(wxWindow* parent, const wxString& path, const VideoClipInfo& info);

    // The part chosen; valid after ShowModal() returned wxID_OK.
    VideoRange GetRange() const;

    enum
    {
        ID_START = wxID_HIGHEST + 1,
        ID_END,
        ID_RATE,
        ID_SCALE,
        ID_WIDTH
    };

    // The side of the square the previews fit in.
    static constexpr int kPreviewSide = 200;

private:
    void OnChanged(wxCommandEvent& event);
    void OnTimeChanged(wxSpinDoubleEvent& event);
    void OnPreviewTimer(wxTimerEvent& event);
    void ShowCount();
    // Shows the frame at seconds, or with before the last one before it.
    void ShowFrame(double seconds, bool before, wxStaticBitmap* preview);

    wxString m_path;
    VideoClipInfo m_info;
    wxSpinCtrlDouble* m_startSpin;
    wxSpinCtrlDouble* m_endSpin;
    wxSpinCtrl* m_rateSpin;
    wxCheckBox* m_scaleCheck;
    wxSpinCtrl* m_widthSpin;
    wxStaticText* m_countText;
    wxStaticBitmap* m_startPreview;
    wxStaticBitmap* m_endPreview;
    // The previews follow the times once typing or spinning pauses, so that
    // holding an arrow does not start ffmpeg for every step.
    wxTimer m_previewTimer;
    double m_shownStart = -1;
    double m_shownEnd = -1;
};

// A clip's length as minutes and seconds ("1:05.5").
wxString FormatClipTime(double seconds);

#endif
