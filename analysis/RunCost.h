// What an initiation costs the batch kernel under given ratings, relative to other ratings: the
// factor by which a run-time estimate taken under the calibration's ratings is scaled.
#pragma once

#include "network/Network.h"

namespace kestal {

// The time of an initiation under `current` over that under `calibration`, each on the kernel the
// batch chooses for those ratings, by the batch kernels' own time model (GERTnet/KernelChoice.h):
// the expected draws alone miss the mispredicted stage branches, which dominate where a branching
// loop runs, and the branch-free loop's cost follows the share that passes stage 1. Ratios of the
// model carry over between machines better than its nanoseconds; kestal-bench's
// EstimateAgainstActual shows how well it holds.
long double RunCostFactor(const NetworkInputs& current, const NetworkInputs& calibration);

}  // namespace kestal
