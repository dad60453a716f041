// The cost of the undo history. Recording a step copies the frame list,
// whose frames share their pictures with the strip, so a step costs a few
// bytes per frame however large the pictures are. Prints the time to record
// and undo a step for strips of several lengths, the bytes a step holds, and
// what one full-size copy of the strip's 640 x 480 pictures would take.
#include "edit/edithistory.h"
#include "edit/framelist.h"

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
