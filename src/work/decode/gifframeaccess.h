#ifndef LOOPFORGE_WORK_GIFFRAMEACCESS_H
#define LOOPFORGE_WORK_GIFFRAMEACCESS_H

#include "decode/gifanimationreader.h"
#include "files/cancelcheck.h"

#include <wx/image.h>

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

// The frames of one GIF file as GifAnimationReader gives them, walked in
// file order or asked for by index in any order, at about the cost of the
// file order: while frames are asked for by index, checkpoints of the
// composition are kept along the way (bounded in bytes: when they pass the
// bound, every other one goes and they are kept half as often), and a frame
// before the one last read is composed again from the nearest checkpoint
// before it. The frames composed on the way to an asked one are kept too,
// up to a bound in bytes, so that a walk backwards composes each stretch
// between two checkpoints once more, not once per frame.
class GifFrameAccess
{
public:
    // The bytes the checkpoints and the kept frames may take.
    struct Bounds
    {
        std::size_t checkpointBytes;
        std::size_t keptBytes;
    };
    static Bounds DefaultBounds();

    explicit GifFrameAccess(std::vector<unsigned char> data,
                            const Bounds& bounds = DefaultBounds());
    ~GifFrameAccess();
    GifFrameAccess(const GifFrameAccess&) = delete;
    GifFrameAccess& operator=(const GifFrameAccess&) = delete;

    // Walks on in file order, as GifAnimationReader::Next; Index() and
    // Picture() tell of the frame read.
    GifFrameReader::Result Next();
    int Index() const { return m_reader->Index(); }
    std::unique_ptr<wxImage> Picture() { return m_reader->Picture(); }
    // How long that frame shows (GifAnimationReader::Delay).
    int Delay() const { return m_reader->Delay(); }

    // Frame index of the file, or null when the file gives none for it
    // (no such frame, a skipped or damaged one, no memory) or cancelled
    // says to stop (asked before each frame read on the way).
    std::unique_ptr<wxImage> Frame(int index, const CancelCheck& cancelled = CancelCheck());

    bool RanOutOfMemory() const { return m_reader->RanOutOfMemory(); }
    double FractionRead() const { return m_reader->FractionRead(); }
    // How many frames have been read from the data, each time again.
    long FramesRead() const { return m_framesRead; }

private:
    // Back to the nearest checkpoint before index, or to the file's start.
    bool GoBackBefore(int index);
    void KeepCheckpoint();
    void Keep(int index, std::unique_ptr<wxImage> picture);
    std::unique_ptr<wxImage> Kept(int index) const;

    std::unique_ptr<GifAnimationReader> m_reader;
    Bounds m_bounds;
    long m_framesRead = 0;

    std::map<int, std::unique_ptr<GifAnimationReader::Checkpoint>> m_checkpoints;
    std::size_t m_checkpointBytes = 0;
    int m_checkpointInterval;

    std::map<int, std::unique_ptr<wxImage>> m_kept;  // composed frames by index
    std::size_t m_keptBytes = 0;
    int m_lastAsked = 0;
};

#endif
