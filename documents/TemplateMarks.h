// The template's marks as the walks read them: a paragraph's marks, a paragraph that is one
// block mark, and the list a table row repeats over.
#pragma once

#include <optional>
#include <string>

#include "documents/ParagraphText.h"
#include "documents/TemplateTokens.h"

namespace kestal {

struct Marks {
    ParagraphText text;
    std::vector<Token> tokens;
    InlinePairs pairs;
};
Marks MarksOf(DocumentFormat format, pugi::xml_node paragraph);

// The paragraph's one mark when it is a block's {{?x}} or {{/x}} standing alone; the closing
// mark of the row's own list (`rowList`) is none.
std::optional<Token> BlockMark(const Marks& marks, const std::string& rowList);

// The list a table row repeats over: the first {{#x}} in its cells (not in tables inside them),
// and whether a {{/x}} outside conditional blocks follows it in the row.
struct RowList {
    std::string name;  // empty when the row does not repeat
    bool closed = false;
};
RowList RowListOf(DocumentFormat format, pugi::xml_node row);

}  // namespace kestal
