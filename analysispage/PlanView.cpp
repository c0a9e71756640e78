// The plan tab: the inputs read as typed, both plans and the curve worked out off the interface
// thread, shown as lines and a chart.
#include "analysispage/PlanView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QProgressBar>
#include <QScatterSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>

#include <algorithm>
#include <memory>

#include "analysis/ExactNodes.h"
#include "analysis/PlanTexts.h"
#include "widgets/BackgroundWork.h"
#include "widgets/ChartParts.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/Conversions.h"
#include "common/Formats.h"
#include "common/KestalError.h"

namespace {

enum Column { FactorColumn, CostColumn, LowColumn, HighColumn };
constexpr int CurvePoints = 8;
// Each point of the curve searches this much; the plan itself the default limit.
constexpr int64_t CurvePointLimit = 20'000;
constexpr long double MostStepCost = 1e15L;

// A number typed with "," or "." as the decimal separator; nothing when it is none.
std::optional<long double> NumberOf(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    try {
        return ParseFloat(text, EnglishNumberLocale());
    } catch (const KestalError&) {
        return std::nullopt;
    }
}

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

const QColor LevelColour(30, 50, 120);
const QColor MeasureColour(40, 150, 70);
const QColor TargetColour(210, 60, 50);

// Cost against accident probability: the level plans of the curve, the measures' envelope, the
// target and the two chosen plans.
QChart* CurveChart(const PlanView::Result& result)
{
    QChart* chart = PlainChart();
    QList<QPointF> levels, measures, chosen;
    long double lowest = result.target > 0 ? result.target : 1.0L, highest = lowest;
    double mostCost = 0.0;
    const auto add = [&](QList<QPointF>& points, long double cost, long double accident) {
        points << QPointF(static_cast<double>(cost), static_cast<double>(accident));
        lowest = std::min(lowest, accident);
        highest = std::max(highest, accident);
        mostCost = std::max(mostCost, static_cast<double>(cost));
    };
    for (const LevelPlan& plan : result.curve) add(levels, plan.cost, plan.accident);
    std::sort(levels.begin(), levels.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    if (result.measurePlan)
        for (const MeasureSet& set : result.measurePlan->envelope) add(measures, set.cost, set.accident);
    if (result.measurePlan) add(chosen, result.measurePlan->chosen.cost, result.measurePlan->chosen.accident);
    if (result.levelPlan) add(chosen, result.levelPlan->cost, result.levelPlan->accident);
    if (mostCost <= 0.0) mostCost = 1.0;

    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Затраты, у.е."));
    x->setLabelFormat(QStringLiteral("%.6g"));
    x->setLabelsFont(QApplication::font());
    x->setTitleFont(QApplication::font());
    x->setRange(0.0, mostCost * 1.05);
    x->applyNiceNumbers();
    QLogValueAxis* y = DecadeAxis(QStringLiteral("Вероятность происшествия"), lowest, highest);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    if (!levels.isEmpty()) {
        Attach(chart, Polyline(levels, LevelColour, 2.0, QStringLiteral("Шаги уровней")), x, y);
        QScatterSeries* points = Points(levels, LevelColour, 7.0, {});
        Attach(chart, points, x, y);
        LeaveOutOfLegend(chart, points);
    }
    if (!measures.isEmpty()) {
        Attach(chart, Polyline(measures, MeasureColour, 2.0, QStringLiteral("Мероприятия")), x, y);
        QScatterSeries* points = Points(measures, MeasureColour, 7.0, {});
        Attach(chart, points, x, y);
        LeaveOutOfLegend(chart, points);
    }
    if (result.target > 0) {
        const double target = static_cast<double>(result.target);
        Attach(chart, Polyline({{0.0, target}, {x->max(), target}}, TargetColour, 1.5, QStringLiteral("Цель")), x, y);
    }
    if (!chosen.isEmpty()) Attach(chart, Points(chosen, TargetColour, 11.0, QStringLiteral("Выбранные планы"), true), x, y);
    return chart;
}

}  // namespace

std::optional<long double> PlanTargetOf(const std::string& text)
{
    std::string number = text;
    const bool percent = !number.empty() && number.back() == '%';
    if (percent) number.pop_back();
    std::optional<long double> value = NumberOf(number);
    if (value && percent) *value /= 100;
    if (!value || !(*value >= 0.0L && *value <= 1.0L)) return std::nullopt;
    return value;
}

PlanView::PlanView(const Session& session) : session_(session)
{
    setObjectName(QStringLiteral("tsPlan"));
    auto* targetLabel = new QLabel(QStringLiteral("Цель — вероятность происшествия не выше:"));
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("edPlanTarget"));
    target_->setPlaceholderText(QStringLiteral("1e-3, 0,001 или 0,1 %"));
    targetLabel->setBuddy(target_);

    steps_ = new QTableWidget(FactorCount, 4);
    steps_->setObjectName(QStringLiteral("sgPlanSteps"));
    steps_->setHorizontalHeaderLabels(
        {QStringLiteral("Фактор"), QStringLiteral("Затраты на шаг"), QStringLiteral("Уровни от"), QStringLiteral("до")});
    steps_->verticalHeader()->hide();
    for (int row = 0; row < FactorCount; ++row) {
        const FactorInfo& factor = FactorCatalogue[row];
        auto* name = new QTableWidgetItem(QText(factor.id) + QLatin1Char(' ') + QText(factor.displayName) +
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

    work_ = new BackgroundWork(stop_, [this](int64_t done, int64_t total, double) {
        progress_->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 0);
    });
    work_->setParent(this);
    connect(target_, &QLineEdit::textChanged, this, Guard(this, [this] { Judge(); }));
    connect(steps_, &QTableWidget::itemChanged, this, Guard(this, [this] { Judge(); }));
    connect(compute_, &QPushButton::clicked, this, Guard(this, [this] { Start(); }));
    connect(stop_, &QPushButton::clicked, this, Guard(this, [this] { work_->RequestStop(); }));
    connect(capture_, &QPushButton::clicked, this, Guard(this, [this] {
                if (captureAction_ && shown_) captureAction_(*shown_);
                MarkStale();
            }));
    Judge();
}

PlanView::~PlanView()
{
    // The work ends before the widgets its finish would touch go.
    delete work_;
}

void PlanView::WaitForEnd()
{
    work_->WaitForEnd();
}

void PlanView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    MarkStale();
}

void PlanView::MarkStale()
{
    stale_->setVisible(shown_ && (session_.RatingInputs() != shown_->ratings ||
                                  session_.CapturedCandidates() != shown_->measures));
}

void PlanView::SetCapture(Capture capture)
{
    captureAction_ = std::move(capture);
}

std::optional<PlanView::Request> PlanView::Read() const
{
    const std::optional<long double> target = PlanTargetOf(Utf8(target_->text()));
    if (!target) return std::nullopt;
    Request request{*target, {}};
    for (int row = 0; row < FactorCount; ++row) {
        const QString costText = steps_->item(row, CostColumn)->text().trimmed();
        const std::optional<int> low = LevelOf(steps_->item(row, LowColumn)->text());
        const std::optional<int> high = LevelOf(steps_->item(row, HighColumn)->text());
        if (!low || !high || *low > *high) return std::nullopt;
        if (costText.isEmpty()) continue;
        const std::optional<long double> cost = NumberOf(Utf8(costText));
        if (!cost || !(*cost >= 0.0L && *cost <= MostStepCost)) return std::nullopt;
        request.steps.push_back({&FactorCatalogue[row], *cost, *low, *high});
    }
    return request;
}

void PlanView::Judge()
{
    compute_->setEnabled(!work_->Busy() && Read().has_value());
}

void PlanView::Start()
{
    const std::optional<Request> request = Read();
    if (!request || work_->Busy()) return;
    const NetworkInputs ratings = session_.RatingInputs();
    auto result = std::make_shared<Result>();
    result->ratings = ratings;
    result->target = request->target;
    result->measures = session_.CapturedCandidates();
    const int count = static_cast<int>(result->measures.size());
    const bool withMeasures = count >= MinCandidateMeasures && count <= MaxCandidateMeasures;
    compute_->setEnabled(false);
    stop_->setEnabled(true);
    progress_->setValue(0);
    work_->Start(
        [ratings, request = *request, result, withMeasures](const WorkControl& control) {
            if (withMeasures) result->measurePlan = PlanMeasures(ratings, result->measures, request.target);
            if (request.steps.empty()) return;
            const int64_t total = DefaultPlanEvaluationLimit + CurvePoints * CurvePointLimit;
            int64_t before = 0;
            LevelPlanControl plan;
            plan.report = [&control, &before, total](int64_t done, int64_t) {
                control.Report(std::min(before + done, total), total);
            };
            result->levelPlan = PlanLevels(ratings, request.steps, request.target, plan);
            before = DefaultPlanEvaluationLimit;
            result->curve = LevelCostCurve(ratings, request.steps, CurvePoints, {CurvePointLimit, plan.report});
        },
        [this, result](BackgroundWork::Outcome outcome, const QString& error) {
            stop_->setEnabled(false);
            Judge();
            if (outcome == BackgroundWork::Outcome::Completed) {
                progress_->setValue(100);
                Show(*result);
            }
            if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
            if (outcome == BackgroundWork::Outcome::Stopped) progress_->setValue(0);
        });
}

void PlanView::Show(const Result& result)
{
    const NumberLocale locale = UiNumberLocale();
    measures_->setText(result.measurePlan ? Lines(MeasurePlanLines(*result.measurePlan, result.measures, locale))
                                          : QStringLiteral("Мероприятия: для плана нужно от 2 до 15 мероприятий"));
    levels_->setText(result.levelPlan ? Lines(LevelPlanLines(*result.levelPlan, locale))
                                      : QStringLiteral("Шаги уровней: укажите затраты на шаг хотя бы одного фактора"));
    ShowChart(chart_, CurveChart(result));
    capture_->setEnabled(result.levelPlan && !result.levelPlan->changes.empty());
    shown_ = result;
    MarkStale();
}

void CapturePlanAsMeasure(Session& session, const PlanView::Result& result, const NumberLocale& locale)
{
    if (!result.levelPlan || result.levelPlan->changes.empty()) return;
    const LevelPlan& plan = *result.levelPlan;
    const SessionState& state = session.state();
    // Every rule checked before anything changes.
    if (session.RatingInputs() != result.ratings)
        throw KestalError("Оценки факторов изменились после расчёта плана: рассчитайте его заново");
    if (session.HasPendingChanges())
        throw KestalError("В редакторе мероприятий есть незаписанные изменения: запишите или сбросьте их");
    if (state.measures.MeasureCount >= MaxMeasures) throw KestalError("Записано уже 15 мероприятий");
    if (plan.changes.size() > 10) throw KestalError("В мероприятии может быть не больше 10 факторов");
    for (const PlannedLevel& change : plan.changes)
        if (state.editor[CatalogueIndex(*change.factor)].locked)
            throw KestalError(std::string("Фактор ") + change.factor->id + " уже входит в записанное мероприятие");
    if (!(plan.cost >= 1.0L)) throw KestalError("Затраты мероприятия должны быть не меньше 1");
    // Then as a person would: name and cost typed, each bar moved, ">>" pressed.
    session.SetMeasureName("План " + GeneralText(result.target, locale));
    session.SetCostText(GeneralText(plan.cost, locale));
    for (const PlannedLevel& change : plan.changes) {
        const int factor = CatalogueIndex(*change.factor);
        session.SelectMeasureFactor(factor);
        session.EnterBar(factor);
        session.MoveBar(factor, change.to - 1);
        session.ExitBar(factor);
    }
    session.Capture();
}
