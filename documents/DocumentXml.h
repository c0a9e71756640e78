// How the two document formats lay out text: which elements are paragraphs, tables, rows and
// cells, which hold a paragraph's text, and how a filled row or cell stays valid.
#pragma once

#include <pugixml.hpp>

namespace kestal {

enum class DocumentFormat { Odt, Docx };

// An element as the template's walk sees it.
enum class BlockRole {
    Paragraph,
    Table,
    Row,
    Cell,
    Header,  // a page header of the ODT styles
    Footer,
    Ignored,  // comments and tracked deletions: not part of the text
    Other
};
BlockRole BlockRoleOf(DocumentFormat format, pugi::xml_node element);

// An element as a paragraph's text sees it.
enum class InlineRole {
    Text,       // its text is the paragraph's (DOCX w:t; ODT text is the paragraph's own)
    Container,  // holds text: a span, a run, a link
    Skipped,    // holds no text that shows: marks, properties, deleted text
    Barrier     // something else that shows (a tab, a break, a picture, a field)
};
InlineRole InlineRoleOf(DocumentFormat format, pugi::xml_node element);

// Whether a table still has a row of its own (nested tables' rows do not count).
bool HasRows(DocumentFormat format, pugi::xml_node table);

// Takes a paragraph or table out of the text; a DOCX paragraph that ends a section keeps its
// section's properties (pages, headers) and loses only its content.
void RemoveBlock(DocumentFormat format, pugi::xml_node block);

// After rows or paragraphs left a cell: a DOCX cell must end with a paragraph.
void KeepCellValid(DocumentFormat format, pugi::xml_node cell);

// A repeated row's copy made unique where the format asks for it: no second bookmark of one
// name, no second paragraph identifier, each DOCX drawing its own number (from `nextDrawing`).
void MakeCopyUnique(DocumentFormat format, pugi::xml_node copy, bool keepBookmarks, unsigned& nextDrawing);

}  // namespace kestal
