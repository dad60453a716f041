#ifndef LOOPFORGE_WINDOW_LOOPCOUNTDIALOG_H
#define LOOPFORGE_WINDOW_LOOPCOUNTDIALOG_H

#include <wx/dialog.h>

class wxButton;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticBox;
class wxStaticText;

// Asks how many times the preview plays the strip: a number of passes, or
// endlessly (0). The last confirmed choice is remembered for the next dialog.
class LoopCountDialog : public wxDialog
{
public:
    explicit LoopCountDialog(wxWindow* parent);
    ~LoopCountDialog() override = default;

    // The confirmed loop count; 0 means endless. Valid after ShowModal()
    // returned wxID_OK.
    int GetLoopCount() const { return m_loopCount; }

    // The choice every new dialog starts from (0 at program start).
    static int GetRememberedChoice();
    static void SetRememberedChoice(int loopCount);

    // Window ids of the controls.
    enum
    {
        ID_PLAY_TIMES = 0,
        ID_PLAY_ENDLESSLY = 1,
        ID_COUNT = 2,
        ID_FRAME_BOX = 5105
    };

private:
    void OnPlayTimes(wxCommandEvent& event);
    void OnPlayEndlessly(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);

    wxButton* m_okButton;
    wxButton* m_cancelButton;
    wxRadioButton* m_playTimesRadio;
    wxRadioButton* m_playEndlesslyRadio;
    wxStaticBox* m_frameBox;
    wxStaticText* m_timesLabel;
    wxSpinCtrl* m_countSpin;
    int m_loopCount;

    wxDECLARE_CLASS(LoopCountDialog);
    wxDECLARE_EVENT_TABLE();
};

#endif
