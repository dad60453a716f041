#ifndef LOOPFORGE_WORK_STOREDPICTURE_H
#define LOOPFORGE_WORK_STOREDPICTURE_H

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// How a stored picture's pixels are compressed. Both are lossless; the
// store uses kDefaultPictureCodec, the other is there to be compared.
enum class PictureCodec : std::uint8_t
{
    Lz4,
    Zstd
};
extern const PictureCodec kDefaultPictureCodec;

class PictureStoreFile;

// A decoded picture kept compressed, exactly as it was decoded, whatever
// later happens to the file it came from. The compressed bytes go to one
// temporary file of the process, removed from its folder as soon as it is
// open, so nothing is left behind even when the process is killed; they
// stay in memory only where that file cannot be written. A stored picture
// never changes: copies share the bytes, any thread may load it at the
// same time as others, and the last copy let go, on whatever thread, gives
// its place in the file back to the system.
class StoredPicture
{
public:
    StoredPicture() = default;

    // Compresses the picture (RGB, alpha and mask colour). An empty picture
    // or one that cannot be kept gives a stored picture that is not IsOk().
    static StoredPicture Keep(const wxImage& picture, PictureCodec codec = kDefaultPictureCodec);

    bool IsOk() const { return m_size.x > 0 && m_size.y > 0; }
    wxSize GetSize() const { return m_size; }
    // The bytes the picture takes when decoded.
    std::size_t DecodedBytes() const;
    // The bytes it takes compressed.
    std::size_t StoredBytes() const;

    // The picture as it was kept: a new image owned by the caller's thread;
    // an empty one when the bytes cannot be read back.
    wxImage Load() const;

private:
    struct Bytes;  // the compressed planes, in the file or in memory
    std::shared_ptr<const Bytes> m_bytes;
    wxSize m_size;
    PictureCodec m_codec = PictureCodec::Lz4;
    bool m_hasMask = false;
    unsigned char m_mask[3] = {0, 0, 0};
};

// The bytes the process's picture store file takes on disk.
std::uint64_t PictureStoreDiskBytes();

#endif
