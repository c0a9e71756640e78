// The initial SettingsTable, ApplyLevel and CopySettingsToInputs.
#include <gtest/gtest.h>

#include <string>

#include "factors/Settings.h"
#include "support/Characters.h"

using namespace kestal;

namespace {

struct ExpectedSetting {
    const char* id;
    const char* rowText;
    float value;
    const char* levelName;
};

// Slot order.
const ExpectedSetting Initial[30] = {
    {"C01", "01 Комфортность по физ.-хим. параметрам воздушной среды       C01", 0.417f, "Среднее(удовл.)"},
    {"C02", "02 Качество информационной модели о состоянии среды           C02", 0.417f, "Среднее(удовл.)"},
    {"C03", "03 Возможность внешних опасных воздействий                    C03", 0.166f, "Очень низкое   "},
    {"C04", "04 Возможность внешних неблагоприятных воздействий            C04", 0.25f, "Низкое         "},
    {"H01", "H01 Пригодность по физиологическим показателям                 ", 0.5f, "Выше среднего  "},
    {"H02", "H02 Технологическая дисциплинированность                       ", 0.5f, "Выше среднего  "},
    {"H03", "H03 Качество приёма и декодирования информации                 ", 0.667f, "Очень хорошее  "},
    {"H04", "H04 Навык выполнения работы                                    ", 0.75f, "Высокое(отлич.)"},
    {"H05", "H05 Качество мотивационной установки                           ", 0.75f, "Высокое(отлич.)"},
    {"H06", "H06 Знание технологии работ                                    ", 0.667f, "Очень хорошее  "},
    {"H07", "H07 Знание физической сущности процессов в системе             ", 0.5f, "Выше среднего  "},
    {"H08", "H08 Способность правильно оценивать информацию                 ", 0.667f, "Очень хорошее  "},
    {"H09", "H09 Качество принятия решения (оперативность мышл.)            ", 0.667f, "Очень хорошее  "},
    {"H12", "H12 Самообладание в экстремальных ситуациях                    ", 0.25f, "Низкое         "},
    {"H13", "H13 Обученность действиям в сложных условиях обстановки        ", 0.584f, "Хорошее        "},
    {"H14", "H14 Точность корректирующих действий                           ", 0.667f, "Очень хорошее  "},
    {"M01", "M01 Качество конструкции рабочего места оператора              ", 0.417f, "Среднее(удовл.)"},
    {"M02", "M02 Степень учета особенностей работоспособности человека      ", 0.334f, "Ниже среднего  "},
    {"M03", "M03 Оснащенность источниками опасных и вредных факторов        ", 0.584f, "Хорошее        "},
    {"M04", "M04 Безотказность прочих элементов                             ", 0.667f, "Очень хорошее  "},
    {"M05", "M05 Безотказность других ответственных элементов               ", 0.75f, "Высокое(отлич.)"},
    {"M06", "M06 Длительность действия опасных и вредных факторов           ", 0.334f, "Ниже среднего  "},
    {"M07", "M07 Уровень потенциала опасных и вредных факторов              ", 0.667f, "Очень хорошее  "},
    {"M08", "M08 Безотказность приборов и устройств безопасности            ", 0.834f, "Очень высокое  "},
    {"T01", "25 Удобство подготовки и выполнения работ                     T01", 0.417f, "Среднее(удовл.)"},
    {"T02", "26 Удобство технического обслуживания и ремонта               T02", 0.25f, "Низкое         "},
    {"T03", "27 Сложность алгоритмов оператора                             T03", 0.584f, "Хорошее        "},
    {"T04", "28 Возможность появления человека в опасной зоне              T04", 0.334f, "Ниже среднего  "},
    {"T05", "29 Возм-ть появления др. незащищенных эл-тов в опасной зоне   T05", 0.417f, "Среднее(удовл.)"},
    {"T06", "30 Надежность технологич. средств обеспечения безопасности    T06", 0.75f, "Высокое(отлич.)"},
};

TEST(InitialSettings, RowTextsValuesAndLevelNamesSlotBySlot)
{
    const SettingsTable settings = InitialSettings();
    for (int slot = 0; slot < 30; ++slot) {
        const ExpectedSetting& expected = Initial[slot];
        const FactorSetting& setting = settings.row[slot];
        SCOPED_TRACE(expected.id);
        ASSERT_STREQ(FactorBySlot(slot).id, expected.id);
        EXPECT_EQ(setting.RowText, expected.rowText);
        EXPECT_EQ(setting.Value, expected.value);
        EXPECT_EQ(setting.LevelName, expected.levelName);
        EXPECT_EQ(Characters(setting.LevelName), 15u);
        const bool numbered = expected.id[0] == 'C' || expected.id[0] == 'T';
        EXPECT_EQ(Characters(setting.RowText), numbered ? 65u : 63u);
    }
}

TEST(InitialSettings, ExamplesSpelledOut)
{
    const SettingsTable settings = InitialSettings();
    EXPECT_EQ(settings.row[0].RowText,
              std::string("01 Комфортность по физ.-хим. параметрам воздушной среды") + "       " + "C01");
    EXPECT_EQ(settings.row[4].RowText.substr(0, 4), "H01 ");
    EXPECT_EQ(settings.row[4].RowText.find_last_not_of(' ') + 1,
              std::string("H01 Пригодность по физиологическим показателям").size());
    EXPECT_EQ(settings.row[0].LevelName, "Среднее(удовл.)");
}

TEST(InitialSettings, EveryValueIsItsDefaultLevelsValue)
{
    const SettingsTable settings = InitialSettings();
    for (const FactorInfo& factor : FactorCatalogue)
        EXPECT_EQ(settings.row[factor.slot].Value, LevelTable[factor.defaultItem].value) << factor.id;
}

TEST(ApplyLevel, LowestAndHighestItemOfEveryFactor)
{
    for (const FactorInfo& factor : FactorCatalogue) {
        SCOPED_TRACE(factor.id);
        SettingsTable settings = InitialSettings();
        ApplyLevel(settings, factor, 0);
        EXPECT_EQ(settings.row[factor.slot].Value, 0.084f);
        EXPECT_EQ(settings.row[factor.slot].LevelName, "Очень очень низкое");
        ApplyLevel(settings, factor, 10);
        EXPECT_EQ(settings.row[factor.slot].Value, 0.916f);
        EXPECT_EQ(settings.row[factor.slot].LevelName, "Очень очень высокое");
        EXPECT_EQ(settings.row[factor.slot].RowText, Initial[factor.slot].rowText);
    }
}

TEST(ApplyLevel, StoresTheScaleNameWhateverTheListShows)
{
    SettingsTable settings = InitialSettings();
    ApplyLevel(settings, *FindFactor("M07"), 7);  // "Очень большой"
    EXPECT_EQ(settings.row[22].Value, 0.667f);
    EXPECT_EQ(settings.row[22].LevelName, "Очень хорошее");
    ApplyLevel(settings, *FindFactor("T03"), 6);  // "Большая"
    EXPECT_EQ(settings.row[26].Value, 0.584f);
    EXPECT_EQ(settings.row[26].LevelName, "Хорошее");
    ApplyLevel(settings, *FindFactor("H05"), 8);  // "Высокоу"
    EXPECT_EQ(settings.row[8].Value, 0.75f);
    EXPECT_EQ(settings.row[8].LevelName, "Высокое");
    ApplyLevel(settings, *FindFactor("C01"), 4);  // back to the default "Средняя"
    EXPECT_EQ(settings.row[0].Value, 0.417f);
    EXPECT_EQ(settings.row[0].LevelName, "Среднее");
}

TEST(ApplyLevel, TouchesOnlyItsOwnFactor)
{
    SettingsTable settings = InitialSettings();
    ApplyLevel(settings, *FindFactor("H12"), 9);
    for (int slot = 0; slot < 30; ++slot) {
        if (slot == 13) continue;
        EXPECT_EQ(settings.row[slot].Value, Initial[slot].value) << slot;
        EXPECT_EQ(settings.row[slot].LevelName, Initial[slot].levelName) << slot;
    }
    EXPECT_EQ(settings.row[13].Value, 0.834f);
    EXPECT_EQ(settings.row[13].LevelName, "Очень высокое");
}

TEST(ApplyLevel, ItemWithoutSelectionOrBeyondTheScaleChangesNothing)
{
    SettingsTable settings = InitialSettings();
    const FactorInfo& t03 = *FindFactor("T03");
    for (int item : {-1, -100, 11, 1000}) {
        ApplyLevel(settings, t03, item);
        EXPECT_EQ(settings.row[26].Value, 0.584f) << item;
        EXPECT_EQ(settings.row[26].LevelName, "Хорошее        ") << item;
    }
    ApplyLevel(settings, t03, 2);
    ApplyLevel(settings, t03, -1);
    EXPECT_EQ(settings.row[26].Value, 0.25f);
    EXPECT_EQ(settings.row[26].LevelName, "Низкое");
}

TEST(CopySettingsToInputs, CopiesTheInitialValuesSlotBySlot)
{
    const float expected[30] = {0.417f, 0.417f, 0.166f, 0.25f,  0.5f,   0.5f,   0.667f, 0.75f,  0.75f,  0.667f,
                                0.5f,   0.667f, 0.667f, 0.25f,  0.584f, 0.667f, 0.417f, 0.334f, 0.584f, 0.667f,
                                0.75f,  0.334f, 0.667f, 0.834f, 0.417f, 0.25f,  0.584f, 0.334f, 0.417f, 0.75f};
    NetworkInputs inputs;
    inputs.slot.fill(-1.0f);
    CopySettingsToInputs(InitialSettings(), inputs);
    for (int k = 0; k < 30; ++k) EXPECT_EQ(inputs.slot[k], expected[k]) << k;
}

TEST(CopySettingsToInputs, CarriesAnAppliedLevel)
{
    SettingsTable settings = InitialSettings();
    ApplyLevel(settings, *FindFactor("C03"), 10);
    ApplyLevel(settings, *FindFactor("T06"), 0);
    NetworkInputs inputs;
    CopySettingsToInputs(settings, inputs);
    EXPECT_EQ(inputs.slot[2], 0.916f);
    EXPECT_EQ(inputs.slot[29], 0.084f);
    EXPECT_EQ(inputs.slot[3], 0.25f);
}

}  // namespace
