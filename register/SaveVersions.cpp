// Saving versions: their inputs checked, then all in one transaction with their audit entries, or none
// when a workplace changed after the version a save was based on.
#include <QSqlQuery>
#include <QVariant>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#include "common/Clock.h"
#include "common/KestalError.h"
#include "common/Text.h"
#include "project/ProjectFile.h"
#include "register/AuditTrail.h"
#include "register/RegisterImpl.h"
#include "register/VersionRows.h"

namespace kestal {

namespace {

constexpr std::size_t MaxTextCharacters = 500;

[[noreturn]] void RefuseField(const char* field, const std::string& problem)
{
    throw KestalError(std::string("поле «") + field + "» " + problem);
}

// One line of UTF-8 text of at most 500 characters.
void CheckLine(const char* field, const std::string& text)
{
    if (InvalidUtf8Offset(text) != std::string::npos) RefuseField(field, "не в кодировке UTF-8");
    for (const unsigned char c : text)
        if (c < 0x20 || c == 0x7F) RefuseField(field, "содержит управляющий символ или перевод строки");
    if (CharacterCount(text) > MaxTextCharacters) RefuseField(field, "длиннее 500 символов");
}

bool IsIsoDate(const std::string& text)
{
    int year = 0;
    unsigned month = 0, day = 0;
    char tail = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &year, &month, &day, &tail) != 3)
        return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    return std::chrono::year_month_day(std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)).ok();
}

void CheckVersion(const VersionToSave& version)
{
    if (version.workplace < 0 || (version.workplace == 0) != (version.basedOn == 0) || version.basedOn < 0)
        throw KestalError("новое рабочее место сохраняется без исходной версии, прежнее — с ней");
    if (version.project.empty()) RefuseField("проект", "пусто");
    if (version.project.size() > MaxProjectBytes) RefuseField("проект", "больше 10 МБ");
    const WorkplaceColumns& columns = version.columns;
    CheckLine("подразделение", columns.department);
    CheckLine("номер рабочего места", columns.number);
    CheckLine("наименование рабочего места", columns.name);
    if (!columns.date.empty() && !IsIsoDate(columns.date)) RefuseField("дата оценки", "не дата ГГГГ-ММ-ДД");
    if (columns.accident && !(std::isfinite(*columns.accident) && *columns.accident >= 0 && *columns.accident <= 1))
        RefuseField("вероятность происшествия", "не число от 0 до 1");
    if (columns.severity && (*columns.severity < 1 || *columns.severity > 5))
        RefuseField("класс тяжести", "не число от 1 до 5");
    CheckLine("уровень риска", columns.level);
    if (columns.overdue < 0) RefuseField("просроченные меры", "меньше нуля");
    CheckLine("описание изменений", version.change);
}

void CheckSaver(const Saver& saver)
{
    CheckLine("пользователь", saver.osUser);
    CheckLine("инженер", saver.engineer);
    CheckLine("программа", saver.program);
    if (saver.osUser.empty()) RefuseField("пользователь", "пусто");
    if (saver.program.empty()) RefuseField("программа", "пусто");
}

// "YYYY-MM-DDTHH:MM:SS.mmmZ" of a count of milliseconds since 1970 (UTC).
std::string StampText(std::int64_t milliseconds)
{
    using namespace std::chrono;
    const sys_time<std::chrono::milliseconds> time{std::chrono::milliseconds(milliseconds)};
    const auto day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss<std::chrono::milliseconds> clock(time - day);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::int64_t NextId(Connection& connection, const QString& table)
{
    QSqlQuery query = connection.Run("SELECT COALESCE(MAX(id), 0) + 1 FROM " + table);
    query.next();
    return query.value(0).toLongLong();
}

// The department's id, the department added when it is new.
std::int64_t DepartmentId(Connection& connection, std::map<std::string, std::int64_t>& known, const std::string& name)
{
    if (const auto found = known.find(name); found != known.end()) return found->second;
    QSqlQuery query = connection.Run("SELECT id FROM departments WHERE name = ?", {Text(name)});
    std::int64_t id = 0;
    if (query.next()) {
        id = query.value(0).toLongLong();
    } else {
        id = NextId(connection, "departments");
        connection.Run("INSERT INTO departments (id, name) VALUES (?, ?)", {qlonglong{id}, Text(name)});
    }
    return known[name] = id;
}

std::optional<VersionInfo> LatestVersion(Connection& connection, std::int64_t workplace)
{
    QSqlQuery row = connection.Run(QStringLiteral("SELECT %1 FROM %2 JOIN workplaces w ON w.id = v.workplace_id AND "
                                                  "w.latest_version = v.version WHERE w.id = ?")
                                       .arg(VersionColumns, VersionsTable),
                                   {qlonglong{workplace}});
    if (!row.next()) return std::nullopt;
    return ReadVersionInfo(row);
}

void InsertVersion(Connection& connection, const VersionInfo& info, std::int64_t department, const std::string& project)
{
    const WorkplaceColumns& c = info.columns;
    connection.Run(
        "INSERT INTO versions (workplace_id, version, department_id, number, name, assessment_date, accident, "
        "severity, level, overdue, saved_at, os_user, engineer, program, change) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {qlonglong{info.workplace}, info.version, qlonglong{department}, Text(c.number), Text(c.name), Text(c.date),
         ValueOrNull(c.accident), ValueOrNull(c.severity), Text(c.level), c.overdue, Text(info.savedAt),
         Text(info.savedBy.osUser), Text(info.savedBy.engineer), Text(info.savedBy.program), Text(info.change)});
    connection.Run("INSERT INTO projects (workplace_id, version, project) VALUES (?, ?, ?)",
                   {qlonglong{info.workplace}, info.version, QByteArray::fromStdString(project)});
}

}  // namespace

SaveResult Register::Save(const Saver& saver, const std::vector<VersionToSave>& versions)
{
    try {
        if (!impl->readOnlyReason.empty()) throw KestalError(impl->readOnlyReason);
        CheckSaver(saver);
        for (std::size_t i = 0; i < versions.size(); ++i) {
            try {
                CheckVersion(versions[i]);
            } catch (const KestalError& error) {
                if (versions.size() == 1) throw;
                throw KestalError("сохранение " + std::to_string(i + 1) + " из " + std::to_string(versions.size()) +
                                  ": " + error.what());
            }
        }
        if (versions.empty()) return {};
        const std::string savedAt = StampText(impl->clock.UtcMillisecondsSinceEpoch());
        Connection& connection = impl->connection;
        Transaction transaction(connection);
        AuditHead head = LockAuditHead(connection);
        std::map<std::string, std::int64_t> departments;
        SaveResult result;
        for (const VersionToSave& version : versions) {
            VersionInfo info{version.workplace, version.basedOn + 1, version.columns, savedAt, saver, version.change};
            if (version.workplace == 0) {
                info.workplace = NextId(connection, "workplaces");
                connection.Run("INSERT INTO workplaces (id, latest_version) VALUES (?, 1)",
                               {qlonglong{info.workplace}});
            } else if (connection
                           .Run("UPDATE workplaces SET latest_version = ? WHERE id = ? AND latest_version = ?",
                                {info.version, qlonglong{version.workplace}, version.basedOn})
                           .numRowsAffected() != 1) {
                const std::optional<VersionInfo> latest = LatestVersion(connection, version.workplace);
                if (!latest || latest->version < version.basedOn)
                    throw KestalError("версии " + std::to_string(version.basedOn) + " рабочего места " +
                                      std::to_string(version.workplace) + " в реестре нет");
                return {{}, ChangedMeanwhile{version.basedOn, *latest}};
            }
            InsertVersion(connection, info, DepartmentId(connection, departments, info.columns.department),
                          version.project);
            AppendAuditEntry(connection, head, info,
                             VersionDigest(info, Sha256Hex(QByteArray::fromStdString(version.project))));
            result.saved.push_back(std::move(info));
        }
        StoreAuditHead(connection, head);
        transaction.Commit();
        return result;
    } catch (const KestalError& error) {
        throw KestalError("Реестр «" + impl->location + "»: версии не сохранены: " + error.what());
    }
}

std::string ChangedMeanwhileText(const ChangedMeanwhile& conflict)
{
    const VersionInfo& latest = conflict.latest;
    std::string workplace = latest.columns.number;
    if (!workplace.empty() && !latest.columns.name.empty()) workplace += " ";
    workplace += latest.columns.name;
    if (workplace.empty()) workplace = std::to_string(latest.workplace);
    const std::string& engineer = latest.savedBy.engineer;
    const std::string who = engineer.empty() ? latest.savedBy.osUser : engineer + " (" + latest.savedBy.osUser + ")";
    // "2025-03-01T12:00:03.123Z" is said as "2025-03-01 12:00:03 UTC".
    const std::string& at = latest.savedAt;
    const std::string when = at.size() >= 19 ? at.substr(0, 10) + " " + at.substr(11, 8) + " UTC" : at;
    return "Рабочее место «" + workplace + "» изменено после версии " + std::to_string(conflict.basedOn) + ": версию " +
           std::to_string(latest.version) + " сохранил(а) " + who + " " + when +
           ". Сохраните как новую версию, сравнив с ней.";
}

}  // namespace kestal
