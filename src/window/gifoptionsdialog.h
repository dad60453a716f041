#ifndef LOOPFORGE_WINDOW_GIFOPTIONSDIALOG_H
#define LOOPFORGE_WINDOW_GIFOPTIONSDIALOG_H

#include "encode/gifexport.h"
#include "encode/gifoptions.h"

#include <wx/dialog.h>

#include <vector>

class GifEstimateText;
class GifOptionsPanel;

// The GIF Options dialog: the options panel and what the current strip
// would come to with them (see GifEstimateText), estimated again whenever a
// choice changes. The frames are read in place: the strip must not change
// while the dialog is shown.
class GifOptionsDialog : public wxDialog
{
public:
    GifOptionsDialog(wxWindow* parent, const GifOptions& options, std::vector<ExportFrame> frames,
                     int width, int height);

    GifOptions GetOptions() const;

    // The estimate as shown; for tests.
    wxString GetEstimateText() const;

private:
    GifOptionsPanel* m_panel;
    GifEstimateText* m_estimate;
};

#endif
