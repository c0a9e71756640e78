// The assessment report as HTML: a summary (the exact accident probability, the factors that lower
// it most, the best set of measures), the exact node probabilities, the last run with its
// precision, ratings, the study, factor importance, the best set, the expert panel and the
// questionnaire.
#pragma once

#include <string>

#include "assessment/Session.h"

namespace kestal {

// What the report says about where it comes from, and where its pictures are.
struct ReportSource {
    std::string dateTime;     // "07.12.2026 11:20"
    std::string projectFile;  // the file's path, or empty for an assessment not saved
    // The sources of the pictures, as <img src> takes them: a name the document resolves, or a
    // data URL. An empty source leaves the picture out.
    std::string importanceChart;
    std::string bestSetChart;
};

// Why the study's ranking and the best set may give one set different figures.
inline constexpr const char* RankingAndBestSetText =
    "Ранжирование комплекса мер получено моделированием (2–3 меры, частоты со случайной погрешностью), "
    "а лучший набор — точным расчётом по всем наборам мер; поэтому один и тот же набор может получить в них "
    "разные оценки.";

// A whole HTML document in UTF-8, every typed text escaped, numbers in the session's display locale;
// every table's header row in <thead>.
// The best set is judged once, under `control` (its progress, and a stop with WorkStopped); so is
// the experts' band (a stop only).
std::string ReportHtml(const Session& session, const ReportSource& source, const WorkControl& control = {});

// Texts made safe inside HTML: & < > " ' escaped.
std::string HtmlEscaped(const std::string& text);

}  // namespace kestal
