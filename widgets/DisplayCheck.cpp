// The display check: an X display is opened and closed once through libxcb, the library the
// toolkit's own X connection uses, and a Wayland display's socket is connected to; the guard of the
// toolkit's start.
#include "widgets/DisplayCheck.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestal {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Opens the X display named by DISPLAY and closes it again.
bool XDisplayOpens()
{
    void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return true;  // the toolkit will say what is missing
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool opens = true;
    if (connect && hasError && disconnect) {
        void* connection = connect(nullptr, nullptr);
        opens = connection && hasError(connection) == 0;
        if (connection) disconnect(connection);
    }
    dlclose(xcb);
    return opens;
}

// Connects to the socket of the Wayland display `name`: a path, or a name in XDG_RUNTIME_DIR.
bool WaylandDisplayAnswers(const std::string& name)
{
    const std::string folder = Environment("XDG_RUNTIME_DIR");
    const std::string path = name.front() == '/' ? name : folder.empty() ? "" : folder + "/" + name;
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

// Why the X display cannot be used; empty when it can.
std::string XProblem()
{
    const std::string display = Environment("DISPLAY");
    if (display.empty()) return "переменная DISPLAY не задана";
    return XDisplayOpens() ? "" : "X-дисплей «" + display + "» не открывается";
}

// Why the Wayland display cannot be used; empty when it can.
std::string WaylandProblem()
{
    const std::string display = Environment("WAYLAND_DISPLAY");
    if (display.empty()) return "переменная WAYLAND_DISPLAY не задана";
    return WaylandDisplayAnswers(display) ? "" : "Wayland-дисплей «" + display + "» не отвечает";
}

void HoldBackOrEnd(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg) return;
    std::fputs("kestal: дисплей недоступен: ни одна платформа окон не запускается\n", stderr);
    std::fflush(stderr);
    ::_exit(1);
}

}  // namespace

std::string DisplayProblem()
{
    const std::string platform = Environment("QT_QPA_PLATFORM");
    const bool x = platform.rfind("xcb", 0) == 0;
    const bool wayland = platform.rfind("wayland", 0) == 0;
    if (!platform.empty() && !x && !wayland) return "";
    if (x) {
        const std::string problem = XProblem();
        return problem.empty() ? "" : "нет дисплея: " + problem;
    }
    const std::string waylandProblem = WaylandProblem();
    if (wayland) return waylandProblem.empty() ? "" : "нет дисплея: " + waylandProblem;
    // The toolkit tries Wayland where it is named, then X.
    if (waylandProblem.empty()) return "";
    const std::string xProblem = XProblem();
    if (xProblem.empty()) return "";
    if (Environment("WAYLAND_DISPLAY").empty()) return "нет дисплея: " + xProblem;
    return "нет дисплея: " + waylandProblem + ", " + xProblem;
}

DisplayStartGuard::DisplayStartGuard() : previous_(qInstallMessageHandler(HoldBackOrEnd)) {}

DisplayStartGuard::~DisplayStartGuard() { qInstallMessageHandler(previous_); }

}  // namespace kestal
