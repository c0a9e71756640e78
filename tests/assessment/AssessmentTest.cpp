// The assessment's own operations: a measure captured from its data is the one the editor captures,
// a bad measure is refused with nothing changed, and a restored state is the state it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "assessment/Session.h"
#include "support/ErrorOf.h"
#include "support/FactorIndex.h"

using namespace kestal;

namespace {

using Moves = std::vector<std::pair<const char*, int>>;

struct Sessions {
    FixedClock clock{45'296'789};
    Session session{&clock, RussianNumberLocale(), RussianNumberLocale()};
    Sessions()
    {
        session.SetKText("5");
        session.SetNText("2000");
        session.SetBudgetText("750,5");
    }
};

MeasureDraft Draft(const char* name, const char* cost, const Moves& moves)
{
    MeasureDraft draft{name, ReadAmount(cost, RussianNumberLocale()), {}};
    for (const auto& [id, item] : moves) draft.changes.push_back({FactorIndex(id), item});
    return draft;
}

TEST(Assessment, AMeasureCapturedFromItsDataIsTheOneTheEditorCaptures)
{
    // Measures in a row; a draft lists its changes in any order, and one to the level a factor has
    // (H02 stands at item 5) is no change in either.
    const std::vector<std::vector<std::tuple<const char*, const char*, Moves>>> table = {
        {{"Обучение", "300", {{"H14", 10}, {"H01", 2}}}, {"Ремонт", "400,25", {{"M08", 10}}}},
        {{"А", "1", {{"T06", 0}, {"C03", 9}, {"H02", 5}}}, {"Б", "1E3", {{"M01", 3}}}, {"В", "12", {{"T01", 7}}}},
        {{"Одна", "2,5", {{"H05", 1}}}, {"Вторая", "999", {{"T03", 0}, {"H04", 10}}}},
    };
    for (std::size_t row = 0; row < table.size(); ++row) {
        Sessions editor, data;
        for (const auto& [name, cost, moves] : table[row]) {
            editor.session.SetMeasureName(name);
            editor.session.SetCostText(cost);
            for (const auto& [id, item] : moves) editor.session.MoveBar(FactorIndex(id), item);
            editor.session.Capture();
            Moves reversed = moves;
            std::reverse(reversed.begin(), reversed.end());
            data.session.Capture(Draft(name, cost, reversed));
        }
        EXPECT_TRUE(editor.session.assessment() == data.session.assessment()) << row;
        EXPECT_EQ(editor.session.state().Rows(), data.session.state().Rows()) << row;
        EXPECT_EQ(editor.session.state().shown.tree.children.size(), data.session.state().shown.tree.children.size())
            << row;
        // Studied alike on the same clock, they rank alike.
        editor.session.Study();
        data.session.Study();
        EXPECT_TRUE(editor.session.assessment() == data.session.assessment()) << row;
        EXPECT_EQ(editor.session.state().shown.study, data.session.state().shown.study) << row;
    }
}

TEST(Assessment, ABadMeasureIsRefusedWithNothingChanged)
{
    const Moves eleven = {{"H01", 0}, {"H02", 0}, {"H03", 0}, {"H04", 0}, {"H05", 0}, {"H06", 0},
                          {"H07", 0}, {"H08", 0}, {"H09", 0}, {"H12", 0}, {"H13", 0}};
    const struct {
        MeasureDraft draft;
        std::string message;
    } table[] = {
        {Draft("Мера", "100", {{"H14", 3}}), "Фактор H14 уже входит в другое мероприятие"},
        {Draft("Мера", "100", {{"M02", 3}, {"M02", 4}}), "Фактор M02 изменён в мероприятии дважды"},
        {{"Мера", ReadAmount("100", RussianNumberLocale()), {{FactorCount, 3}}},
         "Недопустимое изменение фактора в мероприятии"},
        {Draft("Мера", "100", {{"M02", LevelCount}}), "Недопустимое изменение фактора в мероприятии"},
        {Draft(" \t", "100", {{"M02", 4}}), BlankMeasureNameText},
        {Draft("Мера", "0,99", {{"M02", 4}}), CostBelowOneText},
        {Draft("Мера", "100.5", {{"M02", 4}}), "'100.5' is not a valid floating point value"},
        {Draft("Мера", "100", eleven), TooManyChangesText},
    };
    Sessions s;
    s.session.Capture(Draft("Первая", "10", {{"H14", 10}}));
    for (const auto& [draft, message] : table) {
        const SessionState before = s.session.state();
        EXPECT_EQ(ErrorOf([&] { s.session.Capture(draft); }), message);
        EXPECT_TRUE(s.session.state() == before) << message;
    }
}

TEST(Session, ARestoredStateIsTheStateItWas)
{
    Sessions s;
    s.session.MoveBar(FactorIndex("T02"), 1);
    const SessionState start = s.session.state();
    s.session.Run();
    s.session.SelectLevel(FactorIndex("H01"), 2);
    s.session.Capture(Draft("Мера", "50", {{"M03", 1}}));
    const SessionState end = s.session.state();
    s.session.Restore(start);
    EXPECT_TRUE(s.session.state() == start);
    // The random source came back too: the same run gives the same block.
    s.session.Run();
    EXPECT_EQ(s.session.assessment().results, end.assessment.results);
    s.session.Restore(end);
    EXPECT_TRUE(s.session.state() == end);
}

}  // namespace
