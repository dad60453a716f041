#ifndef LOOPFORGE_WORK_PICTURESCAN_H
#define LOOPFORGE_WORK_PICTURESCAN_H

#include "decode/picturedecoder.h"

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <map>
#include <vector>

// What an import entry gives according to its file's headers.
struct PictureScan
{
    // Decoded when the entry gives pictures; otherwise why it gives none,
    // as decoding it would tell (Unreadable, or a reported refusal).
    PictureDecodeStatus status = PictureDecodeStatus::Unreadable;
    std::vector<wxSize> sizes;  // one per picture, in order
    // For a whole GIF file, the frame index in the file of each picture:
    // frames that give none leave gaps.
    std::vector<int> frameIndices;
    // For a whole GIF file, how long each picture shows as the file stores
    // it (GifAnimationReader::Delay; 0: no delay of its own).
    std::vector<int> delays;
};

// Learns the sizes of the pictures import entries give (see DecodePictures)
// from the files' headers, by the decoder's own rules but without decoding a
// pixel: one size for a picture or a frame reference, one per frame for a
// whole GIF file, the frames of an animation at the size of its canvas. Only
// regular files are read. Pixel data that turns out to be damaged is found
// only by decoding, so an entry can still give fewer pictures than listed.
//
// The frame sizes of every GIF file scanned are kept, so that frame
// references into one file read it once.
class PictureScanner
{
public:
    PictureScan Scan(const wxString& entry);

private:
    // A GIF file's pictures by frame index; 0 x 0 for a frame that gives none.
    struct GifFrames
    {
        PictureDecodeStatus status = PictureDecodeStatus::Unreadable;
        std::vector<wxSize> sizes;
        std::vector<int> delays;
    };

    const GifFrames& ScanGif(const wxString& path);

    std::map<wxString, GifFrames> m_gifs;
};

#endif
