// The cost of an initiation from the exact node probabilities, and the estimate's cost factor.
#include "Analysis/RunCost.h"

#include <algorithm>

InitiationCostModel CostModelOf(BatchKernel kernel)
{
    switch (kernel) {
    case BatchKernel::Avx512: return {1.9L, 13.4L};
    case BatchKernel::Avx2: return {1.9L, 12.0L};
    case BatchKernel::Scalar: break;
    }
    return {1.65L, 1.7L};
}

long double InitiationCost(const NodeProbabilities& p, const InitiationCostModel& model)
{
    const auto& n = p.node;
    const long double mispredicted = std::min(n[NodeB], n[NodeC]) + std::min(n[NodeD], n[NodeE]) +
                                     std::min(n[NodeF], n[NodeG]) + std::min(n[NodeH], n[NodeI]);
    return 1 + model.stagePass * n[NodeC] + model.misprediction * mispredicted;
}

long double RunCostFactor(const NetworkInputs& current, const NetworkInputs& calibration)
{
    const InitiationCostModel model = CostModelOf(FastestKernel());
    return InitiationCost(ExactNodeProbabilities(current), model) /
           InitiationCost(ExactNodeProbabilities(calibration), model);
}
