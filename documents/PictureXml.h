// A picture placed in a paragraph's text, as each format draws it: an ODT frame around the image
// part, a DOCX inline drawing that refers to the image part by relationship.
#pragma once

#include <pugixml.hpp>

#include <string>

#include "documents/TemplateData.h"

namespace kestal {

// `path` is the image part ("Pictures/image-1.png"); `number` makes the frame's name unique.
void InsertOdtPicture(pugi::xml_node parent, pugi::xml_node before, const std::string& path, const Picture& picture,
                      unsigned number);

// `relationship` is the part's relationship to the image; `number` the drawing's unique number.
void InsertDocxPicture(pugi::xml_node parent, pugi::xml_node before, const std::string& relationship,
                       const Picture& picture, unsigned number);

}  // namespace kestal
