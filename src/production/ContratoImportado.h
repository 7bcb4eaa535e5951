#pragma once

#include "exchange/ContratoImportado.h"

#include <QString>

#include <optional>

// The contract record that the payroll server leaves for each contract (a
// file of the import's folder exchange::kContratosTemp named by the company
// number and the worker number), read into the marks grid.
namespace contrato_importado {

// What the record gives a mark whose grid description is `descripcion`: the
// text for its value, or nothing when the grid keeps the value it has (no
// date "00000000", no value "000" and twelve blanks, or a blank value of a
// mark without fixed values). A date mark (the description says "FECHA", the
// length is 8) is laid out as its places 1-2, "/", 3-4, "/", 5-8, whatever
// they hold: the user sees it in the grid and corrects it there. Past the end
// of a short record the value is blank.
std::optional<QString> Valor(const QString& registro, const exchange::Disposicion::Marca& marca,
                             const QString& descripcion);

// The record file of a company and a worker, or nothing when the numbers
// cannot name one (either empty, or holding a character no file name takes).
std::optional<QString> RutaRegistro(const QString& numEmpresa, const QString& numTrabajador);

} // namespace contrato_importado
