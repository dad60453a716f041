#include "encode/exportpipeline.h"

#include "encode/framefitting.h"
#include "encode/gifframeencoder.h"

#include <wx/intl.h>
#include <wx/stream.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace
{
const int kMaxWorkers = 16;
// Frames the shared palette of an optimised export is chosen from.
const int kPaletteSamples = 8;

wxString OutOfMemory()
{
    return _("there is not enough memory");
}

// One frame on its way from the source to the file.
struct Slot
{
    SourcePicture picture;
    FittedFrame fitted;
    bool fittedReady = false;  // fitted, or failed with error set
    bool encoded = false;      // bytes ready, or failed with error set
    bool nextEncoded = false;  // the next frame no longer needs these pixels
    std::vector<std::uint8_t> bytes;
    wxString error;

    void ReleasePicture()
    {
        fitted.Clear();
        picture.owned.reset();
        picture.picture = nullptr;
    }
};

class Pipeline
{
public:
    Pipeline(ExportSource& source, const GifExportSettings& settings, int workers)
        : m_source(source), m_settings(settings), m_window(2 * workers)
    {
    }

    GifStreamResult Run(int workers, wxOutputStream& out, const ExportProgress& progress,
                        const CancelCheck& cancelled);

private:
    void Work();
    bool Claim(int& index, Slot*& slot);
    void Process(int index, Slot& slot, GifFrameEncoder& encoder);
    void Stop(const wxString& reason);
    bool ChooseSharedPalette();

    ExportSource& m_source;
    const GifExportSettings& m_settings;
    const int m_window;  // frames claimed but not yet written

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<int, std::unique_ptr<Slot>> m_slots;
    int m_nextClaim = 0;
    int m_sourceTurn = 0;  // the claim whose turn it is to take a picture from the source
    int m_written = 0;
    int m_frameCount = -1;  // known once the source ended
    bool m_sourceEnded = false;
    bool m_stop = false;
    wxString m_fatal;  // a failure outside any one frame
    SharedPalette m_shared;
    bool m_sharedReady = false;
};

void Pipeline::Stop(const wxString& reason)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fatal.empty())
        m_fatal = reason;
    m_stop = true;
    m_changed.notify_all();
}

bool Pipeline::Claim(int& index, Slot*& slot)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock,
                   [&] { return m_stop || m_sourceEnded || m_nextClaim < m_written + m_window; });
    if (m_stop || m_sourceEnded)
        return false;
    index = m_nextClaim++;
    slot = (m_slots[index] = std::make_unique<Slot>()).get();

    // Pictures come from the source in claim order.
    m_changed.wait(lock, [&] { return m_stop || m_sourceTurn == index; });
    if (m_stop)
        return false;
    if (m_sourceEnded)
    {
        m_slots.erase(index);
        ++m_sourceTurn;
        m_changed.notify_all();
        return false;
    }
    lock.unlock();
    wxString error;
    const ExportSource::Result result = m_source.Next(slot->picture, error);
    lock.lock();
    ++m_sourceTurn;
    m_changed.notify_all();
    if (result == ExportSource::Result::End)
    {
        m_sourceEnded = true;
        m_frameCount = index;
        m_slots.erase(index);
        return false;
    }
    if (result == ExportSource::Result::Failed)
    {
        // The frames before it are still written; the writer stops here.
        m_sourceEnded = true;
        m_frameCount = index + 1;
        slot->error = error.empty() ? OutOfMemory() : error;
        slot->fittedReady = slot->encoded = true;
        return false;
    }
    return true;
}

void Pipeline::Process(int index, Slot& slot, GifFrameEncoder& encoder)
{
    const GifOptions& options = m_settings.options;
    wxString error;
    const wxImage* image = slot.picture.owned ? slot.picture.owned.get() : slot.picture.picture;
    if (slot.picture.decode)
    {
        slot.picture.owned = slot.picture.decode(error);
        slot.picture.decode = nullptr;
        image = slot.picture.owned.get();
    }
    bool ok = image != nullptr;
    if (ok && !(slot.fitted.Fit(*image, m_settings.width, m_settings.height,
                                options.optimised && options.smooth) &&
                slot.fitted.AddCaptions(slot.picture.captions)))
    {
        ok = false;
        error = OutOfMemory();
    }
    const std::uint8_t* previous = nullptr;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        slot.fittedReady = true;
        m_changed.notify_all();
        if (ok && options.optimised && index > 0)
        {
            // The frame before must be fitted, and the first frame's palette known.
            Slot& before = *m_slots.at(index - 1);
            m_changed.wait(lock, [&] { return m_stop || (before.fittedReady && m_sharedReady); });
            if (m_stop)
                return;
            previous = before.fitted.Pixels();
            ok = previous != nullptr;
        }
    }

    std::vector<std::uint8_t> bytes;
    if (ok)
    {
        // The writer clamps the delay to what its 16-bit field holds.
        const int delay = slot.picture.delay;
        ok = options.optimised ? encoder.EncodeOptimised(slot.fitted.Pixels(), previous, index,
                                                         delay, m_shared, bytes)
                               : encoder.EncodeClassic(slot.fitted.Pixels(), index, delay, bytes);
        // An encoder fails only when its colour reduction lacks memory.
        if (!ok)
            error = OutOfMemory();
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    slot.bytes = std::move(bytes);
    slot.error = ok ? wxString() : (error.empty() ? OutOfMemory() : error);
    slot.encoded = true;
    if (ok && options.optimised && index == 0)
        m_sharedReady = true;
    // An optimised frame's pixels also serve the next frame's comparison.
    if (!options.optimised || slot.nextEncoded)
        slot.ReleasePicture();
    if (options.optimised && index > 0)
    {
        Slot& before = *m_slots.at(index - 1);
        before.nextEncoded = true;
        if (before.encoded)
            before.ReleasePicture();
    }
    m_changed.notify_all();
}

void Pipeline::Work()
{
    try
    {
        GifFrameEncoder encoder(m_settings.width, m_settings.height, m_settings.options);
        int index = 0;
        Slot* slot = nullptr;
        while (Claim(index, slot))
            Process(index, *slot, encoder);
    }
    catch (const std::bad_alloc&)
    {
        Stop(OutOfMemory());
    }
}

bool Pipeline::ChooseSharedPalette()
{
    std::vector<SourcePicture> samples;
    m_source.Sample(kPaletteSamples, samples);
    if (samples.empty())
        return true;
    GifFrameEncoder encoder(m_settings.width, m_settings.height, m_settings.options);
    encoder.StartSharedPalette(static_cast<int>(samples.size()));
    for (SourcePicture& sample : samples)
    {
        wxString error;
        if (sample.decode)
            sample.owned = sample.decode(error);
        const wxImage* image = sample.owned ? sample.owned.get() : sample.picture;
        // A picture that cannot be had here fails later, in its place.
        if (!image)
            return true;
        FittedFrame fitted;
        if (!fitted.Fit(*image, m_settings.width, m_settings.height, m_settings.options.smooth) ||
            !fitted.AddCaptions(sample.captions))
            return false;
        encoder.AddToSharedPalette(fitted.Pixels());
        // One decoded sample at a time, however many are asked for.
        sample.owned.reset();
    }
    encoder.FinishSharedPalette(m_shared);
    m_sharedReady = true;
    return true;
}

GifStreamResult Pipeline::Run(int workers, wxOutputStream& out, const ExportProgress& progress,
                              const CancelCheck& cancelled)
{
    GifStreamResult result;
    const GifOptions& options = m_settings.options;
    if (options.optimised && options.globalPalette && !ChooseSharedPalette())
    {
        result.reason = OutOfMemory();
        return result;
    }
    std::vector<std::thread> threads;
    try
    {
        for (int i = 0; i < workers; ++i)
            threads.emplace_back(&Pipeline::Work, this);
    }
    catch (const std::system_error&)
    {
        // Fewer threads do the same work, only slower.
    }
    if (threads.empty())
    {
        result.reason = _("no worker thread could be started");
        return result;
    }

    const int count = m_source.Count();
    result.outcome = GifStreamResult::Outcome::Written;
    std::vector<std::uint8_t> bytes;
    for (;;)
    {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock,
                           [&]
                           {
                               if (m_stop || (m_sourceEnded && m_written >= m_frameCount))
                                   return true;
                               const auto next = m_slots.find(m_written);
                               return next != m_slots.end() && next->second->encoded;
                           });
            if (m_stop)
            {
                result.outcome = GifStreamResult::Outcome::Failed;
                result.reason = m_fatal;
                break;
            }
            if (m_sourceEnded && m_written >= m_frameCount)
                break;
            Slot& slot = *m_slots.at(m_written);
            if (!slot.error.empty())
            {
                result.outcome = GifStreamResult::Outcome::Failed;
                result.reason = slot.error;
                break;
            }
            bytes = std::move(slot.bytes);
            // Only the next frame still compares against this one.
            m_slots.erase(m_written - 1);
            if (!m_settings.options.optimised)
                m_slots.erase(m_written);
            ++m_written;
            m_changed.notify_all();
        }
        if (cancelled && cancelled())
        {
            result.outcome = GifStreamResult::Outcome::Cancelled;
            break;
        }
        out.Write(bytes.data(), bytes.size());
        if (out.LastWrite() != bytes.size())
        {
            result.outcome = GifStreamResult::Outcome::Failed;
            break;
        }
        ++result.frames;
        if (progress)
            progress(result.frames, count);
    }

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
    }
    for (std::thread& thread : threads)
        thread.join();

    if (result.outcome == GifStreamResult::Outcome::Written)
    {
        if (result.frames == 0)
        {
            result.outcome = GifStreamResult::Outcome::Failed;
            result.reason = _("there are no frames");
        }
        else
        {
            out.Write(&kGifTrailer, 1);
            if (out.LastWrite() != 1)
                result.outcome = GifStreamResult::Outcome::Failed;
        }
    }
    return result;
}
}  // namespace

int DefaultExportWorkers()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(cores), 1, kMaxWorkers);
}

GifStreamResult WriteGifStream(ExportSource& source, const GifExportSettings& settings,
                               wxOutputStream& out, const ExportProgress& progress,
                               const CancelCheck& cancelled)
{
    const int workers =
        settings.workers > 0 ? std::min(settings.workers, kMaxWorkers) : DefaultExportWorkers();
    try
    {
        Pipeline pipeline(source, settings, workers);
        return pipeline.Run(workers, out, progress, cancelled);
    }
    catch (const std::bad_alloc&)
    {
        GifStreamResult result;
        result.reason = OutOfMemory();
        return result;
    }
}
