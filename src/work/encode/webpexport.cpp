#include "encode/webpexport.h"

#include "encode/fittedframes.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <wx/intl.h>
#include <wx/stream.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{
// Owns the encoder and the picture handed to it.
class AnimationEncoder
{
public:
    AnimationEncoder(int width, int height, const GifOptions& options)
        : m_width(width), m_height(height)
    {
        WebPAnimEncoderOptions encoderOptions;
        if (!WebPAnimEncoderOptionsInit(&encoderOptions))
            return;
        encoderOptions.anim_params.loop_count = WebPLoopCount(options.loopCount);
        encoderOptions.anim_params.bgcolor = 0;  // transparent, for frames that keep transparency
        // Lossy: each frame is also tried without loss, which keeps screen
        // content exact and usually smaller.
        encoderOptions.allow_mixed = options.webpQuality != kWebpLossless;
        m_encoder = WebPAnimEncoderNew(width, height, &encoderOptions);
        if (!WebPConfigInit(&m_config) || !WebPPictureInit(&m_picture))
            return;
        if (options.webpQuality == kWebpLossless)
            m_config.lossless = 1;
        else
            m_config.quality = static_cast<float>(std::clamp(options.webpQuality, 0, 100));
        m_config.thread_level = 1;  // lets the encoder use a second thread where it can
        m_picture.use_argb = 1;
        m_picture.width = width;
        m_picture.height = height;
        m_ready = m_encoder && WebPValidateConfig(&m_config) && WebPPictureAlloc(&m_picture);
    }
    ~AnimationEncoder()
    {
        WebPPictureFree(&m_picture);
        WebPAnimEncoderDelete(m_encoder);
    }
    AnimationEncoder(const AnimationEncoder&) = delete;
    AnimationEncoder& operator=(const AnimationEncoder&) = delete;

    bool IsOk() const { return m_ready; }

    bool Add(const FittedFrame& frame, int delay, wxString& error)
    {
        const std::uint8_t* rgb = frame.Pixels();
        const std::uint8_t* opacity = frame.Opacity();
        std::uint32_t* argb = m_picture.argb;
        for (int y = 0; y < m_height; ++y, argb += m_picture.argb_stride)
            for (int x = 0; x < m_width; ++x, rgb += 3)
            {
                const std::size_t i = std::size_t(y) * m_width + x;
                const std::uint32_t alpha = !opacity || opacity[i] ? 0xFF000000u : 0;
                argb[x] = alpha | std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
            }
        if (!WebPAnimEncoderAdd(m_encoder, &m_picture, m_timestamp, &m_config))
            return Failed(error);
        // WebP frames last whole milliseconds, at least one hundredth of a second here.
        m_timestamp += 10 * std::max(delay, 1);
        return true;
    }

    bool Finish(WebPData& data, wxString& error)
    {
        if (!WebPAnimEncoderAdd(m_encoder, nullptr, m_timestamp, nullptr) ||
            !WebPAnimEncoderAssemble(m_encoder, &data))
            return Failed(error);
        return true;
    }

private:
    bool Failed(wxString& error)
    {
        const char* reason = WebPAnimEncoderGetError(m_encoder);
        error = reason && *reason ? wxString::FromUTF8(reason)
                                  : wxString(_("the WebP encoder failed"));
        return false;
    }

    WebPAnimEncoder* m_encoder = nullptr;
    WebPConfig m_config{};
    WebPPicture m_picture{};
    int m_width;
    int m_height;
    int m_timestamp = 0;  // milliseconds
    bool m_ready = false;
};
}  // namespace

int WebPLoopCount(int gifLoopCount)
{
    return gifLoopCount <= 0 ? 0 : std::min(gifLoopCount + 1, 65535);
}

GifStreamResult WriteWebPStream(ExportSource& source, const GifExportSettings& settings,
                                wxOutputStream& out, const ExportProgress& progress,
                                const CancelCheck& cancelled)
{
    AnimationEncoder encoder(settings.width, settings.height, settings.options);
    if (!encoder.IsOk())
    {
        GifStreamResult result;
        result.reason = _("there is not enough memory");
        return result;
    }
    GifStreamResult result = ForEachFittedFrame(
        source, settings, true,
        [&encoder](const FittedFrame& frame, int delay, wxString& error)
        { return encoder.Add(frame, delay, error); },
        progress, cancelled);
    if (result.outcome != GifStreamResult::Outcome::Written)
        return result;

    WebPData data;
    WebPDataInit(&data);
    if (!encoder.Finish(data, result.reason))
        result.outcome = GifStreamResult::Outcome::Failed;
    else
    {
        out.Write(data.bytes, data.size);
        if (out.LastWrite() != data.size)
            result.outcome = GifStreamResult::Outcome::Failed;
    }
    WebPDataClear(&data);
    return result;
}
