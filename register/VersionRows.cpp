// A version's row read into a VersionInfo.
#include "register/VersionRows.h"

#include <QVariant>

namespace kestal {

VersionInfo ReadVersionInfo(const QSqlQuery& query, int first)
{
    const auto text = [&](int column) { return query.value(first + column).toString().toStdString(); };
    VersionInfo info;
    info.workplace = query.value(first).toLongLong();
    info.version = query.value(first + 1).toInt();
    info.columns.department = text(2);
    info.columns.number = text(3);
    info.columns.name = text(4);
    info.columns.date = text(5);
    if (!query.value(first + 6).isNull()) info.columns.accident = query.value(first + 6).toDouble();
    if (!query.value(first + 7).isNull()) info.columns.severity = query.value(first + 7).toInt();
    info.columns.level = text(8);
    info.columns.overdue = query.value(first + 9).toInt();
    info.savedAt = text(10);
    info.savedBy = {text(11), text(12), text(13)};
    info.change = text(14);
    return info;
}

}  // namespace kestal
