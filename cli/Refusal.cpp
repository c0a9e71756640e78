// How kestal-sim refuses its input: one line, naming the option or value at fault.
#include "cli/Refusal.h"

#include <algorithm>
#include <cstdio>

#include "common/Conversions.h"
#include "common/Text.h"

namespace kestal {

std::string Subject(const std::string& option, const std::string& value) { return option + " '" + value + "'"; }

int32_t IntegerOf(const std::string& subject, const std::string& text, const std::string& range)
{
    try {
        return ParseInteger(text);
    } catch (const KestalError& error) {
        throw UsageError(subject + ": " + error.what() + "; " + range);
    }
}

namespace {

// The length of the well-formed UTF-8 character at `at`, 0 when the byte there starts none.
std::size_t CharacterLength(const std::string& text, std::size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::string character = text.substr(at, length);
    return character.size() == length && InvalidUtf8Offset(character) == std::string::npos ? length : 0;
}

}  // namespace

std::string OneLine(const std::string& text)
{
    std::string line;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = CharacterLength(text, at);
        // C0 controls, DEL and the C1 controls U+0080..U+009F (0xC2 0x80..0x9F).
        const bool control = byte < 0x20 || byte == 0x7F ||
                             (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0);
        if (length != 0 && !control) {
            line.append(text, at, length);
        } else if (byte == '\n' || byte == '\r' || byte == '\t') {
            line += byte == '\n' ? "\\n" : byte == '\r' ? "\\r" : "\\t";
        } else {
            for (std::size_t k = 0; k < std::max<std::size_t>(length, 1); ++k) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[at + k]));
                line += escape;
            }
        }
        at += std::max<std::size_t>(length, 1);
    }
    return line;
}

}  // namespace kestal
