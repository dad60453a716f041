#include "work/picturedecoder.h"

#include "work/bmpcheck.h"
#include "work/framereference.h"
#include "work/gifframereader.h"
#include "work/memorycheck.h"
#include "work/picturesize.h"
#include "work/regularfile.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <limits>
#include <vector>

namespace
{
using Status = PictureDecodeStatus;

// Files are read whole; nothing legitimate this program reads comes near this.
const std::size_t kMaxFileBytes = std::size_t(2) << 30;

// What the toolkit's loaders hold per pixel at most: RGB and alpha.
const unsigned long long kLoaderBytesPerPixel = 4;

Status DecodeWholeGif(const std::vector<unsigned char>& data, const PictureSink& sink,
                      const CancelCheck& cancelled)
{
    GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
    // One frame is held back until the next is known, so the last one can say so.
    std::unique_ptr<wxImage> pending;
    int pendingIndex = 0;
    bool delivered = false;
    bool outOfMemory = false;
    for (int index = 0;; ++index)
    {
        if (cancelled && cancelled())
            return Status::Decoded;
        auto image = std::make_unique<wxImage>();
        const GifFrameReader::Result result = reader.ReadFrame(*image);
        if (result == GifFrameReader::Result::End)
            break;
        outOfMemory = outOfMemory || result == GifFrameReader::Result::OutOfMemory;
        if (result != GifFrameReader::Result::Frame)
            continue;
        if (pending)
            sink(std::move(pending), pendingIndex, false);
        pending = std::move(image);
        pendingIndex = index;
        delivered = true;
    }
    if (pending)
        sink(std::move(pending), pendingIndex, true);
    if (outOfMemory)
        return Status::TooLargeForMemory;
    return delivered ? Status::Decoded : Status::Unreadable;
}

Status DecodeGifFrame(const std::vector<unsigned char>& data, int frameIndex,
                      const PictureSink& sink)
{
    GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
    for (int index = 0; index < frameIndex; ++index)
        if (reader.SkipFrame() == GifFrameReader::Result::End)
            return Status::Unreadable;
    auto image = std::make_unique<wxImage>();
    switch (reader.ReadFrame(*image))
    {
        case GifFrameReader::Result::Frame:
            sink(std::move(image), frameIndex, true);
            return Status::Decoded;
        case GifFrameReader::Result::OutOfMemory:
            return Status::TooLargeForMemory;
        case GifFrameReader::Result::Skipped:
        case GifFrameReader::Result::End:
            break;
    }
    return Status::Unreadable;
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

Status DecodeOtherPicture(const std::vector<unsigned char>& data, const PictureSink& sink)
{
    const PictureFormat format = SniffPictureFormat(data.data(), data.size());
    if (format == PictureFormat::Gif)
    {
        // GIF data under another name: its first frame, as the general loader gives it.
        return DecodeGifFrame(data, 0, sink);
    }
    const wxBitmapType type = LoaderType(format);
    unsigned long long width = 0, height = 0;
    if (type == wxBITMAP_TYPE_INVALID ||
        !ReadPictureSize(format, data.data(), data.size(), width, height) || width == 0 ||
        height == 0 || width * height > kMaxPicturePixels)
        return Status::Unreadable;
    if (format == PictureFormat::Bmp && !IsBmpSafeToDecode(data.data(), data.size()))
        return Status::Unreadable;

    // The loaders do not all check their allocations.
    const std::size_t loaderBytes = static_cast<std::size_t>(width * height * kLoaderBytesPerPixel);
    if (!CanAllocate(loaderBytes))
        return Status::TooLargeForMemory;

    wxLogNull quiet;
    wxMemoryInputStream stream(data.data(), data.size());
    auto image = std::make_unique<wxImage>();
    if (image->LoadFile(stream, type, -1) && image->IsOk())
    {
        sink(std::move(image), 0, true);
        return Status::Decoded;
    }
    // A loader that ran out of memory has given it back by now, unless
    // others took it meanwhile.
    return CanAllocate(loaderBytes) ? Status::Unreadable : Status::TooLargeForMemory;
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

wxString DescribePictureDecodeStatus(PictureDecodeStatus status)
{
    switch (status)
    {
        case Status::Decoded:
        case Status::Unreadable:
            break;
        case Status::TooLargeForMemory:
            return _("too large for the memory available");
        case Status::NotRegularFile:
            return _("not a regular file");
    }
    return wxString();
}

PictureDecodeStatus DecodePictures(const wxString& entry, const PictureSink& sink,
                                   const CancelCheck& cancelled)
{
    const PictureEntry described = DescribePictureEntry(entry);
    std::vector<unsigned char> data;
    switch (ReadRegularFile(described.path, kMaxFileBytes, data))
    {
        case FileReadResult::Read:
            break;
        case FileReadResult::NotRegularFile:
            return Status::NotRegularFile;
        case FileReadResult::OutOfMemory:
            return Status::TooLargeForMemory;
        case FileReadResult::CannotOpen:
        case FileReadResult::TooLarge:
        case FileReadResult::ReadFailed:
            return Status::Unreadable;
    }
    switch (described.kind)
    {
        case PictureEntryKind::WholeGif:
            return DecodeWholeGif(data, sink, cancelled);
        case PictureEntryKind::FrameReference:
            return DecodeGifFrame(data, described.frameIndex, sink);
        case PictureEntryKind::Picture:
            break;
    }
    return DecodeOtherPicture(data, sink);
}
