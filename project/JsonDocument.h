// Parsing a JSON document whole, refusing the first fault with its place: text that is not UTF-8,
// a syntax fault or an early end, a number beyond double range, a key given twice in one object,
// or nesting deeper than the document may have.
#pragma once

#include <cstddef>
#include <string>

#include "project/JsonNode.h"

namespace kestal {

struct JsonDocument {
    Json root;
    NumberTexts numberTexts;
};

// Throws DocumentProblem: "файл пуст" for a text of blanks only; otherwise the fault's line and
// column (or, for a repeated key and deep nesting, its path) and what it is.
JsonDocument ParseJsonDocument(const std::string& bytes, std::size_t maxDepth);

// "строка 3, столбец 14": the place of the byte at `offset`; lines and columns count from 1 and
// columns count characters.
std::string LineAndColumn(const std::string& bytes, std::size_t offset);

}  // namespace kestal
