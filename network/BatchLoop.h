// The loop of the batch kernels over the initiations, shared by every instruction set.
//
// Included by each kernel's source after its target options, so that the loop is compiled for
// that kernel's instructions. Everything here is a template over the kernel's own (file-local)
// comparison type, hence one private copy per kernel. The headers below hold plain inline
// functions that every kernel shares: a kernel source includes them before its target options,
// so that they keep the common instruction set.
#pragma once

#include "network/BatchKernels.h"
#include "network/StageTables.h"

namespace kestal {

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
        if (!Scores.stage1Passes.Passes(bits1)) {
            s = JumpState(s, DrawsThroughStage1);
            continue;
        }
        const int32_t s1 = Scores.stage1Sum[bits1 & 0xFFu] * Scores.stage1Factor[bits1 >> 8];
        const uint32_t bits23 = masks.Stage23(s);
        const int32_t s2 = s1 * Scores.stage2[bits23 & 0x3FFu];
        if (s2 <= Stage2Threshold) {
            ++stage2;
            s = JumpState(s, DrawsThroughStage2);
            continue;
        }
        const int32_t s3 = s2 * Scores.stage3[bits23 >> Lanes::Stage2LaneCount];
        if (s3 <= Stage3Threshold) {
            ++stage3;
            s = JumpState(s, DrawsThroughStage3);
            continue;
        }
        const int32_t s4 = s3 * Scores.stage4[masks.Stage4(s)];
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

// The same initiations without a branch on their outcomes, for ratings under which the stage
// outcomes are close to a coin toss and a predicted branch would often be wrong. Every stage's
// comparisons and score up to stage 3 are computed whether the initiation reaches it or not; the
// stage it ends at picks, by conditional moves, the next start among the jumps from this start
// (all computed meanwhile), so the chain from one initiation to the next is the comparisons, the
// table look-ups, two multiplies and the moves.
//
// S2 and S3 are S1 times M2 and M2·M3, formed while S1 is still being looked up. Stage 4 has no
// say in the next start: the initiations that reach it leave their start and S3 in a buffer, and
// their stage-4 outcomes are settled after each block of the loop, apart from the chain.
//
// With LookAhead, the stage-1 lanes of the initiation that would follow one ending at stage 1
// (Masks::NextStage1) are compared alongside: when both end at stage 1 the loop moves on by two
// initiations at the cost of one. That pays where the chain, not the number of instructions, sets
// the pace (the vector kernels).
template <bool LookAhead, class Masks>
[[gnu::always_inline]] inline StageEnds RunInitiationsBranchFree(const Masks& masks, int32_t n, uint32_t& state)
{
    constexpr int32_t Block = 1024;  // an initiation reaches stage 4 at most once per pass
    std::array<uint32_t, Block> reachedStart;
    std::array<int32_t, Block> reachedScore;
    uint32_t s = state;
    // Initiations that passed stage 1, 2, 3 and 4 (nodes C, E, G, I).
    int32_t passed1 = 0, passed2 = 0, passed3 = 0, accidents = 0;
    // With LookAhead a pass may do two initiations, so the loop stops one short and the last
    // initiation, if any, runs without.
    int32_t left = n;
    while (left > (LookAhead ? 1 : 0)) {
        int32_t reached = 0;
        for (int32_t pass = 0; pass < Block && left > (LookAhead ? 1 : 0); ++pass) {
            const uint32_t bits1 = masks.Stage1(s);
            const uint32_t bits23 = masks.Stage23(s);
            const int32_t m2 = Scores.stage2[bits23 & 0x3FFu];
            const int32_t m23 = m2 * Scores.stage3[bits23 >> Lanes::Stage2LaneCount];
            const int32_t s1 = Scores.stage1Sum[bits1 & 0xFFu] * Scores.stage1Factor[bits1 >> 8];
            const int32_t s3 = s1 * m23;
            const uint32_t pass1 = uint32_t(s1 > Stage1Threshold);
            const uint32_t reach3 = pass1 & uint32_t(s1 * m2 > Stage2Threshold);
            const uint32_t reach4 = reach3 & uint32_t(s3 > Stage3Threshold);
            passed1 += pass1;
            passed2 += reach3;
            reachedStart[reached] = s;
            reachedScore[reached] = s3;
            reached += reach4;
            // The conditional moves: an empty asm keeps the compiler from turning a select back
            // into a branch.
            uint32_t next = JumpState(s, DrawsThroughStage1);
            if constexpr (LookAhead) {
                // Two stage-1 ends unless this one or the next passes stage 1; the next one's
                // ending at stage 1 is counted, like every such ending, by what the others leave.
                const uint32_t nextPasses = Scores.stage1Passes.Passes(masks.NextStage1(s));
                const uint32_t one = next;
                next = TwoStage1Ends.multiplier * s + TwoStage1Ends.increment;
                asm("test %1, %1\n\tcmovnz %2, %0" : "+r"(next) : "r"(nextPasses), "r"(one) : "cc");
                left -= 2 - int32_t(pass1 | nextPasses);
            } else {
                --left;
            }
            const uint32_t next2 = JumpState(s, DrawsThroughStage2);
            const uint32_t next3 = JumpState(s, DrawsThroughStage3);
            const uint32_t next4 = JumpState(s, DrawsThroughStage4);
            asm("test %1, %1\n\tcmovnz %2, %0" : "+r"(next) : "r"(pass1), "r"(next2) : "cc");
            asm("test %1, %1\n\tcmovnz %2, %0" : "+r"(next) : "r"(reach3), "r"(next3) : "cc");
            asm("test %1, %1\n\tcmovnz %2, %0" : "+r"(next) : "r"(reach4), "r"(next4) : "cc");
            s = next;
        }
        passed3 += reached;
        for (int32_t j = 0; j < reached; ++j) {
            accidents += reachedScore[j] * Scores.stage4[masks.Stage4(reachedStart[j])] > Stage4Threshold;
        }
    }
    StageEnds result = {passed1 - passed2, passed2 - passed3, passed3 - accidents, accidents};
    if (LookAhead && left > 0) {
        const StageEnds last = RunInitiationsBranchFree<false>(masks, left, s);
        result = {result.stage2 + last.stage2, result.stage3 + last.stage3, result.stage4 + last.stage4,
                  result.accident + last.accident};
    }
    state = s;
    return result;
}

// Branching on stage 1 only: the initiations that end there run ahead on the predicted branch as
// in RunInitiations, the rest go through stages 2 to 4 without a branch as in
// RunInitiationsBranchFree. For ratings under which stage 1 is predictable and the later stages
// are not.
template <class Masks>
[[gnu::always_inline]] inline StageEnds RunInitiationsFirstBranch(const Masks& masks, int32_t n, uint32_t& state)
{
    uint32_t s = state;
    int32_t ends[5] = {0, 0, 0, 0, 0};
    for (int32_t left = n; left > 0; --left) {
        const uint32_t bits1 = masks.Stage1(s);
        if (!Scores.stage1Passes.Passes(bits1)) {
            s = JumpState(s, DrawsThroughStage1);
            continue;
        }
        const uint32_t bits23 = masks.Stage23(s);
        const uint32_t bits4 = masks.Stage4(s);
        const int32_t m2 = Scores.stage2[bits23 & 0x3FFu];
        const int32_t m23 = m2 * Scores.stage3[bits23 >> Lanes::Stage2LaneCount];
        const int32_t m234 = m23 * Scores.stage4[bits4];
        const int32_t s1 = Scores.stage1Sum[bits1 & 0xFFu] * Scores.stage1Factor[bits1 >> 8];
        const uint32_t reach3 = uint32_t(s1 * m2 > Stage2Threshold);
        const uint32_t reach4 = reach3 & uint32_t(s1 * m23 > Stage3Threshold);
        const uint32_t accident = reach4 & uint32_t(s1 * m234 > Stage4Threshold);
        ++ends[1 + reach3 + reach4 + accident];
        uint32_t next = JumpState(s, DrawsThroughStage2);
        const uint32_t next3 = JumpState(s, DrawsThroughStage3);
        const uint32_t next4 = JumpState(s, DrawsThroughStage4);
        asm("test %1, %1\n\tcmovnz %2, %0" : "+r"(next) : "r"(reach3), "r"(next3) : "cc");
        asm("test %1, %1\n\tcmovnz %2, %0" : "+r"(next) : "r"(reach4), "r"(next4) : "cc");
        s = next;
    }
    state = s;
    return {ends[1], ends[2], ends[3], ends[4]};
}

}  // namespace kestal
