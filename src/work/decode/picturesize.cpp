#include "decode/picturesize.h"

#include <cstdint>
#include <cstring>

namespace
{
std::uint32_t BigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

std::uint32_t LittleEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) |
           p[0];
}

bool ReadPngSize(const unsigned char* data, std::size_t size, unsigned long long& width,
                 unsigned long long& height)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height.
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    width = BigEndian32(data + 16);
    height = BigEndian32(data + 20);
    return true;
}

bool IsStartOfFrame(unsigned char marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool ReadJpegSize(const unsigned char* data, std::size_t size, unsigned long long& width,
                  unsigned long long& height)
{
    std::size_t pos = 2;
    while (pos + 4 <= size)
    {
        if (data[pos] != 0xFF)
            return false;
        const unsigned char marker = data[pos + 1];
        if (marker == 0xFF)
        {
            ++pos;  // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
        {
            pos += 2;  // markers without a length
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return false;  // end of image or start of scan before any frame header
        const std::size_t length = (std::size_t(data[pos + 2]) << 8) | data[pos + 3];
        if (length < 2)
            return false;
        if (IsStartOfFrame(marker))
        {
            if (pos + 9 > size || length < 7)
                return false;
            height = (unsigned(data[pos + 5]) << 8) | data[pos + 6];
            width = (unsigned(data[pos + 7]) << 8) | data[pos + 8];
            return true;
        }
        pos += 2 + length;
    }
    return false;
}

bool ReadBmpSize(const unsigned char* data, std::size_t size, unsigned long long& width,
                 unsigned long long& height)
{
    if (size < 26)
        return false;
    const std::uint32_t headerSize = LittleEndian32(data + 14);
    if (headerSize == 12)
    {
        width = std::uint32_t(data[18]) | (std::uint32_t(data[19]) << 8);
        height = std::uint32_t(data[20]) | (std::uint32_t(data[21]) << 8);
        return true;
    }
    const std::int32_t w = static_cast<std::int32_t>(LittleEndian32(data + 18));
    const std::int32_t h = static_cast<std::int32_t>(LittleEndian32(data + 22));
    width = w < 0 ? 0 - static_cast<long long>(w) : w;
    height = h < 0 ? 0 - static_cast<long long>(h) : h;
    return true;
}
}  // namespace

PictureFormat SniffPictureFormat(const unsigned char* data, std::size_t size)
{
    static const unsigned char kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 3 && std::memcmp(data, "GIF", 3) == 0)
        return PictureFormat::Gif;
    if (size >= sizeof(kPng) && std::memcmp(data, kPng, sizeof(kPng)) == 0)
        return PictureFormat::Png;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return PictureFormat::Jpeg;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

bool ReadPictureSize(PictureFormat format, const unsigned char* data, std::size_t size,
                     unsigned long long& width, unsigned long long& height)
{
    switch (format)
    {
        case PictureFormat::Png:
            return ReadPngSize(data, size, width, height);
        case PictureFormat::Jpeg:
            return ReadJpegSize(data, size, width, height);
        case PictureFormat::Bmp:
            return ReadBmpSize(data, size, width, height);
        case PictureFormat::Gif:
        case PictureFormat::Unknown:
            break;
    }
    return false;
}
