// Typed reading of a parsed JSON document with the path of each value.
#include "Session/JsonNode.h"

#include <algorithm>
#include <cmath>
#include <limits>

void JsonNode::Refuse(const std::string& problem) const
{
    throw DocumentProblem{path_, problem};
}

void JsonNode::ExpectObject(std::initializer_list<std::string_view> keys) const
{
    if (!value_->is_object()) Refuse("ожидается объект");
    for (const auto& member : value_->items())
        if (std::find(keys.begin(), keys.end(), member.key()) == keys.end())
            (*this)[member.key()].Refuse("неизвестное поле");
}

bool JsonNode::Has(std::string_view key) const
{
    return value_->is_object() && value_->contains(key);
}

JsonNode JsonNode::operator[](std::string_view key) const
{
    if (!value_->is_object()) Refuse("ожидается объект");
    const std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
    const auto found = value_->find(key);
    if (found == value_->end()) throw DocumentProblem{path, "нет поля"};
    return JsonNode(*found, path);
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
    for (std::size_t i = 0; i < size; ++i) items.emplace_back((*value_)[i], path_ + "[" + std::to_string(i) + "]");
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
