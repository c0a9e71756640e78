// The Enter keys of a page and its default button.
#include "widgets/DefaultButtonKeys.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QShortcut>

namespace kestal {

DefaultButtonKeys::DefaultButtonKeys(QPushButton* button, QWidget* page) : QObject(button), button_(button)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), page);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        shortcut->setEnabled(button->isEnabled());
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
            (focused ? focused : button)->click();
        });
        shortcuts_.push_back(shortcut);
    }
    button->installEventFilter(this);
}

bool DefaultButtonKeys::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        for (QShortcut* shortcut : shortcuts_) shortcut->setEnabled(button_->isEnabled());
    return false;
}

}  // namespace kestal
