#include "decode/gifframereader.h"

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

GifDisposal DisposalOf(int method)
{
    switch (method)
    {
        case 2:
            return GifDisposal::Background;
        case 3:
            return GifDisposal::Previous;
        default:
            return GifDisposal::Keep;
    }
}
}  // namespace

void AttachGifComment(wxImage& image, const std::string& comment)
{
    if (comment.empty())
        return;
    const wxString text(comment.data(), wxConvLibc, comment.size());
    if (!text.empty())
        image.SetOption(wxIMAGE_OPTION_GIF_COMMENT, text);
}

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

bool GifFrameReader::ResumeAt(std::size_t offset)
{
    // A fresh giflib reader: one that read on would keep a record of every
    // image it passed.
    if (m_gif)
        DGifCloseFile(m_gif, nullptr);
    m_input.offset = 0;
    int error = 0;
    m_gif = DGifOpen(&m_input, &GifFrameReader::ReadInput, &error);
    m_ended = m_gif == nullptr;
    m_descriptorRead = false;
    FinishFrame();
    if (m_ended || offset > m_input.size)
    {
        m_ended = true;
        return false;
    }
    m_input.offset = offset;
    return true;
}

wxSize GifFrameReader::ScreenSize() const
{
    return m_gif ? wxSize(m_gif->SWidth, m_gif->SHeight) : wxSize(0, 0);
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
    {
        m_transparentIndex = (block[1] & 0x01) ? block[4] : -1;
        m_disposal = DisposalOf((block[1] >> 2) & 0x07);
        m_delay = block[2] | (block[3] << 8);
    }
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
    if (m_descriptorRead)
    {
        m_descriptorRead = false;
        return Result::Frame;
    }
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

bool GifFrameReader::HasAnotherFrame()
{
    if (m_descriptorRead)
        return true;
    m_descriptorRead = ReadRecordsUpToImage() == Result::Frame;
    return m_descriptorRead;
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

std::size_t GifFrameReader::EndOfImageData(std::size_t offset) const
{
    while (offset < m_input.size)
    {
        const std::size_t length = m_input.data[offset];
        offset += 1 + length;
        if (length == 0)
            return offset;
    }
    return 0;
}

void GifFrameReader::FinishFrame()
{
    m_transparentIndex = -1;
    m_disposal = GifDisposal::Keep;
    m_delay = -1;
    m_comment.clear();
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

void GifFrameReader::ReadColourTable(GifStoredFrame& frame) const
{
    const ColorMapObject* map = m_gif->Image.ColorMap ? m_gif->Image.ColorMap : m_gif->SColorMap;
    if (map)
    {
        frame.colourCount = std::min(map->ColorCount, 256);
        for (int i = 0; i < frame.colourCount; ++i)
        {
            frame.colours[3 * i] = map->Colors[i].Red;
            frame.colours[3 * i + 1] = map->Colors[i].Green;
            frame.colours[3 * i + 2] = map->Colors[i].Blue;
        }
        return;
    }
    // A file without any colour table leaves the colours to the reader: greys.
    frame.colourCount = 256;
    for (int i = 0; i < frame.colourCount; ++i)
        std::memset(frame.colours + 3 * i, i, 3);
}

GifFrameReader::Result GifFrameReader::ReadFrame(GifStoredFrame& frame)
{
    return NextFrame(frame, true);
}

GifFrameReader::Result GifFrameReader::SkipFrame(GifStoredFrame& frame)
{
    frame.indices.clear();
    return NextFrame(frame, false);
}

GifFrameReader::Result GifFrameReader::NextFrame(GifStoredFrame& frame, bool withPixels)
{
    if (ReadRecordsUpToImage() == Result::End)
        return Result::End;

    const GifImageDesc& descriptor = m_gif->Image;
    const unsigned long long pixels =
        static_cast<unsigned long long>(descriptor.Width) * descriptor.Height;
    Result result = Result::Skipped;
    const bool usable = descriptor.Width > 0 && descriptor.Height > 0 && pixels <= m_maxPixels;
    bool decode = usable && withPixels;
    if (decode)
    {
        try
        {
            frame.indices.resize(static_cast<std::size_t>(pixels));
        }
        catch (const std::bad_alloc&)
        {
            decode = false;
            result = Result::OutOfMemory;
        }
    }
    if (decode)
    {
        const std::size_t dataStart = m_input.offset;
        if (!DecodePixels(frame.indices, descriptor.Width, descriptor.Height, descriptor.Interlace))
        {
            // Corrupt pixel data spoils this frame only: its sub-blocks still
            // say where the next record starts, unless the data is cut short.
            // giflib keeps no state across records that this jump upsets.
            FinishFrame();
            const std::size_t next = EndOfImageData(dataStart);
            if (next == 0)
                m_ended = true;
            else
                m_input.offset = next;
            return Result::Damaged;
        }
    }
    else if (!SkipImageData())
    {
        m_ended = true;
        return Result::End;
    }
    if (usable && result != Result::OutOfMemory)
    {
        frame.left = descriptor.Left;
        frame.top = descriptor.Top;
        frame.width = descriptor.Width;
        frame.height = descriptor.Height;
        frame.disposal = m_disposal;
        frame.transparentIndex = m_transparentIndex;
        frame.delay = m_delay;
        frame.comment = m_comment;
        ReadColourTable(frame);
        result = Result::Frame;
    }
    FinishFrame();
    return result;
}

bool GifFrameReader::ConvertToImage(const GifStoredFrame& frame, wxImage& image)
{
    unsigned char red[256] = {}, green[256] = {}, blue[256] = {};
    const int colourCount = frame.colourCount;
    for (int i = 0; i < colourCount; ++i)
    {
        red[i] = frame.colours[3 * i];
        green[i] = frame.colours[3 * i + 1];
        blue[i] = frame.colours[3 * i + 2];
    }

    if (!image.Create(frame.width, frame.height, false))
        return false;
    const int transparent = frame.transparentIndex;
    if (transparent >= 0)
    {
        // The mask colour must mark transparent pixels only.
        for (int i = 0; i < colourCount; ++i)
            if (red[i] == kMaskRed && green[i] == kMaskGreen && blue[i] == kMaskBlue)
                blue[i] = kMaskBlue - 1;
        red[transparent] = kMaskRed;
        green[transparent] = kMaskGreen;
        blue[transparent] = kMaskBlue;
        image.SetMaskColour(kMaskRed, kMaskGreen, kMaskBlue);
    }
    image.SetPalette(wxPalette(colourCount, red, green, blue));

    // Indices beyond the colour table (damaged data) come out black.
    unsigned char* out = image.GetData();
    for (unsigned char index : frame.indices)
    {
        const bool known = index < colourCount || index == transparent;
        *out++ = known ? red[index] : 0;
        *out++ = known ? green[index] : 0;
        *out++ = known ? blue[index] : 0;
    }

    AttachGifComment(image, frame.comment);
    return true;
}

GifFrameReader::Result GifFrameReader::ReadFrame(wxImage& image)
{
    GifStoredFrame frame;
    const Result result = ReadFrame(frame);
    if (result != Result::Frame)
        return result;
    return ConvertToImage(frame, image) ? Result::Frame : Result::OutOfMemory;
}
