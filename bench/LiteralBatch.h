// The plain literal batch: the model's arithmetic written out draw by draw, the yardstick of the
// production batch's speed. Written to be read, not to be fast.
#pragma once

#include <cstdint>

#include "network/Network.h"

using namespace kestal;

class LiteralBatch {
public:
    // The three- and four-way thresholds depend only on the ratings: worked out once.
    explicit LiteralBatch(const NetworkInputs& inputs)
        : p(inputs.slot),
          h03(BranchThresholds4(p[InputSlot::H03])),
          h09(BranchThresholds3(p[InputSlot::H09])),
          h14(BranchThresholds3(p[InputSlot::H14]))
    {}

    // n initiations from `state`, which is left after the last draw; node counts B to I.
    OutcomeCounters Run(uint32_t& state, int32_t n)
    {
        s = state;
        OutcomeCounters c;
        for (int32_t i = 0; i < n; ++i) {
            RunInitiation(c.node);
        }
        state = s;
        return c;
    }

private:
    const std::array<float, FactorCount>& p;
    const Thresholds4 h03;
    const Thresholds3 h09, h14;
    uint32_t s = 0;

    // The generator's next state as a fraction, exact in extended precision, rounded to single.
    float Draw()
    {
        s = s * 134775813u + 1u;
        return static_cast<float>(static_cast<long double>(s) * 0x1p-32L);
    }
    int Two(int a, int b, float t) { return Draw() < t ? a : b; }
    int Three(const Thresholds3& t)
    {
        const float u = Draw();
        return u < t.t1 ? 0 : u < t.t2 ? 1 : 2;
    }
    int Four(const Thresholds4& t)
    {
        const float u = Draw();
        return u < t.t1 ? 0 : u < t.t2 ? 1 : u < t.t3 ? 2 : 3;
    }

    void RunInitiation(std::array<int32_t, NodeCount>& node)
    {
        using namespace InputSlot;
        const int x1 = Two(0, 1, p[C01]), x2 = Two(0, 2, p[C02]), x3 = Two(0, 1, p[H01]), x4 = Two(0, 2, p[H02]);
        const int x5 = Two(0, 2, p[M01]), x6 = Two(0, 1, p[M02]), x7 = Two(0, 1, p[T01]), x8 = Two(0, 2, p[T02]);
        const int x9 = Two(1, 0, p[T03]), x10 = Four(h03), x11 = Two(0, 1, p[H06]), x12 = Two(1, 0, p[C04]);
        const int x13 = Two(0, 1, p[H04]), x14 = Two(0, 1, p[M04]);
        const int s1 = (x1 + x2 + x3 + x4 + x5 + x6 + x7 + x8) * (x9 * x11 + x13 + x10 + x12 + x14);
        if (s1 <= Stage1Threshold) {
            ++node[NodeB];
            return;
        }
        ++node[NodeC];
        const int x15 = Two(0, 1, p[H08]), x16 = Three(h14), x17 = Two(0, 1, p[H07]), x18 = Two(0, 1, p[H13]);
        const int x19 = Two(0, 1, p[H05]), x20 = Two(2, 0, p[C03]), x21 = Three(h09), x22 = Two(0, 2, p[M05]);
        const int s2 = s1 * ((x15 + x17 + x19) * x21 + x16 * x18 + x20 + x22);
        if (s2 <= Stage2Threshold) {
            ++node[NodeD];
            return;
        }
        ++node[NodeE];
        const int x23 = Two(1, 0, p[T05]), x24 = Three(h14), x25 = Two(1, 0, p[T04]), x26 = Two(1, 2, p[H12]);
        const int x27 = Two(2, 0, p[M03]);
        const int s3 = s2 * ((x23 + x25) * x27 + x24 * x26);
        if (s3 <= Stage3Threshold) {
            ++node[NodeF];
            return;
        }
        ++node[NodeG];
        const int x28 = Two(1, 0, p[M07]), x29 = Two(0, 1, p[T06]), x30 = Two(1, 0, p[M06]), x31 = Two(0, 1, p[M08]);
        const int s4 = s3 * (x28 * x30 + x29 + x31);
        ++node[s4 <= Stage4Threshold ? NodeH : NodeI];
    }
};
