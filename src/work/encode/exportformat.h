#ifndef LOOPFORGE_WORK_EXPORTFORMAT_H
#define LOOPFORGE_WORK_EXPORTFORMAT_H

#include <wx/string.h>

// The kind of file an export writes. The frames are the same in each (see
// ExportAnimation); only their encoding differs.
enum class ExportFormat
{
    Gif,
    WebP,  // animated WebP, through libwebp
    Mp4,   // H.264 video, through the ffmpeg program
    WebM   // VP9 video, through the ffmpeg program
};

constexpr ExportFormat kExportFormats[] = {ExportFormat::Gif, ExportFormat::WebP,
                                           ExportFormat::Mp4, ExportFormat::WebM};

// The word a format is written as and its file ending, both "gif", "webp",
// "mp4" or "webm"; and back from the word, false for any other.
wxString ExportFormatName(ExportFormat format);
bool ParseExportFormat(const wxString& name, ExportFormat& format);

// The format a path's ending names, in any case ("clip.MP4"); false when the
// ending names none.
bool ExportFormatOfPath(const wxString& path, ExportFormat& format);

// Whether the format is written by the ffmpeg program.
inline bool IsVideoFormat(ExportFormat format)
{
    return format == ExportFormat::Mp4 || format == ExportFormat::WebM;
}

#endif
