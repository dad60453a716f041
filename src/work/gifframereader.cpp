#include "work/gifframereader.h"

#include <wx/imaggif.h>
#include <wx/palette.h>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
const unsigned char kMaskRed = 255;
const unsigned char kMaskGreen = 0;
const unsigned char kMaskBlue = 255;
}  // namespace

GifFrameReader::GifFrameReader(const unsigned char* data, std::size_t size,
                               unsigned long long maxPixels)
    : m_input{data, size, 0}, m_maxPixels(maxPixels)
{
    int error = 0;
    m_gif = DGifOpen(&m_input, &GifFrameReader::ReadInput, &error);
    m_ended = m_gif == nullptr;
}

GifFrameReader::~GifFrameReader()
{
    if (m_gif)
        DGifCloseFile(m_gif, nullptr);
}

int GifFrameReader::ReadInput(GifFileType* gif, unsigned char* buffer, int length)
{
    Input* input = static_cast<Input*>(gif->UserData);
    if (length <= 0)
        return 0;
    const std::size_t available = input->size - input->offset;
    const std::size_t count = std::min(available, static_cast<std::size_t>(length));
    if (count > 0)
        std::memcpy(buffer, input->data + input->offset, count);
    input->offset += count;
    return static_cast<int>(count);
}

bool GifFrameReader::ReadExtension()
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(m_gif, &code, &block) == GIF_ERROR)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        m_transparentIndex = (block[1] & 0x01) ? block[4] : -1;
    while (block)
    {
        if (code == COMMENT_EXT_FUNC_CODE)
            m_comment.append(reinterpret_cast<const char*>(block + 1), block[0]);
        if (DGifGetExtensionNext(m_gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

GifFrameReader::Result GifFrameReader::ReadRecordsUpToImage()
{
    while (!m_ended)
    {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(m_gif, &type) == GIF_ERROR)
            break;
        if (type == EXTENSION_RECORD_TYPE)
        {
            if (!ReadExtension())
                break;
            continue;
        }
        if (type == IMAGE_DESC_RECORD_TYPE && DGifGetImageDesc(m_gif) != GIF_ERROR)
            return Result::Frame;
        break;
    }
    m_ended = true;
    return Result::End;
}

bool GifFrameReader::SkipImageData()
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(m_gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block)
        if (DGifGetCodeNext(m_gif, &block) == GIF_ERROR)
            return false;
    return true;
}

GifFrameReader::Result GifFrameReader::SkipFrame()
{
    if (ReadRecordsUpToImage() == Result::End)
        return Result::End;
    m_transparentIndex = -1;
    m_comment.clear();
    if (!SkipImageData())
    {
        m_ended = true;
        return Result::End;
    }
    return Result::Skipped;
}

bool GifFrameReader::DecodePixels(std::vector<unsigned char>& indices, int width, int height,
                                  bool interlaced)
{
    auto row = [&](int y) { return indices.data() + static_cast<std::size_t>(y) * width; };
    if (!interlaced)
    {
        for (int y = 0; y < height; ++y)
            if (DGifGetLine(m_gif, row(y), width) == GIF_ERROR)
                return false;
        return true;
    }
    // GIF89a interlacing: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd
    // from 1.
    static const int kStart[] = {0, 4, 2, 1};
    static const int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            if (DGifGetLine(m_gif, row(y), width) == GIF_ERROR)
                return false;
    return true;
}

bool GifFrameReader::ConvertToImage(const std::vector<unsigned char>& indices, int width,
                                    int height, wxImage& image) const
{
    const ColorMapObject* map = m_gif->Image.ColorMap ? m_gif->Image.ColorMap : m_gif->SColorMap;

    unsigned char red[256] = {}, green[256] = {}, blue[256] = {};
    int colourCount = 0;
    if (map)
    {
        colourCount = std::min(map->ColorCount, 256);
        for (int i = 0; i < colourCount; ++i)
        {
            red[i] = map->Colors[i].Red;
            green[i] = map->Colors[i].Green;
            blue[i] = map->Colors[i].Blue;
        }
    }
    else
    {
        // A file without any colour table leaves the colours to the reader: greys.
        colourCount = 256;
        for (int i = 0; i < colourCount; ++i)
            red[i] = green[i] = blue[i] = static_cast<unsigned char>(i);
    }

    if (!image.Create(width, height, false))
        return false;
    if (m_transparentIndex >= 0)
    {
        // The mask colour must mark transparent pixels only.
        for (int i = 0; i < colourCount; ++i)
            if (red[i] == kMaskRed && green[i] == kMaskGreen && blue[i] == kMaskBlue)
                blue[i] = kMaskBlue - 1;
        red[m_transparentIndex] = kMaskRed;
        green[m_transparentIndex] = kMaskGreen;
        blue[m_transparentIndex] = kMaskBlue;
        image.SetMaskColour(kMaskRed, kMaskGreen, kMaskBlue);
    }
    image.SetPalette(wxPalette(colourCount, red, green, blue));

    // Indices beyond the colour table (damaged data) come out black.
    unsigned char* out = image.GetData();
    for (unsigned char index : indices)
    {
        const bool known = index < colourCount || index == m_transparentIndex;
        *out++ = known ? red[index] : 0;
        *out++ = known ? green[index] : 0;
        *out++ = known ? blue[index] : 0;
    }

    if (!m_comment.empty())
    {
        const wxString comment(m_comment.data(), wxConvLibc, m_comment.size());
        if (!comment.empty())
            image.SetOption(wxIMAGE_OPTION_GIF_COMMENT, comment);
    }
    return true;
}

GifFrameReader::Result GifFrameReader::ReadFrame(wxImage& image)
{
    if (ReadRecordsUpToImage() == Result::End)
        return Result::End;

    const int width = m_gif->Image.Width;
    const int height = m_gif->Image.Height;
    const unsigned long long pixels = static_cast<unsigned long long>(width) * height;
    Result result = Result::Skipped;
    std::vector<unsigned char> indices;
    bool decode = width > 0 && height > 0 && pixels <= m_maxPixels;
    if (decode)
    {
        try
        {
            indices.resize(static_cast<std::size_t>(pixels));
        }
        catch (const std::bad_alloc&)
        {
            decode = false;
            result = Result::OutOfMemory;
        }
    }
    if (decode)
    {
        if (!DecodePixels(indices, width, height, m_gif->Image.Interlace))
        {
            // Cut-short or corrupt pixel data: whatever follows cannot be trusted.
            m_ended = true;
            return Result::End;
        }
        result =
            ConvertToImage(indices, width, height, image) ? Result::Frame : Result::OutOfMemory;
    }
    else if (!SkipImageData())
    {
        m_ended = true;
        return Result::End;
    }
    m_transparentIndex = -1;
    m_comment.clear();
    return result;
}
