#pragma once

#include "exchange/ContratoImportado.h"

#include <QString>

#include <optional>

// The contract record that the payroll server leaves for each contract (a
// file of the import's folder exchange::kContratosTemp named by the company
// number and the worker number), read into the marks grid.
namespace contrato_importado {

// What the record gives a mark whose grid description is `descripcion`.
struct ValorImportado {
    // The text for its value, or nothing when the grid keeps the value it
    // has (no date "00000000", no value "000" and twelve blanks, a blank
    // value of a mark without fixed values, an incorrect date).
    std::optional<QString> valor;
    // A date mark whose eight places are no date ddmmyyyy: its text
    // day/month/year, for the message.
    std::optional<QString> fechaIncorrecta;
};

// A date of eight figures ddmmyyyy becomes dd/mm/yyyy when the description
// says "FECHA". Past the end of a short record the value is blank.
ValorImportado Valor(const QString& registro, const exchange::Disposicion::Marca& marca, const QString& descripcion);

// The record file of a company and a worker, or nothing when the numbers
// cannot name one (either empty, or holding a character no file name takes).
std::optional<QString> RutaRegistro(const QString& numEmpresa, const QString& numTrabajador);

} // namespace contrato_importado
