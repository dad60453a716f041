#include "decode/videoclip.h"

#include "decode/picturesize.h"
#include "files/childprocess.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/tokenzr.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace
{
// Only local files are read, by the demuxers of the clip formats the
// program offers: a hostile file cannot make ffmpeg fetch other files or
// addresses (as a playlist would) or read a format nobody asked for.
const wxString kProtocols = wxS("file");
const wxString kFormats = wxS("mov,matroska,avi");

// A clip longer than a day is not a clip.
const double kMaxClipSeconds = 24 * 3600.0;

std::vector<wxString> InputArguments(const wxString& program)
{
    const wxString arguments[] = {program,      wxS("-v"),
                                  wxS("error"), wxS("-protocol_whitelist"),
                                  kProtocols,   wxS("-format_whitelist"),
                                  kFormats};
    return std::vector<wxString>(std::begin(arguments), std::end(arguments));
}

// "file:" keeps a name with a colon or a leading dash a file name.
wxString FileArgument(const wxString& path)
{
    return wxS("file:") + path;
}

// "30000/1001" or "25" as a number; 0 when it is none.
double ParseRate(const wxString& text)
{
    double num = 0, den = 1;
    const wxString top = text.BeforeFirst('/');
    const wxString bottom = text.AfterFirst('/');
    if (!top.ToCDouble(&num) || (!bottom.empty() && !bottom.ToCDouble(&den)) || den <= 0)
        return 0;
    const double rate = num / den;
    return std::isfinite(rate) && rate > 0 && rate < 10000 ? rate : 0;
}

// What ffmpeg's error output says went wrong, without the file's name.
wxString Reason(const wxString& errors, const wxString& path)
{
    if (errors.Contains(wxS("not on whitelist")))
        return _("it is no video clip of a format the program reads");
    wxString trimmed = errors;
    trimmed.Trim();
    wxString line = trimmed.AfterLast('\n');
    line.StartsWith(FileArgument(path) + wxS(": "), &line);
    return line.empty() ? wxString(_("the file is damaged or no video clip")) : line;
}

wxString ClipError(const wxString& path, const wxString& reason)
{
    return wxString::Format(_("Cannot read the video clip %s: %s"), path, reason);
}

wxString Seconds(double value)
{
    return wxString::FromCDouble(value, 3);
}
}  // namespace

bool IsVideoClipPath(const wxString& path)
{
    const wxString ending = wxFileName(path).GetExt().Lower();
    return ending == wxS("mp4") || ending == wxS("m4v") || ending == wxS("webm") ||
           ending == wxS("mkv") || ending == wxS("mov") || ending == wxS("avi");
}

bool VideoToolsInstalled(wxString& message)
{
    if (!FindProgram(wxS("ffmpeg")).empty() && !FindProgram(wxS("ffprobe")).empty())
        return true;
    message =
        _("Video clips are read with the programs ffmpeg and ffprobe, which are not "
          "installed. Install ffmpeg (the Debian package is called ffmpeg) and try again.");
    return false;
}

bool ProbeVideoClip(const wxString& path, VideoClipInfo& info, wxString& error)
{
    info = VideoClipInfo();
    if (!VideoToolsInstalled(error))
        return false;
    struct stat status;
    if (stat(path.fn_str(), &status) != 0)
    {
        error = ClipError(path, _("no such file"));
        return false;
    }
    if (!S_ISREG(status.st_mode))
    {
        error = ClipError(path, _("not a regular file"));
        return false;
    }
    std::vector<wxString> arguments = InputArguments(wxS("ffprobe"));
    for (const char* argument : {"-select_streams", "v:0", "-show_entries",
                                 "stream=width,height,avg_frame_rate,r_frame_rate,duration:"
                                 "format=duration",
                                 "-of", "default=noprint_wrappers=1"})
        arguments.push_back(wxString::FromAscii(argument));
    arguments.push_back(FileArgument(path));

    ChildProcess probe;
    wxString reason;
    if (!probe.Start(arguments, ChildProcess::OutputPipe, reason))
    {
        error = ClipError(path, reason);
        return false;
    }
    const std::vector<char> output = probe.ReadAll(16384);
    if (probe.Wait() != 0)
    {
        error = ClipError(path, Reason(probe.GetErrorOutput(), path));
        return false;
    }
    double averageRate = 0, baseRate = 0;
    wxStringTokenizer lines(wxString::FromUTF8(output.data(), output.size()), wxS("\n"));
    while (lines.HasMoreTokens())
    {
        wxString line = lines.GetNextToken();
        line.Trim();
        const wxString key = line.BeforeFirst('=');
        const wxString value = line.AfterFirst('=');
        long number = 0;
        double seconds = 0;
        if (key == wxS("width") && value.ToLong(&number))
            info.width = int(std::min(number, 100000L));
        else if (key == wxS("height") && value.ToLong(&number))
            info.height = int(std::min(number, 100000L));
        else if (key == wxS("avg_frame_rate"))
            averageRate = ParseRate(value);
        else if (key == wxS("r_frame_rate"))
            baseRate = ParseRate(value);
        else if (key == wxS("duration") && info.duration <= 0 && value.ToCDouble(&seconds) &&
                 std::isfinite(seconds) && seconds > 0)
            info.duration = seconds;
    }
    info.frameRate = averageRate > 0 ? averageRate : baseRate;
    if (info.width <= 0 || info.height <= 0)
        error = ClipError(path, _("the file has no video"));
    else if (VideoFrameSize(wxSize(info.width, info.height), 0) == wxSize())
        error = ClipError(path, _("its pictures are too large"));
    else if (info.duration <= 0 || info.duration > kMaxClipSeconds || info.frameRate <= 0)
        error = ClipError(path, _("its length or frame rate cannot be told"));
    else
        return true;
    return false;
}

wxSize VideoFrameSize(const wxSize& clipSize, int width)
{
    if (clipSize.x <= 0 || clipSize.y <= 0)
        return wxSize();
    wxSize size = clipSize;
    if (width > 0)
        size =
            wxSize(width, std::max(1, int(std::lround(double(clipSize.y) * width / clipSize.x))));
    if (size.x > 65535 || size.y > 65535 ||
        static_cast<unsigned long long>(size.x) * size.y > kMaxPicturePixels)
        return wxSize();
    return size;
}

int ExpectedVideoFrameCount(const VideoRange& range)
{
    const double frames = std::ceil((range.end - range.start) * range.frameRate - 1e-6);
    return frames <= 0 ? 0 : int(std::min<double>(frames, kMaxVideoFrames));
}

double DefaultGifFrameRate(double clipRate)
{
    return std::clamp(clipRate, kMinVideoFrameRate, 10.0);
}

int VideoFrameDelay(double frameRate, int index)
{
    // Frame n starts at n / rate seconds, in whole hundredths.
    const auto start = [frameRate](int n) { return std::floor(n * 100.0 / frameRate + 1e-6); };
    return std::max(1, int(start(index + 1) - start(index)));
}

VideoFrameReader::VideoFrameReader() = default;

VideoFrameReader::~VideoFrameReader() = default;

bool VideoFrameReader::Open(const VideoRange& range, const wxSize& clipSize, int first,
                            wxString& error)
{
    Close();
    m_range = range;
    m_size = VideoFrameSize(clipSize, range.width);
    m_next = first;
    if (m_size == wxSize())
    {
        error = ClipError(range.path, _("its pictures are too large"));
        return false;
    }
    const int count = ExpectedVideoFrameCount(range);
    std::vector<wxString> arguments = InputArguments(wxS("ffmpeg"));
    // The clip's stored size is the probed one; turning by the clip's
    // rotation tag is left to the user. round=up makes frame n the picture
    // the clip shows at n / rate seconds.
    const wxString filters = wxString::Format(
        wxS("fps=%s:round=up,trim=start_frame=%d,scale=%d:%d:flags=bicubic,format=rgb24"),
        wxString::FromCDouble(range.frameRate, 6), first, m_size.x, m_size.y);
    const wxString output[] = {wxS("-nostdin"),
                               wxS("-noautorotate"),
                               wxS("-ss"),
                               Seconds(range.start),
                               wxS("-t"),
                               Seconds(range.end - range.start),
                               wxS("-i"),
                               FileArgument(range.path),
                               wxS("-map"),
                               wxS("0:v:0"),
                               wxS("-an"),
                               wxS("-sn"),
                               wxS("-dn"),
                               wxS("-vf"),
                               filters,
                               wxS("-frames:v"),
                               wxString::Format(wxS("%d"), std::max(0, count + 1 - first)),
                               wxS("-f"),
                               wxS("rawvideo"),
                               wxS("-pix_fmt"),
                               wxS("rgb24"),
                               wxS("pipe:1")};
    arguments.insert(arguments.end(), std::begin(output), std::end(output));
    m_process = std::make_unique<ChildProcess>();
    wxString reason;
    if (!m_process->Start(arguments, ChildProcess::OutputPipe, reason))
    {
        m_process.reset();
        error = ClipError(range.path, reason);
        return false;
    }
    return true;
}

bool VideoFrameReader::Next(wxImage& picture, wxString& error, const CancelCheck& cancelled)
{
    error.clear();
    if (!m_process)
        return false;
    if (m_next > kMaxVideoFrames || (cancelled && cancelled()))
    {
        Close();
        return false;
    }
    wxImage frame(m_size.x, m_size.y, false);
    if (!frame.IsOk())
    {
        Close();
        error = ClipError(m_range.path, _("too large for the memory available"));
        return false;
    }
    if (m_process->ReadFully(frame.GetData(), std::size_t(m_size.x) * m_size.y * 3))
    {
        picture = frame;
        ++m_next;
        return true;
    }
    // The output ended: the range is over, or ffmpeg failed.
    if (m_process->Wait() != 0)
        error = ClipError(m_range.path, Reason(m_process->GetErrorOutput(), m_range.path));
    m_process.reset();
    return false;
}

void VideoFrameReader::Close()
{
    if (m_process && m_process->IsRunning())
        m_process->Kill();
    m_process.reset();
}

int CountVideoFrames(const VideoRange& range, const wxSize& clipSize, wxString& error)
{
    // Which frames the rate picks does not depend on their size.
    VideoRange small = range;
    small.width = std::min(clipSize.x, 8);
    VideoFrameReader reader;
    if (!reader.Open(small, clipSize, 0, error))
        return -1;
    int count = 0;
    wxImage picture;
    while (reader.Next(picture, error))
        ++count;
    return error.empty() ? count : -1;
}
