#pragma once

#include <QString>

namespace platform {
class Database;
}

// The database's tables and fields, declared once. Text fields compare and
// sort without regard to case (collation JET); counters are never reused.
namespace esquema {

inline constexpr int kVersion = 1;

// Creates every table in an empty database, in one transaction.
void crear(platform::Database& db);

// Creates the database file from the schema when it is missing.
// Returns true when it was created.
bool crearSiFalta(const QString& hostFile);

// Creates the working database and the fresh empty one where they are
// missing, as an installation would have left them.
void crearBasesDeDatosQueFalten();

} // namespace esquema
