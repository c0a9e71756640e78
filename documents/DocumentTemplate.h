// An organisation's own ODT or DOCX document with fields, read and checked once, then filled with
// one document's values as often as needed: the engine of documents from templates.
#pragma once

#include <string>
#include <vector>

#include "documents/DocumentXml.h"
#include "documents/TemplateData.h"
#include "documents/TemplateWalk.h"
#include "documents/ZipPackage.h"

namespace kestal {

// An XML part that holds text with fields, and how places in it are named.
struct TemplatePart {
    std::string name;  // "content.xml", "word/header1.xml"
    std::string region;  // "" for the main text, "верхний колонтитул", "нижний колонтитул"
};

struct DocumentTemplate {
    DocumentFormat format = DocumentFormat::Odt;
    std::vector<PackageEntry> entries;
    std::vector<TemplatePart> parts;
    FieldCatalogue catalogue;
    std::vector<TemplateProblem> problems;  // the faults of its fields; it fills only without any
};

// Reads a template's bytes and checks its fields against the catalogue. Throws KestalError when
// the bytes are no ODT or DOCX text document or a part does not read; faults of the fields are
// kept in `problems`.
DocumentTemplate ReadTemplate(const std::string& bytes, const FieldCatalogue& catalogue);

// The filled document's bytes, in the template's format (a template file such as OTT or DOTX
// gives an ordinary document). Throws KestalError with ProblemsText when the template has faults,
// and naming the value when a value does not fit the catalogue.
std::string FillTemplate(const DocumentTemplate& documentTemplate, const FieldValues& values);

// The first fault with its place, and how many more there are: one line.
std::string ProblemsText(const std::vector<TemplateProblem>& problems);

}  // namespace kestal
