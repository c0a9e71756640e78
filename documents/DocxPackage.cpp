// The DOCX package: its text in the main part and the headers and footers it refers to, its
// pictures under media/ with a relationship from each part that shows them and their content type.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>

#include "common/KestalError.h"
#include "documents/PackageFormats.h"
#include "documents/PictureXml.h"
#include "documents/XmlPart.h"

namespace kestal {

namespace {

constexpr const char* TypesName = "[Content_Types].xml";
constexpr const char* RelationshipsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* ImageRelationship = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr const char* DocumentType = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr const char* TemplateType = "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";

std::string Folder(const std::string& part) { return part.substr(0, part.rfind('/') + 1); }

std::string RelationshipsOf(const std::string& part)
{
    return Folder(part) + "_rels/" + part.substr(Folder(part).size()) + ".rels";
}

// A relationship's target as an entry name: relative to the source's folder, or from the root.
std::string Resolve(const std::string& folder, const std::string& target)
{
    std::string path = target.starts_with('/') ? target.substr(1) : folder + target;
    std::vector<std::string> segments;
    for (std::size_t at = 0; at <= path.size();) {
        const std::size_t slash = std::min(path.find('/', at), path.size());
        const std::string segment = path.substr(at, slash - at);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        at = slash + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments) resolved += (resolved.empty() ? "" : "/") + segment;
    return resolved;
}

const std::string& Bytes(const std::vector<PackageEntry>& entries, const std::string& name)
{
    const PackageEntry* entry = FindEntry(entries, name);
    if (!entry) throw KestalError("в шаблоне нет части " + name);
    return entry->bytes;
}

// The Override of a part in the content types.
pugi::xml_node Override(pugi::xml_node types, const std::string& part)
{
    for (pugi::xml_node entry : types.children("Override"))
        if (entry.attribute("PartName").value() == "/" + part) return entry;
    return {};
}

// A part's content type: its Override, or the Default of its extension.
std::string ContentType(pugi::xml_node types, const std::string& part)
{
    if (pugi::xml_node entry = Override(types, part)) return entry.attribute("ContentType").value();
    const std::string extension = part.substr(part.rfind('.') + 1);
    for (pugi::xml_node entry : types.children("Default"))
        if (strcasecmp(entry.attribute("Extension").value(), extension.c_str()) == 0)
            return entry.attribute("ContentType").value();
    return {};
}

// The package's pictures: each PNG once under media/, each part's relationship to it once.
class Pictures {
public:
    Pictures(const DocumentTemplate& documentTemplate, const FieldValues& values)
        : template_(documentTemplate), values_(values), media_(Folder(documentTemplate.parts.front().name) + "media/")
    {}

    void Place(const std::string& part, pugi::xml_node parent, pugi::xml_node before, const std::string& name,
               unsigned& nextDrawing)
    {
        std::string& path = paths_[name];
        const Picture& picture = values_.pictures.at(name);
        if (path.empty()) {
            path = NewPictureName(template_.entries, media_, paths_.size());
            added_.push_back({path, picture.png});
        }
        std::string& id = ids_[{part, name}];
        if (id.empty()) id = Relate(part, path);
        InsertDocxPicture(parent, before, id, picture, nextDrawing++);
    }

    // The filled entries with the pictures, the parts' relationships and the content types.
    void Complete(std::vector<PackageEntry>& entries)
    {
        if (added_.empty()) return;
        for (auto& [part, relationships] : relationships_) {
            const std::string name = RelationshipsOf(part);
            if (!FindEntry(entries, name)) entries.push_back({name, {}});
            FindEntry(entries, name)->bytes = WriteXmlPart(*relationships);
        }
        const auto types = ReadXmlPart(Bytes(entries, TypesName), TypesName);
        pugi::xml_node root = types->document_element();
        for (const char* extension : {"png", "rels"}) {
            bool known = false;
            for (pugi::xml_node entry : root.children("Default"))
                known = known || strcasecmp(entry.attribute("Extension").value(), extension) == 0;
            if (known) continue;
            pugi::xml_node entry = root.prepend_child("Default");
            SetAttribute(entry, "Extension", extension);
            SetAttribute(entry, "ContentType",
                         std::strcmp(extension, "png") == 0
                             ? "image/png"
                             : "application/vnd.openxmlformats-package.relationships+xml");
        }
        FindEntry(entries, TypesName)->bytes = WriteXmlPart(*types);
        for (PackageEntry& picture : added_) entries.push_back(std::move(picture));
    }

private:
    std::string Relate(const std::string& part, const std::string& path)
    {
        auto& relationships = relationships_[part];
        if (!relationships) {
            const PackageEntry* existing = FindEntry(template_.entries, RelationshipsOf(part));
            if (existing) {
                relationships = ReadXmlPart(existing->bytes, existing->name);
            } else {
                relationships = std::make_unique<pugi::xml_document>();
                SetAttribute(relationships->append_child("Relationships"), "xmlns", RelationshipsNamespace);
            }
        }
        pugi::xml_node root = relationships->document_element();
        std::string id;
        for (int number = 1; id.empty(); ++number) {
            id = "rIdKestal" + std::to_string(number);
            for (pugi::xml_node entry : root.children("Relationship"))
                if (id == entry.attribute("Id").value()) id.clear();
        }
        pugi::xml_node entry = root.append_child("Relationship");
        SetAttribute(entry, "Id", id);
        SetAttribute(entry, "Type", ImageRelationship);
        const std::string folder = Folder(part);
        SetAttribute(entry, "Target", path.starts_with(folder) ? path.substr(folder.size()) : "/" + path);
        return id;
    }

    const DocumentTemplate& template_;
    const FieldValues& values_;
    std::string media_;
    std::map<std::string, std::string> paths_;                        // picture → its entry
    std::map<std::pair<std::string, std::string>, std::string> ids_;  // part and picture → relationship
    std::map<std::string, std::unique_ptr<pugi::xml_document>> relationships_;
    std::vector<PackageEntry> added_;
};

}  // namespace

std::vector<TemplatePart> DocxTextParts(const std::vector<PackageEntry>& entries)
{
    const auto packageRelationships = ReadXmlPart(Bytes(entries, "_rels/.rels"), "_rels/.rels");
    std::string main;
    for (pugi::xml_node entry : packageRelationships->document_element().children("Relationship"))
        if (main.empty() && std::string_view(entry.attribute("Type").value()).ends_with("/officeDocument"))
            main = Resolve("", entry.attribute("Target").value());
    if (main.empty()) throw KestalError("в шаблоне DOCX нет основной части документа");
    const auto types = ReadXmlPart(Bytes(entries, TypesName), TypesName);
    const std::string type = ContentType(types->document_element(), main);
    if (type != DocumentType && type != TemplateType)
        throw KestalError("это не документ Word без макросов (тип основной части «" + type.substr(0, 120) +
                          "»): сохраните шаблон как DOCX");
    std::vector<TemplatePart> parts{{main, ""}};
    if (const PackageEntry* relationships = FindEntry(entries, RelationshipsOf(main))) {
        const auto document = ReadXmlPart(relationships->bytes, relationships->name);
        for (pugi::xml_node entry : document->document_element().children("Relationship")) {
            const std::string relation = entry.attribute("Type").value();
            if (std::strcmp(entry.attribute("TargetMode").value(), "External") == 0) continue;
            const bool header = relation.ends_with("/header");
            if (header || relation.ends_with("/footer"))
                parts.push_back({Resolve(Folder(main), entry.attribute("Target").value()),
                                 header ? "верхний колонтитул" : "нижний колонтитул"});
        }
    }
    for (const TemplatePart& part : parts) Bytes(entries, part.name);
    return parts;
}

std::string FillDocx(const DocumentTemplate& documentTemplate, const FieldValues& values)
{
    Pictures pictures(documentTemplate, values);
    const PlaceInPart placeIn = [&](const std::string& part, unsigned& nextDrawing) -> PlacePicture {
        return [&pictures, part, &nextDrawing](pugi::xml_node parent, pugi::xml_node before, const std::string& name) {
            pictures.Place(part, parent, before, name, nextDrawing);
        };
    };
    std::vector<PackageEntry> entries = FilledEntries(documentTemplate, values, placeIn);
    pictures.Complete(entries);
    // A Word template (DOTX) gives an ordinary document.
    PackageEntry* typesEntry = FindEntry(entries, TypesName);
    const auto types = ReadXmlPart(typesEntry->bytes, TypesName);
    pugi::xml_node main = Override(types->document_element(), documentTemplate.parts.front().name);
    if (std::strcmp(main.attribute("ContentType").value(), TemplateType) == 0) {
        main.attribute("ContentType").set_value(DocumentType);
        typesEntry->bytes = WriteXmlPart(*types);
    }
    return WritePackage(entries, false);
}

}  // namespace kestal
