// The network as written, draw by draw with the samplers: the readable model of the accident
// process, against which the fast kernels are checked and timed.
#pragma once

#include <cstdint>

#include "network/Network.h"

namespace kestal {

// Same contract as RunNetworkBatch: zeroes the counters, reseeds from the clock, runs n initiations.
void RunReferenceBatch(GertNetwork& net, int32_t n);

}  // namespace kestal
