#ifndef LOOPFORGE_WINDOW_SPEEDDIALOG_H
#define LOOPFORGE_WINDOW_SPEEDDIALOG_H

#include <wx/dialog.h>

class wxSpinCtrl;

// Asks how fast the frames play, in percent of their present speed.
class SpeedDialog : public wxDialog
{
public:
    explicit SpeedDialog(wxWindow* parent);

    // The percentage entered; valid after ShowModal() returned wxID_OK.
    int GetPercent() const;

    enum
    {
        ID_PERCENT = wxID_HIGHEST + 1
    };

private:
    wxSpinCtrl* m_percentSpin;
};

#endif
