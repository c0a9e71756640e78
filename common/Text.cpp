// UTF-8 text helpers: counting and cutting by code points.
#include "common/Text.h"

namespace {

// A byte that starts a code point (anything but a continuation byte 10xxxxxx).
bool StartsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

std::string CutToCapacity(const std::string& text, std::size_t capacity)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (StartsCharacter(text[i]) && characters++ == capacity)
            return text.substr(0, i);
    }
    return text;
}

std::size_t CharacterCount(const std::string& text)
{
    std::size_t characters = 0;
    for (char byte : text)
        characters += StartsCharacter(byte) ? 1 : 0;
    return characters;
}
