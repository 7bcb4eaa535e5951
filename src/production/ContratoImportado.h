#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace platform {
class Database;
}

// The contract record that the payroll server leaves for each contract (a
// file of the import's folder exchange::kContratosTemp named by the company
// number and the worker number): for every mark of the catalogue, in code
// order, its value in exactly its length of single-byte text, then one
// separator byte.
namespace contrato_importado {

struct Marca {
    QString codigo;
    int longitud = 0;
    QString valoresFijos;
    int inicio = 0; // offset of its value in the record, from 0
};

// The marks of the catalogue in the order the record holds them.
class Disposicion {
public:
    // Reads table Marcas in code order.
    static Disposicion leer(const platform::Database& db);
    // `marcas` in code order; their offsets are worked out here.
    explicit Disposicion(std::vector<Marca> marcas);

    // The first mark with exactly this code, or null.
    const Marca* buscar(const QString& codigo) const;
    // The length of the record so laid out: every value and its separator.
    qsizetype longitud() const { return longitud_; }
    // Whether the character at `offset` (from 0) is the separator after a
    // value, which nothing reads.
    bool esSeparador(qsizetype offset) const;

private:
    std::vector<Marca> marcas_;
    qsizetype longitud_ = 0;
};

// What the record gives a mark whose grid description is `descripcion`: the
// text for its value, or nothing when the grid keeps the value it has (no
// date "00000000", no value "000" and twelve blanks, or a blank value of a
// mark without fixed values). A date of eight figures ddmmyyyy becomes
// dd/mm/yyyy when the description says "FECHA". Past the end of a short
// record the value is blank.
std::optional<QString> Valor(const QString& registro, const Marca& marca, const QString& descripcion);

// The record file of a company and a worker, or nothing when the numbers
// cannot name one (either empty, or holding a character no file name takes).
std::optional<QString> RutaRegistro(const QString& numEmpresa, const QString& numTrabajador);

} // namespace contrato_importado
