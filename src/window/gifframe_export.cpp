#include "window/gifframe.h"

#include "edit/framelist.h"
#include "encode/animationexport.h"
#include "encode/videoexport.h"
#include "jobs/threadevent.h"
#include "jobs/worksaveasgifthread.h"
#include "project/savedstate.h"
#include "project/sourceoverwrite.h"
#include "window/chooserwildcards.h"
#include "window/confirmreplace.h"
#include "window/gifoptionschoice.h"
#include "window/gifoptionsdialog.h"
#include "window/gifoptionspanel.h"
#include "window/translatedbuttons.h"
#include "window/workerprogress.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <iostream>
#include <iterator>
#include <vector>

namespace
{
// The GIF file chooser shared by Save and Save As, with the GIF options
// below its file list; empty when cancelled. Its file types are the formats,
// in the order of kExportFormats; the one chosen (or named by the file's
// ending) becomes the options' format. A confirmed choice of options becomes
// the window's and is remembered for the user. The frames and size feed the
// panel's size estimate.
wxString ChooseGifFile(wxWindow* parent, const wxString& title, GifOptions& options,
                       std::vector<ExportFrame> frames, const wxSize& size)
{
    wxFileDialog dialog(parent, title, wxString(),
                        wxS("*.") + ExportFormatName(options.format),
                        ExportChooserWildcard(CanWriteVideo()),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    for (std::size_t i = 0; i < std::size(kExportFormats); ++i)
        if (kExportFormats[i] == options.format)
            dialog.SetFilterIndex(static_cast<int>(i));
    SetChooserGifOptions(options);
    SetChooserEstimate(std::move(frames), size);
    dialog.SetExtraControlCreator(&CreateGifOptionsChooserPanel);
    const int answer = dialog.ShowModal();
    SetChooserEstimate({}, wxSize());
    if (answer != wxID_OK)
        return wxString();
    const auto* panel = dynamic_cast<GifOptionsPanel*>(dialog.GetExtraControl());
    GifOptions chosen = panel ? panel->GetOptions() : options;
    const int filter = dialog.GetFilterIndex();
    chosen.format = ExportFormatFor(dialog.GetPath(),
                                    filter >= 0 && filter < int(std::size(kExportFormats))
                                        ? kExportFormats[filter]
                                        : options.format);
    if (chosen != options)
    {
        options = chosen;
        SaveUserGifOptions(options);
    }
    return dialog.GetPath();
}
}  // namespace

std::vector<ExportFrame> GifFrame::ChooserFrames() const
{
    return m_frames->GetExportFrames(m_spinctrl_delay->GetValue(), *m_crop);
}

wxSize GifFrame::ChooserSize() const
{
    return wxSize(m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue());
}

wxString GifFrame::EnsureGifExtension(const wxString& path, ExportFormat format)
{
    // Another format's ending may be in any case; a GIF's stays as it always was.
    ExportFormat named = ExportFormat::Gif;
    if (path.EndsWith(wxS(".gif")) || (ExportFormatOfPath(path, named) && named != ExportFormat::Gif))
        return path;
    return path + wxS(".") + ExportFormatName(format);
}

bool GifFrame::RefuseOverwritingSource(const wxString& path)
{
    const wxString source = FindOverwrittenSource(path, m_frames->GetNames(), m_projectPath);
    if (source.empty())
        return false;
    ShowMessageBox(this,
                   wxString::Format(_("Cannot write %s: %s"), path,
                                    DescribeOverwrittenSource(source)),
                   GetTitle(), wxOK | wxICON_ERROR);
    return true;
}

bool GifFrame::StartExport(int width, int height, const wxString& title)
{
    if (IsWorkerRunning())
        return false;

    // The worker loads each picture from its stored copy, which the export
    // holds on to until it is over, whatever happens to the strip meanwhile.
    const std::vector<ExportFrame> frames =
        m_frames->GetExportFrames(m_spinctrl_delay->GetValue(), *m_crop);
    auto pictures = std::make_shared<std::vector<std::shared_ptr<const FrameSource>>>();
    for (const StripFrame& frame : m_frames->GetFrames())
        pictures->push_back(frame.source);

    const wxString path = m_gifPath;
    const bool started = m_exportWorker->Start(
        [&](const WorkerProgress::StopFlag& stop)
        { return new WorkSaveAsGifThread(this, frames, path, width, height, stop, m_gifOptions); },
        title, _(" Saving images...."), wxString::Format(_("Cannot start saving \"%s\"."), path),
        pictures);
    // Nothing was written, so the next Save must not take the file as up to date.
    if (!started)
        m_exportSaved.reset();
    return started;
}

void GifFrame::OnSaveAnimator(wxCommandEvent&)
{
    std::cout << "OnSaveAnimator" << std::endl;
    StopPlayback();
    if (IsWorkerRunning())
        return;

    if (m_frames->IsEmpty())
    {
        if (m_gifPath.empty())
        {
            const wxString chosen = ChooseGifFile(this, _("Save GIF Files"), m_gifOptions,
                                                  ChooserFrames(), ChooserSize());
            if (!chosen.empty())
            {
                m_gifPath = chosen;
                m_gifFileName = wxFileNameFromPath(chosen);
            }
        }
        return;
    }

    if (m_gifPath.empty())
    {
        const wxString chosen =
            ChooseGifFile(this, _("Save GIF Files"), m_gifOptions, ChooserFrames(), ChooserSize());
        if (chosen.empty())
            return;
        const wxString path = EnsureGifExtension(chosen, m_gifOptions.format);
        if (RefuseOverwritingSource(path) ||
            !MayWriteWithAddedEnding(this, chosen, path, _("Save GIF Files")))
            return;
        m_gifPath = path;
        m_gifFileName = wxFileNameFromPath(m_gifPath);
    }
    else
    {
        if (IsExportSnapshotCurrent() && wxFileName::FileExists(m_gifPath))
            return;
        // A remembered file that became a source (a project's own GIF whose
        // frames were added) is given up: the next Save asks for another.
        if (RefuseOverwritingSource(m_gifPath))
        {
            m_gifPath.clear();
            return;
        }
    }

    TakeExportSnapshot();
    if (StartExport(m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue(),
                    _("Save GIF Progress Dialog")))
        ShowExportStatus();
}

void GifFrame::OnSaveAsGif(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning() || m_frames->IsEmpty())
        return;

    const wxString chosen =
        ChooseGifFile(this, _("Save As GIF Files"), m_gifOptions, ChooserFrames(), ChooserSize());
    if (chosen.empty())
    {
        // Cancelling Save As forgets the remembered output file.
        m_gifPath.clear();
        return;
    }
    const wxString path = EnsureGifExtension(chosen, m_gifOptions.format);
    if (RefuseOverwritingSource(path) ||
        !MayWriteWithAddedEnding(this, chosen, path, _("Save As GIF Files")))
        return;
    m_gifPath = path;
    m_gifFileName = wxFileNameFromPath(m_gifPath);
    TakeExportSnapshot();
    if (StartExport(m_gifWidth, m_gifHeight, _("Save As GIF Progress Dialog")))
        ShowExportStatus();
}

void GifFrame::OnGifOptions(wxCommandEvent&)
{
    StopPlayback();
    if (IsWorkerRunning())
        return;
    // The dialog's estimate reads the frames in place while it is shown.
    GifOptionsDialog dialog(this, m_gifOptions,
                            m_frames->GetExportFrames(m_spinctrl_delay->GetValue(), *m_crop),
                            m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue());
    if (dialog.ShowModal() != wxID_OK)
        return;
    m_gifOptions = dialog.GetOptions();
    SaveUserGifOptions(m_gifOptions);
}

SavedState GifFrame::CurrentSavedState() const
{
    SavedState state = SavedState::Of(*m_frames, m_spinctrl_delay->GetValue(),
                                      m_spinctrl_width->GetValue(),
                                      m_spinctrl_height->GetValue(), m_gifOptions);
    state.crop = *m_crop;
    return state;
}

void GifFrame::TakeExportSnapshot()
{
    m_exportSaved.reset(new SavedState(CurrentSavedState()));
}

// The GIF is up to date only with the very pictures, order, delays, size and
// GIF options of its last export.
bool GifFrame::IsExportSnapshotCurrent() const
{
    return m_exportSaved && m_exportSaved->SamePictures(CurrentSavedState());
}

void GifFrame::ShowExportStatus()
{
    m_statusBar1->SetStatusText(
        wxString::Format(wxS("%s (%d * %d)px"), m_gifFileName, m_spinctrl_width->GetValue(),
                         m_spinctrl_height->GetValue()),
        0);
}

void GifFrame::WorkSaveAsGifThreadUpdate(wxCommandEvent& event)
{
    std::cout << "WorkSaveAsGifThreadUpdate:" << std::endl;
    if (!m_exportWorker->Advance(event.GetInt()))
        return;

    if (event.GetExtraLong() != 0 && !event.GetString().empty())
        m_statusBar1->SetStatusText(event.GetString(), 0);
    if (event.GetExtraLong() == 0)
    {
        // Nothing was written: the next Save must try again.
        m_exportSaved.reset();
        if (!m_exportWorker->IsCloseRequested())
            ShowMessageBox(this, event.GetString(), MessageCaption(), wxOK | wxICON_ERROR);
    }
    else if (!event.GetString().empty() && !m_exportWorker->IsCloseRequested() &&
             m_gifOptions.format == ExportFormat::Gif && m_gifOptions.maxBytes > 0)
    {
        // What a size limit changed is told in a box: the file differs from
        // the options the user chose. Lesser notes (a video padded by a
        // pixel) stay in the status bar.
        ShowMessageBox(this, event.GetString(), MessageCaption(), wxOK | wxICON_INFORMATION);
    }

    UpdateTitle();
    CloseIfRequested(*m_exportWorker);
}
