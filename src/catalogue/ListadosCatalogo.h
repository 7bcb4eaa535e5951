#pragma once

#include <QString>

#include <vector>

namespace platform {
class PrintJob;
class Row;
} // namespace platform

// What the catalogue windows print of the rows their grid shows: Arial 11
// (Courier for the clauses), the bold underlined title at column 12, the
// bold headings, then the rows numbered from 1, the number ending in
// column 10.
namespace listados {

using Filas = std::vector<platform::Row>;

void ListadoTiposContrato(platform::PrintJob& job, const Filas& filas);
void ListadoContratos(platform::PrintJob& job, const Filas& filas);
void ListadoModelos(platform::PrintJob& job, const Filas& filas);
void ListadoMarcas(platform::PrintJob& job, const Filas& filas);
// The marks of one model, under the counter label's caption.
void ListadoMarcasDeModelo(platform::PrintJob& job, const Filas& filas, const QString& etiquetaContador);
// 70 characters of each clause to a line.
void ListadoClausulas(platform::PrintJob& job, const Filas& filas);

} // namespace listados
