// The report's contents: the summary first, run or no run; exact node probabilities always; the
// run's section judged against its own ratings; real header rows; typed texts escaped; measures
// that raise the accident probability named.
#include <gtest/gtest.h>

#include "analysis/AnalysisTexts.h"
#include "Assessments.h"
#include "report/Report.h"
#include "common/Formats.h"

using namespace kestal;

namespace {

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

TEST(Report, OpensWithASummaryRunOrNoRun)
{
    const struct {
        bool run;
        int measures;      // captured: 0, 2 (one of them named with HTML's special characters), or 3 (the
                           // third raising the accident probability)
        bool rerate;       // a rating changed after the run
        std::string best;  // the summary's line on the best set starts so
    } cases[] = {
        {false, 0, false, "Лучший набор мер: " + std::string(BestSetCountText) + "."},
        {false, 2, false, "Лучший набор мер: Лучший набор в пределах бюджета: "},
        {true, 2, false, "Лучший набор мер: Лучший набор в пределах бюджета: "},
        {true, 0, true, "Лучший набор мер: " + std::string(BestSetCountText) + "."},
        {false, 3, false, "Лучший набор мер: Лучший набор в пределах бюджета: "},
    };
    for (const auto& c : cases) {
        FixedClock clock(ExampleClockReading);
        Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
        session.SetKText("3");
        session.SetNText("500");
        if (c.run) session.Run();
        if (c.rerate) Rate(session, "H05", 11);
        if (c.measures) {
            EnterMeasure(session, "Ремонт <b>&\"'", "300", {{"H05", 11}, {"C01", 11}});
            EnterMeasure(session, "Обучение", "400", {{"H14", 11}});
        }
        if (c.measures == 3) EnterMeasure(session, "Спешка", "100", {{"T04", 11}});
        const std::string html = ReportHtml(session, {"07.12.2026 11:20", "", "", ""});
        const NumberLocale& ru = session.displayLocale();

        // The summary is the first section and names the exact accident probability and three factors.
        EXPECT_LT(html.find("<h2>Сводка</h2>"), html.find("<h2>", html.find("<h2>Сводка</h2>") + 1)) << c.run;
        EXPECT_EQ(html.find("<h2>"), html.find("<h2>Сводка</h2>"));
        EXPECT_NE(html.find("<p>Вероятность происшествия при текущих оценках (точный расчёт): " +
                            ProbabilityText(session.assessment().ExactNodes().node[NodeI], ru) + ".</p>"),
                  std::string::npos);
        EXPECT_EQ(Count(html, "<li>"), 3u);
        const ImportanceTable importance = session.assessment().Importance();
        EXPECT_NE(html.find("<li>" + std::string(importance.factors[0].factor->id) + " "), std::string::npos);
        const std::size_t best = html.find("<p>Лучший набор мер: ");
        EXPECT_EQ(html.compare(best + 3, c.best.size(), c.best), 0) << html.substr(best, 300);

        EXPECT_NE(html.find("<h2>Точные вероятности узлов</h2>"), std::string::npos);
        EXPECT_EQ(html.find("<h2>Результаты моделирования</h2>") != std::string::npos, c.run);
        EXPECT_EQ(html.find("Точная при оценках опыта") != std::string::npos, c.run && c.rerate);
        EXPECT_NE(html.find("<p>" + std::string(RankingAndBestSetText) + "</p>") != std::string::npos, c.measures == 0);
        // Every table's header row is a real one; no raw typed text.
        EXPECT_EQ(Count(html, "<table"), Count(html, "<thead><tr><th>"));
        EXPECT_EQ(Count(html, "</thead>"), Count(html, "<tbody>"));
        EXPECT_EQ(html.find("<b>"), std::string::npos);
        EXPECT_EQ(Count(html, "Ремонт &lt;b&gt;&amp;&quot;&#39;") > 0, c.measures > 0);
        // A measure that raises the accident probability is named, and so are its sets.
        if (c.measures > 0) {
            const std::string harmful = HarmfulLine(session.assessment().PrepareBestMeasures().Execute(),
                                                    session.assessment().CapturedCandidates(), ru);
            EXPECT_EQ(harmful.empty(), c.measures < 3);
            EXPECT_EQ(Count(html, "<p>" + HtmlEscaped(harmful) + "</p>"), c.measures < 3 ? 0u : 1u);
        }
        EXPECT_EQ(Count(html, "<tr><th colspan=\"6\">Наборы, повышающие вероятность происшествия:</th></tr>"),
                  c.measures == 3 ? 1u : 0u);
    }
}

}  // namespace
