// The window's undo and redo of changes to the assessment, as snapshots of the session's state.
#include "window/UndoHistory.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <utility>

#include "assessment/ChangeName.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

// Changes kept for undoing. A state takes about 0.3 MB (its tables are of fixed size), and each
// change keeps one state (its state before is the previous one's after): some 30 MB at most.
constexpr int UndoLimit = 100;

const QString UndoText = QStringLiteral("Отменить");
const QString RedoText = QStringLiteral("Повторить");

// The keys of the two items; a field that hands them on leaves them to these.
const QList<QKeySequence> UndoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> RedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};

bool IsUndoOrRedoKey(const QKeyEvent* key)
{
    const QKeySequence typed(key->keyCombination());
    return UndoKeys.contains(typed) || RedoKeys.contains(typed);
}

}  // namespace

// One change: the states before and after it, shared with the neighbouring changes.
class StateChange : public QUndoCommand {
public:
    StateChange(UndoHistory& history, std::shared_ptr<const SessionState> before,
                std::shared_ptr<const SessionState> after, const ChangeName& change)
        : QUndoCommand(QText(change.name)),
          history_(history),
          before_(std::move(before)),
          after_(std::move(after)),
          field_(change.field)
    {}

    void undo() override { history_.Restore(before_); }
    void redo() override
    {
        // Pushed after the action: the session holds the state after it already.
        if (pushed_) history_.Restore(after_);
        pushed_ = true;
    }
    int id() const override { return field_ == TypedField::None ? -1 : static_cast<int>(field_); }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const StateChange*>(other);
        if (next->field_ != field_) return false;
        after_ = next->after_;
        // Typed back to what it was: no change is left.
        setObsolete(before_->assessment == after_->assessment);
        return true;
    }

private:
    UndoHistory& history_;
    std::shared_ptr<const SessionState> before_;
    std::shared_ptr<const SessionState> after_;
    TypedField field_;
    bool pushed_ = false;
};

UndoHistory::UndoHistory(Session& session, std::function<void()> show, QObject* parent)
    : QObject(parent), session_(session), show_(std::move(show))
{
    stack_.setUndoLimit(UndoLimit);
    connect(&stack_, &QUndoStack::indexChanged, this, [this] { ShowActions(); });
    connect(&stack_, &QUndoStack::cleanChanged, this, [this] { ShowActions(); });
    Start();
}

UndoHistory::~UndoHistory()
{
    // The stack empties itself as it goes, and what heard of its changes may be gone already.
    stack_.disconnect();
}

void UndoHistory::Start()
{
    stack_.clear();
    recorded_ = std::make_shared<const SessionState>(session_.state());
    ShowActions();
}

void UndoHistory::Absorb() { recorded_ = std::make_shared<const SessionState>(session_.state()); }

void UndoHistory::Record(const std::string& name)
{
    if (restoring_ || recorded_->assessment == session_.assessment()) return;
    auto after = std::make_shared<const SessionState>(session_.state());
    ChangeName change = NameChange(*recorded_, *after);
    if (!name.empty()) change = {name, TypedField::None};
    auto before = std::exchange(recorded_, after);
    stack_.push(new StateChange(*this, std::move(before), std::move(after), change));
}

void UndoHistory::Restore(const std::shared_ptr<const SessionState>& state)
{
    restoring_ = true;
    session_.Restore(*state);
    recorded_ = state;
    show_();
    restoring_ = false;
}

void UndoHistory::AddActions(QMenu* menu)
{
    undo_ = menu->addAction(UndoText);
    undo_->setObjectName(QStringLiteral("acUndo"));
    undo_->setShortcuts(UndoKeys);
    connect(undo_, &QAction::triggered, this, [this] {
        if (idle_) stack_.undo();
    });
    redo_ = menu->addAction(RedoText);
    redo_->setObjectName(QStringLiteral("acRedo"));
    redo_->setShortcuts(RedoKeys);
    connect(redo_, &QAction::triggered, this, [this] {
        if (idle_) stack_.redo();
    });
    ShowActions();
}

void UndoHistory::SetIdle(bool idle)
{
    idle_ = idle;
    ShowActions();
}

void UndoHistory::ShowActions()
{
    if (!undo_) return;
    const QString undoName = stack_.undoText(), redoName = stack_.redoText();
    undo_->setText(stack_.canUndo() ? UndoText + QStringLiteral(": ") + undoName : UndoText);
    redo_->setText(stack_.canRedo() ? RedoText + QStringLiteral(": ") + redoName : RedoText);
    undo_->setEnabled(idle_ && stack_.canUndo());
    redo_->setEnabled(idle_ && stack_.canRedo());
}

void UndoHistory::TakeKeysOf(QWidget* field)
{
    if (!field) return;
    field->installEventFilter(this);
    if (auto* list = qobject_cast<QComboBox*>(field); list && list->lineEdit())
        list->lineEdit()->installEventFilter(this);
}

bool UndoHistory::eventFilter(QObject*, QEvent* event)
{
    const bool override = event->type() == QEvent::ShortcutOverride;
    if ((!override && event->type() != QEvent::KeyPress) || !IsUndoOrRedoKey(static_cast<QKeyEvent*>(event)))
        return false;
    // Left unaccepted, the keys go on to the window's items; with nothing to undo or redo, the field
    // does not take them for its own text either.
    event->ignore();
    return true;
}

}  // namespace kestal
