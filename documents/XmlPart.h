// One XML part of a document package read into a tree and written back, through pugixml.
#pragma once

#include <pugixml.hpp>

#include <memory>
#include <string>

namespace kestal {

// The part's tree; throws KestalError naming the part and the place where it does not parse, or
// when its elements nest deeper than 500 levels.
// Blank text is kept (in a paragraph it is text), and so is the XML declaration.
std::unique_ptr<pugi::xml_document> ReadXmlPart(const std::string& bytes, const std::string& partName);

// The tree as UTF-8 bytes, unindented: the library escapes every text and attribute.
std::string WriteXmlPart(const pugi::xml_document& document);

// An element's attribute, set whether or not it was there.
void SetAttribute(pugi::xml_node element, const char* name, const std::string& value);

}  // namespace kestal
