// UTF-8 text helpers: counting and cutting by code points.
#include "common/Text.h"

namespace kestal {

namespace {

// A byte that starts a code point (anything but a continuation byte 10xxxxxx).
bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::string CutToCapacity(const std::string& text, std::size_t capacity)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (StartsCharacter(text[i]) && characters++ == capacity) return text.substr(0, i);
    }
    return text;
}

std::size_t CharacterCount(const std::string& text)
{
    std::size_t characters = 0;
    for (char byte : text) characters += StartsCharacter(byte) ? 1 : 0;
    return characters;
}

std::size_t InvalidUtf8Offset(const std::string& text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = byte(i);
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // no overlong forms
            if (lead == 0xED) high = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;   // no overlong forms
            if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
        } else {
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size()) return i;
            const unsigned char next = byte(i + k);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return i;
        }
        i += length;
    }
    return std::string::npos;
}

}  // namespace kestal
