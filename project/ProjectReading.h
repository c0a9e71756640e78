// The parts of reading a project file shared by its sections: factor ids, the measures and the
// ranked store.
#pragma once

#include <string>
#include <vector>

#include "project/JsonNode.h"
#include "assessment/SessionState.h"

namespace kestal {

// "Файл «<fileName>» не открыт: <place>: <problem>".
std::string NotOpenedText(const std::string& fileName, const DocumentProblem& problem);

// A factor named by its id ("H04").
const FactorInfo& FactorOf(const JsonNode& id);

// The captured measures in capture order: their records, MeasureCount, ChangeTotal and their plan
// columns, as the capture writes them. Returns each measure's factors (catalogue indices).
std::vector<std::vector<int>> ReadMeasures(const JsonNode& measures, Assessment& assessment);

// The measure store's records from position 1 on.
void ReadStore(const JsonNode& store, Assessment& assessment);

}  // namespace kestal
