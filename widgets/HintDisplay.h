// The application's hint display: the long part of the hint under the pointer goes to a display
// function whenever it changes.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace kestal {

// Gives a control its hint "short|long". The short part becomes its tooltip where `tooltip` is set
// (and the part is not empty); the long part is what the hint display shows.
void SetHint(QWidget* control, const QString& hint, bool tooltip);

// An application event filter. Whenever the pointer enters or leaves a control, the current hint
// becomes the long part of the hint of that control or of its nearest enclosing control with one
// (empty where there is none, and while a menu is open); `display` runs only when the current hint
// changes.
class HintDisplay : public QObject {
public:
    HintDisplay(QObject* owner, std::function<void(const QString&)> display);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PointerOver(const QWidget* widget);

    std::function<void(const QString&)> display_;
    QString current_;
};

}  // namespace kestal
