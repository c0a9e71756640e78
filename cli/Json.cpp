// JSON string literals and numbers for kestal-sim's machine-readable output.
#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kestal {

std::string JsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

std::string JsonNumber(long double value)
{
    if (!std::isfinite(value)) return "null";
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr;
    return std::string(text, end);
}

}  // namespace kestal
