// The temporary PostgreSQL server: its binaries found, started and stopped as its own user.
#include "support/TemporaryPostgres.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* ServerUser = "kestal-postgres";

// The running server's postmaster, for the fatal-signal handler: it asks for an immediate stop.
volatile sig_atomic_t postmaster = 0;
constexpr int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGINT, SIGTERM, SIGHUP};

extern "C" void StopServerAndDie(int signal)
{
    if (postmaster > 0) kill(static_cast<pid_t>(postmaster), SIGQUIT);
    std::signal(signal, SIG_DFL);
    raise(signal);
}

// The folder holding initdb and pg_ctl: Debian's newest /usr/lib/postgresql/N/bin, else the PATH's.
std::string FindBinaries()
{
    std::vector<fs::path> candidates;
    std::error_code error;
    for (const auto& version : fs::directory_iterator("/usr/lib/postgresql", error))
        candidates.push_back(version.path() / "bin");
    std::sort(candidates.begin(), candidates.end(), [](const fs::path& a, const fs::path& b) {
        return std::stoi("0" + a.parent_path().filename().string()) >
               std::stoi("0" + b.parent_path().filename().string());
    });
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string folder; std::getline(path, folder, ':');) candidates.emplace_back(folder);
    for (const fs::path& folder : candidates)
        if (access((folder / "initdb").c_str(), X_OK) == 0 && access((folder / "pg_ctl").c_str(), X_OK) == 0)
            return folder.string();
    throw std::runtime_error("PostgreSQL: initdb and pg_ctl not found (Debian package postgresql)");
}

std::string Tail(const std::string& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

}  // namespace

TemporaryPostgres::TemporaryPostgres(bool durable) : binaries(FindBinaries()), uid(geteuid()), gid(getegid())
{
    if (uid == 0) {
        const passwd* user = getpwnam(ServerUser);
        if (!user)
            throw std::runtime_error(std::string("PostgreSQL refuses root, and the user ") + ServerUser +
                                     " is missing (scripts/ensure-packages creates it)");
        uid = user->pw_uid;
        gid = user->pw_gid;
    }
    // The socket's path must stay short, whatever TMPDIR says.
    char name[] = "/tmp/kestal-pg-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("PostgreSQL: no temporary folder");
    folder = name;
    try {
        if (chown(name, uid, gid) != 0)
            throw std::runtime_error("PostgreSQL: the temporary folder cannot be handed over");
        Run("initdb", {"initdb", "-D", folder + "/data", "-U", "kestal", "--auth=trust", "-E", "UTF8", "--locale=C",
                       "--no-sync"});
        for (const int signal : FatalSignals) std::signal(signal, StopServerAndDie);
        std::string options = "-k " + folder + " -c listen_addresses=''";
        if (!durable) options += " -c fsync=off -c synchronous_commit=off -c full_page_writes=off";
        Run("pg_ctl start",
            {"pg_ctl", "-D", folder + "/data", "-l", folder + "/server.log", "-w", "-t", "60", "-o", options, "start"});
        std::ifstream pidFile(folder + "/data/postmaster.pid");
        long pid = 0;
        pidFile >> pid;
        postmaster = static_cast<sig_atomic_t>(pid);
    } catch (...) {
        Stop();
        throw;
    }
}

TemporaryPostgres::~TemporaryPostgres() { Stop(); }

// Stops the server this object started, if it runs, and removes its folder.
void TemporaryPostgres::Stop() noexcept
{
    std::error_code missing;
    if (fs::exists(folder + "/data/postmaster.pid", missing)) {
        try {
            Run("pg_ctl stop", {"pg_ctl", "-D", folder + "/data", "-m", "fast", "-w", "-t", "60", "stop"});
        } catch (const std::exception&) {
            if (postmaster > 0) kill(static_cast<pid_t>(postmaster), SIGQUIT);
        }
    }
    for (const int signal : FatalSignals) std::signal(signal, SIG_DFL);
    postmaster = 0;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string TemporaryPostgres::NewDatabase()
{
    const std::string database = "kestal_test_" + std::to_string(++databases);
    {
        QSqlDatabase server = QSqlDatabase::addDatabase("QPSQL", "kestal-temporary-postgres");
        server.setHostName(QString::fromStdString(folder));
        server.setUserName("kestal");
        server.setDatabaseName("postgres");
        std::string problem;
        if (!server.open())
            problem = server.lastError().text().toStdString();
        else if (QSqlQuery query(server);
                 !query.exec(QString::fromStdString("CREATE DATABASE " + database + " STRATEGY = FILE_COPY")))
            problem = query.lastError().text().toStdString();
        server.close();
        if (!problem.empty()) {
            server = QSqlDatabase();
            QSqlDatabase::removeDatabase("kestal-temporary-postgres");
            throw std::runtime_error("PostgreSQL: CREATE DATABASE: " + problem);
        }
    }
    QSqlDatabase::removeDatabase("kestal-temporary-postgres");
    return "postgresql://kestal@/" + database + "?host=" + folder;
}

// Runs one of the server's programs as the server's user, its output in the folder's setup log.
void TemporaryPostgres::Run(const std::string& step, const std::vector<std::string>& arguments) const
{
    const std::string log = folder + "/setup.log";
    const std::string program = binaries + "/" + arguments.front();
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && uid != 0 && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0))
            _exit(126);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        // The server's programs look for their own files from a folder they may enter.
        if (chdir(folder.c_str()) != 0) _exit(126);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("PostgreSQL: " + step + " failed:\n" + Tail(log) + Tail(folder + "/server.log"));
}
