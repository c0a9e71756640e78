// The analysis as texts: the node table before and after a run, the precision line, the importance
// rows' names and levels, the frontier table with the best set first, and the harmful sets named.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/AnalysisTexts.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

const NumberLocale ru = RussianNumberLocale();

TEST(AnalysisTexts, NodeTableAndPrecisionLine)
{
    const NodeProbabilities exact = ExactNodeProbabilities(InitialInputs());
    const TextTable before = NodeTable(exact, nullptr, ru);
    ASSERT_EQ(before.rows.size(), 8u);
    EXPECT_EQ(before.rows[7][0], "I");
    EXPECT_EQ(before.rows[7][1], "Происшествие");
    EXPECT_EQ(before.rows[7][2], "0,0005689");
    EXPECT_EQ(before.rows[7][3], "");
    EXPECT_EQ(PrecisionLine(nullptr, ru), "Частоты опыта и их 95 % интервалы появятся после моделирования.");

    JudgedRun run;
    run.k = 200;
    run.n = 4000;
    run.exact.node[NodeI] = 0.0006L;
    run.precision.node[NodeI] = {0.0006L, 0.0005487L, 0.0006561L, true};
    run.precision.node[NodeH] = {0.0029L, 0.0028L, 0.00285L, false};
    run.precision.accidentRelativeError = 0.04746L;
    run.precision.initiationsForOnePercent = 87631.0L;
    const TextTable after = NodeTable(exact, &run, ru);
    EXPECT_EQ(after.headers.size(), 7u);
    EXPECT_EQ(after.rows[7],
              (std::vector<std::string>{"I", "Происшествие", "0,0005689", "0,0006", "0,0005487", "0,0006561", "да"}));
    EXPECT_EQ(after.rows[6][6], "нет");
    // Ratings changed since the run: the exact value it is judged against stands beside the current one.
    run.ratingsChanged = true;
    const TextTable stale = NodeTable(exact, &run, ru);
    EXPECT_EQ(stale.headers[3], "Точная при оценках опыта");
    EXPECT_EQ(stale.rows[7], (std::vector<std::string>{"I", "Происшествие", "0,0005689", "0,0006", "0,0006",
                                                       "0,0005487", "0,0006561", "да"}));

    const std::string changed = " Оценки факторов изменены после моделирования: частоты опыта — при прежних оценках.";
    const std::string error = "Относительная погрешность частоты происшествия 4,7 %";
    const struct {
        std::optional<long double> forOnePercent;
        bool beyond;
        bool ratingsChanged;
        std::string line;
    } lines[] = {
        {87631.0L, false, false, error + "; для 1 % при K = 200 нужно N ≈ 88\u00A0000."},
        {87631.0L, false, true, error + "; для 1 % при K = 200 нужно N ≈ 88\u00A0000." + changed},
        {std::nullopt, false, false,
         error + "; 1 % моделированием не достичь: генератор даёт при этих оценках не больше ≈ 300\u00A0000\u00A0000 "
                 "различных инициаций, ответ — точная вероятность."},
        {std::nullopt, true, false,
         error + "; K·N больше числа различных инициаций, которые генератор даёт при этих оценках (≈ "
                 "300\u00A0000\u00A0000): новые инициации ничего не добавляют, ответ — точная вероятность."},
    };
    for (const auto& line : lines) {
        run.precision.initiationsForOnePercent = line.forOnePercent;
        run.precision.beyondGeneratorLimit = line.beyond;
        run.precision.generatorLimit = 297623456.5L;
        run.ratingsChanged = line.ratingsChanged;
        EXPECT_EQ(PrecisionLine(&run, ru), line.line);
    }
}

TEST(AnalysisTexts, ImportanceRowsNameFactorsAndLevelsByTheirLists)
{
    const ImportanceTable table = RankFactorImportance(InitialInputs());
    const TextTable rows = ImportanceRows(table, ru);
    ASSERT_EQ(rows.rows.size(), 30u);
    const auto h09 = std::find_if(rows.rows.begin(), rows.rows.end(),
                                  [](const std::vector<std::string>& row) { return row[0].starts_with("H09"); });
    ASSERT_NE(h09, rows.rows.end());
    EXPECT_EQ((*h09)[0], "H09 Качество принятия решения (оперативность мышления)");
    EXPECT_EQ((*h09)[1], "Очень хорошее");  // its list's item 7, the level it starts at
    EXPECT_EQ((*h09)[2], "Очень, очень высокое");
    // The first row offers the largest reduction: a share of the current probability.
    const double share = std::stod(std::string(rows.rows[0][4]).replace(rows.rows[0][4].find(','), 1, "."));
    EXPECT_GT(share, 0.0);
    EXPECT_LT(share, 100.0);
}

TEST(AnalysisTexts, FrontierTablePutsTheBestSetFirst)
{
    const std::vector<CandidateMeasure> measures{{"Обучение", 300, {}}, {"Ремонт", 400, {}}};
    MeasureOptimum optimum{0.001L, 500.0L, {}, 0b01};
    // By benefit: both (over the budget), then each alone, then doing nothing; "Ремонт" alone is
    // dominated, and harmful.
    optimum.subsets = {{0b11, 700, 0.0002L, 8000, 8000.0L / 700, false, true, false},
                       {0b01, 300, 0.0005L, 5000, 5000.0L / 300, true, true, false},
                       {0b00, 0, 0.001L, 0, 0, true, true, false},
                       {0b10, 400, 0.0010016L, -1.6e-8L, -4e-11L, true, false, true}};
    const TextTable table = FrontierTable(optimum, measures, ru);
    ASSERT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.highlightedRow, 0);
    EXPECT_EQ(table.rows[0], (std::vector<std::string>{"Обучение", "300,00", "5\u00A0000", "16,6667", "0,0005", "да"}));
    EXPECT_EQ(table.rows[1][0], "Обучение + Ремонт");
    EXPECT_EQ(table.rows[1][5], "нет");
    EXPECT_EQ(table.rows[2], (std::vector<std::string>{"Без мер", "0,00", "0", "0", "0,001", "да"}));
    // Off the frontier, the harmful set is named in a section of its own.
    EXPECT_EQ(table.sectionRow, 3);
    EXPECT_EQ(table.rows[4][0], "Ремонт (повышает вероятность происшествия)");
    EXPECT_EQ(BestSetLine(optimum, measures, ru),
              "Лучший набор в пределах бюджета: Обучение; затраты 300,00 у.е., выгода 5\u00A0000 у.е.");
    // A harmful set keeps the sign and size of its benefit and is marked.
    optimum.best.reset();
    optimum.subsets[3].pareto = true;
    EXPECT_EQ(FrontierTable(optimum, measures, ru).rows.back(),
              (std::vector<std::string>{"Ремонт (повышает вероятность происшествия)", "400,00", "-1,6E-8", "-4E-11",
                                        "0,001002", "да"}));
    optimum.reason = NoBestSet::NoneWithinBudget;
    EXPECT_EQ(BestSetLine(optimum, measures, ru),
              "Ни один набор мер, снижающий вероятность происшествия, не укладывается в бюджет 500,00 у.е.");
    optimum.reason = NoBestSet::NothingHelps;
    EXPECT_EQ(BestSetLine(optimum, measures, ru), "Ни один набор мер не снижает вероятность происшествия");
}

// Each measure that alone raises the accident probability is named in the line, every set that
// does in the table's section (the highest probability first, the rest counted beyond 30).
TEST(AnalysisTexts, HarmfulMeasuresAndSetsAreNamed)
{
    // Six measures; each case raises the probability of the sets it names (by 10^-6 per set's
    // place in the list, the last the highest).
    const std::vector<CandidateMeasure> measures{{"А", 1, {}}, {"Б", 1, {}}, {"В", 1, {}},
                                                 {"Г", 1, {}}, {"Д", 1, {}}, {"Е", 1, {}}};
    std::vector<uint32_t> many;
    for (uint32_t members = 1; members < 64; ++members)
        if (members & 0b100000) many.push_back(members);
    const struct {
        std::vector<uint32_t> harmful;
        std::string line;
        std::vector<std::string> section;  // the first cells after the section's title; none: no section
    } cases[] = {
        {{}, "", {}},
        {{0b10, 0b11010},
         "Повышают вероятность происшествия (без мер 0,001): «Б» — до 0,001001; наборов мер, повышающих её: 2 из 64.",
         {"Б + Г + Д (повышает вероятность происшествия)", "Б (повышает вероятность происшествия)"}},
        {{0b11},
         "Ни одна мера сама по себе не повышает вероятность происшествия (без мер 0,001); наборов мер, повышающих "
         "её: 1 из 64.",
         {"А + Б (повышает вероятность происшествия)"}},
        {many,
         "Повышают вероятность происшествия (без мер 0,001): «Е» — до 0,001001; наборов мер, повышающих её: 32 из "
         "64.",
         {"А + Б + В + Г + Д + Е (повышает вероятность происшествия)"}},
    };
    for (const auto& c : cases) {
        MeasureOptimum optimum{0.001L, 10.0L, {}, std::nullopt, NoBestSet::NothingHelps};
        for (uint32_t members = 0; members < 64; ++members) {
            const auto place = std::find(c.harmful.begin(), c.harmful.end(), members);
            const bool harmful = place != c.harmful.end();
            const long double accident = harmful ? 0.001L + 1e-6L * (place - c.harmful.begin() + 1) : 0.001L;
            optimum.subsets.push_back(
                {members, 1, accident, (0.001L - accident) * 1000, 0, true, members == 0, harmful});
        }
        const TextTable table = FrontierTable(optimum, measures, ru);
        EXPECT_EQ(HarmfulLine(optimum, measures, ru), c.line);
        if (c.section.empty()) {
            EXPECT_EQ(table.sectionRow, -1);
            EXPECT_EQ(table.rows.size(), 1u);
            continue;
        }
        ASSERT_EQ(table.sectionRow, 1);
        EXPECT_EQ(table.rows[1][0], "Наборы, повышающие вероятность происшествия:");
        const std::size_t listed = std::min<std::size_t>(c.harmful.size(), HarmfulSetsListed);
        ASSERT_EQ(table.rows.size(), 2 + listed + (c.harmful.size() > listed));
        for (std::size_t i = 0; i < c.section.size(); ++i) EXPECT_EQ(table.rows[2 + i][0], c.section[i]);
        if (c.harmful.size() > listed) {
            EXPECT_EQ(table.rows.back()[0], "… и ещё 2 (каждый назван в подсказке своей точки на графике)");
        }
    }
}

}  // namespace
