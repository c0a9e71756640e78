// The experts' band: the target read as typed, the band worked out off the interface thread, shown as
// lines, a table of the nodes and two charts, and marked when the panel, ratings or target change.
#include "analysispage/PanelBandView.h"

#include <QBoxLayout>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <memory>

#include "analysis/ExactNodes.h"
#include "analysis/PanelTexts.h"
#include "analysispage/PanelCharts.h"
#include "analysispage/PlanResult.h"
#include "widgets/ChartParts.h"
#include "widgets/Guard.h"
#include "widgets/TableCopy.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

QTableWidgetItem* ReadOnly(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

}  // namespace

PanelBandView::PanelBandView(const Session& session)
    : session_(session), work_([this](int64_t done, int64_t total, double) {
          progress_->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 0);
      })
{
    auto* targetLabel = new QLabel(QStringLiteral("Цель (необязательно):"));
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("edPanelTarget"));
    target_->setPlaceholderText(QStringLiteral("1e-3, 0,001 или 0,1 %"));
    targetLabel->setBuddy(target_);
    compute_ = new QPushButton(QStringLiteral("Рассчитать полосу"));
    compute_->setObjectName(QStringLiteral("btPanelBand"));
    compute_->setToolTip(QStringLiteral("Распределение вероятностей узлов по наборам оценок экспертов"));
    stop_ = new QPushButton(QStringLiteral("Стоп"));
    stop_->setObjectName(QStringLiteral("btPanelStop"));
    stop_->setEnabled(false);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("pbPanel"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    state_ = new QLabel;
    state_->setObjectName(QStringLiteral("lbPanelState"));
    state_->setWordWrap(true);
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("lbPanelBand"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    nodes_ = new QTableWidget(NodeCount, 7);
    nodes_->setObjectName(QStringLiteral("sgPanelBand"));
    nodes_->setHorizontalHeaderLabels({QStringLiteral("Узел"), QStringLiteral("Среднее"), QStringLiteral("Минимум"),
                                       QStringLiteral("P5"), QStringLiteral("P50"), QStringLiteral("P95"),
                                       QStringLiteral("Максимум")});
    nodes_->verticalHeader()->hide();
    nodes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    nodes_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    nodes_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    nodes_->verticalHeader()->setDefaultSectionSize(nodes_->fontMetrics().height() + 6);
    for (int node = 0; node < NodeCount; ++node) {
        auto* letter = ReadOnly(QText(NodeLetters[node]));
        letter->setToolTip(QText(NodeDisplayTexts[node]));
        nodes_->setItem(node, 0, letter);
        for (int column = 1; column < 7; ++column) nodes_->setItem(node, column, ReadOnly(QString()));
    }
    nodes_->setFixedHeight(nodes_->horizontalHeader()->sizeHint().height() +
                           NodeCount * nodes_->verticalHeader()->defaultSectionSize() + 2 * nodes_->frameWidth());
    nodes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    OffersCopy(nodes_);
    distribution_ = MakeChartView(this, "chPanelBand");
    shares_ = MakeChartView(this, "chPanelShares");
    distribution_->setMinimumHeight(220);
    shares_->setMinimumHeight(220);

    auto* band = new QHBoxLayout;
    band->addWidget(targetLabel);
    band->addWidget(target_, 1);
    band->addWidget(compute_);
    band->addWidget(stop_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(band);
    layout->addWidget(progress_);
    layout->addWidget(state_);
    layout->addWidget(summary_);
    layout->addWidget(nodes_);
    layout->addWidget(distribution_, 1);
    layout->addWidget(shares_, 1);

    connect(target_, &QLineEdit::textChanged, this, Guard(this, [this] { Show(); }));
    connect(compute_, &QPushButton::clicked, this, Guard(this, [this] { Start(); }));
    connect(stop_, &QPushButton::clicked, this, Guard(this, [this] { work_.RequestStop(); }));
}

void PanelBandView::WaitForEnd() { work_.WaitForEnd(); }

bool PanelBandView::ReadTarget(std::optional<long double>& target) const
{
    const QString text = target_->text().trimmed();
    target.reset();
    if (text.isEmpty()) return true;
    target = PlanTargetOf(Utf8(text));
    return target.has_value();
}

void PanelBandView::Show()
{
    Judge();
    MarkStale();
}

void PanelBandView::Judge()
{
    std::optional<long double> target;
    compute_->setEnabled(!work_.Busy() && !session_.assessment().panel.experts.empty() && ReadTarget(target));
}

void PanelBandView::MarkStale()
{
    if (work_.Busy()) return;
    const Assessment& assessment = session_.assessment();
    std::optional<long double> target;
    const bool reads = ReadTarget(target);
    if (!shown_) {
        state_->setText(assessment.panel.experts.empty()
                            ? QString()
                            : QStringLiteral("Полоса не рассчитана: нажмите «Рассчитать полосу»"));
        state_->setStyleSheet(QString());
        return;
    }
    const bool stale = shown_->panel != assessment.panel || shown_->ratings != assessment.RatingInputs() || !reads ||
                       shown_->target != target;
    state_->setText(stale
                        ? QStringLiteral("Панель, оценки или цель изменились после расчёта: рассчитайте полосу заново")
                        : QString());
    state_->setStyleSheet(stale ? QStringLiteral("color: #b03020") : QString());
}

void PanelBandView::Start()
{
    std::optional<long double> target;
    if (work_.Busy() || session_.assessment().panel.experts.empty() || !ReadTarget(target)) return;
    auto result = std::make_shared<Result>();
    result->panel = session_.assessment().panel;
    result->ratings = session_.assessment().RatingInputs();
    result->target = target;
    compute_->setEnabled(false);
    stop_->setEnabled(true);
    progress_->setValue(0);
    state_->setStyleSheet(QString());
    state_->setText(QStringLiteral("Идёт расчёт полосы: %1 наборов оценок…")
                        .arg(PanelCombinations(result->panel) <= MaxEnumeratedSets
                                 ? QString::number(PanelCombinations(result->panel))
                                 : QString::number(SampledSets)));
    work_.Start(
        [result](const WorkControl& control) {
            result->current = ExactNodeProbabilities(result->ratings).node[NodeI];
            const std::optional<PanelBand> band = ComputePanelBand(
                result->panel, result->ratings, result->target, [&control](std::uint64_t done, std::uint64_t total) {
                    control.Report(static_cast<int64_t>(done), static_cast<int64_t>(total));
                    return true;
                });
            if (!band) throw WorkStopped{};
            result->band = *band;
        },
        [this, result](WorkerThread::Outcome outcome, const QString& error) {
            stop_->setEnabled(false);
            if (outcome == WorkerThread::Outcome::Completed) {
                progress_->setValue(100);
                ShowResult(*result);
            } else {
                progress_->setValue(0);
                state_->setText(outcome == WorkerThread::Outcome::Stopped ? QStringLiteral("Расчёт полосы остановлен")
                                                                          : QString());
            }
            Judge();
            if (outcome == WorkerThread::Outcome::Stopped && shown_) MarkStale();
            emit busyChanged();
            if (outcome == WorkerThread::Outcome::Failed) ShowError(this, error);
        });
    emit busyChanged();
}

void PanelBandView::ShowResult(const Result& result)
{
    const NumberLocale locale = UiNumberLocale();
    const TextTable table = BandTable(result.band, locale);
    for (int node = 0; node < NodeCount; ++node)
        for (int column = 1; column < 7; ++column) nodes_->item(node, column)->setText(QText(table.rows[node][column]));
    QStringList lines;
    for (const std::string& line : BandLines(result.band, result.current, locale)) lines << QText(line);
    summary_->setText(lines.join(QLatin1Char('\n')));
    ShowChart(distribution_, DistributionChart(result.band, result.current, result.target));
    ShowChart(shares_, SharesChart(result.band.shares));
    shown_ = result;
    MarkStale();
}

}  // namespace kestal
