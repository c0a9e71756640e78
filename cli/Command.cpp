// The frame every kestal-sim command runs in.
#include "cli/Command.h"

#include <ostream>
#include <sstream>
#include <stdexcept>

#include "cli/Options.h"

int RunCommandBody(const char* name, std::ostream& out, std::ostream& err,
                   const std::function<void(std::ostream& text)>& body) {
    try {
        std::ostringstream text;
        body(text);
        out << text.str();
        return 0;
    } catch (const std::exception& error) {
        err << "kestal-sim " << name << ": " << error.what() << '\n';
        return UsageExitCode;
    }
}
