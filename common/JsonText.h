// JSON documents built with the JSON library and written as this system writes them: members in the
// order they were added, texts in UTF-8 as they stand (control characters escaped), integers and
// nulls as the library writes them, and every other number as a literal of digits the caller chose.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace kestal {

using JsonOut = nlohmann::ordered_json;

// A number written as `literal` stands: JSON has no number of extended precision, so the writer of
// a document decides the digits. Held as the document's one kind of binary value.
JsonOut JsonLiteral(const std::string& literal);

// `value` with 17 significant digits and "." as the decimal separator, whatever the locale
// ("0.00056893174558283741", "2.1019476964872256e-45", "300"); null when it is not finite or none.
JsonOut JsonNumber(long double value);
JsonOut JsonNumber(const std::optional<long double>& value);

// `value` as text: compact (no blanks) when `indent` is negative, otherwise with each member and
// element on a line of its own, indented by `indent` blanks per level. Texts that are not UTF-8 are
// written with U+FFFD in place of what does not read.
std::string JsonText(const JsonOut& value, int indent = -1);

// A list too long to hold whole as a document (a row per workplace of an enterprise): its elements
// are made one at a time, as they are written.
struct JsonRows {
    std::size_t count = 0;
    std::function<JsonOut(std::size_t index)> row;
};
// `document` written compact, as JsonText writes it, with `rows` as the value of its member `key`
// (which the document holds as a placeholder, in its place among the members).
std::string JsonText(const JsonOut& document, const std::string& key, const JsonRows& rows);

}  // namespace kestal
