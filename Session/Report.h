// The assessment report as HTML: ratings, the last run with its precision, the study, factor
// importance, the best set of measures and the questionnaire, each from the session.
#pragma once

#include <string>

#include "Session/Session.h"

// What the report says about where it comes from, and where its pictures are.
struct ReportSource {
    std::string dateTime;     // "07.12.2026 11:20"
    std::string projectFile;  // the file's path, or empty for an assessment not saved
    // The sources of the pictures, as <img src> takes them: a name the document resolves, or a
    // data URL. An empty source leaves the picture out.
    std::string importanceChart;
    std::string bestSetChart;
};

// A whole HTML document in UTF-8, every typed text escaped, numbers in the session's display locale.
std::string ReportHtml(const Session& session, const ReportSource& source);

// Texts made safe inside HTML: & < > " escaped.
std::string HtmlEscaped(const std::string& text);
