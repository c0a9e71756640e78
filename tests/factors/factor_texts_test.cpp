// Tests of the factors' display texts: panel captions and labels, measure labels, help lines, introduction.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "factors/FactorTexts.h"

using namespace kestal;

namespace {

const FactorInfo& Factor(std::string_view id)
{
    const FactorInfo* factor = FindFactor(id);
    if (factor == nullptr) {
        throw std::invalid_argument(std::string("no factor ") + std::string(id));
    }
    return *factor;
}

std::vector<std::string> Help(std::string_view id, HelpForm form = HelpForm::Panel)
{
    std::span<const char* const> lines = HelpLines(Factor(id), form);
    return {lines.begin(), lines.end()};
}

// Characters, not bytes: the texts are UTF-8.
std::size_t CodePoints(std::string_view text)
{
    std::size_t count = 0;
    for (unsigned char byte : text) {
        count += (byte & 0xC0) != 0x80;
    }
    return count;
}

// The lengths of the runs of blanks, in order.
std::vector<std::size_t> BlankRuns(std::string_view text)
{
    std::vector<std::size_t> runs;
    std::size_t run = 0;
    for (char c : text) {
        if (c == ' ') {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0) {
        runs.push_back(run);
    }
    return runs;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(FactorTexts, EveryFactorOfTheCatalogueHasItsTexts)
{
    int groupOfPrevious = -1;
    int topExpected = 0;
    for (const FactorInfo& factor : FactorCatalogue) {
        SCOPED_TRACE(factor.id);
        const FactorPanelTexts& texts = PanelTexts(factor);
        ASSERT_NE(texts.panelCaption, nullptr);
        EXPECT_EQ(std::string_view(texts.panelCaption).substr(0, 5), std::string("  ") + factor.id);
        // Panels stack from the top of their page, 41 pixels apart, in catalogue order.
        topExpected = factor.group == groupOfPrevious ? topExpected + 41 : 0;
        groupOfPrevious = factor.group;
        EXPECT_EQ(texts.panelTop, topExpected);
        ASSERT_NE(texts.measureName, nullptr);
        EXPECT_EQ(texts.measureIdLabel == nullptr, std::string_view(factor.id) == "H06");
        for (HelpForm form : {HelpForm::Panel, HelpForm::List}) {
            std::span<const char* const> lines = HelpLines(factor, form);
            ASSERT_GE(lines.size(), 5u);
            // The header line ends with the id's digits (the letter is Cyrillic for C01..C04).
            std::string_view header = lines[0];
            EXPECT_EQ(header.substr(header.size() - 2), std::string_view(factor.id).substr(1));
        }
    }
}

TEST(FactorTexts, UnknownFactorIsRefused)
{
    const FactorInfo unknown{"X99", 0, 0, "", nullptr, nullptr, 0};
    EXPECT_THROW(PanelTexts(unknown), std::invalid_argument);
    EXPECT_THROW(HelpLines(unknown, HelpForm::Panel), std::invalid_argument);
}

TEST(FactorTexts, OneLinePanelCaptions)
{
    struct Expected {
        const char* id;
        const char* caption;
        std::size_t length;
        std::size_t blanksAfterId;
    };
    const Expected expected[] = {
        {"H01", "  H01          Пригодность по физиологическим показателям", 57, 10},
        {"H03", "  H03         Качество приёма и декодирования информации", 56, 9},
        {"H04", "  H04                         Навыки выполнения работы", 54, 25},
        {"H06", "  H06                            Знание технологии работ", 56, 28},
        {"M08", "  M08      Безотказность приборов и устройств безопасности", 58, 6},
        {"C03", "  C03             Возможность внешних опасных воздействий", 57, 13},
        {"T03", "  T03                     Сложность алгоритмов оператора", 56, 21},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        const FactorPanelTexts& texts = PanelTexts(Factor(e.id));
        EXPECT_STREQ(texts.panelCaption, e.caption);
        EXPECT_EQ(CodePoints(texts.panelCaption), e.length);
        EXPECT_EQ(BlankRuns(texts.panelCaption)[1], e.blanksAfterId);
        EXPECT_EQ(texts.nameLabels[0].text, nullptr);
        EXPECT_EQ(texts.nameLabels[1].text, nullptr);
    }
    EXPECT_EQ(PanelTexts(Factor("H03")).panelTop, 82);
    EXPECT_EQ(PanelTexts(Factor("H14")).panelTop, 451);
    EXPECT_EQ(PanelTexts(Factor("C03")).panelTop, 82);
}

TEST(FactorTexts, TwoLinePanelsCarryTheirNameInTwoLabels)
{
    struct Expected {
        const char* id;
        int top;
        NameLabel first;
        NameLabel second;
    };
    const Expected expected[] = {
        {"H09", 328, {"Качество принятия решения ", 56, 8}, {"(оперативность мышления)", 160, 24}},
        {"H13", 410, {"Обученность действиям ", 56, 8}, {"в сложных условиях обстановки", 136, 24}},
        {"M02", 41, {"Степень учета особенностей работоспособности", 48, 8}, {" человека", 256, 24}},
        {"M03", 82, {"Оснащенность источниками опасных ", 48, 8}, {"и вредных факторов", 200, 24}},
        {"M06", 205, {"Длительность действия ", 56, 8}, {"опасных и вредных факторов", 152, 24}},
        {"C01", 0, {"Комфортность по физико-химическим", 56, 8}, {" параметрам воздушной среды", 144, 24}},
        {"C02", 41, {"Качество информационной модели", 56, 8}, {"о состоянии среды", 200, 24}},
        {"C04", 123, {"Возможность внешних ", 56, 8}, {"неблагоприятных воздействий", 144, 24}},
        {"T05", 164, {"Возможность появления других ", 48, 8}, {"незащищенных элементов в опасной зоне", 88, 24}},
        {"T06", 205, {"Надежность технологических средств ", 48, 8}, {"обеспечения безопасности", 168, 24}},
    };
    int twoLinePanels = 0;
    for (const FactorInfo& factor : FactorCatalogue) {
        twoLinePanels += PanelTexts(factor).nameLabels[0].text != nullptr;
    }
    EXPECT_EQ(twoLinePanels, 10);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        const FactorPanelTexts& texts = PanelTexts(Factor(e.id));
        EXPECT_EQ(texts.panelCaption, std::string("  ") + e.id);
        EXPECT_EQ(texts.panelTop, e.top);
        const NameLabel* wanted[] = {&e.first, &e.second};
        for (int i = 0; i < 2; ++i) {
            ASSERT_NE(texts.nameLabels[i].text, nullptr);
            EXPECT_STREQ(texts.nameLabels[i].text, wanted[i]->text);
            EXPECT_EQ(texts.nameLabels[i].left, wanted[i]->left);
            EXPECT_EQ(texts.nameLabels[i].top, wanted[i]->top);
        }
    }
}

TEST(FactorTexts, MeasurePageLabels)
{
    const FactorPanelTexts& h06 = PanelTexts(Factor("H06"));
    EXPECT_STREQ(h06.measureName, "  H06    Знание технологии работ");
    EXPECT_EQ(h06.measureIdLabel, nullptr);

    EXPECT_STREQ(PanelTexts(Factor("H01")).measureName, "Пригодность по физиологическим показателям");
    EXPECT_STREQ(PanelTexts(Factor("H01")).measureIdLabel, "  H01");
    EXPECT_STREQ(PanelTexts(Factor("H07")).measureIdLabel, "  H07 ");
    EXPECT_STREQ(PanelTexts(Factor("H12")).measureIdLabel, "  H12 ");
    EXPECT_STREQ(PanelTexts(Factor("T03")).measureIdLabel, "  T03 ");
    EXPECT_STREQ(PanelTexts(Factor("T04")).measureIdLabel, "  T04 ");
    EXPECT_STREQ(PanelTexts(Factor("C01")).measureIdLabel, "  C01");
    EXPECT_STREQ(PanelTexts(Factor("H09")).measureName, "Качество принятия решения (оперативность мышления)");
    EXPECT_STREQ(PanelTexts(Factor("M02")).measureName, "Степень учета особенностей работоспособности  человека");
    EXPECT_STREQ(PanelTexts(Factor("C01")).measureName,
                 "Комфортность по физико- химическим  параметрам воздушной среды");
    EXPECT_STREQ(PanelTexts(Factor("T05")).measureName,
                 "Возможность появления других незащищенных элементов в опасной зоне");
}

TEST(FactorTexts, HelpOfH01)
{
    EXPECT_EQ(Help("H01"), (Lines{
                               "                         H01",
                               "   Пригодность по физиологическим показателям определяется следующим:",
                               "     Антропометрические показатели персонала",
                               "     Антропологические показатели персонала",
                               "",
                           }));
}

TEST(FactorTexts, HelpOfC01HasTwelveLinesAndACyrillicHeader)
{
    const Lines c01 = Help("C01");
    EXPECT_EQ(c01, (Lines{
                       "                                      С01",
                       "   Комфортность по физико-химическим параметрам рабочей среды может определяться из "
                       "следующих соображений :",
                       "     Температура воздуха",
                       "     Влажность воздуха",
                       "     Подвижность воздуха",
                       "     Освещенность",
                       "     Уровень шума и вибрвций",
                       "     ЭМП",
                       "     Ионизирующие излучения",
                       "      и т.д. ....",
                       "",
                       "   Суммарная характеристика - тяжесть и напряженность трудового процесса.",
                   }));
    ASSERT_EQ(c01.size(), 12u);
    EXPECT_EQ(c01[10], "");
    // 38 blanks, then U+0421 (Cyrillic Es) in UTF-8, not the Latin C of the id.
    EXPECT_EQ(c01[0], std::string(38, ' ') + "\xD0\xA1" + "01");
}

TEST(FactorTexts, HelpOfC02ToC04HasTwentySixBlanksAndCyrillicHeaders)
{
    EXPECT_EQ(Help("C02"), (Lines{
                               "                          С02",
                               "   Качество информационной модели о состоянии среды определяется :",
                               "     Уровнем мониторинга за физ-хим параметрами рабочей среды",
                               "     И т.д. ...",
                               "",
                           }));
    EXPECT_EQ(Help("C02")[0], std::string(26, ' ') + "\xD0\xA1" + "02");
    EXPECT_EQ(Help("C03")[0], std::string(26, ' ') + "\xD0\xA1" + "03");
    EXPECT_EQ(Help("C04")[0], std::string(26, ' ') + "\xD0\xA1" + "04");
    EXPECT_EQ(Help("H14")[0], std::string(25, ' ') + "H14");
    EXPECT_EQ(Help("T06")[0], std::string(25, ' ') + "T06");
}

TEST(FactorTexts, HelpOfM02AndM07EndsInTwoEmptyLines)
{
    EXPECT_EQ(Help("M02"), (Lines{
                               "                         M02",
                               "   Степень учета особенносте работоспособности человека:",
                               "    Подсвойство эргономичности",
                               "",
                               "",
                           }));
    EXPECT_EQ(Help("M07"), (Lines{
                               "                         M07",
                               "   Уровень потенциала опасных и вредных факторов определяется следующим:",
                               "     ....",
                               "",
                               "",
                           }));
}

TEST(FactorTexts, HelpOfM06KeepsItsQuotationMarks)
{
    EXPECT_EQ(Help("M06"), (Lines{
                               "                         M06",
                               "   Длительность действия опасных и вредных факторов определяется следующим:",
                               "     Начальная энергия",
                               "     \"Диаметр бреши\" через которую энергия неконтролируемо высвобождается",
                               "     .....",
                           }));
}

TEST(FactorTexts, HelpOfT03DiffersBetweenPanelAndList)
{
    EXPECT_EQ(Help("T03", HelpForm::Panel), (Lines{
                                                "                         T03",
                                                "   Сложность алгоритмов оператора определяется следующим:",
                                                "     Интеллектуальная нагрузка",
                                                "     Эмоциональная нагрузка",
                                                "     Монотонность",
                                                "     Режим работы",
                                                "     .....",
                                            }));
    EXPECT_EQ(Help("T03", HelpForm::List), (Lines{
                                               "                         T03",
                                               "   Сложность алгоритмов оператора определяется следующим:",
                                               "     Физическая нагрузка",
                                               "     Интеллектуальная нагрузка",
                                               "     .....",
                                           }));
    for (const FactorInfo& factor : FactorCatalogue) {
        if (std::string_view(factor.id) != "T03") {
            SCOPED_TRACE(factor.id);
            EXPECT_EQ(Help(factor.id, HelpForm::List), Help(factor.id, HelpForm::Panel));
        }
    }
}

TEST(FactorTexts, IntroductionLines)
{
    const Lines expected = {
        "   Программа Kestal 2.0 моделирует процесс возникновения происшествия в системе Человек-Машина-Среда (ЧМС).",
        "   Система ЧМС достаточно универсальна и может описывать большинство реальных производственных, "
        "технологических и транспортных процессов.",
        "   Конкретная ЧМС характеризуется оределенным набором факторов, влияющих на процесс возникновения "
        "происшествия.",
        "   Поэтому необходимо определиться с оценками этих факторов для Вашей ЧМС, что можно сделать в разделе "
        "\"Исследуемые факторы ЧМС\".(По умолчанию исследуемые факторы уже имеют некоторые значения).",
        "   Далее следует определить Параметры моделитрования N и K - они влияют на точность получаемых результатов и "
        "на время работы программы.",
        "   Запуск процесса моделирования происшествия в заданной ЧМС производится одноименной кнопкой.",
        "   Результаты моделирования выводятся в таблице \"Результаты ...\".",
    };
    EXPECT_EQ(Lines(IntroductionLines.begin(), IntroductionLines.end()), expected);
}

TEST(FactorTexts, HeaderCaptions)
{
    EXPECT_EQ(std::string(FactorHeaderCaption), std::string(42, ' ') + "фактор" + std::string(69, ' ') + "оценка");
    EXPECT_STREQ(MeasureHeaderCaption,
                 "   Код                     фактор                                 оценка ДО                   оценка "
                 "ПОСЛЕ");
    EXPECT_EQ(BlankRuns(MeasureHeaderCaption), (std::vector<std::size_t>{3, 21, 33, 1, 19, 1}));
    EXPECT_EQ(CodePoints(MeasureHeaderCaption), 106u);
}
