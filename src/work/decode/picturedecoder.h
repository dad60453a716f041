#ifndef LOOPFORGE_WORK_PICTUREDECODER_H
#define LOOPFORGE_WORK_PICTUREDECODER_H

#include "files/cancelcheck.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <memory>
#include <vector>

// What an import entry names.
enum class PictureEntryKind
{
    Picture,         // a picture file read through the general loader: its first picture
    WholeGif,        // a path ending in ".gif" in any case: every frame of the file
    FrameReference,  // "<file>.gif_<N>": frame N of that GIF file only
    // Parts of video clips, never told by the entry's text (see VideoEntry).
    WholeVideo,  // every frame of a range of a clip
    VideoFrame   // one frame of a range
};

struct PictureEntry
{
    PictureEntryKind kind;
    wxString path;   // the file to read: for a frame reference, the GIF file's own path
    int frameIndex;  // the frame a reference names (saturated); 0 otherwise
};

PictureEntry DescribePictureEntry(const wxString& entry);

// How an import entry was decoded.
enum class PictureDecodeStatus
{
    Decoded,            // it gave its pictures
    Unreadable,         // it gave nothing: missing, damaged or not a picture
    TooLargeForMemory,  // a picture of it could not be held (others may have come)
    NotRegularFile      // it names a folder, a pipe or a device, which is never opened
};

// The reason of a reported refusal in a few words ("too large for the memory
// available"); empty for Decoded and Unreadable.
wxString DescribePictureDecodeStatus(PictureDecodeStatus status);

// Whether the user is told why the entry was skipped. Unreadable files are
// skipped quietly; memory and non-files are something the user can act on.
inline bool IsReportedRefusal(PictureDecodeStatus status)
{
    return status == PictureDecodeStatus::TooLargeForMemory ||
           status == PictureDecodeStatus::NotRegularFile;
}

// Receives each decoded picture: the image (owned by the receiver from now
// on), its frame index inside its file (0 for pictures that are not GIF
// frames) and whether it is the last picture this entry gives.
using PictureSink = std::function<void(std::unique_ptr<wxImage> image, int frameIndex, bool last)>;

// Decodes one import entry, a plain picture path or a frame reference, and
// hands its pictures to sink one by one in file order; cancelled is asked
// before each frame of a whole GIF file. PictureSequence does the same for a
// list of entries. Usable on any thread.
//
// GIF data is decoded with giflib (never the toolkit's GIF decoder). Frame N
// of an animated GIF is the picture a viewer shows at that moment: the
// frames up to N composed on the logical screen (see GifComposer), without
// a palette; pixels no frame has covered carry the mask colour (255, 0, 255).
// A GIF of a single image gives the image the toolkit's decoder would: at its
// own size, transparent pixels in the mask colour, its palette and its
// "GifComment". A whole GIF yields every frame that can be read: a frame
// whose pixel data is damaged is left out (PictureSequence reports it) and
// the frames after it follow, unless the file's blocks end early; the
// reading stops at the first frame memory cannot hold. Other
// files go to DecodeStillPicture. Only regular files are read. A picture the
// memory available cannot hold is skipped and reported, never left to crash
// the program. Nothing is logged.
PictureDecodeStatus DecodePictures(const wxString& entry, const PictureSink& sink,
                                   const CancelCheck& cancelled = CancelCheck());

// Reads a picture file whole, if it is a regular file: Decoded once data
// holds its bytes, otherwise why it cannot be read.
PictureDecodeStatus ReadPictureFile(const wxString& path, std::vector<unsigned char>& data);
// The same for the first headBytes only (all of it when the file is
// shorter); whole says whether data holds the whole file.
PictureDecodeStatus ReadPictureFileHead(const wxString& path, std::size_t headBytes,
                                        std::vector<unsigned char>& data, bool& whole);

// What the headers of a file for DecodeStillPicture say, before any pixel
// is decoded.
enum class StillPictureCheck
{
    Decodable,     // it gives a picture of pictureSize, unless its pixel data is damaged
    NoPicture,     // it gives none
    NeedWholeFile  // the first bytes of the file do not tell; the whole file will
};
StillPictureCheck CheckStillPicture(const unsigned char* data, std::size_t size, bool whole,
                                    wxSize& pictureSize);

// Decodes a file that is not taken apart into GIF frames with the toolkit's
// PNG, JPEG or BMP loader, chosen by content, after its header was checked:
// pictures of more than kMaxPicturePixels pixels and BMP files the toolkit
// would mis-read (see IsBmpSafeToDecode) are unreadable, and so is any other
// format; GIF data gives its first image as stored. A picture the memory
// available cannot hold is refused before the loader, which would not check
// its allocations, gets to it. image is set when Decoded.
PictureDecodeStatus DecodeStillPicture(const std::vector<unsigned char>& data,
                                       std::unique_ptr<wxImage>& image);

#endif
