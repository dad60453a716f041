#include "caption/captiondrawing.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <memory>
#include <mutex>

namespace
{
// Frames of one export share few captions at one size; a few more serve the
// preview while captions are edited.
const size_t kCachedCaptions = 32;

// A caption drawn for one frame size: premultiplied ARGB pixels and where
// they go on the frame.
struct DrawnCaption
{
    wxRect bounds;                      // the whole caption
    wxRect visible;                     // the part on the frame, which pixels hold
    std::vector<std::uint32_t> pixels;  // visible.width * visible.height
    int missingGlyphs = 0;
};

struct CacheEntry
{
    Caption caption;
    int width = 0;
    int height = 0;
    std::shared_ptr<const DrawnCaption> drawn;
};

template <typename T, void (*Free)(T*)>
struct Releaser
{
    void operator()(T* object) const
    {
        if (object)
            Free(object);
    }
};
void UnrefObject(void* object)
{
    g_object_unref(object);
}
using LayoutPtr = std::unique_ptr<PangoLayout, Releaser<void, UnrefObject>>;
using ContextPtr = std::unique_ptr<PangoContext, Releaser<void, UnrefObject>>;
using FontPtr = std::unique_ptr<PangoFontDescription,
                                Releaser<PangoFontDescription, pango_font_description_free>>;
using SurfacePtr =
    std::unique_ptr<cairo_surface_t, Releaser<cairo_surface_t, cairo_surface_destroy>>;
using CairoPtr = std::unique_ptr<cairo_t, Releaser<cairo_t, cairo_destroy>>;
using OptionsPtr = std::unique_ptr<cairo_font_options_t,
                                   Releaser<cairo_font_options_t, cairo_font_options_destroy>>;

// Pango and the cache are used by one thread at a time; drawing is rare,
// since every frame after the first finds its caption in the cache.
std::mutex& DrawingMutex()
{
    static std::mutex mutex;
    return mutex;
}

// A font map of our own, so that nothing the window's toolkit sets on the
// default one (resolution, options) changes what a caption looks like.
PangoFontMap* FontMap()
{
    static PangoFontMap* map = pango_cairo_font_map_new();
    return map;
}

int Margin(int height)
{
    return std::max(2, height / 20);
}

// Room around the text: the outline, and for a box a quarter of the size.
int Padding(const Caption& caption)
{
    return caption.outline + (caption.box ? std::max(2, caption.size / 4) : 1);
}

LayoutPtr MakeLayout(const Caption& caption, int width, PangoContext* context)
{
    LayoutPtr layout(pango_layout_new(context));
    const wxScopedCharBuffer text = caption.text.utf8_str();
    pango_layout_set_text(layout.get(), text.data(), int(text.length()));
    FontPtr font(pango_font_description_new());
    pango_font_description_set_family(font.get(), caption.family.utf8_str().data());
    pango_font_description_set_absolute_size(font.get(), double(caption.size) * PANGO_SCALE);
    pango_font_description_set_weight(font.get(),
                                      caption.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.get(),
                                     caption.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), font.get());
    // Lines wrap inside the frame, between its margins.
    const int room = std::max(1, width - 2 * (Margin(width) + Padding(caption)));
    pango_layout_set_width(layout.get(), room * PANGO_SCALE);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
    return layout;
}

ContextPtr MakeContext()
{
    ContextPtr context(pango_font_map_create_context(FontMap()));
    OptionsPtr options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_subpixel_order(options.get(), CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(context.get(), options.get());
    // The fallback fonts must not depend on the locale the program runs in.
    pango_context_set_language(context.get(), pango_language_from_string("en"));
    return context;
}

void SetColour(cairo_t* cr, const CaptionColour& colour)
{
    cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0,
                          colour.alpha / 255.0);
}

wxPoint Place(const Caption& caption, wxSize box, int width, int height)
{
    const int margin = Margin(height);
    const int centredX = (width - box.x) / 2;
    switch (caption.place)
    {
        case CaptionPlace::Top:
            return {centredX, margin};
        case CaptionPlace::Centre:
            return {centredX, (height - box.y) / 2};
        case CaptionPlace::Bottom:
            return {centredX, height - margin - box.y};
        case CaptionPlace::Free:
            break;
    }
    return {int(std::lround(caption.x * width)) - box.x / 2,
            int(std::lround(caption.y * height)) - box.y / 2};
}

std::shared_ptr<const DrawnCaption> Draw(const Caption& caption, int width, int height, bool pixels)
{
    auto drawn = std::make_shared<DrawnCaption>();
    ContextPtr context = MakeContext();
    LayoutPtr layout = MakeLayout(caption, width, context.get());
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    drawn->missingGlyphs = pango_layout_get_unknown_glyphs_count(layout.get());
    const int pad = Padding(caption);
    // The box holds the lines; letters that reach past them (accents, tails)
    // still get drawn.
    const int left = std::min(logical.x, ink.x);
    const int top = std::min(logical.y, ink.y);
    const int right = std::max(logical.x + logical.width, ink.x + ink.width);
    const int bottom = std::max(logical.y + logical.height, ink.y + ink.height);
    const wxSize box(right - left + 2 * pad, bottom - top + 2 * pad);
    drawn->bounds = wxRect(Place(caption, box, width, height), box);
    // Only the part on the frame is drawn, however large the text.
    drawn->visible = drawn->bounds.Intersect(wxRect(0, 0, width, height));
    const wxRect& visible = drawn->visible;
    if (!pixels || caption.text.empty() || visible.IsEmpty())
        return drawn;

    SurfacePtr surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, visible.width, visible.height));
    CairoPtr cr(cairo_create(surface.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return drawn;
    if (caption.box)
    {
        SetColour(cr.get(), caption.boxColour);
        cairo_paint(cr.get());
    }
    cairo_translate(cr.get(), drawn->bounds.x - visible.x + pad - left,
                    drawn->bounds.y - visible.y + pad - top);
    if (caption.outline > 0)
    {
        pango_cairo_layout_path(cr.get(), layout.get());
        SetColour(cr.get(), caption.outlineColour);
        cairo_set_line_width(cr.get(), 2.0 * caption.outline);
        cairo_set_line_join(cr.get(), CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr.get());
    }
    SetColour(cr.get(), caption.colour);
    pango_cairo_show_layout(cr.get(), layout.get());
    cairo_surface_flush(surface.get());

    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    if (!data)
        return drawn;
    drawn->pixels.resize(size_t(visible.width) * size_t(visible.height));
    for (int row = 0; row < visible.height; ++row)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(data + size_t(row) * size_t(stride)),
                    visible.width, drawn->pixels.begin() + std::ptrdiff_t(row) * visible.width);
    return drawn;
}

// The caption drawn for the frame size, from the cache when it was drawn before.
std::shared_ptr<const DrawnCaption> Drawn(const Caption& caption, int width, int height)
{
    static std::list<CacheEntry> cache;  // the most recently used first
    std::lock_guard<std::mutex> lock(DrawingMutex());
    for (auto it = cache.begin(); it != cache.end(); ++it)
        if (it->width == width && it->height == height && it->caption == caption)
        {
            cache.splice(cache.begin(), cache, it);
            return cache.front().drawn;
        }
    const Caption safe = SanitisedCaption(caption);
    cache.push_front({caption, width, height, Draw(safe, width, height, true)});
    if (cache.size() > kCachedCaptions)
        cache.pop_back();
    return cache.front().drawn;
}

inline std::uint8_t Over(std::uint32_t source, std::uint8_t destination, std::uint32_t alpha)
{
    return std::uint8_t(source + (destination * (255 - alpha) + 127) / 255);
}

// Where opacity marks a pixel transparent (0), the caption's own colour
// replaces it wherever the caption is mostly opaque, which makes it opaque.
void Blend(const DrawnCaption& drawn, std::uint8_t* rgb, int width, int height,
           std::uint8_t* opacity)
{
    const wxRect& b = drawn.visible;
    if (drawn.pixels.empty() || b.x + b.width > width || b.y + b.height > height)
        return;
    const int x0 = b.x;
    const int y0 = b.y;
    const int x1 = b.x + b.width;
    const int y1 = b.y + b.height;
    for (int y = y0; y < y1; ++y)
    {
        const std::uint32_t* source =
            drawn.pixels.data() + size_t(y - b.y) * size_t(b.width) + size_t(x0 - b.x);
        std::uint8_t* out = rgb + (size_t(y) * size_t(width) + size_t(x0)) * 3;
        for (int x = x0; x < x1; ++x, ++source, out += 3)
        {
            const std::uint32_t pixel = *source;
            const std::uint32_t alpha = pixel >> 24;
            if (alpha == 0)
                continue;
            std::uint8_t* opaque =
                opacity ? opacity + size_t(y) * size_t(width) + size_t(x) : nullptr;
            if (opaque && !*opaque)
            {
                if (alpha < 128)
                    continue;
                // Cairo's colours are premultiplied.
                out[0] = std::uint8_t(((pixel >> 16) & 0xFF) * 255 / alpha);
                out[1] = std::uint8_t(((pixel >> 8) & 0xFF) * 255 / alpha);
                out[2] = std::uint8_t((pixel & 0xFF) * 255 / alpha);
                *opaque = 1;
                continue;
            }
            out[0] = Over((pixel >> 16) & 0xFF, out[0], alpha);
            out[1] = Over((pixel >> 8) & 0xFF, out[1], alpha);
            out[2] = Over(pixel & 0xFF, out[2], alpha);
        }
    }
}
}  // namespace

wxRect CaptionBounds(const Caption& caption, int width, int height)
{
    if (width <= 0 || height <= 0)
        return wxRect();
    return Drawn(caption, width, height)->bounds;
}

int CaptionMissingGlyphs(const Caption& caption, int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return Drawn(caption, width, height)->missingGlyphs;
}

void DrawCaptions(const FrameCaptions& captions, std::uint8_t* rgb, int width, int height,
                  std::uint8_t* opacity)
{
    if (!rgb || width <= 0 || height <= 0)
        return;
    for (const CaptionRef& caption : captions)
        if (caption && !caption->text.empty())
            Blend(*Drawn(*caption, width, height), rgb, width, height, opacity);
}

void DrawCaptions(const FrameCaptions& captions, wxImage& image)
{
    if (image.IsOk() && !captions.empty())
        DrawCaptions(captions, image.GetData(), image.GetWidth(), image.GetHeight());
}
