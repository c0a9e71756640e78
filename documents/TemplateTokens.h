// The marks of a template in one paragraph's text: {{field}}, {{image:NAME}}, {{#list}}, {{?field}},
// {{/name}}, and how a paragraph's conditional marks pair up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestal {

// Stands in the paragraph's text for what is not text (a tab, a line break, a picture): no mark
// reaches over it.
inline constexpr char NotText = '\x01';

enum class TokenKind {
    Field,      // {{name}}
    Picture,    // {{image:name}}
    ListOpen,   // {{#name}}: the table row repeats once per item of the list
    BlockOpen,  // {{?name}}: what follows up to {{/name}} shows only when the field is not empty
    Close,      // {{/name}}
    Malformed   // "{{" with no "}}" or with no name between them
};

struct Token {
    TokenKind kind = TokenKind::Malformed;
    std::string name;   // for Malformed, the text as it stands
    std::size_t begin;  // the mark's first and one past its last byte in the paragraph's text
    std::size_t end;
};

// Every mark in the text, in order. Blanks around the name are allowed ("{{ name }}"); a name is
// letters (of any alphabet), digits, "_", "." and "-".
std::vector<Token> ScanTokens(std::string_view text);

// A paragraph's conditional marks paired within it: each {{?x}} with the next {{/x}} at its
// nesting depth. What stays unpaired is a list's mark, or a block's mark standing alone in its
// paragraph, or a fault.
struct InlinePairs {
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // token indices of {{?x}} and {{/x}}
    std::vector<std::size_t> unpaired;                       // {{?x}} and {{/x}} token indices
    std::vector<std::size_t> crossed;                        // a {{/x}} that closes across another block
};
InlinePairs PairInline(const std::vector<Token>& tokens);

// Whether the paragraph's text is the one token and blanks.
bool StandsAlone(std::string_view text, const Token& token);

// A mark as it is written, for messages: "{{#measures}}".
std::string MarkText(const Token& token);

}  // namespace kestal
