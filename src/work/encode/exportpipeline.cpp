#include "encode/exportpipeline.h"

#include "encode/framefitting.h"
#include "encode/gifframeencoder.h"

#include <wx/intl.h>
#include <wx/stream.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
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
// Pictures held by the frames in flight, beyond the two the writer needs
// next: large pictures keep fewer frames in flight than there are workers.
const std::size_t kMaxBytesInFlight = std::size_t(512) << 20;

std::size_t ImageBytes(const wxImage* image)
{
    if (!image || !image->IsOk())
        return 0;
    return std::size_t(image->GetWidth()) * std::size_t(image->GetHeight()) *
           (image->HasAlpha() ? 4 : 3);
}

wxString OutOfMemory()
{
    return _("there is not enough memory");
}

// One frame on its way from the source to the file.
struct Slot
{
    SourcePicture picture;
    FittedFrame fitted;
    bool fittedReady = false;      // fitted, or failed with error set
    bool encoded = false;          // bytes ready, or failed with error set
    bool nextEncoded = false;      // the next frame no longer needs these pixels
    bool prevEncoded = false;      // nor the frame before, which looks at their opacity
    bool repeatsPrevious = false;  // optimised: the same pixels as the frame before
    std::vector<std::uint8_t> bytes;
    wxString error;
    std::size_t heldBytes = 0;  // of the decoded picture and the fitted frame, once fitted

    void ReleasePicture()
    {
        heldBytes = 0;
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
    bool Claim(int& index, Slot*& slot, int onlyIndex = -1);
    bool Fit(Slot& slot, wxString& error);
    void Encode(int index, Slot& slot, GifFrameEncoder& encoder, bool ok, wxString error);
    void ReleaseIfDone(Slot& slot);
    void Stop(const wxString& reason);
    bool ChooseSharedPalette();
    bool RoomForAnotherFrame() const;

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
    std::size_t m_largestFrameBytes = 0;  // heldBytes of the largest frame so far
};

// Called with the mutex held.
bool Pipeline::RoomForAnotherFrame() const
{
    if (m_nextClaim >= m_written + m_window)
        return false;
    // The next frames to write are always let in, so the export goes on.
    if (m_nextClaim <= m_written + 1)
        return true;
    // Frames not fitted yet are counted at the size of the largest one so far.
    std::size_t held = m_largestFrameBytes;
    for (const auto& [index, slot] : m_slots)
        held += slot->fittedReady ? slot->heldBytes : m_largestFrameBytes;
    return held <= kMaxBytesInFlight;
}

void Pipeline::Stop(const wxString& reason)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fatal.empty())
        m_fatal = reason;
    m_stop = true;
    m_changed.notify_all();
}

// Claims the next frame, or with onlyIndex that frame only if no one has
// claimed it yet.
bool Pipeline::Claim(int& index, Slot*& slot, int onlyIndex)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock,
                   [&]
                   {
                       return m_stop || m_sourceEnded ||
                              (onlyIndex >= 0 && m_nextClaim != onlyIndex) || RoomForAnotherFrame();
                   });
    if (m_stop || m_sourceEnded || (onlyIndex >= 0 && m_nextClaim != onlyIndex))
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

bool Pipeline::Fit(Slot& slot, wxString& error)
{
    const GifOptions& options = m_settings.options;
    const wxImage* image = slot.picture.owned ? slot.picture.owned.get() : slot.picture.picture;
    if (slot.picture.decode)
    {
        slot.picture.owned = slot.picture.decode(error);
        slot.picture.decode = nullptr;
        image = slot.picture.owned.get();
    }
    bool ok = image != nullptr;
    if (ok && !(slot.fitted.Fit(*image, m_settings.width, m_settings.height,
                                options.optimised && options.smooth, options.optimised) &&
                slot.fitted.AddCaptions(slot.picture.captions)))
    {
        ok = false;
        error = OutOfMemory();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    slot.heldBytes = ImageBytes(slot.picture.owned.get()) + slot.fitted.HeldBytes();
    m_largestFrameBytes = std::max(m_largestFrameBytes, slot.heldBytes);
    slot.fittedReady = true;
    m_changed.notify_all();
    return ok;
}

// Called with the mutex held.
void Pipeline::ReleaseIfDone(Slot& slot)
{
    if (slot.encoded && slot.nextEncoded && slot.prevEncoded)
        slot.ReleasePicture();
}

void Pipeline::Encode(int index, Slot& slot, GifFrameEncoder& encoder, bool ok, wxString error)
{
    const GifOptions& options = m_settings.options;
    const std::uint8_t* previous = nullptr;
    FrameOpacity opacity;
    opacity.frame = slot.fitted.Opacity();
    if (ok && options.optimised)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        // The frames either side must be fitted, and the first frame's palette known.
        Slot* before = index > 0 ? m_slots.at(index - 1).get() : nullptr;
        Slot* after = nullptr;
        m_changed.wait(lock,
                       [&]
                       {
                           // A next frame seen on an earlier wake-up may since
                           // have been dropped at the source's end.
                           after = nullptr;
                           if (m_stop)
                               return true;
                           if (before && !(before->fittedReady && m_sharedReady))
                               return false;
                           if (m_sourceEnded && m_frameCount <= index + 1)
                               return true;
                           const auto next = m_slots.find(index + 1);
                           after = next == m_slots.end() ? nullptr : next->second.get();
                           return after && after->fittedReady;
                       });
        if (m_stop)
            return;
        if (before)
        {
            previous = before->fitted.Pixels();
            opacity.previous = before->fitted.Opacity();
            ok = previous != nullptr;
        }
        if (after)
            opacity.next = after->fitted.Opacity();
    }
    // A frame that clears the screen for the next one cannot give way to
    // the frame before it, which leaves the screen as it is.
    const std::size_t pixelCount = std::size_t(m_settings.width) * m_settings.height;
    const bool repeats = previous && !ClearsBeforeNext(opacity.frame, opacity.next, pixelCount) &&
                         FramesShowTheSame(slot.fitted.Pixels(), opacity.frame, previous,
                                           opacity.previous, pixelCount);

    std::vector<std::uint8_t> bytes;
    if (ok)
    {
        // The writer clamps the delay to what its 16-bit field holds.
        const int delay = slot.picture.delay;
        ok = options.optimised ? encoder.EncodeOptimised(slot.fitted.Pixels(), previous, index,
                                                         delay, m_shared, bytes, opacity)
                               : encoder.EncodeClassic(slot.fitted.Pixels(), index, delay, bytes);
        // An encoder fails only when its colour reduction lacks memory.
        if (!ok)
            error = OutOfMemory();
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    slot.bytes = std::move(bytes);
    slot.repeatsPrevious = repeats;
    slot.error = ok ? wxString() : (error.empty() ? OutOfMemory() : error);
    slot.encoded = true;
    if (ok && options.optimised && index == 0)
        m_sharedReady = true;
    if (!options.optimised)
    {
        slot.ReleasePicture();
    }
    else
    {
        // An optimised frame's pixels also serve the next frame's comparison,
        // and their opacity the frame before.
        if (index == 0)
            slot.prevEncoded = true;
        const auto before = m_slots.find(index - 1);
        if (before != m_slots.end())
        {
            before->second->nextEncoded = true;
            ReleaseIfDone(*before->second);
        }
        const auto after = m_slots.find(index + 1);
        if (after != m_slots.end())
        {
            after->second->prevEncoded = true;
            ReleaseIfDone(*after->second);
        }
        ReleaseIfDone(slot);
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
        bool claimed = Claim(index, slot);
        wxString error;
        bool fitted = claimed && Fit(*slot, error);
        while (claimed)
        {
            // An optimised frame waits for the next one to be fitted, to see
            // whether pixels turn transparent there; when no one has claimed
            // it yet this worker fits it first, so no worker waits on itself.
            int nextIndex = 0;
            Slot* next = nullptr;
            wxString nextError;
            bool nextFitted = false;
            const bool claimedNext =
                m_settings.options.optimised && Claim(nextIndex, next, index + 1);
            if (claimedNext)
                nextFitted = Fit(*next, nextError);
            Encode(index, *slot, encoder, fitted, error);
            if (claimedNext)
            {
                index = nextIndex;
                slot = next;
                fitted = nextFitted;
                error = nextError;
                continue;
            }
            claimed = Claim(index, slot);
            error.clear();
            fitted = claimed && Fit(*slot, error);
        }
    }
    catch (const std::bad_alloc&)
    {
        Stop(OutOfMemory());
    }
}

bool Pipeline::ChooseSharedPalette()
{
    std::vector<SourcePicture> samples;
    m_source.Sample(kSharedPaletteSamples, samples);
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
        // A picture that cannot be had here fails later, in its place, or is
        // left out (a damaged GIF frame): the palette is chosen from the
        // others, as long as the first frame is among them.
        if (!image && &sample == &samples.front())
            return true;
        if (!image)
            continue;
        FittedFrame fitted;
        if (!fitted.Fit(*image, m_settings.width, m_settings.height, m_settings.options.smooth,
                        true) ||
            !fitted.AddCaptions(sample.captions))
            return false;
        encoder.AddToSharedPalette(fitted.Pixels(), fitted.Opacity());
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
    auto write = [&out, &result](const std::vector<std::uint8_t>& bytes)
    {
        out.Write(bytes.data(), bytes.size());
        if (out.LastWrite() != bytes.size())
            return false;
        ++result.frames;
        return true;
    };
    // Each frame waits until the next one is known: a frame that shows the
    // same pixels as it lengthens its delay instead of becoming a frame.
    std::vector<std::uint8_t> bytes, pending;
    bool havePending = false, pendingOwnEdits = false;
    int handled = 0;
    for (;;)
    {
        bool joins = false, ownEdits = false;
        int delay = 0;
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
            // A caption counts as an edit of the frame's own.
            ownEdits = slot.picture.ownEdits || !slot.picture.captions.empty();
            joins = slot.repeatsPrevious && !ownEdits && !pendingOwnEdits;
            delay = slot.picture.delay;
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
        if (!(joins && havePending && ExtendGifFrameDelay(pending, delay)))
        {
            if (havePending && !write(pending))
            {
                result.outcome = GifStreamResult::Outcome::Failed;
                break;
            }
            pending.swap(bytes);
            havePending = true;
            pendingOwnEdits = ownEdits;
        }
        ++handled;
        if (progress)
            progress(handled, count);
    }
    if (result.outcome == GifStreamResult::Outcome::Written && havePending && !write(pending))
        result.outcome = GifStreamResult::Outcome::Failed;

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

bool FramesShowTheSame(const std::uint8_t* pixels, const std::uint8_t* opacity,
                       const std::uint8_t* otherPixels, const std::uint8_t* otherOpacity,
                       std::size_t count)
{
    if (!opacity && !otherOpacity)
        return std::memcmp(pixels, otherPixels, count * 3) == 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const bool opaque = !opacity || opacity[i];
        if (opaque != (!otherOpacity || otherOpacity[i]))
            return false;
        if (opaque && std::memcmp(pixels + i * 3, otherPixels + i * 3, 3) != 0)
            return false;
    }
    return true;
}

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
