// The measure editor of the page "Комплекс мер": factor selection, the change nodes of the pending
// measure in the monitor tree, the level after, the readiness of ">>" and the reset of all measures.
#include "Main_U/TFormKestal.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>

#include <functional>

#include "ActSelect/Totals.h"
#include "Main_U/ActionTree.h"
#include "Main_U/FactorPanel.h"
#include "Main_U/Guard.h"
#include "Main_U/Monitor.h"
#include "Main_U/UiText.h"
#include "common/KestalError.h"

namespace {

// Reports a track bar taking and losing the focus within the window. Another window taking the
// focus for a while (a message box, a menu) moves no focus within the window.
class FocusWatch : public QObject {
public:
    FocusWatch(QWidget* watched, std::function<void()> enter, std::function<void()> exit)
        : QObject(watched), enter_(std::move(enter)), exit_(std::move(exit))
    {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        (event->type() == QEvent::FocusIn ? enter_ : exit_)();
        return false;
    }

private:
    std::function<void()> enter_;
    std::function<void()> exit_;
};

// A track bar out of use: disabled, tick marks hidden. A focused bar gives the focus up first, so
// that its exit runs before the bar is gone.
void RetireBar(QSlider* bar)
{
    if (bar->hasFocus()) bar->clearFocus();
    bar->setEnabled(false);
    bar->setTickPosition(QSlider::NoTicks);
}

}  // namespace

void TFormKestal::ConnectMeasureEditor()
{
    for (int factor = 0; factor < FactorCount; ++factor) {
        const MeasureControls& controls = measureControls[factor];
        // Clicks on the name, the id and the level before reach the panel: the labels pass them on.
        connect(controls.panel, &FactorPanel::clicked, this, Guard(this, [this, factor] { pXXOptClick(factor); }));
        // The program sets positions with the bar's signals blocked: only the user's moves arrive.
        connect(controls.bar, &QSlider::valueChanged, this, Guard(this, [this, factor] { tbXXChange(factor); }));
        // The wheel moves a bar only after giving it the focus, so that its change node is open.
        controls.bar->setFocusPolicy(Qt::WheelFocus);
        new FocusWatch(controls.bar, Guard(this, [this, factor] { tbXXEnter(factor); }),
                       Guard(this, [this, factor] { tbXXExit(factor); }));
    }
    connect(edExpense, &QLineEdit::textChanged, this, Guard(this, [this] { edExpenseChange(); }));
    connect(butReset, &QPushButton::clicked, this, Guard(this, [this] { butResetClick(); }));
}

int TFormKestal::CurrentItem(int factor) const
{
    const QComboBox* list = factorControls[factor].list;
    if (list->currentIndex() >= 0) return list->currentIndex();
    return ItemOfLevelText(FactorCatalogue[factor], S(measureControls[factor].before->text()));
}

EditorRows TFormKestal::MeasureEditorRows() const
{
    EditorRows rows;
    for (int factor = 0; factor < FactorCount; ++factor) {
        const MeasureControls& controls = measureControls[factor];
        // Locked is the panel's own state: a study disables the whole editor, which locks no factor.
        const bool locked = !controls.panel->isEnabledTo(controls.panel->parentWidget());
        rows[factor] = {CurrentItem(factor), controls.bar->value(), locked, S(controls.before->text()),
                        S(controls.after->text())};
    }
    return rows;
}

void TFormKestal::ShowPanelSelected(int factor, bool selected)
{
    const MeasureControls& controls = measureControls[factor];
    controls.panel->setColour(selected ? HighlightColour() : LightColour());
    controls.after->setEnabled(selected);
    if (!selected) {
        RetireBar(controls.bar);
        return;
    }
    controls.bar->setEnabled(true);
    controls.bar->setTickPosition(QSlider::TicksBelow);
}

void TFormKestal::ShowPanelLocked(int factor, bool locked)
{
    const MeasureControls& controls = measureControls[factor];
    controls.name->setEnabled(!locked);
    if (controls.id) controls.id->setEnabled(!locked);
    controls.before->setEnabled(!locked);
    controls.panel->setEnabled(!locked);
}

QTreeWidgetItem* TFormKestal::TreeNode(int index) const
{
    QTreeWidgetItem* node = NodeAt(tvAction, index);
    if (!node) throw KestalError("Invalid index");
    return node;
}

QTreeWidgetItem* TFormKestal::OpenChangeNode(int factor)
{
    QTreeWidgetItem* changes = TreeNode(PendingMeasureNodes(measures).changes);
    QTreeWidgetItem* node = FactorNode(changes, factor);
    if (node) {
        if (changes->indexOfChild(node) == 0) return node;
        changes->takeChild(changes->indexOfChild(node));
    } else {
        node = new QTreeWidgetItem(QStringList(Q(NoChangeText)));
        SetNodeImage(node, 0);
        SetNodeFactor(node, factor);
    }
    changes->insertChild(0, node);
    return node;
}

void TFormKestal::pXXOptClick(int factor)
{
    ShowPanelSelected(factor, true);
    // A change node opened and left unused goes.
    QTreeWidgetItem* first = TreeNode(PendingMeasureNodes(measures).firstChange);
    if (first->text(0) == Q(NoChangeText)) delete first;
    for (int other = 0; other < FactorCount; ++other)
        if (other != factor) ShowPanelSelected(other, false);
}

void TFormKestal::tbXXEnter(int factor)
{
    // A factor has one change node in the pending measure: focusing its bar again reuses it.
    OpenChangeNode(factor);
}

void TFormKestal::tbXXChange(int factor)
{
    const FactorInfo& info = FactorCatalogue[factor];
    const int position = measureControls[factor].bar->value();
    const int current = CurrentItem(factor);
    measureControls[factor].after->setText(factorControls[factor].list->itemText(position));
    // Normally open since the bar took the focus; opened here for a move that came without it.
    QTreeWidgetItem* node = OpenChangeNode(factor);
    SetNodeImage(node, GroupImage(info));
    node->setText(0, Q(ChangeNodeText(info, current, position)));
    // A cost text that is no integer stops the move here, before the tree is expanded.
    if (const std::optional<bool> ready = ReadinessAfterMove(current, position, S(edExpense->text())))
        butActIn->setEnabled(*ready);
    tvAction->expandAll();
}

void TFormKestal::tbXXExit(int factor)
{
    QTreeWidgetItem* changes = TreeNode(PendingMeasureNodes(measures).changes);
    QTreeWidgetItem* node = FactorNode(changes, factor);
    if (node && node->text(0) == Q(NoChangeText)) delete node;
}

void TFormKestal::edExpenseChange()
{
    if (const std::optional<bool> ready = ReadinessAfterCostChange(S(edExpense->text()), MeasureEditorRows()))
        butActIn->setEnabled(*ready);
}

void TFormKestal::butResetClick()
{
    measures.MeasureCount = 0;
    measures.ChangeTotal = 0;
    buttonRunOpt->setEnabled(false);
    edOutTimeOpt->clear();
    tvAction->clear();
    edActName->setText(Q(MeasureNameText(1)));
    edExpense->setText(QStringLiteral("0"));
    WriteLines(RichEdit3, QStringList{Q(ListingTitle)});
    PageControl1->setTabVisible(PageControl1->indexOf(tsResaltAct), false);
    BuildInitialTree(tvAction);
    for (int factor = 0; factor < FactorCount; ++factor) {
        const MeasureControls& controls = measureControls[factor];
        ShowPanelLocked(factor, false);
        ShowPanelSelected(factor, false);
        controls.after->setText(controls.before->text());
        const QSignalBlocker blocker(controls.bar);
        controls.bar->setValue(CurrentItem(factor));
    }
    ClearMeasureStore(measures);
    ClearPlanTable(measures);
    pcFactOpt->setEnabled(true);
}
