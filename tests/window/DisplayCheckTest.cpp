// Without a usable display the window program says why in one line and ends with status 1.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "widgets/DisplayCheck.h"

using namespace kestal;

namespace {

// Sets the display variables to `values` ("NAME=VALUE" each; absent ones unset) and runs `check`.
template <class Check>
void With(std::initializer_list<std::string> values, Check check)
{
    std::map<const char*, QByteArray> saved;
    const auto names = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
    for (const char* name : names) {
        if (qEnvironmentVariableIsSet(name)) saved[name] = qgetenv(name);
        ::unsetenv(name);
    }
    for (const std::string& value : values) ::putenv(strdup(value.c_str()));
    check();
    for (const char* name : names) ::unsetenv(name);
    for (const auto& [name, value] : saved) qputenv(name, value);
}

TEST(DisplayCheck, NamesWhatIsMissing)
{
    const QTemporaryDir runtime;
    const std::string folder = runtime.path().toStdString();
    // A Wayland display that answers: a socket listening there.
    sockaddr_un address{AF_UNIX, {}};
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/wayland-live", folder.c_str());
    const int live = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(live, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::listen(live, 1);
    const std::string stale = "нет дисплея: Wayland-дисплей «wayland-stale» не отвечает, переменная DISPLAY не задана";
    const struct {
        std::initializer_list<std::string> environment;
        std::string problem;
    } cases[] = {
        {{"QT_QPA_PLATFORM=offscreen"}, ""},
        {{}, "нет дисплея: переменная DISPLAY не задана"},
        {{"WAYLAND_DISPLAY=wayland-stale", "XDG_RUNTIME_DIR=" + folder}, stale},
        {{"WAYLAND_DISPLAY=wayland-stale"}, stale},
        {{"WAYLAND_DISPLAY=wayland-live", "XDG_RUNTIME_DIR=" + folder}, ""},
        {{"WAYLAND_DISPLAY=" + folder + "/wayland-live"}, ""},
        {{"QT_QPA_PLATFORM=wayland"}, "нет дисплея: переменная WAYLAND_DISPLAY не задана"},
        {{"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=" + folder + "/wayland-live"},
         "нет дисплея: переменная DISPLAY не задана"},
        {{"QT_QPA_PLATFORM=xcb", "DISPLAY=:77"}, "нет дисплея: X-дисплей «:77» не открывается"},
    };
    for (const auto& c : cases) With(c.environment, [&] { EXPECT_EQ(DisplayProblem(), c.problem); });
    ::close(live);
}

TEST(DisplayCheck, TheProgramEndsWithOneLineAndStatusOne)
{
    const struct {
        std::initializer_list<std::string> environment;
        std::string line;
    } cases[] = {
        {{"WAYLAND_DISPLAY=wayland-stale"},
         "kestal: нет дисплея: Wayland-дисплей «wayland-stale» не отвечает, переменная DISPLAY не задана\n"},
        // A platform the check takes as given, which the toolkit cannot start.
        {{"QT_QPA_PLATFORM=no-such-platform"}, "kestal: дисплей недоступен: ни одна платформа окон не запускается\n"},
    };
    for (const auto& c : cases)
        With(c.environment, [&] {
            FILE* program = ::popen(KESTAL_WINDOW_PROGRAM " 2>&1", "r");
            std::string output(4096, '\0');
            output.resize(std::fread(output.data(), 1, output.size(), program));
            const int status = ::pclose(program);
            EXPECT_EQ(output, c.line);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        });
}

}  // namespace
