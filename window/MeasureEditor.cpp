// The measure editor of the page "Комплекс мер" as a view of the session: factor selection, the bars
// and their focus, the name and cost, ">>", "Сброс", the panels and the tree; the user's edits sent up.
#include "window/MeasurePage.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>

#include <functional>

#include "window/ActionTree.h"
#include "widgets/DefaultButtonKeys.h"
#include "widgets/FactorPanel.h"
#include "widgets/Monitor.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace kestal {

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

}  // namespace

void MeasurePage::ConnectEditor()
{
    for (int factor = 0; factor < FactorCount; ++factor) {
        const MeasureControls& controls = measureControls[factor];
        // Clicks on the name, the id and the level before reach the panel: the labels pass them on.
        connect(controls.panel, &FactorPanel::clicked, this, [this, factor] { emit factorChosen(factor); });
        // The program sets positions with the bar's signals blocked: only the user's moves arrive.
        connect(controls.bar, &QSlider::valueChanged, this,
                [this, factor](int position) { emit barMoved(factor, position); });
        new FocusWatch(
            controls.bar, [this, factor] { emit barEntered(factor); }, [this, factor] { emit barLeft(factor); });
    }
    connect(edActName, &QLineEdit::textChanged, this, &MeasurePage::nameEdited);
    connect(edExpense, &QLineEdit::textChanged, this, &MeasurePage::costEdited);
    connect(butReset, &QPushButton::clicked, this, &MeasurePage::resetRequested);
    connect(butActIn, &QPushButton::clicked, this, [this] { Capture(); });
    new DefaultButtonKeys(butActIn, this);
}

void MeasurePage::Capture()
{
    // A bar that keeps the focus through the press closes its change node first, as a click would.
    for (const MeasureControls& controls : measureControls)
        if (controls.bar->hasFocus()) controls.bar->clearFocus();
    emit captureRequested();
}

void MeasurePage::ShowEditor(const Session& session)
{
    const Presentation& shown = session.state().shown;
    SetEditText(edActName, QText(shown.measureName));
    SetEditText(edExpense, QText(shown.costText));
    butActIn->setEnabled(session.CaptureButtonEnabled());
    pcFactOpt->setEnabled(shown.editorEnabled);
    for (int factor = 0; factor < FactorCount; ++factor) ShowPanel(session, factor);
    ShowTree(tvAction, shown.tree);
    if (treeExpansionsShown_ != shown.treeExpansions) {
        treeExpansionsShown_ = shown.treeExpansions;
        tvAction->expandAll();
    }
}

void MeasurePage::ShowPanel(const Session& session, int factor)
{
    const EditorRow row = session.state().Row(factor);
    const MeasureControls& controls = measureControls[factor];
    const bool selected = session.state().shown.selectedFactor == factor;
    controls.before->setText(QText(row.levelBefore));
    controls.after->setText(QText(row.levelAfter));
    if (controls.bar->value() != row.position) {
        const QSignalBlocker blocker(controls.bar);
        controls.bar->setValue(row.position);
    }
    controls.panel->setColour(selected ? HighlightColour() : LightColour());
    controls.after->setEnabled(selected);
    // A bar out of use gives up the focus first, so that its exit runs before it is gone.
    if (!selected && controls.bar->hasFocus()) controls.bar->clearFocus();
    controls.bar->setEnabled(selected);
    controls.bar->setTickPosition(selected ? QSlider::TicksBelow : QSlider::NoTicks);
    // A locked panel: its labels, its level before and the panel itself take no more clicks.
    controls.name->setEnabled(!row.locked);
    if (controls.id) controls.id->setEnabled(!row.locked);
    controls.before->setEnabled(!row.locked);
    controls.panel->setEnabled(!row.locked);
}

}  // namespace kestal
