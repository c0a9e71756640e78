// Assessments made through the session's own operations, as the user makes them on the pages: the
// example workplace and the steps the project tests combine.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "assessment/Session.h"
#include "support/FactorIndex.h"

using namespace kestal;

// The clock reading and the locale of the example assessment.
inline constexpr int32_t ExampleClockReading = 36'000'000;  // 10:00:00 UTC

// The factor's list set to level `level` (1..11).
void Rate(Session& session, const char* id, int level);

// One measure on the measure page: each factor's panel clicked and its bar moved to a level
// (1..11), the name and the cost typed, ">>" pressed.
void EnterMeasure(Session& session, const std::string& name, const std::string& cost,
                  std::initializer_list<std::pair<const char*, int>> levels);

// The example of examples/workplace.kestal: ratings, the questionnaire, a run, three measures with
// a budget and a damage, the study and its detailed totals.
void AssessWorkplace(Session& session);
