// The window's undo and redo: each change of the assessment kept as the session's whole state
// before and after it, on an undo stack whose clean state is the one last saved or opened.
#pragma once

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <string>

#include "assessment/Session.h"

class QAction;
class QMenu;
class QWidget;

namespace kestal {

class UndoHistory : public QObject {
public:
    // `show` brings the window in line with the session after an undo or a redo.
    UndoHistory(Session& session, std::function<void()> show, QObject* parent);
    ~UndoHistory() override;

    // The session's state as it stands starts the history: nothing to undo or redo, saved.
    void Start();
    // After an action: a change of what the assessment holds since the state last recorded is
    // pushed, named `name` or else by what changed; consecutive typing into one amount field is one
    // change. Moves of the measure editor, typed names and views push nothing: they go with the next
    // change, and its undo takes them back too.
    void Record(const std::string& name = {});
    // The state as it stands is taken as recorded, not as a change (the start's own adjustments).
    void Absorb();

    // Whether the state is not the one last saved or opened.
    bool Unsaved() const { return !stack_.isClean(); }
    void MarkSaved() { stack_.setClean(); }
    // Unsaved with nothing to undo: a new assessment built from elsewhere and never saved.
    void MarkNeverSaved() { stack_.resetClean(); }
    // Whether nothing was recorded since the start.
    bool Untouched() const { return stack_.count() == 0; }

    // The items "Отменить: …" (Ctrl+Z) and "Повторить: …" (Ctrl+Shift+Z, Ctrl+Y) in `menu`.
    void AddActions(QMenu* menu);
    // While work runs in the background nothing is undone or redone: both items are disabled.
    void SetIdle(bool idle);
    // The undo and redo keys typed into `field` (an amount whose typing is recorded) undo and redo
    // the window's changes rather than the field's own text.
    void TakeKeysOf(QWidget* field);

    const QUndoStack& stack() const { return stack_; }
    QUndoStack& stack() { return stack_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class StateChange;
    void Restore(const std::shared_ptr<const SessionState>& state);
    void ShowActions();

    Session& session_;
    std::function<void()> show_;
    QUndoStack stack_;
    std::shared_ptr<const SessionState> recorded_;  // the state after the last change, or the start
    bool restoring_ = false;
    bool idle_ = true;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace kestal
