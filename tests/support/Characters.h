// Test helper: the characters of a UTF-8 text, counted independently of the library.
#pragma once

#include <cstddef>
#include <string>

// Code points: every byte that is not a continuation byte 10xxxxxx starts one.
inline std::size_t Characters(const std::string& text)
{
    std::size_t count = 0;
    for (unsigned char byte : text)
        if ((byte & 0xC0) != 0x80) ++count;
    return count;
}
