// The texts the window shows for each factor: panel captions and name labels, the measure page's
// labels, the monitor's help lines and the introduction.
#pragma once

#include <array>
#include <span>

#include "factors/Catalogue.h"

namespace kestal {

// A name label on a two-line factor panel: its text and position inside the panel.
struct NameLabel {
    const char* text;
    int left;
    int top;
};

struct FactorPanelTexts {
    const char*
        panelCaption;  // "  H01          Пригодность по физиологическим показателям", or "  H09" for two-line panels
    std::array<NameLabel, 2> nameLabels;  // both {nullptr, 0, 0} where the caption carries the name
    int panelTop;                         // 0, 41, 82, ... within the page
    // Measure page: name label lbOptXX and id label lbOptXXa (nullptr where there is none: H06).
    const char* measureName;
    const char* measureIdLabel;
};

// The texts of one factor of the catalogue.
const FactorPanelTexts& PanelTexts(const FactorInfo& factor);

// The monitor's help for a factor: a click on its panel, or on its list. The two differ for T03 only.
enum class HelpForm { Panel, List };
// Lines in order; an empty string is an empty line.
std::span<const char* const> HelpLines(const FactorInfo& factor, HelpForm form);

// The seven lines of the introduction shown at start-up and by the monitor's small button.
extern const std::array<const char*, 7> IntroductionLines;

// The modeling page's header strip caption above the factor panels ("фактор" ... "оценка").
extern const char* const FactorHeaderCaption;
// The measure page's header line above its factor panels ("Код", "фактор", "оценка ДО", "оценка ПОСЛЕ").
extern const char* const MeasureHeaderCaption;

}  // namespace kestal
