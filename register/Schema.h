// The register's schema: the steps that take a database from each version to the next, one text of
// statements for both engines, and the migration that applies them in one transaction.
#pragma once

#include <QString>

#include <vector>

namespace kestal {

class Connection;

// The schema version this program reads and writes.
inline constexpr int SchemaVersion = 1;

// The statements that take the schema from version n to n + 1 (n = 0: an empty database).
using SchemaStep = std::vector<QString>;

// The program's steps: SchemaSteps()[n] takes version n to n + 1; there are SchemaVersion of them.
const std::vector<SchemaStep>& SchemaSteps();

// The version of the register the connection holds; 0 when the database holds none.
// Raises KestalError(reason) when the database cannot be read.
int StoredSchemaVersion(Connection& connection);

// Brings the register to version `target` by `steps`, from the version it holds, in one transaction:
// all of the steps or none. Raises KestalError(reason).
void MigrateSchema(Connection& connection, const std::vector<SchemaStep>& steps, int target);

}  // namespace kestal
