// Parsing a JSON document whole: a builder of the document that refuses repeated keys and deep
// nesting, and the places of faults as lines and columns.
#include "project/JsonDocument.h"

#include <algorithm>
#include <vector>

#include "common/Text.h"

namespace kestal {

namespace {

// Where a fault of the text was found: at the byte `offset`, or at the end of the text.
struct TextFault {
    std::size_t offset;
    std::string problem;
};

// Builds the document from the parser's events; a container being filled is the last one opened
// in its parent, so the pointers to the open containers stay valid until they close.
class DocumentBuilder {
public:
    explicit DocumentBuilder(std::size_t maxDepth) : maxDepth_(maxDepth) {}
    Json root;
    NumberTexts numberTexts;

    bool null() { return Put(nullptr); }
    bool boolean(bool value) { return Put(value); }
    bool number_integer(Json::number_integer_t value) { return Put(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Put(value); }
    bool number_float(Json::number_float_t value, const Json::string_t& text)
    {
        numberTexts.emplace(NextPath(), text);
        return Put(value);
    }
    bool string(Json::string_t& value) { return Put(std::move(value)); }
    bool binary(Json::binary_t& value) { return Put(std::move(value)); }
    bool start_object(std::size_t) { return Open(Json::object()); }
    bool start_array(std::size_t) { return Open(Json::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(Json::string_t& name)
    {
        Container& object = open_.back();
        object.key = name;
        if (object.value->contains(name)) throw DocumentProblem{PathOfMember(object), "поле повторяется"};
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& error)
    {
        // The position counts the bytes read, the fault's last one included.
        if (error.id == 406) throw TextFault{position - token.size(), "число вне допустимого диапазона"};
        throw TextFault{position - 1, "ошибка в записи JSON"};
    }

private:
    struct Container {
        Json* value;
        std::string path;
        std::string key;  // of the member being read, in an object
    };

    static std::string PathOfMember(const Container& object)
    {
        return object.path.empty() ? object.key : object.path + "." + object.key;
    }

    // The path of the value about to be placed.
    std::string NextPath() const
    {
        if (open_.empty()) return "";
        const Container& parent = open_.back();
        return parent.value->is_array() ? parent.path + "[" + std::to_string(parent.value->size()) + "]"
                                        : PathOfMember(parent);
    }

    // The value in its place: the root, the next element of an array or the member being read.
    template <class Value>
    Json* Place(Value&& value)
    {
        if (open_.empty()) return &(root = std::forward<Value>(value));
        Container& parent = open_.back();
        if (!parent.value->is_array()) return &((*parent.value)[parent.key] = std::forward<Value>(value));
        parent.value->push_back(std::forward<Value>(value));
        return &parent.value->back();
    }

    template <class Value>
    bool Put(Value&& value)
    {
        Place(std::forward<Value>(value));
        return true;
    }

    bool Open(Json container)
    {
        std::string path = NextPath();
        if (open_.size() == maxDepth_) throw DocumentProblem{path, "слишком глубокая вложенность"};
        open_.push_back({Place(std::move(container)), std::move(path), {}});
        return true;
    }

    bool Close()
    {
        open_.pop_back();
        return true;
    }

    std::size_t maxDepth_;
    std::vector<Container> open_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::string LineAndColumn(const std::string& bytes, std::size_t offset)
{
    offset = std::min(offset, bytes.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i)
        if (bytes[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    const std::size_t column = 1 + CharacterCount(bytes.substr(lineStart, offset - lineStart));
    return "строка " + std::to_string(line) + ", столбец " + std::to_string(column);
}

JsonDocument ParseJsonDocument(const std::string& bytes, std::size_t maxDepth)
{
    if (std::all_of(bytes.begin(), bytes.end(), IsBlank)) throw DocumentProblem{"", "файл пуст"};
    if (const std::size_t bad = InvalidUtf8Offset(bytes); bad != std::string::npos)
        throw DocumentProblem{LineAndColumn(bytes, bad), "текст не в кодировке UTF-8"};
    DocumentBuilder builder(maxDepth);
    try {
        Json::sax_parse(bytes, &builder);
    } catch (const TextFault& fault) {
        if (fault.offset >= bytes.size()) throw DocumentProblem{LineAndColumn(bytes, bytes.size()), "файл обрывается"};
        throw DocumentProblem{LineAndColumn(bytes, fault.offset), fault.problem};
    }
    return {std::move(builder.root), std::move(builder.numberTexts)};
}

}  // namespace kestal
