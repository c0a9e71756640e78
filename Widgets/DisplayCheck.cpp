// The display check: an X display is opened and closed once through libxcb, the library the
// toolkit's own X connection uses; a Wayland display or another chosen platform is taken as given.
#include "Widgets/DisplayCheck.h"

#include <dlfcn.h>

#include <cstdlib>

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

}  // namespace

std::string DisplayProblem()
{
    const std::string platform = Environment("QT_QPA_PLATFORM");
    if (!platform.empty() && platform.rfind("xcb", 0) != 0) return "";
    const std::string display = Environment("DISPLAY");
    if (display.empty()) {
        if (platform.empty() && !Environment("WAYLAND_DISPLAY").empty()) return "";
        return "нет дисплея: переменная DISPLAY не задана";
    }
    if (!XDisplayOpens()) return "дисплей " + display + " не открывается";
    return "";
}
