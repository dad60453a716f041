#ifndef LOOPFORGE_WORK_GIFOPTIONS_H
#define LOOPFORGE_WORK_GIFOPTIONS_H

#include "encode/exportformat.h"

#include <wx/string.h>

#include <cstdint>

class wxXmlNode;

// How the colour reducer spreads the error of colours the palette lacks.
enum class GifDither
{
    None,     // nearest palette colour
    Ordered,  // a fixed 8 x 8 threshold pattern: steady from frame to frame, compresses well
    Diffuse   // error diffusion (Floyd-Steinberg): smoothest gradients
};

// How an animated GIF is written. Classic is the export as it always was:
// every frame whole with its own palette of the toolkit's quantiser,
// nearest-neighbour shrinking, looping forever. Optimised uses the parts
// below; Classic ignores them, so they keep the user's choice for later.
struct GifOptions
{
    bool optimised = false;
    bool onlyChanges = true;    // later frames store only what changed, transparent where still
    bool globalPalette = true;  // frames that fit the first frame's palette share it
    int colours = 256;          // palette size, 2 to 256
    GifDither dither = GifDither::None;
    bool smooth = false;  // area-averaging instead of nearest-neighbour when shrinking
    int loopCount = 0;    // repetitions after the first play, as the file stores them; 0: forever
    // The kind of file Save writes, and how a WebP is compressed: at a
    // quality of 0 to 100 (a frame is kept without loss where that is
    // smaller, as on screen content), or all without loss (kWebpLossless).
    ExportFormat format = ExportFormat::Gif;
    int webpQuality = 75;
    int lossy = 0;  // optimised: 0 to 100, how far the LZW codes may stray (see GifLossyError)
    std::uint64_t maxBytes = 0;  // keep the file under this many bytes; 0: any size

    bool operator==(const GifOptions& other) const;
    bool operator!=(const GifOptions& other) const { return !(*this == other); }
};

constexpr int kMinGifColours = 2;
constexpr int kMaxGifColours = 256;
constexpr int kMaxGifLoopCount = 65535;
constexpr int kWebpLossless = -1;
constexpr int kMaxWebpQuality = 100;
constexpr int kMaxGifLossy = 100;
// The largest size limit a user can ask for: 4 GiB.
constexpr std::uint64_t kMaxGifTargetBytes = std::uint64_t(4) << 30;

// How far (distance in RGB, 0 to 441) a pixel of a lossy optimised export
// may stray from the palette colour the lossless export shows there, at a
// lossy strength; 0 for 0.
int GifLossyError(int lossy);
// How much a lossy code may add to a pixel's squared error against the
// picture (summed over red, green and blue).
int GifLossyAddedError(int lossy);

// The word a dither method is written as ("none", "ordered", "diffuse"), and
// back; false for any other word.
wxString GifDitherName(GifDither dither);
bool ParseGifDither(const wxString& name, GifDither& dither);

// The options as an element "gif_options" with one child per setting (the
// lossy strength and the size limit are attributes, written only when set). A
// reader takes what it recognises from such an element, keeps the defaults
// for anything missing or out of range and ignores unknown children, so
// files from later versions still read. The format and the WebP quality are
// attributes, written only when they are not the defaults.
wxXmlNode* GifOptionsElement(const GifOptions& options);
GifOptions ReadGifOptionsElement(const wxXmlNode* element);

// The user's remembered choice, a small XML file holding the element, read
// within the bounds of a project file. A missing or unreadable file gives
// the defaults; outcome, when given, tells which. Writing goes through a
// temporary file; false when it failed.
enum class GifOptionsFileRead
{
    Read,
    Missing,
    Unreadable  // not a regular file, too large or deep, not XML, or no "gif_options"
};
GifOptions LoadGifOptionsFile(const wxString& path, GifOptionsFileRead* outcome = nullptr);
bool SaveGifOptionsFile(const wxString& path, const GifOptions& options);

#endif
