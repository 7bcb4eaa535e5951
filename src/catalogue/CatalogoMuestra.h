#pragma once

#include <QString>

namespace platform {
class Database;
}

// The sample catalogue a new installation starts with, so that a contract
// can be made at once: a few contract types and contracts, two models with
// their marks and templates, and a few clauses. It lives in a folder of its
// own: "catalogo.json" (the rows, table by table) and "plantillas" (the
// template files).
namespace muestra {

// Copies into the program folder the templates it lacks, and adds the rows
// when the database has no catalogue yet (no contract type, contract or
// model), all of them or none. Returns whether rows were added. Throws
// platform::FileError or platform::DbError.
bool InstalarCatalogo(platform::Database& db, const QString& carpetaMuestra);

} // namespace muestra
