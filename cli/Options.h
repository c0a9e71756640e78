// Command-line options shared by the kestal-sim commands, and the simulation set up from them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Session/Session.h"
#include "common/Clock.h"
#include "common/NumberLocale.h"
#include "factors/Settings.h"

// A bad option or value: reported on one line, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int UsageExitCode = 2;

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

// Options every simulating command accepts: -K, -N, --level, --seed, --format.
struct SimulationOptions {
    std::string kText = "200";
    std::string nText = "4000";
    std::vector<std::pair<const FactorInfo*, int>> levels;  // factor, item index 0..10
    std::optional<int32_t> seed;                              // UTC ms of day, 0..86 399 999
    std::string format = "table";
};

// Consumes `arg` (and its value) when it is one of the shared options; false otherwise.
// `formats` lists the output formats the command knows.
bool TakeSimulationOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                          const std::vector<std::string>& formats);
// The same for the commands that simulate nothing: --level and --format only.
bool TakeRatingOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                      const std::vector<std::string>& formats);
using OptionTaker = bool (*)(ArgumentReader&, const std::string&, SimulationOptions&, const std::vector<std::string>&);

// All of a command's arguments, each taken by `take`; any other is a usage error.
SimulationOptions ParseSimulationOptions(const std::vector<std::string>& args, OptionTaker take,
                                         const std::vector<std::string>& formats);

// The session a command works on: the levels applied and K and N typed, reading the fixed clock of
// --seed or the system clock. Numbers on the command line are read with "."; the session writes
// its texts in `displayLocale`.
struct CommandSession {
    std::unique_ptr<FixedClock> fixedClock;
    std::unique_ptr<Session> session;
};
CommandSession OpenSession(const SimulationOptions& options, const NumberLocale& displayLocale);

// The decimal conventions of the user's locale (LC_ALL, LC_NUMERIC, LANG), for table output.
NumberLocale UserNumberLocale();

// The conventions numbers are read and written in for an output format: the user's for "table",
// "." as the decimal separator for machine-readable formats.
NumberLocale OutputNumberLocale(const std::string& format);

// The list item (0..10) of level number `numberText` (1..11); a number outside is a usage error
// naming `option` and its whole `value`.
int LevelItemOfNumber(const std::string& numberText, const std::string& option, const std::string& value);
