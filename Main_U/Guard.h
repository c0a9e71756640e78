// The one error guard that every handler of the window runs inside.
#pragma once

#include <functional>

class QWidget;

// Runs `handler`. An error it raises ends it there: what it did before stays done, and the error's
// text is shown in a critical message box titled "Kestal 2.0" over `parent`. Errors never pass on
// into the toolkit's own frames.
void Guarded(QWidget* parent, const std::function<void()>& handler);

// A slot without arguments that runs `handler` guarded.
template <class Handler>
auto Guard(QWidget* parent, Handler handler)
{
    return [parent, handler] { Guarded(parent, handler); };
}
