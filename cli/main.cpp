// kestal-sim: the headless front end of Kestal 2.0, for scripts and reproducible runs.
#include <iostream>
#include <string>
#include <vector>

#include "cli/BatchCommand.h"
#include "cli/Command.h"
#include "cli/CompareCommand.h"
#include "cli/ExactCommand.h"
#include "cli/ImportanceCommand.h"
#include "cli/OptimizeCommand.h"
#include "cli/PlanCommand.h"
#include "cli/PanelCommand.h"
#include "cli/Refusal.h"
#include "cli/RunCommand.h"
#include "cli/StopSignals.h"
#include "cli/StudyCommand.h"

using namespace kestal;

namespace {

using CommandFunction = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

// A command, what runs it and its usage, as "kestal-sim CMD --help" prints it.
struct CommandEntry {
    const char* name;
    CommandFunction run;
    const char* usage;
};

constexpr CommandEntry CommandTable[] = {
    {"run", RunCommand,
     "usage: kestal-sim run [--project FILE] [-K K] [-N N] [--level ID=NUMBER]... [--seed MS]\n"
     "                      [--format table|csv|json]\n"},
    {"study", StudyCommand,
     "usage: kestal-sim study [--project FILE] --measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"...\n"
     "                        [--budget AMOUNT] [--damage AMOUNT] [-K K] [-N N] [--level ID=NUMBER]...\n"
     "                        [--seed MS] [--format table|json]\n"},
    {"exact", ExactCommand, "usage: kestal-sim exact [--project FILE] [--level ID=NUMBER]... [--format table|json]\n"},
    {"importance", ImportanceCommand,
     "usage: kestal-sim importance [--project FILE] [--level ID=NUMBER]... [--format table|json]\n"},
    {"optimize", OptimizeCommand,
     "usage: kestal-sim optimize [--project FILE] --measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"...\n"
     "                           [--budget AMOUNT] [--damage AMOUNT] [--level ID=NUMBER]... [--format table|json]\n"},
    {"plan", PlanCommand,
     "usage: kestal-sim plan [--project FILE] --target P [--measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"]...\n"
     "                       [--step-cost ID=COST]... [--range ID=LOW-HIGH]... [--work EVALUATIONS]\n"
     "                       [--panel FILE.csv] [--level ID=NUMBER]... [--format table|json]\n"},
    {"panel", PanelCommand,
     "usage: kestal-sim panel [--project FILE] [--panel FILE.csv] [--level ID=NUMBER]... [--target P]\n"
     "                        [--format table|json]   (without --panel: the panel the project holds)\n"},
    {"compare", CompareCommand, "usage: kestal-sim compare A.kestal B.kestal [--format table|json]\n"},
    {"batch", BatchCommand, "usage: kestal-sim batch FILE.csv|FILE.xlsx [--format table|csv|json] [--no-importance]\n"},
};

constexpr const char* UsageNotes =
    "Numbers take \".\" as the decimal separator. Exit status: 0 done, 1 output not written, 2 refused,\n"
    "3 some rows of a batch refused (the others written), 130 or 143 stopped by SIGINT or SIGTERM.\n";

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// Every command of the table by name, "run, study, … compare or batch (kestal-sim --help shows their
// options)".
std::string CommandList()
{
    std::string list;
    const std::size_t count = std::size(CommandTable);
    for (std::size_t i = 0; i < count; ++i)
        list += std::string(i == 0 ? "" : i + 1 == count ? " or " : ", ") + CommandTable[i].name;
    return list + " (kestal-sim --help shows their options)";
}

// Every command's usage, then the notes; a command's usage alone when `entry` is given.
int PrintUsage(const CommandEntry* entry)
{
    return RunCommandBody("--help", std::cout, std::cerr, [entry](std::ostream& text) {
        if (entry) {
            text << entry->usage << UsageNotes;
            return;
        }
        for (const CommandEntry& command : CommandTable) {
            const std::string usage = command.usage;
            // The first line of each after the first begins "       kestal-sim" under "usage: kestal-sim".
            text << (&command == CommandTable ? usage : "       " + usage.substr(7));
        }
        text << UsageNotes;
    });
}

}  // namespace

int main(int argc, char** argv)
{
    CatchStopSignals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "kestal-sim: expected a command: " << CommandList() << '\n';
        return UsageExitCode;
    }
    const std::string& command = args.front();
    if (IsHelp(command)) return PrintUsage(nullptr);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const CommandEntry& entry : CommandTable) {
        if (command != entry.name) continue;
        for (const std::string& arg : rest)
            if (IsHelp(arg)) return PrintUsage(&entry);
        return entry.run(rest, std::cout, std::cerr);
    }
    std::cerr << "kestal-sim: unknown command '" << OneLine(command) << "'; expected " << CommandList() << '\n';
    return UsageExitCode;
}
