// The error guard: the system's errors become a message box, and the window goes on.
#include "widgets/Guard.h"

#include <QMessageBox>

#include <exception>

#include "widgets/UiText.h"

namespace kestal {

bool Guarded(QWidget* parent, const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ShowError(parent, QString::fromUtf8(error.what()));
        return false;
    }
}

void ShowError(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, QText(ApplicationTitle), message);
}

}  // namespace kestal
