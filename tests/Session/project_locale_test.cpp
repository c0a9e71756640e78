// Project files travel between locales: amounts are written as numbers with "." at full precision,
// so a file saved under one locale opens byte for byte alike under another; version 1 files, which
// kept the amounts as typed, are read with "." or ",".
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "Assessments.h"
#include "Session/ProjectAmounts.h"
#include "Session/ProjectFile.h"

namespace {

std::string Separated(const std::string& text, const NumberLocale& locale)
{
    std::string out;
    for (const char c : text) out += c == '.' ? locale.decimalSeparator : std::string(1, c);
    return out;
}

// Two measures with fractional costs, a fractional budget and damage typed as the locale writes
// them, a run and the study; a third measure pending.
void Assess(Session& session, const NumberLocale& locale)
{
    Rate(session, "H04", 6);
    Rate(session, "T04", 8);
    session.SetKText("20");
    session.SetNText("500");
    session.Run();
    session.SetBudgetText(Separated("1000.25", locale));
    session.SetDamageText(Separated("2.5E5", locale));
    EnterMeasure(session, "Обучение", Separated("300.5", locale), {{"H04", 9}});
    EnterMeasure(session, "Ограждение", Separated("450.125", locale), {{"T04", 3}});
    session.Study();
    session.SelectMeasureFactor(FactorIndex("M07"));
    session.MoveBar(FactorIndex("M07"), 4);
    session.SetCostText(Separated("99.99", locale));
}

TEST(ProjectLocales, AFileOpensByteForByteUnderEveryLocale)
{
    const struct {
        const char* name;
        NumberLocale save, open;
    } crossings[] = {
        {"ru to C", RussianNumberLocale(), EnglishNumberLocale()},
        {"C to ru", EnglishNumberLocale(), RussianNumberLocale()},
        {"ru to ru", RussianNumberLocale(), RussianNumberLocale()},
    };
    const FixedClock clock(ExampleClockReading);
    for (const auto& c : crossings) {
        Session saved(&clock, c.save, c.save);
        Assess(saved, c.save);
        const std::string json = ProjectJson(saved.state());
        EXPECT_NE(json.find("\"budget\": 1000.25,\n  \"damage\": 250000,"), std::string::npos) << c.name;
        EXPECT_NE(json.find("\"cost\": 99.99,"), std::string::npos) << c.name;

        Session opened(&clock, c.open, c.open);
        opened.Load(ReadProject(json, "цех.kestal"));
        EXPECT_EQ(ProjectJson(opened.state()), json) << c.name;
        EXPECT_EQ(opened.state().budgetText, Separated("1000.25", c.open)) << c.name;
        EXPECT_EQ(opened.state().damageText, "250000") << c.name;
        EXPECT_EQ(opened.state().costText, Separated("99.99", c.open)) << c.name;
        EXPECT_EQ(opened.state().tree.children[1].children[1].text, "Затраты = " + Separated("450.125", c.open) + " у.е.");

        // The same study afterwards, whatever the locale.
        for (Session* session : {&saved, &opened}) {
            session->ResetMeasures();
            EnterMeasure(*session, "Обучение", session == &saved ? Separated("300.5", c.save) : Separated("300.5", c.open),
                         {{"H04", 9}});
            EnterMeasure(*session, "Щит", "7", {{"M07", 5}});
            session->Study();
        }
        EXPECT_TRUE(opened.state().measures.store == saved.state().measures.store) << c.name;
    }
}

TEST(ProjectLocales, AmountsKeepEveryBit)
{
    const long double amounts[] = {
        0.1L, 1500.5L, 1e-5L, 9.99999e-6L, 1e15L, 999999999999999.9L, 123456789.123456789L, -7.25L, 3e-4000L,
        1.7976931348623157e308L, std::numeric_limits<long double>::max(), std::numeric_limits<long double>::denorm_min(),
        0.0L, -0.0L,
        std::nextafter(1.0L, 2.0L), 1.0L / 3.0L,
    };
    const FixedClock clock(ExampleClockReading);
    for (const long double amount : amounts) {
        for (const NumberLocale& locale : {RussianNumberLocale(), EnglishNumberLocale()}) {
            Session saved(&clock, locale, locale);
            saved.SetBudgetText(AmountText(amount, locale));
            ASSERT_TRUE(saved.state().budget.has_value());
            EXPECT_EQ(std::memcmp(&*saved.state().budget, &amount, 10), 0) << AmountText(amount, locale);
            const SessionState opened = ReadProject(ProjectJson(saved.state()), "цех.kestal");
            ASSERT_TRUE(opened.budget.has_value());
            EXPECT_EQ(std::memcmp(&*opened.budget, &amount, 10), 0) << AmountLiteral(amount);
        }
    }
}

TEST(ProjectLocales, VersionOneReadsAmountTextsWithEitherSeparator)
{
    std::ifstream in(KESTAL_SOURCE_DIR "/tests/Session/project_v1_workplace.kestal", std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string v1 = buffer.str();
    const auto with = [&](const std::string& budget, const std::string& cost) {
        std::string text = v1;
        text.replace(text.find("\"budget\": \"1000\""), 16, "\"budget\": \"" + budget + "\"");
        text.replace(text.find("\"costText\": \"0\""), 15, "\"costText\": \"" + cost + "\"");
        return text;
    };
    const struct {
        std::string budget, cost;
        std::optional<long double> budgetAmount, costAmount;
    } files[] = {
        {"1000", "0", 1000.0L, 0.0L},
        {"1000,5", "12,25", 1000.5L, 12.25L},
        {"1000.5", "12.25", 1000.5L, 12.25L},
        {" 1,5E3", "", 1500.0L, std::nullopt},
        {"много", "1 000", std::nullopt, std::nullopt},
    };
    const FixedClock clock(ExampleClockReading);
    for (const auto& file : files) {
        const SessionState state = ReadProject(with(file.budget, file.cost), "старый.kestal");
        EXPECT_EQ(state.budget, file.budgetAmount) << file.budget;
        EXPECT_EQ(state.cost, file.costAmount) << file.cost;
        EXPECT_EQ(state.damage, 250000.0L);
        for (const NumberLocale& locale : {RussianNumberLocale(), EnglishNumberLocale()}) {
            Session opened(&clock, locale, locale);
            opened.Load(state);
            EXPECT_EQ(opened.state().budgetText,
                      file.budgetAmount ? AmountText(*file.budgetAmount, locale) : std::string());
            // The tree follows from the measures: the file's own tree is passed over.
            EXPECT_EQ(opened.state().tree.children.size(), 4u);
        }
    }
}

}  // namespace
