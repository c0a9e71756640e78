// A PostgreSQL server of a test program's or benchmark's own: initdb and pg_ctl into a new temporary
// folder, listening only on a Unix socket in that folder, run as the unprivileged user
// "kestal-postgres" when the process is root (the server refuses root; scripts/ensure-packages
// creates the user), and stopped by its own pg_ctl when the object goes, or on a fatal signal.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class TemporaryPostgres {
public:
    // Starts the server. `durable` keeps its writes safe on the disk (benchmarks); otherwise fsync is
    // off (tests). Raises std::runtime_error naming the failed step and the end of its log.
    explicit TemporaryPostgres(bool durable);
    ~TemporaryPostgres();
    TemporaryPostgres(const TemporaryPostgres&) = delete;
    TemporaryPostgres& operator=(const TemporaryPostgres&) = delete;

    // A connection string of a new, empty database on the server.
    std::string NewDatabase();

private:
    void Stop() noexcept;
    void Run(const std::string& step, const std::vector<std::string>& arguments) const;
    std::string folder;  // the socket, the data folder "data" and the logs
    std::string binaries;
    uid_t uid;
    gid_t gid;
    int databases = 0;
};
