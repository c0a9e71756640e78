// Command-line options shared by the kestal-sim commands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Refusal.h"
#include "factors/Catalogue.h"

namespace kestal {

// Walks the arguments of one command.
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}
    bool AtEnd() const { return next_ >= args_.size(); }
    const std::string& Take() { return args_[next_++]; }
    // The value following option `option`; a missing value is a usage error.
    const std::string& TakeValue(const std::string& option);

private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

// A factor and the list item (0..10) of the level number a change gives it.
using LevelChange = std::pair<const FactorInfo*, int>;

// Options every simulating command accepts. What is not given stays as the session (new, or
// opened from --project) holds it.
struct SimulationOptions {
    std::optional<std::string> project;  // --project FILE
    std::optional<std::string> kText;    // -K
    std::optional<std::string> nText;    // -N
    std::vector<LevelChange> levels;     // --level, in order
    std::optional<int32_t> seed;         // --seed: UTC ms of day, 0..86 399 999
    std::string format = "table";
};

// Consumes `arg` (and its value) when it is -K, -N, --seed or one of TakeRatingOption's; false
// otherwise. `formats` lists the output formats the command knows.
bool TakeSimulationOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                          const std::vector<std::string>& formats);
// The same for the commands that simulate nothing: --project, --level and --format.
bool TakeRatingOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                      const std::vector<std::string>& formats);
using OptionTaker = bool (*)(ArgumentReader&, const std::string&, SimulationOptions&, const std::vector<std::string>&);

// All of a command's arguments, each taken by `take`; any other is a usage error.
SimulationOptions ParseSimulationOptions(const std::vector<std::string>& args, OptionTaker take,
                                         const std::vector<std::string>& formats);

// "ID=NUMBER" (a level number 1..11), an entry of --level or --measure; refusals name `subject`.
LevelChange ParseLevelChange(const std::string& subject, const std::string& entry);

}  // namespace kestal
