#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class Database;
class Row;
} // namespace platform

// Rules of the catalogue tables that contract production reads: contract
// types, contracts, models, marks, the marks of each model and clauses.
// Links between the tables are kept by value; a change that touches several
// rows runs in one transaction, so it is made whole or not at all.
namespace catalogo {

// Deletes a contract type. Its contracts stay, with their type name, but lose
// the link: their IdTipoContrato (the type's id as text) becomes empty.
void BorrarTipoContrato(platform::Database& db, qint64 idTipoContrato);

// The IdTipoContrato, as decimal text, that a contract of the type named
// `nombre` keeps: that of the type with the name and the lowest id; empty
// when no type has the name.
QString IdTipoContratoDeNombre(const platform::Database& db, const QString& nombre);

// Deletes a model and the rows of its marks.
void BorrarModelo(platform::Database& db, qint64 idModelo);

// The model rows of the mark `codigo` and the names of their models, one per
// row; a row whose model is gone or whose IdModelo is no number names none.
struct UsosMarca {
    int filas = 0;
    QStringList modelos;
};
UsosMarca ModelosConMarca(const platform::Database& db, const QString& codigo);

// Deletes the mark `idMarca` and every model row of the code `codigo`.
void BorrarMarca(platform::Database& db, qint64 idMarca, const QString& codigo);

// The row of the mark `codigo` in the model `idModelo` (its id as text), if
// the model holds the mark.
std::optional<qint64> MarcaEnModelo(const platform::Database& db, const QString& idModelo, const QString& codigo);

// Adds a mark of the catalogue to a model: its code, description and length
// are copied; Veces stays empty (the mark occurs once).
void AnadirMarcaAModelo(platform::Database& db, const QString& idModelo, const platform::Row& marca);

// Counts a model's mark one more time: Veces "2", "3"...; a Veces that is
// no count of digits counts as once.
void RepetirMarcaEnModelo(platform::Database& db, qint64 idFila);

// Takes a mark out of a model: a repeated mark counts once again (Veces
// empty); a mark counted once leaves the model.
void QuitarMarcaDeModelo(platform::Database& db, qint64 idFila);

// Deletes a clause and the links that pre-select it for companies.
void BorrarClausula(platform::Database& db, qint64 idClausula);

} // namespace catalogo
