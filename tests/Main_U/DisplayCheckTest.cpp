// Without a usable display the window program says why in one line and ends with status 1: the check
// asks the displays the toolkit would use, and a platform that fails anyway ends the same way.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "Widgets/DisplayCheck.h"

namespace {

const char* const Variables[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};

// The display variables set as given (absent where not given) while it lives.
class Environment {
public:
    explicit Environment(const std::map<std::string, std::string>& values)
    {
        for (const char* name : Variables) {
            if (const char* old = std::getenv(name)) saved_[name] = old;
            const auto value = values.find(name);
            if (value == values.end())
                ::unsetenv(name);
            else
                ::setenv(name, value->second.c_str(), 1);
        }
    }
    ~Environment()
    {
        for (const char* name : Variables) {
            const auto old = saved_.find(name);
            if (old == saved_.end())
                ::unsetenv(name);
            else
                ::setenv(name, old->second.c_str(), 1);
        }
    }

private:
    std::map<std::string, std::string> saved_;
};

// A Wayland display that answers: a socket listening in `folder`.
int ListeningSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::listen(fd, 1);
    return fd;
}

TEST(DisplayCheck, NamesWhatIsMissing)
{
    const QTemporaryDir runtime;
    const std::string folder = runtime.path().toStdString();
    const int live = ListeningSocket(folder + "/wayland-live");
    const struct {
        std::map<std::string, std::string> environment;
        std::string problem;
    } cases[] = {
        {{{"QT_QPA_PLATFORM", "offscreen"}}, ""},
        {{}, "нет дисплея: переменная DISPLAY не задана"},
        {{{"WAYLAND_DISPLAY", "wayland-stale"}, {"XDG_RUNTIME_DIR", folder}},
         "нет дисплея: Wayland-дисплей «wayland-stale» не отвечает, переменная DISPLAY не задана"},
        {{{"WAYLAND_DISPLAY", "wayland-stale"}},
         "нет дисплея: Wayland-дисплей «wayland-stale» не отвечает, переменная DISPLAY не задана"},
        {{{"WAYLAND_DISPLAY", "wayland-live"}, {"XDG_RUNTIME_DIR", folder}}, ""},
        {{{"WAYLAND_DISPLAY", folder + "/wayland-live"}}, ""},
        {{{"QT_QPA_PLATFORM", "wayland"}}, "нет дисплея: переменная WAYLAND_DISPLAY не задана"},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-live"}, {"XDG_RUNTIME_DIR", folder}},
         "нет дисплея: переменная DISPLAY не задана"},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":77"}}, "нет дисплея: X-дисплей «:77» не открывается"},
    };
    for (const auto& c : cases) {
        const Environment environment(c.environment);
        EXPECT_EQ(DisplayProblem(), c.problem) << c.problem;
    }
    ::close(live);
}

TEST(DisplayCheck, TheProgramEndsWithOneLineAndStatusOne)
{
    const struct {
        std::map<std::string, std::string> environment;
        std::string line;
    } cases[] = {
        {{{"WAYLAND_DISPLAY", "wayland-stale"}, {"XDG_RUNTIME_DIR", "/nonexistent"}},
         "kestal: нет дисплея: Wayland-дисплей «wayland-stale» не отвечает, переменная DISPLAY не задана\n"},
        // A platform the check takes as given, which the toolkit cannot start.
        {{{"QT_QPA_PLATFORM", "no-such-platform"}}, "kestal: дисплей недоступен: ни одна платформа окон не запускается\n"},
    };
    for (const auto& c : cases) {
        const Environment environment(c.environment);
        FILE* program = ::popen(KESTAL_WINDOW_PROGRAM " 2>&1", "r");
        ASSERT_NE(program, nullptr);
        std::string output;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, program)) > 0;) output.append(buffer, n);
        const int status = ::pclose(program);
        EXPECT_EQ(output, c.line);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    }
}

}  // namespace
