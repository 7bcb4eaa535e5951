#pragma once

#include <QString>

namespace platform {
class Database;
}

// The database's tables and fields, declared once. Text fields compare and
// sort without regard to case (collation JET); counters are never reused.
namespace esquema {

// Version 2 adds the indexes: one link per company and clause, and the
// look-ups of companies by number and of workers by company and number.
// Version 3 adds the table of the record files an import has read.
inline constexpr int kVersion = 3;

// Creates every table and index of the current version in an empty
// database, in one transaction.
void crear(platform::Database& db);

// Brings a database of an earlier version of this schema up to the current
// one, each step in its own transaction. A database without the current
// tables (an older generation, moved over by the one-time upgrade) is left
// as it is.
void actualizar(platform::Database& db);

// Creates the database file at `ruta` (a Windows path or a host one) from the
// schema when it is missing. Returns true when it was created. A failure
// leaves nothing behind and is a DbError naming the file as `ruta` does.
bool crearSiFalta(const QString& ruta);

// Creates the working database and the fresh empty one where they are
// missing, as an installation would have left them.
void crearBasesDeDatosQueFalten();

} // namespace esquema
