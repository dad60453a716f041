#include "work/picturedecoder.h"

#include "work/bmpcheck.h"
#include "work/framereference.h"
#include "work/gifframereader.h"
#include "work/picturesequence.h"
#include "work/picturesize.h"

#include <wx/ffile.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <limits>
#include <vector>

namespace
{
// Files are read whole; nothing legitimate this program reads comes near this.
const wxFileOffset kMaxFileBytes = wxFileOffset(2) << 30;

wxBitmapType LoaderType(PictureFormat format)
{
    switch (format)
    {
        case PictureFormat::Png:
            return wxBITMAP_TYPE_PNG;
        case PictureFormat::Jpeg:
            return wxBITMAP_TYPE_JPEG;
        case PictureFormat::Bmp:
            return wxBITMAP_TYPE_BMP;
        case PictureFormat::Gif:
        case PictureFormat::Unknown:
            break;
    }
    return wxBITMAP_TYPE_INVALID;
}
}  // namespace

bool ReadPictureFile(const wxString& path, std::vector<unsigned char>& data)
{
    wxLogNull quiet;
    wxFFile file(path, wxS("rb"));
    if (!file.IsOpened())
        return false;
    const wxFileOffset length = file.Length();
    if (length < 0 || length > kMaxFileBytes)
        return false;
    data.resize(static_cast<std::size_t>(length));
    return length == 0 || file.Read(data.data(), data.size()) == data.size();
}

std::unique_ptr<wxImage> DecodeStillPicture(const std::vector<unsigned char>& data)
{
    const PictureFormat format = SniffPictureFormat(data.data(), data.size());
    auto image = std::make_unique<wxImage>();
    if (format == PictureFormat::Gif)
    {
        // GIF data under another name: its first frame, as the general loader gives it.
        GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
        if (reader.ReadFrame(*image) == GifFrameReader::Result::Frame)
            return image;
        return nullptr;
    }
    const wxBitmapType type = LoaderType(format);
    unsigned long long width = 0, height = 0;
    if (type == wxBITMAP_TYPE_INVALID ||
        !ReadPictureSize(format, data.data(), data.size(), width, height) || width == 0 ||
        height == 0 || width * height > kMaxPicturePixels)
        return nullptr;
    if (format == PictureFormat::Bmp && !IsBmpSafeToDecode(data.data(), data.size()))
        return nullptr;

    wxLogNull quiet;
    wxMemoryInputStream stream(data.data(), data.size());
    if (image->LoadFile(stream, type, -1) && image->IsOk())
        return image;
    return nullptr;
}

PictureEntry DescribePictureEntry(const wxString& entry)
{
    FrameReference reference;
    if (ParseFrameReference(entry, reference))
    {
        const std::size_t maxIndex = static_cast<std::size_t>(std::numeric_limits<int>::max());
        const int index = static_cast<int>(reference.index > maxIndex ? maxIndex : reference.index);
        return {PictureEntryKind::FrameReference, reference.gifPath, index};
    }
    if (entry.EndsWith(wxS(".gif")))
        return {PictureEntryKind::WholeGif, entry, 0};
    return {PictureEntryKind::Picture, entry, 0};
}

void DecodePictures(const wxString& entry, const PictureSink& sink, const CancelCheck& cancelled)
{
    wxArrayString entries;
    entries.push_back(entry);
    PictureSequence sequence(entries);
    SequencePicture picture;
    while (sequence.Next(picture, cancelled))
        sink(std::move(picture.image), picture.frameIndex, picture.lastOfEntry);
}
