// The Enter keys of a page press its default button while the button is enabled and the page is shown.
#pragma once

#include <QObject>

#include <vector>

class QPushButton;
class QShortcut;
class QWidget;

namespace kestal {

// Wherever the focus is within the window; a focused button takes Enter itself.
class DefaultButtonKeys : public QObject {
public:
    DefaultButtonKeys(QPushButton* button, QWidget* page);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* button_;
    std::vector<QShortcut*> shortcuts_;
};

}  // namespace kestal
