#ifndef LOOPFORGE_WORK_RAWVIDEOSTREAM_H
#define LOOPFORGE_WORK_RAWVIDEOSTREAM_H

#include <cstdint>
#include <vector>

// Uncompressed RGB frames in a Matroska stream, each with its own time in
// milliseconds: how the video export hands frames of varying delays to the
// ffmpeg program through a pipe (raw frames alone carry no times). The
// stream is written front to back and never seeks.
class RawVideoStream
{
public:
    RawVideoStream(int width, int height) : m_width(width), m_height(height) {}

    // The bytes that start the stream: the header and the one video track.
    std::vector<std::uint8_t> Header() const;
    // The bytes that go before one frame shown from timeMs on; its
    // width x height RGB pixels (3 bytes each, rows without padding) follow.
    std::vector<std::uint8_t> FrameHeader(std::uint64_t timeMs) const;

private:
    int m_width;
    int m_height;
};

#endif
