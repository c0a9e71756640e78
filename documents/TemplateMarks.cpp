// Reading the marks of paragraphs and rows.
#include "documents/TemplateMarks.h"

namespace kestal {

namespace {

// The row's paragraphs, those of text boxes in it included, in document order.
void RowParagraphs(DocumentFormat format, pugi::xml_node node, std::vector<pugi::xml_node>& paragraphs)
{
    for (pugi::xml_node child : node.children()) {
        const BlockRole role = BlockRoleOf(format, child);
        if (role == BlockRole::Table || role == BlockRole::Ignored) continue;
        if (role == BlockRole::Paragraph) paragraphs.push_back(child);
        RowParagraphs(format, child, paragraphs);
    }
}

}  // namespace

Marks MarksOf(DocumentFormat format, pugi::xml_node paragraph)
{
    Marks marks{ReadParagraph(format, paragraph), {}, {}};
    if (marks.text.joined.find("{{") == std::string::npos) return marks;
    marks.tokens = ScanTokens(marks.text.joined);
    marks.pairs = PairInline(marks.tokens);
    return marks;
}

std::optional<Token> BlockMark(const Marks& marks, const std::string& rowList)
{
    if (marks.tokens.size() != 1 || marks.pairs.unpaired.size() != 1) return std::nullopt;
    const Token& token = marks.tokens.front();
    if (token.kind != TokenKind::BlockOpen && token.kind != TokenKind::Close) return std::nullopt;
    if (token.kind == TokenKind::Close && token.name == rowList) return std::nullopt;
    if (!StandsAlone(marks.text.joined, token)) return std::nullopt;
    return token;
}

RowList RowListOf(DocumentFormat format, pugi::xml_node row)
{
    std::vector<pugi::xml_node> paragraphs;
    RowParagraphs(format, row, paragraphs);
    RowList list;
    for (pugi::xml_node paragraph : paragraphs) {
        const Marks marks = MarksOf(format, paragraph);
        for (std::size_t i = 0; i < marks.tokens.size(); ++i) {
            const Token& token = marks.tokens[i];
            if (list.name.empty() && token.kind == TokenKind::ListOpen) list.name = token.name;
            if (!list.name.empty() && token.kind == TokenKind::Close && token.name == list.name)
                for (std::size_t unpaired : marks.pairs.unpaired) list.closed = list.closed || unpaired == i;
        }
    }
    return list;
}

}  // namespace kestal
