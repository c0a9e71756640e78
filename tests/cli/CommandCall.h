// Calling a kestal-sim command in the test's own process, and the settings the tests call it with.
#pragma once

#include <cstdlib>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome Call(const Command& command, const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

inline std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The numbers following `"key":` in a JSON text, in order, read in extended precision.
inline std::vector<long double> Numbers(const std::string& json, const std::string& key)
{
    std::vector<long double> numbers;
    const std::regex number("\"" + key + "\":([-0-9.e+]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), number); it != std::sregex_iterator(); ++it)
        numbers.push_back(std::stold((*it)[1]));
    return numbers;
}

// LC_ALL set for the life of the object.
struct ScopedLocale {
    explicit ScopedLocale(const char* name) { setenv("LC_ALL", name, 1); }
    ~ScopedLocale() { unsetenv("LC_ALL"); }
};

inline const std::string ExampleProject = KESTAL_SOURCE_DIR "/examples/workplace.kestal";
