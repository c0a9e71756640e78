// An expert panel: concordance, consensus and the band of the exact node probabilities.
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

namespace {

// The band's exact probabilities are worked out on at most this many cores.
constexpr std::uint64_t MaxBandThreads = 4;

// The tolerance on sums of weights when a quantile's cumulative weight is compared with q.
constexpr long double QuantileTolerance = 1e-12L;

// The mid-ranks (1 … n) of `values`, ties taking the mean of their ranks; adds Σ (t³ − t) over the
// tie groups to `ties`.
std::vector<long double> MidRanks(const std::vector<int>& values, long double& ties) {
    const std::size_t n = values.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<long double> rank(n);
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first;
        while (last + 1 < n && values[order[last + 1]] == values[order[first]]) ++last;
        const long double mid = (static_cast<long double>(first + 1) + static_cast<long double>(last + 1)) / 2;
        for (std::size_t k = first; k <= last; ++k) rank[order[k]] = mid;
        const long double t = static_cast<long double>(last - first + 1);
        ties += t * t * t - t;
        first = last + 1;
    }
    return rank;
}

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

NodeBand BandOf(const BandSets& sets, int node, long double total) {
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

std::vector<FactorShare> SharesOf(const BandSets& sets, long double total, const NodeBand& accident) {
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

std::vector<FactorOpinions> PanelOpinions(const ExpertPanel& panel) {
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

Concordance PanelConcordance(const ExpertPanel& panel) {
    Concordance result;
    const std::size_t m = panel.experts.size();
    result.experts = static_cast<int>(m);
    std::vector<int> common;
    for (int index = 0; index < FactorCount; ++index) {
        const bool everyone = std::all_of(panel.experts.begin(), panel.experts.end(),
                                          [index](const PanelExpert& e) { return IsLevelNumber(e.level[index]); });
        if (everyone && m > 0) common.push_back(index);
    }
    const std::size_t n = common.size();
    result.factors = static_cast<int>(n);
    if (m < 2) {
        result.reason = "нужно не меньше двух экспертов";
        return result;
    }
    if (n < 2) {
        result.reason = "все эксперты оценили меньше двух общих факторов";
        return result;
    }
    std::vector<long double> rankSum(n, 0.0L);
    long double ties = 0;
    for (const PanelExpert& expert : panel.experts) {
        std::vector<int> values;
        for (const int index : common) values.push_back(expert.level[index]);
        const std::vector<long double> rank = MidRanks(values, ties);
        for (std::size_t i = 0; i < n; ++i) rankSum[i] += rank[i];
    }
    const long double mm = static_cast<long double>(m);
    const long double nn = static_cast<long double>(n);
    const long double expected = mm * (nn + 1) / 2;
    long double s = 0;
    for (const long double r : rankSum) s += (r - expected) * (r - expected);
    const long double denominator = mm * mm * (nn * nn * nn - nn) - mm * ties;
    if (denominator == 0) {
        result.reason = "каждый эксперт дал всем общим факторам один уровень";
        return result;
    }
    result.formed = true;
    result.w = 12 * s / denominator;
    result.df = static_cast<int>(n) - 1;
    result.chi2 = mm * (nn - 1) * result.w;
    result.pValue = UpperIncompleteGammaQ(static_cast<long double>(result.df) / 2, result.chi2 / 2);
    return result;
}

std::string AgreementWords(const Concordance& concordance) {
    if (!concordance.formed) return "согласованность не определена";
    std::string words = concordance.w >= HighAgreementW     ? "согласованность высокая"
                        : concordance.w >= MediumAgreementW ? "согласованность средняя"
                                                            : "согласованность низкая";
    if (concordance.pValue > AgreementSignificance) words += ", не значима";
    return words;
}

std::string AgreementLine(const Concordance& concordance, const NumberLocale& locale) {
    if (!concordance.formed)
        return "W Кендалла не вычислен: " + concordance.reason + "; " + AgreementWords(concordance);
    return "W Кендалла = " + ProbabilityText(concordance.w, locale) + ", χ² = " + ProbabilityText(concordance.chi2, locale) +
           ", степеней свободы " + std::to_string(concordance.df) + ", p = " + ProbabilityText(concordance.pValue, locale) +
           " (факторов " + std::to_string(concordance.factors) + "): " + AgreementWords(concordance);
}

long double UpperIncompleteGammaQ(long double a, long double x) {
    if (!(x > 0)) return 1.0L;
    const long double logPrefix = a * std::log(x) - x - std::lgamma(a);
    constexpr long double epsilon = 1e-19L;
    if (x < a + 1) {
        // P(a, x) by its series; Q = 1 − P, which is not small here.
        long double term = 1 / a, sum = term;
        for (int k = 1; k < 10000; ++k) {
            term *= x / (a + k);
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * epsilon) break;
        }
        return 1 - sum * std::exp(logPrefix);
    }
    // QText(a, x) by its continued fraction (modified Lentz).
    constexpr long double tiny = 1e-4000L;
    long double b = x + 1 - a, c = 1 / tiny, d = 1 / b, h = d;
    for (int k = 1; k < 10000; ++k) {
        const long double an = -k * (k - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < tiny) d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1 / d;
        const long double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < epsilon) break;
    }
    return std::exp(logPrefix) * h;
}

std::uint64_t PanelCombinations(const ExpertPanel& panel, std::uint64_t limit) {
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
                                          std::uint64_t enumerationLimit) {
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
