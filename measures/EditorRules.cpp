// The measure editor's rules: change-node texts, tree addressing and the readiness of the buttons.
#include "measures/EditorRules.h"

#include <string_view>

namespace kestal {

std::string StartLevelText(const FactorInfo& factor)
{
    if (std::string_view(factor.id) == "H05") return "Высокое";
    return (*factor.wording)[factor.defaultItem];
}

int ItemOfLevelText(const FactorInfo& factor, const std::string& text)
{
    for (int item = 0; item < LevelCount; ++item)
        if (text == (*factor.wording)[item]) return item;
    return text == StartLevelText(factor) ? factor.defaultItem : -1;
}

std::string LevelCaption(const SettingsTable& settings, const FactorInfo& factor)
{
    if (!RatedFromList(settings, factor)) return StartLevelText(factor);
    return (*factor.wording)[RatedItem(settings, factor)];
}

std::string MeasureNameText(int number) { return "Мероприятие " + std::to_string(number); }

int GroupImage(const FactorInfo& factor) { return 4 + factor.group; }

std::string ChangeNodeText(const FactorInfo& factor, int currentItem, int position)
{
    const int distance = position - currentItem;
    if (distance == 0) return NoChangeText;
    const std::string sign = distance > 0 ? "  (+" : "  ( -";
    return factor.id + sign + std::to_string(distance > 0 ? distance : -distance) + ") --> " +
           (*factor.wording)[position];
}

bool AmountAtLeastOne(const TypedAmount& amount) { return amount.Number() >= 1.0L; }

std::optional<bool> ReadinessAfterCostChange(const TypedAmount& cost, const EditorRows& rows)
{
    if (cost.text.empty()) return std::nullopt;
    if (!AmountAtLeastOne(cost)) return false;
    for (const EditorRow& row : rows)
        if (row.levelBefore != row.levelAfter) return true;
    return false;
}

std::optional<bool> ReadinessAfterMove(int currentItem, int position, const TypedAmount& cost)
{
    if (position == currentItem) return false;
    if (AmountAtLeastOne(cost)) return true;
    return std::nullopt;
}

bool RunButtonEnabled(const TypedAmount& budget, const TypedAmount& damage, int measureCount)
{
    if (!AmountAtLeastOne(budget)) return false;
    return AmountAtLeastOne(damage) && measureCount >= 2;
}

}  // namespace kestal
