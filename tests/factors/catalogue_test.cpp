// The level scale and the factor catalogue: ids, slots, groups, names, wordings and defaults.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "factors/Catalogue.h"
#include "factors/Levels.h"

using namespace kestal;

namespace {

TEST(LevelTable, HoldsTheElevenLevelsInOrder)
{
    struct Expected {
        const char* name;
        float value;
    };
    const Expected expected[LevelCount] = {
        {"Очень очень низкое", 0.084f},
        {"Очень низкое", 0.166f},
        {"Низкое", 0.25f},
        {"Ниже среднего", 0.334f},
        {"Среднее", 0.417f},
        {"Выше среднего", 0.5f},
        {"Хорошее", 0.584f},
        {"Очень хорошее", 0.667f},
        {"Высокое", 0.75f},
        {"Очень высокое", 0.834f},
        {"Очень очень высокое", 0.916f},
    };
    for (int i = 0; i < LevelCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(LevelTable[i].number, i + 1);
        EXPECT_STREQ(LevelTable[i].name, expected[i].name);
        EXPECT_EQ(LevelTable[i].value, expected[i].value);
    }
}

TEST(LevelTable, ValuesAreTheSinglesNearestToTheThreeDecimalNumbers)
{
    // 0.084 is the single 0x3DAC0831; a value off by one unit would still look like 0.084.
    EXPECT_EQ(LevelTable[0].value, 0x1.581062p-4f);
    EXPECT_EQ(LevelTable[4].value, 0x1.ab020cp-2f);   // 0.417
    EXPECT_EQ(LevelTable[10].value, 0x1.d4fdf4p-1f);  // 0.916
    for (int i = 1; i < LevelCount; ++i) EXPECT_LT(LevelTable[i - 1].value, LevelTable[i].value);
}

TEST(FactorGroups, AreTheFourPagesInOrder)
{
    EXPECT_EQ(FactorGroups[0].letter, 'H');
    EXPECT_STREQ(FactorGroups[0].caption, "Человек");
    EXPECT_EQ(FactorGroups[1].letter, 'M');
    EXPECT_STREQ(FactorGroups[1].caption, "Машина");
    EXPECT_EQ(FactorGroups[2].letter, 'C');
    EXPECT_STREQ(FactorGroups[2].caption, "Рабочая среда");
    EXPECT_EQ(FactorGroups[3].letter, 'T');
    EXPECT_STREQ(FactorGroups[3].caption, "Технология");
}

TEST(FactorCatalogue, ListsThe30FactorsInPageOrderWithUniqueIds)
{
    const char* const pageOrder[30] = {
        "H01", "H02", "H03", "H04", "H05", "H06", "H07", "H08", "H09", "H12", "H13", "H14", "M01", "M02", "M03",
        "M04", "M05", "M06", "M07", "M08", "C01", "C02", "C03", "C04", "T01", "T02", "T03", "T04", "T05", "T06",
    };
    std::set<std::string> ids;
    for (int i = 0; i < 30; ++i) {
        EXPECT_STREQ(FactorCatalogue[i].id, pageOrder[i]);
        ids.insert(FactorCatalogue[i].id);
    }
    EXPECT_EQ(ids.size(), 30u);
}

TEST(FactorCatalogue, SlotsRunC01ToT06AndArePermutation)
{
    const char* const slotOrder[30] = {
        "C01", "C02", "C03", "C04", "H01", "H02", "H03", "H04", "H05", "H06", "H07", "H08", "H09", "H12", "H13",
        "H14", "M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "T01", "T02", "T03", "T04", "T05", "T06",
    };
    std::set<int> slots;
    for (const FactorInfo& factor : FactorCatalogue) slots.insert(factor.slot);
    EXPECT_EQ(slots.size(), 30u);
    EXPECT_EQ(*slots.begin(), 0);
    EXPECT_EQ(*slots.rbegin(), 29);
    for (int slot = 0; slot < 30; ++slot) {
        EXPECT_STREQ(FactorBySlot(slot).id, slotOrder[slot]);
        EXPECT_EQ(FactorBySlot(slot).slot, slot);
    }
    EXPECT_THROW(FactorBySlot(30), std::out_of_range);
    EXPECT_THROW(FactorBySlot(-1), std::out_of_range);
}

TEST(FactorCatalogue, GroupsMatchIdLettersAndCounts)
{
    int count[GroupCount] = {};
    for (const FactorInfo& factor : FactorCatalogue) {
        ASSERT_GE(factor.group, 0);
        ASSERT_LT(factor.group, GroupCount);
        EXPECT_EQ(FactorGroups[factor.group].letter, factor.id[0]) << factor.id;
        ++count[factor.group];
    }
    EXPECT_EQ(count[0], 12);
    EXPECT_EQ(count[1], 8);
    EXPECT_EQ(count[2], 4);
    EXPECT_EQ(count[3], 6);
}

TEST(FindFactor, FindsEveryIdAndNothingElse)
{
    for (const FactorInfo& factor : FactorCatalogue) EXPECT_EQ(FindFactor(factor.id), &factor);
    EXPECT_EQ(FindFactor("T03")->slot, 26);
    for (const char* unknown : {"H10", "H11", "h01", "H1", "H010", "", "C05", "X01"})
        EXPECT_EQ(FindFactor(unknown), nullptr) << unknown;
}

TEST(CatalogueIndex, IsThePositionInTheCatalogue)
{
    for (int index = 0; index < 30; ++index) EXPECT_EQ(CatalogueIndex(FactorCatalogue[index]), index);
}

TEST(FactorCatalogue, DisplayNamesKeepTheirLinesAndBlanks)
{
    struct Expected {
        const char* id;
        const char* line1;
        const char* line2;  // nullptr: one line
    };
    const Expected expected[30] = {
        {"H01", "Пригодность по физиологическим показателям", nullptr},
        {"H02", "Технологическая дисциплинированность", nullptr},
        {"H03", "Качество приёма и декодирования информации", nullptr},
        {"H04", "Навыки выполнения работы", nullptr},
        {"H05", "Качество мотивационной установки", nullptr},
        {"H06", "Знание технологии работ", nullptr},
        {"H07", "Знание физической сущности процессов в системе", nullptr},
        {"H08", "Способность правильно оценивать информацию", nullptr},
        {"H09", "Качество принятия решения ", "(оперативность мышления)"},
        {"H12", "Самообладание в экстремальных ситуациях", nullptr},
        {"H13", "Обученность действиям ", "в сложных условиях обстановки"},
        {"H14", "Точность корректирующих действий", nullptr},
        {"M01", "Качество конструкции рабочего места оператора", nullptr},
        {"M02", "Степень учета особенностей работоспособности", " человека"},
        {"M03", "Оснащенность источниками опасных ", "и вредных факторов"},
        {"M04", "Безотказность прочих элементов", nullptr},
        {"M05", "Безотказность других ответственных элементов", nullptr},
        {"M06", "Длительность действия ", "опасных и вредных факторов"},
        {"M07", "Уровень потенциала опасных и вредных факторов", nullptr},
        {"M08", "Безотказность приборов и устройств безопасности", nullptr},
        {"C01", "Комфортность по физико-химическим", " параметрам воздушной среды"},
        {"C02", "Качество информационной модели", "о состоянии среды"},
        {"C03", "Возможность внешних опасных воздействий", nullptr},
        {"C04", "Возможность внешних ", "неблагоприятных воздействий"},
        {"T01", "Удобство подготовки и выполнения работ", nullptr},
        {"T02", "Удобство технического обслуживания и ремонта", nullptr},
        {"T03", "Сложность алгоритмов оператора", nullptr},
        {"T04", "Возможность появления человека в опасной зоне", nullptr},
        {"T05", "Возможность появления других ", "незащищенных элементов в опасной зоне"},
        {"T06", "Надежность технологических средств ", "обеспечения безопасности"},
    };
    for (int i = 0; i < 30; ++i) {
        const FactorInfo& factor = FactorCatalogue[i];
        SCOPED_TRACE(factor.id);
        EXPECT_STREQ(factor.id, expected[i].id);
        EXPECT_STREQ(factor.displayName, expected[i].line1);
        if (expected[i].line2 == nullptr)
            EXPECT_EQ(factor.displayName2, nullptr);
        else
            EXPECT_STREQ(factor.displayName2, expected[i].line2);
    }
}

// The seven wordings as the lists show them, misprints included.
const LevelWording ListA = {"Очень, очень низкая", "Очень низкая", "Низкая",        "Ниже среднего", "Средняя",
                            "Выше среднего",       "Хорошая",      "Очень хорошая", "Высокая",       "Очень высокая",
                            "Очень, очень высокая"};
const LevelWording ListB = {"Очень, очень низкая", "Очень низкая", "Низкая",        "Ниже среднего", "Средняя",
                            "Выше среднего",       "Большая",      "Очень большая", "Высокая",       "Очень высокая",
                            "Очень, очень высокая"};
const LevelWording ListC = {"Очень, очень низкое", "Очень низкое", "Низкое",        "Ниже среднего", "Среднее",
                            "Выше среднего",       "Хорошее",      "Очень хорошее", "Высокое",       "Очень высокое",
                            "Очень, очень высокое"};
const LevelWording ListD = {"Очень, очень низкое", "Очень низкое", "Низке",         "Ниже среднего", "Среднее",
                            "Выше среднего",       "Хорошее",      "Очень хорошее", "Высокоу",       "Очень высокое",
                            "Очень, очень высокое"};
const LevelWording ListE = {"Очень, очень низкое", "Очень низкое", "Низкое",        "Ниже среднего", "Среднее",
                            "Выше среднего",       "Хорошее",      "Очень хорошее", "Высокое",       "Очень высоке",
                            "Очень, очень высокое"};
const LevelWording ListF = {"Очень, очень низкие", "Очень низкие", "Низкие",        "Ниже среднего", "Средние",
                            "Выше среднего",       "Хорошие",      "Очень хорошие", "Высокие",       "Очень высокие",
                            "Очень, очень высокие"};
const LevelWording ListG = {"Очень, очень низкий", "Очень низкий", "Низкий",        "Ниже среднего", "Средний",
                            "Выше среднего",       "Большой",      "Очень большой", "Высокий",       "Очень высокий",
                            "Очень, очень высокий"};

struct ExpectedRating {
    const char* id;
    const LevelWording* list;
    int defaultItem;
    const char* defaultWords;  // the default item as the list shows it
    float defaultValue;
};

// Page order.
const ExpectedRating Ratings[30] = {
    {"H01", &ListA, 5, "Выше среднего", 0.5f},   {"H02", &ListA, 5, "Выше среднего", 0.5f},
    {"H03", &ListC, 7, "Очень хорошее", 0.667f}, {"H04", &ListF, 8, "Высокие", 0.75f},
    {"H05", &ListD, 8, "Высокоу", 0.75f},        {"H06", &ListC, 7, "Очень хорошее", 0.667f},
    {"H07", &ListC, 5, "Выше среднего", 0.5f},   {"H08", &ListA, 7, "Очень хорошая", 0.667f},
    {"H09", &ListC, 7, "Очень хорошее", 0.667f}, {"H12", &ListC, 2, "Низкое", 0.25f},
    {"H13", &ListA, 6, "Хорошая", 0.584f},       {"H14", &ListA, 7, "Очень хорошая", 0.667f},
    {"M01", &ListE, 4, "Среднее", 0.417f},       {"M02", &ListA, 3, "Ниже среднего", 0.334f},
    {"M03", &ListB, 6, "Большая", 0.584f},       {"M04", &ListA, 7, "Очень хорошая", 0.667f},
    {"M05", &ListA, 8, "Высокая", 0.75f},        {"M06", &ListB, 3, "Ниже среднего", 0.334f},
    {"M07", &ListG, 7, "Очень большой", 0.667f}, {"M08", &ListA, 9, "Очень высокая", 0.834f},
    {"C01", &ListA, 4, "Средняя", 0.417f},       {"C02", &ListC, 4, "Среднее", 0.417f},
    {"C03", &ListB, 1, "Очень низкая", 0.166f},  {"C04", &ListB, 2, "Низкая", 0.25f},
    {"T01", &ListC, 4, "Среднее", 0.417f},       {"T02", &ListC, 2, "Низкое", 0.25f},
    {"T03", &ListB, 6, "Большая", 0.584f},       {"T04", &ListB, 3, "Ниже среднего", 0.334f},
    {"T05", &ListB, 4, "Средняя", 0.417f},       {"T06", &ListA, 8, "Высокая", 0.75f},
};

TEST(FactorCatalogue, EveryListItemReadsExactly)
{
    for (int i = 0; i < 30; ++i) {
        const FactorInfo& factor = FactorCatalogue[i];
        SCOPED_TRACE(factor.id);
        ASSERT_STREQ(factor.id, Ratings[i].id);
        ASSERT_NE(factor.wording, nullptr);
        for (int item = 0; item < LevelCount; ++item)
            EXPECT_STREQ((*factor.wording)[item], (*Ratings[i].list)[item]) << "item " << item;
    }
}

TEST(FactorCatalogue, DefaultItemsAndTheirLevels)
{
    for (int i = 0; i < 30; ++i) {
        const FactorInfo& factor = FactorCatalogue[i];
        SCOPED_TRACE(factor.id);
        EXPECT_EQ(factor.defaultItem, Ratings[i].defaultItem);
        EXPECT_STREQ((*factor.wording)[factor.defaultItem], Ratings[i].defaultWords);
        EXPECT_EQ(LevelTable[factor.defaultItem].value, Ratings[i].defaultValue);
    }
}

}  // namespace
