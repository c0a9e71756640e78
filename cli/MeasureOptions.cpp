// Parsing of the measure options and their capture as the measure page captures them.
#include "cli/MeasureOptions.h"

#include <sstream>


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

void CaptureMeasures(const MeasureCommandOptions& options, Session& session) {
    session.SetBudgetText(options.budget);
    session.SetDamageText(options.damage);
    for (const MeasureOption& measure : options.measures) {
        session.SetMeasureName(measure.name);
        session.SetCostText(measure.cost);
        for (const auto& [f, item] : measure.moves) {
            if (session.state().editor[f].locked)
                throw UsageError(std::string("factor ") + FactorCatalogue[f].id +
                                 " belongs to an earlier measure, in --measure " + measure.text);
            session.MoveBar(f, item);
        }
        if (!session.WouldCapture())
            throw UsageError("no factor leaves its current level in --measure " + measure.text);
        session.Capture();
    }
}
