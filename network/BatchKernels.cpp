// Choosing a batch kernel by what the processor supports, and the batch that runs it.
#include "network/BatchKernels.h"

#include <algorithm>

namespace kestal {

KernelFunction FunctionOf(KernelChoice choice)
{
    // Rows: scalar, AVX2, AVX-512; columns: the loops in their order.
    static constexpr KernelFunction Functions[3][3] = {
        {RunScalarKernel, RunScalarBranchFreeKernel, RunScalarFirstBranchKernel},
        {RunAvx2Kernel, RunAvx2BranchFreeKernel, RunAvx2FirstBranchKernel},
        {RunAvx512Kernel, RunAvx512BranchFreeKernel, RunAvx512FirstBranchKernel},
    };
    const int row = choice.instructions == BatchKernel::Avx512 ? 2 : choice.instructions == BatchKernel::Avx2 ? 1 : 0;
    return Functions[row][static_cast<int>(choice.loop)];
}

const char* LoopName(KernelLoop loop)
{
    switch (loop) {
    case KernelLoop::BranchFree:
        return "branch-free";
    case KernelLoop::FirstBranch:
        return "first-branch";
    case KernelLoop::Branching:
        break;
    }
    return "branching";
}

bool KernelSupported(BatchKernel kernel)
{
    // The processor's features, as checked by the compiler's run-time library (which also checks
    // that the operating system saves the wide registers).
    __builtin_cpu_init();
    switch (kernel) {
    case BatchKernel::Avx512:
        return __builtin_cpu_supports("avx512f");
    case BatchKernel::Avx2:
        return __builtin_cpu_supports("avx2");
    case BatchKernel::Scalar:
        return true;
    }
    return false;
}

BatchKernel FastestKernel()
{
    static const BatchKernel fastest = [] {
        for (BatchKernel k : {BatchKernel::Avx512, BatchKernel::Avx2}) {
            if (KernelSupported(k)) return k;
        }
        return BatchKernel::Scalar;
    }();
    return fastest;
}

const char* KernelName(BatchKernel kernel)
{
    switch (kernel) {
    case BatchKernel::Avx512:
        return "AVX-512";
    case BatchKernel::Avx2:
        return "AVX2";
    case BatchKernel::Scalar:
        break;
    }
    return "scalar";
}

void RunNetworkBatchWith(BatchKernel kernel, GertNetwork& net, int32_t n)
{
    RunNetworkBatchWith(KernelChoice{kernel, KernelLoop::Branching}, net, n);
}

void RunNetworkBatchWith(KernelChoice choice, GertNetwork& net, int32_t n)
{
    net.counters = {};
    net.random.ReseedFromClock(*net.clock);
    const int32_t initiations = std::max(n, 0);
    const StageEnds ends = FunctionOf(choice)(MakeBatchBounds(net.inputs), initiations, net.random.RandomSeed);
    // Every initiation that passes a stage reaches the next: B + C = N, D + E = C, F + G = E,
    // H + I = G.
    auto& c = net.counters.node;
    c[NodeI] = ends.accident;
    c[NodeH] = ends.stage4;
    c[NodeG] = c[NodeH] + c[NodeI];
    c[NodeF] = ends.stage3;
    c[NodeE] = c[NodeF] + c[NodeG];
    c[NodeD] = ends.stage2;
    c[NodeC] = c[NodeD] + c[NodeE];
    c[NodeB] = initiations - c[NodeC];
}

}  // namespace kestal
