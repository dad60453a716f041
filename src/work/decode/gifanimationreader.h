#ifndef LOOPFORGE_WORK_GIFANIMATIONREADER_H
#define LOOPFORGE_WORK_GIFANIMATIONREADER_H

#include "decode/gifcomposer.h"
#include "decode/gifframereader.h"

#include <wx/image.h>

#include <cstddef>
#include <memory>
#include <vector>

// Reads the frames of one GIF file in file order as a viewer shows them:
// frame N of an animation is the canvas after frames 0 to N were drawn (see
// GifComposer). A file of a single image gives that image as it is stored,
// at its own size. Frame N is the N-th image of the file, whether or not the
// images before it could be used.
//
// A frame, a canvas or a picture that memory cannot hold ends the file's
// frames: the frames after it would be composed on a canvas lacking it.
//
// A logical screen far larger than the frames draw (over 4 megapixels, and
// more than four times the area the frames cover) is not composed whole:
// the pictures are that area, which is all they would show, so the memory
// follows what the file draws rather than what its header claims.
//
// Read for sizes only, it walks the same frames by the same rules without
// decoding or composing a pixel, to learn the size of each picture; damage
// inside the pixel data is then not noticed.
// How long a frame whose graphic control stores `stored` hundredths shows:
// 0 and 1 show for 10 hundredths, as web browsers show them (files made for
// the web count on it: their "fastest" frames are really 1/10 s); without a
// graphic control (-1) the frame has no delay of its own, 0.
int GifShownDelay(int stored);

class GifAnimationReader
{
public:
    enum class Reading
    {
        Pictures,
        SizesOnly
    };

    explicit GifAnimationReader(std::vector<unsigned char> data,
                                Reading reading = Reading::Pictures);

    // Reads the next frame. Frame: it was drawn and Picture() gives it;
    // Skipped: the frame exists but cannot be used; Damaged: its pixel data
    // is damaged, so it is not drawn, and the frames after it follow when the
    // file's blocks still say where they start; OutOfMemory: it exists
    // but memory cannot hold it or the canvas, and no further frame comes;
    // End: no further frame (the end of the file, damage, or a canvas larger
    // than a picture may be).
    GifFrameReader::Result Next();
    // The index of the frame the last Next() read; -1 before the first.
    int Index() const { return m_index; }
    // The frame the last Next() read as a picture; null when that gave no
    // frame or the picture cannot be held (which ends the file, as above).
    // Never when reading sizes only.
    std::unique_ptr<wxImage> Picture();
    // The size of that picture: the canvas of an animation, the image's own
    // size for a file of a single image.
    wxSize PictureSize() const;
    // How long that frame of an animation shows in hundredths (see
    // GifShownDelay); 0 when it has no delay of its own or the file is a
    // single image, whose stored delay means nothing.
    int Delay() const;
    // The state after the frame the last Next() read, from which reading
    // can go on with the frames after it: only for a frame of an animation
    // after the first; null otherwise or without the memory for it.
    struct Checkpoint
    {
        int index = -1;
        std::size_t offset = 0;
        std::unique_ptr<GifComposer> composer;
        std::size_t Bytes() const { return composer->HeldBytes(); }
    };
    std::unique_ptr<Checkpoint> SaveCheckpoint() const;
    // Goes back (or on) to a checkpoint of this reader: the next Next()
    // reads the frame after it. False when there is no memory for that,
    // which ends the frames.
    bool Resume(const Checkpoint& checkpoint);
    // Gives the file's data back; the reader may then only be destroyed.
    std::vector<unsigned char> TakeData() { return std::move(m_data); }

    // Whether the frames ended because memory ran out.
    bool RanOutOfMemory() const { return m_outOfMemory; }
    // How much of the file has been read, from 0 to 1.
    double FractionRead() const;

private:
    GifFrameReader::Result EndForMemory();

    std::vector<unsigned char> m_data;
    bool m_sizesOnly;
    GifFrameReader m_reader;
    GifComposer m_composer;
    GifStoredFrame m_frame;
    int m_index = -1;
    bool m_hasFrame = false;  // the last Next() gave a frame
    bool m_composing = false;
    bool m_ended = false;
    bool m_outOfMemory = false;
};

#endif
