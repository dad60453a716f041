#ifndef LOOPFORGE_WINDOW_FRAMEDELAYDIALOG_H
#define LOOPFORGE_WINDOW_FRAMEDELAYDIALOG_H

#include <wx/dialog.h>

class wxSpinCtrl;

// Asks for the delay of the selected frames in hundredths of a second; 0
// gives them the animation's delay again.
class FrameDelayDialog : public wxDialog
{
public:
    FrameDelayDialog(wxWindow* parent, int delay);

    // The delay entered; valid after ShowModal() returned wxID_OK.
    int GetDelay() const;

    enum
    {
        ID_DELAY = wxID_HIGHEST + 1
    };

private:
    wxSpinCtrl* m_delaySpin;
};

#endif
