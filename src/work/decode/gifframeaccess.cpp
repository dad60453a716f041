#include "decode/gifframeaccess.h"

#include <climits>
#include <cstdlib>

namespace
{
// A 480 x 360 animation keeps a checkpoint every fourth frame up to some
// 500 frames, and over 500 composed frames: reading backwards or shuffled
// then reads each frame about once, as the file order does.
const std::size_t kCheckpointBytes = std::size_t(64) << 20;
const std::size_t kKeptBytes = std::size_t(256) << 20;
const int kFirstCheckpointInterval = 4;

std::size_t PictureBytes(const wxSize& size)
{
    return std::size_t(size.x) * std::size_t(size.y) * 3;
}
}  // namespace

GifFrameAccess::Bounds GifFrameAccess::DefaultBounds()
{
    return {kCheckpointBytes, kKeptBytes};
}

GifFrameAccess::GifFrameAccess(std::vector<unsigned char> data, const Bounds& bounds)
    : m_reader(std::make_unique<GifAnimationReader>(std::move(data))),
      m_bounds(bounds),
      m_checkpointInterval(kFirstCheckpointInterval)
{
}

GifFrameAccess::~GifFrameAccess() = default;

GifFrameReader::Result GifFrameAccess::Next()
{
    const GifFrameReader::Result result = m_reader->Next();
    if (result != GifFrameReader::Result::End)
        ++m_framesRead;
    return result;
}

std::unique_ptr<wxImage> GifFrameAccess::Frame(int index, const CancelCheck& cancelled)
{
    if (index < 0)
        return nullptr;
    m_lastAsked = index;
    if (std::unique_ptr<wxImage> kept = Kept(index))
        return kept;
    if (Index() == index)
        return Picture();
    if (!GoBackBefore(index))
        return nullptr;

    // A jump over frames keeps the last of them: a walk backwards asks for them next.
    const bool jump = static_cast<long long>(index) - Index() > 1;
    while (Index() < index)
    {
        if (cancelled && cancelled())
            return nullptr;
        const GifFrameReader::Result result = Next();
        if (result == GifFrameReader::Result::End || result == GifFrameReader::Result::OutOfMemory)
            return nullptr;
        if (result != GifFrameReader::Result::Frame)
            continue;
        KeepCheckpoint();
        const std::size_t bytes = PictureBytes(m_reader->PictureSize());
        if (jump && Index() < index && bytes > 0 &&
            std::size_t(index - Index()) * bytes <= m_bounds.keptBytes)
            Keep(Index(), Picture());
    }
    return Index() == index ? Picture() : nullptr;
}

bool GifFrameAccess::GoBackBefore(int index)
{
    auto checkpoint = m_checkpoints.lower_bound(index);
    if (checkpoint != m_checkpoints.begin())
    {
        --checkpoint;
        if (checkpoint->first > Index() || Index() >= index)
            return m_reader->Resume(*checkpoint->second);
    }
    if (Index() < index)
        return true;
    // From the start again, with a reader made afresh around the same data.
    m_reader = std::make_unique<GifAnimationReader>(m_reader->TakeData());
    return true;
}

void GifFrameAccess::KeepCheckpoint()
{
    const int index = Index();
    if (index % m_checkpointInterval != 0 || m_checkpoints.count(index) > 0)
        return;
    std::unique_ptr<GifAnimationReader::Checkpoint> checkpoint = m_reader->SaveCheckpoint();
    if (!checkpoint)
        return;
    m_checkpointBytes += checkpoint->Bytes();
    m_checkpoints[index] = std::move(checkpoint);
    while (m_checkpointBytes > m_bounds.checkpointBytes && m_checkpointInterval < INT_MAX / 2)
    {
        m_checkpointInterval *= 2;
        for (auto kept = m_checkpoints.begin(); kept != m_checkpoints.end();)
        {
            if (kept->first % m_checkpointInterval == 0)
            {
                ++kept;
                continue;
            }
            m_checkpointBytes -= kept->second->Bytes();
            kept = m_checkpoints.erase(kept);
        }
    }
}

void GifFrameAccess::Keep(int index, std::unique_ptr<wxImage> picture)
{
    if (!picture)
        return;
    const std::size_t bytes = PictureBytes(picture->GetSize());
    auto& place = m_kept[index];
    if (place)
        m_keptBytes -= PictureBytes(place->GetSize());
    place = std::move(picture);
    m_keptBytes += bytes;
    // The frames farthest from the one last asked for go first.
    while (m_keptBytes > m_bounds.keptBytes && !m_kept.empty())
    {
        auto first = m_kept.begin();
        auto last = std::prev(m_kept.end());
        auto farthest =
            std::abs(first->first - m_lastAsked) > std::abs(last->first - m_lastAsked) ? first
                                                                                      : last;
        m_keptBytes -= PictureBytes(farthest->second->GetSize());
        m_kept.erase(farthest);
    }
}

std::unique_ptr<wxImage> GifFrameAccess::Kept(int index) const
{
    const auto kept = m_kept.find(index);
    if (kept == m_kept.end())
        return nullptr;
    // A copy of its own: the picture goes to another thread.
    auto copy = std::make_unique<wxImage>(kept->second->Copy());
    return copy->IsOk() ? std::move(copy) : nullptr;
}
