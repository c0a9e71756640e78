// A batch allocates nothing: the program's operator new is counted around the batches.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "network/BatchKernels.h"
#include "Support.h"

using namespace kestal;

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(NetworkAllocation, BatchesAllocateNothing)
{
    const FixedClock clock(1000);
    GertNetwork net;
    net.clock = &clock;
    net.inputs = AllSlots(LevelValues[0]);  // every stage reached
    std::vector<BatchKernel> kernels;
    for (BatchKernel k : {BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        if (KernelSupported(k)) kernels.push_back(k);
    }
    RunNetworkBatch(net, 1);  // the first batch settles the kernel choice
    const long before = allocations.load();
    RunNetworkBatch(net, 5000);
    for (BatchKernel k : kernels) {
        RunNetworkBatchWith(k, net, 5000);
    }
    EXPECT_EQ(allocations.load(), before);
    EXPECT_EQ(net.counters.node[NodeB] + net.counters.node[NodeC], 5000);
}

}  // namespace
