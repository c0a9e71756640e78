// What a register refuses, with its message: locations, files on network file systems (by a stubbed
// file-system type), and versions whose columns or texts are wrong.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/ErrorOf.h"
#include "RegisterFixture.h"

namespace {

constexpr std::int64_t Ext4 = 0xEF53;

TEST(RegisterFileSystems, AnSqliteRegisterOnANetworkFileSystemOpensReadOnly)
{
    struct Case {
        std::int64_t type;
        std::string network;  // empty: a local file system
    };
    const std::vector<Case> cases = {
        {0x6969, "NFS"},
        {0x517B, "SMB/CIFS"},
        {0xFF534D42, "SMB/CIFS"},
        {static_cast<std::int32_t>(0xFF534D42), "SMB/CIFS"},  // as a system that extends the sign reports it
        {0xFE534D42, "SMB/CIFS"},
        {0x01021997, "9P"},
        {0x6B414653, "AFS"},
        {Ext4, ""},
        {0x01021994, ""},
        {0x9123683E, ""},
    };
    char name[] = "/tmp/kestal-register-XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    const std::string path = std::string(name) + "/реестр.kestaldb";
    std::int64_t type = Ext4;
    const RegisterOptions options{nullptr, [&](const std::string&) { return type; }};
    CreateRegister(path, options).Save(Ivanov, {Version(0, 0, "проект", "создано")});
    for (const Case& c : cases) {
        type = c.type;
        EXPECT_EQ(NetworkFileSystemName(c.type), c.network);
        Register reg = OpenRegister(path, options);
        const std::string reason = c.network.empty()
                                       ? ""
                                       : "файл реестра лежит в сетевой файловой системе (" + c.network +
                                             "), где блокировки SQLite ненадёжны: реестр открыт только для чтения, для "
                                             "совместной работы нужен реестр в PostgreSQL";
        EXPECT_EQ(reg.ReadOnlyReason(), reason) << c.type;
        EXPECT_EQ(reg.Project(1, 1), "проект");
        EXPECT_TRUE(reg.VerifyAudit().Whole());
        if (!c.network.empty()) {
            EXPECT_EQ(ErrorOf([&] { reg.Save(Ivanov, {Version(1, 1, "новое", "меры добавлены")}); }),
                      "Реестр «" + path + "»: версии не сохранены: " + reason);
        }
    }
    // A path relative to the working folder is as writable as the folder.
    type = Ext4;
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(name);
    EXPECT_EQ(OpenRegister("реестр.kestaldb", options).ReadOnlyReason(), "");
    std::filesystem::current_path(working);
    type = 0x6969;
    const std::string other = std::string(name) + "/другой.kestaldb";
    EXPECT_EQ(ErrorOf([&] { CreateRegister(other, options); }),
              "Реестр «" + other +
                  "» не создан: папка лежит в сетевой файловой системе (NFS), где блокировки SQLite ненадёжны: для "
                  "совместной работы нужен реестр в PostgreSQL");
    EXPECT_FALSE(std::filesystem::exists(other));
    std::filesystem::remove_all(name);
}

TEST(RegisterLocations, WhatDoesNotOpenIsNamedWithoutItsPassword)
{
    char name[] = "/tmp/kestal-register-XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    const std::string folder = name, text = folder + "/текст.kestaldb";
    std::ofstream(text) << "не база данных\n";
    const std::string parameters =
        "(host, port, user, password, dbname, sslmode, sslrootcert, sslcert, sslkey, connect_timeout, "
        "application_name)";
    struct Case {
        std::function<void()> call;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[&] { OpenRegister(folder + "/нет.kestaldb"); }, "Реестр «" + folder + "/нет.kestaldb» не открыт: файла нет"},
        {[&] { OpenRegister(folder); }, "Реестр «" + folder + "» не открыт: это не файл"},
        {[&] { OpenRegister(text); }, "Реестр «" + text + "» не открыт: это не реестр Kestal"},
        {[&] { CreateRegister(text); }, "Реестр «" + text + "» не создан: файл уже есть"},
        {[&] { CreateRegister(folder + "/нет/р.kestaldb"); },
         "Реестр «" + folder + "/нет/р.kestaldb» не создан: файл не создаётся (нет такого файла или папки)"},
        {[&] { OpenRegister(""); }, "Реестр «» не открыт: не указан файл реестра"},
        {[] { OpenRegister("postgresql://kestal:secret@/db?sslmod=require"); },
         "Реестр «postgresql://kestal@/db?sslmod=require» не открыт: строка подключения: параметр «sslmod» не "
         "поддерживается " +
             parameters},
        {[] { OpenRegister("postgres:///db?port=70000"); },
         "Реестр «postgres:///db?port=70000» не открыт: строка подключения: порт «70000» не число от 1 до 65535"},
        {[] { OpenRegister("postgresql:///db?application_name=a;b"); },
         "Реестр «postgresql:///db?application_name=a;b» не открыт: строка подключения: значение параметра "
         "«application_name» пусто или содержит пробел, «;», «'» или «\\»"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.call), c.message);
    // A server that is not there: the driver's words after the location, never the password.
    const std::string unreachable =
        ErrorOf([] { OpenRegister("postgresql://kestal:secret@/db?host=/nonexistent-kestal"); });
    EXPECT_EQ(unreachable.rfind("Реестр «postgresql://kestal@/db?host=/nonexistent-kestal» не открыт: ", 0), 0u);
    EXPECT_EQ(unreachable.find("secret"), std::string::npos);
    std::filesystem::remove_all(folder);
}

TEST_P(RegisterTest, ARegisterIsMadeOnceAndOpenedWhereItIs)
{
    const std::string location = NewLocation();
    const std::string shown = "Реестр «" + LocationForMessages(location) + "» ";
    EXPECT_EQ(ErrorOf([&] { Open(location); }),
              shown + (GetParam() == Engine::Sqlite ? "не открыт: файла нет" : "не открыт: это не реестр Kestal"));
    Create(location);
    EXPECT_EQ(ErrorOf([&] { Create(location); }),
              shown + (GetParam() == Engine::Sqlite ? "не создан: файл уже есть"
                                                    : "не создан: в базе данных уже есть реестр"));
}

TEST_P(RegisterTest, AVersionWithAWrongColumnIsRefusedAndNothingSaved)
{
    struct Case {
        std::function<void(VersionToSave&)> spoil;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {[](VersionToSave& v) { v.project.clear(); }, "поле «проект» пусто"},
        {[](VersionToSave& v) { v.project.assign(10 * 1024 * 1024 + 1, ' '); }, "поле «проект» больше 10 МБ"},
        {[](VersionToSave& v) { v.columns.department = "Цех\n2"; },
         "поле «подразделение» содержит управляющий символ или перевод строки"},
        {[](VersionToSave& v) { v.columns.number = "\xff"; }, "поле «номер рабочего места» не в кодировке UTF-8"},
        {[](VersionToSave& v) { v.columns.name = std::string(501, 'a'); },
         "поле «наименование рабочего места» длиннее 500 символов"},
        {[](VersionToSave& v) { v.columns.date = "2025-02-29"; }, "поле «дата оценки» не дата ГГГГ-ММ-ДД"},
        {[](VersionToSave& v) { v.columns.date = "2025-2-28"; }, "поле «дата оценки» не дата ГГГГ-ММ-ДД"},
        {[](VersionToSave& v) { v.columns.accident = 1.0000000000000002; },
         "поле «вероятность происшествия» не число от 0 до 1"},
        {[](VersionToSave& v) { v.columns.accident = std::nan(""); },
         "поле «вероятность происшествия» не число от 0 до 1"},
        {[](VersionToSave& v) { v.columns.severity = 6; }, "поле «класс тяжести» не число от 1 до 5"},
        {[](VersionToSave& v) { v.columns.overdue = -1; }, "поле «просроченные меры» меньше нуля"},
        {[](VersionToSave& v) { v.change = "оценки\tизменены"; },
         "поле «описание изменений» содержит управляющий символ или перевод строки"},
        {[](VersionToSave& v) { v.basedOn = 1; },
         "новое рабочее место сохраняется без исходной версии, прежнее — с ней"},
    };
    const std::string location = NewLocation();
    Register reg = Create(location);
    const std::string refusal = "Реестр «" + reg.Location() + "»: версии не сохранены: ";
    for (const Case& c : cases) {
        VersionToSave spoilt = Version(0, 0, "проект", "создано");
        c.spoil(spoilt);
        EXPECT_EQ(ErrorOf([&] { reg.Save(Ivanov, {spoilt}); }), refusal + c.problem);
        EXPECT_EQ(ErrorOf([&] {
                      reg.Save(Ivanov, {Version(0, 0, "проект", "создано"), spoilt});
                  }),
                  refusal + "сохранение 2 из 2: " + c.problem);
    }
    EXPECT_EQ(ErrorOf([&] {
                  reg.Save({"", "Иванов", "Kestal 2.0"}, {Version(0, 0, "проект", "создано")});
              }),
              refusal + "поле «пользователь» пусто");
    EXPECT_TRUE(reg.Workplaces().empty());
    EXPECT_EQ(reg.VerifyAudit().entries, 0);
}

}  // namespace
