// The plan tab: the inputs read as typed, both plans and the curve worked out off the interface
// thread, shown as lines and a chart.
#include "analysispage/PlanView.h"

#include <QBoxLayout>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <memory>

#include "analysis/PlanTexts.h"
#include "analysispage/PlanChart.h"
#include "widgets/ChartParts.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/KestalError.h"
#include "measures/Amounts.h"

namespace kestal {

namespace {

enum Column { FactorColumn, CostColumn, LowColumn, HighColumn };

std::optional<int> LevelOf(const QString& text)
{
    bool ok = false;
    const int level = text.trimmed().toInt(&ok);
    return ok && level >= 1 && level <= LevelCount ? std::optional<int>(level) : std::nullopt;
}

QString Lines(const std::vector<std::string>& lines)
{
    QStringList texts;
    for (const std::string& line : lines) texts << QText(line).trimmed();
    return texts.join(QLatin1Char('\n'));
}

}  // namespace

PlanView::PlanView(const Session& session)
    : AnalysisView(session), work_([this](int64_t done, int64_t total, double) {
          progress_->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 0);
      })
{
    setObjectName(QStringLiteral("tsPlan"));
    auto* targetLabel = new QLabel(QStringLiteral("Цель — вероятность происшествия не выше:"));
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("edPlanTarget"));
    target_->setPlaceholderText(QStringLiteral("1e-3, 0,001 или 0,1 %"));
    targetLabel->setBuddy(target_);

    steps_ = new QTableWidget(FactorCount, 4);
    steps_->setObjectName(QStringLiteral("sgPlanSteps"));
    steps_->setHorizontalHeaderLabels({QStringLiteral("Фактор"), QStringLiteral("Затраты на шаг"),
                                       QStringLiteral("Уровни от"), QStringLiteral("до")});
    steps_->verticalHeader()->hide();
    for (int row = 0; row < FactorCount; ++row) {
        const FactorInfo& factor = FactorCatalogue[row];
        auto* name =
            new QTableWidgetItem(QText(factor.id) + QLatin1Char(' ') + QText(factor.displayName) +
                                 (factor.displayName2 ? QLatin1Char(' ') + QText(factor.displayName2) : QString()));
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        name->setToolTip(name->text());
        steps_->setItem(row, FactorColumn, name);
        steps_->setItem(row, CostColumn, new QTableWidgetItem);
        steps_->setItem(row, LowColumn, new QTableWidgetItem(QStringLiteral("1")));
        steps_->setItem(row, HighColumn, new QTableWidgetItem(QString::number(LevelCount)));
    }
    // The names give way (elided, whole in their tooltips); the numbers keep their room.
    steps_->setWordWrap(false);
    steps_->setTextElideMode(Qt::ElideRight);
    steps_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    steps_->horizontalHeader()->setSectionResizeMode(FactorColumn, QHeaderView::Stretch);
    steps_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    steps_->setToolTip(QStringLiteral("Пустые затраты — фактор не меняется; текущий уровень всегда допустим"));

    compute_ = new QPushButton(QStringLiteral("Рассчитать план"));
    compute_->setObjectName(QStringLiteral("btPlan"));
    stop_ = new QPushButton(QStringLiteral("Стоп"));
    stop_->setObjectName(QStringLiteral("btPlanStop"));
    stop_->setEnabled(false);
    capture_ = new QPushButton(QStringLiteral("Записать как мероприятие"));
    capture_->setObjectName(QStringLiteral("btPlanCapture"));
    capture_->setEnabled(false);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("pbPlan"));
    progress_->setRange(0, 100);
    progress_->setValue(0);

    stale_ = new QLabel(QStringLiteral("Оценки или мероприятия изменились после расчёта: рассчитайте план заново"));
    stale_->setObjectName(QStringLiteral("lbPlanStale"));
    stale_->setStyleSheet(QStringLiteral("color: #b03020"));
    stale_->setVisible(false);
    measures_ = new QLabel;
    measures_->setObjectName(QStringLiteral("lbPlanMeasures"));
    levels_ = new QLabel;
    levels_->setObjectName(QStringLiteral("lbPlanLevels"));
    for (QLabel* label : {measures_, levels_}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    chart_ = MakeChartView(this, "chPlanCurve");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(compute_);
    buttons->addWidget(stop_);
    buttons->addWidget(progress_, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(targetLabel);
    left->addWidget(target_);
    left->addWidget(steps_, 1);
    left->addLayout(buttons);
    auto* levelColumn = new QVBoxLayout;
    levelColumn->addWidget(levels_, 1);
    levelColumn->addWidget(capture_, 0, Qt::AlignLeft);
    auto* results = new QHBoxLayout;
    results->addWidget(measures_, 1);
    results->addLayout(levelColumn, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(stale_);
    right->addLayout(results);
    right->addWidget(chart_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    connect(target_, &QLineEdit::textChanged, this, Guard(this, [this] { Judge(); }));
    connect(target_, &QLineEdit::editingFinished, this, Guard(this, [this] { Keep(); }));
    connect(steps_, &QTableWidget::itemChanged, this, Guard(this, [this] {
                Judge();
                Keep();
            }));
    connect(compute_, &QPushButton::clicked, this, Guard(this, [this] { Start(); }));
    connect(stop_, &QPushButton::clicked, this, Guard(this, [this] { work_.RequestStop(); }));
    connect(capture_, &QPushButton::clicked, this, Guard(this, [this] {
                if (captureAction_ && shown_) captureAction_(*shown_);
                MarkStale();
            }));
    Judge();
}

void PlanView::WaitForEnd() { work_.WaitForEnd(); }

void PlanView::Refresh()
{
    const PlanInputs& inputs = session_.assessment().plan;
    if (inputsShown_ != inputs) {
        const NumberLocale locale = UiNumberLocale();
        const QSignalBlocker quiet(steps_);
        target_->setText(inputs.target ? QText(AmountText(*inputs.target, locale)) : QString());
        for (int row = 0; row < FactorCount; ++row) {
            PlanFactorInput input{row, std::nullopt, 1, LevelCount};
            for (const PlanFactorInput& given : inputs.factors)
                if (given.factor == row) input = given;
            steps_->item(row, CostColumn)
                ->setText(input.costPerStep ? QText(AmountText(*input.costPerStep, locale)) : QString());
            steps_->item(row, LowColumn)->setText(QString::number(input.low));
            steps_->item(row, HighColumn)->setText(QString::number(input.high));
        }
        inputsShown_ = inputs;
        Judge();
    }
    MarkStale();
}

void PlanView::MarkStale()
{
    stale_->setVisible(shown_ && (session_.assessment().RatingInputs() != shown_->ratings ||
                                  session_.assessment().CapturedCandidates() != shown_->measures ||
                                  session_.assessment().panel != shown_->panel));
}

void PlanView::SetEdit(SessionEdit edit) { edit_ = std::move(edit); }

void PlanView::Keep()
{
    const std::optional<PlanInputs> typed = Typed();
    if (!edit_ || !typed || *typed == session_.assessment().plan) return;
    inputsShown_ = *typed;
    edit_([&](Session& session) { session.assessment().SetPlanInputs(*typed); });
}

void PlanView::SetCapture(Capture capture) { captureAction_ = std::move(capture); }

std::optional<PlanInputs> PlanView::Typed() const
{
    PlanInputs inputs;
    if (!target_->text().trimmed().isEmpty()) {
        inputs.target = PlanTargetOf(Utf8(target_->text()));
        if (!inputs.target) return std::nullopt;
    }
    for (int row = 0; row < FactorCount; ++row) {
        const QString costText = steps_->item(row, CostColumn)->text().trimmed();
        const std::optional<int> low = LevelOf(steps_->item(row, LowColumn)->text());
        const std::optional<int> high = LevelOf(steps_->item(row, HighColumn)->text());
        if (!low || !high || *low > *high) return std::nullopt;
        PlanFactorInput input{row, std::nullopt, *low, *high};
        if (!costText.isEmpty()) {
            input.costPerStep = TypedNumberOf(Utf8(costText));
            if (!input.costPerStep || !(*input.costPerStep >= 0.0L && *input.costPerStep <= MostPlanStepCost))
                return std::nullopt;
        }
        if (input.costPerStep || input.low != 1 || input.high != LevelCount) inputs.factors.push_back(input);
    }
    return inputs;
}

std::optional<PlanView::Request> PlanView::Read() const
{
    const std::optional<PlanInputs> typed = Typed();
    if (!typed || !typed->target) return std::nullopt;
    Request request{*typed->target, {}};
    for (const PlanFactorInput& input : typed->factors)
        if (input.costPerStep)
            request.steps.push_back({&FactorCatalogue[input.factor], *input.costPerStep, input.low, input.high});
    return request;
}

void PlanView::Judge() { compute_->setEnabled(!work_.Busy() && Read().has_value()); }

void PlanView::Start()
{
    const std::optional<Request> request = Read();
    if (!request || work_.Busy()) return;
    auto result = std::make_shared<Result>();
    result->ratings = session_.assessment().RatingInputs();
    result->target = request->target;
    result->measures = session_.assessment().CapturedCandidates();
    result->panel = session_.assessment().panel;
    const int count = static_cast<int>(result->measures.size());
    const bool withMeasures = count >= MinCandidateMeasures && count <= MaxCandidateMeasures;
    Keep();
    compute_->setEnabled(false);
    stop_->setEnabled(true);
    progress_->setValue(0);
    work_.Start([request = *request, result, withMeasures](
                    const WorkControl& control) { WorkOutPlans(control, withMeasures, request.steps, *result); },
                [this, result](WorkerThread::Outcome outcome, const QString& error) {
                    stop_->setEnabled(false);
                    Judge();
                    if (outcome == WorkerThread::Outcome::Completed) {
                        progress_->setValue(100);
                        Show(*result);
                    }
                    if (outcome == WorkerThread::Outcome::Failed) ShowError(this, error);
                    if (outcome == WorkerThread::Outcome::Stopped) progress_->setValue(0);
                });
}

void PlanView::Show(const Result& result)
{
    const NumberLocale locale = UiNumberLocale();
    // The lines as the tabs show probabilities; their tooltips at full precision.
    const auto withBand = [&](std::vector<std::string> lines, const std::optional<PanelBand>& band,
                              ProbabilityWriter probability) {
        if (band) lines.push_back(PlanBandLine(*band, locale, probability));
        return Lines(lines);
    };
    const auto measureLines = [&](ProbabilityWriter probability) {
        return result.measurePlan
                   ? withBand(MeasurePlanLines(*result.measurePlan, result.measures, locale, probability),
                              result.measureBand, probability)
                   : QStringLiteral("Мероприятия: для плана нужно от 2 до 15 мероприятий");
    };
    const auto levelLines = [&](ProbabilityWriter probability) {
        return result.levelPlan
                   ? withBand(LevelPlanLines(*result.levelPlan, locale, probability), result.levelBand, probability)
                   : QStringLiteral("Шаги уровней: укажите затраты на шаг хотя бы одного фактора");
    };
    measures_->setText(measureLines(ProbabilityText));
    measures_->setToolTip(result.measurePlan ? measureLines(GeneralText) : QString());
    levels_->setText(levelLines(ProbabilityText));
    levels_->setToolTip(result.levelPlan ? levelLines(GeneralText) : QString());
    ShowChart(chart_, CurveChart(result));
    capture_->setEnabled(result.levelPlan && !result.levelPlan->changes.empty());
    shown_ = result;
    MarkStale();
}

}  // namespace kestal
