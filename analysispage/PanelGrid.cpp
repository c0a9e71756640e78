// The experts' grid: a list of levels per cell showing the level's number, columns following the
// panel's experts.
#include "analysispage/PanelGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStylePainter>
#include <QWheelEvent>

#include "widgets/Guard.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

enum Column { FactorColumn, CurrentColumn };

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

}  // namespace

QString LevelItem(const FactorInfo& factor, int level)
{
    return QString::number(level) + QStringLiteral(" ") + QText((*factor.wording)[level - 1]);
}

PanelGrid::PanelGrid(LevelPicked picked) : QTableWidget(FactorCount, FirstExpertColumn), picked_(std::move(picked))
{
    setObjectName(QStringLiteral("sgPanel"));
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->setDefaultSectionSize(LevelBox(FactorCatalogue[0]).sizeHint().height() + 2);
    for (int row = 0; row < FactorCount; ++row) {
        const FactorInfo& factor = FactorCatalogue[row];
        auto* name = ReadOnly(QText(factor.id) + QLatin1Char(' ') + QText(factor.displayName) +
                              (factor.displayName2 ? QText(factor.displayName2) : QString()));
        name->setToolTip(name->text());
        setItem(row, FactorColumn, name);
        setItem(row, CurrentColumn, ReadOnly(QString()));
    }
    horizontalHeader()->setMinimumSectionSize(40);
}

void PanelGrid::BuildColumns(int experts)
{
    const int shownExperts = static_cast<int>(boxes_.size());
    if (shownExperts == experts && columnCount() == FirstExpertColumn + experts + 2) return;
    // The consensus and range columns follow the experts.
    setColumnCount(FirstExpertColumn + experts + 2);
    for (int k = shownExperts; k < experts; ++k) {
        std::array<QComboBox*, FactorCount> column{};
        for (int row = 0; row < FactorCount; ++row) {
            auto* box = new LevelBox(FactorCatalogue[row]);
            box->setObjectName(QStringLiteral("cbPanel%1_%2").arg(k + 1).arg(QText(FactorCatalogue[row].id)));
            connect(box, &QComboBox::activated, this, Guard(this, [this, k, row, box] {
                        if (picked_) picked_(k, row, box->currentIndex());
                    }));
            column[row] = box;
        }
        boxes_.push_back(column);
    }
    for (int k = experts; k < shownExperts; ++k)
        for (int row = 0; row < FactorCount; ++row) removeCellWidget(row, FirstExpertColumn + k);
    boxes_.resize(experts);
    for (int k = 0; k < experts; ++k)
        for (int row = 0; row < FactorCount; ++row)
            if (cellWidget(row, FirstExpertColumn + k) != boxes_[k][row]) {
                delete takeItem(row, FirstExpertColumn + k);
                setCellWidget(row, FirstExpertColumn + k, boxes_[k][row]);
            }
    const int consensus = FirstExpertColumn + experts;
    for (int row = 0; row < FactorCount; ++row) {
        setItem(row, consensus, ReadOnly(QString()));
        setItem(row, consensus + 1, ReadOnly(QString()));
    }
    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(FactorColumn, QHeaderView::Stretch);
    for (int column = CurrentColumn; column < columnCount(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

void PanelGrid::ShowPanel(const ExpertPanel& panel, const std::array<int, FactorCount>& current)
{
    const int experts = static_cast<int>(panel.experts.size());
    BuildColumns(experts);
    QStringList headers{QStringLiteral("Фактор"), QStringLiteral("Сейчас")};
    for (const PanelExpert& expert : panel.experts) headers << QText(expert.name);
    headers << QStringLiteral("Согласованный") << QStringLiteral("Разброс");
    setHorizontalHeaderLabels(headers);
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
        QTableWidgetItem* now = item(row, CurrentColumn);
        now->setText(IsLevelNumber(current[row]) ? QString::number(current[row]) : QStringLiteral("—"));
        now->setToolTip(IsLevelNumber(current[row]) ? LevelItem(factor, current[row]) : QString());
        now->setTextAlignment(Qt::AlignCenter);
        QTableWidgetItem* consensus = item(row, FirstExpertColumn + experts);
        QTableWidgetItem* range = item(row, FirstExpertColumn + experts + 1);
        const FactorOpinions* opinion = opinionOf[row];
        consensus->setText(opinion ? QString::number(opinion->consensus) : QString());
        consensus->setToolTip(opinion ? LevelItem(factor, opinion->consensus) : QString());
        consensus->setTextAlignment(Qt::AlignCenter);
        // A consensus that differs from the current rating stands out.
        QFont bold = font();
        bold.setBold(opinion && opinion->consensus != current[row]);
        consensus->setFont(bold);
        range->setText(!opinion ? QString()
                       : opinion->lowest == opinion->highest
                           ? QString::number(opinion->lowest)
                           : QStringLiteral("%1–%2").arg(opinion->lowest).arg(opinion->highest));
        range->setTextAlignment(Qt::AlignCenter);
    }
}

}  // namespace kestal
