// The cost of the undo history. Recording a step copies the frame list,
// whose frames share their pictures with the strip, so a step costs a few
// bytes per frame however large the pictures are. Prints the time to record
// and undo a step for strips of several lengths, the bytes a step holds, and
// what one full-size copy of the strip's 640 x 480 pictures would take;
// then the time that removing repeated frames takes (below).
#include "edit/edithistory.h"
#include "edit/framelist.h"
#include "edit/repeatedframes.h"

#include <benchmark/benchmark.h>

#include <wx/image.h>

#include <vector>

namespace
{
const wxSize kPicture(640, 480);

FrameList Strip(int count)
{
    // Every frame its own picture object; the pixels themselves may be shared,
    // as the history never touches them.
    const wxImage pixels(kPicture.x, kPicture.y);
    std::vector<StripFrame> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(
            MakeStripFrame(pixels, wxString::Format(wxS("/pictures/frame%05d.png"), i), 0));
    FrameList list;
    list.Insert(0, frames);
    return list;
}

void BM_UndoStep(benchmark::State& state)
{
    const int count = int(state.range(0));
    EditState current;
    current.frames = Strip(count);
    EditHistory history;
    for (auto _ : state)
    {
        history.Record(current);
        current.frames.Move({0}, count);
        current = history.Undo(current);
    }
    state.counters["bytes_per_step"] =
        double(sizeof(EditState) + size_t(count) * sizeof(StripFrame));
    state.counters["full_copy_bytes"] = double(count) * kPicture.x * kPicture.y * 3;
}
BENCHMARK(BM_UndoStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
}  // namespace

// Removing repeated frames from a 1,000-frame full-HD screen recording.
// The frames point at 20 distinct pictures, in runs of four equal frames;
// each picture differs from the one before in a small area, as typing or a
// moving pointer does. "Noisy" adds a difference of 1 to every pixel of every
// other picture, as a lossy capture does, so no row of those is equal and
// every pixel is counted: with a tolerance of 2 those frames go as well.
// Prints the time per 100 frames.
namespace
{
const wxSize kFullHd(1920, 1080);
const int kRecordingFrames = 1000;
const int kDistinctPictures = 20;

std::vector<std::vector<unsigned char>> RecordingPixels(bool noisy)
{
    std::vector<unsigned char> base(size_t(kFullHd.x) * kFullHd.y * 3);
    for (size_t i = 0; i < base.size(); ++i)
        base[i] = static_cast<unsigned char>((i / 3) % 1920 / 8 + (i % 3) * 40);
    std::vector<std::vector<unsigned char>> pictures;
    for (int k = 0; k < kDistinctPictures; ++k)
    {
        std::vector<unsigned char> pixels = base;
        // A 200 x 30 area that changes from one picture to the next.
        for (int y = 100 + 30 * k; y < 130 + 30 * k; ++y)
            for (int x = 0; x < 200 * 3; ++x)
                pixels[(size_t(y) * kFullHd.x) * 3 + size_t(x)] = static_cast<unsigned char>(k * 11);
        if (noisy && k % 2 == 1)
            for (unsigned char& value : pixels)
                value = static_cast<unsigned char>(value < 255 ? value + 1 : value - 1);
        pictures.push_back(std::move(pixels));
    }
    return pictures;
}

void BM_RemoveRepeatedFrames(benchmark::State& state)
{
    const bool noisy = state.range(0) != 0;
    std::vector<std::vector<unsigned char>> pixels = RecordingPixels(noisy);
    // Every frame its own picture object over one of the shared pixel buffers.
    std::vector<StripFrame> frames;
    for (int i = 0; i < kRecordingFrames; ++i)
    {
        const int k = (i / 4) % kDistinctPictures;
        wxImage picture(kFullHd.x, kFullHd.y, pixels[size_t(k)].data(), true);
        frames.push_back(MakeStripFrame(picture, wxString::Format(wxS("/rec/%04d.png"), i), 0));
    }
    FrameList recording;
    recording.Insert(0, frames);
    const double tolerance = noisy ? 2 : 0;
    size_t removed = 0;
    for (auto _ : state)
    {
        FrameList list = recording;
        const std::vector<int> repeated = FindRepeatedFrames(list, 10, tolerance);
        RemoveRepeatedFrames(list, 10, repeated);
        removed = repeated.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["frames_removed"] = double(removed);
    // Seconds per hundred frames: the elapsed time over the hundreds done.
    state.counters["seconds_per_100_frames"] =
        benchmark::Counter(double(state.iterations()) * kRecordingFrames / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RemoveRepeatedFrames)->ArgName("noisy")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
}  // namespace
