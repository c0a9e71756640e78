// The measure study: evaluation of a plan column, judging against the budget, combinations,
// the ranking and its repeatability.
#include <gtest/gtest.h>

#include <vector>

#include "common/KestalError.h"
#include "measure_helpers.h"

using namespace kestal;

using namespace measure_test;

namespace {

std::vector<std::string> Names(const MeasureTables& tables, int count)
{
    std::vector<std::string> names;
    for (int s = 1; s <= count; ++s) names.push_back(tables.MeasureStore(s).Name);
    return names;
}

std::vector<float> Ratios(const MeasureTables& tables, int count)
{
    std::vector<float> ratios;
    for (int s = 1; s <= count; ++s) ratios.push_back(tables.MeasureStore(s).Ratio);
    return ratios;
}

const operation& Named(const MeasureTables& tables, const std::string& name)
{
    for (const operation& record : tables.store)
        if (record.Name == name) return record;
    throw std::runtime_error("no record " + name);
}

// Counts the simulated series and the steps of a study.
struct Recorder {
    int experiments = 0;
    std::vector<std::pair<int, int>> steps;
    StudyProgress Progress()
    {
        return {[this](int position, int maximum) { steps.emplace_back(position, maximum); },
                [this](int32_t, int32_t) { ++experiments; },
                {}};
    }
};

void ExpectRefused(MeasurePage& page, const std::string& k, const std::string& n, const std::string& message)
{
    try {
        page.Study(k, n);
        ADD_FAILURE() << "study ran";
    } catch (const KestalError& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

}  // namespace

TEST(EvaluateMeasure, AppliesOnlyChangedCellsAndReturnsTheAccidentFrequency)
{
    MeasurePage page;
    page.Capture("Риск", "300", RiskierMoves);
    page.series->ExperimentCount = 4;
    page.series->InitiationCount = 3000;
    const float frequency = EvaluateMeasure(*page.tables, 1, *page.net, *page.series);
    int64_t sum = 0;
    for (int e = 0; e < 4; ++e) sum += page.series->column[NodeI][e];
    EXPECT_EQ(frequency, static_cast<float>(static_cast<long double>(static_cast<float>(sum / 4.0L)) / 3000));
    EXPECT_GT(frequency, 0.01f);
    // The inputs keep the measure's values; the others are untouched.
    for (int r = 0; r < FactorCount; ++r) {
        const float planned = page.tables->MeasurePlanTable[r][1].Value;
        EXPECT_EQ(page.net->inputs.slot[r], planned > 0.0f ? planned : page.settings.row[r].Value) << r;
    }
}

TEST(SortMeasures, SelectionSortExchangesWholeRecords)
{
    MeasureTables tables;
    const float ratios[] = {1.0f, 1.0f, 2.0f};
    const char* names[] = {"A", "B", "C"};
    for (int s = 1; s <= 3; ++s) {
        tables.MeasureStore(s).Name = names[s - 1];
        tables.MeasureStore(s).Ratio = ratios[s - 1];
        tables.MeasureStore(s).Cost = 100.0f * s;
        tables.MeasureStore(s).Changes[1].Factor = std::string("change of ") + names[s - 1];
    }
    SortMeasures(tables, 3);
    EXPECT_EQ(Names(tables, 3), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(tables.MeasureStore(1).Cost, 300.0f);
    EXPECT_EQ(tables.MeasureStore(3).Changes[1].Factor, "change of A");

    // Negative marks rank last; count 1 or less changes nothing.
    const float more[] = {-159.0f, 0.0f, 3.5f, -2.0f};
    for (int s = 1; s <= 4; ++s) {
        tables.MeasureStore(s).Name = std::to_string(s);
        tables.MeasureStore(s).Ratio = more[s - 1];
    }
    SortMeasures(tables, 1);
    EXPECT_EQ(Ratios(tables, 4), (std::vector<float>{-159.0f, 0.0f, 3.5f, -2.0f}));
    SortMeasures(tables, 4);
    EXPECT_EQ(Ratios(tables, 4), (std::vector<float>{3.5f, 0.0f, -2.0f, -159.0f}));
}

TEST(Study, BudgetBoundaryEqualCostIsWithin)
{
    MeasurePage page;
    page.Capture("А", "700", SaferMoves);
    page.Capture("Б", "800", {{"M01", 8}});
    page.budget = "1500";
    Recorder within;
    EXPECT_EQ(page.Study("5", "4000", within.Progress()), 3);
    EXPECT_EQ(within.experiments, 4 * 5);  // baseline, A, B and the pair
    const operation& pair = Named(*page.tables, "А + Б");
    EXPECT_EQ(pair.Cost, 1500.0f);
    EXPECT_NE(pair.Ratio, PairStudyOverBudget);
    EXPECT_EQ(pair.Changes.Count(), 5);
    EXPECT_GT(Named(*page.tables, "А").Delta, 0.0f);

    page.budget = "1499";
    Recorder over;
    page.Study("5", "4000", over.Progress());
    EXPECT_EQ(over.experiments, 3 * 5);  // the pair is not simulated
    const operation& marked = Named(*page.tables, "А + Б");
    EXPECT_EQ(marked.Ratio, PairStudyOverBudget);
    EXPECT_EQ(marked.Cost, 1500.0f);
    EXPECT_EQ(marked.Delta, 0.0f);
    EXPECT_EQ(marked.Benefit, 0.0f);
    EXPECT_EQ(marked.Changes.Count(), 0);

    page.budget = "699";
    Recorder measureOver;
    page.Study("5", "4000", measureOver.Progress());
    EXPECT_EQ(measureOver.experiments, 1 * 5);
    EXPECT_EQ(Named(*page.tables, "А").Ratio, 0.0f);
}

TEST(Study, SeriesCountIsWhatAStudyWithinItsBudgetSimulates)
{
    MeasurePage page;
    page.budget = "100000";
    page.Capture("А", "700", SaferMoves);
    page.Capture("Б", "800", {{"M01", 8}});
    Recorder two;
    page.Study("3", "1000", two.Progress());
    EXPECT_EQ(two.experiments, StudySeriesCount(2) * 3);
    page.Capture("В", "900", {{"T01", 8}});
    Recorder three;
    page.Study("3", "1000", three.Progress());
    EXPECT_EQ(three.experiments, StudySeriesCount(3) * 3);
    EXPECT_EQ(StudySeriesCount(2), 4);
    EXPECT_EQ(StudySeriesCount(3), 8);
    EXPECT_EQ(StudySeriesCount(1), 0);
    EXPECT_EQ(StudySeriesCount(4), 0);
}

TEST(Study, TwoMeasuresOfWhichOnlyTheFirstFits)
{
    MeasurePage page;
    page.Capture("Дешёвое", "300", SaferMoves);
    page.Capture("Дорогое", "2000", {{"M01", 8}});
    Recorder recorder;
    page.Study("5", "4000", recorder.Progress());
    const MeasureTables& t = *page.tables;
    EXPECT_EQ(Names(t, 4), (std::vector<std::string>{"Дешёвое", "Дорогое", "Дешёвое + Дорогое", ""}));
    EXPECT_GT(t.MeasureStore(1).Ratio, 0.0f);
    EXPECT_EQ(t.MeasureStore(1).Ratio,
              static_cast<float>(static_cast<long double>(t.MeasureStore(1).Benefit) / 300.0L));
    EXPECT_EQ(t.MeasureStore(1).Benefit, static_cast<float>(10000000.0L * t.MeasureStore(1).Delta));
    EXPECT_EQ(t.MeasureStore(2).Ratio, 0.0f);
    EXPECT_EQ(t.MeasureStore(2).Delta, 0.0f);
    EXPECT_EQ(t.MeasureStore(3).Ratio, PairStudyOverBudget);
    EXPECT_EQ(t.MeasureStore(3).Cost, 2300.0f);
    // Six steps against a maximum of 5.
    EXPECT_EQ(recorder.steps, (std::vector<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}}));
    // The baseline in column 0, the settings back in the inputs.
    for (int r = 0; r < FactorCount; ++r) {
        EXPECT_EQ(t.MeasurePlanTable[r][0].Value, page.settings.row[r].Value);
        EXPECT_EQ(t.MeasurePlanTable[r][0].RowText, page.settings.row[r].RowText);
        EXPECT_EQ(page.net->inputs.slot[r], page.settings.row[r].Value);
    }
}

TEST(Study, ThreeMeasuresAllOverTheBudget)
{
    MeasurePage page;
    page.Capture("A", "2000", SaferMoves);
    page.Capture("B", "1501", {{"M01", 8}});
    page.Capture("C", "3000", {{"T01", 8}});
    Recorder recorder;
    EXPECT_EQ(page.Study("5", "4000", recorder.Progress()), 7);
    const MeasureTables& t = *page.tables;
    EXPECT_EQ(Names(t, 8), (std::vector<std::string>{"A", "B", "C", "B + C", "A + C", "A + B", "A + B + C", ""}));
    EXPECT_EQ(Ratios(t, 7), (std::vector<float>{0, 0, 0, TripleStudyOverBudget, TripleStudyOverBudget,
                                                TripleStudyOverBudget, TripleStudyOverBudget}));
    EXPECT_EQ(t.MeasureStore(7).Cost, 6501.0f);
    EXPECT_EQ(recorder.experiments, 5);  // the baseline only
    ASSERT_EQ(recorder.steps.size(), 10u);
    EXPECT_EQ(recorder.steps.back(), std::make_pair(10, 10));
}

TEST(Study, MeasureThatRaisesTheAccidentFrequencyRanksBelowNonNegatives)
{
    MeasurePage page;
    page.Capture("Опасное", "300", RiskierMoves);
    page.Capture("Безопасное", "300", SaferMoves);
    page.Capture("Дорогое", "5000", {{"M01", 8}});
    page.Study("5", "4000");
    const MeasureTables& t = *page.tables;
    const operation& risky = Named(t, "Опасное");
    EXPECT_LT(risky.Delta, 0.0f);
    EXPECT_LT(risky.Benefit, 0.0f);
    EXPECT_LT(risky.Ratio, 0.0f);
    EXPECT_EQ(t.MeasureStore(1).Name, "Безопасное");
    bool negativeSeen = false;
    for (int s = 1; s <= 7; ++s) {
        if (s > 1) {
            EXPECT_GE(t.MeasureStore(s - 1).Ratio, t.MeasureStore(s).Ratio);
        }
        if (t.MeasureStore(s).Ratio < 0.0f) {
            negativeSeen = true;
        } else {
            EXPECT_FALSE(negativeSeen) << "position " << s;
        }
        if (t.MeasureStore(s).Name == "Опасное") {
            EXPECT_TRUE(negativeSeen);
        }
    }
    EXPECT_EQ(Named(t, "Дорогое").Ratio, 0.0f);
    EXPECT_EQ(Named(t, "Опасное + Дорогое").Ratio, TripleStudyOverBudget);
}

TEST(Study, CombinationsHoldTheirMembersChangesAndColumns)
{
    MeasurePage page;
    page.budget = "100000";
    // Thirty factors in three measures of ten: the whole combination holds thirty changes.
    std::vector<Move> parts[3];
    for (int f = 0; f < FactorCount; ++f) {
        const FactorInfo& factor = FactorCatalogue[f];
        parts[f % 3].push_back({factor.id, factor.defaultItem == 10 ? 9 : factor.defaultItem + 1});
    }
    page.Capture("X", "100", parts[0]);
    page.Capture("Y", "200", parts[1]);
    page.Capture("Z", "300", parts[2]);
    const MeasureTables captured = *page.tables;
    page.Study("2", "500");
    const MeasureTables& t = *page.tables;

    const auto expectChanges = [&](const std::string& name, std::vector<int> members) {
        const operation& combination = Named(t, name);
        int j = 0;
        for (int m : members)
            for (int e = 1; e <= 10; ++e) {
                const ChangeFactor& expected = captured.captured[m - 1].Changes[e];
                const ChangeFactor& got = combination.Changes[++j];
                EXPECT_EQ(got.Factor, expected.Factor) << name << " " << j;
                EXPECT_EQ(got.LevelBefore, expected.LevelBefore);
                EXPECT_EQ(got.LevelAfter, expected.LevelAfter);
                EXPECT_EQ(got.ValueBefore, expected.ValueBefore);
                EXPECT_EQ(got.ValueAfter, expected.ValueAfter);
            }
        EXPECT_EQ(combination.Changes.Count(), 10 * static_cast<int>(members.size())) << name;
    };
    expectChanges("Y + Z", {2, 3});
    expectChanges("X + Z", {1, 3});
    expectChanges("X + Y", {1, 2});
    expectChanges("X + Y + Z", {1, 2, 3});
    EXPECT_EQ(Named(t, "X + Y + Z").Cost, 600.0f);

    // Columns 4..7 hold the union of the members' cells; the measures' own columns are unchanged.
    for (int r = 0; r < FactorCount; ++r) {
        const int member = [&] {
            for (int m = 1; m <= 3; ++m)
                if (captured.MeasurePlanTable[r][m].Value > 0.0f) return m;
            return 0;
        }();
        ASSERT_NE(member, 0);
        const FactorSetting& cell = captured.MeasurePlanTable[r][member];
        EXPECT_EQ(t.MeasurePlanTable[r][7].Value, cell.Value);
        EXPECT_EQ(t.MeasurePlanTable[r][7].LevelName, cell.LevelName);
        EXPECT_EQ(t.MeasurePlanTable[r][4].Value, member == 1 ? 0.0f : cell.Value);
        EXPECT_EQ(t.MeasurePlanTable[r][6].Value, member == 3 ? 0.0f : cell.Value);
        for (int m = 1; m <= 3; ++m) EXPECT_EQ(t.MeasurePlanTable[r][m].Value, captured.MeasurePlanTable[r][m].Value);
    }
}

TEST(Study, SecondStudyJudgesTheCapturedMeasuresAfresh)
{
    MeasurePage page;
    page.Capture("Опасное", "300", RiskierMoves);
    page.Capture("Безопасное", "400", SaferMoves);
    page.Capture("Среднее", "500", {{"M01", 8}, {"T01", 8}});
    page.Study("5", "4000");
    const MeasureTables first = *page.tables;
    // A fresh random state on the same clock reading gives the same experiments again.
    page.net->random = RandomSource{};
    page.Study("5", "4000");
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& a = first.MeasureStore(s);
        const operation& b = page.tables->MeasureStore(s);
        EXPECT_EQ(a.Name, b.Name) << s;
        EXPECT_EQ(a.Cost, b.Cost) << s;
        EXPECT_EQ(a.Delta, b.Delta) << s;
        EXPECT_EQ(a.Benefit, b.Benefit) << s;
        EXPECT_EQ(a.Ratio, b.Ratio) << s;
        EXPECT_EQ(a.Changes.Count(), b.Changes.Count()) << s;
    }
    // The first study moved the records: the second one judged the captured measures, not the ranks.
    EXPECT_NE(first.MeasureStore(1).Name, "Опасное");
}

TEST(Study, RefusedBeforeAnythingChanges)
{
    MeasurePage page;
    page.Capture("А", "300", SaferMoves);
    ExpectRefused(page, "5", "4000", StudyCountText);
    page.Capture("Б", "300", {{"M01", 8}});
    ExpectRefused(page, "0", "4000", KOutOfRangeText);
    ExpectRefused(page, "2001", "4000", KOutOfRangeText);
    ExpectRefused(page, "5", "0", NOutOfRangeText);
    ExpectRefused(page, "пять", "4000", "'пять' is not a valid integer value");
    page.budget = "1500,5";
    ExpectRefused(page, "5", "4000", "'1500,5' is not a valid floating point value");
    page.budget = "1500";
    page.damage = "";
    ExpectRefused(page, "5", "4000", "'' is not a valid floating point value");
    for (int r = 0; r < FactorCount; ++r) EXPECT_EQ(page.tables->MeasurePlanTable[r][0].Value, 0.0f);
    EXPECT_EQ(page.series->ExperimentCount, 0);
    EXPECT_EQ(Names(*page.tables, 3), (std::vector<std::string>{"А", "Б", ""}));
    page.damage = "10000000";
    page.Capture("В", "300", {{"T01", 8}});
    page.Capture("Г", "300", {{"T02", 8}});
    ExpectRefused(page, "5", "4000", StudyCountText);
}

TEST(Study, ZeroCostRaisesTheDivisionMessage)
{
    MeasurePage page;
    page.Capture("А", "300", SaferMoves);
    page.Capture("Б", "300", {{"M01", 8}});
    // The capture refuses a cost below 1; a record holding 0 all the same stops the study with the
    // system's message instead of an infinite ratio.
    page.tables->captured[0].Cost = 0.0f;
    ExpectRefused(page, "5", "4000", "Floating point division by zero");
}
