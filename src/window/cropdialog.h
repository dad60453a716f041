#ifndef LOOPFORGE_WINDOW_CROPDIALOG_H
#define LOOPFORGE_WINDOW_CROPDIALOG_H

#include <wx/dialog.h>

class CropSelector;
class wxImage;
class wxSpinCtrl;
class wxSpinEvent;
class wxCommandEvent;

// Asks for the part of the frames to keep: a rectangle dragged on the
// picture, or typed as x, y, width and height, in the picture's pixels as
// shown.
class CropDialog : public wxDialog
{
public:
    CropDialog(wxWindow* parent, const wxImage& picture, const wxRect& selection);

    // The rectangle chosen; valid after ShowModal() returned wxID_OK.
    wxRect GetSelection() const;
    CropSelector* GetSelector() const { return m_selector; }

    enum
    {
        ID_SELECTOR = wxID_HIGHEST + 1,
        ID_X,
        ID_Y,
        ID_WIDTH,
        ID_HEIGHT,
        ID_WHOLE
    };

private:
    // The fields show the rectangle of the selector, and the other way round.
    void ShowSelectionInFields();
    void OnField(wxSpinEvent& event);
    void OnFieldText(wxCommandEvent& event);
    void OnWhole(wxCommandEvent& event);

    CropSelector* m_selector;
    wxSpinCtrl* m_fields[4];  // x, y, width, height
    bool m_updating = false;
};

#endif
