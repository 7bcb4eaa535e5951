#pragma once

#include "platform/Printer.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace platform {
class Form;
class Row;
}

// The printed listings of the windows: the printer dialog, a bold underlined
// title, bold column headings, numbered rows in print columns, and the
// record sheets (a label and its value per line). No page headings, page
// numbers or dates: a long list runs on to the next page.
namespace listado {

inline constexpr auto kSinRegistros = "No hay ningun registro a imprimir";

inline constexpr int kColumnaTitulo = 12;
inline constexpr int kColumnaEncabezado = 8; // "Núm." and the labels of a sheet
inline constexpr int kColumnaNumero = 10;    // last digit of the running number
inline constexpr int kColumnaNombre = 20;    // the name of a plain list
inline constexpr int kColumnaValorEmpresa = 34;
inline constexpr int kColumnaValorTrabajador = 37;

// A text at a print column. On paper it keeps within its column: up to the
// next cell's column, where a longer text goes on at its own column on the
// next lines, as the lines after a line break in it do.
using Celda = platform::PrintCell;
using Fila = std::vector<Celda>;

// Rows of a listing from the records a window shows, in their order: for
// each record, each field's text at its column.
std::vector<Fila> Filas(const std::vector<platform::Row>& registros,
                        const std::vector<std::pair<int, QString>>& columnasCampos);

// Prints from `ventana`: the printer dialog first (cancelled, nothing is
// printed and false is returned), then the hourglass while `contenido`
// writes the document, the end of the document, a pause of `pausa` seconds
// and the normal pointer again. The printer's queue shows the job by its
// title (Titulo), or by the window's caption when it has none. False also
// when the printer failed (the user has been told).
bool Imprimir(platform::Form& ventana, const std::function<void(platform::PrintJob&)>& contenido, double pausa = 0);

// Font `fuente` at 11 points and two empty lines.
void Apertura(platform::PrintJob& job, const QString& fuente = QStringLiteral("Arial"));
// Bold and underline on, the title at `columna` on a line of its own,
// underline off (bold stays on). The first title names the job.
void Titulo(platform::PrintJob& job, const QString& titulo, int columna = kColumnaTitulo);
// One line with each text at its column (more when a text needs them).
void Linea(platform::PrintJob& job, const Fila& celdas);
// The running number n with its last digit in column 10, then the cells.
void FilaNumerada(platform::PrintJob& job, qint64 n, const Fila& celdas);
// Two empty lines, the bold headings ("Núm." at column 8, then
// `encabezados`), bold off, and the rows numbered from 1; no rows, the
// message "No hay ningun registro a imprimir" instead.
void Lista(platform::PrintJob& job, const Fila& encabezados, const std::vector<Fila>& filas);
// Bold off, two empty lines, and one line per field: its label at column 8
// and its value at `columnaValor`.
void Ficha(platform::PrintJob& job, int columnaValor, const std::vector<std::pair<QString, QString>>& campos);

// The usual listing of a window: Arial (or `fuente`), the title at column
// 12, the headings and the numbered rows.
bool ImprimirListado(platform::Form& ventana, const QString& titulo, const Fila& encabezados,
                     const std::vector<Fila>& filas, const QString& fuente = QStringLiteral("Arial"),
                     double pausa = 0);

} // namespace listado
