// The report's HTML with typed texts that HTML gives a meaning to: measure names and the project
// file's path appear escaped, and the document holds no tag, entity or quote it did not make itself.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Assessments.h"
#include "report/Report.h"

using namespace kestal;

namespace {

// The tags the report writes; any other tag came from a typed text.
const std::set<std::string> ReportTags = {"!DOCTYPE", "html", "head", "meta",  "title", "style", "body",
                                          "h1",       "h2",   "p",    "table", "thead", "tbody", "tr",
                                          "th",       "td",   "ol",   "li",    "img"};

// What is wrong with the document's markup: a tag it does not write, an "&" that starts no entity,
// a quote in a text, an odd number of quotes in a tag. Empty when nothing is.
std::string MarkupFault(const std::string& html)
{
    bool inStyle = false;
    for (std::size_t at = 0; at < html.size();) {
        if (html[at] == '<') {
            const std::size_t end = html.find('>', at);
            if (end == std::string::npos) return "a tag without its end at " + std::to_string(at);
            const std::string tag = html.substr(at + 1, end - at - 1);
            const std::string name = tag.substr(tag[0] == '/', tag.find_first_of(" >", 1) - (tag[0] == '/'));
            if (!ReportTags.count(name)) return "the tag <" + tag + ">";
            std::size_t quotes = 0;
            for (const char c : tag) quotes += c == '"';
            if (quotes % 2) return "odd quotes in <" + tag + ">";
            if (name == "style") inStyle = tag[0] != '/';
            at = end + 1;
            continue;
        }
        if (!inStyle) {
            if (html[at] == '"' || html[at] == '\'' || html[at] == '>')
                return std::string("a raw ") + html[at] + " at " + html.substr(at, 40);
            if (html[at] == '&') {
                bool entity = false;
                for (const char* known : {"&amp;", "&lt;", "&gt;", "&quot;", "&#39;"})
                    entity = entity || html.compare(at, std::string(known).size(), known) == 0;
                if (!entity) return "a raw & at " + html.substr(at, 40);
            }
        }
        ++at;
    }
    return "";
}

TEST(ReportEscaping, TypedTextsAppearEscapedAndNeverRaw)
{
    const struct {
        std::string name, escaped;
    } names[] = {
        {"<b>Ремонт</b>", "&lt;b&gt;Ремонт&lt;/b&gt;"},
        {"Щит & ограждение", "Щит &amp; ограждение"},
        {"\"Защита\"", "&quot;Защита&quot;"},
        {"Обучение 'Охрана труда'", "Обучение &#39;Охрана труда&#39;"},
        {"&amp; <script>alert('x')</script>", "&amp;amp; &lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
    };
    for (const auto& typed : names) {
        FixedClock clock(ExampleClockReading);
        Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
        session.SetKText("2");
        session.SetNText("500");
        EnterMeasure(session, typed.name, "300", {{"H05", 11}, {"C01", 11}});
        EnterMeasure(session, "Ремонт вентиляции", "400", {{"H14", 11}});
        session.Study();
        session.ShowTotals(true);
        const std::string path = "/home/инженер/" + typed.name + ".kestal";
        const std::string html = ReportHtml(session, {"07.12.2026 11:20", path, "", ""});

        EXPECT_EQ(MarkupFault(html), "") << typed.name;
        EXPECT_EQ(html.find(typed.name), std::string::npos) << typed.name;
        // In the study's table, the best set's line and its frontier, and the file's path.
        std::size_t shown = 0;
        for (auto at = html.find(typed.escaped); at != std::string::npos; at = html.find(typed.escaped, at + 1))
            ++shown;
        EXPECT_GE(shown, 3u) << typed.name;
        EXPECT_NE(html.find("<p>Файл проекта: /home/инженер/" + typed.escaped + ".kestal</p>"), std::string::npos)
            << typed.name;
        // The check itself finds the name written raw.
        std::string raw = html;
        raw.replace(raw.find(typed.escaped), typed.escaped.size(), typed.name);
        EXPECT_NE(MarkupFault(raw), "") << typed.name;
    }
}

}  // namespace
