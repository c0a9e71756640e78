// What the batch benchmarks share: the thread's CPU clock, the serial generator loop and the
// number of draws a batch made.
#pragma once

#include <time.h>

#include <cstdint>

#include "network/NetworkLanes.h"

using namespace kestal;

// CPU seconds of this thread: other processes on a loaded machine do not count.
inline double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

template <class F>
double CpuTimed(F&& f)
{
    const double t0 = ThreadCpuSeconds();
    f();
    return ThreadCpuSeconds() - t0;
}

// The generator stepped one draw after another, each step waiting for the multiply and add of
// the one before: the pace of any batch that makes its draws in sequence.
[[gnu::noinline]] inline uint32_t StepSerially(uint32_t state, int64_t draws)
{
    for (int64_t i = 0; i < draws; ++i) {
        state = NextState(state);
        asm("" : "+r"(state));  // one step at a time, as written
    }
    return state;
}

// Draws a batch made, from its counters: 14 per initiation, 8 more for each that passed stage 1
// (C), 5 more past stage 2 (E) and 4 more past stage 3 (G).
inline int64_t BatchDraws(const OutcomeCounters& c)
{
    return int64_t{DrawsThroughStage1} * (c.node[NodeB] + c.node[NodeC]) +
           int64_t{DrawsThroughStage2 - DrawsThroughStage1} * c.node[NodeC] +
           int64_t{DrawsThroughStage3 - DrawsThroughStage2} * c.node[NodeE] +
           int64_t{DrawsThroughStage4 - DrawsThroughStage3} * c.node[NodeG];
}
