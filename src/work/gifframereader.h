#ifndef LOOPFORGE_WORK_GIFFRAMEREADER_H
#define LOOPFORGE_WORK_GIFFRAMEREADER_H

#include <wx/image.h>

#include <cstddef>
#include <string>
#include <vector>

struct GifFileType;

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
        End           // no further frame: the trailer, the end of the data, or damage
    };

    // The data must outlive the reader.
    GifFrameReader(const unsigned char* data, std::size_t size, unsigned long long maxPixels);
    ~GifFrameReader();
    GifFrameReader(const GifFrameReader&) = delete;
    GifFrameReader& operator=(const GifFrameReader&) = delete;

    // Decodes the next frame into image.
    Result ReadFrame(wxImage& image);
    // Passes over the next frame without decoding its pixels.
    Result SkipFrame();

private:
    struct Input
    {
        const unsigned char* data;
        std::size_t size;
        std::size_t offset;
    };

    static int ReadInput(GifFileType* gif, unsigned char* buffer, int length);
    Result ReadRecordsUpToImage();
    bool ReadExtension();
    bool SkipImageData();
    // indices must hold width x height entries.
    bool DecodePixels(std::vector<unsigned char>& indices, int width, int height, bool interlaced);
    // False when the image cannot be allocated.
    bool ConvertToImage(const std::vector<unsigned char>& indices, int width, int height,
                        wxImage& image) const;

    Input m_input;
    GifFileType* m_gif = nullptr;
    unsigned long long m_maxPixels;
    int m_transparentIndex = -1;  // from the graphic control extension of the coming frame
    std::string m_comment;        // comment blocks read since the previous frame
    bool m_ended = false;
};

#endif
