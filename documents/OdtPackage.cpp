// The ODT package: its text in content.xml and styles.xml, its pictures under Pictures/ and in the
// manifest, the mimetype entry first and stored.
#include <map>

#include "common/KestalError.h"
#include "documents/PackageFormats.h"
#include "documents/PictureXml.h"
#include "documents/XmlPart.h"

namespace kestal {

namespace {

constexpr const char* TextType = "application/vnd.oasis.opendocument.text";
constexpr const char* TemplateType = "application/vnd.oasis.opendocument.text-template";
constexpr const char* ManifestName = "META-INF/manifest.xml";
constexpr const char* ThumbnailName = "Thumbnails/thumbnail.png";

std::string MediaType(const std::string& name)
{
    if (name.ends_with(".xml")) return "text/xml";
    if (name.ends_with(".png")) return "image/png";
    return "";
}

// The manifest listing every entry but the mimetype and itself, the new pictures and the document
// type included; a thumbnail of the template is not the document's.
std::string Manifest(const std::string& bytes, const std::vector<PackageEntry>& entries)
{
    const auto manifest = ReadXmlPart(bytes, ManifestName);
    pugi::xml_node root = manifest->document_element();
    std::map<std::string, pugi::xml_node> listed;
    for (pugi::xml_node entry = root.child("manifest:file-entry"); entry;) {
        const pugi::xml_node next = entry.next_sibling("manifest:file-entry");
        const std::string path = entry.attribute("manifest:full-path").value();
        if (path == ThumbnailName)
            root.remove_child(entry);
        else
            listed[path] = entry;
        entry = next;
    }
    if (listed.count("/")) SetAttribute(listed["/"], "manifest:media-type", TextType);
    for (const PackageEntry& entry : entries) {
        if (entry.name == "mimetype" || entry.name == ManifestName || listed.count(entry.name) || entry.name.empty() ||
            entry.name.back() == '/')
            continue;
        pugi::xml_node added = root.append_child("manifest:file-entry");
        SetAttribute(added, "manifest:full-path", entry.name);
        SetAttribute(added, "manifest:media-type", MediaType(entry.name));
    }
    return WriteXmlPart(*manifest);
}

}  // namespace

std::vector<TemplatePart> OdtTextParts(const std::vector<PackageEntry>& entries)
{
    const std::string& type = FindEntry(entries, "mimetype")->bytes;
    if (type != TextType && type != TemplateType)
        throw KestalError("это не текстовый документ ODF: его тип «" + type.substr(0, 80) + "»");
    if (!FindEntry(entries, ManifestName)) throw KestalError(std::string("в шаблоне нет части ") + ManifestName);
    std::vector<TemplatePart> parts{{"content.xml", ""}};
    if (FindEntry(entries, "styles.xml")) parts.push_back({"styles.xml", ""});
    return parts;
}

std::string FillOdt(const DocumentTemplate& documentTemplate, const FieldValues& values)
{
    std::map<std::string, std::string> paths;  // picture name → its entry
    std::vector<PackageEntry> pictures;
    unsigned frames = 0;
    const PlaceInPart placeIn = [&](const std::string&, unsigned&) -> PlacePicture {
        return [&](pugi::xml_node parent, pugi::xml_node before, const std::string& name) {
            std::string& path = paths[name];
            const Picture& picture = values.pictures.at(name);
            if (path.empty()) {
                path = NewPictureName(documentTemplate.entries, "Pictures/", paths.size());
                pictures.push_back({path, picture.png});
            }
            InsertOdtPicture(parent, before, path, picture, ++frames);
        };
    };
    std::vector<PackageEntry> entries = FilledEntries(documentTemplate, values, placeIn);
    std::vector<PackageEntry> written{{"mimetype", TextType}};
    for (PackageEntry& entry : entries)
        if (entry.name != "mimetype" && entry.name != ThumbnailName) written.push_back(std::move(entry));
    for (PackageEntry& picture : pictures) written.push_back(std::move(picture));
    PackageEntry* manifest = FindEntry(written, ManifestName);
    manifest->bytes = Manifest(manifest->bytes, written);
    return WritePackage(written, true);
}

}  // namespace kestal
