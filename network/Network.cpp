// The accident-process network: node texts, the production batch of N initiations and taking over a
// copy's state.
#include "network/Network.h"

#include "network/KernelChoice.h"

namespace kestal {

const std::array<const char*, NodeCount> NodeLetters = {"B", "C", "D", "E", "F", "G", "H", "I"};
const std::array<const char*, NodeCount> NodeDisplayTexts = {
    "Гомеостазис", "Нарушение ==", "Адаптация D", "Оп. ситуация",
    "Адаптация F", "Кр. ситуация", "Адаптация H", "Происшествие",
};

static_assert(InputSlot::T06 + 1 == FactorCount);

void RunNetworkBatch(GertNetwork& net, int32_t n) { RunNetworkBatchWith(ChooseKernel(net.inputs), net, n); }

void TakeNetworkState(GertNetwork& net, const GertNetwork& work)
{
    const Clock* own = net.clock;
    net = work;
    net.clock = own;
}

}  // namespace kestal
