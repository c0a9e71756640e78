// Everything one working session holds, as plain data: the assessment, and beside it what the pages
// show of it: the measure editor and its tree, and the study's outcome.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "assessment/Assessment.h"
#include "measures/EditorRules.h"
#include "measures/Totals.h"

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

// A factor's track bar on the measure page (tbXX): the level the pending measure gives the factor
// (0..10) and the caption st2_XX shows of it.
struct EditorBar {
    int position = 0;
    std::string levelAfter;
    bool operator==(const EditorBar&) const = default;
};

// What the pages show beyond the assessment: the measure editor (its bars, the selected panel, the
// pending measure's name and cost, the tree, the readiness of its buttons) and the study's outcome.
struct Presentation {
    // The study's estimate shows from the first change of K or N or the first capture until "Сброс".
    bool studyEstimateShown = false;
    std::array<EditorBar, FactorCount> bars;  // catalogue order
    int selectedFactor = -1;                  // the selected measure panel, catalogue index; -1 for none
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
    bool operator==(const Presentation&) const = default;
};

// A working session's state: the assessment, and what the pages show of it.
struct SessionState {
    Assessment assessment;
    Presentation shown;

    // The measure page's row of `factor` (catalogue index): its level and that level's caption as the
    // assessment rates it, locked where a captured measure holds it, its bar as the editor left it.
    EditorRow Row(int factor) const;
    EditorRows Rows() const;
    bool operator==(const SessionState&) const = default;
};

// The bar of `factor` standing on the level the assessment rates it at, captioned as that level.
EditorBar BarOnLevel(const Assessment& assessment, int factor);

}  // namespace kestal
