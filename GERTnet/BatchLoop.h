// The loop of the batch kernels over the initiations, shared by every instruction set.
//
// Included by each kernel's source after its target options, so that the loop is compiled for
// that kernel's instructions. Everything here is a template over the kernel's own (file-local)
// comparison type, hence one private copy per kernel. The headers below hold plain inline
// functions that every kernel shares: a kernel source includes them before its target options,
// so that they keep the common instruction set.
#pragma once

#include "GERTnet/BatchKernels.h"
#include "GERTnet/StageTables.h"

// Masks must provide, for the initiation that starts at state s:
//   Stage1(s):  the 16 comparison bits of Lanes::Stage1,
//   Stage23(s): the 16 comparison bits of Lanes::Stage23,
//   Stage4(s):  the 4 comparison bits of Lanes::Stage4.
//
// The only chain from one initiation to the next is its start state: one multiply and one add
// (JumpState) once the stage it ends at is known. Stage 1 ends most initiations, so the processor
// predicts that branch and starts on the next initiation while this one's comparisons are still
// in flight; the comparisons themselves never wait for one another. Whether stage 1 ends the
// initiation is one bit of Stage1Passes; the score itself is needed only when it does not.
template <class Masks>
[[gnu::always_inline]] inline StageEnds RunInitiations(const Masks& masks, int32_t n, uint32_t& state)
{
    uint32_t s = state;
    int32_t stage2 = 0, stage3 = 0, stage4 = 0, accident = 0;
    for (int32_t left = n; left > 0; --left) {
        const uint32_t bits1 = masks.Stage1(s);
        if (!Stage1Passes.Passes(bits1)) {
            s = JumpState(s, DrawsThroughStage1);
            continue;
        }
        const int32_t s1 = Stage1SumTable[bits1 & 0xFFu] * Stage1FactorTable[bits1 >> 8];
        const uint32_t bits23 = masks.Stage23(s);
        const int32_t s2 = s1 * Stage2Table[bits23 & 0x3FFu];
        if (s2 <= Stage2Threshold) {
            ++stage2;
            s = JumpState(s, DrawsThroughStage2);
            continue;
        }
        const int32_t s3 = s2 * Stage3Table[bits23 >> Lanes::Stage2LaneCount];
        if (s3 <= Stage3Threshold) {
            ++stage3;
            s = JumpState(s, DrawsThroughStage3);
            continue;
        }
        const int32_t s4 = s3 * Stage4Table[masks.Stage4(s)];
        if (s4 <= Stage4Threshold) {
            ++stage4;
        } else {
            ++accident;
        }
        s = JumpState(s, DrawsThroughStage4);
    }
    state = s;
    return {stage2, stage3, stage4, accident};
}
