// Micro-benchmarks of the export and import engine. The straightforward
// routes (BMP round trip, linear palette search) run beside the ones in use.
// LF_BENCH_GIF may name a GIF file for the import benchmark; without it a
// 300-frame GIF is made first.
#include "decode/picturedecoder.h"
#include "encode/gifexport.h"
#include "encode/paletteindex.h"
#include "jobs/renderjob.h"
#include "window/gif_gifhandler.h"

#include "../tests/support/reference_export.h"
#include "../tests/support/test_pictures.h"

#include <benchmark/benchmark.h>

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
const wxImage& Photo()
{
    static const wxImage photo = MakePhotoLike(640, 480, 11);
    return photo;
}

const wxImage& Reduced()
{
    static const wxImage reduced = ReduceColours(Photo());
    return reduced;
}

void BM_ReduceColours_Quantise(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReduceColours(Photo()));
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_ReduceColours_Quantise)->Unit(benchmark::kMillisecond);

void BM_ReduceColours_BmpRoundTrip(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReduceColoursByBmpRoundTrip(Photo()));
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_ReduceColours_BmpRoundTrip)->Unit(benchmark::kMillisecond);

void BM_PaletteLookup_Cache(benchmark::State& state)
{
    const std::vector<unsigned char> palette = PaletteBytes(Reduced());
    const unsigned char* pixels = Reduced().GetData();
    for (auto _ : state)
    {
        const PaletteIndex index(palette.data(), 256);
        int sum = 0;
        for (int i = 0; i < 640 * 480; ++i)
            sum += index.Find(pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_PaletteLookup_Cache)->Unit(benchmark::kMillisecond);

void BM_PaletteLookup_Linear(benchmark::State& state)
{
    const std::vector<unsigned char> palette = PaletteBytes(Reduced());
    const unsigned char* pixels = Reduced().GetData();
    for (auto _ : state)
    {
        int sum = 0;
        for (int i = 0; i < 640 * 480; ++i)
            sum += FindFirstEqualEntry(palette.data(), 256, pixels[3 * i], pixels[3 * i + 1],
                                       pixels[3 * i + 2]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_PaletteLookup_Linear)->Unit(benchmark::kMillisecond);

void BM_WriteFrame(benchmark::State& state)
{
    for (auto _ : state)
    {
        wxMemoryOutputStream out;
        MyGifHandler::SetOutputStream(&out);
        MyGifHandler handler;
        benchmark::DoNotOptimize(handler.SaveFrame(Reduced(), 100, 2, 1));
        MyGifHandler::SetOutputStream(nullptr);
        state.counters["bytes"] = double(out.GetSize());
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_WriteFrame)->Unit(benchmark::kMillisecond);

void BM_PrepareFrame_Shrink(benchmark::State& state)
{
    static const wxImage large = MakePhotoLike(1920, 1080, 12);
    for (auto _ : state)
        benchmark::DoNotOptimize(PrepareFrame(large, 640, 480));
}
BENCHMARK(BM_PrepareFrame_Shrink)->Unit(benchmark::kMillisecond);

wxString ImportFile()
{
    if (const char* given = std::getenv("LF_BENCH_GIF"))
        return wxString(given);
    static wxString made;
    if (made.empty())
    {
        made = wxFileName::CreateTempFileName("lfbench") + ".gif";
        std::vector<wxImage> pictures;
        for (int i = 0; i < 10; ++i)
            pictures.push_back(MakePhotoLike(320, 240, i));
        std::vector<const wxImage*> frames;
        for (int i = 0; i < 300; ++i)
            frames.push_back(&pictures[i % 10]);
        ExportGif(frames, made, 4, 320, 240);
    }
    return made;
}

void BM_ImportGif(benchmark::State& state)
{
    const wxString path = ImportFile();
    int frames = 0;
    for (auto _ : state)
    {
        frames = 0;
        DecodePictures(path, [&](std::unique_ptr<wxImage>, int, bool) { ++frames; });
    }
    state.counters["frames"] = frames;
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_ImportGif)->Unit(benchmark::kMillisecond);

// A GIF of about 200 bytes whose header claims a logical screen of
// 65534 x 4096 while its eight frames draw one pixel each: the time to
// compose it and the bytes of the largest picture it delivers.
wxString ScreenBombFile()
{
    static wxString made;
    if (!made.empty())
        return made;
    std::string gif = "GIF89a";
    auto word = [&](int value) { gif += char(value & 0xFF), gif += char(value >> 8); };
    word(65534);
    word(4096);
    gif += std::string("\x80\0\0\0\0\0\xFF\xFF\xFF", 9);
    for (int i = 0; i < 8; ++i)
    {
        gif += std::string("\x21\xF9\x04\0\x0A\0\0\0,", 9);
        word(30000 + i);
        word(2000);
        word(1);
        word(1);
        // No local table, code size 2: clear, index 0, end.
        gif += std::string("\0\x02\x02\x44\x01\0", 6);
    }
    gif += ';';
    made = wxFileName::CreateTempFileName("lfbench") + ".gif";
    wxFile(made, wxFile::write).Write(gif.data(), gif.size());
    return made;
}

void BM_ImportScreenBombGif(benchmark::State& state)
{
    const wxString path = ScreenBombFile();
    double largest = 0;
    for (auto _ : state)
        DecodePictures(path,
                       [&](std::unique_ptr<wxImage> picture, int, bool)
                       {
                           largest = std::max(largest, double(picture->GetWidth()) *
                                                           picture->GetHeight() * 3);
                       });
    state.counters["largest_picture_bytes"] = largest;
}
BENCHMARK(BM_ImportScreenBombGif)->Unit(benchmark::kMillisecond);

// loopforge-render of the 300-frame GIF as it is and with --reverse: the
// reversed job names the frames by references in falling order, so the
// difference is what reading a GIF's frames backwards costs.
void BM_RenderReversed(benchmark::State& state)
{
    RenderJob job;
    job.inputs.push_back(ImportFile());
    job.output = wxFileName::CreateTempFileName("lfbench") + ".gif";
    job.width = 320;
    job.height = 240;
    job.reverse = state.range(0) != 0;
    for (auto _ : state)
        if (!RunRenderJob(job).ok)
            state.SkipWithError("the render failed");
    wxRemoveFile(job.output);
    // Milliseconds per frame: the wall time over the thousandths of frames done.
    state.counters["ms_per_frame"] =
        benchmark::Counter(double(state.iterations()) * 300 / 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RenderReversed)
    ->ArgName("reversed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
}  // namespace
