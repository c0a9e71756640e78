// The audit trail on both engines: a register changed by other means than the program is found, and the
// first broken entry named.
#include <functional>

#include <QSqlQuery>

#include "RegisterFixture.h"
#include "register/AuditTrail.h"

namespace {

std::string Stored(Connection& raw, const char* column, int entry)
{
    QSqlQuery row = raw.Run(QStringLiteral("SELECT %1 FROM audit_trail WHERE entry = ?").arg(column), {entry});
    return row.next() ? row.value(0).toString().toStdString() : "";
}

// An entry a forger computes as the program would, linked to `previous`, for version `version` of
// workplace `workplace` with the digest `versionSha256`.
void Forge(Connection& raw, std::int64_t entry, std::int64_t workplace, int version, const std::string& versionSha256,
           const std::string& previous)
{
    const Saver forger{"sidorov", "Сидоров", "Kestal 2.0"};
    AuditEntry forged{
        entry, "2025-03-02T00:00:00.000Z", forger, workplace, version, "подделка", versionSha256, previous, {}};
    forged.sha256 = AuditEntryHash(forged);
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    raw.Run(
        "INSERT INTO audit_trail (entry, saved_at, os_user, engineer, program, workplace_id, version, change, "
        "version_sha256, previous_sha256, sha256) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {qlonglong{entry}, text(forged.savedAt), text(forger.osUser), text(forger.engineer), text(forger.program),
         qlonglong{workplace}, version, text(forged.change), text(versionSha256), text(previous), text(forged.sha256)});
}

TEST_P(RegisterTest, AuditTrailNamesTheFirstEntryChangedByOtherMeans)
{
    struct Case {
        const char* what;
        std::function<void(Connection&)> tamper;
        std::int64_t firstBroken;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"untouched", [](Connection&) {}, 0, ""},
        {"an entry's field altered",
         [](Connection& raw) { raw.Run("UPDATE audit_trail SET engineer = 'Сидоров' WHERE entry = 2"); }, 2,
         "запись 2 журнала изменена или вставлена в обход программы"},
        {"an entry rewritten and its own hash recomputed",
         [](Connection& raw) {
             const std::string digest = Stored(raw, "version_sha256", 2);
             raw.Run("DELETE FROM audit_trail WHERE entry = 2");
             Forge(raw, 2, 2, 1, digest, Stored(raw, "sha256", 1));
         },
         3, "запись 3 журнала не продолжает предыдущую: запись перед ней удалена, изменена или вставлена"},
        {"an entry deleted", [](Connection& raw) { raw.Run("DELETE FROM audit_trail WHERE entry = 3"); }, 3,
         "запись 3 журнала удалена"},
        {"the last entry deleted", [](Connection& raw) { raw.Run("DELETE FROM audit_trail WHERE entry = 5"); }, 5,
         "запись 5 журнала удалена"},
        {"an entry inserted, the later ones renumbered",
         [](Connection& raw) {
             raw.Run("UPDATE audit_trail SET entry = entry + 100 WHERE entry >= 3");
             raw.Run("UPDATE audit_trail SET entry = entry - 99 WHERE entry >= 100");
             Forge(raw, 3, 1, 9, AuditGenesisHash, Stored(raw, "sha256", 2));
             raw.Run("UPDATE register_head SET audit_entries = 6");
         },
         3, "запись 3 журнала: версия 9 рабочего места 1 в реестре отсутствует"},
        {"an entry appended without the program",
         [](Connection& raw) { Forge(raw, 6, 1, 3, AuditGenesisHash, Stored(raw, "sha256", 5)); }, 6,
         "запись 6 журнала добавлена в обход программы"},
        {"a version's project altered",
         [](Connection& raw) {
             raw.Run("UPDATE projects SET project = ? WHERE workplace_id = 1 AND version = 2", {QByteArray("{ }")});
         },
         4, "версия 2 рабочего места 1 изменена в обход программы (запись 4 журнала)"},
        {"a version's column altered",
         [](Connection& raw) { raw.Run("UPDATE versions SET accident = 0.5 WHERE workplace_id = 3"); }, 3,
         "версия 1 рабочего места 3 изменена в обход программы (запись 3 журнала)"},
        {"the latest version and its entry deleted, the head rewritten",
         [](Connection& raw) {
             raw.Run("DELETE FROM projects WHERE workplace_id = 2 AND version = 2");
             raw.Run("DELETE FROM versions WHERE workplace_id = 2 AND version = 2");
             raw.Run("DELETE FROM audit_trail WHERE entry = 5");
             raw.Run("UPDATE register_head SET audit_entries = 4, audit_sha256 = ?",
                     {QString::fromStdString(Stored(raw, "sha256", 4))});
         },
         0, "у рабочего места 2 последней названа версия 2, а в реестре их 1"},
    };
    for (const Case& c : cases) {
        const std::string location = NewLocation();
        {
            Register reg = Create(location);
            ASSERT_EQ(reg.Save(Ivanov, {Version(0, 0, "a", "создано", "1"), Version(0, 0, "b", "создано", "2"),
                                        Version(0, 0, "c", "создано", "3")})
                          .saved.size(),
                      3u);
            ASSERT_EQ(reg.Save(Petrova, {Version(1, 1, "a2", "меры добавлены")}).saved.size(), 1u);
            ASSERT_EQ(reg.Save(Petrova, {Version(2, 1, "b2", "статусы изменены")}).saved.size(), 1u);
        }
        {
            Connection raw = RawConnection(location);
            c.tamper(raw);
        }
        const AuditCheck check = Open(location).VerifyAudit();
        EXPECT_EQ(check.firstBroken, c.firstBroken) << c.what;
        EXPECT_EQ(check.problem, c.problem) << c.what;
    }
}

}  // namespace
