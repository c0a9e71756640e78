// Filling a template part: fields replaced by values, rows repeated per list item, blocks of empty
// fields removed, pictures placed.
#include "documents/TemplateMarks.h"
#include "documents/TemplateWalk.h"

namespace kestal {

namespace {

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

class Filler {
public:
    Filler(DocumentFormat format, const FillSource& source) : format_(format), source_(source) {}

    struct Scope {
        const ListSpec* list = nullptr;
        const Record* item = nullptr;
        std::string rowList;
    };

    void Children(pugi::xml_node node, const Scope& scope)
    {
        std::vector<pugi::xml_node> children;
        std::vector<Marks> marks;  // a paragraph child's, by child
        std::vector<Token> blockMarks;
        std::vector<std::size_t> markChild;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            children.push_back(child);
            marks.push_back({});
            if (BlockRoleOf(format_, child) != BlockRole::Paragraph) continue;
            marks.back() = MarksOf(format_, child);
            if (auto mark = BlockMark(marks.back(), scope.rowList)) {
                blockMarks.push_back(*mark);
                markChild.push_back(children.size() - 1);
            }
        }
        std::vector<std::size_t> closeOf(children.size(), children.size());
        std::vector<const Token*> markOf(children.size(), nullptr);
        for (std::size_t i = 0; i < blockMarks.size(); ++i) markOf[markChild[i]] = &blockMarks[i];
        for (auto [open, close] : PairInline(blockMarks).pairs) closeOf[markChild[open]] = markChild[close];

        for (std::size_t i = 0; i < children.size(); ++i) {
            const pugi::xml_node child = children[i];
            if (markOf[i]) {
                const bool hidden = closeOf[i] < children.size() && !Shown(markOf[i]->name, scope);
                const std::size_t last = hidden ? closeOf[i] : i;
                for (std::size_t j = i; j <= last; ++j) RemoveBlock(format_, children[j]);
                i = last;
                continue;
            }
            switch (BlockRoleOf(format_, child)) {
            case BlockRole::Paragraph:
                Paragraph(marks[i], scope);
                Children(child, scope);
                break;
            case BlockRole::Row: {
                const std::string list = scope.rowList.empty() ? RowListOf(format_, child).name : std::string();
                if (list.empty())
                    Children(child, scope);
                else
                    Repeat(child, list);
                break;
            }
            case BlockRole::Table:
                Children(child, scope);
                if (!HasRows(format_, child)) RemoveBlock(format_, child);
                break;
            case BlockRole::Ignored:
                break;
            default:
                Children(child, scope);
                break;
            }
        }
        KeepCellValid(format_, node);
    }

private:
    const FieldSpec* ItemField(const std::string& name, const Scope& scope) const
    {
        return scope.list ? FindField(scope.list->items, name) : nullptr;
    }

    std::string Text(const std::string& name, const Scope& scope) const
    {
        const std::map<std::string, std::string>& values = ItemField(name, scope) ? *scope.item : source_.values.text;
        const auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    }

    bool HasPicture(const std::string& name) const
    {
        const auto found = source_.values.pictures.find(name);
        return found != source_.values.pictures.end() && !found->second.png.empty();
    }

    // Whether a block on the name shows: the field is not blank, the list has items, the picture is given.
    bool Shown(const std::string& name, const Scope& scope) const
    {
        if (ItemField(name, scope)) return !IsBlank(Text(name, scope));
        if (const FieldSpec* field = FindField(source_.catalogue.fields, name))
            return field->kind == FieldKind::Image ? HasPicture(name) : !IsBlank(Text(name, scope));
        const auto list = source_.values.lists.find(name);
        return list != source_.values.lists.end() && !list->second.empty();
    }

    std::string Value(const std::string& name, const Scope& scope) const
    {
        const FieldSpec* field = ItemField(name, scope);
        if (!field) field = FindField(source_.catalogue.fields, name);
        const std::string text = Text(name, scope);
        return field && field->kind == FieldKind::Date ? DocumentDate(text) : text;
    }

    void Paragraph(const Marks& marks, const Scope& scope)
    {
        if (marks.tokens.empty()) return;
        std::vector<std::size_t> closeOf(marks.tokens.size(), 0);
        for (auto [open, close] : marks.pairs.pairs) closeOf[open] = close;
        std::vector<Edit> edits;
        for (std::size_t i = 0; i < marks.tokens.size(); ++i) {
            const Token& token = marks.tokens[i];
            if (!edits.empty() && token.begin < edits.back().end) continue;  // inside a hidden block
            Edit edit{token.begin, token.end, {}, {}};
            if (token.kind == TokenKind::BlockOpen && closeOf[i] > i && !Shown(token.name, scope))
                edit.end = marks.tokens[closeOf[i]].end;
            else if (token.kind == TokenKind::Field)
                edit.value = Value(token.name, scope);
            else if (token.kind == TokenKind::Picture && HasPicture(token.name))
                edit.picture = token.name;
            edits.push_back(std::move(edit));
        }
        Rewrite(format_, marks.text, edits, source_.placePicture);
    }

    void Repeat(pugi::xml_node row, const std::string& listName)
    {
        static const std::vector<Record> none;
        const auto found = source_.values.lists.find(listName);
        const std::vector<Record>& items = found == source_.values.lists.end() ? none : found->second;
        const ListSpec* list = FindList(source_.catalogue, listName);
        pugi::xml_node parent = row.parent();
        for (std::size_t k = 0; k < items.size(); ++k) {
            pugi::xml_node copy = parent.insert_copy_before(row, row);
            MakeCopyUnique(format_, copy, k == 0, source_.nextDrawing);
            Children(copy, {list, &items[k], listName});
        }
        parent.remove_child(row);
    }

    DocumentFormat format_;
    const FillSource& source_;
};

}  // namespace

void FillPart(DocumentFormat format, pugi::xml_node root, const FillSource& source)
{
    Filler(format, source).Children(root, {});
}

}  // namespace kestal
