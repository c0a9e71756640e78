// The XML of a placed picture in ODT and DOCX, built through pugixml.
#include "documents/PictureXml.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "documents/XmlPart.h"

namespace kestal {

namespace {

using Attributes = std::initializer_list<std::pair<const char*, std::string>>;

pugi::xml_node Add(pugi::xml_node parent, const char* name, Attributes attributes = {})
{
    pugi::xml_node element = parent.append_child(name);
    for (const auto& [attribute, value] : attributes) SetAttribute(element, attribute, value);
    return element;
}

// Hundredths of a millimetre (finer than any printer), with "." under every locale.
std::string Millimetres(double mm)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, mm, std::chars_format::fixed, 2);
    return std::string(text, written.ptr) + "mm";
}

// English metric units: 36 000 to the millimetre.
std::string Emu(double mm) { return std::to_string(std::llround(mm * 36000)); }

constexpr const char* DrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* PictureNamespace = "http://schemas.openxmlformats.org/drawingml/2006/picture";

}  // namespace

void InsertOdtPicture(pugi::xml_node parent, pugi::xml_node before, const std::string& path, const Picture& picture,
                      unsigned number)
{
    pugi::xml_node frame = parent.insert_child_before("draw:frame", before);
    for (const auto& [attribute, value] :
         Attributes{{"xmlns:draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
                    {"xmlns:svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
                    {"xmlns:xlink", "http://www.w3.org/1999/xlink"},
                    {"draw:name", "Kestal image " + std::to_string(number)},
                    {"text:anchor-type", "as-char"},
                    {"svg:width", Millimetres(picture.widthMm)},
                    {"svg:height", Millimetres(picture.heightMm)},
                    {"draw:z-index", "0"}})
        SetAttribute(frame, attribute, value);
    Add(frame, "draw:image",
        {{"xlink:href", path}, {"xlink:type", "simple"}, {"xlink:show", "embed"}, {"xlink:actuate", "onLoad"}});
}

void InsertDocxPicture(pugi::xml_node parent, pugi::xml_node before, const std::string& relationship,
                       const Picture& picture, unsigned number)
{
    const std::string cx = Emu(picture.widthMm), cy = Emu(picture.heightMm), id = std::to_string(number);
    pugi::xml_node drawing = parent.insert_child_before("w:drawing", before);
    pugi::xml_node inline_ =
        Add(drawing, "wp:inline",
            {{"xmlns:wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
             {"distT", "0"},
             {"distB", "0"},
             {"distL", "0"},
             {"distR", "0"}});
    Add(inline_, "wp:extent", {{"cx", cx}, {"cy", cy}});
    Add(inline_, "wp:docPr", {{"id", id}, {"name", "Kestal image " + id}});
    Add(Add(inline_, "wp:cNvGraphicFramePr"), "a:graphicFrameLocks",
        {{"xmlns:a", DrawingNamespace}, {"noChangeAspect", "1"}});
    pugi::xml_node data =
        Add(Add(inline_, "a:graphic", {{"xmlns:a", DrawingNamespace}}), "a:graphicData", {{"uri", PictureNamespace}});
    pugi::xml_node pic = Add(data, "pic:pic", {{"xmlns:pic", PictureNamespace}});
    pugi::xml_node names = Add(pic, "pic:nvPicPr");
    Add(names, "pic:cNvPr", {{"id", "0"}, {"name", "image-" + id + ".png"}});
    Add(names, "pic:cNvPicPr");
    pugi::xml_node fill = Add(pic, "pic:blipFill");
    Add(fill, "a:blip",
        {{"xmlns:r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
         {"r:embed", relationship}});
    Add(Add(fill, "a:stretch"), "a:fillRect");
    pugi::xml_node shape = Add(pic, "pic:spPr");
    pugi::xml_node transform = Add(shape, "a:xfrm");
    Add(transform, "a:off", {{"x", "0"}, {"y", "0"}});
    Add(transform, "a:ext", {{"cx", cx}, {"cy", cy}});
    Add(Add(shape, "a:prstGeom", {{"prst", "rect"}}), "a:avLst");
}

}  // namespace kestal
