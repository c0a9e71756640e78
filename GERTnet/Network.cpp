// The accident-process network: node texts and the production batch of N initiations.
#include "GERTnet/Network.h"

const std::array<const char*, NodeCount> NodeLetters = {"B", "C", "D", "E", "F", "G", "H", "I"};
const std::array<const char*, NodeCount> NodeDisplayTexts = {
    "Гомеостазис", "Нарушение ==", "Адаптация D", "Оп. ситуация",
    "Адаптация F", "Кр. ситуация", "Адаптация H", "Происшествие",
};

static_assert(InputSlot::T06 + 1 == FactorCount);

namespace {

// The random state of one batch, kept in a local word while the initiations run.
struct Draws {
    uint32_t state;

    [[gnu::always_inline]] float Next()
    {
        state = NextState(state);
        return UniformSingle(state);
    }
    // The samplers with their thresholds already worked out; same comparisons, same tie rule.
    [[gnu::always_inline]] int32_t Two(float p, int32_t a, int32_t b) { return Next() < p ? a : b; }
    [[gnu::always_inline]] int32_t Three(const Thresholds3& t)
    {
        const float u = Next();
        return u < t.t1 ? 0 : u < t.t2 ? 1 : 2;
    }
    [[gnu::always_inline]] int32_t Four(const Thresholds4& t)
    {
        const float u = Next();
        return u < t.t1 ? 0 : u < t.t2 ? 1 : u < t.t3 ? 2 : 3;
    }
};

}  // namespace

void RunNetworkBatch(GertNetwork& net, int32_t n)
{
    using namespace InputSlot;
    net.counters = {};
    net.random.ReseedFromClock(*net.clock);

    // Everything that depends only on the inputs, once per batch.
    const std::array<float, FactorCount> p = net.inputs.slot;
    const Thresholds4 h03 = BranchThresholds4(p[H03]);
    const Thresholds3 h09 = BranchThresholds3(p[H09]);
    const Thresholds3 h14 = BranchThresholds3(p[H14]);

    Draws r{net.random.RandomSeed};
    std::array<int32_t, NodeCount> count{};
    for (int32_t i = 0; i < n; ++i) {
        // Stage 1.
        int32_t sum = r.Two(p[C01], 0, 1);
        sum += r.Two(p[C02], 0, 2);
        sum += r.Two(p[H01], 0, 1);
        sum += r.Two(p[H02], 0, 2);
        sum += r.Two(p[M01], 0, 2);
        sum += r.Two(p[M02], 0, 1);
        sum += r.Two(p[T01], 0, 1);
        sum += r.Two(p[T02], 0, 2);
        const int32_t x9 = r.Two(p[T03], 1, 0);
        const int32_t x10 = r.Four(h03);
        const int32_t x11 = r.Two(p[H06], 0, 1);
        const int32_t x12 = r.Two(p[C04], 1, 0);
        const int32_t x13 = r.Two(p[H04], 0, 1);
        const int32_t x14 = r.Two(p[M04], 0, 1);
        const int32_t s1 = sum * (x9 * x11 + x13 + x10 + x12 + x14);
        if (s1 <= Stage1Threshold) {
            ++count[NodeB];
            continue;
        }
        ++count[NodeC];

        // Stage 2.
        const int32_t x15 = r.Two(p[H08], 0, 1);
        const int32_t x16 = r.Three(h14);
        const int32_t x17 = r.Two(p[H07], 0, 1);
        const int32_t x18 = r.Two(p[H13], 0, 1);
        const int32_t x19 = r.Two(p[H05], 0, 1);
        const int32_t x20 = r.Two(p[C03], 2, 0);
        const int32_t x21 = r.Three(h09);
        const int32_t x22 = r.Two(p[M05], 0, 2);
        const int32_t s2 = s1 * ((x15 + x17 + x19) * x21 + x16 * x18 + x20 + x22);
        if (s2 <= Stage2Threshold) {
            ++count[NodeD];
            continue;
        }
        ++count[NodeE];

        // Stage 3.
        const int32_t x23 = r.Two(p[T05], 1, 0);
        const int32_t x24 = r.Three(h14);
        const int32_t x25 = r.Two(p[T04], 1, 0);
        const int32_t x26 = r.Two(p[H12], 1, 2);
        const int32_t x27 = r.Two(p[M03], 2, 0);
        const int32_t s3 = s2 * ((x23 + x25) * x27 + x24 * x26);
        if (s3 <= Stage3Threshold) {
            ++count[NodeF];
            continue;
        }
        ++count[NodeG];

        // Stage 4.
        const int32_t x28 = r.Two(p[M07], 1, 0);
        const int32_t x29 = r.Two(p[T06], 0, 1);
        const int32_t x30 = r.Two(p[M06], 1, 0);
        const int32_t x31 = r.Two(p[M08], 0, 1);
        const int32_t s4 = s3 * (x28 * x30 + x29 + x31);
        ++count[s4 <= Stage4Threshold ? NodeH : NodeI];
    }
    net.random.RandomSeed = r.state;
    net.counters.node = count;
}
