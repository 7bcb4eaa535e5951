#pragma once

#include <QString>

#include <vector>

namespace platform {
class Row;
}

// What the catalogue windows print: a bold underlined title at column 12, bold
// heading lines, then the lines of the rows. Columns are character columns of
// the listing's font, counted from 1; a value starts at its column.
namespace listados {

struct Celda {
    int columna;
    QString texto;
};
using Linea = std::vector<Celda>;

struct Listado {
    QString fuente = QStringLiteral("Arial");
    QString titulo;
    // Lines between the title and the rows, in bold (an empty one is a blank line).
    std::vector<Linea> cabecera;
    std::vector<Linea> lineas;
    // Rows listed; with none the window says there is nothing to print.
    int registros = 0;
};

// The running number of a row, printed as a number (a leading blank) so that
// its last digit stands in column 10.
Celda NumeroFila(int n);
// A text that ends in column `ultima`.
Celda AlineadoHasta(int ultima, const QString& texto);

using Filas = std::vector<platform::Row>;

Listado ListadoTiposContrato(const Filas& filas);
Listado ListadoContratos(const Filas& filas);
Listado ListadoModelos(const Filas& filas);
Listado ListadoMarcas(const Filas& filas);
// The marks of one model; `etiquetaContador` is the counter label's caption.
Listado ListadoMarcasDeModelo(const Filas& filas, const QString& etiquetaContador);
// In Courier: 70 characters of each clause to a line.
Listado ListadoClausulas(const Filas& filas);

// The lines of a clause: its first 70 characters, then as many slices of 70
// as its length divided by 70 gives, rounded half to even (a slice past the
// end is an empty line).
std::vector<QString> TrozosClausula(const QString& clausula);

} // namespace listados
