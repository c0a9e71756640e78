// Qt SQL connections of both engines, their statements and transactions.
#include "register/Connection.h"

#include <QSqlError>
#include <QStringList>

#include <atomic>
#include <optional>

#include "common/KestalError.h"

namespace kestal {

namespace {

// The driver's words on one line.
[[noreturn]] void Fail(const QSqlError& error)
{
    QString text = error.text().simplified();
    if (text.isEmpty()) text = QStringLiteral("неизвестная ошибка базы данных");
    throw KestalError(text.toStdString());
}

QString NewConnectionName()
{
    static std::atomic<unsigned long long> count{0};
    return QStringLiteral("kestal-register-%1").arg(++count);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// libpq parameters as Qt hands them on: "key='value';..." (values were checked to need no escaping).
QString ConnectOptions(const RegisterLocation& where)
{
    QStringList options;
    for (const auto& [key, value] : where.parameters) options << Text(key) + "='" + Text(value) + "'";
    return options.join(';');
}

}  // namespace

Connection::Connection(const RegisterLocation& where, bool readOnly) : engine(where.engine), name(NewConnectionName())
{
    const bool sqlite = engine == RegisterLocation::Engine::Sqlite;
    database = QSqlDatabase::addDatabase(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name);
    if (!database.isValid()) {
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw KestalError(sqlite ? "нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)"
                                 : "нет драйвера PostgreSQL для Qt (пакет libqt6sql6-psql)");
    }
    if (sqlite) {
        database.setDatabaseName(Text(where.path));
        // Another program's transaction is waited for up to ten seconds.
        database.setConnectOptions(readOnly ? "QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY"
                                            : "QSQLITE_BUSY_TIMEOUT=10000");
    } else {
        database.setHostName(Text(where.host));
        if (where.port > 0) database.setPort(where.port);
        database.setUserName(Text(where.user));
        database.setPassword(Text(where.password));
        database.setDatabaseName(Text(where.database));
        database.setConnectOptions(ConnectOptions(where));
    }
    if (!database.open()) {
        const QSqlError error = database.lastError();
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        Fail(error);
    }
    // SQLite checks references only when asked, on each connection.
    if (sqlite) Run("PRAGMA foreign_keys = ON");
}

Connection::~Connection()
{
    database.close();
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

QSqlQuery Connection::Run(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    // PostgreSQL prepares only queries and data changes; a statement without values runs as it is.
    if (values.isEmpty()) {
        if (!query.exec(sql)) Fail(query.lastError());
        return query;
    }
    if (!query.prepare(sql)) Fail(query.lastError());
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) {
        // PostgreSQL frees a prepared statement only once its failed transaction has ended.
        const QSqlError error = query.lastError();
        failed = std::move(query);
        Fail(error);
    }
    return query;
}

bool Connection::HasTable(const QString& table) const { return database.tables(QSql::Tables).contains(table); }

Transaction::Transaction(Connection& used, Kind kind) : connection(used), database(used.database)
{
    if (!database.transaction()) Fail(database.lastError());
    // An SQLite transaction reads one state of the file throughout; PostgreSQL's must be asked to.
    if (kind == Kind::Snapshot && connection.engine == RegisterLocation::Engine::Postgres) {
        try {
            connection.Run("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
        } catch (const KestalError&) {
            database.rollback();
            throw;
        }
    }
}

Transaction::~Transaction()
{
    if (open) database.rollback();
    connection.failed = QSqlQuery();
}

void Transaction::Commit()
{
    open = false;
    if (database.commit()) return;
    const QSqlError error = database.lastError();
    database.rollback();
    Fail(error);
}

QVariant ValueOrNull(const std::optional<double>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
}

QVariant ValueOrNull(const std::optional<int>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Int));
}

}  // namespace kestal
