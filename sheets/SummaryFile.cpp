// A summary of workplaces written as CSV text.
#include "sheets/SummaryFile.h"

#include <charconv>
#include <cmath>

namespace kestal {

namespace {

std::vector<std::string> HeaderCells()
{
    std::vector<std::string> header = {"row", "name"};
    for (const char* letter : NodeLetters) header.emplace_back(letter);
    for (const char* column : {"rank", "top1", "top2", "top3"}) header.emplace_back(column);
    return header;
}

// A CSV cell: quoted when it holds a comma, a quote or a line break.
std::string CsvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Number(long double value)
{
    if (!std::isfinite(value)) return "";
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr;
    return std::string(text, end);
}

}  // namespace

std::string SummaryCsv(const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed)
{
    std::string csv;
    const std::vector<std::string> header = HeaderCells();
    for (std::size_t c = 0; c < header.size(); ++c) csv += (c ? "," : "") + header[c];
    csv += '\n';
    for (std::size_t i = 0; i < assessed.size(); ++i) {
        csv += std::to_string(list.workplaces[i].row) + ',' + CsvCell(list.workplaces[i].name);
        for (const long double p : assessed[i].nodes.node) csv += ',' + Number(p);
        csv += ',' + std::to_string(assessed[i].rank);
        for (const FactorInfo* factor : assessed[i].top) csv += ',' + std::string(factor ? factor->id : "");
        csv += '\n';
    }
    return csv;
}

}  // namespace kestal
