#ifndef LOOPFORGE_WINDOW_REPEATEDFRAMESDIALOG_H
#define LOOPFORGE_WINDOW_REPEATEDFRAMESDIALOG_H

#include <wx/dialog.h>

class wxSpinCtrlDouble;

// Asks how much a frame may differ from the one before it and still count
// as a repeat: the mean colour difference per pixel, 0 for exact repeats.
class RepeatedFramesDialog : public wxDialog
{
public:
    explicit RepeatedFramesDialog(wxWindow* parent);

    // The tolerance entered; valid after ShowModal() returned wxID_OK.
    double GetTolerance() const;

    enum
    {
        ID_TOLERANCE = wxID_HIGHEST + 1
    };

private:
    wxSpinCtrlDouble* m_toleranceSpin;
};

#endif
