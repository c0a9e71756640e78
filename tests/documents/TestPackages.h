// Test helpers: small ODT and DOCX templates built through libzip and pugixml, and filled packages
// read back independently of the engine: their structure checked and their text read as shown.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "documents/DocumentXml.h"

namespace kestal::test {

// A paragraph (its runs, each with a formatting of its own) or a table (rows of cells, each cell
// paragraphs of runs). Runs are written split at "|", a cell's paragraphs at "\n".
struct Block {
    std::vector<std::string> runs;
    std::vector<std::vector<std::string>> rows;
};
Block P(const std::string& runs);
Block T(const std::vector<std::vector<std::string>>& rows);

struct TemplateText {
    TemplateText(std::vector<Block> body, std::vector<Block> header = {}, bool officeTemplate = false)
        : body(std::move(body)), header(std::move(header)), officeTemplate(officeTemplate)
    {}
    std::vector<Block> body;
    std::vector<Block> header;    // the page header's paragraphs
    bool officeTemplate = false;  // saved as OTT or DOTX
};

// A template package in the format. DOCX runs are separated by a spell-check mark.
std::string TemplatePackage(DocumentFormat format, const TemplateText& text);

// The main text as lines: a paragraph's text (tabs "\t", line breaks "\n", a picture
// "<picture WIDTHxHEIGHT mm, N bytes>"), a table row "[cell|cell]". `header` reads the page header.
std::vector<std::string> TextLines(const std::string& package, bool header = false);

// The faults of a written package: for ODT the mimetype entry not first, compressed or wrong, an
// entry the manifest does not list or a listed one missing; for DOCX a part without a content type
// or not reached by a relationship, a relationship to a missing part, a picture's relationship
// missing, a cell that does not end with a paragraph; in both an XML part that does not parse or
// a table without rows. Empty when the package is sound.
std::vector<std::string> PackageFaults(const std::string& package);

// The package with one entry's bytes replaced (or added), as a zip of its own.
std::string WithEntry(const std::string& package, const std::string& name, const std::string& bytes);

// An entry's bytes ("" when absent), and every entry's name in order.
std::string EntryBytes(const std::string& package, const std::string& name);
std::vector<std::string> EntryNames(const std::string& package);

// Two PNG pictures: 1 × 1 and 3 × 2 pixels.
const std::string& SmallPng();
const std::string& WidePng();

}  // namespace kestal::test
