// Capture of the pending measure by ">>" (or the Enter key while ">>" can be pressed): the store and
// the plan table take it, its factors are locked and the monitor tree makes room for the next one.
#include "Main_U/TFormKestal.h"

#include <QComboBox>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

#include "ActSelect/Capture.h"
#include "Main_U/ActionTree.h"
#include "Main_U/Guard.h"
#include "Main_U/UiLocale.h"
#include "Main_U/UiText.h"
#include "common/Conversions.h"

namespace {

// The Enter keys of a page press its default button while the button is enabled and the page is
// shown, wherever the focus is within the window.
class DefaultButtonKeys : public QObject {
public:
    DefaultButtonKeys(QPushButton* button, QWidget* page) : QObject(button), button_(button)
    {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            auto* shortcut = new QShortcut(QKeySequence(key), page);
            shortcut->setContext(Qt::WindowShortcut);
            shortcut->setAutoRepeat(false);
            shortcut->setEnabled(button->isEnabled());
            // A focused button takes Enter itself ("Сброс"); elsewhere on the page Enter presses ">>".
            QObject::connect(shortcut, &QShortcut::activated, button, [button] {
                auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
                (focused ? focused : button)->click();
            });
            shortcuts_.push_back(shortcut);
        }
        button->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            for (QShortcut* shortcut : shortcuts_) shortcut->setEnabled(button_->isEnabled());
        return false;
    }

private:
    QPushButton* button_;
    std::vector<QShortcut*> shortcuts_;
};

}  // namespace

void TFormKestal::ConnectMeasureCapture()
{
    connect(butActIn, &QPushButton::clicked, this, Guard(this, [this] { butActInClick(); }));
    new DefaultButtonKeys(butActIn, tsAction);
}

void TFormKestal::MatchChangeNodes(QTreeWidgetItem* changes, const std::vector<int>& factors)
{
    // A node left by a factor whose level was then set on the modeling page holds no change.
    for (int child = changes->childCount() - 1; child >= 0; --child) {
        const int factor = NodeFactor(changes->child(child));
        if (std::find(factors.begin(), factors.end(), factor) == factors.end()) delete changes->child(child);
    }
    for (const int factor : factors) {
        if (FactorNode(changes, factor)) continue;
        const FactorInfo& info = FactorCatalogue[factor];
        auto* node = new QTreeWidgetItem(changes, QStringList(Q(ChangeNodeText(
                                                      info, CurrentItem(factor), measureControls[factor].bar->value()))));
        SetNodeImage(node, GroupImage(info));
        SetNodeFactor(node, factor);
    }
}

void TFormKestal::butActInClick()
{
    // A bar that keeps the focus through the press closes its change node first, as a click would.
    for (const MeasureControls& controls : measureControls)
        if (controls.bar->hasFocus()) controls.bar->clearFocus();
    // The estimate rewritten afterwards needs K and N: every text is read before anything changes.
    ParseInteger(S(cbInputKOpt->currentText()));
    ParseInteger(S(cbInputNOpt->currentText()));
    QTreeWidgetItem* changes = TreeNode(PendingMeasureNodes(measures).changes);
    const CaptureResult result =
        CaptureMeasure(measures, settings,
                       {MeasureEditorRows(), S(edActName->text()), S(edExpense->text()), S(edAllMoney->text()),
                        S(edDamage->text())},
                       UiNumberLocale());
    cbInputKOptChange();
    buttonRunOpt->setEnabled(result.runEnabled);
    if (result.captured) {
        for (const int factor : result.lockedFactors) {
            ShowPanelLocked(factor, true);
            ShowPanelSelected(factor, false);
        }
        MatchChangeNodes(changes, result.lockedFactors);
        TreeNode(result.costNode)->setText(0, Q(result.costNodeText));
        edActName->setText(Q(result.nextName));
        AddMeasureNode(TreeNode(0), Q(result.nextName));
    }
    butActIn->setEnabled(false);
    edExpense->setText(QStringLiteral("0"));
}
