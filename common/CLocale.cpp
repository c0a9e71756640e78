// The C library's "C" locale, created once.
#include "common/CLocale.h"

namespace kestal {

locale_t NeutralCLocale()
{
    static const locale_t neutral = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return neutral;
}

}  // namespace kestal
