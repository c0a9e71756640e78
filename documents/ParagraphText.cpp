// Reading a paragraph's text over its runs and writing it back with values in place of marks.
#include "documents/ParagraphText.h"

#include <algorithm>
#include <cstring>

#include "common/Text.h"
#include "documents/TemplateTokens.h"
#include "documents/XmlPart.h"

namespace kestal {

namespace {

void Collect(DocumentFormat format, pugi::xml_node node, ParagraphText& paragraph)
{
    for (pugi::xml_node child : node.children()) {
        const auto type = child.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata) {
            if (format != DocumentFormat::Odt) continue;
            const std::size_t size = std::strlen(child.value());
            paragraph.stretches.push_back({child, paragraph.joined.size(), size, true});
            paragraph.joined += child.value();
            continue;
        }
        if (type != pugi::node_element) continue;
        switch (InlineRoleOf(format, child)) {
        case InlineRole::Text: {
            const char* text = child.text().get();
            paragraph.stretches.push_back({child, paragraph.joined.size(), std::strlen(text), true});
            paragraph.joined += text;
            break;
        }
        case InlineRole::Container:
            Collect(format, child, paragraph);
            break;
        case InlineRole::Skipped:
            break;
        case InlineRole::Barrier:
            paragraph.stretches.push_back({child, paragraph.joined.size(), 1, false});
            paragraph.joined += NotText;
            break;
        }
    }
}

// The value as XML can hold it: ill-formed UTF-8 becomes U+FFFD, line ends become "\n", other
// control characters and the non-characters U+FFFE and U+FFFF are left out.
std::string XmlSafe(const std::string& value)
{
    std::string wellFormed;
    for (std::string rest = value;;) {
        const std::size_t bad = InvalidUtf8Offset(rest);
        if (bad == std::string::npos) {
            wellFormed += rest;
            break;
        }
        wellFormed += rest.substr(0, bad) + "\xEF\xBF\xBD";
        rest.erase(0, bad + 1);
    }
    std::string safe;
    for (std::size_t i = 0; i < wellFormed.size(); ++i) {
        const char c = wellFormed[i];
        if (c == '\r') {
            safe += '\n';
            if (i + 1 < wellFormed.size() && wellFormed[i + 1] == '\n') ++i;
        } else if (wellFormed.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < wellFormed.size() &&
                   (wellFormed[i + 2] == '\xBE' || wellFormed[i + 2] == '\xBF')) {
            i += 2;
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') {
            safe += c;
        }
    }
    return safe;
}

// Writes text before `before`: as it stands (`value` false), or as a value whose line breaks,
// tabs and runs of blanks become the format's own elements.
class TextWriter {
public:
    TextWriter(DocumentFormat format, pugi::xml_node before) : format_(format), before_(before) {}

    void Verbatim(const std::string& text) { Plain(text); }

    void Value(const std::string& value)
    {
        std::string run;
        const std::string safe = XmlSafe(value);
        for (std::size_t i = 0; i < safe.size(); ++i) {
            const char c = safe[i];
            if (c == '\n' || c == '\t') {
                Plain(run);
                run.clear();
                Element(c == '\n' ? (Odt() ? "text:line-break" : "w:br") : (Odt() ? "text:tab" : "w:tab"));
            } else if (c == ' ' && Odt()) {
                std::size_t blanks = safe.find_first_not_of(' ', i);
                blanks = (blanks == std::string::npos ? safe.size() : blanks) - i;
                i += blanks - 1;
                // ODT folds a run of blanks into one, and drops one after an element: the rest
                // are counted blanks.
                if (!run.empty()) {
                    run += ' ';
                    --blanks;
                }
                if (blanks == 0) continue;
                Plain(run);
                run.clear();
                pugi::xml_node space = Element("text:s");
                if (blanks > 1) space.append_attribute("text:c").set_value(static_cast<unsigned>(blanks));
            } else {
                run += c;
            }
        }
        Plain(run);
    }

private:
    bool Odt() const { return format_ == DocumentFormat::Odt; }

    pugi::xml_node Element(const char* name) { return before_.parent().insert_child_before(name, before_); }

    void Plain(const std::string& text)
    {
        if (text.empty()) return;
        if (Odt()) {
            before_.parent().insert_child_before(pugi::node_pcdata, before_).set_value(text.c_str());
            return;
        }
        pugi::xml_node run = Element("w:t");
        SetAttribute(run, "xml:space", "preserve");
        run.text().set(text.c_str());
    }

    DocumentFormat format_;
    pugi::xml_node before_;
};

}  // namespace

ParagraphText ReadParagraph(DocumentFormat format, pugi::xml_node paragraph)
{
    ParagraphText text;
    Collect(format, paragraph, text);
    return text;
}

void Rewrite(DocumentFormat format, const ParagraphText& paragraph, const std::vector<Edit>& edits,
             const PlacePicture& placePicture)
{
    std::size_t first = 0;  // the first edit that does not end before the stretch
    for (const Stretch& stretch : paragraph.stretches) {
        const std::size_t begin = stretch.begin, end = stretch.begin + stretch.size;
        while (first < edits.size() && edits[first].end <= begin) ++first;
        if (first == edits.size() || edits[first].begin >= end) continue;
        if (!stretch.text) {
            stretch.node.parent().remove_child(stretch.node);
            continue;
        }
        TextWriter writer(format, stretch.node);
        std::size_t at = begin;
        for (std::size_t e = first; e < edits.size() && edits[e].begin < end; ++e) {
            const Edit& edit = edits[e];
            if (edit.begin >= begin) {
                writer.Verbatim(paragraph.joined.substr(at, edit.begin - at));
                if (!edit.picture.empty())
                    placePicture(stretch.node.parent(), stretch.node, edit.picture);
                else
                    writer.Value(edit.value);
            }
            at = std::max(at, std::min(edit.end, end));
        }
        writer.Verbatim(paragraph.joined.substr(at, end - at));
        stretch.node.parent().remove_child(stretch.node);
    }
}

}  // namespace kestal
