// The expert panel's table: both encodings and three separators, writing and reading back, refusals.
#include <gtest/gtest.h>

#include <string>

#include "analysis/ExpertPanelCsv.h"
#include "common/KestalError.h"

using namespace kestal;

namespace {

std::string Joined(const std::vector<std::string>& rows, char separator)
{
    std::string text;
    for (std::string row : rows) {
        for (char& c : row)
            if (c == '|') c = separator;
        text += row + "\r\n";
    }
    return text;
}

TEST(ExpertPanelCsv, ReadsBothEncodingsAndThreeSeparators)
{
    ExpertPanel expected{{{"Иванов", {}}, {"Петрова", {}}}};
    expected.experts[0].level[CatalogueIndex(*FindFactor("H03"))] = 8;
    expected.experts[1].level[CatalogueIndex(*FindFactor("H03"))] = 11;
    expected.experts[1].level[CatalogueIndex(*FindFactor("T06"))] = 1;
    const struct {
        std::string bom, ivanov, petrova, dash;
    } encodings[] = {
        {"", "Иванов", "Петрова", "—"},
        {"\xEF\xBB\xBF", "Иванов", "Петрова", "—"},
        {"", "\xC8\xE2\xE0\xED\xEE\xE2", "\xCF\xE5\xF2\xF0\xEE\xE2\xE0", "\x97"},  // Windows-1251
    };
    for (const auto& e : encodings)
        for (const char separator : {';', ',', '\t'}) {
            const std::string bytes = e.bom + Joined({"factor| " + e.ivanov + " |" + e.petrova + "|", "H03| 8 |11", "",
                                                      "T06||1|", "M01|" + e.dash + "| "},
                                                     separator);
            EXPECT_EQ(ReadExpertPanelCsv(bytes), expected) << bytes;
        }
    // Written and read back: names that need quotes, every factor, every level.
    ExpertPanel all{{{"Smith; \"J\"", {}}, {"Ким", {}}, {" ", {}}}};
    all.experts[2].name = "О'Нил";
    for (int f = 0; f < FactorCount; ++f) {
        all.experts[0].level[f] = f % 11 + 1;
        all.experts[1].level[f] = f % 3 ? NoOpinion : 11 - f % 11;
    }
    EXPECT_EQ(ReadExpertPanelCsv(ExpertPanelCsv(all)), all);
}

TEST(ExpertPanelCsv, RefusesABadCellNamingRowAndColumn)
{
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {"", "таблица пуста"},
        {"factor;A;B\nH01;\"3\n", "строка 2, столбец 2: кавычка ячейки не закрыта"},
        {"фактор;A;B\n", "строка 1, столбец 1: в первой ячейке заголовка ожидается «factor»"},
        {"factor;A\nH01;3\n", "строка 1, столбец 3: в панели от 2 до 12 экспертов, в заголовке 1"},
        {"factor;1;2;3;4;5;6;7;8;9;10;11;12;13\n",
         "строка 1, столбец 14: в панели от 2 до 12 экспертов, в заголовке 13"},
        {"factor;A;;B\n", "строка 1, столбец 3: пустое имя эксперта"},
        {"factor;A;B;A\n", "строка 1, столбец 4: эксперт «A» уже есть в столбце 2"},
        {"factor;A;B\n\nH10;3;4\n", "строка 3, столбец 1: неизвестный фактор «H10»"},
        {"factor;A;B\nH01;3;4\nH01;5;5\n", "строка 3, столбец 1: фактор H01 уже есть в строке 2"},
        {"factor;A;B\nH01;3;12\n", "строка 2, столбец 3: «12» — не номер уровня от 1 до 11"},
        {"factor,A,B\nH01,3,\"4,5\"\n", "строка 2, столбец 3: «4,5» — не номер уровня от 1 до 11"},
        {"factor;A;B\nH01;0;\n", "строка 2, столбец 2: «0» — не номер уровня от 1 до 11"},
        {"factor;A;B\nH01;3;4;5\n", "строка 2, столбец 4: ячейка правее столбца последнего эксперта"},
        {"factor;A;B\nH01;3;\x98\n", "строка 2, столбец 3: ячейка — не текст ни в UTF-8, ни в Windows-1251"},
    };
    for (const auto& c : cases) {
        try {
            ReadExpertPanelCsv(c.bytes);
            ADD_FAILURE() << "accepted: " << c.bytes;
        } catch (const KestalError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

}  // namespace
