// kestal-register-crash: saves versions to an SQLite register until it is killed, and checks what a
// kill left behind; scripts/register-crash-loop kills it at random moments.
//   kestal-register-crash init DB WORKPLACES   a new register of WORKPLACES workplaces
//   kestal-register-crash write DB SEED        saves versions and five-workplace copies until killed
//   kestal-register-crash check DB             exit 0 and one line when the register is whole
#include <QSqlQuery>
#include <QVariant>

#include <iostream>
#include <map>
#include <random>
#include <string>

#include "common/KestalError.h"
#include "project/ProjectFile.h"
#include "register/Connection.h"
#include "register/Register.h"

using namespace kestal;

namespace {

const Saver Writer{"crash", "Проверка падений", "Kestal 2.0"};
constexpr std::size_t CopyWidth = 5;
const std::string CopyPrefix = "копия ";

std::string Example(int which)
{
    const std::string name = which % 2 ? "/examples/workplace-revised.kestal" : "/examples/workplace.kestal";
    FILE* file = std::fopen((std::string(KESTAL_SOURCE_DIR) + name).c_str(), "rb");
    if (!file) throw KestalError("нет файла " + name);
    std::string bytes;
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, count);
    std::fclose(file);
    return bytes;
}

WorkplaceColumns Columns(std::int64_t workplace)
{
    return {"Цех " + std::to_string(workplace % 3),
            std::to_string(workplace),
            "Рабочее место",
            "2025-03-01",
            0.0023,
            3,
            "средний",
            0};
}

int Init(const std::string& path, int workplaces)
{
    std::vector<VersionToSave> versions;
    for (int i = 1; i <= workplaces; ++i) versions.push_back({0, 0, Example(i), Columns(i), "создано"});
    CreateRegister(path).Save(Writer, versions);
    return 0;
}

[[noreturn]] void Write(const std::string& path, unsigned seed)
{
    Register reg = OpenRegister(path);
    const std::vector<std::string> projects = {Example(0), Example(1)};
    std::mt19937 random(seed);
    for (unsigned long round = 0;; ++round) {
        const std::vector<VersionInfo> workplaces = reg.Workplaces();
        std::vector<VersionToSave> versions;
        const bool copy = round % 5 == 4;
        std::uniform_int_distribution<std::size_t> pick(0, workplaces.size() - 1);
        for (std::size_t i = 0; i < (copy ? CopyWidth : 1); ++i) {
            const VersionInfo& latest = workplaces[pick(random)];
            bool taken = false;
            for (const VersionToSave& version : versions) taken = taken || version.workplace == latest.workplace;
            if (taken) continue;
            versions.push_back(
                {latest.workplace, latest.version, projects[random() % 2], Columns(latest.workplace),
                 copy ? CopyPrefix + std::to_string(seed) + "-" + std::to_string(round) : "оценки изменены"});
        }
        // A copy that lost a workplace to a repeated pick is no copy of five: it is saved as single versions.
        if (copy && versions.size() != CopyWidth)
            for (VersionToSave& version : versions) version.change = "оценки изменены";
        reg.Save(Writer, versions);
    }
}

// Whole: the file's own check, the audit trail, every workplace's latest version a readable assessment,
// and every copy on all of its five workplaces or on none.
int Check(const std::string& path)
{
    {
        Connection raw(ReadRegisterLocation(path), false);  // rolls back what a kill left in the journal
        QSqlQuery result = raw.Run("PRAGMA integrity_check");
        const std::string verdict = result.next() ? result.value(0).toString().toStdString() : "";
        if (verdict != "ok") {
            std::cout << "PRAGMA integrity_check: " << verdict << "\n";
            return 1;
        }
    }
    const Register reg = OpenRegister(path);
    const AuditCheck audit = reg.VerifyAudit();
    if (!audit.Whole()) {
        std::cout << "audit: " << audit.problem << "\n";
        return 1;
    }
    std::map<std::string, std::size_t> copies;
    std::size_t versions = 0;
    for (const VersionInfo& latest : reg.Workplaces()) {
        ReadProject(reg.Project(latest.workplace, latest.version), "workplace " + std::to_string(latest.workplace));
        for (const VersionInfo& version : reg.History(latest.workplace)) {
            ++versions;
            if (version.change.rfind(CopyPrefix, 0) == 0) ++copies[version.change];
        }
    }
    for (const auto& [copy, count] : copies)
        if (count != CopyWidth) {
            std::cout << copy << " on " << count << " workplaces\n";
            return 1;
        }
    std::cout << "ok: " << versions << " versions, " << audit.entries << " audit entries, " << copies.size()
              << " copies whole\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "init") return Init(args[1], std::stoi(args[2]));
        if (args.size() == 3 && args[0] == "write") Write(args[1], static_cast<unsigned>(std::stoul(args[2])));
        if (args.size() == 2 && args[0] == "check") return Check(args[1]);
    } catch (const std::exception& error) {
        std::cout << error.what() << "\n";
        return 1;
    }
    std::cerr << "usage: kestal-register-crash init DB WORKPLACES | write DB SEED | check DB\n";
    return 2;
}
