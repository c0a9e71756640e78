// The measure page's rows as the assessment and the editor's bars make them.
#include "assessment/SessionState.h"

namespace kestal {

EditorRow SessionState::Row(int factor) const
{
    const FactorInfo& info = FactorCatalogue.at(factor);
    const SettingsTable& settings = assessment.settings;
    const EditorBar& bar = shown.bars[factor];
    return {RatedItem(settings, info), bar.position, HeldByMeasure(assessment.measures, settings, info),
            LevelCaption(settings, info), bar.levelAfter};
}

EditorRows SessionState::Rows() const
{
    EditorRows rows;
    for (int f = 0; f < FactorCount; ++f) rows[f] = Row(f);
    return rows;
}

EditorBar BarOnLevel(const Assessment& assessment, int factor)
{
    const FactorInfo& info = FactorCatalogue.at(factor);
    return {RatedItem(assessment.settings, info), LevelCaption(assessment.settings, info)};
}

}  // namespace kestal
