// Templates filled in both formats: each kind of field, repeated rows, conditional blocks, marks
// split over runs, pictures, and the faults refused by name and place; every package checked.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "TestPackages.h"
#include "documents/DocumentTemplate.h"
#include "support/ErrorOf.h"

using namespace kestal;
using namespace kestal::test;

namespace {

const FieldCatalogue Catalogue = {
    {{"name", FieldKind::Text},
     {"amount", FieldKind::Number},
     {"date", FieldKind::Date},
     {"note", FieldKind::Text},
     {"chart", FieldKind::Image},
     {"logo", FieldKind::Image}},
    {{"measures",
      {{"n", FieldKind::Number}, {"title", FieldKind::Text}, {"due", FieldKind::Date}, {"note", FieldKind::Text}}}}};

constexpr DocumentFormat Formats[] = {DocumentFormat::Odt, DocumentFormat::Docx};

const char* FormatName(DocumentFormat format) { return format == DocumentFormat::Odt ? "ODT" : "DOCX"; }

// The filled package, which must be sound.
std::string Filled(DocumentFormat format, const TemplateText& text, const FieldValues& values)
{
    const std::string filled = FillTemplate(ReadTemplate(TemplatePackage(format, text), Catalogue), values);
    EXPECT_EQ(PackageFaults(filled), std::vector<std::string>{});
    return filled;
}

std::vector<Record> Measures(int count)
{
    std::vector<Record> items;
    for (int k = 1; k <= count; ++k)
        items.push_back({{"n", std::to_string(k)},
                         {"title", "Мера " + std::to_string(k) + " & <" + std::to_string(k) + ">"},
                         {"due", "2026-02-" + std::string(k % 28 + 1 < 10 ? "0" : "") + std::to_string(k % 28 + 1)}});
    return items;
}

TEST(DocumentTemplate, EachKindOfFieldFillsInTextAndTables)
{
    const struct {
        std::string field, value, shown;
    } cases[] = {
        {"name", "Иванов Иван Иванович", "Иванов Иван Иванович"},
        {"amount", "1\u00A0234,50", "1\u00A0234,50"},
        {"date", "2026-03-15", "15.03.2026"},
        {"date", "", ""},
        {"name", "", ""},
        {"name", "& < > \" '", "& < > \" '"},
        {"note", "две\nстроки\tи   три пробела", "две\nстроки\tи   три пробела"},
        {"note", "  два ведущих", "  два ведущих"},
        {"name", "{{note}}", "{{note}}"},
        {"note",
         "a\x01"
         "b\r\nc\xff",
         "ab\nc\uFFFD"},
    };
    for (const DocumentFormat format : Formats)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(FormatName(format)) + " " + c.field + "=" + c.value);
            FieldValues values;
            values.text[c.field] = c.value;
            const std::string filled =
                Filled(format, {{P("Значение: {{" + c.field + "}}."), T({{"{{" + c.field + "}}"}})}}, values);
            EXPECT_EQ(TextLines(filled), (std::vector<std::string>{"Значение: " + c.shown + ".", "[" + c.shown + "]"}));
        }
}

TEST(DocumentTemplate, ListRowsRepeatOncePerItem)
{
    const std::vector<std::string> header = {"№", "Мера", "Срок"};
    const std::vector<std::string> row = {"{{#measures}}{{n}}", "{{title}}", "{{due}}{{/measures}}"};
    const std::vector<std::string> oneCell = {"{{#measures}}{{n}}. {{title}} до {{due}}{{/measures}}"};
    const struct {
        std::vector<std::vector<std::string>> rows;
        int items;
    } cases[] = {{{header, row}, 0}, {{header, row}, 1}, {{header, row}, 200}, {{row}, 0}, {{oneCell}, 3}};
    for (const DocumentFormat format : Formats)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(FormatName(format)) + " " + std::to_string(c.rows.size()) + " rows, " +
                         std::to_string(c.items) + " items");
            FieldValues values;
            values.text["amount"] = "5";
            values.lists["measures"] = Measures(c.items);
            const std::string filled = Filled(format, {{P("Меры:"), T(c.rows), P("Итого: {{amount}}")}}, values);
            std::vector<std::string> expected = {"Меры:"};
            if (c.rows.size() == 2) expected.push_back("[№|Мера|Срок]");
            for (const Record& item : values.lists["measures"]) {
                const std::string due = item.at("due").substr(8, 2) + ".02.2026";
                expected.push_back(c.rows.back().size() == 3
                                       ? "[" + item.at("n") + "|" + item.at("title") + "|" + due + "]"
                                       : "[" + item.at("n") + ". " + item.at("title") + " до " + due + "]");
            }
            expected.push_back("Итого: 5");
            EXPECT_EQ(TextLines(filled), expected);
        }
}

TEST(DocumentTemplate, ConditionalBlocksShowOnlyWhatIsNotEmpty)
{
    const std::vector<Block> inlineBlock = {P("Примечание{{?note}}: {{note}}{{/note}}.")};
    const std::vector<Block> nested = {P("{{?name}}[{{name}}{{?note}}, {{note}}{{/note}}]{{/name}}")};
    const std::vector<Block> paragraphs = {P("{{?note}}"), P("Примечание: {{note}}"), T({{"x"}}), P("{{/note}}"),
                                           P("Конец")};
    const std::vector<Block> outerInner = {P("{{?name}}"), P("A"),         P("{{?note}}"),
                                           P("B"),         P("{{/note}}"), P("{{/name}}")};
    const std::vector<Block> onList = {P("{{?measures}}Есть меры{{/measures}}"),
                                       T({{"{{#measures}}{{n}}{{/measures}}"}})};
    const std::vector<Block> onPicture = {P("{{?chart}}"), P("Рисунок:"), P("{{image:chart}}"), P("{{/chart}}")};
    const std::vector<Block> inCell = {T({{"{{?note}}\nПримечание: {{note}}\n{{/note}}", "x"}})};
    const std::vector<Block> itemNote = {T({{"{{#measures}}{{title}}{{?note}} ({{note}}){{/note}}{{/measures}}"}})};
    const struct {
        const std::vector<Block>& body;
        std::string name, note;
        int items;
        bool chart;
        std::vector<std::string> expected;
    } cases[] = {
        {inlineBlock, "", "есть", 0, false, {"Примечание: есть."}},
        {inlineBlock, "", "", 0, false, {"Примечание."}},
        {inlineBlock, "", "   ", 0, false, {"Примечание."}},
        {nested, "Петров", "", 0, false, {"[Петров]"}},
        {nested, "Петров", "б", 0, false, {"[Петров, б]"}},
        {nested, "", "б", 0, false, {""}},
        {paragraphs, "", "есть", 0, false, {"Примечание: есть", "[x]", "Конец"}},
        {paragraphs, "", "", 0, false, {"Конец"}},
        {outerInner, "н", "п", 0, false, {"A", "B"}},
        {outerInner, "н", "", 0, false, {"A"}},
        {outerInner, "", "п", 0, false, {}},
        {onList, "", "", 0, false, {""}},
        {onList, "", "", 2, false, {"Есть меры", "[1]", "[2]"}},
        {onPicture, "", "", 0, false, {}},
        {onPicture, "", "", 0, true, {"Рисунок:", "<picture 40x30 mm, 69 bytes>"}},
        {itemNote, "", "", 0, false, {}},
        {inCell, "", "есть", 0, false, {"[Примечание: есть|x]"}},
        {inCell, "", "", 0, false, {"[|x]"}},
    };
    for (const DocumentFormat format : Formats)
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            SCOPED_TRACE(std::string(FormatName(format)) + " case " + std::to_string(i));
            const auto& c = cases[i];
            FieldValues values;
            values.text = {{"name", c.name}, {"note", c.note}};
            values.lists["measures"] = Measures(c.items);
            if (c.chart) values.pictures["chart"] = {SmallPng(), 40, 30};
            EXPECT_EQ(TextLines(Filled(format, {c.body}, values)), c.expected);
        }
    // A list item's own field decides within its row.
    for (const DocumentFormat format : Formats) {
        FieldValues values;
        values.lists["measures"] = {{{"title", "Каска"}, {"note", "с подбородочным ремнём"}}, {{"title", "Очки"}}};
        EXPECT_EQ(TextLines(Filled(format, {itemNote}, values)),
                  (std::vector<std::string>{"[Каска (с подбородочным ремнём)]", "[Очки]"}));
    }
}

// Random templates, mostly well made with now and then a stray mark, split into runs at random:
// one the check accepts fills into a sound package with no mark left; one it refuses does not fill.
TEST(DocumentTemplate, WhatTheCheckAcceptsFillsWithNoMarkLeft)
{
    const std::vector<std::string> stray = {"{{#measures}}",   "{{/measures}}", "{{?note}}", "{{/note}}",
                                            "{{image:chart}}", "{{title}}",     "{{",        "{{nobody}}"};
    std::mt19937 random(7);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const auto paragraph = [&](bool inRow) {
        const std::vector<std::string> pieces = {"{{name}}",
                                                 "{{note}}",
                                                 " текст ",
                                                 "{{?note}}({{note}}){{/note}}",
                                                 "{{?measures}}есть{{/measures}}",
                                                 inRow ? "{{title}}" : "{{name}}"};
        std::string text;
        for (std::size_t i = below(3) + 1; i > 0; --i)
            text += below(12) ? pieces[below(pieces.size())] : stray[below(stray.size())];
        for (std::size_t cut = below(4); cut > 0; --cut) {
            const std::size_t at = below(text.size());
            if (static_cast<unsigned char>(text[at]) < 0x80) text.insert(at, "|");
        }
        return text;
    };
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<Block> body;
        for (std::size_t b = below(5) + 1; b > 0; --b) {
            switch (below(4)) {
            case 0:
                body.push_back(P("{{image:chart}}"));
                break;
            case 1:
                body.push_back(P("{{?note}}"));
                body.push_back(P(paragraph(false)));
                body.push_back(P("{{/note}}"));
                break;
            case 2: {
                std::vector<std::vector<std::string>> rows(1 + below(2), std::vector<std::string>(1 + below(3)));
                for (auto& row : rows) {
                    const bool list = below(2);
                    for (auto& cell : row) cell = below(2) ? paragraph(list) : paragraph(list) + "\n" + paragraph(list);
                    if (!list) continue;
                    row.front() = "{{#measures}}" + row.front();
                    row.back() += "{{/measures}}";
                }
                body.push_back(T(rows));
                break;
            }
            default:
                body.push_back(P(paragraph(false)));
            }
        }
        FieldValues values;
        if (below(2)) values.text["name"] = "Н";
        if (below(2)) values.text["note"] = "П";
        if (below(2)) values.pictures["chart"] = {SmallPng(), 10, 10};
        values.lists["measures"] = Measures(static_cast<int>(below(3)));
        for (const DocumentFormat format : Formats) {
            SCOPED_TRACE(std::string(FormatName(format)) + " round " + std::to_string(round));
            const DocumentTemplate read = ReadTemplate(TemplatePackage(format, {body}), Catalogue);
            if (!read.problems.empty()) {
                EXPECT_EQ(ErrorOf([&] { FillTemplate(read, values); }), ProblemsText(read.problems));
                continue;
            }
            ++accepted;
            const std::string filled = FillTemplate(read, values);
            EXPECT_EQ(PackageFaults(filled), std::vector<std::string>{});
            for (const std::string& line : TextLines(filled)) EXPECT_EQ(line.find("{{"), std::string::npos) << line;
        }
    }
    EXPECT_GT(accepted, 200);
}

TEST(DocumentTemplate, FaultsAreRefusedByNameAndPlace)
{
    const struct {
        TemplateText text;
        std::string problem;
    } cases[] = {
        {{{P("Начало"), P("Поле {{foo}}")}}, "неизвестное поле «foo» (абзац 2)"},
        {{{P("Поле {{fo|o}}")}}, "неизвестное поле «foo» (абзац 1)"},
        {{{P("a"), T({{"x", "y"}, {"z", "{{ measures }}"}})}},
         "«measures» — список: строка таблицы с ним отмечается «{{#measures}}» (таблица 1, строка 2, ячейка 2)"},
        {{{T({{"x"}}), P("b"), T({{"{{title}}"}})}}, "неизвестное поле «title» (таблица 2, строка 1, ячейка 1)"},
        {{{P("{{#measures}}")}}, "«{{#measures}}» ставится в строку таблицы, которая повторяется (абзац 1)"},
        {{{T({{"{{#measures}}{{title}}"}})}},
         "в строке со списком «{{#measures}}» нет «{{/measures}}» (таблица 1, строка 1)"},
        {{{T({{"{{#measures}}", "{{#name}}{{/measures}}"}})}},
         "строка уже повторяется по списку «measures»: «{{#name}}» в ней лишняя (таблица 1, строка 1, ячейка 2)"},
        {{{T({{"{{#nothing}}{{/nothing}}"}})}}, "неизвестный список «nothing» (таблица 1, строка 1, ячейка 1)"},
        {{{P("{{?note}} без конца")}},
         "«{{?note}}» без «{{/note}}»: обе метки ставятся в один абзац или каждая одна в своём абзаце (абзац 1)"},
        {{{P("{{?note}}"), P("x")}}, "«{{?note}}» без «{{/note}}» в том же тексте, ячейке или колонтитуле (абзац 1)"},
        {{{P("x {{/note}}")}}, "«{{/note}}» без открывающей метки (абзац 1)"},
        {{{P("{{?name}}{{?note}}{{/name}}{{/note}}")}},
         "«{{/name}}» закрывает не тот блок, что открыт последним (абзац 1); ещё замечаний: 1"},
        {{{P("{{?nobody}}{{/nobody}}")}}, "неизвестное поле «nobody» (абзац 1)"},
        {{{P("Рисунок: {{image:chart}}")}}, "изображение «{{image:chart}}» должно стоять одно в абзаце (абзац 1)"},
        {{{P("{{chart}}")}}, "«chart» — изображение: оно ставится меткой «{{image:chart}}» (абзац 1)"},
        {{{P("{{image:name}}")}}, "не изображение: «name» (абзац 1)"},
        {{{P("{{na me}}")}}, "«{{na me}}» — не поле шаблона (абзац 1)"},
        {{{P("{{name")}}, "«{{name» — не поле шаблона (абзац 1)"},
        {{{P("ok")}, {P("{{foo}}")}}, "неизвестное поле «foo» (верхний колонтитул: абзац 1)"},
        {{{P("{{a}} {{b}}"), P("{{c}}")}}, "неизвестное поле «a» (абзац 1); ещё замечаний: 2"},
    };
    for (const DocumentFormat format : Formats)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(FormatName(format)) + " " + c.problem);
            const DocumentTemplate read = ReadTemplate(TemplatePackage(format, c.text), Catalogue);
            EXPECT_EQ(ProblemsText(read.problems), c.problem);
            EXPECT_EQ(ErrorOf([&] { FillTemplate(read, {}); }), c.problem);
        }
}

TEST(DocumentTemplate, FilledPartsKeepIdentifiersUniqueAndSectionsWhole)
{
    const struct {
        DocumentFormat format;
        std::string part, xml;
        std::vector<std::pair<std::string, std::size_t>> counts;  // a text and how often the filled part holds it
    } cases[] = {
        {DocumentFormat::Odt,
         "content.xml",
         R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
         R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" )"
         R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"><office:body><office:text><table:table>)"
         R"(<table:table-row><table:table-cell><text:p xml:id="p1"><text:bookmark text:name="row"/>)"
         R"({{#measures}}{{title}}{{/measures}}</text:p></table:table-cell></table:table-row></table:table>)"
         R"(</office:text></office:body></office:document-content>)",
         {{"<text:bookmark ", 1}, {"xml:id", 0}, {"Мера ", 3}}},
        {DocumentFormat::Docx,
         "word/document.xml",
         R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
         R"(xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml" )"
         R"(xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"><w:body><w:tbl>)"
         R"(<w:tr w14:paraId="1A"><w:tc><w:p w14:paraId="2B" w14:textId="3C"><w:bookmarkStart w:id="0" w:name="row"/>)"
         R"(<w:r><w:t>{{#measures}}{{title}}{{/measures}}</w:t></w:r><w:bookmarkEnd w:id="0"/><w:r><w:drawing>)"
         R"(<wp:inline><wp:docPr id="7" name="logo"/></wp:inline></w:drawing></w:r></w:p></w:tc></w:tr></w:tbl>)"
         R"(</w:body></w:document>)",
         {{"<w:bookmarkStart ", 1},
          {"<w:bookmarkEnd ", 1},
          {"w14:", 0},
          {"id=\"7\"", 0},
          {"id=\"8\"", 1},
          {"id=\"9\"", 1},
          {"id=\"10\"", 1}}},
        // A hidden block whose last paragraph ends a landscape section: the section stays.
        {DocumentFormat::Docx,
         "word/document.xml",
         R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
         R"(<w:p><w:r><w:t>{{?note}}</w:t></w:r></w:p><w:p><w:r><w:t>Примечание</w:t></w:r></w:p>)"
         R"(<w:p><w:pPr><w:sectPr><w:pgSz w:orient="landscape"/></w:sectPr></w:pPr><w:r><w:t>{{/note}}</w:t></w:r>)"
         R"(</w:p><w:p><w:r><w:t>Дальше</w:t></w:r></w:p><w:sectPr/></w:body></w:document>)",
         {{"landscape", 1}, {"<w:p>", 2}, {"Примечание", 0}, {"{{", 0}}},
    };
    FieldValues values;
    values.lists["measures"] = Measures(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(FormatName(c.format));
        const std::string package = WithEntry(TemplatePackage(c.format, {{}}), c.part, c.xml);
        const std::string part = EntryBytes(FillTemplate(ReadTemplate(package, Catalogue), values), c.part);
        for (const auto& [text, count] : c.counts) {
            std::size_t found = 0;
            for (std::size_t at = part.find(text); at != std::string::npos; at = part.find(text, at + 1)) ++found;
            EXPECT_EQ(found, count) << text;
        }
    }
}

TEST(DocumentTemplate, AMarkSplitOverThreeRunsFillsAsOneRun)
{
    FieldValues values;
    values.text["name"] = "Сидорова А. П.";
    values.lists["measures"] = Measures(2);
    const std::vector<std::string> expected = {"Работник: Сидорова А. П.;", "[Мера 1 & <1>]", "[Мера 2 & <2>]"};
    for (const DocumentFormat format : Formats) {
        EXPECT_EQ(TextLines(Filled(format, {{P("Работник: {{name}};"), T({{"{{#measures}}{{title}}{{/measures}}"}})}},
                                   values)),
                  expected);
        for (const std::string split : {"{{na|m|e}}", "{|{name}|}", "{{ |name| }}"}) {
            SCOPED_TRACE(std::string(FormatName(format)) + " " + split);
            const TemplateText text = {
                {P("Работник: |" + split + "|;"), T({{"{{#meas|ures}}{{ti|tl|e}}{|{/measures}}"}})}};
            EXPECT_EQ(TextLines(Filled(format, text, values)), expected);
        }
    }
}

TEST(DocumentTemplate, TemplatesSavedByLibreOfficeFillAsTheirSources)
{
    // The fixtures are this template, built here, opened and saved again by LibreOffice 7.4
    // ("soffice --headless --convert-to odt" and "--convert-to 'docx:MS Word 2007 XML'"): with its
    // own styles, settings, thumbnail and runs.
    const TemplateText source = {
        {P("Работник: {{na|m|e}}, дата {{date}}"), P("{{?note}}Примечание: {{note}}{{/note}}"), P("{{image:chart}}"),
         T({{"№", "Мера", "Срок"}, {"{{#measures}}{{n}}", "{{title}}", "{{due}}{{/measures}}"}}), P("Конец")},
        {P("Колонтитул {{name}}"), P("{{image:chart}}")}};
    FieldValues values;
    values.text = {{"name", "Иванов & <Ко>"}, {"date", "2026-03-15"}, {"note", "две\nстроки"}};
    values.pictures["chart"] = {WidePng(), 60, 40};
    values.lists["measures"] = Measures(3);
    for (const DocumentFormat format : Formats) {
        SCOPED_TRACE(FormatName(format));
        std::ifstream file(std::string(KESTAL_SOURCE_DIR "/tests/documents/libreoffice-template.") +
                               (format == DocumentFormat::Odt ? "odt" : "docx"),
                           std::ios::binary);
        const std::string saved{std::istreambuf_iterator<char>(file), {}};
        const std::string filled = FillTemplate(ReadTemplate(saved, Catalogue), values);
        EXPECT_EQ(PackageFaults(filled), std::vector<std::string>{});
        const std::string expected = Filled(format, source, values);
        EXPECT_EQ(TextLines(filled), TextLines(expected));
        EXPECT_EQ(TextLines(filled, true), TextLines(expected, true));
        EXPECT_EQ(TextLines(filled).size(), 8u);  // not both empty
    }
}

TEST(DocumentTemplate, PicturesArePlacedWithTheirSizeInTextTablesAndHeaders)
{
    FieldValues values;
    values.pictures["chart"] = {SmallPng(), 160, 90};
    values.pictures["logo"] = {WidePng(), 30, 20.5};
    const TemplateText text = {{P("{{image:chart}}"), T({{"{{image:logo}}"}}), P("{{ image:logo }}")},
                               {P("{{image:logo}}")}};
    for (const DocumentFormat format : Formats) {
        SCOPED_TRACE(FormatName(format));
        const std::string filled = Filled(format, text, values);
        EXPECT_EQ(TextLines(filled),
                  (std::vector<std::string>{"<picture 160x90 mm, 69 bytes>", "[<picture 30x20.5 mm, 73 bytes>]",
                                            "<picture 30x20.5 mm, 73 bytes>"}));
        EXPECT_EQ(TextLines(filled, true), (std::vector<std::string>{"<picture 30x20.5 mm, 73 bytes>"}));
        int pictures = 0;
        for (const std::string& name : EntryNames(filled)) pictures += name.find("kestal-") != std::string::npos;
        EXPECT_EQ(pictures, 2);  // each picture once, however often it shows
        // Without a picture its paragraph stays, empty.
        EXPECT_EQ(TextLines(Filled(format, text, {})), (std::vector<std::string>{"", "[]", ""}));
    }
}

TEST(DocumentTemplate, ValuesThatDoNotFitTheCatalogueAreRefused)
{
    const auto with = [](auto change) {
        FieldValues values;
        change(values);
        return values;
    };
    const struct {
        FieldValues values;
        std::string problem;
    } cases[] = {
        {with([](FieldValues& v) { v.text["nobody"] = "x"; }), "значение неизвестного поля «nobody»"},
        {with([](FieldValues& v) { v.text["date"] = "2026-02-30"; }), "поле «date»: дата «2026-02-30» не существует"},
        {with([](FieldValues& v) { v.text["date"] = "15.03.2026"; }),
         "поле «date»: дата «15.03.2026» не в виде ГГГГ-ММ-ДД"},
        {with([](FieldValues& v) { v.text["chart"] = "x"; }), "поле «chart» — изображение, а не текст"},
        {with([](FieldValues& v) {
             v.lists["measures"] = {{{"due", "2026-13-01"}}};
         }),
         "список «measures», элемент 1, поле «due»: дата «2026-13-01» не существует"},
        {with([](FieldValues& v) {
             v.lists["measures"] = {{}, {{"cost", "1"}}};
         }),
         "список «measures», элемент 2, поле «cost» неизвестно"},
        {with([](FieldValues& v) {
             v.pictures["chart"] = {"GIF89a", 10, 10};
         }),
         "изображение «chart» — не PNG"},
        {with([](FieldValues& v) {
             v.pictures["chart"] = {SmallPng(), 0, 10};
         }),
         "изображение «chart»: размер на странице должен быть больше 0 и не больше 1000 мм"},
    };
    const DocumentTemplate read = ReadTemplate(TemplatePackage(DocumentFormat::Odt, {{P("{{name}}")}}), Catalogue);
    for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { FillTemplate(read, c.values); }), c.problem);
}

// An ODT styles part whose header holds a paragraph inside `depth` spans.
std::string Nested(int depth)
{
    std::string xml =
        "<office:document-styles xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><text:p>";
    for (int i = 0; i < depth; ++i) xml += "<text:span>";
    for (int i = 0; i < depth; ++i) xml += "</text:span>";
    return xml + "</text:p></office:document-styles>";
}

TEST(DocumentTemplate, WhatIsNoTextDocumentIsRefused)
{
    const std::string odt = TemplatePackage(DocumentFormat::Odt, {{P("x")}});
    const std::string docx = TemplatePackage(DocumentFormat::Docx, {{P("x")}});
    const struct {
        std::string bytes, problem;
    } cases[] = {
        {"not a zip at all", "это не архив документа (ODT или DOCX): "},
        {WithEntry(odt, "mimetype", "application/vnd.oasis.opendocument.spreadsheet"),
         "это не текстовый документ ODF: его тип «application/vnd.oasis.opendocument.spreadsheet»"},
        {WithEntry(odt, "content.xml", "<office:document-content>"), "часть content.xml не читается как XML: "},
        {WithEntry(odt, "content.xml",
                   "<o:document-content xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"/>"),
         "часть content.xml записана с непривычными пространствами имён XML (префикс «o»): откройте шаблон в "
         "LibreOffice или Word и сохраните его заново как ODT"},
        {WithEntry(docx, "word/document.xml",
                   "<w:document xmlns:w=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"/>"),
         "часть word/document.xml записана с непривычными пространствами имён XML (префикс «w»): откройте шаблон "
         "в LibreOffice или Word и сохраните его заново как обычный DOCX"},
        {WithEntry(docx, "word/header1.xml", ""), "часть word/header1.xml не читается как XML: "},
        {WithEntry(odt, "styles.xml", Nested(100000)), "часть styles.xml вложена глубже 500 уровней"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf([&] { ReadTemplate(c.bytes, Catalogue); });
        EXPECT_EQ(error.substr(0, c.problem.size()), c.problem);
    }
}

TEST(DocumentTemplate, AnOfficeTemplateGivesADocumentAndTheSameValuesTheSameBytes)
{
    FieldValues values;
    values.text["name"] = "Иванов";
    values.pictures["chart"] = {SmallPng(), 50, 50};
    for (const DocumentFormat format : Formats) {
        SCOPED_TRACE(FormatName(format));
        const TemplateText text = {{P("{{name}}"), P("{{image:chart}}")}, {}, true};
        const std::string filled = Filled(format, text, values);  // sound: a document's type
        EXPECT_EQ(filled, Filled(format, text, values));
        for (const std::string& name : EntryNames(filled)) EXPECT_NE(name, "Thumbnails/thumbnail.png");
    }
}

}  // namespace
