// The two walks over a template part's XML: the check of every mark against the field catalogue,
// with the place of each fault, and the filling of the part with one document's values.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "documents/DocumentXml.h"
#include "documents/ParagraphText.h"
#include "documents/TemplateData.h"

namespace kestal {

// A fault of a template: what it is and where it stands ("таблица 2, строка 3, ячейка 1").
struct TemplateProblem {
    std::string place;
    std::string text;
};

// Every fault of the part's marks. `region` names the part for the places
// ("верхний колонтитул"; empty for the main text).
std::vector<TemplateProblem> CheckPart(DocumentFormat format, pugi::xml_node root, const std::string& region,
                                       const FieldCatalogue& catalogue);

struct FillSource {
    const FieldCatalogue& catalogue;
    const FieldValues& values;
    PlacePicture placePicture;
    unsigned& nextDrawing;  // the next free DOCX drawing number
};

// Fills a part that CheckPart found without faults.
void FillPart(DocumentFormat format, pugi::xml_node root, const FillSource& source);

}  // namespace kestal
