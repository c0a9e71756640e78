// Versions stored and read back on both engines: byte for byte, refused when the workplace changed
// meanwhile, and copies to many workplaces all or none.
#include <limits>
#include <optional>

#include "support/ErrorOf.h"
#include "RegisterFixture.h"

namespace {

std::string EveryByte()
{
    std::string bytes;
    for (int round = 0; round < 3; ++round)
        for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
    return bytes;
}

TEST_P(RegisterTest, EachVersionReadsBackByteForByteWithItsColumnsAndStamp)
{
    struct Stored {
        std::string project;
        WorkplaceColumns columns;
    };
    const std::vector<Stored> stored = {
        {SourceFile("examples/workplace.kestal"),
         {"Цех № 1", "017", "Слесарь-ремонтник", "2025-02-28", 0.0023017749470620015, 3, "средний", 2}},
        {SourceFile("examples/workplace-revised.kestal"),
         {"Цех «Литейный»", "1'2\\3;--", "Оператор \"ЧПУ\" %_", "", std::nullopt, std::nullopt, "", 0}},
        {EveryByte(), {"", "", "", "2024-02-29", 0.0, 5, "высокий", 0}},
        {"{}", {"Склад", "9", "Кладовщик", "1999-12-31", 1.0, 1, "низкий", 2147483647}},
        {"[]", {"Склад", "10", "Водитель", "2000-01-01", std::numeric_limits<double>::denorm_min(), 2, "", 0}},
        {"\"\"", {"Цех № 1", "11", "Сварщик", "2025-03-01", 0.1 + 0.2, 4, "значительный", 1}},
    };
    const std::string location = NewLocation();
    std::vector<VersionInfo> expected;
    {
        Register created = Create(location);
        for (std::size_t i = 0; i < stored.size(); ++i) {
            clock.milliseconds += 61'001;
            const SaveResult result = created.Save(Ivanov, {{0, 0, stored[i].project, stored[i].columns, "создано"}});
            ASSERT_EQ(result.saved.size(), 1u);
            expected.push_back(result.saved[0]);
        }
        // A second version of the first workplace, whose department changes.
        clock.milliseconds += 999;
        WorkplaceColumns moved = stored[0].columns;
        moved.department = "Склад";
        const SaveResult second = created.Save(Petrova, {{1, 1, stored[1].project, moved, "меры добавлены"}});
        ASSERT_EQ(second.saved.size(), 1u);
        EXPECT_EQ(second.saved[0].savedAt, "2025-03-01T12:06:07.005Z");
        expected.front() = second.saved[0];
    }
    const Register reopened = Open(location);
    EXPECT_EQ(reopened.ReadOnlyReason(), "");
    const std::vector<VersionInfo> workplaces = reopened.Workplaces();
    EXPECT_EQ(workplaces, expected);
    for (std::size_t i = 0; i < workplaces.size(); ++i) {
        EXPECT_EQ(workplaces[i].workplace, static_cast<std::int64_t>(i + 1));
        EXPECT_EQ(workplaces[i].columns, i == 0 ? expected[0].columns : stored[i].columns);
        EXPECT_EQ(reopened.Project(workplaces[i].workplace, workplaces[i].version),
                  i == 0 ? stored[1].project : stored[i].project)
            << i;
    }
    const std::vector<VersionInfo> history = reopened.History(1);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].columns, stored[0].columns);
    EXPECT_EQ(history[0].savedAt, "2025-03-01T12:01:01.001Z");
    EXPECT_EQ(history[0].savedBy, Ivanov);
    EXPECT_EQ(reopened.Project(1, 1), stored[0].project);
    EXPECT_EQ(reopened.History(99), std::vector<VersionInfo>{});
    EXPECT_EQ(ErrorOf([&] { (void)reopened.Project(1, 3); }),
              "Реестр «" + reopened.Location() + "» не прочитан: версии 3 рабочего места 1 нет");
    const AuditCheck audit = reopened.VerifyAudit();
    EXPECT_TRUE(audit.Whole()) << audit.problem;
    EXPECT_EQ(audit.entries, 7);
}

TEST_P(RegisterTest, SaveOfAWorkplaceChangedMeanwhileIsRefusedWithWhoAndWhenAndLosesNothing)
{
    const std::string location = NewLocation();
    Register first = Create(location);
    ASSERT_EQ(first.Save(Ivanov, {Version(0, 0, "первая", "создано")}).saved.size(), 1u);
    Register second = Open(location);  // a second connection: another engineer's program

    clock.milliseconds += 5 * 60'000;
    ASSERT_EQ(second.Save(Petrova, {Version(1, 1, "вторая", "меры добавлены")}).saved.size(), 1u);
    clock.milliseconds += 60'000;
    const SaveResult refused = first.Save(Ivanov, {Version(1, 1, "третья", "оценки изменены")});
    EXPECT_TRUE(refused.saved.empty());
    ASSERT_TRUE(refused.changedMeanwhile);
    EXPECT_EQ(refused.changedMeanwhile->latest, second.History(1).back());
    EXPECT_EQ(ChangedMeanwhileText(*refused.changedMeanwhile),
              "Рабочее место «017 Слесарь-ремонтник» изменено после версии 1: версию 2 сохранил(а) Петрова А. С. "
              "(petrova) 2025-03-01 12:05:00 UTC. Сохраните как новую версию, сравнив с ней.");
    EXPECT_EQ(first.History(1).size(), 2u);
    EXPECT_EQ(first.Project(1, 2), "вторая");

    // Seen the comparison, the engineer saves the content as a new version after the other one.
    const SaveResult saved = first.Save(Ivanov, {Version(1, 2, "третья", "оценки изменены")});
    ASSERT_EQ(saved.saved.size(), 1u);
    EXPECT_EQ(saved.saved[0].version, 3);
    for (const auto& [version, project] : {std::pair{1, "первая"}, {2, "вторая"}, {3, "третья"}})
        EXPECT_EQ(second.Project(1, version), project);
    EXPECT_EQ(ErrorOf([&] { first.Save(Ivanov, {Version(1, 7, "x", "x")}); }),
              "Реестр «" + first.Location() + "»: версии не сохранены: версии 7 рабочего места 1 в реестре нет");
    EXPECT_TRUE(second.VerifyAudit().Whole());
}

// What a reader sees of every workplace: each latest version, its project, and the trail's length.
struct Seen {
    std::vector<VersionInfo> workplaces;
    std::vector<std::string> projects;
    std::int64_t entries = 0;
    bool operator==(const Seen&) const = default;
};

Seen Look(const Register& reg)
{
    Seen seen{reg.Workplaces(), {}, reg.VerifyAudit().entries};
    for (const VersionInfo& version : seen.workplaces)
        seen.projects.push_back(reg.Project(version.workplace, version.version));
    return seen;
}

TEST_P(RegisterTest, CopyToSixtyWorkplacesIsOneTransaction)
{
    const std::string location = NewLocation();
    Register reg = Create(location);
    std::vector<VersionToSave> workplaces;
    for (int i = 0; i <= 60; ++i)
        workplaces.push_back(Version(0, 0, "исходное " + std::to_string(i), "создано", std::to_string(i)));
    ASSERT_EQ(reg.Save(Ivanov, workplaces).saved.size(), 61u);
    // Workplace 1 is copied to workplaces 2 to 61; the 40th of them is workplace 41.
    const auto copy = [&](int basedOnOf40th, std::int64_t id40th) {
        std::vector<VersionToSave> copies;
        for (std::int64_t target = 2; target <= 61; ++target)
            copies.push_back(Version(target == 41 ? id40th : target, target == 41 ? basedOnOf40th : 1,
                                     reg.Project(1, 1) + " → " + std::to_string(target), "скопировано с 0"));
        return copies;
    };
    const std::string refusal = "Реестр «" + reg.Location() + "»: версии не сохранены: ";
    Connection raw = RawConnection(location);

    // The engine refuses the 40th insert: a version 2 of workplace 41 planted where the program would write it.
    Seen before = Look(reg);
    raw.Run(
        "INSERT INTO versions (workplace_id, version, department_id, number, name, assessment_date, level, "
        "overdue, saved_at, os_user, engineer, program, change) VALUES (41, 2, 1, '', '', '', '', 0, '', '', '', '', "
        "'')");
    EXPECT_EQ(ErrorOf([&] { reg.Save(Ivanov, copy(1, 41)); }).rfind(refusal, 0), 0u);
    raw.Run("DELETE FROM versions WHERE workplace_id = 41 AND version = 2");
    EXPECT_EQ(Look(reg), before);

    // The 40th names a workplace the register does not hold.
    EXPECT_EQ(ErrorOf([&] { reg.Save(Ivanov, copy(1, 99)); }), refusal + "версии 1 рабочего места 99 в реестре нет");
    EXPECT_EQ(Look(reg), before);

    // The 40th changed after the copy's source was read.
    Register other = Open(location);
    ASSERT_EQ(other.Save(Petrova, {Version(41, 1, "своё", "оценки изменены", "40")}).saved.size(), 1u);
    before = Look(reg);
    const SaveResult refused = reg.Save(Ivanov, copy(1, 41));
    ASSERT_TRUE(refused.changedMeanwhile);
    EXPECT_EQ(refused.changedMeanwhile->latest.workplace, 41);
    EXPECT_TRUE(refused.saved.empty());
    EXPECT_EQ(Look(reg), before);

    // Based on what the 40th now is, all sixty are saved at once.
    const SaveResult saved = reg.Save(Ivanov, copy(2, 41));
    ASSERT_EQ(saved.saved.size(), 60u);
    const Seen after = Look(reg);
    for (std::int64_t target = 2; target <= 61; ++target)
        EXPECT_EQ(after.projects[static_cast<std::size_t>(target - 1)],
                  reg.Project(1, 1) + " → " + std::to_string(target));
    EXPECT_EQ(after.entries, 61 + 1 + 60);
    EXPECT_TRUE(reg.VerifyAudit().Whole());
}

}  // namespace
