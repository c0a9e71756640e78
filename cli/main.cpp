// kestal-sim: the headless front end of Kestal 2.0, for scripts and reproducible runs.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/ExactCommand.h"
#include "cli/ImportanceCommand.h"
#include "cli/OptimizeCommand.h"
#include "cli/PlanCommand.h"
#include "cli/PanelCommand.h"
#include "cli/Refusal.h"
#include "cli/RunCommand.h"
#include "cli/StopSignals.h"
#include "cli/StudyCommand.h"

namespace {

constexpr const char* Usage =
    "usage: kestal-sim run [--project FILE] [-K K] [-N N] [--level ID=NUMBER]... [--seed MS]\n"
    "                      [--format table|csv|json]\n"
    "       kestal-sim study [--project FILE] --measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"...\n"
    "                        [--budget AMOUNT] [--damage AMOUNT] [-K K] [-N N] [--level ID=NUMBER]...\n"
    "                        [--seed MS] [--format table|json]\n"
    "       kestal-sim exact [--project FILE] [--level ID=NUMBER]... [--format table|json]\n"
    "       kestal-sim importance [--project FILE] [--level ID=NUMBER]... [--format table|json]\n"
    "       kestal-sim optimize [--project FILE] --measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"...\n"
    "                           [--budget AMOUNT] [--damage AMOUNT] [--level ID=NUMBER]... [--format table|json]\n"
    "       kestal-sim plan [--project FILE] --target P [--measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"]...\n"
    "                       [--step-cost ID=COST]... [--range ID=LOW-HIGH]... [--work EVALUATIONS]\n"
    "                       [--panel FILE.csv] [--level ID=NUMBER]... [--format table|json]\n"
    "       kestal-sim panel [--project FILE] --panel FILE.csv [--level ID=NUMBER]... [--target P]\n"
    "                        [--format table|json]\n"
    "Numbers take \".\" as the decimal separator. Exit status: 0 done, 1 output not written, 2 refused,\n"
    "130 or 143 stopped by SIGINT or SIGTERM.\n";

constexpr const char* Commands = "run, study, exact, importance or optimize (kestal-sim --help shows their options)";

}  // namespace

int main(int argc, char** argv) {
    CatchStopSignals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "kestal-sim: expected a command: " << Commands << '\n';
        return UsageExitCode;
    }
    const std::string command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "run") return RunCommand(rest, std::cout, std::cerr);
    if (command == "study") return StudyCommand(rest, std::cout, std::cerr);
    if (command == "exact") return ExactCommand(rest, std::cout, std::cerr);
    if (command == "importance") return ImportanceCommand(rest, std::cout, std::cerr);
    if (command == "optimize") return OptimizeCommand(rest, std::cout, std::cerr);
    if (command == "plan") return PlanCommand(rest, std::cout, std::cerr);
    if (command == "panel") return PanelCommand(rest, std::cout, std::cerr);
    if (command == "--help")
        return RunCommandBody("--help", std::cout, std::cerr, [](std::ostream& text) { text << Usage; });
    std::cerr << "kestal-sim: unknown command '" << OneLine(command) << "'; expected " << Commands << '\n';
    return UsageExitCode;
}
