#pragma once

#include "production/DatosContrato.h"

#include <QString>

#include <optional>

namespace platform {
class Database;
}

// What contract production writes to the database once a document is
// produced: the list of stored documents, the contract on the worker, and
// the company and worker as the window held them.
namespace produccion {

// The worker stored with this number in the (first) company of this
// number; nothing when there is none or a number is not one.
std::optional<qint64> BuscarTrabajador(const platform::Database& db, const QString& numEmpresa,
                                       const QString& numTrabajador);

// Stores a produced document: the file `archivo` copied to `destino` in
// the folder of stored contracts, replacing a document of that name, with
// its row in ContratosGrabados (the file name kept for contracts only) and,
// on the worker `idTrabajador` when given, the contract or the extension.
// All or nothing, whenever the program is stopped: the copy waits beside its
// place under a hidden name that carries its row's key, and takes the place
// of the older document only once the row and the worker are committed; a
// storing that fails takes that copy away with it. What a stopped program
// left waiting is settled first.
void GrabarDocumento(platform::Database& db, const DocumentoProducido& documento, const QString& archivo,
                     const QString& destino, std::optional<qint64> idTrabajador);

// Settles the documents a stopped program left waiting in the folder of
// stored contracts: one whose row was committed takes its place, one whose
// row never was is removed and the older document stays. Run at start-up,
// and before a document is stored, so that a key given back by a storing
// cut short meets no copy of it.
void TerminarDocumentosGuardados(const platform::Database& db);

// Stores the company and the worker as the window held them, asking before
// a company or a worker is added and before one stored under the same
// number with another name is overwritten. A worker found under the same
// name is brought up to date without a question. The worker is looked up
// within the company; when no company is kept the worker is not written.
// `vencimientoFicha` is the end date the record window shows, when it is
// open; today's date comes from the clock.
void GuardarEmpresaYTrabajador(platform::Database& db, const DocumentoProducido& documento,
                               const DatosEmpresaContrato& empresa, const DatosTrabajadorContrato& trabajador,
                               const QString& vencimientoFicha);

// The contract on the worker that the record window saved before it opened
// contract production: names, the contract's id, today as its date and its
// end date (the record window's, else the document's, else unchanged).
// Nothing is written unless that worker has the document's worker number in
// the company of the document's company number.
void AnotarContratoEnTrabajador(platform::Database& db, qint64 idTrabajador, const DocumentoProducido& documento,
                                const QString& vencimientoFicha);

} // namespace produccion
