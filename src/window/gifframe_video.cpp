// Import Video: the part of a clip chosen in a dialog becomes frames.
#include "window/gifframe.h"

#include "edit/importrun.h"
#include "window/chooserwildcards.h"
#include "window/translatedbuttons.h"
#include "window/videoimportdialog.h"

#include <wx/filedlg.h>
#include <wx/intl.h>

void GifFrame::OnImportVideo(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    wxString missing;
    if (!VideoToolsInstalled(missing))
    {
        ShowMessageBox(this, missing, MessageCaption(), wxOK | wxICON_WARNING);
        return;
    }
    wxFileDialog chooser(this, _("Import Video"), wxString(), wxString(), VideoChooserWildcard(),
                         wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (chooser.ShowModal() == wxID_OK)
        ImportVideo(chooser.GetPath());
}

bool GifFrame::ImportVideo(const wxString& path, int insertAt)
{
    if (IsWorkerRunning())
        return false;
    VideoClipInfo info;
    wxString error;
    if (!ProbeVideoClip(path, info, error))
    {
        ShowMessageBox(this, error, MessageCaption(), wxOK | wxICON_WARNING);
        return false;
    }
    VideoImportDialog dialog(this, path, info);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    return StartVideoImport(dialog.GetRange(), insertAt);
}

bool GifFrame::StartVideoImport(const VideoRange& range, int insertAt)
{
    ImportRun run(wxArrayString(1, &range.path), {}, insertAt);
    run.SetVideoEntries({VideoEntry{std::make_shared<const VideoRange>(range), -1}});
    run.keepNothingOnCancel = true;
    return StartImport(run, false);
}
