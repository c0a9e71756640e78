// Who this process saves as: its operating-system user and this program.
#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "register/Register.h"

namespace kestal {

namespace {

std::string OperatingSystemUser()
{
    const uid_t uid = geteuid();
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name[0] != '\0')
        return found->pw_name;
    return "uid " + std::to_string(uid);
}

}  // namespace

Saver ThisProgramSaver(const std::string& engineer)
{
    return {OperatingSystemUser(), engineer, "Kestal " KESTAL_PROGRAM_VERSION};
}

}  // namespace kestal
