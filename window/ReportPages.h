// The report laid out on A4 pages: numbered, no table row split, table headers repeated; printed,
// or written as a PDF, ODT or HTML file.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report/Report.h"

class QPagedPaintDevice;

namespace kestal {

// What a report is made of: its HTML, whose pictures are named ImportanceName and BestSetName, and
// the figures those pictures show, composed off the interface thread; the pictures, drawn on it.
struct ReportParts {
    std::string html;
    ImportanceTable importance{};
    std::optional<MeasureOptimum> optimum;
    std::vector<CandidateMeasure> measures;
    std::vector<std::pair<QString, QImage>> pictures;
};

// A4 portrait with margins of 15 mm: the page the report is laid out for.
QPageLayout ReportPageLayout();
// Every page onto `device`, which has the report's page layout, each with its number below.
// KestalError when printing fails.
void PrintReportPages(const ReportParts& parts, QPagedPaintDevice& device);
// Writes the report to `path`: PDF for a ".pdf" file, ODT for ".odt", HTML (its pictures inside)
// otherwise. KestalError when it fails.
void WriteReportFile(const ReportParts& parts, const QString& path);

}  // namespace kestal
