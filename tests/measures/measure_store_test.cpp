// The measure tables: the plan table's row texts, its initial and cleared states, the store.
#include <gtest/gtest.h>

#include <string>

#include "measures/MeasureStore.h"
#include "support/Characters.h"

using namespace kestal;

namespace {

// Row r = FactorSlot.
const char* const CatalogueTexts[30] = {
    "01 Комфортность по физ.-хим. параметрам воздушной среды       C01",
    "02 Качество информационной модели о состоянии среды           C02",
    "03 Возможность внешних опасных воздействий                    C03",
    "04 Возможность внешних неблагоприятных воздействий            C04",
    "H01 Пригодность по физиологическим показателям",
    "H02 Технологическая дисциплинированность",
    "H03 Качество приёма и декодирования информации",
    "H04 Навык выполнения работы                                    ",
    "H05 Качество мотивационной установки                           ",
    "H06 Знание технологии работ                                    ",
    "H07 Знание физической сущности процессов в системе             ",
    "H08 Способность правильно оценивать информацию                 ",
    "H09 Качество принятия решения (оперативность мышл.)            ",
    "H12 Самообладание в экстремальных ситуациях                    ",
    "H13 Обученность действиям в сложных условиях обстановки        ",
    "H14 Точность корректирующих действий                           ",
    "17 Качество конструкции рабочего места оператора              M01",
    "18 Степень учета особенностей работоспособности человека      M02",
    "19 Оснащенность источниками опасных и вредных факторов        M03",
    "20 Безотказность прочих элементов                             M04",
    "21 Безотказность других ответственных элементов               M05",
    "22 Длительность действия опасных и вредных факторов           M06",
    "23 Уровень потенциала опасных и вредных факторов              M07",
    "24 Безотказность приборов и устройств безопасности            M08",
    "25 Удобство подготовки и выполнения работ                     T01",
    "26 Удобство технического обслуживания и ремонта               T02",
    "27 Сложность алгоритмов оператора                             T03",
    "28 Возможность появления человека в опасной зоне              T04",
    "29 Возм-ть появления др. незащищенных эл-тов в опасной зоне   T05",
    "30 Надежность технологич. средств обеспечения безопасности    T06",
};
const std::size_t CatalogueLengths[30] = {65, 65, 65, 65, 46, 40, 46, 63, 63, 63, 63, 63, 63, 63, 63,
                                          63, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65, 65};

// Column 0 and every plan cell given recognisable contents, as a run and captures would leave them.
void FillPlanTable(MeasureTables& tables)
{
    for (int r = 0; r < FactorCount; ++r)
        for (int k = 0; k < PlanColumns; ++k) {
            FactorSetting& cell = tables.MeasurePlanTable[r][k];
            if (k == 0) cell.RowText = "baseline " + std::to_string(r);
            cell.Value = 0.5f + r;
            cell.LevelName = "Выше среднего";
        }
}

void ExpectCatalogueColumnsEmpty(const MeasureTables& tables)
{
    for (int r = 0; r < FactorCount; ++r)
        for (int k = 1; k < PlanColumns; ++k) {
            const FactorSetting& cell = tables.MeasurePlanTable[r][k];
            ASSERT_EQ(cell.RowText, CatalogueTexts[r]) << r << "," << k;
            ASSERT_EQ(cell.Value, 0.0f) << r << "," << k;
            ASSERT_EQ(cell.LevelName, "") << r << "," << k;
        }
}

TEST(PlanRowTexts, AreTheCatalogueTextsExactly)
{
    for (int r = 0; r < FactorCount; ++r) {
        EXPECT_STREQ(PlanRowTexts[r], CatalogueTexts[r]) << r;
        EXPECT_EQ(Characters(PlanRowTexts[r]), CatalogueLengths[r]) << r;
    }
}

TEST(PlanRowTexts, AgreeWithTheSettingsTextsWhereTheyShouldAndDifferWhereTheyDo)
{
    const SettingsTable settings = InitialSettings();
    for (int r = 0; r < FactorCount; ++r) {
        const std::string id = FactorBySlot(r).id;
        const std::string settingsText = settings.row[r].RowText;
        SCOPED_TRACE(id);
        if (id == "H01" || id == "H02" || id == "H03") {
            EXPECT_EQ(settingsText.substr(0, std::string(PlanRowTexts[r]).size()), PlanRowTexts[r]);
            EXPECT_NE(settingsText, PlanRowTexts[r]);
        } else if (id[0] == 'M') {
            EXPECT_EQ(settingsText.substr(0, 4), id + " ");
            EXPECT_NE(settingsText, PlanRowTexts[r]);
        } else {
            EXPECT_EQ(settingsText, PlanRowTexts[r]);
        }
    }
}

TEST(InitPlanTable, FillsTheCatalogueColumnsAndLeavesTheBaselineZero)
{
    MeasureTables tables;
    InitPlanTable(tables);
    ExpectCatalogueColumnsEmpty(tables);
    for (int r = 0; r < FactorCount; ++r) {
        const FactorSetting& baseline = tables.MeasurePlanTable[r][0];
        EXPECT_EQ(baseline.RowText, "");
        EXPECT_EQ(baseline.Value, 0.0f);
        EXPECT_EQ(baseline.LevelName, "");
    }
    EXPECT_EQ(tables.MeasureCount, 0);
    EXPECT_EQ(tables.ChangeTotal, 0);
}

TEST(InitPlanTable, DoesNotTouchColumnZero)
{
    MeasureTables tables;
    FillPlanTable(tables);
    InitPlanTable(tables);
    ExpectCatalogueColumnsEmpty(tables);
    for (int r = 0; r < FactorCount; ++r) {
        EXPECT_EQ(tables.MeasurePlanTable[r][0].RowText, "baseline " + std::to_string(r));
        EXPECT_EQ(tables.MeasurePlanTable[r][0].Value, 0.5f + r);
    }
}

TEST(ClearPlanTable, EmptiesValuesAndNamesButKeepsTextsAndBaseline)
{
    MeasureTables tables;
    InitPlanTable(tables);
    FillPlanTable(tables);
    ClearPlanTable(tables);
    ExpectCatalogueColumnsEmpty(tables);
    for (int r = 0; r < FactorCount; ++r) {
        const FactorSetting& baseline = tables.MeasurePlanTable[r][0];
        EXPECT_EQ(baseline.RowText, "baseline " + std::to_string(r));
        EXPECT_EQ(baseline.Value, 0.5f + r);
        EXPECT_EQ(baseline.LevelName, "Выше среднего");
    }
}

ChangeFactor SomeChange(int j)
{
    return {"H04 Навык выполнения работы " + std::to_string(j), "Высокие", "Очень высокие", 0.75f, 0.834f};
}

operation SomeMeasure(int k)
{
    operation measure{"Мероприятие " + std::to_string(k), {}, 100.0f + k, 0.01f, 1000.0f, 10.0f};
    for (int j = 1; j <= MaxCombinedChanges; ++j) measure.Changes[j] = SomeChange(j);
    return measure;
}

void ExpectEmpty(const operation& measure)
{
    EXPECT_EQ(measure.Name, "");
    EXPECT_EQ(measure.Cost, 0.0f);
    EXPECT_EQ(measure.Delta, 0.0f);
    EXPECT_EQ(measure.Benefit, 0.0f);
    EXPECT_EQ(measure.Ratio, 0.0f);
    EXPECT_EQ(measure.Changes.Count(), 0);
    for (int j = 1; j <= MaxCombinedChanges; ++j) {
        const ChangeFactor& change = measure.Changes[j];
        EXPECT_EQ(change.Factor, "");
        EXPECT_EQ(change.LevelBefore, "");
        EXPECT_EQ(change.LevelAfter, "");
        EXPECT_EQ(change.ValueBefore, 0.0f);
        EXPECT_EQ(change.ValueAfter, 0.0f);
    }
}

TEST(ClearMeasureStore, EmptiesAllRecordsWithTheirChangesAndTheCapturedMeasures)
{
    MeasureTables tables;
    for (int p = 1; p <= StorePositions; ++p) tables.MeasureStore(p) = SomeMeasure(p);
    for (operation& measure : tables.captured) measure = SomeMeasure(0);
    InitPlanTable(tables);
    ClearMeasureStore(tables);
    for (int p = 1; p <= StorePositions; ++p) {
        SCOPED_TRACE(p);
        ExpectEmpty(tables.MeasureStore(p));
    }
    for (const operation& measure : tables.captured) ExpectEmpty(measure);
    ExpectCatalogueColumnsEmpty(tables);
}

TEST(MeasureTables, StorePositionsCountFromOne)
{
    MeasureTables tables;
    tables.MeasureStore(1).Name = "first";
    tables.MeasureStore(24).Name = "last";
    EXPECT_EQ(tables.store[0].Name, "first");
    EXPECT_EQ(tables.store[23].Name, "last");
    ChangeFactorS changes;
    changes[1].Factor = "a";
    changes[30].Factor = "z";
    EXPECT_EQ(changes.entry[0].Factor, "a");
    EXPECT_EQ(changes.entry[29].Factor, "z");
}

TEST(ChangeFactorS, CountStopsAtTheFirstEmptyFactor)
{
    ChangeFactorS changes;
    EXPECT_EQ(changes.Count(), 0);
    changes[1] = SomeChange(1);
    changes[2] = SomeChange(2);
    changes[3] = SomeChange(3);
    EXPECT_EQ(changes.Count(), 3);
    changes[5] = SomeChange(5);  // behind a gap: not part of the list
    EXPECT_EQ(changes.Count(), 3);
    changes[2].Factor.clear();
    EXPECT_EQ(changes.Count(), 1);
    for (int j = 1; j <= MaxCombinedChanges; ++j) changes[j] = SomeChange(j);
    EXPECT_EQ(changes.Count(), 30);
}

}  // namespace
