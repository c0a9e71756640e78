// Creating and opening a register, reading its workplaces, versions and projects, checking its trail.
#include "register/Register.h"

#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "common/Clock.h"
#include "common/KestalError.h"
#include "project/ProjectFile.h"
#include "register/AuditTrail.h"
#include "register/RegisterImpl.h"
#include "register/Schema.h"
#include "register/VersionRows.h"

namespace kestal {

namespace {

const Clock& ClockOf(const RegisterOptions& options) { return options.clock ? *options.clock : SystemClock(); }

std::int64_t FileSystemType(const RegisterOptions& options, const std::string& path)
{
    return options.fileSystemType ? options.fileSystemType(path) : FileSystemTypeOf(path);
}

// The folder of an SQLite file's path, where its journal is made and a new file would be.
std::string FolderOf(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

// Why an SQLite file at `path` may only be read: a network file system, or no right to write it.
std::string SqliteReadOnlyReason(const RegisterOptions& options, const std::string& path)
{
    const std::string network = NetworkFileSystemName(FileSystemType(options, path));
    if (!network.empty())
        return "файл реестра лежит в сетевой файловой системе (" + network +
               "), где блокировки SQLite ненадёжны: реестр открыт только для чтения, для совместной работы нужен "
               "реестр в PostgreSQL";
    if (access(path.c_str(), W_OK) != 0 || access(FolderOf(path).c_str(), W_OK) != 0)
        return "нет права записи в файл реестра или в его папку: реестр открыт только для чтения";
    return {};
}

std::string Refused(const std::string& location, const char* what, const KestalError& error)
{
    return "Реестр «" + LocationForMessages(location) + "» " + what + ": " + error.what();
}

}  // namespace

Register::Register(std::unique_ptr<Impl> opened) : impl(std::move(opened)) {}
Register::Register(Register&&) noexcept = default;
Register& Register::operator=(Register&&) noexcept = default;
Register::~Register() = default;

Register CreateRegister(const std::string& location, const RegisterOptions& options)
{
    bool created = false;
    std::string path;
    try {
        const RegisterLocation where = ReadRegisterLocation(location);
        if (where.engine == RegisterLocation::Engine::Sqlite) {
            path = where.path;
            const std::string network = NetworkFileSystemName(FileSystemType(options, FolderOf(path)));
            if (!network.empty())
                throw KestalError(
                    "папка лежит в сетевой файловой системе (" + network +
                    "), где блокировки SQLite ненадёжны: для совместной работы нужен реестр в PostgreSQL");
            // The file is made here, never over one that is there; SQLite takes an empty file as a new database.
            const int file = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (file < 0)
                throw KestalError(errno == EEXIST ? std::string("файл уже есть")
                                                  : "файл не создаётся (" + FileErrorReason(errno) + ")");
            close(file);
            created = true;
        }
        auto impl = std::make_unique<Register::Impl>(where, std::string(), ClockOf(options));
        if (StoredSchemaVersion(impl->connection) != 0) throw KestalError("в базе данных уже есть реестр");
        MigrateSchema(impl->connection, SchemaSteps(), SchemaVersion);
        return Register(std::move(impl));
    } catch (const KestalError& error) {
        // A file this call began is not left behind half made.
        std::error_code ignored;
        if (created) std::filesystem::remove(path, ignored);
        throw KestalError(Refused(location, "не создан", error));
    }
}

Register OpenRegister(const std::string& location, const RegisterOptions& options)
{
    try {
        const RegisterLocation where = ReadRegisterLocation(location);
        std::string readOnly;
        if (where.engine == RegisterLocation::Engine::Sqlite) {
            std::error_code error;
            const auto type = std::filesystem::status(where.path, error).type();
            if (type == std::filesystem::file_type::not_found) throw KestalError("файла нет");
            if (type != std::filesystem::file_type::regular) throw KestalError("это не файл");
            readOnly = SqliteReadOnlyReason(options, where.path);
        }
        auto impl = std::make_unique<Register::Impl>(where, readOnly, ClockOf(options));
        const int version = StoredSchemaVersion(impl->connection);
        if (version == 0) throw KestalError("это не реестр Kestal");
        if (version > SchemaVersion)
            throw KestalError("реестр записан более новой версией программы (схема " + std::to_string(version) +
                              ", эта программа знает схемы до " + std::to_string(SchemaVersion) + ")");
        if (version < SchemaVersion) {
            if (!readOnly.empty())
                throw KestalError("схему версии " + std::to_string(version) + " нужно обновить, а " + readOnly);
            MigrateSchema(impl->connection, SchemaSteps(), SchemaVersion);
        }
        return Register(std::move(impl));
    } catch (const KestalError& error) {
        throw KestalError(Refused(location, "не открыт", error));
    }
}

const std::string& Register::Location() const { return impl->location; }

const std::string& Register::ReadOnlyReason() const { return impl->readOnlyReason; }

std::vector<VersionInfo> Register::Workplaces() const
{
    try {
        QSqlQuery rows = impl->connection.Run(
            QStringLiteral("SELECT %1 FROM %2 JOIN workplaces w ON w.id = v.workplace_id AND w.latest_version = "
                           "v.version ORDER BY v.workplace_id")
                .arg(VersionColumns, VersionsTable));
        std::vector<VersionInfo> workplaces;
        while (rows.next()) workplaces.push_back(ReadVersionInfo(rows));
        return workplaces;
    } catch (const KestalError& error) {
        throw KestalError(Refused(impl->location, "не прочитан", error));
    }
}

std::vector<VersionInfo> Register::History(std::int64_t workplace) const
{
    try {
        QSqlQuery rows =
            impl->connection.Run(QStringLiteral("SELECT %1 FROM %2 WHERE v.workplace_id = ? ORDER BY v.version")
                                     .arg(VersionColumns, VersionsTable),
                                 {qlonglong{workplace}});
        std::vector<VersionInfo> versions;
        while (rows.next()) versions.push_back(ReadVersionInfo(rows));
        return versions;
    } catch (const KestalError& error) {
        throw KestalError(Refused(impl->location, "не прочитан", error));
    }
}

std::string Register::Project(std::int64_t workplace, int version) const
{
    try {
        QSqlQuery row = impl->connection.Run("SELECT project FROM projects WHERE workplace_id = ? AND version = ?",
                                             {qlonglong{workplace}, version});
        if (!row.next())
            throw KestalError("версии " + std::to_string(version) + " рабочего места " + std::to_string(workplace) +
                              " нет");
        return row.value(0).toByteArray().toStdString();
    } catch (const KestalError& error) {
        throw KestalError(Refused(impl->location, "не прочитан", error));
    }
}

AuditCheck Register::VerifyAudit() const
{
    try {
        Transaction snapshot(impl->connection, Transaction::Kind::Snapshot);
        return CheckAuditTrail(impl->connection);
    } catch (const KestalError& error) {
        throw KestalError(Refused(impl->location, "не проверен", error));
    }
}

}  // namespace kestal
