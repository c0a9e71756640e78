// The element names of ODT and DOCX text, tables and marks.
#include "documents/DocumentXml.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kestal {

namespace {

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    for (std::string_view candidate : names)
        if (name == candidate) return true;
    return false;
}

BlockRole OdtBlockRole(std::string_view name)
{
    if (IsOneOf(name, {"text:p", "text:h"})) return BlockRole::Paragraph;
    if (name == "table:table") return BlockRole::Table;
    if (name == "table:table-row") return BlockRole::Row;
    if (IsOneOf(name, {"table:table-cell", "table:covered-table-cell"})) return BlockRole::Cell;
    if (IsOneOf(name, {"style:header", "style:header-left", "style:header-first"})) return BlockRole::Header;
    if (IsOneOf(name, {"style:footer", "style:footer-left", "style:footer-first"})) return BlockRole::Footer;
    if (IsOneOf(name, {"office:annotation", "text:tracked-changes"})) return BlockRole::Ignored;
    return BlockRole::Other;
}

BlockRole DocxBlockRole(std::string_view name)
{
    if (name == "w:p") return BlockRole::Paragraph;
    if (name == "w:tbl") return BlockRole::Table;
    if (name == "w:tr") return BlockRole::Row;
    if (name == "w:tc") return BlockRole::Cell;
    if (IsOneOf(name, {"w:del", "w:moveFrom"})) return BlockRole::Ignored;
    return BlockRole::Other;
}

InlineRole OdtInlineRole(std::string_view name)
{
    if (IsOneOf(name, {"text:span", "text:a", "text:meta", "text:ruby", "text:ruby-base"}))
        return InlineRole::Container;
    if (IsOneOf(name, {"office:annotation", "office:annotation-end", "text:soft-page-break", "text:ruby-text"}) ||
        name.starts_with("text:bookmark") || name.starts_with("text:reference-mark") ||
        name.starts_with("text:change") || name.starts_with("text:toc-mark") ||
        name.starts_with("text:alphabetical-index-mark") || name.starts_with("text:user-index-mark"))
        return InlineRole::Skipped;
    return InlineRole::Barrier;
}

InlineRole DocxInlineRole(std::string_view name)
{
    if (name == "w:t") return InlineRole::Text;
    if (IsOneOf(name, {"w:r", "w:hyperlink", "w:smartTag", "w:ins", "w:customXml", "w:sdt", "w:sdtContent", "w:moveTo",
                       "w:dir", "w:bdo"}))
        return InlineRole::Container;
    if (IsOneOf(name, {"w:pPr",
                       "w:rPr",
                       "w:del",
                       "w:moveFrom",
                       "w:proofErr",
                       "w:bookmarkStart",
                       "w:bookmarkEnd",
                       "w:commentRangeStart",
                       "w:commentRangeEnd",
                       "w:commentReference",
                       "w:lastRenderedPageBreak",
                       "w:delText",
                       "w:instrText",
                       "w:delInstrText",
                       "w:permStart",
                       "w:permEnd",
                       "w:sdtPr",
                       "w:sdtEndPr",
                       "w:moveFromRangeStart",
                       "w:moveFromRangeEnd",
                       "w:moveToRangeStart",
                       "w:moveToRangeEnd"}))
        return InlineRole::Skipped;
    return InlineRole::Barrier;
}

bool IsBookmark(DocumentFormat format, std::string_view name)
{
    return format == DocumentFormat::Odt ? name.starts_with("text:bookmark")
                                         : IsOneOf(name, {"w:bookmarkStart", "w:bookmarkEnd"});
}

}  // namespace

BlockRole BlockRoleOf(DocumentFormat format, pugi::xml_node element)
{
    return format == DocumentFormat::Odt ? OdtBlockRole(element.name()) : DocxBlockRole(element.name());
}

InlineRole InlineRoleOf(DocumentFormat format, pugi::xml_node element)
{
    return format == DocumentFormat::Odt ? OdtInlineRole(element.name()) : DocxInlineRole(element.name());
}

bool HasRows(DocumentFormat format, pugi::xml_node table)
{
    for (pugi::xml_node child : table.children()) {
        const BlockRole role = BlockRoleOf(format, child);
        if (role == BlockRole::Row) return true;
        if (role != BlockRole::Table && child.type() == pugi::node_element && HasRows(format, child)) return true;
    }
    return false;
}

void RemoveBlock(DocumentFormat format, pugi::xml_node block)
{
    if (format != DocumentFormat::Docx || !block.child("w:pPr").child("w:sectPr")) {
        block.parent().remove_child(block);
        return;
    }
    for (pugi::xml_node child = block.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (std::strcmp(child.name(), "w:pPr") != 0) block.remove_child(child);
        child = next;
    }
}

void KeepCellValid(DocumentFormat format, pugi::xml_node cell)
{
    if (format != DocumentFormat::Docx || std::strcmp(cell.name(), "w:tc") != 0) return;
    pugi::xml_node last = cell.last_child();
    while (last && last.type() != pugi::node_element) last = last.previous_sibling();
    if (!last || std::strcmp(last.name(), "w:p") != 0) cell.append_child("w:p");
}

void MakeCopyUnique(DocumentFormat format, pugi::xml_node copy, bool keepBookmarks, unsigned& nextDrawing)
{
    std::vector<pugi::xml_node> bookmarks;
    for (pugi::xml_node node = copy; node;) {
        if (!keepBookmarks && IsBookmark(format, node.name())) bookmarks.push_back(node);
        for (const char* id : {"xml:id", "w14:paraId", "w14:textId"}) node.remove_attribute(id);
        if (format == DocumentFormat::Docx && std::strcmp(node.name(), "wp:docPr") == 0)
            node.attribute("id").set_value(nextDrawing++);
        // The next node in document order within the copy.
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != copy && !node.next_sibling()) node = node.parent();
        node = node == copy ? pugi::xml_node() : node.next_sibling();
    }
    for (pugi::xml_node bookmark : bookmarks) bookmark.parent().remove_child(bookmark);
}

}  // namespace kestal
