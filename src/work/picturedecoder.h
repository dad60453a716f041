#ifndef LOOPFORGE_WORK_PICTUREDECODER_H
#define LOOPFORGE_WORK_PICTUREDECODER_H

#include "work/cancelcheck.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <memory>
#include <vector>

// What an import entry names.
enum class PictureEntryKind
{
    Picture,        // a picture file read through the general loader: its first picture
    WholeGif,       // a path ending in ".gif" (case-sensitive): every frame of the file
    FrameReference  // "<file>.gif_<N>": frame N of that GIF file only
};

struct PictureEntry
{
    PictureEntryKind kind;
    wxString path;   // the file to read: for a frame reference, the GIF file's own path
    int frameIndex;  // the frame a reference names (saturated); 0 otherwise
};

PictureEntry DescribePictureEntry(const wxString& entry);

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
// "GifComment". A whole GIF yields every frame that can be read, stopping at
// the first damaged one. Other files go to DecodeStillPicture. Nothing is
// logged.
void DecodePictures(const wxString& entry, const PictureSink& sink,
                    const CancelCheck& cancelled = CancelCheck());

// Reads a picture file whole; false when it cannot be read.
bool ReadPictureFile(const wxString& path, std::vector<unsigned char>& data);

// Decodes a file that is not taken apart into GIF frames with the toolkit's
// PNG, JPEG or BMP loader, chosen by content, after its header was checked:
// pictures of more than kMaxPicturePixels pixels and BMP files the toolkit
// would mis-read (see IsBmpSafeToDecode) give nothing, and so does any other
// format; GIF data gives its first image as stored. Null when nothing can be
// read.
std::unique_ptr<wxImage> DecodeStillPicture(const std::vector<unsigned char>& data);

#endif
