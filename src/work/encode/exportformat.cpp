#include "encode/exportformat.h"

wxString ExportFormatName(ExportFormat format)
{
    switch (format)
    {
        case ExportFormat::Gif:
            return wxS("gif");
        case ExportFormat::WebP:
            return wxS("webp");
        case ExportFormat::Mp4:
            return wxS("mp4");
        case ExportFormat::WebM:
            break;
    }
    return wxS("webm");
}

bool ParseExportFormat(const wxString& name, ExportFormat& format)
{
    for (ExportFormat candidate : kExportFormats)
        if (name == ExportFormatName(candidate))
        {
            format = candidate;
            return true;
        }
    return false;
}

bool ExportFormatOfPath(const wxString& path, ExportFormat& format)
{
    const size_t dot = path.find_last_of(wxS("./"));
    if (dot == wxString::npos || path[dot] != wxS('.'))
        return false;
    return ParseExportFormat(path.substr(dot + 1).Lower(), format);
}
