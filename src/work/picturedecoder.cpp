#include "work/picturedecoder.h"

#include "work/bmpcheck.h"
#include "work/framereference.h"
#include "work/gifframereader.h"
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

bool ReadWholeFile(const wxString& path, std::vector<unsigned char>& data)
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

void DecodeWholeGif(const std::vector<unsigned char>& data, const PictureSink& sink,
                    const CancelCheck& cancelled)
{
    GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
    // One frame is held back until the next is known, so the last one can say so.
    std::unique_ptr<wxImage> pending;
    int pendingIndex = 0;
    for (int index = 0;; ++index)
    {
        if (cancelled && cancelled())
            return;
        auto image = std::make_unique<wxImage>();
        const GifFrameReader::Result result = reader.ReadFrame(*image);
        if (result == GifFrameReader::Result::End)
            break;
        if (result != GifFrameReader::Result::Frame)
            continue;
        if (pending)
            sink(std::move(pending), pendingIndex, false);
        pending = std::move(image);
        pendingIndex = index;
    }
    if (pending)
        sink(std::move(pending), pendingIndex, true);
}

void DecodeGifFrame(const std::vector<unsigned char>& data, int frameIndex, const PictureSink& sink)
{
    GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
    for (int index = 0; index < frameIndex; ++index)
        if (reader.SkipFrame() == GifFrameReader::Result::End)
            return;
    auto image = std::make_unique<wxImage>();
    if (reader.ReadFrame(*image) == GifFrameReader::Result::Frame)
        sink(std::move(image), frameIndex, true);
}

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

void DecodeOtherPicture(const std::vector<unsigned char>& data, const PictureSink& sink)
{
    const PictureFormat format = SniffPictureFormat(data.data(), data.size());
    if (format == PictureFormat::Gif)
    {
        // GIF data under another name: its first frame, as the general loader gives it.
        DecodeGifFrame(data, 0, sink);
        return;
    }
    const wxBitmapType type = LoaderType(format);
    unsigned long long width = 0, height = 0;
    if (type == wxBITMAP_TYPE_INVALID ||
        !ReadPictureSize(format, data.data(), data.size(), width, height) || width == 0 ||
        height == 0 || width * height > kMaxPicturePixels)
        return;
    if (format == PictureFormat::Bmp && !IsBmpSafeToDecode(data.data(), data.size()))
        return;

    wxLogNull quiet;
    wxMemoryInputStream stream(data.data(), data.size());
    auto image = std::make_unique<wxImage>();
    if (image->LoadFile(stream, type, -1) && image->IsOk())
        sink(std::move(image), 0, true);
}
}  // namespace

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
    const PictureEntry described = DescribePictureEntry(entry);
    std::vector<unsigned char> data;
    if (!ReadWholeFile(described.path, data))
        return;
    switch (described.kind)
    {
        case PictureEntryKind::WholeGif:
            DecodeWholeGif(data, sink, cancelled);
            break;
        case PictureEntryKind::FrameReference:
            DecodeGifFrame(data, described.frameIndex, sink);
            break;
        case PictureEntryKind::Picture:
            DecodeOtherPicture(data, sink);
            break;
    }
}
