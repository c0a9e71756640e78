// The assessment's inputs of a plan to a target: set with every rule checked first.
#include "assessment/Assessment.h"

#include <cmath>

#include "common/KestalError.h"

namespace kestal {

void Assessment::SetPlanInputs(PlanInputs inputs)
{
    if (inputs.target && !(*inputs.target >= 0.0L && *inputs.target <= 1.0L))
        throw KestalError("Цель плана должна быть вероятностью от 0 до 1");
    int before = -1;
    for (const PlanFactorInput& factor : inputs.factors) {
        if (factor.factor <= before || factor.factor >= FactorCount)
            throw KestalError("Факторы плана должны идти в порядке каталога, каждый один раз");
        before = factor.factor;
        const std::string id = FactorCatalogue[factor.factor].id;
        if (factor.costPerStep && !(*factor.costPerStep >= 0.0L && *factor.costPerStep <= MostPlanStepCost))
            throw KestalError("Затраты на шаг фактора " + id + " должны быть числом от 0 до 1E15");
        if (!(factor.low >= 1 && factor.low <= factor.high && factor.high <= LevelCount))
            throw KestalError("Допустимые уровни фактора " + id + " должны лежать в 1–11, нижний не выше верхнего");
    }
    plan = std::move(inputs);
}

}  // namespace kestal
