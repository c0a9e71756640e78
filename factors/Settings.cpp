// The initial ratings of the 30 factors, ApplyLevel, the copy into the network inputs and the level a
// factor is rated at.
#include "factors/Settings.h"

#include <string>

#include "common/Text.h"

namespace kestal {

namespace {

// Row names of the initial row texts, in slot order; some are shortened forms of the display names.
const std::array<const char*, FactorCount> RowNames = {
    "Комфортность по физ.-хим. параметрам воздушной среды",      // C01
    "Качество информационной модели о состоянии среды",          // C02
    "Возможность внешних опасных воздействий",                   // C03
    "Возможность внешних неблагоприятных воздействий",           // C04
    "Пригодность по физиологическим показателям",                // H01
    "Технологическая дисциплинированность",                      // H02
    "Качество приёма и декодирования информации",                // H03
    "Навык выполнения работы",                                   // H04
    "Качество мотивационной установки",                          // H05
    "Знание технологии работ",                                   // H06
    "Знание физической сущности процессов в системе",            // H07
    "Способность правильно оценивать информацию",                // H08
    "Качество принятия решения (оперативность мышл.)",           // H09
    "Самообладание в экстремальных ситуациях",                   // H12
    "Обученность действиям в сложных условиях обстановки",       // H13
    "Точность корректирующих действий",                          // H14
    "Качество конструкции рабочего места оператора",             // M01
    "Степень учета особенностей работоспособности человека",     // M02
    "Оснащенность источниками опасных и вредных факторов",       // M03
    "Безотказность прочих элементов",                            // M04
    "Безотказность других ответственных элементов",              // M05
    "Длительность действия опасных и вредных факторов",          // M06
    "Уровень потенциала опасных и вредных факторов",             // M07
    "Безотказность приборов и устройств безопасности",           // M08
    "Удобство подготовки и выполнения работ",                    // T01
    "Удобство технического обслуживания и ремонта",              // T02
    "Сложность алгоритмов оператора",                            // T03
    "Возможность появления человека в опасной зоне",             // T04
    "Возм-ть появления др. незащищенных эл-тов в опасной зоне",  // T05
    "Надежность технологич. средств обеспечения безопасности",   // T06
};

// Environment and technology rows: "01 name ... C01" (65 characters); human and machine rows:
// "H01 name" and blanks (63 characters).
constexpr std::size_t NumberedRowLength = 65;
constexpr std::size_t IdRowLength = 63;
// Initial level names are padded to this many characters.
constexpr std::size_t InitialLevelNameLength = 15;

std::string PadRight(std::string text, std::size_t length)
{
    const std::size_t count = CharacterCount(text);
    if (count < length) text.append(length - count, ' ');
    return text;
}

std::string InitialRowText(const FactorInfo& factor)
{
    const char group = FactorGroups[factor.group].letter;
    if (group == 'C' || group == 'T') {
        const int number = factor.slot + 1;  // two digits: "01" .. "30"
        const std::string head = (number < 10 ? "0" : "") + std::to_string(number) + " " + RowNames[factor.slot];
        return PadRight(head, NumberedRowLength - 3) + factor.id;
    }
    return PadRight(std::string(factor.id) + " " + RowNames[factor.slot], IdRowLength);
}

std::string InitialLevelName(const FactorLevel& level)
{
    if (level.number == 5) return "Среднее(удовл.)";
    if (level.number == 9) return "Высокое(отлич.)";
    return PadRight(level.name, InitialLevelNameLength);
}

}  // namespace

SettingsTable InitialSettings()
{
    SettingsTable settings;
    for (const FactorInfo& factor : FactorCatalogue) {
        const FactorLevel& level = LevelTable[factor.defaultItem];
        FactorSetting& setting = settings.row[factor.slot];
        setting.RowText = CutToCapacity(InitialRowText(factor), RowTextCapacity);
        setting.Value = level.value;
        setting.LevelName = CutToCapacity(InitialLevelName(level), LevelNameCapacity);
    }
    return settings;
}

void ApplyLevel(SettingsTable& settings, const FactorInfo& factor, int item)
{
    // A list without a selection gives a negative item, and the scale has no item beyond 10:
    // the rating then stays as it was.
    if (item < 0 || item >= LevelCount) return;
    const FactorLevel& level = LevelTable[item];
    FactorSetting& setting = settings.row[factor.slot];
    setting.Value = level.value;
    setting.LevelName = CutToCapacity(level.name, LevelNameCapacity);
}

void CopySettingsToInputs(const SettingsTable& settings, NetworkInputs& inputs)
{
    for (int k = 0; k < FactorCount; ++k) inputs.slot[k] = settings.row[k].Value;
}

NetworkInputs InputsOf(const SettingsTable& settings)
{
    NetworkInputs inputs;
    CopySettingsToInputs(settings, inputs);
    return inputs;
}

NetworkInputs InitialInputs() { return InputsOf(InitialSettings()); }

int RatedItem(const SettingsTable& settings, const FactorInfo& factor)
{
    return LevelNumberOf(settings.row[factor.slot].Value) - 1;
}

bool RatedFromList(const SettingsTable& settings, const FactorInfo& factor)
{
    const int item = RatedItem(settings, factor);
    return item >= 0 && settings.row[factor.slot].LevelName == CutToCapacity(LevelTable[item].name, LevelNameCapacity);
}

}  // namespace kestal
