#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

class QSqlDatabase;
class QSqlQuery;
struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// The error code the windows test for a missing table ("no such table").
inline constexpr int kErrTableNotFound = 3078;
// The error code of a database that another program holds locked.
inline constexpr int kErrLocked = 3260;
// The disk is full, or the file may grow no further.
inline constexpr int kErrDiskFull = 3026;
// The file or its folder cannot be written, or the disk failed.
inline constexpr int kErrCannotWrite = 3027;
// The file is no database, or a damaged one.
inline constexpr int kErrDamaged = 3343;

class DbError : public std::runtime_error {
public:
    DbError(int code, const QString& message);
    // kErrTableNotFound for a missing table, kErrLocked for a database held by
    // another program, kErrDiskFull, kErrCannotWrite, kErrDamaged (each with
    // a Spanish text), 0 for any other failure.
    int code() const { return code_; }
    // The file itself failed (full, unwritable, damaged or held), whatever
    // the statement and its values were.
    bool inTheFile() const;

private:
    int code_;
};

// One row of a query: its fields in the order of the query. Field names are
// matched without regard to case. A Null value stays apart from empty text.
class Row {
public:
    Row() = default;
    Row(std::initializer_list<std::pair<QString, QVariant>> fields);

    bool has(const QString& field) const;
    // The value; an invalid QVariant when the row has no such field.
    QVariant value(const QString& field) const;
    bool isNull(const QString& field) const;
    // The value as text; Null reads as empty text.
    QString text(const QString& field) const;
    void set(const QString& field, const QVariant& value);

    const std::vector<std::pair<QString, QVariant>>& fields() const { return fields_; }

private:
    int indexOf(const QString& field) const;
    std::vector<std::pair<QString, QVariant>> fields_;
};

// A connection to one database file. Values always travel as bound
// parameters (the '?' of the SQL text); names of tables and fields come from
// the program's own code. Text is compared and sorted without regard to case,
// accented letters included, by the collation of the schema's text columns and
// by LIKE; the collation also ignores trailing blanks.
class Database {
public:
    // Opens an existing file; a missing file is an error.
    static Database open(const QString& hostFile);
    // Opens a file, creating it empty when it is missing.
    static Database openOrCreate(const QString& hostFile);

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    std::vector<Row> select(const QString& sql, const QVariantList& values = {}) const;
    std::optional<Row> first(const QString& sql, const QVariantList& values = {}) const;
    void exec(const QString& sql, const QVariantList& values = {});
    // Adds a row and returns the key the table gave it.
    qint64 insert(const QString& table, const Row& row);
    // Changes the given fields of the row whose `keyField` equals `key`.
    void update(const QString& table, const QString& keyField, const QVariant& key, const Row& changes);
    void remove(const QString& table, const QString& keyField, const QVariant& key);
    bool hasTable(const QString& table) const;
    // Reads the whole file through once; kErrDamaged when it is no database
    // or a damaged one. Nothing is written.
    void checkIntegrity() const;

    QSqlDatabase connection() const;
    QString fileName() const { return file_; }
    void close();

private:
    Database(QString connectionName, QString file);
    QSqlQuery run(const QString& sql, const QVariantList& values) const;

    QString name_;
    QString file_;
};

// A statement prepared once and run many times with new values, for work on
// many rows (a bulk copy, a long listing): the rows of a query are read one
// by one, by column, without being gathered first. It goes before its
// database is closed.
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    ~Statement();

    // Runs the statement with `values` bound to its '?' in order.
    void exec(const QVariantList& values = {});
    // Moves to the next row of the query run last; false after the last row.
    bool next();
    // A column of the current row, counted from 0 in the order of the query.
    QVariant value(int column) const;
    // The key the table gave the row the statement added last.
    qint64 lastInsertId() const;

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    // The row exec() stepped onto, which next() gives first.
    bool pendingRow_ = false;
    bool onRow_ = false;
};

// Commits when commit() is called; rolls back when left any other way.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool open_ = true;
};

// A part of the work that can be undone alone: inside a Transaction it
// undoes only what was done since it began. Kept with release(); undone with
// rollback() or when left any other way.
class Savepoint {
public:
    explicit Savepoint(Database& db);
    ~Savepoint();
    void release();
    void rollback();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

private:
    Database& db_;
    QString name_;
    bool open_ = true;
};

// Quotes a table or field name for the SQL text.
QString quoteName(const QString& name);

// A condition of a WHERE clause and the values bound to its '?'.
struct Condition {
    QString sql;
    QVariantList values;
};
// The texts of `field` that begin with `text`, taken as it stands: its '%',
// '_' and '\' match only themselves.
Condition beginsWith(const QString& field, const QString& text);

// Dates are stored as ISO text ("yyyy-MM-dd") and shown and typed "dd/MM/yyyy".
QVariant dateValue(const QDate& date);
// A stored or typed date; an invalid date when the value is Null or no date.
QDate toDate(const QVariant& value);
QString formatDate(const QDate& date);
// A stored value shown where a date is expected: the date "dd/MM/yyyy" when it
// holds one, else its text as it stands; Null as empty text.
QString dateText(const QVariant& value);

// Text comparison the way the database compares: case ignored (accented
// letters included), accents kept, trailing blanks ignored. Negative, zero or
// positive.
int compareText(const QString& a, const QString& b);

} // namespace platform
