// A register's location read once, and the network file systems an SQLite register opens read-only on.
#include "register/Location.h"

#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <array>
#include <sys/vfs.h>

#include "common/KestalError.h"

namespace kestal {

namespace {

constexpr std::array<const char*, 2> Schemes = {"postgresql://", "postgres://"};

// libpq parameters a connection string may carry besides where and as whom, passed on as they are.
constexpr std::array<const char*, 6> PassedParameters = {"sslmode", "sslrootcert",     "sslcert",
                                                         "sslkey",  "connect_timeout", "application_name"};

bool IsConnectionString(const std::string& location)
{
    for (const char* scheme : Schemes)
        if (location.rfind(scheme, 0) == 0) return true;
    return false;
}

[[noreturn]] void Refuse(const std::string& problem) { throw KestalError("строка подключения: " + problem); }

std::string Utf8(const QString& text) { return text.toStdString(); }

// A parameter's value is handed to libpq between quotes after ";" became a separator: neither may occur.
std::string PassedValue(const std::string& key, const std::string& value)
{
    if (value.empty() || value.find_first_of(";'\\ \t\r\n") != std::string::npos)
        Refuse("значение параметра «" + key + "» пусто или содержит пробел, «;», «'» или «\\»");
    return value;
}

int PortOf(const std::string& text)
{
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || port > 65535) Refuse("порт «" + text + "» не число от 1 до 65535");
        port = port * 10 + (c - '0');
    }
    if (text.empty() || port < 1 || port > 65535) Refuse("порт «" + text + "» не число от 1 до 65535");
    return port;
}

RegisterLocation ReadConnectionString(const std::string& location)
{
    const QUrl url(QString::fromStdString(location), QUrl::StrictMode);
    if (!url.isValid())
        Refuse("адрес не читается (" + Utf8(url.errorString().section(';', 0, 0)) +
               "); путь к сокету задаётся параметром ?host=/путь");
    RegisterLocation where;
    where.engine = RegisterLocation::Engine::Postgres;
    where.display = LocationForMessages(location);
    where.host = Utf8(url.host(QUrl::FullyDecoded));
    where.port = url.port();
    where.user = Utf8(url.userName(QUrl::FullyDecoded));
    where.password = Utf8(url.password(QUrl::FullyDecoded));
    where.database = Utf8(url.path(QUrl::FullyDecoded)).substr(url.path().isEmpty() ? 0 : 1);
    bool timeoutGiven = false;
    for (const auto& [keyText, valueText] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        const std::string key = Utf8(keyText), value = Utf8(valueText);
        if (key == "host")
            where.host = value;
        else if (key == "port")
            where.port = PortOf(value);
        else if (key == "user")
            where.user = value;
        else if (key == "password")
            where.password = value;
        else if (key == "dbname")
            where.database = value;
        else if (std::find(PassedParameters.begin(), PassedParameters.end(), key) != PassedParameters.end()) {
            where.parameters.emplace_back(key, PassedValue(key, value));
            timeoutGiven = timeoutGiven || key == "connect_timeout";
        } else {
            Refuse("параметр «" + key +
                   "» не поддерживается (host, port, user, password, dbname, sslmode, sslrootcert, sslcert, "
                   "sslkey, connect_timeout, application_name)");
        }
    }
    // A server that does not answer is given up after ten seconds rather than the system's minutes.
    if (!timeoutGiven) where.parameters.emplace_back("connect_timeout", "10");
    return where;
}

}  // namespace

RegisterLocation ReadRegisterLocation(const std::string& location)
{
    if (IsConnectionString(location)) return ReadConnectionString(location);
    if (location.empty()) throw KestalError("не указан файл реестра");
    RegisterLocation where;
    where.path = location;
    where.display = location;
    return where;
}

std::string LocationForMessages(const std::string& location)
{
    if (!IsConnectionString(location)) return location;
    // The password is what stands between the first ":" and the last "@" of the authority.
    const std::size_t start = location.find("://") + 3;
    const std::size_t end = std::min(location.find_first_of("/?#", start), location.size());
    const std::size_t at = location.rfind('@', end);
    if (at == std::string::npos || at < start) return location;
    const std::size_t colon = location.find(':', start);
    if (colon == std::string::npos || colon > at) return location;
    return location.substr(0, colon) + location.substr(at);
}

std::string NetworkFileSystemName(std::int64_t type)
{
    // statfs reports these 32-bit magic numbers, sign-extended on some systems: compare the low bits.
    switch (static_cast<std::uint32_t>(type)) {
    case 0x6969:
        return "NFS";
    case 0x517B:
    case 0xFF534D42:
    case 0xFE534D42:
        return "SMB/CIFS";
    case 0x01021997:
        return "9P";
    case 0x5346414F:
    case 0x6B414653:
        return "AFS";
    case 0x73757245:
        return "Coda";
    case 0x564C:
        return "NCP";
    default:
        return {};
    }
}

std::int64_t FileSystemTypeOf(const std::string& path)
{
    struct statfs info {};
    if (statfs(path.c_str(), &info) != 0) return 0;
    return static_cast<std::int64_t>(info.f_type);
}

}  // namespace kestal
