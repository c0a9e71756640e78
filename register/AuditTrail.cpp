// The audit trail's hash chain: entries appended under the register's head, and their check.
#include "register/AuditTrail.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>

#include <charconv>
#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "common/KestalError.h"
#include "register/Connection.h"
#include "register/VersionRows.h"

namespace kestal {

namespace {

// The canonical text: a line per field, "name=<length>:<value>", or "name=-" for a missing value.
class CanonicalText {
public:
    CanonicalText& Add(const char* name, const std::string& value)
    {
        text += std::string(name) + "=" + std::to_string(value.size()) + ":" + value + "\n";
        return *this;
    }
    CanonicalText& Add(const char* name, std::int64_t value) { return Add(name, std::to_string(value)); }
    CanonicalText& Add(const char* name, const std::optional<double>& value)
    {
        if (!value) return Missing(name);
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, *value).ptr;  // the shortest exact form
        return Add(name, std::string(digits, end));
    }
    CanonicalText& Add(const char* name, const std::optional<int>& value)
    {
        return value ? Add(name, std::int64_t{*value}) : Missing(name);
    }
    std::string Sha256() const { return Sha256Hex(QByteArray::fromStdString(text)); }

private:
    CanonicalText& Missing(const char* name)
    {
        text += std::string(name) + "=-\n";
        return *this;
    }
    std::string text;
};

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string EntryName(std::int64_t entry) { return "запись " + std::to_string(entry) + " журнала"; }

std::string VersionName(std::int64_t workplace, int version)
{
    return "версия " + std::to_string(version) + " рабочего места " + std::to_string(workplace);
}

// The first problem found, by entry number; problems without an entry come after every entry.
class Findings {
public:
    void Add(std::int64_t entry, std::string problem)
    {
        const std::int64_t rank = entry > 0 ? entry : std::numeric_limits<std::int64_t>::max();
        if (problem_.empty() || rank < rank_) {
            rank_ = rank;
            entry_ = entry;
            problem_ = std::move(problem);
        }
    }
    bool Any() const { return !problem_.empty(); }
    AuditCheck Result(std::int64_t entries) const { return {entries, entry_, problem_}; }

private:
    std::int64_t rank_ = 0, entry_ = 0;
    std::string problem_;
};

using VersionKey = std::pair<std::int64_t, int>;
struct EntryOfVersion {
    std::int64_t entry = 0;
    std::string versionSha256;
    bool seen = false;
};

// The chain from the first entry to the head; returns each version's entry for the second check.
std::map<VersionKey, EntryOfVersion> CheckChain(Connection& connection, Findings& findings, std::int64_t& count)
{
    QSqlQuery head = connection.Run("SELECT audit_entries, audit_sha256 FROM register_head");
    if (!head.next()) throw KestalError("в таблице register_head нет строки");
    const std::int64_t headEntries = head.value(0).toLongLong();
    const std::string headSha256 = head.value(1).toString().toStdString();

    std::map<VersionKey, EntryOfVersion> entries;
    QSqlQuery rows = connection.Run(
        "SELECT entry, saved_at, os_user, engineer, program, workplace_id, version, change, version_sha256, "
        "previous_sha256, sha256 FROM audit_trail ORDER BY entry");
    std::int64_t expected = 1;
    std::string previous = AuditGenesisHash;
    while (rows.next()) {
        const auto text = [&](int column) { return rows.value(column).toString().toStdString(); };
        const AuditEntry entry{rows.value(0).toLongLong(),
                               text(1),
                               {text(2), text(3), text(4)},
                               rows.value(5).toLongLong(),
                               rows.value(6).toInt(),
                               text(7),
                               text(8),
                               text(9),
                               text(10)};
        ++count;
        if (!findings.Any()) {
            if (entry.entry > headEntries)
                findings.Add(entry.entry, EntryName(entry.entry) + " добавлена в обход программы");
            else if (entry.entry != expected)
                findings.Add(expected, EntryName(expected) + " удалена");
            else if (AuditEntryHash(entry) != entry.sha256)
                findings.Add(entry.entry, EntryName(entry.entry) + " изменена или вставлена в обход программы");
            else if (entry.previousSha256 != previous)
                findings.Add(entry.entry,
                             EntryName(entry.entry) +
                                 " не продолжает предыдущую: запись перед ней удалена, изменена или вставлена");
        }
        previous = entry.sha256;
        expected = entry.entry + 1;
        const auto [place, fresh] =
            entries.try_emplace({entry.workplace, entry.version}, EntryOfVersion{entry.entry, entry.versionSha256});
        if (!fresh)
            findings.Add(entry.entry, EntryName(entry.entry) + " повторяет запись " +
                                          std::to_string(place->second.entry) + " журнала");
    }
    if (!findings.Any() && expected <= headEntries) findings.Add(expected, EntryName(expected) + " удалена");
    if (!findings.Any() && previous != headSha256)
        findings.Add(headEntries, EntryName(headEntries) + " не совпадает с заголовком журнала");
    return entries;
}

// Each version against its entry, and each workplace's latest version against its versions.
void CheckVersions(Connection& connection, std::map<VersionKey, EntryOfVersion>& entries, Findings& findings)
{
    std::map<std::int64_t, int> latestStored;
    QSqlQuery rows = connection.Run(
        QStringLiteral("SELECT %1, p.project FROM %2 LEFT JOIN projects p ON p.workplace_id = v.workplace_id AND "
                       "p.version = v.version ORDER BY v.workplace_id, v.version")
            .arg(VersionColumns, VersionsTable));
    while (rows.next()) {
        const VersionInfo version = ReadVersionInfo(rows);
        latestStored[version.workplace] = version.version;
        const auto entry = entries.find({version.workplace, version.version});
        if (entry == entries.end()) {
            findings.Add(0, VersionName(version.workplace, version.version) + " не записана в журнале");
            continue;
        }
        entry->second.seen = true;
        const QVariant project = rows.value(VersionColumnCount);
        const std::string projectSha256 = project.isNull() ? std::string() : Sha256Hex(project.toByteArray());
        if (VersionDigest(version, projectSha256) != entry->second.versionSha256)
            findings.Add(entry->second.entry, VersionName(version.workplace, version.version) +
                                                  " изменена в обход программы (" + EntryName(entry->second.entry) +
                                                  ")");
    }
    for (const auto& [key, entry] : entries)
        if (!entry.seen)
            findings.Add(entry.entry,
                         EntryName(entry.entry) + ": " + VersionName(key.first, key.second) + " в реестре отсутствует");
    QSqlQuery workplaces = connection.Run("SELECT id, latest_version FROM workplaces ORDER BY id");
    while (workplaces.next()) {
        const std::int64_t workplace = workplaces.value(0).toLongLong();
        const int latest = workplaces.value(1).toInt();
        const auto stored = latestStored.find(workplace);
        if (stored == latestStored.end() || stored->second != latest)
            findings.Add(0, "у рабочего места " + std::to_string(workplace) + " последней названа версия " +
                                std::to_string(latest) + ", а в реестре их " +
                                std::to_string(stored == latestStored.end() ? 0 : stored->second));
    }
}

}  // namespace

std::string Sha256Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string VersionDigest(const VersionInfo& version, const std::string& projectSha256)
{
    return CanonicalText()
        .Add("workplace", version.workplace)
        .Add("version", std::int64_t{version.version})
        .Add("department", version.columns.department)
        .Add("number", version.columns.number)
        .Add("name", version.columns.name)
        .Add("date", version.columns.date)
        .Add("accident", version.columns.accident)
        .Add("severity", version.columns.severity)
        .Add("level", version.columns.level)
        .Add("overdue", std::int64_t{version.columns.overdue})
        .Add("saved_at", version.savedAt)
        .Add("os_user", version.savedBy.osUser)
        .Add("engineer", version.savedBy.engineer)
        .Add("program", version.savedBy.program)
        .Add("change", version.change)
        .Add("project_sha256", projectSha256)
        .Sha256();
}

std::string AuditEntryHash(const AuditEntry& entry)
{
    return CanonicalText()
        .Add("entry", entry.entry)
        .Add("saved_at", entry.savedAt)
        .Add("os_user", entry.savedBy.osUser)
        .Add("engineer", entry.savedBy.engineer)
        .Add("program", entry.savedBy.program)
        .Add("workplace", entry.workplace)
        .Add("version", std::int64_t{entry.version})
        .Add("change", entry.change)
        .Add("version_sha256", entry.versionSha256)
        .Add("previous_sha256", entry.previousSha256)
        .Sha256();
}

AuditHead LockAuditHead(Connection& connection)
{
    connection.Run("UPDATE register_head SET audit_entries = audit_entries");
    QSqlQuery query = connection.Run("SELECT audit_entries, audit_sha256 FROM register_head");
    if (!query.next()) throw KestalError("в таблице register_head нет строки");
    return {query.value(0).toLongLong(), query.value(1).toString().toStdString()};
}

void AppendAuditEntry(Connection& connection, AuditHead& head, const VersionInfo& version,
                      const std::string& versionSha256)
{
    AuditEntry entry{head.entries + 1,  version.savedAt, version.savedBy,
                     version.workplace, version.version, version.change,
                     versionSha256,     head.sha256,     {}};
    entry.sha256 = AuditEntryHash(entry);
    connection.Run(
        "INSERT INTO audit_trail (entry, saved_at, os_user, engineer, program, workplace_id, version, change, "
        "version_sha256, previous_sha256, sha256) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {qlonglong{entry.entry}, Text(entry.savedAt), Text(entry.savedBy.osUser), Text(entry.savedBy.engineer),
         Text(entry.savedBy.program), qlonglong{entry.workplace}, entry.version, Text(entry.change),
         Text(entry.versionSha256), Text(entry.previousSha256), Text(entry.sha256)});
    head = {entry.entry, entry.sha256};
}

void StoreAuditHead(Connection& connection, const AuditHead& head)
{
    connection.Run("UPDATE register_head SET audit_entries = ?, audit_sha256 = ?",
                   {qlonglong{head.entries}, Text(head.sha256)});
}

AuditCheck CheckAuditTrail(Connection& connection)
{
    Findings findings;
    std::int64_t count = 0;
    std::map<VersionKey, EntryOfVersion> entries = CheckChain(connection, findings, count);
    CheckVersions(connection, entries, findings);
    return findings.Result(count);
}

}  // namespace kestal
