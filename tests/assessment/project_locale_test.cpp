// Project files travel between locales: amounts are numbers with "." at full precision, so a file
// saved under one locale opens byte for byte alike under another; version 1 kept them as typed.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include <nlohmann/json.hpp>

#include "Assessments.h"
#include "measures/Amounts.h"
#include "project/ProjectFile.h"

using namespace kestal;

namespace {

std::string In(const NumberLocale& locale, std::string text)
{
    if (const auto dot = text.find('.'); dot != std::string::npos) text.replace(dot, 1, locale.decimalSeparator);
    return text;
}

TEST(ProjectLocales, AFileOpensByteForByteUnderEveryLocale)
{
    const FixedClock clock(ExampleClockReading);
    const NumberLocale ru = RussianNumberLocale(), c = EnglishNumberLocale();
    for (const auto& [save, open] : {std::pair{ru, c}, {c, ru}, {ru, ru}}) {
        Session saved(&clock, save, save);
        Rate(saved, "H04", 6);
        Rate(saved, "T04", 8);
        saved.SetBudgetText(In(save, "1000.25"));
        saved.SetDamageText(In(save, "2.5E5"));
        EnterMeasure(saved, "Обучение", In(save, "300.5"), {{"H04", 9}});
        EnterMeasure(saved, "Ограждение", In(save, "450.125"), {{"T04", 3}});
        saved.Study();
        saved.SetCostText(In(save, "99.99"));
        const std::string json = ProjectJson(saved.state());
        EXPECT_NE(json.find("\"budget\": 1000.25,\n  \"damage\": 250000,"), std::string::npos);

        Session opened(&clock, open, open);
        opened.Load(ReadProject(json, "цех.kestal"));
        EXPECT_EQ(ProjectJson(opened.state()), json);
        const SessionState& s = opened.state();
        EXPECT_EQ(s.assessment.budgetText + " " + s.assessment.damageText + " " + s.shown.costText + " " +
                      s.shown.tree.children[1].children[1].text,
                  In(open, "1000.25") + " 250000 " + In(open, "99.99") + " Затраты = " + In(open, "450.125") + " у.е.");
        for (Session* session : {&saved, &opened}) session->Study();
        EXPECT_TRUE(opened.assessment().measures.store == saved.assessment().measures.store);
    }
}

TEST(ProjectLocales, AmountsKeepEveryBit)
{
    const FixedClock clock(ExampleClockReading);
    for (const long double amount :
         {0.1L, 1e-5L, 9.99999e-6L, 1e15L, 999999999999999.9L, -7.25L, 3e-4000L, 1.0L / 3, 1.7976931348623157e308L,
          std::numeric_limits<long double>::max(), std::numeric_limits<long double>::denorm_min(), 0.0L, -0.0L})
        for (const NumberLocale& locale : {RussianNumberLocale(), EnglishNumberLocale()}) {
            Session saved(&clock, locale, locale);
            saved.SetBudgetText(AmountText(amount, locale));
            const auto opened = ReadProject(ProjectJson(saved.state()), "цех.kestal").assessment.budget;
            ASSERT_TRUE(saved.assessment().budget && opened);
            EXPECT_EQ(std::memcmp(&*saved.assessment().budget, &amount, 10), 0) << AmountText(amount, locale);
            EXPECT_EQ(std::memcmp(&*opened, &amount, 10), 0) << AmountLiteral(amount);
        }
}

TEST(ProjectLocales, VersionOneReadsAmountTextsWithEitherSeparator)
{
    const FixedClock clock(ExampleClockReading);
    Session example(&clock, RussianNumberLocale(), RussianNumberLocale());
    AssessWorkplace(example);
    // The example as version 1 wrote it: amounts as typed, the tree kept (and now passed over).
    nlohmann::ordered_json v1 = nlohmann::ordered_json::parse(ProjectJson(example.state()));
    v1["version"] = 1;
    v1["damage"] = "250000";
    v1["study"]["totalsBudget"]["value"] = "1000";
    v1["editor"].erase("cost");
    v1["editor"]["tree"] = "passed over";
    v1["editor"]["treeExpansions"] = 7;
    const struct {
        std::string budget, cost;
        std::optional<long double> budgetAmount, costAmount;
    } files[] = {
        {"1000,5", "12,25", 1000.5L, 12.25L},
        {"1000.5", "12.25", 1000.5L, 12.25L},
        {" 1,5E3", "", 1500.0L, std::nullopt},
        {"много", "1 000", std::nullopt, std::nullopt},
    };
    for (const auto& file : files) {
        v1["budget"] = file.budget;
        v1["editor"]["costText"] = file.cost;
        const SessionState state = ReadProject(v1.dump(), "старый.kestal");
        EXPECT_EQ(state.assessment.budget, file.budgetAmount) << file.budget;
        EXPECT_EQ(state.shown.cost, file.costAmount) << file.cost;
        EXPECT_EQ(state.shown.tree.children.size(), 4u);
        for (const NumberLocale& locale : {RussianNumberLocale(), EnglishNumberLocale()}) {
            Session opened(&clock, locale, locale);
            opened.Load(state);
            EXPECT_EQ(opened.assessment().budgetText, file.budgetAmount ? AmountText(*file.budgetAmount, locale) : "");
        }
    }
}

}  // namespace
