// The factor catalogue: groups, the seven level-list wordings and the 30 factors.
#include "factors/Catalogue.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace kestal {

const std::array<FactorGroup, GroupCount> FactorGroups = {{
    {'H', "Человек"},
    {'M', "Машина"},
    {'C', "Рабочая среда"},
    {'T', "Технология"},
}};

namespace {

// The item texts as the lists show them, misprints included.
const LevelWording WordingA = {
    "Очень, очень низкая",  "Очень низкая", "Низкая",        "Ниже среднего", "Средняя",
    "Выше среднего",        "Хорошая",      "Очень хорошая", "Высокая",       "Очень высокая",
    "Очень, очень высокая",
};
const LevelWording WordingB = {
    "Очень, очень низкая",  "Очень низкая", "Низкая",        "Ниже среднего", "Средняя",
    "Выше среднего",        "Большая",      "Очень большая", "Высокая",       "Очень высокая",
    "Очень, очень высокая",
};
const LevelWording WordingC = {
    "Очень, очень низкое",  "Очень низкое", "Низкое",        "Ниже среднего", "Среднее",
    "Выше среднего",        "Хорошее",      "Очень хорошее", "Высокое",       "Очень высокое",
    "Очень, очень высокое",
};
const LevelWording WordingD = {
    "Очень, очень низкое",  "Очень низкое", "Низке",         "Ниже среднего", "Среднее",
    "Выше среднего",        "Хорошее",      "Очень хорошее", "Высокоу",       "Очень высокое",
    "Очень, очень высокое",
};
const LevelWording WordingE = {
    "Очень, очень низкое",  "Очень низкое", "Низкое",        "Ниже среднего", "Среднее",
    "Выше среднего",        "Хорошее",      "Очень хорошее", "Высокое",       "Очень высоке",
    "Очень, очень высокое",
};
const LevelWording WordingF = {
    "Очень, очень низкие",  "Очень низкие", "Низкие",        "Ниже среднего", "Средние",
    "Выше среднего",        "Хорошие",      "Очень хорошие", "Высокие",       "Очень высокие",
    "Очень, очень высокие",
};
const LevelWording WordingG = {
    "Очень, очень низкий",  "Очень низкий", "Низкий",        "Ниже среднего", "Средний",
    "Выше среднего",        "Большой",      "Очень большой", "Высокий",       "Очень высокий",
    "Очень, очень высокий",
};

}  // namespace

const std::array<FactorInfo, 30> FactorCatalogue = {{
    // id, slot, group, display name (first line, second line), wording, default item
    {"H01", 4, 0, "Пригодность по физиологическим показателям", nullptr, &WordingA, 5},
    {"H02", 5, 0, "Технологическая дисциплинированность", nullptr, &WordingA, 5},
    {"H03", 6, 0, "Качество приёма и декодирования информации", nullptr, &WordingC, 7},
    {"H04", 7, 0, "Навыки выполнения работы", nullptr, &WordingF, 8},
    {"H05", 8, 0, "Качество мотивационной установки", nullptr, &WordingD, 8},
    {"H06", 9, 0, "Знание технологии работ", nullptr, &WordingC, 7},
    {"H07", 10, 0, "Знание физической сущности процессов в системе", nullptr, &WordingC, 5},
    {"H08", 11, 0, "Способность правильно оценивать информацию", nullptr, &WordingA, 7},
    {"H09", 12, 0, "Качество принятия решения ", "(оперативность мышления)", &WordingC, 7},
    {"H12", 13, 0, "Самообладание в экстремальных ситуациях", nullptr, &WordingC, 2},
    {"H13", 14, 0, "Обученность действиям ", "в сложных условиях обстановки", &WordingA, 6},
    {"H14", 15, 0, "Точность корректирующих действий", nullptr, &WordingA, 7},
    {"M01", 16, 1, "Качество конструкции рабочего места оператора", nullptr, &WordingE, 4},
    {"M02", 17, 1, "Степень учета особенностей работоспособности", " человека", &WordingA, 3},
    {"M03", 18, 1, "Оснащенность источниками опасных ", "и вредных факторов", &WordingB, 6},
    {"M04", 19, 1, "Безотказность прочих элементов", nullptr, &WordingA, 7},
    {"M05", 20, 1, "Безотказность других ответственных элементов", nullptr, &WordingA, 8},
    {"M06", 21, 1, "Длительность действия ", "опасных и вредных факторов", &WordingB, 3},
    {"M07", 22, 1, "Уровень потенциала опасных и вредных факторов", nullptr, &WordingG, 7},
    {"M08", 23, 1, "Безотказность приборов и устройств безопасности", nullptr, &WordingA, 9},
    {"C01", 0, 2, "Комфортность по физико-химическим", " параметрам воздушной среды", &WordingA, 4},
    {"C02", 1, 2, "Качество информационной модели", "о состоянии среды", &WordingC, 4},
    {"C03", 2, 2, "Возможность внешних опасных воздействий", nullptr, &WordingB, 1},
    {"C04", 3, 2, "Возможность внешних ", "неблагоприятных воздействий", &WordingB, 2},
    {"T01", 24, 3, "Удобство подготовки и выполнения работ", nullptr, &WordingC, 4},
    {"T02", 25, 3, "Удобство технического обслуживания и ремонта", nullptr, &WordingC, 2},
    {"T03", 26, 3, "Сложность алгоритмов оператора", nullptr, &WordingB, 6},
    {"T04", 27, 3, "Возможность появления человека в опасной зоне", nullptr, &WordingB, 3},
    {"T05", 28, 3, "Возможность появления других ", "незащищенных элементов в опасной зоне", &WordingB, 4},
    {"T06", 29, 3, "Надежность технологических средств ", "обеспечения безопасности", &WordingA, 8},
}};

const FactorInfo* FindFactor(std::string_view id)
{
    const auto found = std::find_if(FactorCatalogue.begin(), FactorCatalogue.end(),
                                    [id](const FactorInfo& factor) { return id == factor.id; });
    return found == FactorCatalogue.end() ? nullptr : &*found;
}

int CatalogueIndex(const FactorInfo& factor) { return static_cast<int>(&factor - FactorCatalogue.data()); }

const FactorInfo& FactorBySlot(int slot)
{
    const auto found = std::find_if(FactorCatalogue.begin(), FactorCatalogue.end(),
                                    [slot](const FactorInfo& factor) { return factor.slot == slot; });
    if (found == FactorCatalogue.end()) throw std::out_of_range("no factor in slot " + std::to_string(slot));
    return *found;
}

}  // namespace kestal
