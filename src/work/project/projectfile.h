#ifndef LOOPFORGE_WORK_PROJECTFILE_H
#define LOOPFORGE_WORK_PROJECTFILE_H

#include "caption/caption.h"
#include "decode/videosequence.h"
#include "encode/gifoptions.h"
#include "encode/picturecrop.h"

#include <wx/arrstr.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <cstddef>
#include <string>
#include <vector>

// A caption of a project and the frames it shows on (indices into
// framePaths, ascending).
struct ProjectCaption
{
    Caption caption;
    std::vector<int> frames;

    bool operator==(const ProjectCaption& other) const
    {
        return caption == other.caption && frames == other.frames;
    }
};

// A project: the output GIF's file name, its size and delay, the strip's
// frames by source (plain picture paths and GIF frame references) and how
// the GIF is written.
struct Project
{
    wxString gifName;
    int width = 0;
    int height = 0;
    int delay = 0;
    wxArrayString framePaths;
    // Parallel to framePaths: a frame's own delay in hundredths, 0 (or no
    // entry) for a frame that shows for the project's delay. Stored as the
    // optional "delay" attribute of the frame's `path`.
    std::vector<int> frameDelays;
    // Parallel to framePaths: how a frame is turned and mirrored (0 to 7,
    // encode/pictureorientation.h), stored as the optional "orientation"
    // attribute of the frame's `path`; 0 (or no entry) for an upright frame.
    std::vector<int> frameOrientations;
    // Parallel to framePaths: the part of a video clip a frame comes from
    // and its place there (the frame's path is the clip's), stored as the
    // optional "clip_start", "clip_end", "clip_fps", "clip_width" and
    // "clip_frame" attributes of its `path`; none (or no entry) for other
    // frames. Readers that know no clips find the clip's path, which gives
    // them no picture.
    std::vector<VideoEntry> frameVideos;
    GifOptions gifOptions;  // stored after the images, only when not the defaults
    // The part of every frame kept; stored after the GIF options, as the optional `crop`
    // element, only when set.
    CropArea crop;
    // Stored last, in a `captions` element only when there are any.
    std::vector<ProjectCaption> captions;
};

// Frame indices as a project stores them: counted from 1, runs joined
// ("2-4,7"). Parsing skips what is no index below frameCount.
wxString CaptionFramesText(const std::vector<int>& frames);
std::vector<int> ParseCaptionFrames(const wxString& text, int frameCount);

// One `path` entry of `images`: its text and its own delay (0: none).
struct ProjectImageEntry
{
    wxString path;
    int delay = 0;
    int orientation = 0;
    VideoEntry video;
};

// The `images` entries written for the strip's frames: every frame, and after
// a run of frames of one GIF file that share one own delay, that GIF file's
// own path with that delay (before the run's last frame when the run ends
// the strip). Readers skip those entries. delays may be shorter than names.
std::vector<ProjectImageEntry> ProjectImageEntries(const wxArrayString& frameNames,
                                                   const std::vector<int>& delays,
                                                   const std::vector<int>& orientations = {},
                                                   const std::vector<VideoEntry>& videos = {});
// The same for frames without delays of their own, as texts.
wxArrayString ProjectImageEntries(const wxArrayString& frameNames);

// The project document as text (UTF-8 XML, indentation step 2).
std::string ProjectDocumentText(const Project& project);

// Writes the project to a temporary file beside path and renames it into
// place, so a failed write never destroys the previous file. On failure
// returns false and puts a one-line message naming the file into error.
bool WriteProjectFile(const wxString& path, const Project& project, wxString* error);

// How far a project file could be read. The stages follow the document's
// order; everything read before the stage that failed is filled in.
enum class ProjectReadStage
{
    NotAFile,       // a folder, a pipe or a device: never opened
    TooLarge,       // larger than kMaxProjectFileBytes
    TooDeep,        // elements nested deeper than any project's
    TooLong,        // a text or tag longer than any project's
    NotXml,         // missing, unreadable, not an XML document, or no root
    NoProject,      // the first node is not `project`
    NoName,         // `project` does not start with `name`
    NoGif,          // `name` is not followed by `gif`
    NoWidth,        // `gif` does not start with `width`
    NoHeight,       // `width` is not followed by `height`
    NoDelay,        // `height` is not followed by `delay_time`
    NoImages,       // `gif` is not followed by `images`
    EmptyImages,    // `images` has no children
    BadImageEntry,  // a child of `images` is not `path`
    Complete
};

struct ProjectReadResult
{
    ProjectReadStage stage = ProjectReadStage::NotXml;
    // framePaths holds the frames to import (".gif" entries skipped, and
    // the writer's GIF entries in other cases; any other ".GIF" entry, a
    // still picture before, becomes its first frame "<file>_0"), and
    // frameDelays as many delays: a "delay" attribute between 1 and 65535,
    // else 0.
    Project project;

    bool HasSize() const { return stage > ProjectReadStage::NoHeight; }
    bool HasDelay() const { return stage > ProjectReadStage::NoDelay; }
    bool IsComplete() const { return stage == ProjectReadStage::Complete; }
};

// Project files are small (a line per frame); a larger file is refused
// before it is read.
constexpr std::size_t kMaxProjectFileBytes = std::size_t(16) << 20;

// Reads a project file, if it is a regular file of at most
// kMaxProjectFileBytes. Documents nested deeper, or with longer texts, than
// a project can have are refused before they are parsed, so any file is
// read in time proportional to its size.
ProjectReadResult ReadProjectFile(const wxString& path);
ProjectReadResult ReadProjectText(const std::string& utf8);

// The stored output size when a GIF can have it (each side 1 to 65535); else
// 0 x 0, and the frames decide the size as after any import.
wxSize ProjectOutputSize(const Project& project);

// Why reading stopped at a stage, in a few words for a command-line message;
// empty for Complete.
wxString DescribeProjectReadStage(ProjectReadStage stage);

// A number as the project stores it: leading blanks, an optional sign and the
// decimal digits up to the first other character; 0 without digits.
int ParseProjectNumber(const wxString& text);

#endif
