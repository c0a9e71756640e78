// Building template packages for the tests and reading filled ones back, through libzip and pugixml.
#include "TestPackages.h"

#include <zip.h>

#include <cstring>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <set>
#include <stdexcept>

namespace kestal::test {

namespace {

struct Entry {
    std::string name;
    std::string bytes;
    bool stored = false;
};

// The text's pieces between the separators: runs at "|", a cell's paragraphs at "\n".
std::vector<std::string> Split(const std::string& text, char separator = '|')
{
    std::vector<std::string> parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return parts;
        at = end + 1;
    }
}

std::string Zip(const std::vector<Entry>& entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* zip = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    for (const Entry& entry : entries) {
        zip_source_t* source = zip_source_buffer(zip, entry.bytes.data(), entry.bytes.size(), 0);
        const zip_int64_t index = zip_file_add(zip, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 0);
    }
    if (zip_close(zip) != 0) throw std::runtime_error("test package not written");
    zip_stat_t stat;
    zip_source_stat(target, &stat);
    std::string bytes(stat.size, '\0');
    zip_source_open(target);
    zip_source_read(target, bytes.data(), stat.size);
    zip_source_close(target);
    zip_source_free(target);
    return bytes;
}

struct Archive {
    explicit Archive(const std::string& bytes) : bytes_(bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
        zip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!zip) throw std::runtime_error("not a zip archive");
    }
    ~Archive() { zip_discard(zip); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
            names.push_back(zip_get_name(zip, static_cast<zip_uint64_t>(i), 0));
        return names;
    }

    bool Has(const std::string& name) const { return zip_name_locate(zip, name.c_str(), 0) >= 0; }

    std::string Read(const std::string& name) const
    {
        zip_stat_t stat;
        if (zip_stat(zip, name.c_str(), 0, &stat) != 0) return {};
        std::string bytes(stat.size, '\0');
        zip_file_t* file = zip_fopen(zip, name.c_str(), 0);
        zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        return bytes;
    }

    zip_t* zip = nullptr;

private:
    std::string bytes_;
};

std::string Saved(const pugi::xml_document& document)
{
    struct Writer : pugi::xml_writer {
        std::string bytes;
        void write(const void* data, std::size_t size) override { bytes.append(static_cast<const char*>(data), size); }
    } writer;
    document.save(writer, "", pugi::format_raw);
    return writer.bytes;
}

pugi::xml_document Parsed(const std::string& xml)
{
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata))
        throw std::runtime_error("test XML does not parse");
    return document;
}

// ---- ODT ----

constexpr const char* OdtNamespaces = R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
                                      R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
                                      R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0")"
                                      R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
                                      R"( xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")"
                                      R"( xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0")"
                                      R"( xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")"
                                      R"( xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.3")";

void OdtParagraph(pugi::xml_node parent, const std::vector<std::string>& runs)
{
    pugi::xml_node paragraph = parent.append_child("text:p");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (i % 2 == 0) {
            paragraph.append_child(pugi::node_pcdata).set_value(runs[i].c_str());
            continue;
        }
        pugi::xml_node span = paragraph.append_child("text:span");
        span.append_attribute("text:style-name") = "Bold";
        span.text().set(runs[i].c_str());
    }
}

// ---- DOCX ----

constexpr const char* WordNamespaces =
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";

void DocxParagraph(pugi::xml_node parent, const std::vector<std::string>& runs)
{
    pugi::xml_node paragraph = parent.append_child("w:p");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (i > 0) paragraph.append_child("w:proofErr").append_attribute("w:type") = "spellStart";
        pugi::xml_node run = paragraph.append_child("w:r");
        if (i % 2 == 1) run.append_child("w:rPr").append_child("w:b");
        pugi::xml_node text = run.append_child("w:t");
        text.append_attribute("xml:space") = "preserve";
        text.text().set(runs[i].c_str());
    }
}

// How a format writes the test's blocks.
struct Dialect {
    void (*paragraph)(pugi::xml_node parent, const std::vector<std::string>& runs);
    const char* table;
    const char* columns;  // the element that holds the columns' widths
    const char* column;
    const char* row;
    const char* cell;
};
const Dialect Odt = {OdtParagraph, "table:table", nullptr, "table:table-column", "table:table-row", "table:table-cell"};
const Dialect Docx = {DocxParagraph, "w:tbl", "w:tblGrid", "w:gridCol", "w:tr", "w:tc"};

void Blocks(const Dialect& dialect, pugi::xml_node parent, const std::vector<Block>& blocks)
{
    for (const Block& block : blocks) {
        if (block.rows.empty()) {
            dialect.paragraph(parent, block.runs);
            continue;
        }
        pugi::xml_node table = parent.append_child(dialect.table);
        pugi::xml_node columns = dialect.columns ? table.append_child(dialect.columns) : table;
        for (std::size_t c = 0; c < block.rows.front().size(); ++c) columns.append_child(dialect.column);
        for (const auto& row : block.rows) {
            pugi::xml_node tableRow = table.append_child(dialect.row);
            for (const std::string& cell : row) {
                pugi::xml_node tableCell = tableRow.append_child(dialect.cell);
                for (const std::string& paragraph : Split(cell, '\n')) dialect.paragraph(tableCell, Split(paragraph));
            }
        }
    }
}

std::string OdtPackage(const TemplateText& text)
{
    pugi::xml_document content = Parsed(std::string("<office:document-content") + OdtNamespaces +
                                        R"(><office:automatic-styles><style:style style:name="Bold" )"
                                        R"(style:family="text"><style:text-properties fo:font-weight="bold"/>)"
                                        R"(</style:style></office:automatic-styles><office:body><office:text/>)"
                                        R"(</office:body></office:document-content>)");
    Blocks(Odt, content.document_element().child("office:body").child("office:text"), text.body);
    pugi::xml_document styles = Parsed(std::string("<office:document-styles") + OdtNamespaces +
                                       R"(><office:automatic-styles><style:page-layout style:name="pm1"/>)"
                                       R"(</office:automatic-styles><office:master-styles><style:master-page )"
                                       R"(style:name="Standard" style:page-layout-name="pm1"><style:header/>)"
                                       R"(</style:master-page></office:master-styles></office:document-styles>)");
    Blocks(Odt,
           styles.document_element().child("office:master-styles").child("style:master-page").child("style:header"),
           text.header);
    const std::string type = text.officeTemplate ? "application/vnd.oasis.opendocument.text-template"
                                                 : "application/vnd.oasis.opendocument.text";
    pugi::xml_document manifest =
        Parsed(R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" )"
               R"(manifest:version="1.3"><manifest:file-entry manifest:full-path="/" manifest:version="1.3"/>)"
               R"(<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>)"
               R"(<manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>)"
               R"(<manifest:file-entry manifest:full-path="Thumbnails/thumbnail.png" manifest:media-type="image/png"/>)"
               R"(</manifest:manifest>)");
    manifest.document_element().child("manifest:file-entry").append_attribute("manifest:media-type") = type.c_str();
    return Zip({{"mimetype", type, true},
                {"content.xml", Saved(content)},
                {"styles.xml", Saved(styles)},
                {"Thumbnails/thumbnail.png", SmallPng()},
                {"META-INF/manifest.xml", Saved(manifest)}});
}

std::string DocxPackage(const TemplateText& text)
{
    pugi::xml_document document = Parsed(std::string("<w:document") + WordNamespaces + "><w:body/></w:document>");
    pugi::xml_node body = document.document_element().child("w:body");
    Blocks(Docx, body, text.body);
    pugi::xml_node section = body.append_child("w:sectPr");
    pugi::xml_node reference = section.append_child("w:headerReference");
    reference.append_attribute("w:type") = "default";
    reference.append_attribute("r:id") = "rId1";
    pugi::xml_document header = Parsed(std::string("<w:hdr") + WordNamespaces + "/>");
    Blocks(Docx, header.document_element(), text.header);
    const std::string main = text.officeTemplate ? "template" : "document";
    return Zip(
        {{"[Content_Types].xml",
          R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
          R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
          R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
          R"(<Default Extension="xml" ContentType="application/xml"/>)"
          R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.)"
          R"(wordprocessingml.)" +
              main +
              R"(.main+xml"/><Override PartName="/word/header1.xml" ContentType="application/)"
              R"(vnd.openxmlformats-officedocument.wordprocessingml.header+xml"/></Types>)"},
         {"_rels/.rels",
          R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/)"
          R"(officeDocument" Target="word/document.xml"/></Relationships>)"},
         {"word/document.xml", Saved(document)},
         {"word/_rels/document.xml.rels",
          R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/)"
          R"(header" Target="header1.xml"/></Relationships>)"},
         {"word/header1.xml", Saved(header)}});
}

// ---- Reading back ----

std::string Millimetres(double mm)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", mm);
    return text;
}

// Everything a package's text reads with: its archive, and how it finds a picture's part.
struct Reader {
    const Archive& archive;
    DocumentFormat format;
    std::map<std::string, std::string> relationships;  // DOCX: id → entry of the part being read

    std::string Picture(const std::string& entry, double widthMm, double heightMm) const
    {
        return "<picture " + Millimetres(widthMm) + "x" + Millimetres(heightMm) + " mm, " +
               std::to_string(archive.Read(entry).size()) + " bytes>";
    }

    std::string Inline(pugi::xml_node node) const
    {
        std::string text;
        for (pugi::xml_node child : node.children()) {
            const std::string name = child.name();
            if (child.type() == pugi::node_pcdata && format == DocumentFormat::Odt)
                text += child.value();
            else if (name == "w:t")
                text += child.text().get();
            else if (name == "text:s")
                text += std::string(child.attribute("text:c").as_uint(1), ' ');
            else if (name == "text:tab" || name == "w:tab")
                text += '\t';
            else if (name == "text:line-break" || name == "w:br")
                text += '\n';
            else if (name == "draw:frame")
                text += Picture(child.child("draw:image").attribute("xlink:href").value(),
                                std::stod(child.attribute("svg:width").value()),
                                std::stod(child.attribute("svg:height").value()));
            else if (name == "w:drawing") {
                const pugi::xml_node extent = child.first_element_by_path("wp:inline/wp:extent");
                const pugi::xml_node blip =
                    child.first_element_by_path("wp:inline/a:graphic/a:graphicData/pic:pic/pic:blipFill/a:blip");
                const auto target = relationships.find(blip.attribute("r:embed").value());
                text += Picture(target == relationships.end() ? "" : target->second,
                                extent.attribute("cx").as_double() / 36000, extent.attribute("cy").as_double() / 36000);
            } else if (name != "w:rPr" && name != "w:pPr")
                text += Inline(child);
        }
        return text;
    }

    void Lines(pugi::xml_node parent, std::vector<std::string>& lines) const
    {
        for (pugi::xml_node child : parent.children()) {
            const std::string name = child.name();
            if (name == "text:p" || name == "w:p") lines.push_back(Inline(child));
            if (name != "table:table" && name != "w:tbl") continue;
            for (pugi::xml_node row : child.children(format == DocumentFormat::Odt ? "table:table-row" : "w:tr")) {
                std::string line = "[";
                for (pugi::xml_node cell : row.children(format == DocumentFormat::Odt ? "table:table-cell" : "w:tc")) {
                    std::vector<std::string> paragraphs;
                    Lines(cell, paragraphs);
                    if (cell.previous_sibling(cell.name())) line += "|";
                    for (std::size_t i = 0; i < paragraphs.size(); ++i) line += (i ? "/" : "") + paragraphs[i];
                }
                lines.push_back(line + "]");
            }
        }
    }
};

std::map<std::string, std::string> RelationshipTargets(const Archive& archive, const std::string& part)
{
    std::map<std::string, std::string> targets;
    const std::string folder = part.substr(0, part.rfind('/') + 1);
    const std::string rels = folder + "_rels/" + part.substr(folder.size()) + ".rels";
    pugi::xml_document document;
    const std::string bytes = archive.Read(rels);
    document.load_buffer(bytes.data(), bytes.size());
    for (pugi::xml_node relation : document.document_element().children("Relationship")) {
        const std::string target = relation.attribute("Target").value();
        targets[relation.attribute("Id").value()] = target.starts_with('/') ? target.substr(1) : folder + target;
    }
    return targets;
}

void OdtFaults(const Archive& archive, std::vector<std::string>& faults)
{
    const std::vector<std::string> names = archive.Names();
    zip_stat_t stat;
    if (names.empty() || names.front() != "mimetype") faults.push_back("mimetype is not the first entry");
    if (zip_stat(archive.zip, "mimetype", 0, &stat) != 0 || stat.comp_method != ZIP_CM_STORE)
        faults.push_back("mimetype is compressed");
    if (archive.Read("mimetype") != "application/vnd.oasis.opendocument.text") faults.push_back("wrong mimetype");
    pugi::xml_document manifest;
    const std::string bytes = archive.Read("META-INF/manifest.xml");
    manifest.load_buffer(bytes.data(), bytes.size());
    std::set<std::string> listed;
    for (pugi::xml_node entry : manifest.document_element().children("manifest:file-entry")) {
        const std::string path = entry.attribute("manifest:full-path").value();
        listed.insert(path);
        if (!entry.attribute("manifest:media-type")) faults.push_back("no media type for " + path);
        if (path != "/" && path.back() != '/' && !archive.Has(path)) faults.push_back("listed but missing: " + path);
    }
    if (manifest.document_element().first_child().attribute("manifest:media-type").value() !=
        std::string("application/vnd.oasis.opendocument.text"))
        faults.push_back("the manifest's document type is not text");
    for (const std::string& name : names)
        if (name != "mimetype" && name != "META-INF/manifest.xml" && name.back() != '/' && !listed.count(name))
            faults.push_back("not in the manifest: " + name);
}

void DocxFaults(const Archive& archive, std::vector<std::string>& faults)
{
    pugi::xml_document types;
    const std::string bytes = archive.Read("[Content_Types].xml");
    types.load_buffer(bytes.data(), bytes.size());
    std::set<std::string> overrides, defaults;
    for (pugi::xml_node entry : types.document_element().children("Override"))
        overrides.insert(entry.attribute("PartName").value());
    for (pugi::xml_node entry : types.document_element().children("Default"))
        defaults.insert(entry.attribute("Extension").value());
    for (pugi::xml_node entry : types.document_element().children("Override"))
        if (entry.attribute("PartName").value() == std::string("/word/document.xml") &&
            entry.attribute("ContentType").value() !=
                std::string("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"))
            faults.push_back("the main part is not a document's");
    std::set<std::string> reached;
    for (const std::string& name : archive.Names()) {
        if (name.size() < 5 || name.compare(name.size() - 5, 5, ".rels") != 0) continue;
        const std::string folder = name.substr(0, name.find("_rels/"));
        const std::string source = folder + name.substr(folder.size() + 6, name.size() - folder.size() - 11);
        for (const auto& [id, target] : RelationshipTargets(archive, source)) {
            reached.insert(target);
            if (!archive.Has(target))
                faults.push_back("relationship " + id + " of " + source + " to missing " + target);
        }
    }
    for (const std::string& name : archive.Names()) {
        const std::string extension = name.substr(name.rfind('.') + 1);
        if (name == "[Content_Types].xml") continue;
        if (!overrides.count("/" + name) && !defaults.count(extension)) faults.push_back("no content type: " + name);
        if (extension != "rels" && !reached.count(name)) faults.push_back("no relationship reaches " + name);
        if (extension != "xml") continue;
        pugi::xml_document part;
        const std::string xml = archive.Read(name);
        part.load_buffer(xml.data(), xml.size());
        for (pugi::xpath_node cell : part.select_nodes("//w:tc"))
            if (std::strcmp(cell.node().last_child().name(), "w:p") != 0)
                faults.push_back("a cell that does not end with a paragraph in " + name);
        const auto targets = RelationshipTargets(archive, name);
        for (pugi::xpath_node blip : part.select_nodes("//a:blip"))
            if (!targets.count(blip.node().attribute("r:embed").value()))
                faults.push_back("picture without relationship in " + name);
    }
}

}  // namespace

Block P(const std::string& runs) { return {Split(runs), {}}; }
Block T(const std::vector<std::vector<std::string>>& rows) { return {{}, rows}; }

std::string TemplatePackage(DocumentFormat format, const TemplateText& text)
{
    return format == DocumentFormat::Odt ? OdtPackage(text) : DocxPackage(text);
}

std::vector<std::string> TextLines(const std::string& package, bool header)
{
    const Archive archive(package);
    const bool odt = archive.Has("mimetype");
    const std::string part = odt      ? (header ? "styles.xml" : "content.xml")
                             : header ? "word/header1.xml"
                                      : "word/document.xml";
    Reader reader{archive, odt ? DocumentFormat::Odt : DocumentFormat::Docx, {}};
    if (!odt) reader.relationships = RelationshipTargets(archive, part);
    pugi::xml_document document;
    const std::string bytes = archive.Read(part);
    document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    const pugi::xml_node root = document.document_element();
    const pugi::xml_node text =
        odt      ? (header ? root.first_element_by_path("office:master-styles/style:master-page/style:header")
                           : root.first_element_by_path("office:body/office:text"))
        : header ? root
                 : root.child("w:body");
    std::vector<std::string> lines;
    reader.Lines(text, lines);
    return lines;
}

std::vector<std::string> PackageFaults(const std::string& package)
{
    std::vector<std::string> faults;
    const Archive archive(package);
    for (const std::string& name : archive.Names()) {
        const std::string extension = name.substr(name.rfind('.') + 1);
        if (extension != "xml" && extension != "rels") continue;
        pugi::xml_document part;
        const std::string bytes = archive.Read(name);
        if (!part.load_buffer(bytes.data(), bytes.size())) faults.push_back("does not parse: " + name);
        for (const char* rowless : {"//table:table[not(.//table:table-row)]", "//w:tbl[not(w:tr)]"})
            if (!part.select_nodes(rowless).empty()) faults.push_back("a table without rows in " + name);
    }
    if (archive.Has("mimetype"))
        OdtFaults(archive, faults);
    else
        DocxFaults(archive, faults);
    return faults;
}

std::string WithEntry(const std::string& package, const std::string& name, const std::string& bytes)
{
    const Archive archive(package);
    std::vector<Entry> entries;
    for (const std::string& entry : archive.Names())
        entries.push_back({entry, entry == name ? bytes : archive.Read(entry), entry == "mimetype"});
    if (!archive.Has(name)) entries.push_back({name, bytes});
    return Zip(entries);
}

std::string EntryBytes(const std::string& package, const std::string& name) { return Archive(package).Read(name); }

std::vector<std::string> EntryNames(const std::string& package) { return Archive(package).Names(); }

const std::string& SmallPng()
{
    static const std::string png(
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x02\x00"
        "\x00\x00\x90\x77\x53\xde\x00\x00\x00\x0c\x49\x44\x41\x54\x78\x9c\x63\x38\x21\x27\x07\x00\x02\xb6\x01\x05\x34"
        "\xa6\x75\xaa\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
        69);
    return png;
}

const std::string& WidePng()
{
    static const std::string png(
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x03\x00\x00\x00\x02\x08\x02\x00"
        "\x00\x00\x12\x16\xf1\x4d\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9c\x63\x90\x93\x3b\x01\x41\x0c\x70\x16\x00\x39"
        "\x08\x06\x19\xe4\xed\xc4\xe2\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
        73);
    return png;
}

}  // namespace kestal::test
