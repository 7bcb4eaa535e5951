#pragma once

#include <QString>
#include <QVariant>

#include <array>

class class_Elastic;

namespace platform {
class Database;
}

// Process-wide state through which the windows pass what they share, and the
// small procedures every window uses. All of it starts empty, zero or false.

extern QString RutaBD;                   // path of the database file (Windows form)
extern QString IdEmpresaActual;          // IdEmpresa (as text) of the company opened from the list
extern bool EditandoEmpresa;             // the record window edits an existing company
extern QString PrimeraCarga;             // "No" once the main window's start-up pass has run
extern QString CodigoContrato;           // code of the contract chosen for production
extern QString ModeloContrato;           // its model name
extern QString RutaPlantilla;            // full path of its template
extern QVariant IdTrabajadorGrabado;     // worker the record window saved last
extern bool TrabajadorGrabadoParaContrato;
extern QVariant IdTrabajadorContrato;    // worker the contract is made for
extern bool CargandoClausulas;           // clause boxes are being set by code
extern bool CopiasAceptadas;             // "Aceptar" of a copies prompt was pressed
extern int NumClausulas;
extern std::array<int, 7> ClausulasElegidas; // company's clauses in 0..5 (0 = free); 6 unused

// The one shared proportional-layout object, made on first use.
class_Elastic& Elastico();

// Back to the state of a fresh process (tests start each case from it).
void ReiniciarVariablesGlobales();

void InicializarClausulas();
// Waits `segundos` while the windows keep working.
void Esperar(double segundos);
// Drops the printer control codes Chr(15), Chr(18), ESC "E" and ESC "F".
QString QuitarCodigosImpresora(const QString& texto);
// Every "_" becomes a blank.
QString CambiarGuiones(const QString& texto);
// Heading of the n-th clause: idioma 1 Castilian, 2 Catalan; empty outside the tables.
QString OrdinalClausula(int n, int idioma);
void RutaBaseDatos();
// Opens the database file named by RutaBD, brought up to the current
// version of the schema.
platform::Database AbrirBaseDatos();

// Where the working database and the fresh empty one are kept.
inline constexpr auto kRutaBaseDatos = "C:\\Quelvan\\Dorvane\\Tervalo.mdb";
inline constexpr auto kRutaBaseDatosVacia = "C:\\Tervalo.mdb";
