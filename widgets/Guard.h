// The one error guard that every handler of the window runs inside.
#pragma once

#include <functional>

class QWidget;
class QString;

namespace kestal {

// Runs `handler`. An error it raises ends it there: what it did before stays done, and the error's
// text is shown by ShowError. Errors never pass on into the toolkit's own frames. True when the
// handler ran to its end.
bool Guarded(QWidget* parent, const std::function<void()>& handler);

// The error box: the message in a critical message box titled "Kestal 2.0" over `parent`.
void ShowError(QWidget* parent, const QString& message);

// A slot without arguments that runs `handler` guarded.
template <class Handler>
auto Guard(QWidget* parent, Handler handler)
{
    return [parent, handler] { Guarded(parent, handler); };
}

}  // namespace kestal
