// The entry of every engine benchmark: the toolkit's base and image handlers
// are up before Google Benchmark runs the registered cases.
#include <benchmark/benchmark.h>
#include <wx/image.h>
#include <wx/init.h>

int main(int argc, char** argv)
{
    wxInitializer initializer;
    if (!initializer.IsOk())
        return 1;
    wxInitAllImageHandlers();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
