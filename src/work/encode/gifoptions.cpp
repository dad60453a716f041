#include "encode/gifoptions.h"

#include "files/atomicfileoutput.h"
#include "files/regularfile.h"
#include "files/xmlbounds.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <vector>

namespace
{
const char* const kElement = "gif_options";

// Read within the bounds of a project file (see kMaxProjectFileBytes).
const std::size_t kMaxGifOptionsFileBytes = std::size_t(16) << 20;

bool ParseGifOptionsFile(const wxString& path, GifOptions& options)
{
    std::vector<unsigned char> bytes;
    if (ReadRegularFile(path, kMaxGifOptionsFileBytes, bytes) != FileReadResult::Read)
        return false;
    const char* text = reinterpret_cast<const char*>(bytes.data());
    if (CheckXmlBounds(text, bytes.size(), kProjectXmlBounds) != XmlBoundsCheck::WithinBounds)
        return false;
    wxLogNull quiet;
    wxMemoryInputStream in(text, bytes.size());
    wxXmlDocument doc;
    if (!doc.Load(in, wxS("UTF-8")) || doc.GetRoot()->GetName() != kElement)
        return false;
    options = ReadGifOptionsElement(doc.GetRoot());
    return true;
}

wxXmlNode* Setting(const wxString& name, const wxString& value)
{
    wxXmlNode* node = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    node->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxString(), value));
    return node;
}

wxString YesNo(bool value)
{
    return value ? wxS("yes") : wxS("no");
}

void ReadYesNo(const wxString& text, bool& value)
{
    if (text == wxS("yes"))
        value = true;
    else if (text == wxS("no"))
        value = false;
}

void ReadNumber(const wxString& text, int minimum, int maximum, int& value)
{
    long number = 0;
    if (text.length() <= 9 && text.ToLong(&number) && number >= minimum && number <= maximum)
        value = static_cast<int>(number);
}
}  // namespace

bool GifOptions::operator==(const GifOptions& other) const
{
    return optimised == other.optimised && onlyChanges == other.onlyChanges &&
           globalPalette == other.globalPalette && colours == other.colours &&
           dither == other.dither && smooth == other.smooth && loopCount == other.loopCount &&
           format == other.format && webpQuality == other.webpQuality && lossy == other.lossy &&
           maxBytes == other.maxBytes;
}

int GifLossyError(int lossy)
{
    return std::clamp(lossy, 0, kMaxGifLossy) * 3 / 5;
}

int GifLossyAddedError(int lossy)
{
    const int error = GifLossyError(lossy);
    // A small part of the bound on average: most pixels keep their colour
    // or move by little, so that the picture loses about 1 dB at strength 45.
    return error * error / 32;
}

wxString GifDitherName(GifDither dither)
{
    switch (dither)
    {
        case GifDither::None:
            return wxS("none");
        case GifDither::Ordered:
            return wxS("ordered");
        case GifDither::Diffuse:
            break;
    }
    return wxS("diffuse");
}

bool ParseGifDither(const wxString& name, GifDither& dither)
{
    for (GifDither candidate : {GifDither::None, GifDither::Ordered, GifDither::Diffuse})
        if (name == GifDitherName(candidate))
        {
            dither = candidate;
            return true;
        }
    return false;
}

wxXmlNode* GifOptionsElement(const GifOptions& options)
{
    wxXmlNode* element = new wxXmlNode(wxXML_ELEMENT_NODE, kElement);
    if (options.format != ExportFormat::Gif)
        element->AddAttribute(wxS("format"), ExportFormatName(options.format));
    if (options.webpQuality != GifOptions().webpQuality)
        element->AddAttribute(wxS("webp_quality"),
                              options.webpQuality == kWebpLossless
                                  ? wxString(wxS("lossless"))
                                  : wxString::Format(wxS("%d"), options.webpQuality));
    element->AddChild(
        Setting(wxS("profile"), options.optimised ? wxS("optimised") : wxS("classic")));
    element->AddChild(Setting(wxS("only_changes"), YesNo(options.onlyChanges)));
    element->AddChild(Setting(wxS("global_palette"), YesNo(options.globalPalette)));
    element->AddChild(Setting(wxS("colours"), wxString::Format(wxS("%d"), options.colours)));
    element->AddChild(Setting(wxS("dither"), GifDitherName(options.dither)));
    element->AddChild(Setting(wxS("smooth"), YesNo(options.smooth)));
    element->AddChild(Setting(wxS("loop_count"), wxString::Format(wxS("%d"), options.loopCount)));
    // Attributes written only when set, so that files of earlier versions stay as they were.
    if (options.lossy != 0)
        element->AddAttribute(wxS("lossy"), wxString::Format(wxS("%d"), options.lossy));
    if (options.maxBytes != 0)
        element->AddAttribute(wxS("max_bytes"),
                              wxString::Format(wxS("%llu"), static_cast<unsigned long long>(
                                                                options.maxBytes)));
    return element;
}

GifOptions ReadGifOptionsElement(const wxXmlNode* element)
{
    GifOptions options;
    if (!element || element->GetName() != kElement)
        return options;
    ParseExportFormat(element->GetAttribute(wxS("format")), options.format);
    const wxString webpQuality = element->GetAttribute(wxS("webp_quality"));
    if (webpQuality == wxS("lossless"))
        options.webpQuality = kWebpLossless;
    else
        ReadNumber(webpQuality, 0, kMaxWebpQuality, options.webpQuality);
    ReadNumber(element->GetAttribute(wxS("lossy")), 0, kMaxGifLossy, options.lossy);
    unsigned long long bytes = 0;
    const wxString limit = element->GetAttribute(wxS("max_bytes"));
    if (limit.length() <= 12 && limit.ToULongLong(&bytes) && bytes >= 1 &&
        bytes <= kMaxGifTargetBytes)
        options.maxBytes = bytes;
    for (const wxXmlNode* child = element->GetChildren(); child; child = child->GetNext())
    {
        if (child->GetType() != wxXML_ELEMENT_NODE)
            continue;
        const wxString name = child->GetName();
        const wxString text = child->GetNodeContent().Strip(wxString::both);
        if (name == wxS("profile"))
        {
            if (text == wxS("optimised"))
                options.optimised = true;
            else if (text == wxS("classic"))
                options.optimised = false;
        }
        else if (name == wxS("only_changes"))
            ReadYesNo(text, options.onlyChanges);
        else if (name == wxS("global_palette"))
            ReadYesNo(text, options.globalPalette);
        else if (name == wxS("colours"))
            ReadNumber(text, kMinGifColours, kMaxGifColours, options.colours);
        else if (name == wxS("dither"))
            ParseGifDither(text, options.dither);
        else if (name == wxS("smooth"))
            ReadYesNo(text, options.smooth);
        else if (name == wxS("loop_count"))
            ReadNumber(text, 0, kMaxGifLoopCount, options.loopCount);
    }
    return options;
}

GifOptions LoadGifOptionsFile(const wxString& path, GifOptionsFileRead* outcome)
{
    GifOptions options;
    GifOptionsFileRead read = GifOptionsFileRead::Read;
    if (!wxFileName::Exists(path, wxFILE_EXISTS_ANY))
        read = GifOptionsFileRead::Missing;
    else if (!ParseGifOptionsFile(path, options))
        read = GifOptionsFileRead::Unreadable;
    if (outcome)
        *outcome = read;
    return options;
}

bool SaveGifOptionsFile(const wxString& path, const GifOptions& options)
{
    wxXmlDocument doc;
    doc.SetVersion(wxS("1.0"));
    doc.SetFileEncoding(wxS("UTF-8"));
    doc.SetRoot(GifOptionsElement(options));
    wxMemoryOutputStream text;
    if (!doc.Save(text, 2))
        return false;
    AtomicFileOutputStream out(path);
    const wxStreamBuffer* buffer = text.GetOutputStreamBuffer();
    out.Write(buffer->GetBufferStart(), text.GetLength());
    return out.Commit();
}
