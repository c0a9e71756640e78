// An expert panel as a delimited table.
#include "analysis/ExpertPanelCsv.h"

#include <variant>

#include "common/DelimitedTable.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

[[noreturn]] void Refuse(std::size_t row, std::size_t column, const std::string& message)
{
    throw KestalError("строка " + std::to_string(row) + ", столбец " + std::to_string(column) + ": " + message);
}

// "1" … "11", digits only; 0 when the cell is none.
int LevelNumber(const std::string& cell)
{
    if (cell.empty() || cell.size() > 2 || cell.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int number = std::stoi(cell);
    return number >= 1 && number <= LevelCount ? number : 0;
}

std::string QuotedIfNeeded(const std::string& cell)
{
    if (cell.find_first_of(";,\t\"\r\n") == std::string::npos && Trimmed(cell) == cell) return cell;
    std::string quoted = "\"";
    for (const char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

ExpertPanel ReadExpertPanelCsv(const std::string& bytes)
{
    const auto read = ReadDelimitedTable(bytes);
    if (const auto* refusal = std::get_if<TableRefusal>(&read)) throw KestalError(RefusalLine(*refusal));
    const auto& rows = std::get<DelimitedTable>(read).rows;

    std::vector<std::string> header;
    for (const std::string& cell : rows.front()) header.push_back(Trimmed(cell));
    while (!header.empty() && header.back().empty()) header.pop_back();  // a spreadsheet's trailing separators
    if (header.empty() || header.front() != "factor") Refuse(1, 1, "в первой ячейке заголовка ожидается «factor»");
    const std::size_t experts = header.size() - 1;
    if (experts < MinPanelExperts || experts > MaxPanelExperts)
        Refuse(1, experts < MinPanelExperts ? header.size() + 1 : MaxPanelExperts + 2,
               "в панели от 2 до 12 экспертов, в заголовке " + std::to_string(experts));
    ExpertPanel panel;
    for (std::size_t k = 1; k < header.size(); ++k) {
        if (header[k].empty()) Refuse(1, k + 1, "пустое имя эксперта");
        for (std::size_t j = 1; j < k; ++j)
            if (header[j] == header[k])
                Refuse(1, k + 1, "эксперт «" + header[k] + "» уже есть в столбце " + std::to_string(j + 1));
        panel.experts.push_back({header[k], {}});
    }

    std::array<std::size_t, FactorCount> rowOf{};  // the row that rated each factor, 0: none yet
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::size_t rowNumber = r + 1;
        std::vector<std::string> cells;
        for (const std::string& cell : rows[r]) cells.push_back(Trimmed(cell));
        bool blank = true;
        for (const std::string& cell : cells) blank = blank && cell.empty();
        if (blank) continue;
        const FactorInfo* factor = FindFactor(cells.front());
        if (!factor) Refuse(rowNumber, 1, "неизвестный фактор «" + cells.front() + "»");
        const int index = CatalogueIndex(*factor);
        if (rowOf[index])
            Refuse(rowNumber, 1,
                   "фактор " + std::string(factor->id) + " уже есть в строке " + std::to_string(rowOf[index]));
        rowOf[index] = rowNumber;
        for (std::size_t k = 1; k < cells.size(); ++k) {
            const std::string& cell = cells[k];
            if (cell.empty() || cell == "—") continue;
            if (k > experts) Refuse(rowNumber, k + 1, "ячейка правее столбца последнего эксперта");
            const int level = LevelNumber(cell);
            if (!level) Refuse(rowNumber, k + 1, "«" + cell + "» — не номер уровня от 1 до 11");
            panel.experts[k - 1].level[index] = level;
        }
    }
    return panel;
}

std::string ExpertPanelCsv(const ExpertPanel& panel)
{
    std::string text = "factor";
    for (const PanelExpert& expert : panel.experts) text += ";" + QuotedIfNeeded(expert.name);
    text += "\r\n";
    for (const FactorInfo& factor : FactorCatalogue) {
        const int index = CatalogueIndex(factor);
        std::string row = factor.id;
        bool rated = false;
        for (const PanelExpert& expert : panel.experts) {
            row += ";";
            if (IsLevelNumber(expert.level[index])) {
                row += std::to_string(expert.level[index]);
                rated = true;
            }
        }
        if (rated) text += row + "\r\n";
    }
    return text;
}

}  // namespace kestal
