// Writing JSON documents: the library writes texts, integers, truth values and nulls; the literals
// of the other numbers are written as they stand.
#include "common/JsonText.h"

#include <charconv>
#include <cmath>

namespace kestal {

namespace {

std::string Leaf(const JsonOut& value) { return value.dump(-1, ' ', false, JsonOut::error_handler_t::replace); }

// The member of the top object whose value is written from rows, if any.
struct RowsMember {
    const std::string* key = nullptr;
    const JsonRows* rows = nullptr;
};

void Write(const JsonOut& value, int indent, int depth, std::string& out, const RowsMember& streamed = {});

void WriteRows(const JsonRows& rows, std::string& out)
{
    out += '[';
    for (std::size_t i = 0; i < rows.count; ++i) {
        if (i) out += ',';
        Write(rows.row(i), -1, 0, out);
    }
    out += ']';
}

void Write(const JsonOut& value, int indent, int depth, std::string& out, const RowsMember& streamed)
{
    const bool object = value.is_object();
    if (value.is_binary()) {
        out.append(value.get_binary().begin(), value.get_binary().end());
        return;
    }
    if (!(object || value.is_array()) || value.empty()) {
        out += Leaf(value);
        return;
    }
    const auto newLine = [&](int level) {
        if (indent < 0) return;
        out += '\n';
        out.append(static_cast<std::size_t>(indent * level), ' ');
    };
    out += object ? '{' : '[';
    bool first = true;
    for (auto member = value.begin(); member != value.end(); ++member) {
        if (!first) out += ',';
        first = false;
        newLine(depth + 1);
        if (object) out += Leaf(JsonOut(member.key())) + (indent < 0 ? ":" : ": ");
        if (object && streamed.key && member.key() == *streamed.key)
            WriteRows(*streamed.rows, out);
        else
            Write(*member, indent, depth + 1, out);
    }
    newLine(depth);
    out += object ? '}' : ']';
}

}  // namespace

JsonOut JsonLiteral(const std::string& literal)
{
    return JsonOut::binary(std::vector<std::uint8_t>(literal.begin(), literal.end()));
}

JsonOut JsonNumber(long double value)
{
    if (!std::isfinite(value)) return nullptr;
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr;
    return JsonLiteral(std::string(text, end));
}

JsonOut JsonNumber(const std::optional<long double>& value) { return value ? JsonNumber(*value) : JsonOut(nullptr); }

std::string JsonText(const JsonOut& value, int indent)
{
    std::string text;
    Write(value, indent, 0, text);
    return text;
}

std::string JsonText(const JsonOut& document, const std::string& key, const JsonRows& rows)
{
    std::string text;
    Write(document, -1, 0, text, {&key, &rows});
    return text;
}

}  // namespace kestal
