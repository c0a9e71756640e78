// kestal-sim: the headless front end of Kestal 2.0, for scripts and reproducible runs.
#include <iostream>
#include <string>
#include <vector>

#include "cli/ExactCommand.h"
#include "cli/ImportanceCommand.h"
#include "cli/OptimizeCommand.h"
#include "cli/Options.h"
#include "cli/RunCommand.h"
#include "cli/StudyCommand.h"

namespace {

constexpr const char* Usage =
    "usage: kestal-sim run [-K K] [-N N] [--level ID=NUMBER]... [--seed MS] [--format table|csv|json]\n"
    "       kestal-sim study --measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"... [--budget TEXT] [--damage TEXT]\n"
    "                        [-K K] [-N N] [--level ID=NUMBER]... [--seed MS] [--format table|json]\n"
    "       kestal-sim exact [--level ID=NUMBER]... [--format table|json]\n"
    "       kestal-sim importance [--level ID=NUMBER]... [--format table|json]\n"
    "       kestal-sim optimize --measure \"NAME;COST;ID=NUMBER[,ID=NUMBER...]\"... [--budget TEXT] [--damage TEXT]\n"
    "                           [--level ID=NUMBER]... [--format table|json]\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << Usage;
        return UsageExitCode;
    }
    const std::string command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "run") return RunCommand(rest, std::cout, std::cerr);
    if (command == "study") return StudyCommand(rest, std::cout, std::cerr);
    if (command == "exact") return ExactCommand(rest, std::cout, std::cerr);
    if (command == "importance") return ImportanceCommand(rest, std::cout, std::cerr);
    if (command == "optimize") return OptimizeCommand(rest, std::cout, std::cerr);
    std::cerr << "kestal-sim: unknown command '" << command << "'\n" << Usage;
    return UsageExitCode;
}
