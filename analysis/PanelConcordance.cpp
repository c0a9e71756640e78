// Kendall's W over the factors every expert rated, its χ² test and the upper tail of χ².
#include "analysis/PanelConcordance.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/Formats.h"

namespace kestal {

namespace {

// The mid-ranks (1 … n) of `values`, ties taking the mean of their ranks; adds Σ (t³ − t) over the
// tie groups to `ties`.
std::vector<long double> MidRanks(const std::vector<int>& values, long double& ties)
{
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

}  // namespace

Concordance PanelConcordance(const ExpertPanel& panel)
{
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

std::string AgreementWords(const Concordance& concordance)
{
    if (!concordance.formed) return "согласованность не определена";
    std::string words = concordance.w >= HighAgreementW     ? "согласованность высокая"
                        : concordance.w >= MediumAgreementW ? "согласованность средняя"
                                                            : "согласованность низкая";
    if (concordance.pValue > AgreementSignificance) words += ", не значима";
    return words;
}

std::string AgreementLine(const Concordance& concordance, const NumberLocale& locale)
{
    if (!concordance.formed)
        return "W Кендалла не вычислен: " + concordance.reason + "; " + AgreementWords(concordance);
    return "W Кендалла = " + ProbabilityText(concordance.w, locale) +
           ", χ² = " + ProbabilityText(concordance.chi2, locale) + ", степеней свободы " +
           std::to_string(concordance.df) + ", p = " + ProbabilityText(concordance.pValue, locale) + " (факторов " +
           std::to_string(concordance.factors) + "): " + AgreementWords(concordance);
}

long double UpperIncompleteGammaQ(long double a, long double x)
{
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

}  // namespace kestal
