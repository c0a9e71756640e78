// The register's schema, version by version, and its migration.
#include "register/Schema.h"

#include <QSqlQuery>

#include "common/KestalError.h"
#include "register/AuditTrail.h"
#include "register/Connection.h"

namespace kestal {

namespace {

// The types read the same in both engines: SQLite takes BIGINT as an integer, DOUBLE PRECISION as a
// real and keeps a blob bound to BYTEA as it is. Identifiers are numbered by the program (the next
// after the largest) inside the transaction that holds the register's head, so no engine's own
// sequence is needed. The projects have a table of their own, so that listing the versions never
// reads them.
SchemaStep Version1()
{
    return {
        "CREATE TABLE register_head (schema_version INTEGER NOT NULL, audit_entries BIGINT NOT NULL, "
        "audit_sha256 TEXT NOT NULL)",
        "INSERT INTO register_head (schema_version, audit_entries, audit_sha256) VALUES (0, 0, '" +
            QString::fromStdString(AuditGenesisHash) + "')",
        "CREATE TABLE departments (id BIGINT PRIMARY KEY, name TEXT NOT NULL UNIQUE)",
        "CREATE TABLE workplaces (id BIGINT PRIMARY KEY, latest_version INTEGER NOT NULL)",
        "CREATE TABLE versions (workplace_id BIGINT NOT NULL REFERENCES workplaces (id), version INTEGER NOT NULL, "
        "department_id BIGINT NOT NULL REFERENCES departments (id), number TEXT NOT NULL, name TEXT NOT NULL, "
        "assessment_date TEXT NOT NULL, accident DOUBLE PRECISION, severity INTEGER, level TEXT NOT NULL, "
        "overdue INTEGER NOT NULL, saved_at TEXT NOT NULL, os_user TEXT NOT NULL, engineer TEXT NOT NULL, "
        "program TEXT NOT NULL, change TEXT NOT NULL, PRIMARY KEY (workplace_id, version))",
        "CREATE TABLE projects (workplace_id BIGINT NOT NULL, version INTEGER NOT NULL, project BYTEA NOT NULL, "
        "PRIMARY KEY (workplace_id, version), FOREIGN KEY (workplace_id, version) REFERENCES versions (workplace_id, "
        "version))",
        "CREATE TABLE audit_trail (entry BIGINT PRIMARY KEY, saved_at TEXT NOT NULL, os_user TEXT NOT NULL, "
        "engineer TEXT NOT NULL, program TEXT NOT NULL, workplace_id BIGINT NOT NULL, version INTEGER NOT NULL, "
        "change TEXT NOT NULL, version_sha256 TEXT NOT NULL, previous_sha256 TEXT NOT NULL, sha256 TEXT NOT NULL)",
    };
}

}  // namespace

const std::vector<SchemaStep>& SchemaSteps()
{
    static const std::vector<SchemaStep> steps = {Version1()};
    static_assert(SchemaVersion == 1, "one step per version");
    return steps;
}

int StoredSchemaVersion(Connection& connection)
{
    if (!connection.HasTable("register_head")) return 0;
    QSqlQuery query = connection.Run("SELECT schema_version FROM register_head");
    if (!query.next()) throw KestalError("в таблице register_head нет строки");
    return query.value(0).toInt();
}

void MigrateSchema(Connection& connection, const std::vector<SchemaStep>& steps, int target)
{
    const bool hasHead = connection.HasTable("register_head");
    Transaction transaction(connection);
    int from = 0;
    if (hasHead) {
        // Writing the head first takes the write lock, so two programs never migrate at once; the
        // version is read again under it.
        connection.Run("UPDATE register_head SET schema_version = schema_version");
        from = StoredSchemaVersion(connection);
    }
    if (from > target || target > static_cast<int>(steps.size()))
        throw KestalError("схему версии " + std::to_string(from) + " нельзя привести к версии " +
                          std::to_string(target));
    for (int version = from; version < target; ++version)
        for (const QString& statement : steps[static_cast<std::size_t>(version)]) connection.Run(statement);
    connection.Run("UPDATE register_head SET schema_version = ?", {target});
    transaction.Commit();
}

}  // namespace kestal
