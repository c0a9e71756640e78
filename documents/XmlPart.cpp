// Reading and writing a package's XML parts through pugixml.
#include "documents/XmlPart.h"

#include "common/KestalError.h"

namespace kestal {

namespace {

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, std::size_t size) override { bytes.append(static_cast<const char*>(data), size); }
};

// The template's walks go down the tree by recursion; no real document nests nearly this deep.
constexpr int MaxDepth = 500;

bool Deeper(pugi::xml_node root, int limit)
{
    int depth = 0;
    for (pugi::xml_node node = root; node;) {
        if (node.first_child()) {
            node = node.first_child();
            if (++depth > limit) return true;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node) node = node.next_sibling();
    }
    return false;
}

}  // namespace

std::unique_ptr<pugi::xml_document> ReadXmlPart(const std::string& bytes, const std::string& partName)
{
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = document->load_buffer(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration,
        pugi::encoding_utf8);
    if (!result)
        throw KestalError("часть " + partName + " не читается как XML: " + result.description() + " (байт " +
                          std::to_string(result.offset) + ")");
    if (!document->document_element()) throw KestalError("часть " + partName + " не содержит XML");
    if (Deeper(*document, MaxDepth))
        throw KestalError("часть " + partName + " вложена глубже " + std::to_string(MaxDepth) + " уровней");
    return document;
}

std::string WriteXmlPart(const pugi::xml_document& document)
{
    StringWriter writer;
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(writer.bytes);
}

void SetAttribute(pugi::xml_node element, const char* name, const std::string& value)
{
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) attribute = element.append_attribute(name);
    attribute.set_value(value.c_str());
}

}  // namespace kestal
