// Reading and checking a template once, filling it per document; what both packages share.
#include "documents/DocumentTemplate.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>

#include "common/KestalError.h"
#include "documents/PackageFormats.h"
#include "documents/XmlPart.h"

namespace kestal {

namespace {

struct Binding {
    const char* prefix;
    const char* uri;
};

// The prefixes the walk knows elements by must mean what the format means by them.
void CheckBindings(DocumentFormat format, pugi::xml_node root, const std::string& part)
{
    static const std::initializer_list<Binding> odt = {{"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
                                                       {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
                                                       {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
                                                       {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"}};
    static const std::initializer_list<Binding> docx = {
        {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"}};
    for (pugi::xml_attribute attribute : root.attributes()) {
        const std::string name = attribute.name();
        if (!name.starts_with("xmlns:")) continue;
        const std::string prefix = name.substr(6);
        for (const Binding& binding : format == DocumentFormat::Odt ? odt : docx)
            if ((prefix == binding.prefix) != (std::strcmp(attribute.value(), binding.uri) == 0))
                throw KestalError("часть " + part + " записана с непривычными пространствами имён XML (префикс «" +
                                  prefix + "»): откройте шаблон в LibreOffice или Word и сохраните его заново как " +
                                  (format == DocumentFormat::Odt ? "ODT" : "обычный DOCX"));
    }
}

const std::string& PartBytes(const std::vector<PackageEntry>& entries, const std::string& name)
{
    const PackageEntry* entry = FindEntry(entries, name);
    if (!entry) throw KestalError("в шаблоне нет части " + name);
    return entry->bytes;
}

// The largest DOCX drawing number in the part.
unsigned LargestDrawing(pugi::xml_node node)
{
    unsigned largest = 0;
    for (pugi::xml_node child : node.children()) {
        if (std::strcmp(child.name(), "wp:docPr") == 0) largest = std::max(largest, child.attribute("id").as_uint());
        largest = std::max(largest, LargestDrawing(child));
    }
    return largest;
}

}  // namespace

DocumentTemplate ReadTemplate(const std::string& bytes, const FieldCatalogue& catalogue)
{
    CheckCatalogue(catalogue);
    DocumentTemplate result;
    result.catalogue = catalogue;
    result.entries = ReadPackage(bytes);
    if (FindEntry(result.entries, "mimetype")) {
        result.format = DocumentFormat::Odt;
        result.parts = OdtTextParts(result.entries);
    } else if (FindEntry(result.entries, "[Content_Types].xml")) {
        result.format = DocumentFormat::Docx;
        result.parts = DocxTextParts(result.entries);
    } else {
        throw KestalError("это не документ ODT или DOCX: в архиве нет ни mimetype, ни [Content_Types].xml");
    }
    for (const TemplatePart& part : result.parts) {
        const auto document = ReadXmlPart(PartBytes(result.entries, part.name), part.name);
        CheckBindings(result.format, document->document_element(), part.name);
        for (TemplateProblem& problem :
             CheckPart(result.format, document->document_element(), part.region, result.catalogue))
            result.problems.push_back(std::move(problem));
    }
    return result;
}

std::string FillTemplate(const DocumentTemplate& documentTemplate, const FieldValues& values)
{
    if (!documentTemplate.problems.empty()) throw KestalError(ProblemsText(documentTemplate.problems));
    CheckValues(documentTemplate.catalogue, values);
    return documentTemplate.format == DocumentFormat::Odt ? FillOdt(documentTemplate, values)
                                                          : FillDocx(documentTemplate, values);
}

std::string ProblemsText(const std::vector<TemplateProblem>& problems)
{
    if (problems.empty()) return {};
    std::string text = problems.front().text + " (" + problems.front().place + ")";
    if (problems.size() > 1) text += "; ещё замечаний: " + std::to_string(problems.size() - 1);
    return text;
}

std::vector<PackageEntry> FilledEntries(const DocumentTemplate& documentTemplate, const FieldValues& values,
                                        const PlaceInPart& placeIn)
{
    std::vector<PackageEntry> entries = documentTemplate.entries;
    std::vector<std::unique_ptr<pugi::xml_document>> documents;
    unsigned nextDrawing = 1;
    for (const TemplatePart& part : documentTemplate.parts) {
        documents.push_back(ReadXmlPart(PartBytes(entries, part.name), part.name));
        nextDrawing = std::max(nextDrawing, LargestDrawing(*documents.back()) + 1);
    }
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const std::string& name = documentTemplate.parts[i].name;
        FillPart(documentTemplate.format, documents[i]->document_element(),
                 {documentTemplate.catalogue, values, placeIn(name, nextDrawing), nextDrawing});
        FindEntry(entries, name)->bytes = WriteXmlPart(*documents[i]);
    }
    return entries;
}

std::string NewPictureName(const std::vector<PackageEntry>& entries, const std::string& folder, std::size_t number)
{
    for (int copy = 1;; ++copy) {
        std::string name = folder + "kestal-" + std::to_string(number);
        if (copy > 1) name += "-" + std::to_string(copy);
        name += ".png";
        if (!FindEntry(entries, name)) return name;
    }
}

}  // namespace kestal
