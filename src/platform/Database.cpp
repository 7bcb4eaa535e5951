#include "platform/Database.h"

#include <QCollator>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>

namespace platform {

namespace {

const QCollator& collator()
{
    static const QCollator instance = [] {
        QCollator c(QLocale(QLocale::Spanish, QLocale::Spain));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return instance;
}

int jetCollation(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const QString left = QString::fromUtf8(static_cast<const char*>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char*>(b), lengthB);
    return compareText(left, right);
}

// LIKE with '%' and '_' and an optional escape character; case is ignored for
// every letter, accented ones included.
bool likeMatch(const QString& pattern, const QString& text, QChar escape)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        bool literal = false;
        QChar pc;
        qsizetype step = 1;
        if (p < pattern.size()) {
            pc = pattern.at(p);
            if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
                pc = pattern.at(p + 1);
                literal = true;
                step = 2;
            }
        }
        if (p < pattern.size() && !literal && pc == QLatin1Char('%')) {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && ((!literal && pc == QLatin1Char('_')) || pc == text.at(t))) {
            p += step;
            ++t;
        } else if (starP >= 0) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

QString argumentText(sqlite3_value* value)
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return data ? QString::fromUtf8(data, sqlite3_value_bytes(value)) : QString();
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    const QString pattern = argumentText(argv[0]).toCaseFolded();
    const QString text = argumentText(argv[1]).toCaseFolded();
    QChar escape;
    if (argc == 3) {
        const QString e = argumentText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0).toCaseFolded();
    }
    sqlite3_result_int(context, likeMatch(pattern, text, escape) ? 1 : 0);
}

void registerTextRules(QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(0, QStringLiteral("El controlador de base de datos no es SQLite."));
    sqlite3* native = *static_cast<sqlite3* const*>(handle.constData());
    sqlite3_create_collation(native, "JET", SQLITE_UTF8, nullptr, jetCollation);
    sqlite3_create_function(native, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                            nullptr);
    sqlite3_create_function(native, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                            nullptr);
}

DbError errorOf(const QSqlError& error, const QString& context)
{
    const QString text = error.text();
    const int code = text.contains(QLatin1String("no such table"), Qt::CaseInsensitive) ? kErrTableNotFound : 0;
    return DbError(code, context.isEmpty() ? text : context + QStringLiteral(": ") + text);
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tervalo-%1").arg(++counter);
}

} // namespace

DbError::DbError(int code, const QString& message) : std::runtime_error(message.toStdString()), code_(code) {}

Row::Row(std::initializer_list<std::pair<QString, QVariant>> fields) : fields_(fields) {}

int Row::indexOf(const QString& field) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].first.compare(field, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool Row::has(const QString& field) const
{
    return indexOf(field) >= 0;
}

QVariant Row::value(const QString& field) const
{
    const int i = indexOf(field);
    return i < 0 ? QVariant() : fields_[i].second;
}

bool Row::isNull(const QString& field) const
{
    return value(field).isNull();
}

QString Row::text(const QString& field) const
{
    const QVariant v = value(field);
    return v.isNull() ? QString() : v.toString();
}

void Row::set(const QString& field, const QVariant& value)
{
    const int i = indexOf(field);
    if (i < 0)
        fields_.emplace_back(field, value);
    else
        fields_[i].second = value;
}

Database::Database(QString connectionName, QString file) : name_(std::move(connectionName)), file_(std::move(file)) {}

Database Database::open(const QString& hostFile)
{
    if (!QFileInfo(hostFile).isFile())
        throw DbError(0, QStringLiteral("No se encuentra la base de datos %1.").arg(hostFile));
    return openOrCreate(hostFile);
}

Database Database::openOrCreate(const QString& hostFile)
{
    const QString name = nextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(hostFile);
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw errorOf(error, QStringLiteral("No se puede abrir la base de datos %1").arg(hostFile));
        }
        try {
            registerTextRules(db);
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw;
        }
    }
    return Database(name, hostFile);
}

Database::Database(Database&& other) noexcept : name_(std::move(other.name_)), file_(std::move(other.file_))
{
    other.name_.clear();
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        name_ = std::move(other.name_);
        file_ = std::move(other.file_);
        other.name_.clear();
    }
    return *this;
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (name_.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(name_, false);
}

QSqlQuery Database::run(const QString& sql, const QVariantList& values) const
{
    if (name_.isEmpty())
        throw DbError(0, QStringLiteral("La base de datos está cerrada."));
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw errorOf(query.lastError(), QString());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw errorOf(query.lastError(), QString());
    return query;
}

std::vector<Row> Database::select(const QString& sql, const QVariantList& values) const
{
    QSqlQuery query = run(sql, values);
    std::vector<Row> rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        Row row;
        for (int i = 0; i < record.count(); ++i)
            row.set(record.fieldName(i), record.value(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<Row> Database::first(const QString& sql, const QVariantList& values) const
{
    QSqlQuery query = run(sql, values);
    if (!query.next())
        return std::nullopt;
    const QSqlRecord record = query.record();
    Row row;
    for (int i = 0; i < record.count(); ++i)
        row.set(record.fieldName(i), record.value(i));
    return row;
}

void Database::exec(const QString& sql, const QVariantList& values)
{
    run(sql, values);
}

qint64 Database::insert(const QString& table, const Row& row)
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const auto& [field, value] : row.fields()) {
        names << quoteName(field);
        marks << QStringLiteral("?");
        values << value;
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(quoteName(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    QSqlQuery query = run(sql, values);
    return query.lastInsertId().toLongLong();
}

void Database::update(const QString& table, const QString& keyField, const QVariant& key, const Row& changes)
{
    if (changes.fields().empty())
        return;
    QStringList sets;
    QVariantList values;
    for (const auto& [field, value] : changes.fields()) {
        sets << quoteName(field) + QStringLiteral(" = ?");
        values << value;
    }
    values << key;
    run(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
            .arg(quoteName(table), sets.join(QLatin1Char(',')), quoteName(keyField)),
        values);
}

void Database::remove(const QString& table, const QString& keyField, const QVariant& key)
{
    run(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoteName(table), quoteName(keyField)), {key});
}

bool Database::hasTable(const QString& table) const
{
    return first(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                 {table})
        .has_value();
}

Transaction::Transaction(Database& db) : db_(db)
{
    db_.exec(QStringLiteral("BEGIN"));
}

Transaction::~Transaction()
{
    if (open_) {
        try {
            db_.exec(QStringLiteral("ROLLBACK"));
        } catch (const DbError&) {
            // The connection may already be gone; nothing was committed.
        }
    }
}

void Transaction::commit()
{
    db_.exec(QStringLiteral("COMMIT"));
    open_ = false;
}

Savepoint::Savepoint(Database& db) : db_(db)
{
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("punto%1").arg(++counter);
    db_.exec(QStringLiteral("SAVEPOINT ") + name_);
}

Savepoint::~Savepoint()
{
    if (open_) {
        try {
            rollback();
        } catch (const DbError&) {
            // The enclosing transaction undoes it when it goes.
        }
    }
}

void Savepoint::release()
{
    open_ = false;
    db_.exec(QStringLiteral("RELEASE SAVEPOINT ") + name_);
}

void Savepoint::rollback()
{
    open_ = false;
    db_.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name_);
    db_.exec(QStringLiteral("RELEASE SAVEPOINT ") + name_);
}

QString quoteName(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QVariant dateValue(const QDate& date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
}

QDate toDate(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime)
        return value.toDate();
    const QString text = value.toString().trimmed();
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("d/M/yyyy"));
    return date;
}

QString formatDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

int compareText(const QString& a, const QString& b)
{
    return collator().compare(a, b);
}

} // namespace platform
