// The summary of many workplaces in a window: a sortable table, a bar chart of the most dangerous
// ones, the refused rows, export to CSV and XLSX; a double click opens a workplace.
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "analysis/WorkplaceSummary.h"

class QChart;

namespace kestal {

class SummaryView : public QDialog {
public:
    // Called with the workplace whose row was double-clicked.
    using OpenWorkplace = std::function<void(const Workplace& workplace)>;

    SummaryView(QWidget* parent, const QString& fileName, WorkplaceList list, std::vector<WorkplaceAssessment> assessed,
                OpenWorkplace open);

private:
    void Export(bool xlsx);

    WorkplaceList list_;
    std::vector<WorkplaceAssessment> assessed_;
};

constexpr int SummaryChartBars = 20;

// The accident probabilities of the (up to) 20 most dangerous workplaces, the most dangerous at
// the top. The caller owns the chart.
QChart* SummaryChart(const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed);

}  // namespace kestal
