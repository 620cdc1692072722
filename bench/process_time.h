// Processor time of the whole process, every thread included. llvmpipe rasterises on threads
// of its own, so the benchmark's CPU column (the calling thread only) misses most of a frame's
// cost; on a machine shared with other work this figure still shows what a frame costs when
// the wall clock cannot.
#pragma once

#include <benchmark/benchmark.h>

#include <ctime>

namespace benchtime {

inline double processMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// Counts the process time from construction to report(), per iteration of the state.
class ProcessTime {
  public:
    ProcessTime() : start_(processMilliseconds()) {}
    void report(benchmark::State& state) const {
        if (state.iterations() == 0) return;
        state.counters["all_threads_ms"] =
            (processMilliseconds() - start_) / static_cast<double>(state.iterations());
    }

  private:
    double start_;
};

}  // namespace benchtime
