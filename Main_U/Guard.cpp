// The error guard: the system's errors become a message box, and the window goes on.
#include "Main_U/Guard.h"

#include <QMessageBox>

#include <exception>

#include "Main_U/UiText.h"

void Guarded(QWidget* parent, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        QMessageBox::critical(parent, Q(ApplicationTitle), QString::fromUtf8(error.what()));
    }
}
