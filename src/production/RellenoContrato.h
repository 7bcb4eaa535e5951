#pragma once

#include "production/TextosContrato.h"

#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace platform {
class Database;
}

// The filling of a contract document: the chosen clauses, the marks, the
// contract description, and the place and date of its foot, each written
// at the end of the bookmark that the template keeps for it.
namespace produccion {

// A step of producing a document went wrong. `paso` says which, in words
// that follow "Error al " ("escribir las marcas"); the text of the error is
// the cause, for the user.
class FalloPaso : public std::runtime_error {
public:
    FalloPaso(QString paso, const QString& causa, bool sinMemoria = false);
    const QString& paso() const { return paso_; }
    QString causa() const { return QString::fromUtf8(what()); }
    // "Error al <paso>." and the cause on the next line; "No hay memoria
    // suficiente para <paso>." when the memory ran out.
    QString mensaje() const;

private:
    QString paso_;
    bool sinMemoria_;
};

// Runs `trabajo`; any failure comes out as a FalloPaso of `paso`, running out
// of memory too.
void EnPaso(const QString& paso, const std::function<void()>& trabajo);

// One row of the marks grid.
struct MarcaDocumento {
    QString codigo; // CódigoMarca
    QString valor;
    QString veces;  // how often the template carries it: "2" or "3" add occurrences
};

struct Relleno {
    ClaseDocumento clase = ClaseDocumento::Contrato;
    QString contrato;       // the chosen contract as shown
    QString codigoContrato; // its official code, "000" for none
    QString modelo;         // its model's name
    int idioma = 1;         // 1 Castilian, any other Catalan
    // The clause text; nothing when the catalogue has no clauses.
    std::optional<QString> clausulas;
    std::vector<MarcaDocumento> marcas;
    QString lugar;
    QString fechaContrato;  // "dd/mm/yyyy"; the empty mask when none
    bool mesEnLetras = false;
};

// What the marks 0223, 0222 and 0076 held, for the database.
struct ValoresMarcas {
    QString inicioProrroga;
    QString duracionProrroga;
    QString vencimientoContrato;
};

// Adds `texto` at the end of the bookmark `marcador`; a missing bookmark is
// an error.
using EscribirMarcador = std::function<void(const QString& marcador, const QString& texto)>;

// The heading and text of each chosen clause, one after the other in the
// order given, in the document's language. Nothing when the catalogue has
// no clauses at all; a chosen clause that is no longer there is left out.
std::optional<QString> TextoClausulas(const platform::Database& db, const std::vector<int>& elegidas, int idioma);

// Fills the document: clauses, marks, description, place and date, in that
// order. `progreso` gets the progress bar's new value (from 30 up to 700)
// as the work goes on. Throws FalloPaso.
ValoresMarcas RellenarDocumento(const Relleno& relleno, const EscribirMarcador& escribir,
                                const std::function<void(int)>& progreso = {});

// The bookmarks a mark is written at: "M" + its four-digit code, then
// "M2"/"M3" + its last three digits for a second or third occurrence.
QStringList MarcadoresDeMarca(const QString& codigo, const QString& veces);

} // namespace produccion
