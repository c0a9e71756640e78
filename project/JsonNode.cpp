// Typed reading of a parsed JSON document with the path of each value.
#include "project/JsonNode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/CLocale.h"

namespace kestal {

void JsonNode::Refuse(const std::string& problem) const { throw DocumentProblem{path_, problem}; }

void JsonNode::ExpectObject(std::initializer_list<std::string_view> keys) const
{
    if (!value_->is_object()) Refuse("ожидается объект");
    for (const auto& member : value_->items())
        if (std::find(keys.begin(), keys.end(), member.key()) == keys.end())
            (*this)[member.key()].Refuse("неизвестное поле");
}

bool JsonNode::Has(std::string_view key) const { return value_->is_object() && value_->contains(key); }

JsonNode JsonNode::operator[](std::string_view key) const
{
    if (!value_->is_object()) Refuse("ожидается объект");
    const std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
    const auto found = value_->find(key);
    if (found == value_->end()) throw DocumentProblem{path, "нет поля"};
    return JsonNode(*found, path, numberTexts_);
}

std::vector<JsonNode> JsonNode::Items(std::size_t min, std::size_t max, const char* tooMany) const
{
    if (!value_->is_array()) Refuse("ожидается массив");
    const std::size_t size = value_->size();
    if (size > max && tooMany) Refuse(tooMany);
    if (size < min || size > max)
        Refuse(min == max ? "число элементов должно быть " + std::to_string(min)
                          : "число элементов должно быть от " + std::to_string(min) + " до " + std::to_string(max));
    std::vector<JsonNode> items;
    items.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        items.emplace_back((*value_)[i], path_ + "[" + std::to_string(i) + "]", numberTexts_);
    return items;
}

bool JsonNode::Bool() const
{
    if (!value_->is_boolean()) Refuse("ожидается true или false");
    return value_->get<bool>();
}

std::string JsonNode::Text() const
{
    if (!value_->is_string()) Refuse("ожидается текст");
    return value_->get<std::string>();
}

int64_t JsonNode::Integer(int64_t min, int64_t max) const
{
    const std::string range = "ожидается целое число от " + std::to_string(min) + " до " + std::to_string(max);
    if (!value_->is_number_integer()) Refuse(range);
    if (value_->is_number_unsigned() && value_->get<uint64_t>() > static_cast<uint64_t>(max)) Refuse(range);
    const int64_t number = value_->get<int64_t>();
    if (number < min || number > max) Refuse(range);
    return number;
}

float JsonNode::Single() const
{
    if (!value_->is_number()) Refuse("ожидается число");
    const double number = value_->get<double>();
    if (!(std::fabs(number) <= std::numeric_limits<float>::max())) Refuse("число вне допустимого диапазона");
    return static_cast<float>(number);
}

std::string JsonNode::NumberText() const
{
    if (numberTexts_ && value_->is_number_float())
        if (const auto found = numberTexts_->find(path_); found != numberTexts_->end()) return found->second;
    return value_->dump();
}

std::optional<long double> JsonNode::Amount(bool anyText) const
{
    if (value_->is_null()) return std::nullopt;
    if (value_->is_number_unsigned()) return static_cast<long double>(value_->get<uint64_t>());
    if (value_->is_number_integer()) return static_cast<long double>(value_->get<int64_t>());
    if (!value_->is_number_float() && !value_->is_string()) Refuse("ожидается число или null");
    const std::string text = value_->is_string() ? Text() : NumberText();
    // Digits, a sign, a point and an exponent only, read as a typed amount is read: correctly
    // rounded, subnormal results kept.
    char* end = nullptr;
    const bool number = !text.empty() && text.find_first_not_of("0123456789.eE+-") == std::string::npos;
    const long double amount = number ? strtold_l(text.c_str(), &end, NeutralCLocale()) : 0.0L;
    if (end != text.c_str() + text.size() || !std::isfinite(amount))
        Refuse(value_->is_string() ? "ожидается число" : "число вне допустимого диапазона");
    // Otherwise a text holds only what a JSON number cannot.
    if (value_->is_string() && !anyText && std::fabs(amount) <= std::numeric_limits<double>::max())
        Refuse("ожидается число или null");
    return amount;
}

}  // namespace kestal
