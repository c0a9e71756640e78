// The level plan's search: the movable factors, the greedy first plan and the rounds of branch and
// bound.
#include "analysis/LevelSearch.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "analysis/ExactNodes.h"
#include "analysis/FactorImportance.h"

namespace kestal {

namespace {

constexpr long double Infinity = std::numeric_limits<long double>::infinity();
// Costs are sums taken in different orders by the search and by the plan; a budget is widened by
// this share of the incumbent's cost so that rounding never prunes a plan of equal cost.
constexpr long double CostSlack = 1e-15L;
constexpr long double ThresholdGrowth = 1.1L;
// The points remembered at most (some 45 MB); then the memory starts afresh.
constexpr std::size_t KnownPointsAtMost = 500'000;
// The split bound is tried on nodes with at least this many free movables.
constexpr std::size_t SplitFrom = 4;

}  // namespace

LevelSearch::LevelSearch(const NetworkInputs& baseline, std::vector<Movable> movables, long double goal,
                         const LevelPlanControl& control)
    : inputs_(baseline),
      movables_(std::move(movables)),
      goal_(goal),
      control_(control),
      choice_(movables_.size(), 0),
      best_(movables_.size(), 0)
{
    cheapestStep_.assign(movables_.size() + 1, Infinity);
    for (std::size_t i = movables_.size(); i-- > 0;)
        cheapestStep_[i] = std::min(cheapestStep_[i + 1], movables_[i].costs[1]);
    for (const Movable& m : movables_)
        for (long double c : m.costs) {
            breakpoints_.push_back(c);
            wholeCosts_ = wholeCosts_ && c == std::floor(c) && c < 0x1p62L;
        }
    std::sort(breakpoints_.begin(), breakpoints_.end());
    breakpoints_.erase(std::unique(breakpoints_.begin(), breakpoints_.end()), breakpoints_.end());
}

// The accident probability with the movables at `choice`.
long double LevelSearch::Evaluate(const std::vector<int>& choice)
{
    // Rounds and bounds come back to the same points: each is computed once.
    PointKey key{};
    for (std::size_t i = 0; i < choice.size(); ++i) key[i / 16] |= uint64_t(choice[i]) << (i % 16 * 4);
    if (const auto known = known_.find(key); known != known_.end()) return known->second;
    NetworkInputs in = inputs_;
    for (std::size_t i = 0; i < movables_.size(); ++i)
        in.slot[movables_[i].factor->slot] = LevelTable[movables_[i].levels[choice[i]] - 1].value;
    if (++evaluations_ % 256 == 0 && control_.report) control_.report(evaluations_, control_.evaluationLimit);
    const long double p = ExactNodeProbabilities(in).node[NodeI];
    if (known_.size() >= KnownPointsAtMost) known_.clear();
    known_.emplace(key, p);
    return p;
}

// The first plan: the step with the largest reduction per cost until the goal is met, then
// each factor moved back while the goal stays met.
void LevelSearch::Greedy(long double current)
{
    std::vector<int> choice(movables_.size(), 0);
    long double p = current;
    while (p > goal_) {
        int pick = -1;
        long double pickRatio = -Infinity, pickP = p;
        for (std::size_t i = 0; i < movables_.size(); ++i) {
            if (choice[i] + 1 >= static_cast<int>(movables_[i].levels.size())) continue;
            ++choice[i];
            const long double q = Evaluate(choice);
            --choice[i];
            const long double extra = movables_[i].costs[choice[i] + 1] - movables_[i].costs[choice[i]];
            const long double ratio = extra > 0.0L ? (p - q) / extra : Infinity;
            if (ratio > pickRatio) pick = static_cast<int>(i), pickRatio = ratio, pickP = q;
        }
        if (pick < 0) return;  // every factor at its end and the goal not met: not for this goal
        ++choice[pick];
        p = pickP;
    }
    for (std::size_t i = movables_.size(); i-- > 0;) {
        while (choice[i] > 0) {
            --choice[i];
            const long double q = Evaluate(choice);
            if (q > goal_) {
                ++choice[i];
                break;
            }
            p = q;
        }
    }
    Offer(choice, p);
}

// Rounds of depth-first search over the plans that cost at most a threshold. The first
// threshold is the root's bound; a round that finds no plan within it proves that none costs
// less than the least cost a pruned node could still reach, and the next round goes at least
// that far and a tenth further (so that many distinct costs do not make many rounds). A round
// that finds a plan within its threshold has seen every plan that costs no more: it proves it.
void LevelSearch::Run(long double current)
{
    bound_ = threshold_ = CheapestFrom(0, 0.0L);
    Greedy(current);
    while (true) {
        next_ = Infinity;
        Node(0, 0.0L, current, 0);
        if (stopped_) return;
        if ((found_ && bestCost_ <= Limit()) || next_ == Infinity) {
            proven_ = found_;
            return;
        }
        bound_ = std::min(next_, bestCost_);
        threshold_ = std::min(std::max(next_, threshold_ * ThresholdGrowth), bestCost_);
    }
}

// One node: the movables before `depth` set as `choice_` says, `p0` the probability with the
// others at their current levels.
void LevelSearch::Node(std::size_t depth, long double spent, long double p0, int changed)
{
    if (p0 <= goal_) {
        // Any further move costs no less and changes one factor more.
        Offer(choice_, p0);
        return;
    }
    if (depth == movables_.size()) return;
    if (evaluations_ >= control_.evaluationLimit) {
        stopped_ = true;
        return;
    }
    // Every completion moves one factor more and costs at least its cheapest step.
    const long double least = spent + cheapestStep_[depth];
    if (least > Limit()) return Pruned(least);
    // No plan costs less than the proven bound: a completion that can
    // only tie on cost must change no more factors, and when as many, be lower in probability.
    const bool tieAtBest = found_ && std::max(least, bound_) >= bestCost_;
    if (tieAtBest && changed + 1 > ChangedCount(best_)) return;
    const long double money = Limit() - spent;
    const long double lowest = Box(depth, money);
    if (lowest > goal_) {
        // The box changes only where some move's cost is passed.
        const auto passed = std::upper_bound(breakpoints_.begin(), breakpoints_.end(), money);
        return Pruned(passed == breakpoints_.end() ? Infinity : spent + *passed);
    }
    if (tieAtBest && changed + 1 == ChangedCount(best_) && lowest > bestAccident_) return;
    if (wholeCosts_ && movables_.size() - depth >= SplitFrom && SplitBox(depth, std::floor(money)) > goal_)
        return Pruned(spent + std::floor(money) + 1);
    const Movable& m = movables_[depth];
    for (std::size_t k = 0; k < m.levels.size() && !stopped_; ++k) {
        const long double next = spent + m.costs[k];
        if (next > Limit()) {
            Pruned(next);
            break;
        }
        choice_[depth] = static_cast<int>(k);
        Node(depth + 1, next, k == 0 ? p0 : Evaluate(choice_), changed + (k > 0));
    }
    choice_[depth] = 0;
}

// Proven: no plan reaching the goal costs less than this from the movables `from` on, given
// what is spent; Infinity when none reaches it.
long double LevelSearch::CheapestFrom(std::size_t from, long double spent)
{
    // The box is monotone in the money: the first breakpoint whose box meets the goal.
    std::size_t low = 0, high = breakpoints_.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (Box(from, breakpoints_[middle]) <= goal_)
            high = middle;
        else
            low = middle + 1;
    }
    return low < breakpoints_.size() ? spent + breakpoints_[low] : Infinity;
}

// The plan's cost as it is reported: summed in catalogue order.
long double LevelSearch::CostOf(const std::vector<int>& choice) const
{
    std::vector<std::pair<int, long double>> parts;
    for (std::size_t i = 0; i < movables_.size(); ++i)
        parts.emplace_back(movables_[i].factor->slot, movables_[i].costs[choice[i]]);
    std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) {
        return CatalogueIndex(FactorBySlot(a.first)) < CatalogueIndex(FactorBySlot(b.first));
    });
    long double sum = 0.0L;
    for (const auto& part : parts) sum += part.second;
    return sum;
}

// The most a plan may cost in this round without losing to the incumbent.
long double LevelSearch::Limit() const
{
    const long double most = std::min(threshold_, bestCost_);
    return most + most * CostSlack;
}

// A tighter bound when every cost is a whole number: the free movables in two halves (every
// other one), the
// money split between them every whole way; a completion within `money` lies beyond none of
// these points in its own split, so the lowest of them bounds it.
long double LevelSearch::SplitBox(std::size_t from, long double money)
{
    long double lowest = Infinity;
    std::vector<int> box = choice_;
    for (long double first = 0.0L; first <= money && lowest > goal_; first += 1.0L) {
        for (std::size_t i = from; i < movables_.size(); ++i) {
            const auto& costs = movables_[i].costs;
            const long double share = (i - from) % 2 == 0 ? first : money - first;
            box[i] =
                std::max(0, static_cast<int>(std::upper_bound(costs.begin(), costs.end(), share) - costs.begin()) - 1);
        }
        lowest = std::min(lowest, Evaluate(box));
    }
    return lowest;
}

// The lowest probability a completion can reach with `money` more: each movable from `from` on
// as far as `money` takes it alone (monotonicity makes it a bound).
long double LevelSearch::Box(std::size_t from, long double money)
{
    std::vector<int> box = choice_;
    for (std::size_t i = from; i < movables_.size(); ++i) {
        const auto& costs = movables_[i].costs;
        box[i] = std::max(0, static_cast<int>(std::upper_bound(costs.begin(), costs.end(), money) - costs.begin()) - 1);
    }
    return Evaluate(box);
}

// The changed factors and, in catalogue order, the steps of a plan.
int LevelSearch::ChangedCount(const std::vector<int>& choice) const
{
    return static_cast<int>(std::count_if(choice.begin(), choice.end(), [](int k) { return k > 0; }));
}

bool LevelSearch::StepsBefore(const std::vector<int>& a, const std::vector<int>& b) const
{
    int first = FactorCount;
    bool before = false;
    for (std::size_t i = 0; i < movables_.size(); ++i) {
        const int position = CatalogueIndex(*movables_[i].factor);
        if (a[i] != b[i] && position < first) first = position, before = a[i] < b[i];
    }
    return before;
}

void LevelSearch::Offer(const std::vector<int>& choice, long double accident)
{
    const long double cost = CostOf(choice);
    if (found_) {
        if (cost != bestCost_) {
            if (cost > bestCost_) return;
        } else if (const int a = ChangedCount(choice), b = ChangedCount(best_); a != b) {
            if (a > b) return;
        } else if (accident != bestAccident_) {
            if (accident > bestAccident_) return;
        } else if (!StepsBefore(choice, best_)) {
            return;
        }
    }
    found_ = true;
    best_ = choice;
    bestCost_ = cost;
    bestAccident_ = accident;
}

}  // namespace kestal
