// The straightforward batch, written draw by draw with the samplers: the baseline of the
// benchmark and the oracle of the production batch.
#pragma once

#include <cstdint>

#include "GERTnet/Network.h"

// Same contract as RunNetworkBatch: zeroes the counters, reseeds from the clock, runs n initiations.
void RunReferenceBatch(GertNetwork& net, int32_t n);
