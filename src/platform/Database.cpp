#include "platform/Database.h"

#include "platform/Checkpoint.h"
#include "platform/Paths.h"

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
#include <cerrno>
#include <cstring>

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
    // Equal bytes but for trailing blanks are equal text: the common case of
    // a look-up, answered without decoding.
    const auto* bytesA = static_cast<const char*>(a);
    const auto* bytesB = static_cast<const char*>(b);
    int endA = lengthA;
    int endB = lengthB;
    while (endA > 0 && bytesA[endA - 1] == ' ')
        --endA;
    while (endB > 0 && bytesB[endB - 1] == ' ')
        --endB;
    if (endA == endB && std::memcmp(bytesA, bytesB, static_cast<std::size_t>(endA)) == 0)
        return 0;
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

sqlite3* nativeHandle(const QSqlDatabase& db)
{
    if (!db.isOpen())
        throw DbError(0, QStringLiteral("La base de datos está cerrada."));
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(0, QStringLiteral("El controlador de base de datos no es SQLite."));
    return *static_cast<sqlite3* const*>(handle.constData());
}

void registerTextRules(QSqlDatabase& db)
{
    sqlite3* native = nativeHandle(db);
    sqlite3_create_collation(native, "JET", SQLITE_UTF8, nullptr, jetCollation);
    sqlite3_create_function(native, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                            nullptr);
    sqlite3_create_function(native, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                            nullptr);
    // The automatic indexes SQLite builds for a join miss equal values of
    // different lengths under a collation that ignores trailing blanks (seen
    // with 3.40), so a padded name would not meet its company.
    sqlite3_exec(native, "PRAGMA automatic_index = OFF", nullptr, nullptr, nullptr);
}

DbError damagedFile()
{
    return DbError(kErrDamaged, QStringLiteral("El archivo no es una base de datos o está dañado."));
}

// SQLite's own text, or the program's where the file itself failed: SQLite
// says only that it is locked, full or not a database, in English.
// `systemError` is the host's reason for the last failed read or write (0
// when unknown): a file that may grow no further fails as a full disk does.
DbError errorOf(int sqliteCode, int systemError, const QString& text, const QString& context)
{
    const int primary = sqliteCode & 0xff;
    if (primary == SQLITE_FULL
        || (primary == SQLITE_IOERR && (systemError == ENOSPC || systemError == EFBIG || systemError == EDQUOT)))
        return DbError(kErrDiskFull, QStringLiteral("El disco está lleno."));
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError(kErrLocked, QStringLiteral("Otro programa está usando la base de datos."));
    case SQLITE_IOERR:
        return DbError(kErrCannotWrite, QStringLiteral("Ha fallado la lectura o la escritura del disco."));
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return DbError(kErrCannotWrite,
                       QStringLiteral("No se puede escribir en el archivo de la base de datos o en su carpeta."));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return damagedFile();
    default:
        break;
    }
    const int code = text.contains(QLatin1String("no such table"), Qt::CaseInsensitive) ? kErrTableNotFound : 0;
    return DbError(code, context.isEmpty() ? text : context + QStringLiteral(": ") + text);
}

DbError errorOf(const QSqlError& error, sqlite3* db, const QString& context)
{
    return errorOf(error.nativeErrorCode().toInt(), db ? sqlite3_system_errno(db) : 0, error.text(), context);
}

DbError errorOf(sqlite3* db)
{
    return errorOf(sqlite3_errcode(db), sqlite3_system_errno(db), QString::fromUtf8(sqlite3_errmsg(db)), QString());
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tervalo-%1").arg(++counter);
}

} // namespace

DbError::DbError(int code, const QString& message) : std::runtime_error(message.toStdString()), code_(code) {}

bool DbError::inTheFile() const
{
    return code_ == kErrLocked || code_ == kErrDiskFull || code_ == kErrCannotWrite || code_ == kErrDamaged;
}

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
        throw DbError(0, QStringLiteral("No se encuentra la base de datos %1.").arg(windowsPath(hostFile)));
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
            throw errorOf(error, nullptr,
                          QStringLiteral("No se puede abrir la base de datos %1").arg(windowsPath(hostFile)));
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
        throw errorOf(query.lastError(), nativeHandle(connection()), QString());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw errorOf(query.lastError(), nativeHandle(connection()), QString());
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

void Database::checkIntegrity() const
{
    // One error is enough to know; SQLite's quick check reads every page.
    const auto result = first(QStringLiteral("PRAGMA quick_check(1)"));
    if (!result || result->fields().front().second.toString() != QLatin1String("ok"))
        throw damagedFile();
}

Statement::Statement(const Database& db, const QString& sql) : db_(nativeHandle(db.connection()))
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()), &statement_, nullptr) != SQLITE_OK) {
        const DbError error = errorOf(db_);
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        throw error;
    }
}

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), statement_(std::exchange(other.statement_, nullptr)),
      pendingRow_(std::exchange(other.pendingRow_, false)), onRow_(std::exchange(other.onRow_, false))
{
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = std::exchange(other.db_, nullptr);
        statement_ = std::exchange(other.statement_, nullptr);
        pendingRow_ = std::exchange(other.pendingRow_, false);
        onRow_ = std::exchange(other.onRow_, false);
    }
    return *this;
}

Statement::~Statement()
{
    sqlite3_finalize(statement_);
}

void Statement::exec(const QVariantList& values)
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    pendingRow_ = onRow_ = false;
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        const int place = i + 1;
        int result = SQLITE_OK;
        if (value.isNull()) {
            result = sqlite3_bind_null(statement_, place);
        } else {
            switch (value.metaType().id()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                result = sqlite3_bind_int64(statement_, place, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                result = sqlite3_bind_double(statement_, place, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                result = sqlite3_bind_blob(statement_, place, bytes.constData(), static_cast<int>(bytes.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString text = value.toString();
                result = sqlite3_bind_text16(statement_, place, text.utf16(), static_cast<int>(text.size() * 2),
                                             SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (result != SQLITE_OK)
            throw errorOf(db_);
    }
    switch (sqlite3_step(statement_)) {
    case SQLITE_ROW:
        pendingRow_ = true;
        break;
    case SQLITE_DONE:
        break;
    default:
        throw errorOf(db_);
    }
}

bool Statement::next()
{
    if (pendingRow_) {
        pendingRow_ = false;
        onRow_ = true;
        return true;
    }
    if (!onRow_)
        return false;
    switch (sqlite3_step(statement_)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        onRow_ = false;
        return false;
    default:
        onRow_ = false;
        throw errorOf(db_);
    }
}

QVariant Statement::value(int column) const
{
    if (!onRow_ || column < 0 || column >= sqlite3_column_count(statement_))
        return {};
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                                   sqlite3_column_bytes(statement_, column)));
    case SQLITE_NULL:
        return {};
    default:
        return QVariant(QString(reinterpret_cast<const QChar*>(sqlite3_column_text16(statement_, column)),
                                sqlite3_column_bytes16(statement_, column) / 2));
    }
}

qint64 Statement::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
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
    checkpoint();
    db_.exec(QStringLiteral("COMMIT"));
    open_ = false;
    checkpoint();
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

Condition beginsWith(const QString& field, const QString& text)
{
    QString pattern;
    pattern.reserve(text.size() + 1);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    return {quoteName(field) + QStringLiteral(R"( LIKE ? ESCAPE '\')"), {pattern + QLatin1Char('%')}};
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
    // The two shapes dates come in, read directly: a listing or a copy reads
    // many thousands of them.
    const auto digits = [&text](qsizetype from, qsizetype count) {
        int number = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            number = number * 10 + (c - u'0');
        }
        return number;
    };
    if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')
        && (text.size() == 10 || text.at(10) == QLatin1Char('T') || text.at(10) == QLatin1Char(' '))) {
        const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
        if (year >= 0 && month >= 0 && day >= 0)
            return QDate(year, month, day);
    }
    const qsizetype firstSlash = text.indexOf(QLatin1Char('/'));
    const qsizetype secondSlash = text.indexOf(QLatin1Char('/'), firstSlash + 1);
    if ((firstSlash == 1 || firstSlash == 2) && (secondSlash - firstSlash == 2 || secondSlash - firstSlash == 3)
        && text.size() - secondSlash == 5) {
        const int day = digits(0, firstSlash), month = digits(firstSlash + 1, secondSlash - firstSlash - 1),
                  year = digits(secondSlash + 1, 4);
        if (year >= 0 && month >= 0 && day >= 0)
            return QDate(year, month, day);
    }
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("d/M/yyyy"));
    return date;
}

QString formatDate(const QDate& date)
{
    if (!date.isValid())
        return {};
    const int year = date.year();
    if (year < 0 || year > 9999)
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    // Written directly: listings show many thousands of dates.
    const auto digit = [](int n) { return QChar(u'0' + n % 10); };
    const QChar text[] = {digit(date.day() / 10), digit(date.day()),       QLatin1Char('/'),
                          digit(date.month() / 10), digit(date.month()),   QLatin1Char('/'),
                          digit(year / 1000),       digit(year / 100),     digit(year / 10), digit(year)};
    return QString(text, 10);
}

QString dateText(const QVariant& value)
{
    if (value.isNull())
        return {};
    const QDate date = toDate(value);
    return date.isValid() ? formatDate(date) : value.toString();
}

int compareText(const QString& a, const QString& b)
{
    // Trailing blanks do not count, so a value padded to its width equals the
    // same value trimmed.
    const auto withoutTrailingBlanks = [](const QString& text) {
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
            --end;
        return QStringView(text).left(end);
    };
    const QStringView left = withoutTrailingBlanks(a);
    const QStringView right = withoutTrailingBlanks(b);
    if (left == right)
        return 0;
    return collator().compare(left, right);
}

} // namespace platform
