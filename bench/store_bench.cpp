// The frame store: how fast a 1920 x 1080 picture is compressed and loaded
// again by each codec, how small it gets (the "ratio" counter: decoded over
// stored bytes), on a screen-like and a photo-like frame; and an export of
// the same frames read in place, as the window exported before, against
// loaded from their stored copies, as it exports now.
#include "decode/storedpicture.h"
#include "encode/gifexport.h"

#include "../tests/support/test_pictures.h"

#include <benchmark/benchmark.h>

#include <wx/filename.h>
#include <wx/image.h>

#include <vector>

namespace
{
// A desktop: flat panels, lines of "text", a pointer placed by the seed.
wxImage ScreenLike(int width, int height, int seed)
{
    wxImage image(width, height, false);
    unsigned char* p = image.GetData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            unsigned char r = 236, g = 238, b = 242;
            if (y < 40)
                r = 40, g = 44, b = 52;
            else if (x < width / 6)
                r = g = b = 250;
            if (y > 60 && (y % 24) < 12 && ((x / 7 + y / 24 + seed) % 11) < 8 && x % 7 != 0)
                r = g = b = 30;
            const int px = 400 + seed * 97 % (width / 2), py = 200 + seed * 53 % (height / 2);
            if (x >= px && x < px + 24 && y >= py && y < py + 24 && x - px <= y - py)
                r = g = b = 0;
            *p++ = r;
            *p++ = g;
            *p++ = b;
        }
    return image;
}

const wxImage& Frame(int content)
{
    static const wxImage screen = ScreenLike(1920, 1080, 3);
    static const wxImage photo = MakePhotoLike(1920, 1080, 7);
    return content == 0 ? screen : photo;
}

// Args: codec (0 LZ4, 1 zstd), content (0 screen-like, 1 photo-like).
void BM_StoreKeep(benchmark::State& state)
{
    const PictureCodec codec = state.range(0) ? PictureCodec::Zstd : PictureCodec::Lz4;
    const wxImage& picture = Frame(int(state.range(1)));
    std::size_t stored = 0;
    for (auto _ : state)
    {
        const StoredPicture kept = StoredPicture::Keep(picture, codec);
        stored = kept.StoredBytes();
        benchmark::DoNotOptimize(stored);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * 1920 * 1080 * 3);
    state.counters["ratio"] = 1920.0 * 1080 * 3 / double(stored);
}
BENCHMARK(BM_StoreKeep)
    ->ArgNames({"zstd", "photo"})
    ->Ranges({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_StoreLoad(benchmark::State& state)
{
    const PictureCodec codec = state.range(0) ? PictureCodec::Zstd : PictureCodec::Lz4;
    const StoredPicture kept = StoredPicture::Keep(Frame(int(state.range(1))), codec);
    for (auto _ : state)
    {
        const wxImage loaded = kept.Load();
        benchmark::DoNotOptimize(loaded.GetData());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * 1920 * 1080 * 3);
}
BENCHMARK(BM_StoreLoad)
    ->ArgNames({"zstd", "photo"})
    ->Ranges({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Args: stored (0: pictures read in place, 1: loaded from the store).
void BM_ExportFromStore(benchmark::State& state)
{
    const int count = 24;
    std::vector<wxImage> pictures;
    for (int i = 0; i < count; ++i)
        pictures.push_back(i % 2 ? ScreenLike(1280, 720, i)
                                 : MakePhotoLike(1280, 720, unsigned(i)));
    std::vector<ExportFrame> frames;
    for (const wxImage& picture : pictures)
    {
        ExportFrame frame(&picture, 4);
        if (state.range(0))
        {
            frame.picture = nullptr;
            frame.stored = StoredPicture::Keep(picture);
        }
        frames.push_back(frame);
    }
    const wxString path = wxFileName::CreateTempFileName(wxS("lfstore")) + wxS(".gif");
    GifExportSettings settings;
    settings.width = 1280;
    settings.height = 720;
    for (auto _ : state)
        if (!ExportGif(frames, path, settings).ok)
            state.SkipWithError("export failed");
    wxRemoveFile(path);
    state.counters["frames_per_second"] =
        benchmark::Counter(double(state.iterations()) * count, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportFromStore)
    ->ArgName("stored")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
}  // namespace
