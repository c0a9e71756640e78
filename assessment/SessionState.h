// Everything one working session holds, as plain data: ratings, run sizes, results, the measure
// editor and its tree, the measure tables, the study's outcome, the questionnaire and the expert panel.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "measures/EditorRules.h"
#include "measures/MeasureStore.h"
#include "measures/Totals.h"
#include "analysis/ExpertPanel.h"
#include "network/Network.h"
#include "network/ResultGrid.h"
#include "network/Series.h"
#include "questionnaire/Questionnaire.h"
#include "factors/Settings.h"

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
    bool totalsShown = false;        // the tab of "Итоги" is visible
    bool detailed = false;           // "Больше" was pressed: the detailed view
    Budget totalsBudget{0.0L, ""};   // what the totals table was judged against last
    std::string moneyLabel = "Общая сумма, имеющихся в распоряжении финансовых средств ( у.е.) :";
    std::string damageLabel = "Величина среднего ущерба от возможного происшествия ( у.е.) :";
    bool operator==(const StudyOutcome&) const = default;
};

// The inputs of a plan to a target: the target (a probability 0 … 1; none while not given) and,
// for the factors that carry one or whose allowed levels are narrowed, the cost of one level step
// (≥ 0; none: the factor is not changed) and the levels it may take, low ≤ high within 1 … 11.
struct PlanFactorInput {
    int factor = 0;  // catalogue index
    std::optional<long double> costPerStep;
    int low = 1;
    int high = LevelCount;
    bool operator==(const PlanFactorInput&) const = default;
};
// The most one level step may cost.
constexpr long double MostPlanStepCost = 1e15L;
struct PlanInputs {
    std::optional<long double> target;
    std::vector<PlanFactorInput> factors;  // in catalogue order, each factor at most once
    bool operator==(const PlanInputs&) const = default;
};

struct SessionState {
    // The factor ratings and the simulation's own state: inputs, random source, series.
    SettingsTable settings = InitialSettings();
    GertNetwork net;
    SeriesTable series;

    // The run size texts, shared by both pages' K and N fields.
    std::string kText = "200";
    std::string nText = "4000";
    // The study's estimate shows from the first change of K or N or the first capture until "Сброс".
    bool studyEstimateShown = false;
    // One block per completed modeling run, oldest first (RunCounter is their number).
    std::vector<RunBlock> results;

    // The measure editor: one row per factor in catalogue order (level, bar, locked, captions).
    EditorRows editor;
    int selectedFactor = -1;  // the selected measure panel, catalogue index; -1 for none
    std::string measureName = MeasureNameText(1);
    std::string costText = "0";
    std::string budgetText = "1500";
    std::string damageText = "10000000";
    // The amounts these three texts hold, read where the text enters; none while a text is no number.
    // A project file keeps the amounts; the texts are formed from them when it is opened.
    std::optional<long double> cost = 0.0L;
    std::optional<long double> budget = 1500.0L;
    std::optional<long double> damage = 10'000'000.0L;
    bool captureReady = false;   // the editor's readiness of ">>" (CaptureEnabled adds what a press needs)
    bool studyReady = false;     // buttonRunOpt
    bool editorEnabled = true;   // pcFactOpt: a study locks the editor until "Сброс"
    TreeNode tree;               // root "Комплекс мер"; its last child is the pending measure
    int treeExpansions = 0;      // how often the tree was to be expanded whole
    MeasureTables measures;
    StudyOutcome study;

    // The questionnaire: the level it chose last (a T03 item) and the answers it was applied with.
    uint8_t QuestionnaireLevel = 6;
    QuestionnaireAnswers answers{};

    // The expert panel of the assessment; none while it has no experts.
    ExpertPanel panel;

    // What the plan to a target was last asked: kept with the assessment.
    PlanInputs plan;

    int32_t RunCounter() const { return static_cast<int32_t>(results.size()); }
};
