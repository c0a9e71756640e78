// JSON string literals for kestal-sim's machine-readable output.
#pragma once

#include <string>

// `text` (UTF-8) as a quoted JSON string.
std::string JsonString(const std::string& text);
