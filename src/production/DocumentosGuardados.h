#pragma once

#include "production/TextosContrato.h"

#include <QString>

// The documents of contract production kept per worker in the folder
// "C:\Quelvan\Dorvane\Contratos\": the company number, the worker number and
// a suffix by kind ("0012300045.doc", "0012300045P.doc", "0012300045CB.doc").
namespace produccion {

inline constexpr auto kCarpetaContratos = "C:\\Quelvan\\Dorvane\\Contratos";
inline constexpr auto kSufijoCopiaBasica = "CB.doc";

// ".doc", "P.doc" or "N.doc".
QString SufijoDocumento(ClaseDocumento clase);

// Why these numbers cannot name a stored document, for the user; empty when
// they can. Both must be filled and hold no character that a file name
// cannot carry.
QString ProblemaNombreDocumento(const QString& numEmpresa, const QString& numTrabajador);

// The file name without its folder ("0012300045.doc"). The numbers have
// passed ProblemaNombreDocumento.
QString NombreDocumento(const QString& numEmpresa, const QString& numTrabajador, const QString& sufijo);
// Its path on this computer.
QString RutaDocumento(const QString& nombre);

// Stores a copy of `origen` (a path on this computer) under the name given,
// creating the folder, replacing a document of that name only once the copy
// is whole. Throws platform::FileError with a text for the user.
void GuardarCopiaDocumento(const QString& origen, const QString& nombre);

} // namespace produccion
