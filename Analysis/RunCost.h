// What an initiation costs the batch kernel under given ratings, relative to other ratings: the
// factor by which a run-time estimate taken under the calibration's ratings is scaled.
#pragma once

#include "Analysis/ExactNodes.h"
#include "GERTnet/BatchKernels.h"

// The time of an initiation in units of one that ends at stage 1 with every branch predicted:
// 1 + stagePass · P(C) + misprediction · (expected mispredicted stage branches). A stage's branch
// goes the rarer way for min(P(ends there), P(passes)) of the initiations, and a mispredicted
// branch throws away the next initiations' work already under way; passing stage 1 adds the
// comparisons and table look-ups of stages 2 to 4. The expected draws per initiation alone miss
// both (they put the all-level-1 ratings at 2.0 times the initial ones; the kernels take 2.8).
struct InitiationCostModel {
    long double stagePass;
    long double misprediction;
};

// The model of each kernel, fitted to its times on an AMD EPYC guest with AVX-512: for 34 rating
// sets of level values (every factor at one level, random levels, low levels, the initial ratings
// with six factors lowered, H01 and H02 at level 1) the median of 9 batches of 300 000, each
// against the initial ratings timed just before and after. Every time ratio to the initial ratings
// is then within 9 % (AVX-512), 5 % (AVX2) and 4 % (scalar). Another processor may weigh a
// mispredicted branch differently: kestal-bench's EstimateAgainstActual shows how well it holds.
InitiationCostModel CostModelOf(BatchKernel kernel);

long double InitiationCost(const NodeProbabilities& p, const InitiationCostModel& model);

// InitiationCost(current) / InitiationCost(calibration) under the model of the kernel this
// processor runs: the cost factor of EstimateDays.
long double RunCostFactor(const NetworkInputs& current, const NetworkInputs& calibration);
