// The enterprise register: departments → workplaces → assessment versions, each version an assessment's
// project file byte for byte with columns for querying, in an SQLite file or a PostgreSQL database.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestal {

struct Clock;

// What the caller knows about an assessment, kept beside its project file for querying.
struct WorkplaceColumns {
    std::string department;
    std::string number;              // the workplace's number within the organisation
    std::string name;                // the workplace's name
    std::string date;                // the assessment date, YYYY-MM-DD, or empty
    std::optional<double> accident;  // the exact accident probability, 0 to 1
    std::optional<int> severity;     // the severity class, 1 to 5
    std::string level;               // the risk level's name
    int overdue = 0;                 // measures past their due date
    bool operator==(const WorkplaceColumns&) const = default;
};

// Who saves: the operating-system user, the engineer's own name, the program and its version.
struct Saver {
    std::string osUser;
    std::string engineer;
    std::string program;
    bool operator==(const Saver&) const = default;
};

// The saver of this process: its operating-system user, `engineer`, and this program's name and version.
Saver ThisProgramSaver(const std::string& engineer);

// One version to save.
struct VersionToSave {
    std::int64_t workplace = 0;  // 0: a new workplace
    int basedOn = 0;             // the workplace's version the content started from; 0 for a new workplace
    std::string project;         // the project file's bytes, kept byte for byte
    WorkplaceColumns columns;
    std::string change;  // one line: what changed against the version it is based on
};

// A stored version without its project: its columns and stamp.
struct VersionInfo {
    std::int64_t workplace = 0;
    int version = 0;
    WorkplaceColumns columns;
    std::string savedAt;  // UTC, YYYY-MM-DDTHH:MM:SS.mmmZ
    Saver savedBy;
    std::string change;
    bool operator==(const VersionInfo&) const = default;
};

// A save refused because the workplace changed after the version it was based on: `latest` says who
// saved what and when. Saving again based on `latest.version` saves the content as a new version.
struct ChangedMeanwhile {
    int basedOn = 0;
    VersionInfo latest;
};

// "Рабочее место «<number> <name>» изменено после версии <basedOn>: версию <v> сохранил(а) <engineer>
// (<osUser>) <date> <time> UTC. Сохраните как новую версию, сравнив с ней."
std::string ChangedMeanwhileText(const ChangedMeanwhile& conflict);

// What a save did: every version saved, or nothing and the first workplace that changed meanwhile.
struct SaveResult {
    std::vector<VersionInfo> saved;
    std::optional<ChangedMeanwhile> changedMeanwhile;
};

// The audit trail checked: whole, or the first broken entry (its number; 0 for a version the trail
// lacks) and a one-line Russian description.
struct AuditCheck {
    std::int64_t entries = 0;
    std::int64_t firstBroken = 0;
    std::string problem;
    bool Whole() const { return problem.empty(); }
};

struct RegisterOptions {
    const Clock* clock = nullptr;  // the stamps' time; the system clock when null
    // The type (statfs f_type) of the file system holding a path; the system's when empty.
    std::function<std::int64_t(const std::string& path)> fileSystemType;
};

// An open register: one connection, used from the thread that opened it.
class Register {
public:
    Register(Register&&) noexcept;
    Register& operator=(Register&&) noexcept;
    ~Register();

    // The register's location for messages: the path, or the connection string without its password.
    const std::string& Location() const;
    // Empty, or why the register opened read-only (one line).
    const std::string& ReadOnlyReason() const;

    // Every workplace's latest version, in the order of the workplaces' ids.
    std::vector<VersionInfo> Workplaces() const;
    // The versions of a workplace, oldest first; empty when there is no such workplace.
    std::vector<VersionInfo> History(std::int64_t workplace) const;
    // The project file of a version, byte for byte. Raises KestalError when there is no such version.
    std::string Project(std::int64_t workplace, int version) const;

    // Saves every version in one transaction, each with one audit entry: all of them, or none when a
    // workplace changed after the version its save was based on (the result says which and who saved
    // it when) or anything fails (KestalError, nothing changed). Columns and texts are checked first.
    SaveResult Save(const Saver& saver, const std::vector<VersionToSave>& versions);

    // Recomputes the audit trail's hash chain and each version's digest against its entry.
    AuditCheck VerifyAudit() const;

    struct Impl;

private:
    explicit Register(std::unique_ptr<Impl> impl);
    friend Register CreateRegister(const std::string&, const RegisterOptions&);
    friend Register OpenRegister(const std::string&, const RegisterOptions&);
    std::unique_ptr<Impl> impl;
};

// A new register at `location`: a path of an SQLite file that does not exist yet (".kestaldb"), or a
// connection string "postgresql://[user[:password]@][host][:port][/database][?param=value&...]" of a
// database without a register. Raises KestalError "Реестр «<location>» не создан: <reason>".
Register CreateRegister(const std::string& location, const RegisterOptions& options = {});

// The register at `location`, its schema brought up to date. An SQLite file on a network file system
// opens read-only (ReadOnlyReason says why). Raises KestalError "Реестр «<location>» не открыт: <reason>".
Register OpenRegister(const std::string& location, const RegisterOptions& options = {});

}  // namespace kestal
