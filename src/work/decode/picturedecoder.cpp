#include "decode/picturedecoder.h"

#include "decode/bmpcheck.h"
#include "decode/framereference.h"
#include "decode/gifframereader.h"
#include "decode/picturesequence.h"
#include "decode/picturesize.h"
#include "files/memorycheck.h"
#include "files/regularfile.h"

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

PictureDecodeStatus ReadPictureFileHead(const wxString& path, std::size_t headBytes,
                                        std::vector<unsigned char>& data, bool& whole)
{
    switch (ReadRegularFileHead(path, kMaxFileBytes, headBytes, data, whole))
    {
        case FileReadResult::Read:
            return Status::Decoded;
        case FileReadResult::NotRegularFile:
            return Status::NotRegularFile;
        case FileReadResult::OutOfMemory:
            return Status::TooLargeForMemory;
        case FileReadResult::CannotOpen:
        case FileReadResult::TooLarge:
        case FileReadResult::ReadFailed:
            break;
    }
    return Status::Unreadable;
}

PictureDecodeStatus ReadPictureFile(const wxString& path, std::vector<unsigned char>& data)
{
    bool whole = false;
    return ReadPictureFileHead(path, kMaxFileBytes, data, whole);
}

StillPictureCheck CheckStillPicture(const unsigned char* data, std::size_t size, bool whole,
                                    wxSize& pictureSize)
{
    const PictureFormat format = SniffPictureFormat(data, size);
    if (format == PictureFormat::Gif)
    {
        // GIF data under another name: its first image as stored.
        if (!whole)
            return StillPictureCheck::NeedWholeFile;
        GifFrameReader reader(data, size, kMaxPicturePixels);
        GifStoredFrame first;
        if (reader.SkipFrame(first) != GifFrameReader::Result::Frame)
            return StillPictureCheck::NoPicture;
        pictureSize = wxSize(first.width, first.height);
        return StillPictureCheck::Decodable;
    }
    if (LoaderType(format) == wxBITMAP_TYPE_INVALID)
        return StillPictureCheck::NoPicture;
    unsigned long long width = 0, height = 0;
    if (!ReadPictureSize(format, data, size, width, height))
        return whole ? StillPictureCheck::NoPicture : StillPictureCheck::NeedWholeFile;
    if (width == 0 || height == 0 || width * height > kMaxPicturePixels)
        return StillPictureCheck::NoPicture;
    // The BMP check walks the pixel data.
    if (format == PictureFormat::Bmp && !whole)
        return StillPictureCheck::NeedWholeFile;
    if (format == PictureFormat::Bmp && !IsBmpSafeToDecode(data, size))
        return StillPictureCheck::NoPicture;
    pictureSize = wxSize(int(width), int(height));
    return StillPictureCheck::Decodable;
}

PictureDecodeStatus DecodeStillPicture(const std::vector<unsigned char>& data,
                                       std::unique_ptr<wxImage>& image)
{
    image.reset();
    wxSize size;
    if (CheckStillPicture(data.data(), data.size(), true, size) != StillPictureCheck::Decodable)
        return Status::Unreadable;
    const PictureFormat format = SniffPictureFormat(data.data(), data.size());
    auto decoded = std::make_unique<wxImage>();
    if (format == PictureFormat::Gif)
    {
        GifFrameReader reader(data.data(), data.size(), kMaxPicturePixels);
        switch (reader.ReadFrame(*decoded))
        {
            case GifFrameReader::Result::Frame:
                image = std::move(decoded);
                return Status::Decoded;
            case GifFrameReader::Result::OutOfMemory:
                return Status::TooLargeForMemory;
            case GifFrameReader::Result::Skipped:
            case GifFrameReader::Result::Damaged:
            case GifFrameReader::Result::End:
                break;
        }
        return Status::Unreadable;
    }

    // The loaders do not all check their allocations.
    const std::size_t loaderBytes =
        std::size_t(size.x) * std::size_t(size.y) * std::size_t(kLoaderBytesPerPixel);
    if (!CanAllocate(loaderBytes))
        return Status::TooLargeForMemory;

    wxLogNull quiet;
    wxMemoryInputStream stream(data.data(), data.size());
    if (decoded->LoadFile(stream, LoaderType(format), -1) && decoded->IsOk())
    {
        image = std::move(decoded);
        return Status::Decoded;
    }
    // A loader that ran out of memory has given it back by now, unless
    // others took it meanwhile.
    return CanAllocate(loaderBytes) ? Status::Unreadable : Status::TooLargeForMemory;
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
    if (HasGifEnding(entry))
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
    wxArrayString entries;
    entries.push_back(entry);
    // A stopped walk leaves the entry without an outcome: it counts as decoded.
    PictureDecodeStatus status = Status::Decoded;
    PictureSequence sequence(
        entries, [&status](std::size_t, PictureDecodeStatus outcome) { status = outcome; });
    SequencePicture picture;
    while (sequence.Next(picture, cancelled))
        if (sink)
            sink(std::move(picture.image), picture.frameIndex, picture.lastOfEntry);
    return status;
}
