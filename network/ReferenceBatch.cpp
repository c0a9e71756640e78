// The reference batch: every draw a sampler call that works out its thresholds afresh.
#include "network/ReferenceBatch.h"

namespace kestal {

namespace {

// Runs one initiation and counts the nodes it reaches.
void RunInitiation(GertNetwork& net, OutcomeCounters& counters)
{
    using namespace InputSlot;
    RandomSource& r = net.random;
    const auto& p = net.inputs.slot;

    const int32_t x1 = SampleBranch2(r, 0, 1, p[C01]);
    const int32_t x2 = SampleBranch2(r, 0, 2, p[C02]);
    const int32_t x3 = SampleBranch2(r, 0, 1, p[H01]);
    const int32_t x4 = SampleBranch2(r, 0, 2, p[H02]);
    const int32_t x5 = SampleBranch2(r, 0, 2, p[M01]);
    const int32_t x6 = SampleBranch2(r, 0, 1, p[M02]);
    const int32_t x7 = SampleBranch2(r, 0, 1, p[T01]);
    const int32_t x8 = SampleBranch2(r, 0, 2, p[T02]);
    const int32_t x9 = SampleBranch2(r, 1, 0, p[T03]);
    const int32_t x10 = SampleBranch4(r, 0, 1, 2, 3, p[H03]);
    const int32_t x11 = SampleBranch2(r, 0, 1, p[H06]);
    const int32_t x12 = SampleBranch2(r, 1, 0, p[C04]);
    const int32_t x13 = SampleBranch2(r, 0, 1, p[H04]);
    const int32_t x14 = SampleBranch2(r, 0, 1, p[M04]);
    const int32_t s1 = (x1 + x2 + x3 + x4 + x5 + x6 + x7 + x8) * (x9 * x11 + x13 + x10 + x12 + x14);
    if (s1 <= Stage1Threshold) {
        ++counters.node[NodeB];
        return;
    }
    ++counters.node[NodeC];

    const int32_t x15 = SampleBranch2(r, 0, 1, p[H08]);
    const int32_t x16 = SampleBranch3(r, 0, 1, 2, p[H14]);
    const int32_t x17 = SampleBranch2(r, 0, 1, p[H07]);
    const int32_t x18 = SampleBranch2(r, 0, 1, p[H13]);
    const int32_t x19 = SampleBranch2(r, 0, 1, p[H05]);
    const int32_t x20 = SampleBranch2(r, 2, 0, p[C03]);
    const int32_t x21 = SampleBranch3(r, 0, 1, 2, p[H09]);
    const int32_t x22 = SampleBranch2(r, 0, 2, p[M05]);
    const int32_t s2 = s1 * ((x15 + x17 + x19) * x21 + x16 * x18 + x20 + x22);
    if (s2 <= Stage2Threshold) {
        ++counters.node[NodeD];
        return;
    }
    ++counters.node[NodeE];

    const int32_t x23 = SampleBranch2(r, 1, 0, p[T05]);
    const int32_t x24 = SampleBranch3(r, 0, 1, 2, p[H14]);
    const int32_t x25 = SampleBranch2(r, 1, 0, p[T04]);
    const int32_t x26 = SampleBranch2(r, 1, 2, p[H12]);
    const int32_t x27 = SampleBranch2(r, 2, 0, p[M03]);
    const int32_t s3 = s2 * ((x23 + x25) * x27 + x24 * x26);
    if (s3 <= Stage3Threshold) {
        ++counters.node[NodeF];
        return;
    }
    ++counters.node[NodeG];

    const int32_t x28 = SampleBranch2(r, 1, 0, p[M07]);
    const int32_t x29 = SampleBranch2(r, 0, 1, p[T06]);
    const int32_t x30 = SampleBranch2(r, 1, 0, p[M06]);
    const int32_t x31 = SampleBranch2(r, 0, 1, p[M08]);
    const int32_t s4 = s3 * (x28 * x30 + x29 + x31);
    if (s4 <= Stage4Threshold) {
        ++counters.node[NodeH];
    } else {
        ++counters.node[NodeI];
    }
}

}  // namespace

void RunReferenceBatch(GertNetwork& net, int32_t n)
{
    net.counters = {};
    net.random.ReseedFromClock(*net.clock);
    for (int32_t i = 0; i < n; ++i) {
        RunInitiation(net, net.counters);
    }
}

}  // namespace kestal
