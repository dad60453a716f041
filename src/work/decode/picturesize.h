#ifndef LOOPFORGE_WORK_PICTURESIZE_H
#define LOOPFORGE_WORK_PICTURESIZE_H

#include <cstddef>

// Largest picture decoded, in pixels (2^28: 16384 x 16384, about 1 GiB as RGB
// plus alpha). A hostile header can announce billions of pixels; such a
// picture is skipped like an unreadable file instead of exhausting memory.
constexpr unsigned long long kMaxPicturePixels = 1ull << 28;

// The picture formats the program reads, told by their content, never by
// the file name.
enum class PictureFormat
{
    Unknown,
    Gif,
    Png,
    Jpeg,
    Bmp
};

PictureFormat SniffPictureFormat(const unsigned char* data, std::size_t size);

// Reads the pixel size a PNG, JPEG or BMP header announces, before any pixel
// is decoded. False when the header is damaged or the format is not one of
// those three.
bool ReadPictureSize(PictureFormat format, const unsigned char* data, std::size_t size,
                     unsigned long long& width, unsigned long long& height);

#endif
