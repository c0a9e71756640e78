// The estimate's cost factor, from the batch kernels' time model.
#include "analysis/RunCost.h"

#include "network/KernelChoice.h"

namespace kestal {

namespace {

// Modelled nanoseconds per initiation under `inputs`, on the kernel the batch takes for them.
double ModelledInitiation(const NetworkInputs& inputs)
{
    const auto node = NodeOdds(MakeBatchBounds(inputs));
    return ModelledTime(node, KernelFor(node, FastestKernel()));
}

}  // namespace

long double RunCostFactor(const NetworkInputs& current, const NetworkInputs& calibration)
{
    const double base = ModelledInitiation(calibration);
    if (!(base > 0.0)) return 1.0L;  // no model to go by: the calibration as it is
    return static_cast<long double>(ModelledInitiation(current)) / base;
}

}  // namespace kestal
