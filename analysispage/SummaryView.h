// The summary of many workplaces in a window: a sortable table over a model (as many rows as a
// table file holds), a bar chart of the most dangerous ones, the refused rows, export to CSV and
// XLSX off the interface thread; a double click opens a workplace.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

#include "analysispage/SummaryModel.h"
#include "widgets/WorkerThread.h"

class QChart;
class QProgressBar;
class QPushButton;
class QTableView;

namespace kestal {

class SummaryView : public QDialog {
public:
    // Called with the workplace whose row was double-clicked.
    using OpenWorkplace = std::function<void(const Workplace& workplace)>;

    // A window beside `parent` (not over it, so that what a double click opens comes to the front),
    // closed and gone when `parent` goes.
    SummaryView(QWidget* parent, const QString& fileName, WorkplaceList list, std::vector<WorkplaceAssessment> assessed,
                OpenWorkplace open);

    // Writes the table as shown (its rows in their order, Russian headers) to `path` as CSV, as the
    // window's tables save it with their numbers at full precision, or as XLSX with numbers as
    // numbers, off the interface thread; "Стоп" beside the progress ends it with no file written.
    void ExportTo(const QString& path, bool xlsx);
    // Waits for an export to end and runs its finish at once.
    void WaitForExport() { worker_.WaitForEnd(); }

private:
    void Export(bool xlsx);
    void ShowExporting(bool exporting);

    std::shared_ptr<const SummaryData> data_;
    SummaryModel* model_;
    QTableView* table_;
    QProgressBar* progress_;
    QPushButton* stop_;
    QPushButton* csv_;
    QPushButton* xlsx_;
    // Last: it goes first, stopping an export before the widgets go.
    WorkerThread worker_;
};

constexpr int SummaryChartBars = 20;

// The accident probabilities of the (up to) 20 most dangerous workplaces, the most dangerous at
// the top. The caller owns the chart.
QChart* SummaryChart(const SummaryData& data);

}  // namespace kestal
