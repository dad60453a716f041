// How the time to read a project grows with its size: a realistic project,
// documents at the reader's bounds (the costliest it parses) and documents
// beyond them (refused by the bounds check before parsing). Bytes per
// second should stay flat from 1 to 16 MiB; the fitted complexity is printed.
#include "project/projectfile.h"

#include <benchmark/benchmark.h>


#include <string>

namespace
{
const char kHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project>\n  <name>anim.gif</name>\n"
    "  <gif>\n    <width>320</width>\n    <height>240</height>\n"
    "    <delay_time>10</delay_time>\n  </gif>\n  <images>\n";
const char kTail[] = "  </images>\n</project>\n";

// A project of bytes, its images holding copies of entry.
std::string ProjectOf(const std::string& entry, size_t bytes)
{
    std::string text = kHead;
    while (text.size() + entry.size() < bytes)
        text += entry;
    return text + kTail;
}

std::string Realistic(size_t bytes)
{
    return ProjectOf("    <path>/home/someone/Pictures/holiday/IMG_20240611_1830.jpg</path>\n",
                     bytes);
}

// Paths of 32 KB with 256 line breaks each: the longest texts allowed.
std::string LongTextsAtTheBounds(size_t bytes)
{
    std::string text;
    while (text.size() < 32 * 1024 - 1)
        text += text.size() % 128 == 127 ? '\n' : 'x';
    return ProjectOf("<path>" + text + "</path>", bytes);
}

// Tiny texts, each split by the parser: the most pieces per byte.
std::string ShortPieces(size_t bytes)
{
    return ProjectOf("<path>\n&amp;\n</path>", bytes);
}

// One name of short lines, as long as the file: refused by the check.
std::string BeyondTheBounds(size_t bytes)
{
    std::string text = kHead;
    text.replace(text.find("anim.gif"), 8, std::string(bytes, '\n'));
    return text + kTail;
}

template <std::string (*Make)(size_t)>
void BM_ReadProjectText(benchmark::State& state)
{
    const std::string text = Make(size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadProjectText(text));
    state.SetBytesProcessed(state.iterations() * int64_t(text.size()));
    state.SetComplexityN(int64_t(text.size()));
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    bench->RangeMultiplier(2)->Range(1 << 20, 16 << 20)->Unit(benchmark::kMillisecond);
    bench->Complexity(benchmark::oN);
}

BENCHMARK_TEMPLATE(BM_ReadProjectText, Realistic)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_ReadProjectText, LongTextsAtTheBounds)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_ReadProjectText, ShortPieces)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_ReadProjectText, BeyondTheBounds)->Apply(Sizes);
}  // namespace
