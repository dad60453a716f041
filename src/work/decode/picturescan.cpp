#include "decode/picturescan.h"

#include "decode/gifanimationreader.h"

namespace
{
using Status = PictureDecodeStatus;

// Enough for the size in the headers of nearly every PNG and JPEG file; a
// file whose headers say more only in full is read whole.
const std::size_t kHeadBytes = 256 * 1024;

PictureScan ScanStillPicture(const wxString& path)
{
    PictureScan scan;
    std::vector<unsigned char> data;
    bool whole = false;
    scan.status = ReadPictureFileHead(path, kHeadBytes, data, whole);
    if (scan.status != Status::Decoded)
        return scan;
    wxSize size;
    StillPictureCheck check = CheckStillPicture(data.data(), data.size(), whole, size);
    if (check == StillPictureCheck::NeedWholeFile)
    {
        scan.status = ReadPictureFile(path, data);
        if (scan.status != Status::Decoded)
            return scan;
        check = CheckStillPicture(data.data(), data.size(), true, size);
    }
    if (check == StillPictureCheck::Decodable)
        scan.sizes.push_back(size);
    else
        scan.status = Status::Unreadable;
    return scan;
}
}  // namespace

const PictureScanner::GifFrames& PictureScanner::ScanGif(const wxString& path)
{
    const auto known = m_gifs.find(path);
    if (known != m_gifs.end())
        return known->second;
    GifFrames& frames = m_gifs[path];
    std::vector<unsigned char> data;
    frames.status = ReadPictureFile(path, data);
    if (frames.status != Status::Decoded)
        return frames;
    GifAnimationReader reader(std::move(data), GifAnimationReader::Reading::SizesOnly);
    bool any = false;
    for (;;)
    {
        const GifFrameReader::Result result = reader.Next();
        if (result == GifFrameReader::Result::End || result == GifFrameReader::Result::OutOfMemory)
            break;
        frames.sizes.resize(std::size_t(reader.Index()) + 1);
        frames.sizes.back() = reader.PictureSize();
        frames.delays.resize(frames.sizes.size());
        frames.delays.back() = reader.Delay();
        any = any || result == GifFrameReader::Result::Frame;
    }
    if (!any)
        frames.status = Status::Unreadable;
    return frames;
}

PictureScan PictureScanner::Scan(const wxString& entry)
{
    const PictureEntry described = DescribePictureEntry(entry);
    if (described.kind == PictureEntryKind::Picture)
        return ScanStillPicture(described.path);

    const GifFrames& frames = ScanGif(described.path);
    PictureScan scan;
    scan.status = frames.status;
    if (described.kind == PictureEntryKind::WholeGif)
    {
        for (std::size_t i = 0; i < frames.sizes.size(); ++i)
            if (frames.sizes[i] != wxSize())
            {
                scan.sizes.push_back(frames.sizes[i]);
                scan.frameIndices.push_back(int(i));
                scan.delays.push_back(frames.delays[i]);
            }
        return scan;
    }
    const std::size_t index = std::size_t(described.frameIndex);
    if (index < frames.sizes.size() && frames.sizes[index] != wxSize())
    {
        scan.status = Status::Decoded;
        scan.sizes.push_back(frames.sizes[index]);
    }
    else if (scan.status == Status::Decoded)
    {
        scan.status = Status::Unreadable;
    }
    return scan;
}
