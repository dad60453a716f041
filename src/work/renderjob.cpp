#include "work/renderjob.h"

#include "work/canvassize.h"
#include "work/picturesequence.h"
#include "work/projectfile.h"
#include "work/unreadablepictures.h"

#include <wx/filename.h>
#include <wx/intl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
// The window's delay control allows 1 to 65535 hundredths.
const int kMinDelay = 1;
const int kMaxDelay = 0xFFFF;

wxString WithoutXmlEnding(const wxString& name)
{
    return name.Lower().EndsWith(wxS(".xml")) ? name.Left(name.length() - 4) : name;
}
}  // namespace

wxString ProjectDefaultOutput(const wxString& projectPath, const wxString& gifName)
{
    wxString name = wxFileNameFromPath(gifName);
    if (name.empty() || name == wxS(".") || name == wxS(".."))
        name = WithoutXmlEnding(wxFileNameFromPath(projectPath)) + wxS(".gif");
    else if (!name.EndsWith(wxS(".gif")))
        name += wxS(".gif");
    const wxString folder = wxPathOnly(projectPath);
    return folder.empty() ? name : folder + wxS("/") + name;
}

bool ReadProjectRenderJob(const wxString& projectPath, const wxString& output, RenderJob& job,
                          wxString& error)
{
    if (!wxFileName::Exists(projectPath))
    {
        error = wxString::Format(_("cannot read the project %s: no such file"), projectPath);
        return false;
    }
    const ProjectReadResult read = ReadProjectFile(projectPath);
    if (!read.IsComplete())
    {
        error = wxString::Format(_("cannot read the project %s: %s"), projectPath,
                                 DescribeProjectReadStage(read.stage));
        return false;
    }
    const Project& project = read.project;
    if (project.framePaths.empty())
    {
        error = wxString::Format(_("the project %s names no pictures"), projectPath);
        return false;
    }
    job = RenderJob();
    job.project = projectPath;
    job.inputs = project.framePaths;
    job.output = output.empty() ? ProjectDefaultOutput(projectPath, project.gifName) : output;
    job.delay = std::clamp(project.delay, kMinDelay, kMaxDelay);
    job.delays = project.frameDelays;
    const wxSize size = ProjectOutputSize(project);
    job.width = size.x;
    job.height = size.y;
    return true;
}

GifExportResult RunRenderJob(const RenderJob& job, const ExportProgress& progress)
{
    GifExportResult result;
    std::vector<std::unique_ptr<wxImage>> pictures;
    std::vector<int> delays;
    wxArrayString unreadable;
    wxString refusal;
    auto delayOf = [&job](size_t input)
    { return input < job.delays.size() && job.delays[input] > 0 ? job.delays[input] : job.delay; };
    PictureSequence sequence(job.inputs,
                             [&](size_t input, PictureDecodeStatus status)
                             {
                                 if (IsReportedRefusal(status))
                                     refusal = wxString::Format(
                                         _("cannot read a picture from %s: %s"), job.inputs[input],
                                         DescribePictureDecodeStatus(status));
                                 else if (status == PictureDecodeStatus::Unreadable)
                                     unreadable.push_back(job.inputs[input]);
                             });
    // A reason the user can act on stops the job at once.
    const CancelCheck refused = [&refusal] { return !refusal.empty(); };
    SequencePicture picture;
    while (sequence.Next(picture, refused))
    {
        pictures.push_back(std::move(picture.image));
        delays.push_back(delayOf(picture.entry));
    }
    if (refused())
    {
        result.error = refusal;
        return result;
    }
    if (!unreadable.empty())
    {
        const wxString list = ListUnreadablePictures(unreadable, wxS(", "), 20);
        if (!job.project.empty())
            result.error = wxString::Format(_("pictures of the project %s are missing or cannot "
                                              "be read: %s"),
                                            job.project, list);
        else if (unreadable.size() == 1)
            result.error = wxString::Format(_("cannot read a picture from %s"), list);
        else
            result.error = wxString::Format(_("cannot read pictures from %s"), list);
        return result;
    }

    std::vector<ExportFrame> frames;
    std::vector<wxSize> sizes;
    for (size_t i = 0; i < pictures.size(); ++i)
    {
        frames.push_back({pictures[i].get(), delays[i]});
        sizes.push_back(pictures[i]->GetSize());
    }
    wxSize size(job.width, job.height);
    if (size.x == 0 || size.y == 0)
        size = ChooseCanvasSize(sizes);
    return ExportGif(frames, job.output, size.x, size.y, progress);
}
