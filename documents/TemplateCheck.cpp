// The check of a template part: every mark known to the catalogue, lists in table rows, blocks
// closed where they open, pictures alone in their paragraphs; each fault with its place.
#include <algorithm>

#include "common/Text.h"
#include "documents/TemplateMarks.h"
#include "documents/TemplateWalk.h"

namespace kestal {

namespace {

// Where the walk stands, as a person finds it in the document.
struct Place {
    std::string region;
    int paragraphs = 0;  // outside tables
    int tables = 0;
    struct Cell {
        int table = 0;
        int row = 0;
        int cell = 0;
    };
    std::vector<Cell> cells;  // one per table the walk is in, the innermost last

    std::string Text(bool wholeRow = false) const
    {
        std::string text = region.empty() ? "" : region + ": ";
        if (cells.empty()) return text + "абзац " + std::to_string(paragraphs);
        const Cell& at = cells.back();
        text += "таблица " + std::to_string(at.table) + ", строка " + std::to_string(at.row);
        return wholeRow ? text : text + ", ячейка " + std::to_string(at.cell);
    }
};

// A mark's text as a message shows it: what is not text shown as a blank, at most 60 characters.
std::string Shown(const std::string& text)
{
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), NotText, ' ');
    return CharacterCount(shown) > 60 ? CutToCapacity(shown, 60) + "…" : shown;
}

std::string Quoted(const std::string& text) { return "«" + Shown(text) + "»"; }

class Checker {
public:
    Checker(DocumentFormat format, const FieldCatalogue& catalogue, const std::string& region)
        : format_(format), catalogue_(catalogue)
    {
        place_.region = region;
    }

    std::vector<TemplateProblem> problems;

    struct Scope {
        const ListSpec* list = nullptr;
        std::string rowList;  // the list the row around repeats over
        bool inRow = false;
    };

    void Children(pugi::xml_node node, const Scope& scope)
    {
        std::vector<Token> marks;
        std::vector<std::string> markPlaces;
        for (pugi::xml_node child : node.children()) {
            switch (BlockRoleOf(format_, child)) {
            case BlockRole::Paragraph:
                if (place_.cells.empty()) ++place_.paragraphs;
                if (auto mark = Paragraph(child, scope)) {
                    marks.push_back(*mark);
                    markPlaces.push_back(place_.Text());
                }
                Children(child, scope);
                break;
            case BlockRole::Table:
                place_.cells.push_back({++place_.tables});
                Children(child, scope);
                place_.cells.pop_back();
                break;
            case BlockRole::Row:
                Row(child, scope);
                break;
            case BlockRole::Cell:
                if (!place_.cells.empty()) ++place_.cells.back().cell;
                Children(child, scope);
                break;
            case BlockRole::Header:
            case BlockRole::Footer: {
                const Place outer = place_;
                place_ = Place();
                place_.region =
                    BlockRoleOf(format_, child) == BlockRole::Header ? "верхний колонтитул" : "нижний колонтитул";
                Children(child, scope);
                place_ = outer;
                break;
            }
            case BlockRole::Ignored:
                break;
            case BlockRole::Other:
                Children(child, scope);
                break;
            }
        }
        // Blocks whose marks stand alone in their paragraphs pair among the paragraphs around.
        const InlinePairs blocks = PairInline(marks);
        for (std::size_t i : blocks.crossed)
            Add(markPlaces[i], Quoted(MarkText(marks[i])) + " закрывает не тот блок, что открыт последним");
        for (std::size_t i : blocks.unpaired)
            Add(markPlaces[i], marks[i].kind == TokenKind::Close
                                   ? Quoted(MarkText(marks[i])) + " без открывающей метки"
                                   : Quoted(MarkText(marks[i])) + " без «{{/" + marks[i].name +
                                         "}}» в том же тексте, ячейке или колонтитуле");
    }

private:
    enum class NameKind { Unknown, Scalar, Image, List };

    NameKind KindOf(const std::string& name, const Scope& scope) const
    {
        if (scope.list && FindField(scope.list->items, name)) return NameKind::Scalar;
        if (const FieldSpec* field = FindField(catalogue_.fields, name))
            return field->kind == FieldKind::Image ? NameKind::Image : NameKind::Scalar;
        return FindList(catalogue_, name) ? NameKind::List : NameKind::Unknown;
    }

    void Add(const std::string& place, const std::string& text) { problems.push_back({place, text}); }

    void Row(pugi::xml_node row, Scope scope)
    {
        if (!place_.cells.empty()) {
            ++place_.cells.back().row;
            place_.cells.back().cell = 0;
        }
        scope.inRow = true;
        if (scope.rowList.empty()) {
            const RowList list = RowListOf(format_, row);
            if (!list.name.empty()) {
                scope.rowList = list.name;
                scope.list = FindList(catalogue_, list.name);
                if (!list.closed && scope.list)
                    Add(place_.Text(true), "в строке со списком «{{#" + list.name + "}}» нет «{{/" + list.name + "}}»");
            }
        }
        Children(row, scope);
    }

    // Checks the paragraph's marks; returns its block mark when it is one.
    std::optional<Token> Paragraph(pugi::xml_node paragraph, const Scope& scope)
    {
        const Marks marks = MarksOf(format_, paragraph);
        const std::string place = place_.Text();
        for (const Token& token : marks.tokens) Mark(token, marks, scope, place);
        for (std::size_t i : marks.pairs.crossed)
            Add(place, Quoted(MarkText(marks.tokens[i])) + " закрывает не тот блок, что открыт последним");
        std::optional<Token> block = BlockMark(marks, scope.rowList);
        for (std::size_t i : marks.pairs.unpaired) {
            const Token& token = marks.tokens[i];
            if (block || (token.kind == TokenKind::Close && token.name == scope.rowList)) continue;
            Add(place, token.kind == TokenKind::Close
                           ? Quoted(MarkText(token)) + " без открывающей метки"
                           : Quoted(MarkText(token)) + " без «{{/" + token.name +
                                 "}}»: обе метки ставятся в один абзац или каждая одна в своём абзаце");
        }
        return block;
    }

    void Mark(const Token& token, const Marks& marks, const Scope& scope, const std::string& place)
    {
        const NameKind kind = KindOf(token.name, scope);
        const std::string name = "«" + token.name + "»";
        switch (token.kind) {
        case TokenKind::Malformed:
            Add(place, Quoted(token.name) + " — не поле шаблона");
            break;
        case TokenKind::Field:
            if (kind == NameKind::Unknown) Add(place, "неизвестное поле " + name);
            if (kind == NameKind::List)
                Add(place, name + " — список: строка таблицы с ним отмечается «{{#" + token.name + "}}»");
            if (kind == NameKind::Image)
                Add(place, name + " — изображение: оно ставится меткой «{{image:" + token.name + "}}»");
            break;
        case TokenKind::Picture:
            if (kind != NameKind::Image)
                Add(place, (kind == NameKind::Unknown ? "неизвестное изображение " : "не изображение: ") + name);
            else if (!StandsAlone(marks.text.joined, token))
                Add(place, "изображение «{{image:" + token.name + "}}» должно стоять одно в абзаце");
            break;
        case TokenKind::ListOpen:
            if (token.name != scope.rowList)
                Add(place, scope.inRow && !scope.rowList.empty()
                               ? "строка уже повторяется по списку «" + scope.rowList + "»: «{{#" + token.name +
                                     "}}» в ней лишняя"
                               : "«{{#" + token.name + "}}» ставится в строку таблицы, которая повторяется");
            else if (kind != NameKind::List)
                Add(place, kind == NameKind::Unknown ? "неизвестный список " + name : name + " — не список");
            break;
        case TokenKind::BlockOpen:
            if (kind == NameKind::Unknown) Add(place, "неизвестное поле " + name);
            break;
        case TokenKind::Close:
            break;
        }
    }

    DocumentFormat format_;
    const FieldCatalogue& catalogue_;
    Place place_;
};

}  // namespace

std::vector<TemplateProblem> CheckPart(DocumentFormat format, pugi::xml_node root, const std::string& region,
                                       const FieldCatalogue& catalogue)
{
    Checker checker(format, catalogue, region);
    checker.Children(root, {});
    return std::move(checker.problems);
}

}  // namespace kestal
