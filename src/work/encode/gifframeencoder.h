#ifndef LOOPFORGE_WORK_GIFFRAMEENCODER_H
#define LOOPFORGE_WORK_GIFFRAMEENCODER_H

#include "encode/classicreduction.h"
#include "encode/gifblocks.h"
#include "encode/gifoptions.h"
#include "encode/lzwencoder.h"
#include "encode/nearestcolour.h"
#include "encode/palettebuilder.h"
#include "encode/palettemapper.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The palette an optimised export puts in the header, chosen from the first
// frame or from frames spread over the animation. Later frames use it
// instead of a table of their own when it serves them about as well as it
// serves the frames it was made from.
struct SharedPalette
{
    GifPalette table;           // with the transparent entry, when there is one
    int colours = 0;            // entries that are colours
    int firstColour = 0;        // their first index: the transparent entry comes first
    int transparentIndex = -1;  // reserved for later frames
    double error = 0;           // how well it serves its frames: see PaletteMapper::InexactError
    // Each colour's place in the order it was chosen in (the most used
    // first): between equally near colours the first chosen wins, whatever
    // the order of the table.
    std::uint8_t rank[256] = {};
};

// Which pixels of an optimised frame and of its neighbours are opaque (one
// byte per pixel, 1 = opaque; null: every pixel is). A pixel that turns
// transparent after being opaque cannot be drawn so: the frame before
// clears its area ("restore to background") and this frame draws what
// stays opaque afresh.
struct FrameOpacity
{
    const std::uint8_t* frame = nullptr;
    const std::uint8_t* previous = nullptr;
    const std::uint8_t* next = nullptr;  // also null for the last frame
};

// Whether a frame with opacity before, followed by one with opacity after,
// must clear its area: some pixel turns from opaque to transparent.
bool ClearsBeforeNext(const std::uint8_t* before, const std::uint8_t* after, std::size_t pixels);

// Turns frames fitted to the canvas into GIF blocks: the header with the
// first frame, then each frame's blocks. Frames may be encoded on several
// threads, each with an encoder of its own, in any order, except that an
// optimised frame needs the first frame's shared palette. The buffers are
// kept from frame to frame.
class GifFrameEncoder
{
public:
    GifFrameEncoder(int width, int height, const GifOptions& options);

    // Classic: every frame whole with its own 256-entry palette.
    bool EncodeClassic(const std::uint8_t* rgb, int index, int delay,
                       std::vector<std::uint8_t>& out);

    // Chooses the optimised export's shared palette from frames spread over
    // the animation (the first one among them), so that it also serves
    // colours that appear later: start, add each frame, finish.
    void StartSharedPalette(int frames, bool transparent = false);
    void AddToSharedPalette(const std::uint8_t* rgb, const std::uint8_t* opacity = nullptr);
    void FinishSharedPalette(SharedPalette& shared);

    // Optimised. previous is the frame before (null for the first); the
    // first frame fills shared from its own colours unless it was built
    // already, and later frames read it.
    bool EncodeOptimised(const std::uint8_t* rgb, const std::uint8_t* previous, int index,
                         int delay, SharedPalette& shared, std::vector<std::uint8_t>& out,
                         const FrameOpacity& opacity = {});

private:
    struct Rect
    {
        int left, top, width, height;
    };

    Rect ChangedRect(const std::uint8_t* rgb, const std::uint8_t* previous) const;
    std::size_t MarkUnchanged(const std::uint8_t* rgb, const std::uint8_t* previous,
                              const Rect& rect);
    std::size_t MarkToDraw(const std::uint8_t* rgb, const std::uint8_t* previous,
                           const FrameOpacity& opacity, bool clears, Rect& rect);
    void OrderByChanges(GifPalette& colours, std::uint8_t* rank);
    void CollectColours(const MapRegion& region, int capacity);
    void SetLossy(const GifPalette& palette, const GifFrameBlock& block, const MapRegion& region);
    static int CodeSize(const std::vector<std::uint8_t>& indices);

    int m_width;
    int m_height;
    GifOptions m_options;
    LzwEncoder m_lzw;
    ClassicReduction m_classic;
    PaletteBuilder m_builder;
    NearestColour m_search;
    NearestColour m_sharedSearch;  // stays with the shared palette from frame to frame
    PaletteMapper m_mapper;
    GifPalette m_local;
    std::vector<std::uint8_t> m_keep;
    std::vector<std::uint8_t> m_errorSamples;  // pixels the shared palette is judged by
    // Pixels that differ between one sample frame and the next, and the
    // sample before, to order the shared palette by what later frames draw.
    std::vector<std::uint8_t> m_changeSamples;
    std::vector<std::uint8_t> m_lastSample;
    std::vector<std::uint8_t> m_lastSampleOpacity;
    std::vector<std::uint8_t> m_indices;
    std::vector<std::uint8_t> m_lossyTarget;  // the colours lossy codes aim at
    bool m_sharedTransparent = false;  // the shared palette gets a transparent entry
};

#endif
