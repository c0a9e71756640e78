// The view of factor importance: the tornado chart beside its table; a click on a bar or a row
// chooses the factor.
#include <QBoxLayout>
#include <QChartView>
#include <QMouseEvent>
#include <QTableWidget>

#include "analysis/AnalysisTexts.h"
#include "analysispage/AnalysisViews.h"
#include "widgets/ChartParts.h"
#include "widgets/TextTableView.h"
#include "widgets/TornadoChart.h"
#include "widgets/UiLocale.h"

namespace kestal {

namespace {

// Room for the 30 rows' labels without overlapping.
constexpr int TornadoMinimumHeight = 800;

}  // namespace

ImportanceView::ImportanceView(const Session& session) : AnalysisView(session)
{
    setObjectName(QStringLiteral("tsImportance"));
    chart_ = MakeChartView(this, "chTornado");
    chart_->setMinimumHeight(TornadoMinimumHeight);
    chart_->viewport()->installEventFilter(this);
    chart_->viewport()->setCursor(Qt::PointingHandCursor);
    table_ = MakeTextTable(this, "sgImportance");
    connect(table_, &QTableWidget::cellClicked, this, [this](int row) { Choose(row); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    // The table's five columns need a little more room than the chart.
    layout->addWidget(chart_, 4);
    layout->addWidget(table_, 5);
}

void ImportanceView::Refresh()
{
    const NetworkInputs ratings = session_.assessment().RatingInputs();
    if (shown_ == ratings) return;
    importance_ = RankFactorImportance(ratings);
    ShowTextTable(table_, ImportanceRows(importance_, UiNumberLocale()));
    ShowChart(chart_, TornadoChart(importance_));
    shown_ = ratings;
}

bool ImportanceView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == chart_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            QChart* chart = chart_->chart();
            Choose(TornadoRowAt(chart, chart->mapFromScene(chart_->mapToScene(mouse->position().toPoint()))));
        }
    }
    return AnalysisView::eventFilter(watched, event);
}

void ImportanceView::Choose(int row)
{
    if (row >= 0 && row < static_cast<int>(importance_.factors.size()))
        emit factorChosen(CatalogueIndex(*importance_.factors[row].factor));
}

}  // namespace kestal
