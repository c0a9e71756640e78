// The measure editor's rules: change-node texts, tree addressing and the readiness of the buttons.
#include "measures/EditorRules.h"

#include <string_view>

#include "common/Conversions.h"

EditorRow FreshEditorRow(const FactorInfo& factor, int item) {
    const char* text = (*factor.wording)[item];
    return {item, item, false, text, text};
}

std::string StartLevelText(const FactorInfo& factor) {
    if (std::string_view(factor.id) == "H05") return "Высокое";
    return (*factor.wording)[factor.defaultItem];
}

EditorRow StartEditorRow(const FactorInfo& factor) {
    const std::string text = StartLevelText(factor);
    return {factor.defaultItem, factor.defaultItem, false, text, text};
}

int ItemOfLevelText(const FactorInfo& factor, const std::string& text) {
    for (int item = 0; item < LevelCount; ++item)
        if (text == (*factor.wording)[item]) return item;
    return text == StartLevelText(factor) ? factor.defaultItem : -1;
}

std::string MeasureNameText(int number) { return "Мероприятие " + std::to_string(number); }

int GroupImage(const FactorInfo& factor) { return 4 + factor.group; }

std::string ChangeNodeText(const FactorInfo& factor, int currentItem, int position) {
    const int distance = position - currentItem;
    if (distance == 0) return NoChangeText;
    const std::string sign = distance > 0 ? "  (+" : "  ( -";
    return factor.id + sign + std::to_string(distance > 0 ? distance : -distance) + ") --> " +
           (*factor.wording)[position];
}

bool AmountAtLeastOne(const std::string& text, const NumberLocale& locale) {
    return ParseFloat(text, locale) >= 1.0L;
}

std::optional<bool> ReadinessAfterCostChange(const std::string& costText, const EditorRows& rows,
                                             const NumberLocale& locale) {
    if (costText.empty()) return std::nullopt;
    if (!AmountAtLeastOne(costText, locale)) return false;
    for (const EditorRow& row : rows)
        if (row.levelBefore != row.levelAfter) return true;
    return false;
}

std::optional<bool> ReadinessAfterMove(int currentItem, int position, const std::string& costText,
                                       const NumberLocale& locale) {
    if (position == currentItem) return false;
    if (AmountAtLeastOne(costText, locale)) return true;
    return std::nullopt;
}

bool RunButtonEnabled(const std::string& budgetText, const std::string& damageText, int measureCount,
                      const NumberLocale& locale) {
    if (!AmountAtLeastOne(budgetText, locale)) return false;
    return AmountAtLeastOne(damageText, locale) && measureCount >= 2;
}
