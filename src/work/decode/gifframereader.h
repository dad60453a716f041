#ifndef LOOPFORGE_WORK_GIFFRAMEREADER_H
#define LOOPFORGE_WORK_GIFFRAMEREADER_H

#include <wx/image.h>

#include <cstddef>
#include <string>
#include <vector>

struct GifFileType;

// What a frame's area becomes before the next frame is drawn.
enum class GifDisposal
{
    Keep,        // the frame stays (methods 0 and 1, and the undefined 4 to 7)
    Background,  // its area becomes transparent (method 2)
    Previous     // its area goes back to what it was before the frame (method 3)
};

// One frame of a GIF file as the file stores it: a rectangle of colour
// indices placed on the logical screen, with its colour table and the
// graphic control that came before it.
struct GifStoredFrame
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    GifDisposal disposal = GifDisposal::Keep;  // what becomes of its area before the next frame
    int transparentIndex = -1;                 // -1: every pixel is drawn
    int delay = -1;  // hundredths of a second as stored; -1 without a graphic control
    int colourCount = 0;
    unsigned char colours[256 * 3] = {};  // red, green, blue per entry
    std::vector<unsigned char> indices;   // width x height, top row first
    std::string comment;                  // comment blocks read since the previous frame
};

// Gives the image a GIF comment, as the toolkit's decoder does ("GifComment").
void AttachGifComment(wxImage& image, const std::string& comment);

// Reads the frames of a GIF file held in memory one at a time through giflib,
// each at its own size, not composed onto the logical screen. A frame comes
// out as the toolkit's GIF decoder would convert it: RGB pixels, transparent
// pixels set to the mask colour (255, 0, 255) with genuine (255, 0, 255) moved
// to (255, 0, 254), the colour table attached as the palette, and the comment
// that precedes the frame as the "GifComment" option.
class GifFrameReader
{
public:
    enum class Result
    {
        Frame,        // the next frame was decoded into the image
        Skipped,      // the next frame exists but cannot be used (too large, empty, no pixels)
        OutOfMemory,  // the next frame exists but there is no memory to hold it
        Damaged,      // the next frame's pixel data is damaged; the frames after it follow
        End           // no further frame: the trailer, the end of the data, or damage
    };

    // The data must outlive the reader.
    GifFrameReader(const unsigned char* data, std::size_t size, unsigned long long maxPixels);
    ~GifFrameReader();
    GifFrameReader(const GifFrameReader&) = delete;
    GifFrameReader& operator=(const GifFrameReader&) = delete;

    // Decodes the next frame into image.
    Result ReadFrame(wxImage& image);
    // Decodes the next frame as stored, reusing frame's buffers.
    Result ReadFrame(GifStoredFrame& frame);
    // Reads the next frame as ReadFrame does but skips its pixels: frame gets
    // everything but its indices. Damage inside the pixel data goes unnoticed.
    Result SkipFrame(GifStoredFrame& frame);
    // Whether another image follows the frames read so far; reads up to its
    // descriptor, so the next ReadFrame starts there.
    bool HasAnotherFrame();

    // Goes on reading at offset, which must be where a record starts after
    // the frames read (BytesRead() after a frame came out, before any
    // HasAnotherFrame); false when the data cannot be opened again.
    bool ResumeAt(std::size_t offset);

    // The logical screen the header announces (0 x 0 when it could not be read).
    wxSize ScreenSize() const;
    // How much of the data has been read, for progress.
    std::size_t BytesRead() const { return m_input.offset; }

    // The frame's pixels as an image, as the first ReadFrame gives them;
    // false when the image cannot be allocated.
    static bool ConvertToImage(const GifStoredFrame& frame, wxImage& image);

private:
    struct Input
    {
        const unsigned char* data;
        std::size_t size;
        std::size_t offset;
    };

    static int ReadInput(GifFileType* gif, unsigned char* buffer, int length);
    Result NextFrame(GifStoredFrame& frame, bool withPixels);
    Result ReadRecordsUpToImage();
    bool ReadExtension();
    bool SkipImageData();
    // Where the record after the image data starting at offset begins, by
    // the lengths of its sub-blocks; 0 when the data ends before them.
    std::size_t EndOfImageData(std::size_t offset) const;
    // indices must hold width x height entries.
    bool DecodePixels(std::vector<unsigned char>& indices, int width, int height, bool interlaced);
    void ReadColourTable(GifStoredFrame& frame) const;
    void FinishFrame();

    Input m_input;
    GifFileType* m_gif = nullptr;
    unsigned long long m_maxPixels;
    int m_transparentIndex = -1;  // from the graphic control extension of the coming frame
    GifDisposal m_disposal = GifDisposal::Keep;  // likewise
    int m_delay = -1;                            // likewise
    std::string m_comment;                       // comment blocks read since the previous frame
    bool m_descriptorRead = false;               // HasAnotherFrame stopped at the next image
    bool m_ended = false;
};

#endif
