#include "decode/storedpicture.h"

#include <lz4.h>
#include <zstd.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

// Measured on 1920 x 1080 frames (bench/store_codec_bench): LZ4 loads a
// picture several times faster than zstd's fastest level, which the
// preview and the export feel on every frame; zstd's smaller copies only
// matter on disk.
const PictureCodec kDefaultPictureCodec = PictureCodec::Lz4;

// The process's temporary file of compressed pictures: appended to under a
// lock, read anywhere at once. Unlinked once open, so the system removes
// it when the last descriptor closes, also after a crash.
class PictureStoreFile
{
public:
    explicit PictureStoreFile(int fd) : m_fd(fd) {}
    ~PictureStoreFile() { ::close(m_fd); }
    PictureStoreFile(const PictureStoreFile&) = delete;
    PictureStoreFile& operator=(const PictureStoreFile&) = delete;

    // The file every new picture goes to; null when none can be made.
    static std::shared_ptr<PictureStoreFile> Shared();

    bool Append(const char* bytes, std::size_t count, std::uint64_t& offset)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        offset = m_end;
        for (std::size_t done = 0; done < count;)
        {
            const ssize_t written = ::pwrite(m_fd, bytes + done, count - done, off_t(m_end + done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            done += std::size_t(written);
        }
        m_end += count;
        return true;
    }

    bool Read(std::uint64_t offset, char* bytes, std::size_t count) const
    {
        for (std::size_t done = 0; done < count;)
        {
            const ssize_t read = ::pread(m_fd, bytes + done, count - done, off_t(offset + done));
            if (read < 0 && errno == EINTR)
                continue;
            if (read <= 0)
                return false;
            done += std::size_t(read);
        }
        return true;
    }

    // Gives the bytes' blocks back to the system; the file keeps its size.
    void Release(std::uint64_t offset, std::size_t count)
    {
        // A file system that cannot punch holes keeps them until the file closes.
        (void)::fallocate(m_fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, off_t(offset),
                          off_t(count));
    }

    // The bytes the file takes on disk.
    std::uint64_t DiskBytes() const
    {
        struct stat status;
        return ::fstat(m_fd, &status) == 0 ? std::uint64_t(status.st_blocks) * 512 : 0;
    }

private:
    int m_fd;
    std::mutex m_mutex;
    std::uint64_t m_end = 0;
};

struct StoredPicture::Bytes
{
    ~Bytes()
    {
        if (file)
            file->Release(offset, std::size_t(rgb) + alpha);
    }

    std::shared_ptr<PictureStoreFile> file;  // where the bytes are, or
    std::vector<char> memory;                // the bytes themselves
    std::uint64_t offset = 0;
    std::uint32_t rgb = 0;
    std::uint32_t alpha = 0;  // 0: no alpha channel
};

namespace
{
std::mutex g_sharedMutex;
std::weak_ptr<PictureStoreFile> g_shared;
}  // namespace

std::shared_ptr<PictureStoreFile> PictureStoreFile::Shared()
{
    std::lock_guard<std::mutex> lock(g_sharedMutex);
    if (auto file = g_shared.lock())
        return file;
    const char* folder = std::getenv("TMPDIR");
    std::string name =
        std::string(folder && *folder ? folder : "/tmp") + "/loopforge-frames-XXXXXX";
    const int fd = ::mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    ::unlink(name.c_str());
    auto file = std::make_shared<PictureStoreFile>(fd);
    g_shared = file;
    return file;
}

std::uint64_t PictureStoreDiskBytes()
{
    std::shared_ptr<PictureStoreFile> file;
    {
        std::lock_guard<std::mutex> lock(g_sharedMutex);
        file = g_shared.lock();
    }
    return file ? file->DiskBytes() : 0;
}

namespace
{
// Room for one picture's compressed bytes. Each thread keeps its room for
// the next picture, so a run of pictures does not fault in fresh pages for
// every one; a very large picture gets room of its own, freed after.
class Scratch
{
public:
    explicit Scratch(std::size_t bytes)
    {
        thread_local std::unique_ptr<char[]> kept;
        thread_local std::size_t keptBytes = 0;
        if (bytes > kMostKept)
        {
            m_own.reset(new (std::nothrow) char[bytes]);
            m_data = m_own.get();
            return;
        }
        if (keptBytes < bytes)
        {
            kept.reset();
            kept.reset(new (std::nothrow) char[bytes]);
            keptBytes = kept ? bytes : 0;
        }
        m_data = kept.get();
    }
    char* Data() const { return m_data; }  // null when there is no room

private:
    static constexpr std::size_t kMostKept = std::size_t(64) << 20;
    std::unique_ptr<char[]> m_own;
    char* m_data = nullptr;
};

std::size_t CompressBound(PictureCodec codec, std::size_t count)
{
    if (codec == PictureCodec::Lz4)
        return count > std::size_t(LZ4_MAX_INPUT_SIZE) ? 0
                                                       : std::size_t(LZ4_compressBound(int(count)));
    return ZSTD_compressBound(count);
}

// Compresses the plane into out (capacity bytes); false when it does not fit.
bool Compress(PictureCodec codec, const unsigned char* plane, std::size_t count, char* out,
              std::size_t capacity, std::uint32_t& written)
{
    std::size_t bytes = 0;
    if (codec == PictureCodec::Lz4)
    {
        if (count > std::size_t(LZ4_MAX_INPUT_SIZE) || capacity > 0x7FFFFFFFu)
            return false;
        const int result = LZ4_compress_default(reinterpret_cast<const char*>(plane), out,
                                                int(count), int(capacity));
        if (result <= 0)
            return false;
        bytes = std::size_t(result);
    }
    else
    {
        bytes = ZSTD_compress(out, capacity, plane, count, 1);
        if (ZSTD_isError(bytes))
            return false;
    }
    if (bytes > 0xFFFFFFFFu)
        return false;
    written = std::uint32_t(bytes);
    return true;
}

bool Decompress(PictureCodec codec, const char* bytes, std::size_t count, unsigned char* plane,
                std::size_t planeBytes)
{
    if (codec == PictureCodec::Lz4)
        return planeBytes <= std::size_t(LZ4_MAX_INPUT_SIZE) &&
               LZ4_decompress_safe(bytes, reinterpret_cast<char*>(plane), int(count),
                                   int(planeBytes)) == int(planeBytes);
    const std::size_t result = ZSTD_decompress(plane, planeBytes, bytes, count);
    return !ZSTD_isError(result) && result == planeBytes;
}
}  // namespace

StoredPicture StoredPicture::Keep(const wxImage& picture, PictureCodec codec)
{
    StoredPicture stored;
    if (!picture.IsOk() || picture.GetWidth() < 1 || picture.GetHeight() < 1)
        return stored;
    const std::size_t pixels = std::size_t(picture.GetWidth()) * std::size_t(picture.GetHeight());
    const std::size_t rgbBound = CompressBound(codec, pixels * 3);
    const std::size_t alphaBound = picture.HasAlpha() ? CompressBound(codec, pixels) : 0;
    if (rgbBound == 0 || (picture.HasAlpha() && alphaBound == 0))
        return stored;
    const Scratch scratch(rgbBound + alphaBound);
    char* bytes = scratch.Data();
    std::uint32_t rgbBytes = 0, alphaBytes = 0;
    if (!bytes || !Compress(codec, picture.GetData(), pixels * 3, bytes, rgbBound, rgbBytes) ||
        (picture.HasAlpha() &&
         !Compress(codec, picture.GetAlpha(), pixels, bytes + rgbBytes, alphaBound, alphaBytes)))
        return stored;

    const std::size_t count = std::size_t(rgbBytes) + alphaBytes;
    auto kept = std::make_shared<Bytes>();
    kept->file = PictureStoreFile::Shared();
    if (!kept->file || !kept->file->Append(bytes, count, kept->offset))
    {
        kept->file.reset();
        kept->offset = 0;
        kept->memory.assign(bytes, bytes + count);
    }
    kept->rgb = rgbBytes;
    kept->alpha = alphaBytes;
    stored.m_bytes = std::move(kept);
    stored.m_size = picture.GetSize();
    stored.m_codec = codec;
    stored.m_hasMask = picture.HasMask();
    if (stored.m_hasMask)
    {
        stored.m_mask[0] = picture.GetMaskRed();
        stored.m_mask[1] = picture.GetMaskGreen();
        stored.m_mask[2] = picture.GetMaskBlue();
    }
    return stored;
}

std::size_t StoredPicture::DecodedBytes() const
{
    return std::size_t(m_size.x) * std::size_t(m_size.y) * (m_bytes && m_bytes->alpha ? 4 : 3);
}

std::size_t StoredPicture::StoredBytes() const
{
    return m_bytes ? std::size_t(m_bytes->rgb) + m_bytes->alpha : 0;
}

wxImage StoredPicture::Load() const
{
    if (!IsOk() || !m_bytes)
        return wxImage();
    const Bytes& kept = *m_bytes;
    const Scratch scratch(kept.file ? StoredBytes() : 0);
    const char* bytes = kept.memory.data();
    if (kept.file &&
        (!scratch.Data() || !kept.file->Read(kept.offset, scratch.Data(), StoredBytes())))
        return wxImage();
    if (kept.file)
        bytes = scratch.Data();
    const std::size_t pixels = std::size_t(m_size.x) * std::size_t(m_size.y);
    wxImage picture(m_size.x, m_size.y, false);
    if (!picture.IsOk() || !Decompress(m_codec, bytes, kept.rgb, picture.GetData(), pixels * 3))
        return wxImage();
    if (kept.alpha)
    {
        picture.SetAlpha();
        if (!Decompress(m_codec, bytes + kept.rgb, kept.alpha, picture.GetAlpha(), pixels))
            return wxImage();
    }
    if (m_hasMask)
        picture.SetMaskColour(m_mask[0], m_mask[1], m_mask[2]);
    return picture;
}
