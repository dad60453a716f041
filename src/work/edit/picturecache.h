#ifndef LOOPFORGE_WORK_PICTURECACHE_H
#define LOOPFORGE_WORK_PICTURECACHE_H

#include <wx/image.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

// The decoded pictures of the strip's frames that were used last, up to a
// number of bytes; the others are loaded again from their stored copies
// when they are wanted. GUI thread only: the pictures it hands out share
// their pixels with the cache.
class PictureCache
{
public:
    explicit PictureCache(std::size_t limitBytes = DefaultLimit()) : m_limit(limitBytes) {}

    // The cache the window's frames use.
    static PictureCache& Shared();
    // A few hundred MiB, less on a machine with little memory.
    static std::size_t DefaultLimit();

    // The picture kept for the key, as the latest used; an empty image when
    // there is none.
    wxImage Find(std::uint64_t key);
    // Keeps the picture for the key, letting go of the pictures used longest
    // ago until it fits. A picture larger than the whole cache is not kept.
    void Put(std::uint64_t key, const wxImage& picture);
    void Forget(std::uint64_t key);
    void Clear();

    void SetLimit(std::size_t bytes);
    std::size_t GetLimit() const { return m_limit; }
    std::size_t GetBytes() const { return m_bytes; }
    std::size_t GetCount() const { return m_entries.size(); }
    // The most bytes held at any time since the cache was made or cleared.
    std::size_t GetPeakBytes() const { return m_peak; }

    // The bytes a decoded picture takes.
    static std::size_t PictureBytes(const wxImage& picture);

private:
    struct Entry
    {
        std::uint64_t key;
        wxImage picture;
        std::size_t bytes;
    };
    void ShrinkTo(std::size_t bytes);

    std::list<Entry> m_order;  // latest used first
    std::unordered_map<std::uint64_t, std::list<Entry>::iterator> m_entries;
    std::size_t m_limit;
    std::size_t m_bytes = 0;
    std::size_t m_peak = 0;
};

#endif
