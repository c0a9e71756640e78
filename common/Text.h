// UTF-8 text helpers: short texts of fixed capacity are cut by characters, not bytes.
#pragma once

#include <cstddef>
#include <string>

// The first `capacity` characters (code points) of a UTF-8 text.
std::string CutToCapacity(const std::string& text, std::size_t capacity);

// Number of characters (code points) of a UTF-8 text.
std::size_t CharacterCount(const std::string& text);
