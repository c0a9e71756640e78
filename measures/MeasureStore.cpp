// The measure store, the plan table's catalogue row texts, their initialisation and clearing, and
// the factors the captured measures hold.
#include "measures/MeasureStore.h"

namespace kestal {

// Row r = FactorSlot. Environment, machine and technology rows carry the catalogue number and the
// id (65 characters); human rows H04..H14 are padded to 63 characters, H01..H03 are not padded.
const std::array<const char*, FactorCount> PlanRowTexts = {
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

int ChangeFactorS::Count() const
{
    int count = 0;
    while (count < MaxCombinedChanges && !entry[count].Factor.empty()) ++count;
    return count;
}

void InitPlanTable(MeasureTables& tables)
{
    for (int r = 0; r < FactorCount; ++r)
        for (int k = 1; k < PlanColumns; ++k) tables.MeasurePlanTable[r][k].RowText = PlanRowTexts[r];
    ClearPlanTable(tables);
}

void ClearPlanTable(MeasureTables& tables)
{
    for (auto& row : tables.MeasurePlanTable)
        for (int k = 1; k < PlanColumns; ++k) {
            row[k].Value = 0.0f;
            row[k].LevelName.clear();
        }
}

void ClearMeasureStore(MeasureTables& tables)
{
    tables.store.fill(operation{});
    tables.captured.fill(operation{});
}

bool HeldByMeasure(const MeasureTables& tables, const SettingsTable& settings, const FactorInfo& factor)
{
    const std::string& row = settings.row[factor.slot].RowText;
    for (int k = 0; k < tables.MeasureCount; ++k) {
        const ChangeFactorS& changes = tables.captured[k].Changes;
        for (int j = 1; j <= changes.Count(); ++j)
            if (changes[j].Factor == row) return true;
    }
    return false;
}

}  // namespace kestal
