#pragma once

#include <QString>

#include <functional>

namespace platform {
class Database;
}

// The catalogue update files a new version of the program brings: models with
// their marks, and contract types with contracts. Each procedure reads its
// file, writes the catalogue tables and tells the user how it went.
namespace actualizacion {

inline constexpr auto kFicheroModelos = "C:\\Quelvan\\Dorvane\\MarcasTras.txt";
inline constexpr auto kFicheroContratos = "C:\\Quelvan\\Dorvane\\ContratosTras.txt";

// The notice the calling window keeps up while a run works: shown once the
// file is found, taken away before the closing message.
struct Aviso {
    std::function<void()> mostrar;
    std::function<void()> quitar;
};

// Applies the model and mark file: new contract types, contracts, models and
// the marks of each model, and the replacement of model "P99". The whole file
// is applied at once or not at all; once applied it is deleted. Reports the
// number of models it went through.
void ImportarModelos(platform::Database& db, const QString& hostFile, const Aviso& aviso = {});

// Applies the contract type and contract file line by line: a line whose
// number is in the catalogue changes that row, any other adds a row with that
// number. The file stays; nothing is said when all went well.
void ActualizarContratos(platform::Database& db, const QString& hostFile, const Aviso& aviso = {});

} // namespace actualizacion
