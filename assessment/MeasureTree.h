// The measure tree as data: its start, a measure's three nodes, a measure's change nodes, and the
// tree as it follows from the measures alone; what the pages show of an assessment seen afresh.
#pragma once

#include <string>

#include "assessment/SessionState.h"
#include "common/NumberLocale.h"

namespace kestal {

// "Комплекс мер" (image 0) with the child "Мероприятие 1" and its two children.
TreeNode InitialTree();
// A measure node named `name` (image 1) with "Изменения факторов ЧМС" (2) and "Затраты" (3).
TreeNode MeasureNode(const std::string& name);
// The child of a changes node that belongs to `factor`; nullptr where there is none.
TreeNode* FactorNode(TreeNode& changes, int factor);

// The tree the captured measures and the pending one make: a node per captured measure with a change
// node per change in its order and its cost as "Затраты = COST у.е." (the cost written in `locale`),
// then the pending measure with a change node per factor whose bar stands away from its level and
// that no captured measure holds, in catalogue order.
TreeNode DerivedTree(const SessionState& state, const NumberLocale& locale);

// What an opened state shows but a file does not keep: the texts of the cost, budget and damage
// fields (their amounts written in `locale`, empty for none) and the measure tree (DerivedTree).
// A project file's reader forms them with "."; Session::Load again in the session's own locale.
void FormDerivedParts(SessionState& state, const NumberLocale& locale);

// What the pages show of `assessment` seen afresh, so that it can be shown or saved on its own: each
// factor's bar on its level, the next measure's name and a cost of 0, the tree of its measures (costs
// written in `locale`), the study's page and button as at the start.
Presentation PresentationOf(const Assessment& assessment, const NumberLocale& locale);

}  // namespace kestal
