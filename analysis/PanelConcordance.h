// The agreement of an expert panel: Kendall's coefficient of concordance with its χ² test, and the
// agreement in words.
#pragma once

#include <string>

#include "analysis/ExpertPanel.h"
#include "common/NumberLocale.h"

namespace kestal {

// Kendall's coefficient of concordance over the factors every expert rated: each expert's levels
// ranked 1 … n (ties take the mean of their ranks), R_i the rank sum of factor i,
// S = Σ (R_i − m(n+1)/2)², T_j = Σ (t³ − t) over expert j's tie groups,
// W = 12 S / (m²(n³ − n) − m Σ T_j), χ² = m(n − 1) W on n − 1 degrees of freedom.
struct Concordance {
    bool formed = false;
    std::string reason;  // why W cannot be formed (one line), when it is not
    long double w = 0;
    long double chi2 = 0;
    int df = 0;
    long double pValue = 0;  // upper tail of χ² with df degrees of freedom
    int factors = 0;         // n: the factors every expert rated
    int experts = 0;         // m
};
Concordance PanelConcordance(const ExpertPanel& panel);

// The agreement in words, from W: "согласованность высокая" at W ≥ 0.7, "согласованность средняя"
// at 0.5 ≤ W < 0.7, "согласованность низкая" below 0.5; ", не значима" added when p > 0.05 (the
// agreement could be chance at the 5 % level); "согласованность не определена" where W is not formed.
constexpr long double HighAgreementW = 0.7L;
constexpr long double MediumAgreementW = 0.5L;
constexpr long double AgreementSignificance = 0.05L;
std::string AgreementWords(const Concordance& concordance);
// The agreement as one line: "W Кендалла = 0,8847, χ² = 39,81, степеней свободы 9, p = 8,22E-6
// (факторов 10): согласованность высокая" (numbers to 4 significant digits), or "W Кендалла не
// вычислен: <reason>; согласованность не определена".
std::string AgreementLine(const Concordance& concordance, const NumberLocale& locale);

// The regularized upper incomplete gamma function QText(a, x) = Γ(a, x) / Γ(a), a > 0, x ≥ 0: the
// upper tail of χ² on k degrees of freedom at x is QText(k/2, x/2). Relative accuracy about 1e-15.
long double UpperIncompleteGammaQ(long double a, long double x);

}  // namespace kestal
