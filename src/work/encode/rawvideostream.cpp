#include "encode/rawvideostream.h"

#include <cstring>

namespace
{
using Bytes = std::vector<std::uint8_t>;

void PutId(Bytes& out, std::uint32_t id)
{
    bool started = false;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const std::uint8_t byte = std::uint8_t(id >> shift);
        if (started || byte || shift == 0)
        {
            out.push_back(byte);
            started = true;
        }
    }
}

// A size always in eight bytes: simple, and large enough for any frame.
void PutSize(Bytes& out, std::uint64_t size)
{
    out.push_back(0x01);
    for (int shift = 48; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(size >> shift));
}

void PutElement(Bytes& out, std::uint32_t id, const Bytes& payload)
{
    PutId(out, id);
    PutSize(out, payload.size());
    out.insert(out.end(), payload.begin(), payload.end());
}

void PutUnsigned(Bytes& out, std::uint32_t id, std::uint64_t value)
{
    Bytes payload;
    for (int shift = 56; shift >= 0; shift -= 8)
        if (!payload.empty() || (value >> shift) != 0 || shift == 0)
            payload.push_back(std::uint8_t(value >> shift));
    PutElement(out, id, payload);
}

void PutText(Bytes& out, std::uint32_t id, const char* text)
{
    PutElement(out, id, Bytes(text, text + std::strlen(text)));
}
}  // namespace

std::vector<std::uint8_t> RawVideoStream::Header() const
{
    Bytes ebml, out;
    PutUnsigned(ebml, 0x4286, 1);  // EBMLVersion
    PutUnsigned(ebml, 0x42F7, 1);  // EBMLReadVersion
    PutUnsigned(ebml, 0x42F2, 4);  // EBMLMaxIDLength
    PutUnsigned(ebml, 0x42F3, 8);  // EBMLMaxSizeLength
    PutText(ebml, 0x4282, "matroska");
    PutUnsigned(ebml, 0x4287, 4);  // DocTypeVersion
    PutUnsigned(ebml, 0x4285, 2);  // DocTypeReadVersion
    PutElement(out, 0x1A45DFA3, ebml);

    // The segment's size is unknown while streaming.
    PutId(out, 0x18538067);
    out.insert(out.end(), {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    Bytes info;
    PutUnsigned(info, 0x2AD7B1, 1000000);  // TimecodeScale: milliseconds
    PutElement(out, 0x1549A966, info);

    Bytes video, track, tracks;
    PutUnsigned(video, 0xB0, std::uint64_t(m_width));   // PixelWidth
    PutUnsigned(video, 0xBA, std::uint64_t(m_height));  // PixelHeight
    PutElement(video, 0x2EB524, Bytes{'R', 'G', 'B', 24});  // ColourSpace: packed RGB
    PutUnsigned(track, 0xD7, 1);    // TrackNumber
    PutUnsigned(track, 0x73C5, 1);  // TrackUID
    PutUnsigned(track, 0x83, 1);    // TrackType: video
    PutText(track, 0x86, "V_UNCOMPRESSED");
    PutElement(track, 0xE0, video);
    PutElement(tracks, 0xAE, track);
    PutElement(out, 0x1654AE6B, tracks);
    return out;
}

std::vector<std::uint8_t> RawVideoStream::FrameHeader(std::uint64_t timeMs) const
{
    // One cluster per frame: a block's own time is relative to its cluster
    // and only 16 bits wide, which long delays would overflow.
    const std::size_t pixelBytes = std::size_t(m_width) * std::size_t(m_height) * 3;
    Bytes timecode;
    PutUnsigned(timecode, 0xE7, timeMs);
    const std::uint8_t blockHead[] = {0x81, 0, 0, 0x80};  // track 1, time +0, key frame
    const std::uint64_t blockSize = sizeof blockHead + pixelBytes;
    const std::uint64_t clusterSize = timecode.size() + 1 + 8 + blockSize;

    Bytes out;
    PutId(out, 0x1F43B675);
    PutSize(out, clusterSize);
    out.insert(out.end(), timecode.begin(), timecode.end());
    PutId(out, 0xA3);  // SimpleBlock
    PutSize(out, blockSize);
    out.insert(out.end(), blockHead, blockHead + sizeof blockHead);
    return out;
}
