// Scanning a paragraph's text for the template's marks and pairing its conditional marks.
#include "documents/TemplateTokens.h"

namespace kestal {

namespace {

bool IsBlank(char c) { return c == ' '; }

bool IsNameByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The kind and name of the text between "{{" and "}}"; Malformed when it is no mark.
std::pair<TokenKind, std::string> Classify(std::string_view inner)
{
    inner = Trimmed(inner);
    TokenKind kind = TokenKind::Field;
    constexpr std::string_view picture = "image:";
    if (inner.substr(0, picture.size()) == picture) {
        kind = TokenKind::Picture;
        inner.remove_prefix(picture.size());
    } else if (!inner.empty() && (inner[0] == '#' || inner[0] == '?' || inner[0] == '/')) {
        kind = inner[0] == '#' ? TokenKind::ListOpen : inner[0] == '?' ? TokenKind::BlockOpen : TokenKind::Close;
        inner.remove_prefix(1);
    }
    inner = Trimmed(inner);
    bool named = !inner.empty();
    for (char c : inner) named = named && IsNameByte(c);
    if (!named) return {TokenKind::Malformed, {}};
    return {kind, std::string(inner)};
}

}  // namespace

std::vector<Token> ScanTokens(std::string_view text)
{
    std::vector<Token> tokens;
    for (std::size_t at = text.find("{{"); at != std::string_view::npos;) {
        const std::size_t close = text.find("}}", at + 2);
        const std::size_t next = text.find("{{", at + 2);
        if (close == std::string_view::npos || (next != std::string_view::npos && next < close)) {
            const std::size_t end = next == std::string_view::npos ? text.size() : next;
            tokens.push_back({TokenKind::Malformed, std::string(text.substr(at, end - at)), at, end});
            at = next;
            continue;
        }
        auto [kind, name] = Classify(text.substr(at + 2, close - at - 2));
        if (kind == TokenKind::Malformed) name = std::string(text.substr(at, close + 2 - at));
        tokens.push_back({kind, std::move(name), at, close + 2});
        at = text.find("{{", close + 2);
    }
    return tokens;
}

InlinePairs PairInline(const std::vector<Token>& tokens)
{
    InlinePairs result;
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::BlockOpen) {
            open.push_back(i);
        } else if (tokens[i].kind == TokenKind::Close) {
            if (open.empty())
                result.unpaired.push_back(i);
            else if (tokens[open.back()].name == tokens[i].name) {
                result.pairs.emplace_back(open.back(), i);
                open.pop_back();
            } else
                result.crossed.push_back(i);
        }
    }
    result.unpaired.insert(result.unpaired.end(), open.begin(), open.end());
    return result;
}

bool StandsAlone(std::string_view text, const Token& token)
{
    return Trimmed(text.substr(0, token.begin)).empty() && Trimmed(text.substr(token.end)).empty();
}

std::string MarkText(const Token& token)
{
    switch (token.kind) {
    case TokenKind::Field:
        return "{{" + token.name + "}}";
    case TokenKind::Picture:
        return "{{image:" + token.name + "}}";
    case TokenKind::ListOpen:
        return "{{#" + token.name + "}}";
    case TokenKind::BlockOpen:
        return "{{?" + token.name + "}}";
    case TokenKind::Close:
        return "{{/" + token.name + "}}";
    case TokenKind::Malformed:
        break;
    }
    return token.name;
}

}  // namespace kestal
