// Calling a kestal-sim command in the test's own process, and the settings the tests call it with.
#pragma once

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome Call(const Command& command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

inline std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// LC_ALL set for the life of the object.
struct ScopedLocale {
    explicit ScopedLocale(const char* name) { setenv("LC_ALL", name, 1); }
    ~ScopedLocale() { unsetenv("LC_ALL"); }
};

inline const std::string ExampleProject = KESTAL_SOURCE_DIR "/examples/workplace.kestal";
