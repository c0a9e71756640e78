// Typed reading of a parsed JSON document: each value knows its path, and a value of the wrong
// kind or range is refused with that path and a Russian description of what was expected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace kestal {

using Json = nlohmann::json;

// The text of each number with a fraction or an exponent as the document wrote it, by its path: its
// digits beyond what a double holds.
using NumberTexts = std::map<std::string, std::string>;

// The first problem found in a document: where it is (a JSON path such as
// "measures[1].changes[0].factor", or a line and column) and what is wrong there.
struct DocumentProblem {
    std::string place;
    std::string problem;
};

class JsonNode {
public:
    JsonNode(const Json& value, std::string path, const NumberTexts* numberTexts = nullptr)
        : value_(&value), path_(std::move(path)), numberTexts_(numberTexts)
    {}

    const std::string& path() const { return path_; }
    const Json& value() const { return *value_; }
    [[noreturn]] void Refuse(const std::string& problem) const;

    // An object whose keys are all among `keys` (otherwise: the first other key, "неизвестное поле").
    void ExpectObject(std::initializer_list<std::string_view> keys) const;
    bool Has(std::string_view key) const;
    // The member `key` of an object; "нет поля" where it is missing.
    JsonNode operator[](std::string_view key) const;
    // The elements of an array of `min` to `max` elements; `tooMany` replaces the count's message
    // for an array that is too long.
    std::vector<JsonNode> Items(std::size_t min, std::size_t max, const char* tooMany = nullptr) const;

    bool IsNull() const { return value_->is_null(); }
    bool Bool() const;
    std::string Text() const;
    int64_t Integer(int64_t min, int64_t max) const;
    // A number within the range of single precision, rounded to single.
    float Single() const;
    // An amount: a number read at extended precision from the digits the document wrote, or null
    // for none; one beyond the range of a double is written as a text of its digits ("1e+400").
    // With `anyText`, a text of digits is taken whatever its size.
    std::optional<long double> Amount(bool anyText = false) const;
    // A number as the document wrote it.
    std::string NumberText() const;

private:
    const Json* value_;
    std::string path_;
    const NumberTexts* numberTexts_;
};

}  // namespace kestal
