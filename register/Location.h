// Where a register lives: an SQLite file's path or a PostgreSQL connection string, read once; and
// which file systems hold an SQLite register only for reading.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestal {

struct RegisterLocation {
    enum class Engine { Sqlite, Postgres };
    Engine engine = Engine::Sqlite;
    std::string display;  // for messages: the path, or the connection string without its password
    std::string path;     // SQLite: the file
    // PostgreSQL: where and as whom to connect (empty: libpq's default), and further libpq parameters.
    std::string host, user, password, database;
    int port = -1;
    std::vector<std::pair<std::string, std::string>> parameters;
};

// A location as the user gave it: "postgresql://" or "postgres://" begins a connection string, anything
// else is a path. Raises KestalError with the reason (Russian) when a connection string does not read.
RegisterLocation ReadRegisterLocation(const std::string& location);

// The location as messages show it, a password left out; for a location that does not read too.
std::string LocationForMessages(const std::string& location);

// The name of the network file system of a statfs type ("NFS", "SMB/CIFS", ...), whose locks SQLite
// cannot trust; empty for any other type.
std::string NetworkFileSystemName(std::int64_t type);

// The statfs type of the file system holding `path`; 0 when it cannot be read.
std::int64_t FileSystemTypeOf(const std::string& path);

}  // namespace kestal
