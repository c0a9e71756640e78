// The batch kernels: three loops over the initiations (branching on the stage outcomes, free of
// such branches, or branching on stage 1 only), whose lane comparisons are made by portable
// scalar code or by AVX2 or AVX-512 instructions; the processor and the ratings choose one per
// batch (KernelChoice.h).
#pragma once

#include <cstdint>

#include "network/Network.h"
#include "network/NetworkLanes.h"

namespace kestal {

// How many initiations ended at stage 2, 3 or 4 (nodes D, F, H) or passed stage 4 (node I); the
// rest of the batch ended at stage 1 (node B).
struct StageEnds {
    int32_t stage2 = 0;
    int32_t stage3 = 0;
    int32_t stage4 = 0;
    int32_t accident = 0;
};

// Runs n initiations from `state` (the state before the first draw) and leaves in it the state
// after the last draw.
using KernelFunction = StageEnds (*)(const BatchBounds& bounds, int32_t n, uint32_t& state);
StageEnds RunScalarKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);
StageEnds RunAvx2Kernel(const BatchBounds& bounds, int32_t n, uint32_t& state);    // needs AVX2
StageEnds RunAvx512Kernel(const BatchBounds& bounds, int32_t n, uint32_t& state);  // needs AVX-512 F
StageEnds RunScalarBranchFreeKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);
StageEnds RunAvx2BranchFreeKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);    // needs AVX2
StageEnds RunAvx512BranchFreeKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);  // needs AVX-512 F
StageEnds RunScalarFirstBranchKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);
StageEnds RunAvx2FirstBranchKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);    // needs AVX2
StageEnds RunAvx512FirstBranchKernel(const BatchBounds& bounds, int32_t n, uint32_t& state);  // needs AVX-512 F

enum class BatchKernel { Scalar, Avx2, Avx512 };
bool KernelSupported(BatchKernel kernel);
// The widest instruction set this processor runs.
BatchKernel FastestKernel();
const char* KernelName(BatchKernel kernel);

// The branching loop runs ahead on predicted stage outcomes and is the faster where they are
// predictable; the branch-free loop waits for every initiation's outcome but never throws work
// away. The first-branch loop branches on stage 1 only and goes through the later stages without
// a branch.
enum class KernelLoop { Branching, BranchFree, FirstBranch };
const char* LoopName(KernelLoop loop);

// A kernel: its instruction set and its loop.
struct KernelChoice {
    BatchKernel instructions;
    KernelLoop loop;
    bool operator==(const KernelChoice&) const = default;
};
KernelFunction FunctionOf(KernelChoice choice);

// RunNetworkBatch with a chosen kernel (tests and benchmarks); the kernel must be supported.
void RunNetworkBatchWith(KernelChoice choice, GertNetwork& net, int32_t n);
// The same with the branching loop.
void RunNetworkBatchWith(BatchKernel kernel, GertNetwork& net, int32_t n);

}  // namespace kestal
