// Everything one working session holds, as plain data: the assessment, the measure editor and its
// tree, and the study's outcome as the pages show it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assessment/Assessment.h"
#include "measures/EditorRules.h"
#include "measures/MeasureStore.h"
#include "measures/Totals.h"
#include "analysis/ExpertPanel.h"
#include "network/Network.h"
#include "network/ResultGrid.h"
#include "network/Series.h"
#include "questionnaire/Questionnaire.h"
#include "factors/Settings.h"

namespace kestal {

// One node of the measure tree: its text, its image (0..7) and, for a change node, its factor
// (catalogue index; -1 for every other node).
struct TreeNode {
    std::string text;
    int image = 0;
    int factor = -1;
    std::vector<TreeNode> children;
    bool operator==(const TreeNode&) const = default;
};

// The study's outcome as the page shows it: the listing, the labels of the totals page, and the
// budget and view the totals table is judged against and shown in.
struct StudyOutcome {
    std::vector<std::string> listing{ListingTitle};
    bool totalsShown = false;       // the tab of "Итоги" is visible
    bool detailed = false;          // "Больше" was pressed: the detailed view
    Budget totalsBudget{0.0L, ""};  // what the totals table was judged against last
    std::string moneyLabel = "Общая сумма, имеющихся в распоряжении финансовых средств ( у.е.) :";
    std::string damageLabel = "Величина среднего ущерба от возможного происшествия ( у.е.) :";
    bool operator==(const StudyOutcome&) const = default;
};

// A working session: the assessment, and the measure editor's presentation state (its rows and
// bars, the pending measure's name and cost, the tree, the readiness of its buttons) and the study's
// outcome as the pages show it.
struct SessionState : Assessment {
    // The study's estimate shows from the first change of K or N or the first capture until "Сброс".
    bool studyEstimateShown = false;

    // The measure editor: one row per factor in catalogue order (level, bar, locked, captions).
    EditorRows editor;
    int selectedFactor = -1;  // the selected measure panel, catalogue index; -1 for none
    std::string measureName = MeasureNameText(1);
    // The pending measure's cost: the amount read where the text entered (none while it is no
    // number) and the text as typed. A project file keeps the amount; the text is formed from it.
    std::string costText = "0";
    std::optional<long double> cost = 0.0L;
    // Whether the editor's rules armed ">>" (moves and cost changes set it, a capture clears it);
    // the button is enabled when it is armed and a press has something to capture.
    bool captureArmed = false;
    bool studyReady = false;    // buttonRunOpt
    bool editorEnabled = true;  // pcFactOpt: a study locks the editor until "Сброс"
    TreeNode tree;              // root "Комплекс мер"; its last child is the pending measure
    int treeExpansions = 0;     // how often the tree was to be expanded whole
    StudyOutcome study;

    const Assessment& assessment() const { return *this; }
    Assessment& assessment() { return *this; }
    // The whole state alike: the assessment and everything the pages show of it.
    bool operator==(const SessionState&) const = default;
};

// Whether two states hold the same assessment, whatever the editor and the pages show.
inline bool SameAssessment(const SessionState& a, const SessionState& b) { return a.assessment() == b.assessment(); }

}  // namespace kestal
