// One database connection through Qt SQL, the same statements for both engines: positional parameters
// ("?") bound in order, failures as KestalError in the driver's words, transactions that roll back
// unless committed.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

#include "register/Location.h"

namespace kestal {

class Connection {
public:
    // Connects; `readOnly` opens an SQLite file without ever writing it. Raises KestalError(reason).
    Connection(const RegisterLocation& where, bool readOnly);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs one statement with `values` bound to its "?" in order (values never enter the statement's
    // text). Raises KestalError(reason).
    QSqlQuery Run(const QString& sql, const QVariantList& values = {});
    bool HasTable(const QString& table) const;
    RegisterLocation::Engine Engine() const { return engine; }

private:
    RegisterLocation::Engine engine;
    QString name;
    QSqlDatabase database;
    QSqlQuery failed;  // the statement that failed in the open transaction
    friend class Transaction;
};

class Transaction {
public:
    // Write: statements see what others committed meanwhile; the first write waits for other writers.
    // Snapshot: reads only, and every statement sees the database as it was when the first one ran.
    enum class Kind { Write, Snapshot };
    // Begins; raises KestalError(reason).
    explicit Transaction(Connection& used, Kind kind = Kind::Write);
    ~Transaction();  // rolls back unless committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();  // raises KestalError(reason), having rolled back

private:
    Connection& connection;
    QSqlDatabase& database;
    bool open = true;
};

// A null of the column's type where a value is missing.
QVariant ValueOrNull(const std::optional<double>& value);
QVariant ValueOrNull(const std::optional<int>& value);

}  // namespace kestal
