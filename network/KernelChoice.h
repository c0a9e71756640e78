// Which batch kernel runs a batch: chosen from the exact probabilities of the stage outcomes under
// the batch's ratings.
#pragma once

#include <array>

#include "network/BatchKernels.h"

namespace kestal {

// The probability of each node, B to I, from the state counts of every draw's outcomes: the same
// model as the exact analysis (Analysis/ExactNodes.h, which works above this layer, in extended
// precision, for the user), here in double, which is ample for choosing a kernel.
std::array<double, NodeCount> NodeOdds(const BatchBounds& bounds);

// The stage branches an initiation takes the less likely way, expected per initiation: at each
// stage reached, the smaller of "ends here" and "passes". A branching loop pays for these; a
// branch-free loop does not.
double ExpectedSurprises(const std::array<double, NodeCount>& node);

// The time model of a kernel, fitted to its measured times: nanoseconds per initiation on the
// machine of the fit, for these node probabilities. Ratios of it between ratings carry over to
// other machines better than the figures themselves.
double ModelledTime(const std::array<double, NodeCount>& node, KernelChoice kernel);

// The rule: the loop whose measured time model is the least for these node probabilities on the
// widest instruction set (the branching loop where surprises are few, the branch-free one where
// they are many, the first-branch one where only the later stages surprise).
KernelChoice KernelFor(const std::array<double, NodeCount>& node, BatchKernel widest);

// The kernel RunNetworkBatch runs for these ratings on this processor. The last ratings' choice
// is kept per thread, so a series of batches works it out once.
KernelChoice ChooseKernel(const NetworkInputs& inputs);

}  // namespace kestal
