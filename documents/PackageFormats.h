// What differs between the ODT and the DOCX package: where the text parts are, and how a filled
// package gets its pictures and stays complete; and the filling of the text parts they share.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "documents/DocumentTemplate.h"

namespace kestal {

// The text parts; throws KestalError when the package is not a text document of the format.
std::vector<TemplatePart> OdtTextParts(const std::vector<PackageEntry>& entries);
std::vector<TemplatePart> DocxTextParts(const std::vector<PackageEntry>& entries);

std::string FillOdt(const DocumentTemplate& documentTemplate, const FieldValues& values);
std::string FillDocx(const DocumentTemplate& documentTemplate, const FieldValues& values);

// The template's entries with every text part filled; `placeIn(part, nextDrawing)` places the
// pictures of that part.
using PlaceInPart = std::function<PlacePicture(const std::string& part, unsigned& nextDrawing)>;
std::vector<PackageEntry> FilledEntries(const DocumentTemplate& documentTemplate, const FieldValues& values,
                                        const PlaceInPart& placeIn);

// A name for the number-th new picture in the folder that no entry has yet: "Pictures/image-1.png".
std::string NewPictureName(const std::vector<PackageEntry>& entries, const std::string& folder, std::size_t number);

}  // namespace kestal
