// Filling one workplace's document from a template with two lists of 200 rows, a picture and
// twenty fields, in both formats: the template read once, and read afresh for each document.
#include <benchmark/benchmark.h>

#include "documents/DocumentTemplate.h"
#include "documents/TestPackages.h"

using namespace kestal;
using namespace kestal::test;

namespace {

const FieldCatalogue& Catalogue()
{
    static const FieldCatalogue catalogue = [] {
        FieldCatalogue c;
        for (int i = 1; i <= 20; ++i) c.fields.push_back({"field" + std::to_string(i), FieldKind::Text});
        c.fields.push_back({"chart", FieldKind::Image});
        c.lists.push_back({"measures",
                           {{"n", FieldKind::Number},
                            {"title", FieldKind::Text},
                            {"control", FieldKind::Text},
                            {"owner", FieldKind::Text},
                            {"due", FieldKind::Date},
                            {"cost", FieldKind::Number},
                            {"reduction", FieldKind::Number}}});
        c.lists.push_back({"workers", {{"name", FieldKind::Text}, {"date", FieldKind::Date}}});
        return c;
    }();
    return catalogue;
}

std::string Template(DocumentFormat format)
{
    TemplateText text({});
    for (int i = 1; i <= 20; ++i)
        text.body.push_back(P("Поле " + std::to_string(i) + ": {{field" + std::to_string(i) + "}}"));
    text.body.push_back(P("{{image:chart}}"));
    text.body.push_back(T({{"№", "Мера", "Вид", "Ответственный", "Срок", "Стоимость", "Снижение"},
                           {"{{#measures}}{{n}}", "{{title}}", "{{control}}", "{{owner}}", "{{due}}", "{{cost}}",
                            "{{reduction}}{{/measures}}"}}));
    text.body.push_back(P("С картой ознакомлен(а):"));
    text.body.push_back(T({{"{{#workers}}{{name}}", "{{date}}", "{{/workers}}"}}));
    return TemplatePackage(format, text);
}

FieldValues Values()
{
    FieldValues values;
    for (int i = 1; i <= 20; ++i) values.text["field" + std::to_string(i)] = "Значение поля " + std::to_string(i);
    values.pictures["chart"] = {WidePng(), 160, 90};
    for (int k = 1; k <= 200; ++k) {
        values.lists["measures"].push_back({{"n", std::to_string(k)},
                                            {"title", "Установить ограждение станка № " + std::to_string(k)},
                                            {"control", "инженерные меры"},
                                            {"owner", "Петров П. П., мастер участка"},
                                            {"due", "2026-06-30"},
                                            {"cost", "12\u00A0500,00"},
                                            {"reduction", "0,0012"}});
        values.lists["workers"].push_back({{"name", "Работник " + std::to_string(k)}, {"date", "2026-03-01"}});
    }
    return values;
}

void FillReadTemplate(benchmark::State& state)
{
    const DocumentTemplate read = ReadTemplate(Template(static_cast<DocumentFormat>(state.range(0))), Catalogue());
    const FieldValues values = Values();
    for (auto _ : state) benchmark::DoNotOptimize(FillTemplate(read, values));
}
BENCHMARK(FillReadTemplate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void ReadAndFill(benchmark::State& state)
{
    const std::string bytes = Template(static_cast<DocumentFormat>(state.range(0)));
    const FieldValues values = Values();
    for (auto _ : state) benchmark::DoNotOptimize(FillTemplate(ReadTemplate(bytes, Catalogue()), values));
}
BENCHMARK(ReadAndFill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
