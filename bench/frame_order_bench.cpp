// The cost of frame references to one GIF in other orders than the file's:
// a 300-frame 480 x 360 GIF referenced forward, backward, shuffled, and each
// frame twice (forward, then backward), read as the window's import reads
// them (one picture sequence) and rendered as loopforge-render renders them.
// Each order runs once; "vs_forward" is its wall time over the forward
// order's with as many references (goal: at most 1.5), "cpu_vs_forward" the
// same for the processor time of the whole process (all threads; the steadier
// figure on a shared machine), "frames_read" counts the frames read from the
// file.
#include "decode/picturesequence.h"
#include "encode/gifexport.h"
#include "jobs/renderjob.h"

#include "../tests/support/test_pictures.h"

#include <benchmark/benchmark.h>

#include <wx/filename.h>
#include <wx/stopwatch.h>

#include <sys/resource.h>

#include <vector>

namespace
{
const int kFrames = 300;
const int kWidth = 480;
const int kHeight = 360;

const wxString& AnimationFile()
{
    static wxString made;
    if (made.empty())
    {
        made = wxFileName::CreateTempFileName("lforder") + ".gif";
        std::vector<wxImage> pictures;
        for (int i = 0; i < 10; ++i)
            pictures.push_back(MakePhotoLike(kWidth, kHeight, i));
        std::vector<const wxImage*> frames;
        for (int i = 0; i < kFrames; ++i)
            frames.push_back(&pictures[i % 10]);
        ExportGif(frames, made, 4, kWidth, kHeight);
    }
    return made;
}

enum Order
{
    Forward,
    Backward,
    Shuffled,
    TwiceForward,
    TwiceBackward
};

wxArrayString References(int order)
{
    std::vector<int> indices;
    for (int i = 0; i < kFrames; ++i)
        switch (order)
        {
            case Forward:
                indices.push_back(i);
                break;
            case Backward:
                indices.push_back(kFrames - 1 - i);
                break;
            case Shuffled:
                indices.push_back(i * 97 % kFrames);
                break;
            case TwiceForward:
                indices.insert(indices.end(), {i, i});
                break;
            case TwiceBackward:
                indices.insert(indices.end(), {kFrames - 1 - i, kFrames - 1 - i});
                break;
        }
    wxArrayString references;
    for (int index : indices)
        references.push_back(AnimationFile() + wxString::Format("_%d", index));
    return references;
}

// Processor time of the process so far, all threads, in seconds.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall and processor seconds of the forward orders (once and twice), per
// route, for the ratios.
double g_forward[2][2][2] = {};

void Report(benchmark::State& state, int route, double seconds, double cpu, long framesRead)
{
    state.SetIterationTime(seconds);
    const int order = int(state.range(0));
    const int twice = order >= TwiceForward ? 1 : 0;
    double(&forward)[2] = g_forward[route][twice];
    if (order == Forward || order == TwiceForward)
    {
        forward[0] = seconds;
        forward[1] = cpu;
    }
    state.counters["cpu_s"] = cpu;
    if (forward[0] > 0 && forward[1] > 0)
    {
        state.counters["vs_forward"] = seconds / forward[0];
        state.counters["cpu_vs_forward"] = cpu / forward[1];
    }
    if (framesRead >= 0)
        state.counters["frames_read"] = double(framesRead);
}

void BM_ImportFrameOrder(benchmark::State& state)
{
    const wxArrayString references = References(int(state.range(0)));
    for (auto _ : state)
    {
        wxStopWatch watch;
        const double cpu = CpuSeconds();
        PictureSequence sequence(references);
        for (SequencePicture picture; sequence.Next(picture);)
            benchmark::DoNotOptimize(picture.image.get());
        Report(state, 0, watch.TimeInMicro().ToDouble() / 1e6, CpuSeconds() - cpu,
               sequence.GifFramesRead());
    }
}

void BM_RenderFrameOrder(benchmark::State& state)
{
    RenderJob job;
    job.inputs = References(int(state.range(0)));
    job.output = wxFileName::CreateTempFileName("lforderout") + ".gif";
    job.width = kWidth;
    job.height = kHeight;
    for (auto _ : state)
    {
        wxStopWatch watch;
        const double cpu = CpuSeconds();
        if (!RunRenderJob(job).ok)
            state.SkipWithError("the render failed");
        Report(state, 1, watch.TimeInMicro().ToDouble() / 1e6, CpuSeconds() - cpu, -1);
    }
    wxRemoveFile(job.output);
}

void Orders(benchmark::internal::Benchmark* bench)
{
    for (int order : {Forward, Backward, Shuffled, TwiceForward, TwiceBackward})
        bench->Arg(order);
    bench->ArgName("order")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ImportFrameOrder)->Apply(Orders);
BENCHMARK(BM_RenderFrameOrder)->Apply(Orders);
}  // namespace
