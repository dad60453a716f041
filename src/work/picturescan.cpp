#include "work/picturescan.h"

#include "work/bmpcheck.h"
#include "work/picturedecoder.h"
#include "work/picturesize.h"

#include <wx/ffile.h>
#include <wx/log.h>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
// Enough for the size in the headers of nearly every PNG and JPEG file; a
// JPEG file with large metadata before its frame header is read whole.
const std::size_t kHeadBytes = 256 * 1024;
const wxFileOffset kMaxFileBytes = wxFileOffset(2) << 30;

// The first limit bytes of the file (all of it when limit is 0).
bool ReadFile(const wxString& path, std::size_t limit, std::vector<unsigned char>& data,
              bool& whole)
{
    wxLogNull quiet;
    wxFFile file(path, wxS("rb"));
    if (!file.IsOpened())
        return false;
    const wxFileOffset length = file.Length();
    if (length < 0 || length > kMaxFileBytes)
        return false;
    std::size_t wanted = static_cast<std::size_t>(length);
    if (limit > 0)
        wanted = std::min(wanted, limit);
    whole = wanted == static_cast<std::size_t>(length);
    data.resize(wanted);
    return wanted == 0 || file.Read(data.data(), wanted) == wanted;
}

struct Input
{
    const std::vector<unsigned char>* data;
    std::size_t offset;
};

int ReadInput(GifFileType* gif, GifByteType* buffer, int length)
{
    Input* input = static_cast<Input*>(gif->UserData);
    const std::size_t count =
        std::min<std::size_t>(std::max(length, 0), input->data->size() - input->offset);
    std::memcpy(buffer, input->data->data() + input->offset, count);
    input->offset += count;
    return static_cast<int>(count);
}

bool SkipExtension(GifFileType* gif)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return false;
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

bool SkipPixels(GifFileType* gif)
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block)
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

// The frames of GIF data as the frame reader takes them: every frame with
// pixels, up to the first damage. With only >= 0, just that frame (counting
// frames without pixels too, as frame references do).
std::vector<wxSize> ScanGif(const std::vector<unsigned char>& data, int only)
{
    std::vector<wxSize> sizes;
    Input input{&data, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadInput, &error);
    if (!gif)
        return sizes;
    for (int index = 0;;)
    {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            break;
        if (type == EXTENSION_RECORD_TYPE)
        {
            if (!SkipExtension(gif))
                break;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) == GIF_ERROR)
            break;
        const long long width = gif->Image.Width, height = gif->Image.Height;
        const bool usable =
            width > 0 && height > 0 && (unsigned long long)(width * height) <= kMaxPicturePixels;
        if ((only < 0 || index == only) && usable)
            sizes.emplace_back(int(width), int(height));
        if (index == only || !SkipPixels(gif))
            break;
        ++index;
    }
    DGifCloseFile(gif, &error);
    return sizes;
}

std::vector<wxSize> ScanOtherPicture(const wxString& path)
{
    std::vector<unsigned char> data;
    bool whole = false;
    if (!ReadFile(path, kHeadBytes, data, whole))
        return {};
    const PictureFormat format = SniffPictureFormat(data.data(), data.size());
    unsigned long long width = 0, height = 0;
    bool known = format != PictureFormat::Gif && format != PictureFormat::Unknown &&
                 ReadPictureSize(format, data.data(), data.size(), width, height);
    // GIF data under another name, a header further in, or a BMP file to
    // check throughout: the whole file is needed.
    if (!whole && (format == PictureFormat::Gif || format == PictureFormat::Bmp || !known))
    {
        if (!ReadFile(path, 0, data, whole))
            return {};
        known = format != PictureFormat::Gif && format != PictureFormat::Unknown &&
                ReadPictureSize(format, data.data(), data.size(), width, height);
    }
    if (format == PictureFormat::Gif)
        return ScanGif(data, 0);
    if (!known || width == 0 || height == 0 || width * height > kMaxPicturePixels)
        return {};
    if (format == PictureFormat::Bmp && !IsBmpSafeToDecode(data.data(), data.size()))
        return {};
    return {wxSize(int(width), int(height))};
}
}  // namespace

std::vector<wxSize> ScanPictureSizes(const wxString& entry)
{
    const PictureEntry described = DescribePictureEntry(entry);
    if (described.kind == PictureEntryKind::Picture)
        return ScanOtherPicture(described.path);
    std::vector<unsigned char> data;
    bool whole = false;
    if (!ReadFile(described.path, 0, data, whole))
        return {};
    return ScanGif(data,
                   described.kind == PictureEntryKind::FrameReference ? described.frameIndex : -1);
}
