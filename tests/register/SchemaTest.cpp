// The schema's migration on both engines: a register of each earlier version is brought to the next
// version with its data; a step that fails changes nothing; a newer register is refused.
#include <map>

#include <QSqlQuery>

#include "support/ErrorOf.h"
#include "RegisterFixture.h"
#include "register/Schema.h"

namespace {

// What a register of each schema version holds, written as that version's program wrote it. A new
// schema version adds its own.
const std::map<int, std::vector<QString>>& Fixtures()
{
    static const std::map<int, std::vector<QString>> fixtures = {
        {1,
         {"INSERT INTO departments (id, name) VALUES (1, 'Цех № 1')",
          "INSERT INTO workplaces (id, latest_version) VALUES (1, 1)",
          "INSERT INTO versions (workplace_id, version, department_id, number, name, assessment_date, accident, "
          "severity, level, overdue, saved_at, os_user, engineer, program, change) VALUES (1, 1, 1, '017', "
          "'Слесарь', '2025-02-28', 0.0023, 3, 'средний', 1, '2025-03-01T12:00:00.000Z', 'ivanov', 'Иванов', "
          "'Kestal 2.0', 'создано')",
          "INSERT INTO projects (workplace_id, version, project) VALUES (1, 1, ?)"}},
    };
    return fixtures;
}

constexpr char FixtureBytes[] = "{\"format\": \"kestal-project\"}\n\0\xff";
const QByteArray FixtureProject(FixtureBytes, sizeof FixtureBytes - 1);

void Fill(Connection& raw, int version)
{
    for (const QString& statement : Fixtures().at(version))
        raw.Run(statement, statement.contains('?') ? QVariantList{FixtureProject} : QVariantList{});
}

QByteArray StoredProject(Connection& raw)
{
    QSqlQuery row = raw.Run("SELECT project FROM projects WHERE workplace_id = 1 AND version = 1");
    return row.next() ? row.value(0).toByteArray() : QByteArray();
}

bool ReadsColumn(Connection& raw, const QString& column)
{
    return ErrorOf([&] { raw.Run("SELECT " + column + " FROM versions"); }) == "no error";
}

TEST_P(RegisterTest, EachEarlierSchemaMigratesToTheNextWithItsData)
{
    // A probe step stands for the version after this program's: the migration of every earlier version
    // runs through the program's own later steps and then this one.
    std::vector<SchemaStep> steps = SchemaSteps();
    steps.push_back({"ALTER TABLE versions ADD COLUMN reviewed_by TEXT"});
    const int next = SchemaVersion + 1;
    for (int from = 1; from <= SchemaVersion; ++from) {
        ASSERT_TRUE(Fixtures().count(from)) << "schema version " << from << " needs its fixture";
        const std::string location = NewLocation();
        Connection raw = RawConnection(location);  // an empty database (SQLite makes the file)
        MigrateSchema(raw, SchemaSteps(), from);
        Fill(raw, from);

        MigrateSchema(raw, steps, next);
        EXPECT_EQ(StoredSchemaVersion(raw), next);
        EXPECT_TRUE(ReadsColumn(raw, "reviewed_by"));
        EXPECT_EQ(StoredProject(raw), FixtureProject);
        EXPECT_EQ(ErrorOf([&] { Open(location); }), "Реестр «" + LocationForMessages(location) +
                                                        "» не открыт: реестр записан более новой версией программы "
                                                        "(схема 2, эта программа знает схемы до 1)");
    }
}

TEST_P(RegisterTest, MigrationThatFailsChangesNothing)
{
    const std::string location = NewLocation();
    Create(location).Save(Ivanov, {Version(0, 0, "проект", "создано")});
    std::vector<SchemaStep> steps = SchemaSteps();
    steps.push_back({"ALTER TABLE versions ADD COLUMN reviewed_by TEXT", "CREATE TABLE broken ("});
    Connection raw = RawConnection(location);
    EXPECT_NE(ErrorOf([&] { MigrateSchema(raw, steps, SchemaVersion + 1); }), "no error");
    EXPECT_EQ(StoredSchemaVersion(raw), SchemaVersion);
    EXPECT_FALSE(ReadsColumn(raw, "reviewed_by"));
    const Register reopened = Open(location);
    EXPECT_EQ(reopened.Project(1, 1), "проект");
    EXPECT_TRUE(reopened.VerifyAudit().Whole());
}

}  // namespace
