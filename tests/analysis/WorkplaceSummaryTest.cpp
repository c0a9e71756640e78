// Workplace rows read from cells, refused row by row, and assessed as each would be alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>

#include "analysis/FactorImportance.h"
#include "analysis/WorkplaceSummary.h"
#include "network/RandomSource.h"
#include "common/DelimitedTable.h"
#include "common/KestalError.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

using Cells = std::vector<std::vector<std::string>>;

NetworkInputs With(NetworkInputs inputs, const char* id, int number)
{
    inputs.slot[FindFactor(id)->slot] = LevelTable[number - 1].value;
    return inputs;
}

TEST(WorkplaceSummary, CellsReadAsLevelsOrRefuseTheirRow)
{
    const struct {
        std::string cell;
        std::optional<int> level;  // nothing: the row is refused
    } cases[] = {
        {"1", 1},
        {"11", 11},
        {" 7 ", 7},
        {"7.0", 7},
        {"7,00", 7},
        {"05", 5},
        {"\xC2\xA0"
         "3",
         3},
        {"0", {}},
        {"12", {}},
        {"-1", {}},
        {"7.5", {}},
        {"x", {}},
        {"7 7", {}},
        {"1e1", {}},
        {"+3", {}},
        {"100", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        // Columns in any order, any case; an unknown column is ignored; M03 missing, H01 empty.
        const WorkplaceList list =
            ReadWorkplaces({{" t04", "Прочее", "Name", "H01", "c02"}, {"8", "что угодно", " Цех 1 ", "", c.cell}});
        if (c.level) {
            ASSERT_EQ(list.workplaces.size(), 1u);
            EXPECT_TRUE(list.errors.empty());
            EXPECT_EQ(list.workplaces[0].row, 2u);
            EXPECT_EQ(list.workplaces[0].name, "Цех 1");
            EXPECT_EQ(list.workplaces[0].inputs, With(With(InitialInputs(), "T04", 8), "C02", *c.level));
        } else {
            EXPECT_TRUE(list.workplaces.empty());
            ASSERT_EQ(list.errors.size(), 1u);
            EXPECT_EQ(list.errors[0], (WorkplaceRefusal{2, "C02", "«" + c.cell + "» — не номер уровня от 1 до 11"}));
        }
    }
    // The Russian name column; a blank row is no workplace.
    const WorkplaceList named = ReadWorkplaces({{"Рабочее место", "H01"}, {"Склад", "2"}, {" ", ""}, {"Цех", ""}});
    ASSERT_EQ(named.workplaces.size(), 2u);
    EXPECT_EQ(named.workplaces[1].row, 4u);
    EXPECT_EQ(named.workplaces[1].inputs, InitialInputs());
}

TEST(WorkplaceSummary, HeadersWithoutAFactorOrWithOneTwiceAreRefused)
{
    const struct {
        Cells cells;
        std::string message;
    } cases[] = {
        {{}, "в таблице нет строки заголовка"},
        {{{"name", "H15", "Фактор"}, {"a", "1", "2"}}, "строка заголовка не называет ни одного фактора (H01 … T06)"},
        {{{"H01", "name", "h01"}}, "столбцы A и C оба названы H01"},
        {{{"name", "H01", "Рабочее место"}}, "столбцы A и C оба названы как столбец названия рабочего места"},
    };
    for (const auto& c : cases) {
        try {
            ReadWorkplaces(c.cells);
            ADD_FAILURE() << c.message;
        } catch (const KestalError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

// A file of 200 seeded rows over every factor; rows 7, 26, … get one bad cell each at a varying column.
TEST(WorkplaceSummary, TwoHundredRowsWithTenBadOnesRefuseExactlyThose)
{
    Cells cells(1);
    cells[0].push_back("name");
    for (const FactorInfo& f : FactorCatalogue) cells[0].push_back(f.id);
    RandomSource random;
    random.RandomSeed = 7;
    std::vector<WorkplaceRefusal> expected;
    for (int r = 2; r <= 201; ++r) {
        std::vector<std::string> row = {"Место " + std::to_string(r)};
        for (int f = 0; f < FactorCount; ++f)
            row.push_back(std::to_string(1 + static_cast<int>(random.NextUniform() * 11)));
        if (r % 19 == 7 && expected.size() < 10) {
            const int f = static_cast<int>(expected.size() * 3);
            row[f + 1] = expected.size() % 2 ? "12" : "много";
            expected.push_back({static_cast<std::size_t>(r), FactorCatalogue[f].id,
                                "«" + row[f + 1] + "» — не номер уровня от 1 до 11"});
        }
        cells.push_back(row);
    }
    ASSERT_EQ(expected.size(), 10u);
    // Through the file's text, as a spreadsheet saves it.
    std::string text;
    for (const auto& row : cells) {
        for (std::size_t c = 0; c < row.size(); ++c) text += (c ? ";" : "") + row[c];
        text += "\r\n";
    }
    const auto table = ReadDelimitedTable(text);
    ASSERT_TRUE(std::holds_alternative<DelimitedTable>(table));
    const WorkplaceList list = ReadWorkplaces(std::get<DelimitedTable>(table).rows);
    EXPECT_EQ(list.errors, expected);
    EXPECT_EQ(list.workplaces.size(), 190u);
}

TEST(WorkplaceSummary, RowsEqualSingleAssessmentsAndRanksFollowTheAccidentProbability)
{
    std::vector<Workplace> workplaces;
    RandomSource random;
    random.RandomSeed = 11;
    for (std::size_t i = 0; i < 24; ++i) {
        NetworkInputs inputs = InitialInputs();
        for (int k = 0; k < 6; ++k)
            inputs.slot[static_cast<int>(random.NextUniform() * FactorCount)] =
                LevelTable[static_cast<int>(random.NextUniform() * LevelCount)].value;
        workplaces.push_back({i + 2, "", inputs});
    }
    workplaces.push_back({26, "", workplaces[3].inputs});  // a tie: file order decides
    for (const bool importance : {true, false}) {
        const auto assessed = AssessWorkplaces(workplaces, importance, {}, 2);
        ASSERT_TRUE(assessed.has_value());
        for (std::size_t i = 0; i < workplaces.size(); ++i) {
            const NodeProbabilities alone = ExactNodeProbabilities(workplaces[i].inputs);
            EXPECT_EQ((*assessed)[i].nodes.node, alone.node);
            if (importance) {
                const ImportanceTable table = RankFactorImportance(workplaces[i].inputs);
                for (int t = 0; t < TopFactorCount; ++t) EXPECT_EQ((*assessed)[i].top[t], table.factors[t].factor);
            } else {
                EXPECT_EQ((*assessed)[i].top[0], nullptr);
            }
            // The rank counts the workplaces before it: more dangerous, or as dangerous and earlier.
            int rank = 1;
            for (std::size_t j = 0; j < workplaces.size(); ++j) {
                const long double pj = (*assessed)[j].nodes.node[NodeI], pi = alone.node[NodeI];
                rank += pj > pi || (pj == pi && j < i);
            }
            EXPECT_EQ((*assessed)[i].rank, rank);
        }
    }
}

// Whichever thread assessed a row, the calling thread reports every count once and in order, and a
// stop asked for at any count ends the work on every thread at that count.
TEST(WorkplaceSummary, EveryCountIsReportedOnceAndAStopIsSeenAtItsCount)
{
    const std::vector<Workplace> workplaces(40, Workplace{2, "", InitialInputs()});
    const struct {
        unsigned threads;
        std::size_t stopAt;  // the call that answers false; 0: none
    } cases[] = {{1, 0}, {2, 0}, {4, 0}, {1, 3}, {2, 1}, {2, 3}, {2, 40}, {4, 2}, {4, 39}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.threads << " threads, stop at " << c.stopAt);
        std::vector<std::size_t> counts;
        const auto assessed = AssessWorkplaces(
            workplaces, false,
            [&](std::size_t done, std::size_t total) {
                EXPECT_EQ(total, workplaces.size());
                counts.push_back(done);
                return counts.size() != c.stopAt;
            },
            c.threads);
        EXPECT_EQ(assessed.has_value(), c.stopAt == 0);
        std::vector<std::size_t> expected(c.stopAt ? c.stopAt : workplaces.size());
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(counts, expected);
    }
}

// The top factors come from one evaluation per factor at the end of its scale: the whole ranking,
// reductions bit for bit, equals the full table's on random rating sets and on flat ones (where
// most reductions are equal and catalogue order decides).
TEST(WorkplaceSummary, RankingAtTheScalesEndsEqualsTheFullTable)
{
    std::vector<NetworkInputs> sets = {InitialInputs()};
    for (int level : {1, 6, 11}) {
        NetworkInputs flat;
        flat.slot.fill(LevelTable[level - 1].value);
        sets.push_back(flat);
    }
    RandomSource random;
    random.RandomSeed = 2029;
    while (sets.size() < 300) {
        NetworkInputs inputs;
        // A window of adjacent levels, 1 to 11 wide, and every factor a level in it.
        const int width = 1 + static_cast<int>(random.NextUniform() * LevelCount);
        const int low = static_cast<int>(random.NextUniform() * (LevelCount - width + 1));
        for (float& value : inputs.slot) value = LevelTable[low + static_cast<int>(random.NextUniform() * width)].value;
        sets.push_back(inputs);
    }
    for (std::size_t s = 0; s < sets.size(); ++s) {
        const ImportanceTable table = RankFactorImportance(sets[s]);
        const auto ranked = RankFactorReductions(sets[s]);
        for (int f = 0; f < FactorCount; ++f) {
            ASSERT_EQ(ranked[f].factor, table.factors[f].factor) << "set " << s << ", place " << f;
            ASSERT_EQ(ranked[f].reduction, table.factors[f].reduction) << "set " << s << ", place " << f;
        }
        const WorkplaceAssessment alone = AssessWorkplace(sets[s], true);
        for (int t = 0; t < TopFactorCount; ++t) EXPECT_EQ(alone.top[t], table.factors[t].factor);
    }
}

}  // namespace
