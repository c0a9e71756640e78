// A version's row as the register reads it: one list of columns, read into a VersionInfo.
#pragma once

#include <QSqlQuery>

#include "register/Register.h"

namespace kestal {

// The columns ReadVersionInfo reads, from "versions v" joined with "departments d" (VersionsTable).
inline constexpr const char* VersionColumns =
    "v.workplace_id, v.version, d.name, v.number, v.name, v.assessment_date, v.accident, v.severity, v.level, "
    "v.overdue, v.saved_at, v.os_user, v.engineer, v.program, v.change";
inline constexpr int VersionColumnCount = 15;
inline constexpr const char* VersionsTable = "versions v JOIN departments d ON d.id = v.department_id";

// The version of the query's current row, its VersionColumns from `first` on.
VersionInfo ReadVersionInfo(const QSqlQuery& query, int first = 0);

}  // namespace kestal
