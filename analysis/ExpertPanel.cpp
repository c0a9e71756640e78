// An expert panel: consensus and the band of the exact node probabilities.
#include "analysis/ExpertPanel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numeric>
#include <system_error>
#include <thread>

#include "analysis/ExactNodes.h"
#include "network/RandomSource.h"
#include "common/Formats.h"
#include "factors/Levels.h"

namespace kestal {

namespace {

// The band's exact probabilities are worked out on at most this many cores.
constexpr std::uint64_t MaxBandThreads = 4;

// The tolerance on sums of weights when a quantile's cumulative weight is compared with q.
constexpr long double QuantileTolerance = 1e-12L;

// One factor that varies in the band: its distinct levels (ascending) with their probabilities,
// and its ratings as indices into those levels (experts' order).
struct VaryingFactor {
    int slot;
    int catalogueIndex;
    std::vector<int> levels;
    std::vector<long double> weight;
    std::vector<uint8_t> ratingLevel;
};

// The rating sets and their exact node probabilities.
struct BandSets {
    std::vector<VaryingFactor> varying;
    std::vector<long double> weight;                        // per set
    std::array<std::vector<long double>, NodeCount> value;  // per node, per set
    std::vector<uint8_t> digit;                             // per set, per varying factor: its level index
};

NodeBand BandOf(const BandSets& sets, int node, long double total)
{
    const std::vector<long double>& value = sets.value[node];
    const std::size_t count = sets.weight.size();
    NodeBand band{};
    long double sum = 0;
    for (std::size_t s = 0; s < count; ++s) sum += sets.weight[s] * value[s];
    band.mean = sum / total;
    std::vector<std::pair<long double, long double>> sorted(count);  // value, weight
    for (std::size_t s = 0; s < count; ++s) sorted[s] = {value[s], sets.weight[s]};
    std::sort(sorted.begin(), sorted.end());
    band.min = sorted.front().first;
    band.max = sorted.back().first;
    const std::array<std::pair<long double, long double*>, 3> quantiles = {
        std::pair{0.05L, &band.p05}, std::pair{0.50L, &band.p50}, std::pair{0.95L, &band.p95}};
    for (const auto& [q, out] : quantiles) {
        long double cumulative = 0;
        *out = band.max;
        for (const auto& [v, w] : sorted) {
            cumulative += w;
            if (cumulative / total >= q - QuantileTolerance) {
                *out = v;
                break;
            }
        }
    }
    return band;
}

std::vector<FactorShare> SharesOf(const BandSets& sets, long double total, const NodeBand& accident)
{
    std::vector<FactorShare> shares;
    const std::size_t count = sets.weight.size();
    const std::size_t width = sets.varying.size();
    long double variance = 0;
    for (std::size_t s = 0; s < count; ++s) {
        const long double d = sets.value[NodeI][s] - accident.mean;
        variance += sets.weight[s] / total * (d * d);
    }
    for (std::size_t f = 0; f < width; ++f) {
        const VaryingFactor& factor = sets.varying[f];
        const std::size_t levels = factor.levels.size();
        std::vector<long double> levelWeight(levels, 0.0L), levelMean(levels, 0.0L);
        for (std::size_t s = 0; s < count; ++s) levelWeight[sets.digit[s * width + f]] += sets.weight[s];
        for (std::size_t s = 0; s < count; ++s) {
            const std::size_t l = sets.digit[s * width + f];
            levelMean[l] += sets.weight[s] / levelWeight[l] * sets.value[NodeI][s];
        }
        long double between = 0;
        for (std::size_t l = 0; l < levels; ++l) {
            if (levelWeight[l] == 0) continue;  // a level no sampled set drew
            const long double d = levelMean[l] - accident.mean;
            between += levelWeight[l] / total * (d * d);
        }
        const long double share = accident.min == accident.max || variance <= 0 ? 0.0L : between / variance;
        shares.push_back({&FactorCatalogue[factor.catalogueIndex], share});
    }
    std::stable_sort(shares.begin(), shares.end(),
                     [](const FactorShare& a, const FactorShare& b) { return a.share > b.share; });
    return shares;
}

}  // namespace

bool IsLevelNumber(int level) { return level >= 1 && level <= LevelCount; }

std::string FreeExpertName(const ExpertPanel& panel)
{
    for (int n = 1;; ++n) {
        const std::string name = "Эксперт " + std::to_string(n);
        if (std::none_of(panel.experts.begin(), panel.experts.end(),
                         [&](const PanelExpert& expert) { return expert.name == name; }))
            return name;
    }
}

std::vector<FactorOpinions> PanelOpinions(const ExpertPanel& panel)
{
    std::vector<FactorOpinions> opinions;
    for (const FactorInfo& factor : FactorCatalogue) {
        const int index = CatalogueIndex(factor);
        FactorOpinions row{&factor, {}, 0, 0, 0};
        for (const PanelExpert& expert : panel.experts)
            if (IsLevelNumber(expert.level[index])) row.levels.push_back(expert.level[index]);
        if (row.levels.empty()) continue;
        std::vector<int> sorted = row.levels;
        std::sort(sorted.begin(), sorted.end());
        row.lowest = sorted.front();
        row.highest = sorted.back();
        row.consensus = sorted[(sorted.size() - 1) / 2];
        opinions.push_back(std::move(row));
    }
    return opinions;
}

std::uint64_t PanelCombinations(const ExpertPanel& panel, std::uint64_t limit)
{
    std::uint64_t product = 1;
    for (const FactorOpinions& row : PanelOpinions(panel)) {
        std::vector<int> distinct = row.levels;
        std::sort(distinct.begin(), distinct.end());
        product *= static_cast<std::uint64_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
        if (product > limit) return limit + 1;
    }
    return product;
}

std::optional<PanelBand> ComputePanelBand(const ExpertPanel& panel, const NetworkInputs& ratings,
                                          std::optional<long double> target, const PanelProgress& progress,
                                          std::uint64_t enumerationLimit)
{
    BandSets sets;
    NetworkInputs inputs = ratings;
    for (const FactorOpinions& row : PanelOpinions(panel)) {
        VaryingFactor factor{row.factor->slot, CatalogueIndex(*row.factor), row.levels, {}, {}};
        std::sort(factor.levels.begin(), factor.levels.end());
        factor.levels.erase(std::unique(factor.levels.begin(), factor.levels.end()), factor.levels.end());
        for (const int level : factor.levels) {
            const auto count = std::count(row.levels.begin(), row.levels.end(), level);
            factor.weight.push_back(static_cast<long double>(count) / static_cast<long double>(row.levels.size()));
        }
        for (const int level : row.levels)
            factor.ratingLevel.push_back(static_cast<uint8_t>(
                std::find(factor.levels.begin(), factor.levels.end(), level) - factor.levels.begin()));
        if (factor.levels.size() == 1)
            inputs.slot[factor.slot] = LevelTable[factor.levels.front() - 1].value;
        else
            sets.varying.push_back(std::move(factor));
    }
    const std::size_t width = sets.varying.size();
    const std::uint64_t combinations = PanelCombinations(panel, enumerationLimit);
    const BandMethod method = combinations <= enumerationLimit ? BandMethod::Enumeration : BandMethod::Sampling;
    const std::uint64_t count = method == BandMethod::Enumeration ? combinations : SampledSets;
    sets.weight.resize(count);
    for (auto& node : sets.value) node.resize(count);
    sets.digit.assign(count * width, 0);

    // The rating sets first, in order (the generator's draws are sequential), ...
    RandomSource random;
    random.RandomSeed = PanelSamplingSeed;
    std::vector<uint8_t> digits(width, 0);  // the enumeration's odometer, first varying factor fastest
    for (std::uint64_t s = 0; s < count; ++s) {
        long double weight = 1;
        for (std::size_t f = 0; f < width; ++f) {
            const VaryingFactor& factor = sets.varying[f];
            if (method == BandMethod::Sampling) {
                const long double u = random.NextUniform();
                const auto pick = static_cast<std::size_t>(u * static_cast<long double>(factor.ratingLevel.size()));
                digits[f] = factor.ratingLevel[std::min(pick, factor.ratingLevel.size() - 1)];
            } else {
                weight *= factor.weight[digits[f]];
            }
            sets.digit[s * width + f] = digits[f];
        }
        sets.weight[s] = weight;
        if (method == BandMethod::Enumeration)
            for (std::size_t f = 0; f < width; ++f) {
                if (++digits[f] < sets.varying[f].levels.size()) break;
                digits[f] = 0;
            }
    }
    // ... then their exact probabilities, a contiguous share of the sets per core; the calling
    // thread takes the first share and alone reports progress.
    std::atomic<std::uint64_t> done{0};
    std::atomic<bool> stopped{false};
    const auto evaluate = [&](std::uint64_t begin, std::uint64_t end, bool reports) {
        NetworkInputs own = inputs;
        for (std::uint64_t s = begin; s < end && !stopped.load(std::memory_order_relaxed); ++s) {
            if (reports && (s - begin) % 256 == 0 && progress && !progress(done.load(), count)) stopped = true;
            for (std::size_t f = 0; f < width; ++f) {
                const VaryingFactor& factor = sets.varying[f];
                own.slot[factor.slot] = LevelTable[factor.levels[sets.digit[s * width + f]] - 1].value;
            }
            const NodeProbabilities p = ExactNodeProbabilities(own);
            for (int node = 0; node < NodeCount; ++node) sets.value[node][s] = p.node[node];
            done.fetch_add(1, std::memory_order_relaxed);
        }
    };
    const std::uint64_t cores = std::clamp<std::uint64_t>(std::thread::hardware_concurrency(), 1, MaxBandThreads);
    const std::uint64_t workers = std::min<std::uint64_t>(cores, count / 1024 + 1);
    std::vector<std::thread> helpers;
    std::uint64_t started = 1;  // the shares with a thread: share 0 is the calling thread's
    try {
        for (; started < workers; ++started)
            helpers.emplace_back(evaluate, count * started / workers, count * (started + 1) / workers, false);
    } catch (const std::system_error&) {
        // No more threads: the calling thread takes the shares no thread took.
    }
    try {
        evaluate(0, count / workers, true);
        evaluate(count * started / workers, count, true);
    } catch (...) {
        // A progress report that throws stops the work; the helpers end before it goes on.
        stopped = true;
        for (std::thread& helper : helpers) helper.join();
        throw;
    }
    for (std::thread& helper : helpers) helper.join();
    if (stopped || (progress && !progress(count, count))) return std::nullopt;

    long double total = 0;
    for (const long double w : sets.weight) total += w;
    PanelBand band;
    band.method = method;
    band.cases = count;
    for (int node = 0; node < NodeCount; ++node) band.node[node] = BandOf(sets, node, total);
    band.target = target;
    if (target) {
        long double above = 0;
        for (std::uint64_t s = 0; s < count; ++s)
            if (sets.value[NodeI][s] > *target) above += sets.weight[s];
        band.exceedance = above / total;
    }
    band.shares = SharesOf(sets, total, band.node[NodeI]);
    std::vector<std::pair<long double, long double>> accident(count);
    for (std::uint64_t s = 0; s < count; ++s) accident[s] = {sets.value[NodeI][s], sets.weight[s]};
    std::sort(accident.begin(), accident.end());
    for (const auto& [value, weight] : accident) {
        if (band.accident.empty() || band.accident.back().first != value) band.accident.push_back({value, 0.0L});
        band.accident.back().second += weight / total;
    }
    return band;
}

}  // namespace kestal
