// The comparison of two assessments in a window: both rating columns with the differing factors
// marked, the nodes side by side, and the waterfall of the contributions from P_A(I) to P_B(I).
#pragma once

#include <QDialog>

#include "analysis/AssessmentComparison.h"

class QChart;

namespace kestal {

class CompareView : public QDialog {
public:
    // `nameA` and `nameB` say what A and B are (a file's name, "текущая оценка").
    CompareView(QWidget* parent, const QString& nameA, const QString& nameB, const NetworkInputs& a,
                const NetworkInputs& b, const AssessmentComparison& comparison);
};

// P_A(I), one bar per contribution largest first, rising in red or falling in green from where the
// previous one ended, and P_B(I). The caller owns the chart.
QChart* WaterfallChart(const AssessmentComparison& comparison);

}  // namespace kestal
