// The module's cost per test point: one pre-step and one post-step of the capture manager, with
// the in-process host of NullHost.cpp, against one frame at 60 Hz.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>

#include "bench/NullHost.h"
#include "module/capture/AeroquinManager.h"
#include "module/simulator/HostApi.h"

namespace {

constexpr double kFrame = 1.0 / 60.0;  // s
constexpr double kStep = 0.02;         // s, the simulator's step
constexpr double kMjd = 60374.5;       // days

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_TestPoint(benchmark::State& state) {
    // The render mode of a windowed simulator, so that the annotation is updated as well.
    aeroquin::AeroquinManager manager(oapi::Module::RENDER_WINDOW);
    const std::uint64_t linesBefore = aeroquin::bench::linesWritten();
    double simt = 0.0;
    const double cpuStart = threadCpuSeconds();
    for (auto _ : state) {
        manager.preStep(simt, kStep, kMjd);
        manager.postStep(simt, kStep, kMjd);
        simt += kStep;
    }
    const double cpuSeconds = threadCpuSeconds() - cpuStart;
    // One report row per point proves that the capture ran (and never completed) throughout.
    const std::uint64_t rows = aeroquin::bench::linesWritten() - linesBefore;
    if (linesBefore == 0 || rows != static_cast<std::uint64_t>(state.iterations())) {
        state.SkipWithError("the capture did not write one row per test point");
        return;
    }
    // CPU time per point as a percentage of one 60 Hz frame.
    state.counters["frame_percent"] =
        cpuSeconds / static_cast<double>(state.iterations()) / kFrame * 100.0;
}
BENCHMARK(BM_TestPoint);

}  // namespace
