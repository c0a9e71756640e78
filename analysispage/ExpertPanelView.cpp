// The expert panel tab: the grid of the experts' levels, the agreement, the consensus applied to the
// ratings, CSV import and export, and the band worked out off the interface thread.
#include "analysispage/ExpertPanelView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QHorizontalBarSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStylePainter>
#include <QTableWidget>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

#include "analysis/ExactNodes.h"
#include "analysis/ExpertPanelCsv.h"
#include "analysispage/PlanView.h"
#include "widgets/BackgroundWork.h"
#include "widgets/ChartParts.h"
#include "widgets/Guard.h"
#include "widgets/TableCopy.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/Formats.h"
#include "common/KestalError.h"

namespace {

enum Column { FactorColumn, CurrentColumn, FirstExpertColumn };
// A panel's table is small; anything longer is not one.
constexpr qint64 MostCsvBytes = 1 << 20;
// The cumulative curve keeps about this many steps however many values the band has.
constexpr int CurveSteps = 1000;
const QString CsvFilter = QStringLiteral("Таблицы CSV (*.csv);;Все файлы (*)");

const QColor CurveColour(30, 50, 120);
const QColor QuantileColour(120, 120, 120);
const QColor CurrentColour(40, 150, 70);
const QColor TargetColour(210, 60, 50);
const QColor ShareColour(200, 120, 40);

QString LevelItem(const FactorInfo& factor, int level)
{
    return QString::number(level) + QStringLiteral(" ") + QText((*factor.wording)[level - 1]);
}

// A factor's list of levels in a cell: shows the number alone (the texts in its drop-down), takes
// the wheel only while it has the focus.
class LevelBox : public QComboBox {
public:
    explicit LevelBox(const FactorInfo& factor)
    {
        addItem(QStringLiteral("—"));
        for (int level = 1; level <= LevelCount; ++level) addItem(LevelItem(factor, level));
        setFocusPolicy(Qt::StrongFocus);
        setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        setMinimumContentsLength(2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText = currentIndex() > 0 ? QString::number(currentIndex()) : QStringLiteral("—");
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
    void showPopup() override
    {
        view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
        QComboBox::showPopup();
    }
    void wheelEvent(QWheelEvent* event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};

QTableWidgetItem* ReadOnly(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

// The smallest "Эксперт N" no expert of the panel is called.
std::string FreeName(const ExpertPanel& panel)
{
    for (int n = 1;; ++n) {
        const std::string name = "Эксперт " + std::to_string(n);
        if (std::none_of(panel.experts.begin(), panel.experts.end(),
                         [&](const PanelExpert& expert) { return expert.name == name; }))
            return name;
    }
}

QString Number(long double value)
{
    return QText(ProbabilityText(value, UiNumberLocale()));
}

// The cumulative share of the rating sets against the accident probability, with P5, P50, P95, the
// current ratings' value and the target as vertical lines.
QChart* DistributionChart(const ExpertPanelView::Result& result)
{
    QChart* chart = PlainChart();
    const NodeBand& band = result.band.node[NodeI];
    long double lowest = std::min(band.min, result.current), highest = std::max(band.max, result.current);
    if (result.target && *result.target > 0) {
        lowest = std::min(lowest, *result.target);
        highest = std::max(highest, *result.target);
    }
    // Over more than a decade and a half the values are read on a logarithmic axis.
    const bool logarithmic = lowest > 0 && highest / lowest > 30;
    QAbstractAxis* x = nullptr;
    double left = 0, right = 1;
    if (logarithmic) {
        QLogValueAxis* axis = DecadeAxis(QStringLiteral("Вероятность происшествия"), lowest, highest);
        left = axis->min();
        right = axis->max();
        x = axis;
    } else {
        auto* axis = new QValueAxis;
        axis->setTitleText(QStringLiteral("Вероятность происшествия"));
        axis->setLabelFormat(QStringLiteral("%.3g"));
        axis->setLabelsFont(QApplication::font());
        axis->setTitleFont(QApplication::font());
        const double pad = std::max(static_cast<double>(highest - lowest) * 0.05, static_cast<double>(highest) * 1e-3);
        axis->setRange(std::max(0.0, static_cast<double>(lowest) - pad), static_cast<double>(highest) + pad);
        axis->applyNiceNumbers();
        left = axis->min();
        right = axis->max();
        x = axis;
    }
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("Накопленная доля наборов"));
    y->setLabelFormat(QStringLiteral("%.1f"));
    y->setLabelsFont(QApplication::font());
    y->setTitleFont(QApplication::font());
    y->setRange(0.0, 1.0);
    y->setTickCount(6);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    QList<QPointF> curve{{left, 0.0}};
    long double cumulative = 0;
    double drawn = 0;
    const auto& values = result.band.accident;
    for (std::size_t k = 0; k < values.size(); ++k) {
        cumulative += values[k].second;
        // Steps closer than a thousandth of the total are drawn as one.
        if (k + 1 < values.size() && cumulative - drawn < 1.0L / CurveSteps) continue;
        const double value = static_cast<double>(values[k].first);
        curve << QPointF(value, drawn) << QPointF(value, static_cast<double>(cumulative));
        drawn = static_cast<double>(cumulative);
    }
    curve << QPointF(right, drawn);
    Attach(chart, Polyline(curve, CurveColour, 2.0, QStringLiteral("Распределение")), x, y);
    const auto vertical = [&](long double at, const QColor& colour, const QString& name, bool inLegend) {
        const double v = static_cast<double>(at);
        QLineSeries* line = Polyline({{v, 0.0}, {v, 1.0}}, colour, 1.5, name);
        if (name.startsWith(QLatin1Char('P'))) line->setPen(QPen(colour, 1.2, Qt::DashLine));
        Attach(chart, line, x, y);
        if (!inLegend) LeaveOutOfLegend(chart, line);
    };
    vertical(band.p05, QuantileColour, QStringLiteral("P5, P50, P95"), true);
    vertical(band.p50, QuantileColour, QStringLiteral("P50"), false);
    vertical(band.p95, QuantileColour, QStringLiteral("P95"), false);
    vertical(result.current, CurrentColour, QStringLiteral("Текущие оценки"), true);
    if (result.target) vertical(*result.target, TargetColour, QStringLiteral("Цель"), true);
    return chart;
}

// Each disputed factor's share of the accident probability's variance as a bar, the largest on top.
QChart* SharesChart(const std::vector<FactorShare>& shares)
{
    QChart* chart = PlainChart();
    chart->legend()->hide();
    auto* set = new QBarSet(QStringLiteral("Доля дисперсии"));
    set->setColor(ShareColour);
    set->setBorderColor(ShareColour.darker(130));
    QStringList ids;
    // The category axis counts from the bottom.
    for (auto share = shares.rbegin(); share != shares.rend(); ++share) {
        *set << static_cast<double>(share->share);
        ids << QText(share->factor->id);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    auto* y = new QBarCategoryAxis;
    y->append(ids);
    y->setGridLineVisible(false);
    // Ids are short: they never need cutting, whatever the axis thinks of its room.
    y->setTruncateLabels(false);
    y->setLabelsFont(QApplication::font());
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Доля дисперсии вероятности происшествия"));
    x->setLabelFormat(QStringLiteral("%.1f"));
    x->setLabelsFont(QApplication::font());
    x->setTitleFont(QApplication::font());
    x->setRange(0.0, 1.0);
    x->setTickCount(6);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, series, x, y);
    return chart;
}

}  // namespace

ExpertPanelView::ExpertPanelView(const Session& session) : session_(session)
{
    setObjectName(QStringLiteral("tsPanel"));
    const auto button = [](const char* text, const char* name, const char* tip = nullptr) {
        auto* b = new QPushButton(QText(text));
        b->setObjectName(QString::fromLatin1(name));
        if (tip) b->setToolTip(QText(tip));
        return b;
    };
    add_ = button("Добавить эксперта", "btPanelAdd", "Новый эксперт без оценок; без панели — панель из двух экспертов");
    remove_ = button("Удалить эксперта", "btPanelRemove", "Удаляет выбранного эксперта (в панели не меньше двух)");
    rename_ = button("Переименовать", "btPanelRename", "Даёт выбранному эксперту набранное имя");
    import_ = button("Импорт CSV…", "btPanelImport");
    export_ = button("Экспорт CSV…", "btPanelExport");
    clear_ = button("Удалить панель", "btPanelClear");
    apply_ = button("Применить согласованные уровни", "btPanelApply",
                    "Оценки факторов, которые оценил хотя бы один эксперт, становятся медианой оценок экспертов");
    expert_ = new QComboBox;
    expert_->setObjectName(QStringLiteral("cbPanelExpert"));
    expert_->setMinimumContentsLength(14);
    expert_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("edPanelExpertName"));
    name_->setMaxLength(60);
    name_->setPlaceholderText(QStringLiteral("имя эксперта"));

    grid_ = new QTableWidget(FactorCount, FirstExpertColumn);
    grid_->setObjectName(QStringLiteral("sgPanel"));
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setWordWrap(false);
    grid_->setTextElideMode(Qt::ElideRight);
    grid_->verticalHeader()->setDefaultSectionSize(LevelBox(FactorCatalogue[0]).sizeHint().height() + 2);
    for (int row = 0; row < FactorCount; ++row) {
        const FactorInfo& factor = FactorCatalogue[row];
        auto* name = ReadOnly(QText(factor.id) + QLatin1Char(' ') + QText(factor.displayName) +
                              (factor.displayName2 ? QText(factor.displayName2) : QString()));
        name->setToolTip(name->text());
        grid_->setItem(row, FactorColumn, name);
        grid_->setItem(row, CurrentColumn, ReadOnly(QString()));
    }
    grid_->horizontalHeader()->setMinimumSectionSize(40);

    agreement_ = new QLabel;
    agreement_->setObjectName(QStringLiteral("lbPanelAgreement"));
    agreement_->setWordWrap(true);
    agreement_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* targetLabel = new QLabel(QStringLiteral("Цель (необязательно):"));
    target_ = new QLineEdit;
    target_->setObjectName(QStringLiteral("edPanelTarget"));
    target_->setPlaceholderText(QStringLiteral("1e-3, 0,001 или 0,1 %"));
    targetLabel->setBuddy(target_);
    compute_ = button("Рассчитать полосу", "btPanelBand",
                      "Распределение вероятностей узлов по наборам оценок экспертов");
    stop_ = button("Стоп", "btPanelStop");
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

    auto* experts = new QHBoxLayout;
    experts->addWidget(add_);
    experts->addWidget(remove_);
    experts->addWidget(expert_, 1);
    experts->addWidget(name_, 1);
    experts->addWidget(rename_);
    auto* files = new QHBoxLayout;
    files->addWidget(import_);
    files->addWidget(export_);
    files->addWidget(clear_);
    files->addStretch(1);
    files->addWidget(apply_);
    auto* left = new QVBoxLayout;
    left->addLayout(experts);
    left->addLayout(files);
    left->addWidget(grid_, 1);
    left->addWidget(agreement_);

    auto* band = new QHBoxLayout;
    band->addWidget(targetLabel);
    band->addWidget(target_, 1);
    band->addWidget(compute_);
    band->addWidget(stop_);
    auto* right = new QVBoxLayout;
    right->addLayout(band);
    right->addWidget(progress_);
    right->addWidget(state_);
    right->addWidget(summary_);
    right->addWidget(nodes_);
    right->addWidget(distribution_, 1);
    right->addWidget(shares_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left, 5);
    layout->addLayout(right, 4);

    work_ = new BackgroundWork(stop_, [this](int64_t done, int64_t total, double) {
        progress_->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 0);
    });
    work_->setParent(this);
    connect(add_, &QPushButton::clicked, this, Guard(this, [this] { AddExpert(); }));
    connect(remove_, &QPushButton::clicked, this, Guard(this, [this] { RemoveExpert(); }));
    connect(rename_, &QPushButton::clicked, this, Guard(this, [this] { RenameExpert(); }));
    connect(name_, &QLineEdit::returnPressed, this, Guard(this, [this] { RenameExpert(); }));
    connect(expert_, &QComboBox::currentIndexChanged, this, Guard(this, [this] {
                name_->setText(expert_->currentText());
                ShowButtons();
            }));
    connect(name_, &QLineEdit::textChanged, this, Guard(this, [this] { ShowButtons(); }));
    // A click on an expert's heading chooses him for renaming and removal.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        const int expert = column - FirstExpertColumn;
        if (expert >= 0 && expert < expert_->count()) expert_->setCurrentIndex(expert);
    });
    connect(import_, &QPushButton::clicked, this, Guard(this, [this] { ChooseImport(); }));
    connect(export_, &QPushButton::clicked, this, Guard(this, [this] { ChooseExport(); }));
    connect(clear_, &QPushButton::clicked, this, Guard(this, [this] { Clear(); }));
    connect(apply_, &QPushButton::clicked, this, Guard(this, [this] { ApplyConsensus(); }));
    connect(target_, &QLineEdit::textChanged, this, Guard(this, [this] {
                ShowButtons();
                MarkStale();
            }));
    connect(compute_, &QPushButton::clicked, this, Guard(this, [this] { Start(); }));
    connect(stop_, &QPushButton::clicked, this, Guard(this, [this] { work_->RequestStop(); }));
    ShowGrid();
    ShowAgreement();
    ShowButtons();
    MarkStale();
}

ExpertPanelView::~ExpertPanelView()
{
    // The work ends before the widgets its finish would touch go.
    delete work_;
}

void ExpertPanelView::SetEdit(Edit edit)
{
    edit_ = std::move(edit);
}

void ExpertPanelView::WaitForEnd()
{
    work_->WaitForEnd();
}

void ExpertPanelView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Show();
}

void ExpertPanelView::Show()
{
    const SessionState& state = session_.state();
    if (gridShown_ == state.panel && ratingsShown_ == state.editor) return;
    ShowGrid();
    if (gridShown_ != state.panel) ShowAgreement();
    gridShown_ = state.panel;
    ratingsShown_ = state.editor;
    ShowButtons();
    MarkStale();
}

void ExpertPanelView::ChangePanel(const std::function<void(ExpertPanel&)>& change)
{
    if (!edit_) return;
    ExpertPanel panel = session_.state().panel;
    change(panel);
    edit_([&](Session& session) { session.SetPanel(panel); });
    Show();
}

void ExpertPanelView::BuildColumns(int experts)
{
    const int shownExperts = static_cast<int>(boxes_.size());
    if (shownExperts == experts && grid_->columnCount() == FirstExpertColumn + experts + 2) return;
    // The consensus and range columns follow the experts.
    grid_->setColumnCount(FirstExpertColumn + experts + 2);
    for (int k = shownExperts; k < experts; ++k) {
        std::array<QComboBox*, FactorCount> column{};
        for (int row = 0; row < FactorCount; ++row) {
            auto* box = new LevelBox(FactorCatalogue[row]);
            box->setObjectName(QStringLiteral("cbPanel%1_%2").arg(k + 1).arg(QText(FactorCatalogue[row].id)));
            connect(box, &QComboBox::activated, this, Guard(this, [this, k, row, box] {
                        const int level = box->currentIndex();
                        ChangePanel([&](ExpertPanel& panel) {
                            if (k < static_cast<int>(panel.experts.size())) panel.experts[k].level[row] = level;
                        });
                    }));
            column[row] = box;
        }
        boxes_.push_back(column);
    }
    for (int k = experts; k < shownExperts; ++k)
        for (int row = 0; row < FactorCount; ++row) grid_->removeCellWidget(row, FirstExpertColumn + k);
    boxes_.resize(experts);
    for (int k = 0; k < experts; ++k)
        for (int row = 0; row < FactorCount; ++row)
            if (grid_->cellWidget(row, FirstExpertColumn + k) != boxes_[k][row]) {
                delete grid_->takeItem(row, FirstExpertColumn + k);
                grid_->setCellWidget(row, FirstExpertColumn + k, boxes_[k][row]);
            }
    const int consensus = FirstExpertColumn + experts;
    for (int row = 0; row < FactorCount; ++row) {
        grid_->setItem(row, consensus, ReadOnly(QString()));
        grid_->setItem(row, consensus + 1, ReadOnly(QString()));
    }
    QHeaderView* header = grid_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(FactorColumn, QHeaderView::Stretch);
    for (int column = CurrentColumn; column < grid_->columnCount(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

void ExpertPanelView::ShowGrid()
{
    const SessionState& state = session_.state();
    const ExpertPanel& panel = state.panel;
    const int experts = static_cast<int>(panel.experts.size());
    BuildColumns(experts);
    QStringList headers{QStringLiteral("Фактор"), QStringLiteral("Сейчас")};
    for (const PanelExpert& expert : panel.experts) headers << QText(expert.name);
    headers << QStringLiteral("Согласованный") << QStringLiteral("Разброс");
    grid_->setHorizontalHeaderLabels(headers);
    for (int k = 0; k < experts; ++k)
        for (int row = 0; row < FactorCount; ++row) {
            QComboBox* box = boxes_[k][row];
            const int level = panel.experts[k].level[row];
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(IsLevelNumber(level) ? level : 0);
            box->setToolTip(QText(panel.experts[k].name) + QStringLiteral(": ") + box->currentText());
        }
    std::array<const FactorOpinions*, FactorCount> opinionOf{};
    const std::vector<FactorOpinions> opinions = PanelOpinions(panel);
    for (const FactorOpinions& row : opinions) opinionOf[CatalogueIndex(*row.factor)] = &row;
    for (int row = 0; row < FactorCount; ++row) {
        const FactorInfo& factor = FactorCatalogue[row];
        const int current = state.editor[row].currentItem + 1;
        QTableWidgetItem* now = grid_->item(row, CurrentColumn);
        now->setText(IsLevelNumber(current) ? QString::number(current) : QStringLiteral("—"));
        now->setToolTip(IsLevelNumber(current) ? LevelItem(factor, current) : QString());
        now->setTextAlignment(Qt::AlignCenter);
        QTableWidgetItem* consensus = grid_->item(row, FirstExpertColumn + experts);
        QTableWidgetItem* range = grid_->item(row, FirstExpertColumn + experts + 1);
        const FactorOpinions* opinion = opinionOf[row];
        consensus->setText(opinion ? QString::number(opinion->consensus) : QString());
        consensus->setToolTip(opinion ? LevelItem(factor, opinion->consensus) : QString());
        consensus->setTextAlignment(Qt::AlignCenter);
        // A consensus that differs from the current rating stands out.
        QFont font = grid_->font();
        font.setBold(opinion && opinion->consensus != current);
        consensus->setFont(font);
        range->setText(!opinion ? QString()
                       : opinion->lowest == opinion->highest
                           ? QString::number(opinion->lowest)
                           : QStringLiteral("%1–%2").arg(opinion->lowest).arg(opinion->highest));
        range->setTextAlignment(Qt::AlignCenter);
    }
    // The selector of experts follows the panel, keeping the chosen one where it still is.
    const int chosen = expert_->currentIndex();
    {
        const QSignalBlocker quiet(expert_);
        expert_->clear();
        for (const PanelExpert& expert : panel.experts) expert_->addItem(QText(expert.name));
        expert_->setCurrentIndex(experts == 0 ? -1 : std::clamp(chosen, 0, experts - 1));
    }
    if (!name_->hasFocus() || experts == 0) name_->setText(expert_->currentText());
}

void ExpertPanelView::ShowAgreement()
{
    const ExpertPanel& panel = session_.state().panel;
    if (panel.experts.empty()) {
        agreement_->setText(QStringLiteral("Панели экспертов нет: добавьте экспертов или импортируйте таблицу CSV"));
        return;
    }
    agreement_->setText(QText(AgreementLine(PanelConcordance(panel), UiNumberLocale())));
}

bool ExpertPanelView::ReadTarget(std::optional<long double>& target) const
{
    const QString text = target_->text().trimmed();
    target.reset();
    if (text.isEmpty()) return true;
    target = PlanTargetOf(Utf8(text));
    return target.has_value();
}

void ExpertPanelView::ShowButtons()
{
    const SessionState& state = session_.state();
    const int experts = static_cast<int>(state.panel.experts.size());
    const bool idle = !work_->Busy();
    add_->setEnabled(idle && experts < MaxPanelExperts);
    remove_->setEnabled(idle && experts > MinPanelExperts && expert_->currentIndex() >= 0);
    const QString typed = name_->text().trimmed();
    rename_->setEnabled(idle && expert_->currentIndex() >= 0 && !typed.isEmpty() && typed != expert_->currentText());
    export_->setEnabled(experts > 0);
    clear_->setEnabled(idle && experts > 0);
    bool differs = false;
    for (const FactorOpinions& row : PanelOpinions(state.panel))
        differs = differs || state.editor[CatalogueIndex(*row.factor)].currentItem + 1 != row.consensus;
    apply_->setEnabled(idle && differs);
    std::optional<long double> target;
    compute_->setEnabled(idle && experts > 0 && ReadTarget(target));
}

void ExpertPanelView::MarkStale()
{
    if (work_->Busy()) return;
    const SessionState& state = session_.state();
    std::optional<long double> target;
    const bool reads = ReadTarget(target);
    if (!shown_) {
        state_->setText(state.panel.experts.empty() ? QString()
                                                    : QStringLiteral("Полоса не рассчитана: нажмите «Рассчитать полосу»"));
        state_->setStyleSheet(QString());
        return;
    }
    const bool stale = shown_->panel != state.panel || shown_->ratings != session_.RatingInputs() ||
                       !reads || shown_->target != target;
    state_->setText(stale ? QStringLiteral("Панель, оценки или цель изменились после расчёта: рассчитайте полосу заново")
                          : QString());
    state_->setStyleSheet(stale ? QStringLiteral("color: #b03020") : QString());
}

void ExpertPanelView::AddExpert()
{
    ChangePanel([](ExpertPanel& panel) {
        if (panel.experts.empty()) panel.experts.push_back({FreeName(panel), {}});
        panel.experts.push_back({FreeName(panel), {}});
    });
    expert_->setCurrentIndex(expert_->count() - 1);
}

void ExpertPanelView::RemoveExpert()
{
    const int chosen = expert_->currentIndex();
    ChangePanel([chosen](ExpertPanel& panel) {
        if (chosen >= 0 && chosen < static_cast<int>(panel.experts.size()))
            panel.experts.erase(panel.experts.begin() + chosen);
    });
    name_->setText(expert_->currentText());
}

void ExpertPanelView::RenameExpert()
{
    const int chosen = expert_->currentIndex();
    const std::string name = Utf8(name_->text().trimmed());
    if (!rename_->isEnabled()) return;
    ChangePanel([&](ExpertPanel& panel) {
        if (chosen >= 0 && chosen < static_cast<int>(panel.experts.size())) panel.experts[chosen].name = name;
    });
    name_->setText(expert_->currentText());
}

void ExpertPanelView::ApplyConsensus()
{
    if (!edit_) return;
    const std::vector<FactorOpinions> opinions = PanelOpinions(session_.state().panel);
    edit_([&](Session& session) {
        for (const FactorOpinions& row : opinions) {
            const int factor = CatalogueIndex(*row.factor);
            if (session.state().editor[factor].currentItem != row.consensus - 1)
                session.SelectLevel(factor, row.consensus - 1);
        }
    });
    Show();
}

void ExpertPanelView::ChooseImport()
{
    if (!session_.state().panel.experts.empty() &&
        QMessageBox::question(this, QText(ApplicationTitle), QStringLiteral("Заменить панель экспертов таблицей из файла?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Импорт панели экспертов"), QString(), CsvFilter);
    if (!path.isEmpty()) ImportFrom(path);
}

void ExpertPanelView::ChooseExport()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт панели экспертов"), QString(), CsvFilter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    ExportTo(path);
}

void ExpertPanelView::Clear()
{
    if (QMessageBox::question(this, QText(ApplicationTitle), QStringLiteral("Удалить панель экспертов со всеми оценками?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    ChangePanel([](ExpertPanel& panel) { panel.experts.clear(); });
}

void ExpertPanelView::ImportFrom(const QString& path)
{
    Guarded(this, [&] {
        const QString file = QFileInfo(path).fileName();
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw KestalError(Utf8(QStringLiteral("Файл «%1» не открывается: %2").arg(file, in.errorString())));
        const QByteArray bytes = in.read(MostCsvBytes + 1);
        if (bytes.size() > MostCsvBytes)
            throw KestalError(Utf8(QStringLiteral("Файл «%1» длиннее 1 МиБ: это не таблица панели").arg(file)));
        ExpertPanel panel;
        try {
            panel = ReadExpertPanelCsv(bytes.toStdString());
        } catch (const KestalError& error) {
            throw KestalError(Utf8(QStringLiteral("Файл «%1»: %2").arg(file, QText(error.what()))));
        }
        ChangePanel([&](ExpertPanel& shown) { shown = std::move(panel); });
    });
}

void ExpertPanelView::ExportTo(const QString& path)
{
    Guarded(this, [&] {
        const std::string text = ExpertPanelCsv(session_.state().panel);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(text.data(), static_cast<qint64>(text.size())) !=
                                                   static_cast<qint64>(text.size()) ||
            !out.commit())
            throw KestalError(Utf8(QStringLiteral("Файл «%1» не записан: %2").arg(QFileInfo(path).fileName(), out.errorString())));
    });
}

void ExpertPanelView::Start()
{
    std::optional<long double> target;
    if (work_->Busy() || session_.state().panel.experts.empty() || !ReadTarget(target)) return;
    auto result = std::make_shared<Result>();
    result->panel = session_.state().panel;
    result->ratings = session_.RatingInputs();
    result->target = target;
    compute_->setEnabled(false);
    stop_->setEnabled(true);
    progress_->setValue(0);
    state_->setStyleSheet(QString());
    state_->setText(QStringLiteral("Идёт расчёт полосы: %1 наборов оценок…")
                        .arg(PanelCombinations(result->panel) <= MaxEnumeratedSets
                                 ? QString::number(PanelCombinations(result->panel))
                                 : QString::number(SampledSets)));
    ShowButtons();
    work_->Start(
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
        [this, result](BackgroundWork::Outcome outcome, const QString& error) {
            stop_->setEnabled(false);
            if (outcome == BackgroundWork::Outcome::Completed) {
                progress_->setValue(100);
                ShowResult(*result);
            } else {
                progress_->setValue(0);
                state_->setText(outcome == BackgroundWork::Outcome::Stopped ? QStringLiteral("Расчёт полосы остановлен")
                                                                            : QString());
            }
            ShowButtons();
            if (outcome == BackgroundWork::Outcome::Stopped && shown_) MarkStale();
            if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
        });
}

void ExpertPanelView::ShowResult(const Result& result)
{
    const NumberLocale locale = UiNumberLocale();
    const PanelBand& band = result.band;
    for (int node = 0; node < NodeCount; ++node) {
        const NodeBand& b = band.node[node];
        const long double values[] = {b.mean, b.min, b.p05, b.p50, b.p95, b.max};
        for (int column = 1; column < 7; ++column) nodes_->item(node, column)->setText(QText(ProbabilityText(values[column - 1], locale)));
    }
    QStringList lines;
    lines << (band.method == BandMethod::Enumeration
                  ? QStringLiteral("Перебор всех наборов оценок: %1").arg(band.cases)
                  : QStringLiteral("Выборка наборов оценок: %1").arg(band.cases));
    const NodeBand& accident = band.node[NodeI];
    lines << QStringLiteral("Вероятность происшествия: P5 %1, P50 %2, P95 %3; при текущих оценках %4")
                 .arg(Number(accident.p05), Number(accident.p50), Number(accident.p95), Number(result.current));
    if (band.target)
        lines << QStringLiteral("Доля наборов с вероятностью происшествия выше цели %1: %2")
                     .arg(Number(*band.target), Number(*band.exceedance));
    if (band.shares.empty())
        lines << QStringLiteral("Эксперты ни в одной оценке не расходятся: полоса сжата в точку");
    else
        lines << QStringLiteral("Больше всего разброса даёт %1 (доля дисперсии %2): эту оценку стоит согласовать первой")
                     .arg(QText(band.shares.front().factor->id), Number(band.shares.front().share));
    summary_->setText(lines.join(QLatin1Char('\n')));
    ShowChart(distribution_, DistributionChart(result));
    ShowChart(shares_, SharesChart(band.shares));
    shown_ = result;
    MarkStale();
}
