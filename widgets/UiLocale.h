// The user's number and time conventions as the logic takes them, and the window's font.
#pragma once

#include <QFont>

#include "common/NumberLocale.h"

namespace kestal {

// Decimal, group and time separators of the default locale (the system's unless a test pins another).
NumberLocale UiNumberLocale();

// The sans-serif font the window is designed for.
QFont KestalFont();

}  // namespace kestal
