// Parsing of the measure options and their capture as the measure page captures them.
#include "cli/MeasureOptions.h"

#include <sstream>

#include "ActSelect/Capture.h"

namespace {

MeasureOption ParseMeasureOption(const std::string& text) {
    const std::string what = "--measure expects NAME;COST;ID=NUMBER[,ID=NUMBER...], got '" + text + "'";
    const auto last = text.rfind(';');
    const auto middle = last == std::string::npos || last == 0 ? std::string::npos : text.rfind(';', last - 1);
    if (middle == std::string::npos) throw UsageError(what);
    MeasureOption measure{text, text.substr(0, middle), text.substr(middle + 1, last - middle - 1), {}};
    std::istringstream list(text.substr(last + 1));
    for (std::string change; std::getline(list, change, ',');) {
        const auto equals = change.find('=');
        const FactorInfo* factor = equals == std::string::npos ? nullptr : FindFactor(change.substr(0, equals));
        if (!factor) throw UsageError(what);
        const int item = LevelItemOfNumber(change.substr(equals + 1), "--measure", text);
        const int index = CatalogueIndex(*factor);
        for (const auto& move : measure.moves)
            if (move.first == index) throw UsageError(std::string("factor ") + factor->id + " given twice in --measure " + text);
        measure.moves.emplace_back(index, item);
    }
    if (measure.moves.empty()) throw UsageError(what);
    return measure;
}

}  // namespace

MeasureCommandOptions ParseMeasureCommandOptions(const std::vector<std::string>& args, OptionTaker takeOther,
                                                 const std::vector<std::string>& formats) {
    MeasureCommandOptions options;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--measure")
            options.measures.push_back(ParseMeasureOption(reader.TakeValue(arg)));
        else if (arg == "--budget")
            options.budget = reader.TakeValue(arg);
        else if (arg == "--damage")
            options.damage = reader.TakeValue(arg);
        else if (!takeOther(reader, arg, options.simulation, formats))
            throw UsageError("unknown option '" + arg + "'");
    }
    return options;
}

void CaptureMeasures(const MeasureCommandOptions& options, const SettingsTable& settings, MeasureTables& tables,
                     const NumberLocale& locale) {
    EditorRows rows;
    for (int f = 0; f < FactorCount; ++f) rows[f] = StartEditorRow(FactorCatalogue[f]);
    for (const auto& [factor, item] : options.simulation.levels)
        rows[CatalogueIndex(*factor)] = FreshEditorRow(*factor, item);

    for (const MeasureOption& measure : options.measures) {
        for (const auto& [f, item] : measure.moves) {
            if (rows[f].locked)
                throw UsageError(std::string("factor ") + FactorCatalogue[f].id +
                                 " belongs to an earlier measure, in --measure " + measure.text);
            rows[f].position = item;
            rows[f].levelAfter = (*FactorCatalogue[f].wording)[item];
        }
        const CaptureResult result =
            CaptureMeasure(tables, settings, {rows, measure.name, measure.cost, options.budget, options.damage}, locale);
        if (!result.captured)
            throw UsageError("no factor leaves its current level in --measure " + measure.text);
        for (int f : result.lockedFactors) rows[f].locked = true;
    }
}
