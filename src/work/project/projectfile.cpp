#include "project/projectfile.h"

#include "decode/framereference.h"
#include "files/atomicfileoutput.h"
#include "files/regularfile.h"
#include "files/xmlbounds.h"

#include <wx/arrstr.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace
{
// A project nests three levels deep; a path fits PATH_MAX even with every
// character escaped as a reference, and has few line breaks or references.
wxXmlNode* Element(const wxString& name, const wxString& text)
{
    wxXmlNode* node = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    node->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxString(), text));
    return node;
}

// GIF options follow the images only when the user chose something else
// than the defaults, so a project that never had any is written as before.
void AddGifOptions(wxXmlNode* root, const GifOptions& options)
{
    if (options != GifOptions())
        root->AddChild(GifOptionsElement(options));
}

wxString Number(double value)
{
    return wxString::FromCDouble(value, 4);
}

// A caption's look as attributes, its text as content.
wxXmlNode* CaptionElement(const ProjectCaption& stored)
{
    const Caption& caption = stored.caption;
    wxXmlNode* node = Element(wxS("caption"), caption.text);
    node->AddAttribute(wxS("frames"), CaptionFramesText(stored.frames));
    node->AddAttribute(wxS("font"), caption.family);
    node->AddAttribute(wxS("size"), wxString::Format(wxS("%d"), caption.size));
    if (caption.bold)
        node->AddAttribute(wxS("bold"), wxS("1"));
    if (caption.italic)
        node->AddAttribute(wxS("italic"), wxS("1"));
    node->AddAttribute(wxS("color"), CaptionColourText(caption.colour));
    node->AddAttribute(wxS("outline"), wxString::Format(wxS("%d"), caption.outline));
    node->AddAttribute(wxS("outline_color"), CaptionColourText(caption.outlineColour));
    if (caption.box)
        node->AddAttribute(wxS("box"), CaptionColourText(caption.boxColour));
    node->AddAttribute(wxS("place"), CaptionPlaceName(caption.place));
    if (caption.place == CaptionPlace::Free)
    {
        node->AddAttribute(wxS("x"), Number(caption.x));
        node->AddAttribute(wxS("y"), Number(caption.y));
    }
    return node;
}

ProjectCaption ReadCaptionElement(const wxXmlNode* node, int frameCount)
{
    ProjectCaption stored;
    Caption& caption = stored.caption;
    caption.text = node->GetNodeContent();
    stored.frames = ParseCaptionFrames(node->GetAttribute(wxS("frames")), frameCount);
    caption.family = node->GetAttribute(wxS("font"), caption.family);
    caption.size = ParseProjectNumber(node->GetAttribute(wxS("size"), wxS("32")));
    caption.bold = node->GetAttribute(wxS("bold")) == wxS("1");
    caption.italic = node->GetAttribute(wxS("italic")) == wxS("1");
    ParseCaptionColour(node->GetAttribute(wxS("color")), caption.colour);
    caption.outline = ParseProjectNumber(node->GetAttribute(wxS("outline"), wxS("2")));
    ParseCaptionColour(node->GetAttribute(wxS("outline_color")), caption.outlineColour);
    caption.box = ParseCaptionColour(node->GetAttribute(wxS("box")), caption.boxColour);
    ParseCaptionPlace(node->GetAttribute(wxS("place")), caption.place);
    double x = 0.5;
    double y = 0.5;
    if (node->GetAttribute(wxS("x")).ToCDouble(&x) && node->GetAttribute(wxS("y")).ToCDouble(&y))
    {
        caption.x = x;
        caption.y = y;
    }
    caption = SanitisedCaption(caption);
    return stored;
}

// Captions come last, only when there are any, so a project without them
// is written as before.
void AddCaptions(wxXmlNode* root, const std::vector<ProjectCaption>& captions)
{
    if (captions.empty())
        return;
    wxXmlNode* element = new wxXmlNode(wxXML_ELEMENT_NODE, wxS("captions"));
    for (const ProjectCaption& caption : captions)
        element->AddChild(CaptionElement(caption));
    root->AddChild(element);
}

// A time or rate to a millionth, without trailing zeros ("0.4", "12").
wxString ClipNumber(double value)
{
    wxString text = wxString::FromCDouble(value, 6);
    while (text.EndsWith(wxS("0")))
        text.RemoveLast();
    if (text.EndsWith(wxS(".")))
        text.RemoveLast();
    return text;
}

// Where a frame of a video clip comes from, as attributes of its `path`.
void AddClipAttributes(wxXmlNode* path, const VideoEntry& video)
{
    if (!video.range)
        return;
    const VideoRange& range = *video.range;
    path->AddAttribute(wxS("clip_start"), ClipNumber(range.start));
    path->AddAttribute(wxS("clip_end"), ClipNumber(range.end));
    path->AddAttribute(wxS("clip_fps"), ClipNumber(range.frameRate));
    if (range.width > 0)
        path->AddAttribute(wxS("clip_width"), wxString::Format(wxS("%d"), range.width));
    path->AddAttribute(wxS("clip_frame"), wxString::Format(wxS("%d"), video.frame));
}

// The frame of a video clip a `path` names, when its attributes say so and
// make sense; frames of one part of a clip share one range.
VideoEntry ReadClipAttributes(const wxXmlNode* path, const wxString& clip,
                              std::vector<VideoRangeRef>& ranges)
{
    wxString start, end, rate, frame;
    if (!path->GetAttribute(wxS("clip_frame"), &frame) ||
        !path->GetAttribute(wxS("clip_start"), &start) ||
        !path->GetAttribute(wxS("clip_end"), &end) || !path->GetAttribute(wxS("clip_fps"), &rate))
        return VideoEntry();
    VideoRange range;
    range.path = clip;
    long index = -1, width = 0;
    if (!start.ToCDouble(&range.start) || !end.ToCDouble(&range.end) ||
        !rate.ToCDouble(&range.frameRate) || !frame.ToLong(&index) ||
        !path->GetAttribute(wxS("clip_width"), wxS("0")).ToLong(&width) ||
        !(range.start >= 0 && range.end > range.start && range.end < 1e7) ||
        !(range.frameRate >= kMinVideoFrameRate && range.frameRate <= kMaxVideoFrameRate) ||
        width < 0 || width > 65535 || index < 0 || index >= kMaxVideoFrames)
        return VideoEntry();
    range.width = int(width);
    for (const VideoRangeRef& known : ranges)
        if (*known == range)
            return VideoEntry{known, int(index)};
    ranges.push_back(std::make_shared<const VideoRange>(range));
    return VideoEntry{ranges.back(), int(index)};
}

wxXmlDocument BuildDocument(const Project& project)
{
    wxXmlDocument doc;
    doc.SetVersion(wxS("1.0"));
    doc.SetFileEncoding(wxS("UTF-8"));
    wxXmlNode* root = new wxXmlNode(wxXML_ELEMENT_NODE, wxS("project"));
    doc.SetRoot(root);
    // AddChild appends, so the children stand in document order.
    root->AddChild(Element(wxS("name"), project.gifName));
    wxXmlNode* gif = new wxXmlNode(wxXML_ELEMENT_NODE, wxS("gif"));
    gif->AddChild(Element(wxS("width"), wxString::Format(wxS("%d"), project.width)));
    gif->AddChild(Element(wxS("height"), wxString::Format(wxS("%d"), project.height)));
    gif->AddChild(Element(wxS("delay_time"), wxString::Format(wxS("%d"), project.delay)));
    root->AddChild(gif);
    wxXmlNode* images = new wxXmlNode(wxXML_ELEMENT_NODE, wxS("images"));
    for (const ProjectImageEntry& entry :
         ProjectImageEntries(project.framePaths, project.frameDelays, project.frameOrientations,
                             project.frameVideos))
    {
        wxXmlNode* path = Element(wxS("path"), entry.path);
        if (entry.delay > 0)
            path->AddAttribute(wxS("delay"), wxString::Format(wxS("%d"), entry.delay));
        if (entry.orientation > 0)
            path->AddAttribute(wxS("orientation"), wxString::Format(wxS("%d"), entry.orientation));
        AddClipAttributes(path, entry.video);
        images->AddChild(path);
    }
    root->AddChild(images);
    AddGifOptions(root, project.gifOptions);
    if (project.crop.IsSet())
    {
        wxXmlNode* crop = new wxXmlNode(wxXML_ELEMENT_NODE, wxS("crop"));
        const std::pair<const char*, int> values[] = {
            {"x", project.crop.rect.x},
            {"y", project.crop.rect.y},
            {"width", project.crop.rect.width},
            {"height", project.crop.rect.height},
            {"picture_width", project.crop.reference.x},
            {"picture_height", project.crop.reference.y}};
        for (const auto& [name, value] : values)
            crop->AddAttribute(wxString::FromUTF8(name), wxString::Format(wxS("%d"), value));
        root->AddChild(crop);
    }
    AddCaptions(root, project.captions);
    return doc;
}

// The next element sibling, skipping comments and processing instructions.
const wxXmlNode* NextElement(const wxXmlNode* node)
{
    while (node && node->GetType() != wxXML_ELEMENT_NODE)
        node = node->GetNext();
    return node;
}

// The options stored after images; a project without them reads as the
// classic export.
GifOptions ReadGifOptions(const wxXmlNode* images)
{
    const wxXmlNode* next = NextElement(images->GetNext());
    return next && next->GetName() == wxS("gif_options") ? ReadGifOptionsElement(next)
                                                         : GifOptions();
}

// The crop stored after the images and their options; none when it is
// missing or names no part of a picture.
CropArea ReadCrop(const wxXmlNode* images)
{
    const wxXmlNode* node = NextElement(images->GetNext());
    while (node && node->GetName() != wxS("crop"))
        node = NextElement(node->GetNext());
    if (!node)
        return CropArea();
    const auto number = [node](const char* name)
    {
        wxString text;
        return node->GetAttribute(wxString::FromUTF8(name), &text) ? ParseProjectNumber(text) : 0;
    };
    CropArea crop{wxRect(number("x"), number("y"), number("width"), number("height")),
                  wxSize(number("picture_width"), number("picture_height"))};
    const wxRect picture(wxPoint(0, 0), crop.reference);
    if (!crop.IsSet() || crop.rect.x < 0 || crop.rect.y < 0 || !picture.Contains(crop.rect))
        return CropArea();
    return crop;
}

// A frame's orientation as stored: 0 to 7, else upright.
int Orientation(const wxString& text)
{
    const int orientation = ParseProjectNumber(text);
    return orientation >= 0 && orientation <= 7 ? orientation : 0;
}

// The captions stored after the images and their options; those that show
// on no frame of the project are dropped.
std::vector<ProjectCaption> ReadCaptions(const wxXmlNode* images, int frameCount)
{
    std::vector<ProjectCaption> captions;
    const wxXmlNode* next = NextElement(images->GetNext());
    while (next && (next->GetName() == wxS("gif_options") || next->GetName() == wxS("crop")))
        next = NextElement(next->GetNext());
    if (!next || next->GetName() != wxS("captions"))
        return captions;
    for (const wxXmlNode* node = NextElement(next->GetChildren()); node;
         node = NextElement(node->GetNext()))
    {
        if (node->GetName() != wxS("caption"))
            continue;
        ProjectCaption caption = ReadCaptionElement(node, frameCount);
        if (!caption.frames.empty())
            captions.push_back(std::move(caption));
    }
    return captions;
}

// A frame's own delay as stored: a delay a GIF can hold, else none.
int OwnDelay(const wxString& text)
{
    const int delay = ParseProjectNumber(text);
    return delay >= 1 && delay <= 0xFFFF ? delay : 0;
}

const wxXmlNode* Expect(const wxXmlNode* node, const char* name)
{
    node = NextElement(node);
    return node && node->GetName() == name ? node : nullptr;
}

// Whether the entry at i is the GIF file of a frame reference next to it:
// the entry the writer adds to a run of the file's frames.
bool IsGifOfNeighbour(const std::vector<ProjectImageEntry>& entries, std::size_t i)
{
    const auto names = [&](std::size_t neighbour)
    {
        FrameReference reference;
        return neighbour < entries.size() &&
               ParseFrameReference(entries[neighbour].path, reference) &&
               reference.gifPath == entries[i].path;
    };
    return names(i - 1) || names(i + 1);
}

ProjectReadResult ReadDocument(const wxXmlDocument& doc)
{
    ProjectReadResult result;
    if (!doc.IsOk() || !doc.GetRoot())
        return result;

    result.stage = ProjectReadStage::NoProject;
    const wxXmlNode* project = doc.GetRoot();
    if (project->GetName() != wxS("project"))
        return result;

    result.stage = ProjectReadStage::NoName;
    const wxXmlNode* name = Expect(project->GetChildren(), "name");
    if (!name)
        return result;
    result.stage = ProjectReadStage::NoGif;
    const wxXmlNode* gif = Expect(name->GetNext(), "gif");
    if (!gif)
        return result;
    result.stage = ProjectReadStage::NoWidth;
    const wxXmlNode* width = Expect(gif->GetChildren(), "width");
    if (!width)
        return result;
    result.project.width = ParseProjectNumber(width->GetNodeContent());
    result.stage = ProjectReadStage::NoHeight;
    const wxXmlNode* height = Expect(width->GetNext(), "height");
    if (!height)
        return result;
    result.project.height = ParseProjectNumber(height->GetNodeContent());
    result.project.gifName = name->GetNodeContent();

    result.stage = ProjectReadStage::NoDelay;
    const wxXmlNode* delay = Expect(height->GetNext(), "delay_time");
    if (!delay)
        return result;
    result.project.delay = ParseProjectNumber(delay->GetNodeContent());

    result.stage = ProjectReadStage::NoImages;
    const wxXmlNode* images = Expect(gif->GetNext(), "images");
    if (!images)
        return result;
    result.stage = ProjectReadStage::EmptyImages;
    const wxXmlNode* entry = NextElement(images->GetChildren());
    if (!entry)
        return result;

    std::vector<ProjectImageEntry> entries;
    std::vector<VideoRangeRef> ranges;
    for (; entry; entry = NextElement(entry->GetNext()))
    {
        if (entry->GetName() != wxS("path"))
        {
            result.stage = ProjectReadStage::BadImageEntry;
            return result;
        }
        wxString delay;
        wxString orientation;
        entries.push_back(
            {entry->GetNodeContent(),
             entry->GetAttribute(wxS("delay"), &delay) ? OwnDelay(delay) : 0,
             entry->GetAttribute(wxS("orientation"), &orientation) ? Orientation(orientation) : 0,
             ReadClipAttributes(entry, entry->GetNodeContent(), ranges)});
    }
    std::vector<VideoEntry> videos;
    std::vector<int> orientations;
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        wxString path = entries[i].path;
        if (HasGifEnding(path))
        {
            if (path.EndsWith(wxS(".gif")) || IsGifOfNeighbour(entries, i))
                continue;
            // Files ending in ".GIF" were read as one picture before their
            // frames were taken apart; an entry that names one stays one frame.
            path += wxS("_0");
        }
        result.project.framePaths.push_back(path);
        result.project.frameDelays.push_back(entries[i].delay);
        orientations.push_back(entries[i].orientation);
        videos.push_back(entries[i].video);
    }
    if (!ranges.empty())
        result.project.frameVideos = videos;
    if (std::any_of(orientations.begin(), orientations.end(), [](int o) { return o != 0; }))
        result.project.frameOrientations = orientations;
    result.project.gifOptions = ReadGifOptions(images);
    result.project.crop = ReadCrop(images);
    result.project.captions = ReadCaptions(images, int(result.project.framePaths.size()));
    result.stage = ProjectReadStage::Complete;
    return result;
}

ProjectReadResult ReadProjectBytes(const char* utf8, std::size_t size)
{
    ProjectReadResult refused;
    switch (CheckXmlBounds(utf8, size, kProjectXmlBounds))
    {
        case XmlBoundsCheck::WithinBounds:
            break;
        case XmlBoundsCheck::TooDeep:
            refused.stage = ProjectReadStage::TooDeep;
            return refused;
        case XmlBoundsCheck::TooLong:
            refused.stage = ProjectReadStage::TooLong;
            return refused;
        case XmlBoundsCheck::NotPlainXml:
            refused.stage = ProjectReadStage::NotXml;
            return refused;
    }

    wxLogNull noLog;
    wxMemoryInputStream in(utf8, size);
    wxXmlDocument doc;
    if (!doc.Load(in, wxS("UTF-8")))
        return ProjectReadResult();
    return ReadDocument(doc);
}
}  // namespace

std::vector<ProjectImageEntry> ProjectImageEntries(const wxArrayString& frameNames,
                                                   const std::vector<int>& delays,
                                                   const std::vector<int>& orientations,
                                                   const std::vector<VideoEntry>& videos)
{
    const auto delayOf = [&delays](size_t i) { return i < delays.size() ? delays[i] : 0; };
    const auto orientationOf = [&orientations](size_t i)
    { return i < orientations.size() ? orientations[i] : 0; };
    std::vector<ProjectImageEntry> entries;
    const size_t count = frameNames.size();
    for (size_t i = 0; i < count; ++i)
    {
        const wxString& name = frameNames[i];
        const int delay = delayOf(i);
        entries.push_back(
            {name, delay, orientationOf(i), i < videos.size() ? videos[i] : VideoEntry()});
        FrameReference reference;
        if (!ParseFrameReference(name, reference))
            continue;
        if (i + 1 == count)
            break;
        // The GIF's own entry stands for a run of its frames with one delay,
        // so a frame with another delay starts a new run.
        const wxString& gifPath = reference.gifPath;
        const bool runGoesOn = frameNames[i + 1].StartsWith(gifPath) && delayOf(i + 1) == delay;
        if (!runGoesOn)
            entries.push_back({gifPath, delay, 0, VideoEntry()});
        else if (i + 2 == count)
            // A run that ends the strip names its GIF before its last frame.
            entries.push_back({gifPath, delay, 0, VideoEntry()});
    }
    return entries;
}

wxArrayString ProjectImageEntries(const wxArrayString& frameNames)
{
    wxArrayString texts;
    for (const ProjectImageEntry& entry : ProjectImageEntries(frameNames, {}))
        texts.push_back(entry.path);
    return texts;
}

std::string ProjectDocumentText(const Project& project)
{
    wxMemoryOutputStream out;
    BuildDocument(project).Save(out, 2);
    std::string text(out.GetLength(), '\0');
    out.CopyTo(text.data(), text.size());
    return text;
}

bool WriteProjectFile(const wxString& path, const Project& project, wxString* error)
{
    const std::string text = ProjectDocumentText(project);
    AtomicFileOutputStream out(path);
    out.Write(text.data(), text.size());
    if (out.Commit())
        return true;
    if (error)
        *error = wxString::Format(_("Cannot write %s: %s"), path, wxSysErrorMsgStr(out.GetErrno()));
    return false;
}

wxSize ProjectOutputSize(const Project& project)
{
    const auto fits = [](int side) { return side >= 1 && side <= 0xFFFF; };
    return fits(project.width) && fits(project.height) ? wxSize(project.width, project.height)
                                                       : wxSize(0, 0);
}

wxString DescribeProjectReadStage(ProjectReadStage stage)
{
    switch (stage)
    {
        case ProjectReadStage::NotAFile:
            return _("not a regular file");
        case ProjectReadStage::TooLarge:
            return wxString::Format(_("larger than %d MB"), int(kMaxProjectFileBytes >> 20));
        case ProjectReadStage::TooDeep:
            return _("nested deeper than a project can be");
        case ProjectReadStage::TooLong:
            return _("holds a text or tag longer than a project can have");
        case ProjectReadStage::NotXml:
            return wxS("not an XML file");
        case ProjectReadStage::NoProject:
            return wxS("the root element is not <project>");
        case ProjectReadStage::NoName:
            return wxS("<project> does not start with <name>");
        case ProjectReadStage::NoGif:
            return wxS("<name> is not followed by <gif>");
        case ProjectReadStage::NoWidth:
            return wxS("<gif> does not start with <width>");
        case ProjectReadStage::NoHeight:
            return wxS("<width> is not followed by <height>");
        case ProjectReadStage::NoDelay:
            return wxS("<height> is not followed by <delay_time>");
        case ProjectReadStage::NoImages:
            return wxS("<gif> is not followed by <images>");
        case ProjectReadStage::EmptyImages:
            return wxS("<images> is empty");
        case ProjectReadStage::BadImageEntry:
            return wxS("<images> holds an element other than <path>");
        case ProjectReadStage::Complete:
            break;
    }
    return wxString();
}

ProjectReadResult ReadProjectFile(const wxString& path)
{
    ProjectReadResult result;
    std::vector<unsigned char> bytes;
    switch (ReadRegularFile(path, kMaxProjectFileBytes, bytes))
    {
        case FileReadResult::Read:
            return ReadProjectBytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        case FileReadResult::NotRegularFile:
            result.stage = ProjectReadStage::NotAFile;
            break;
        case FileReadResult::TooLarge:
        case FileReadResult::OutOfMemory:
            result.stage = ProjectReadStage::TooLarge;
            break;
        case FileReadResult::CannotOpen:
        case FileReadResult::ReadFailed:
            result.stage = ProjectReadStage::NotXml;
            break;
    }
    return result;
}

ProjectReadResult ReadProjectText(const std::string& utf8)
{
    return ReadProjectBytes(utf8.data(), utf8.size());
}
int ParseProjectNumber(const wxString& text)
{
    size_t i = 0;
    while (i < text.length() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                                 text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.length() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.length() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            value = INT_MAX;  // absurd numbers stay in range instead of wrapping
    }
    return int(negative ? -value : value);
}

wxString CaptionFramesText(const std::vector<int>& frames)
{
    wxString text;
    for (size_t i = 0; i < frames.size();)
    {
        size_t end = i;
        while (end + 1 < frames.size() && frames[end + 1] == frames[end] + 1)
            ++end;
        if (!text.empty())
            text += wxS(",");
        text += wxString::Format(wxS("%d"), frames[i] + 1);
        if (end > i)
            text += wxString::Format(wxS("-%d"), frames[end] + 1);
        i = end + 1;
    }
    return text;
}

std::vector<int> ParseCaptionFrames(const wxString& text, int frameCount)
{
    std::vector<bool> shown(size_t(std::max(frameCount, 0)), false);
    for (const wxString& part : wxSplit(text, ','))
    {
        const wxString last = part.AfterFirst('-');
        const int first = ParseProjectNumber(part.BeforeFirst('-'));
        const int end = last.empty() ? first : ParseProjectNumber(last);
        for (int frame = std::max(first, 1); frame <= std::min(end, frameCount); ++frame)
            shown[size_t(frame - 1)] = true;
    }
    std::vector<int> frames;
    for (int i = 0; i < frameCount; ++i)
        if (shown[size_t(i)])
            frames.push_back(i);
    return frames;
}
