// UTF-8 text helpers: short texts of fixed capacity are cut by characters, not bytes.
#pragma once

#include <cstddef>
#include <string>

namespace kestal {

// The first `capacity` characters (code points) of a UTF-8 text.
std::string CutToCapacity(const std::string& text, std::size_t capacity);

// Number of characters (code points) of a UTF-8 text.
std::size_t CharacterCount(const std::string& text);

// The byte offset where the first ill-formed UTF-8 sequence starts (overlong forms, surrogates and
// code points beyond U+10FFFF are ill-formed); npos when the whole text is well-formed.
std::size_t InvalidUtf8Offset(const std::string& text);

}  // namespace kestal
