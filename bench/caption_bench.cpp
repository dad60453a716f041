// What a caption costs the export: 300 full-HD frames written with one
// caption on every frame against the same frames without, and the drawing
// of the caption onto one frame by itself. The caption should add at most a
// tenth to the export's time.
#include "caption/captiondrawing.h"
#include "encode/gifexport.h"

#include "../tests/support/test_pictures.h"

#include <benchmark/benchmark.h>

#include <wx/filename.h>
#include <wx/image.h>

#include <vector>

namespace
{
const int kWidth = 1920;
const int kHeight = 1080;
const int kFrames = 300;

// A dozen distinct pictures stand for the 300 frames, so the benchmark
// measures the export rather than the memory of 300 decoded pictures.
const std::vector<wxImage>& Pictures()
{
    static const std::vector<wxImage> pictures = []
    {
        std::vector<wxImage> made;
        for (unsigned i = 0; i < 12; ++i)
            made.push_back(MakePhotoLike(kWidth, kHeight, 100 + i));
        return made;
    }();
    return pictures;
}

CaptionRef OneCaption()
{
    Caption caption;
    caption.text = wxS("A caption on every frame of the animation");
    caption.size = 64;
    return std::make_shared<const Caption>(caption);
}

void BM_Export1080p(benchmark::State& state)
{
    const bool captioned = state.range(0) != 0;
    const CaptionRef caption = OneCaption();
    std::vector<ExportFrame> frames;
    for (int i = 0; i < kFrames; ++i)
        frames.emplace_back(&Pictures()[size_t(i) % Pictures().size()], 4,
                            captioned ? FrameCaptions{caption} : FrameCaptions{});
    const wxString path = wxFileName::CreateTempFileName(wxS("lf-caption-bench"));
    GifExportSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    for (auto _ : state)
        if (!ExportGif(frames, path, settings).ok)
            state.SkipWithError("export failed");
    wxRemoveFile(path);
    state.SetItemsProcessed(state.iterations() * kFrames);
    state.SetLabel(captioned ? "one caption" : "no caption");
}
BENCHMARK(BM_Export1080p)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    // CPU: every thread of the export, which a busy machine disturbs far less than the wall time.
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_DrawCaption1080p(benchmark::State& state)
{
    wxImage frame = Pictures()[0].Copy();
    const FrameCaptions captions{OneCaption()};
    for (auto _ : state)
        DrawCaptions(captions, frame);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawCaption1080p)->Unit(benchmark::kMicrosecond);
}  // namespace
