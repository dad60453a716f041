#include "edit/picturecache.h"

#include <unistd.h>

#include <algorithm>

PictureCache& PictureCache::Shared()
{
    // Never destroyed: frames let go during the process's exit still find it.
    static PictureCache* const cache = new PictureCache;
    return *cache;
}

std::size_t PictureCache::DefaultLimit()
{
    const std::size_t most = std::size_t(512) << 20;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return most;
    return std::min(most, std::size_t(pages) * std::size_t(pageSize) / 8);
}

std::size_t PictureCache::PictureBytes(const wxImage& picture)
{
    if (!picture.IsOk())
        return 0;
    return std::size_t(picture.GetWidth()) * std::size_t(picture.GetHeight()) *
           (picture.HasAlpha() ? 4 : 3);
}

wxImage PictureCache::Find(std::uint64_t key)
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return wxImage();
    m_order.splice(m_order.begin(), m_order, found->second);
    return found->second->picture;
}

void PictureCache::Put(std::uint64_t key, const wxImage& picture)
{
    Forget(key);
    const std::size_t bytes = PictureBytes(picture);
    if (bytes == 0 || bytes > m_limit)
        return;
    ShrinkTo(m_limit - bytes);
    m_order.push_front(Entry{key, picture, bytes});
    m_entries[key] = m_order.begin();
    m_bytes += bytes;
    m_peak = std::max(m_peak, m_bytes);
}

void PictureCache::Forget(std::uint64_t key)
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return;
    m_bytes -= found->second->bytes;
    m_order.erase(found->second);
    m_entries.erase(found);
}

void PictureCache::Clear()
{
    m_order.clear();
    m_entries.clear();
    m_bytes = 0;
    m_peak = 0;
}

void PictureCache::SetLimit(std::size_t bytes)
{
    m_limit = bytes;
    ShrinkTo(bytes);
}

void PictureCache::ShrinkTo(std::size_t bytes)
{
    while (m_bytes > bytes && !m_order.empty())
    {
        m_bytes -= m_order.back().bytes;
        m_entries.erase(m_order.back().key);
        m_order.pop_back();
    }
}
