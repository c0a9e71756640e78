// The grid of the tab "Эксперты": a row per factor, a column per expert with a list of levels in
// each cell, the current rating, the consensus and the range.
#pragma once

#include <QTableWidget>

#include <array>
#include <functional>
#include <vector>

#include "analysis/ExpertPanel.h"

class QComboBox;

namespace kestal {

class PanelGrid : public QTableWidget {
public:
    // The columns before the experts'; the consensus and the range follow them.
    static constexpr int FirstExpertColumn = 2;
    // Called when a level is picked in a cell: the expert's place, the factor's catalogue index and
    // the level number (NoOpinion for "—").
    using LevelPicked = std::function<void(int expert, int factor, int level)>;

    explicit PanelGrid(LevelPicked picked);
    // Shows `panel` with `current`, the assessment's level numbers by catalogue index.
    void ShowPanel(const ExpertPanel& panel, const std::array<int, FactorCount>& current);

private:
    void BuildColumns(int experts);

    LevelPicked picked_;
    std::vector<std::array<QComboBox*, FactorCount>> boxes_;  // per expert, per factor
};

// A level as the lists show it: its number and its wording.
QString LevelItem(const FactorInfo& factor, int level);

}  // namespace kestal
