#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Where documents live and what is written into them outside the generator.

inline constexpr auto kCarpetaContratos = "C:\\Quelvan\\Dorvane\\Contratos\\"; // stored documents
inline constexpr auto kBorrador = "C:\\Borrador.doc"; // scratch copy: template checks, stored contract's copia básica
inline constexpr auto kRegistroSubcontratas = "C:\\Quelvan\\Dorvane\\RegSubcontratas.rtf";

// Turn-over message of manual double-sided printing in the record window and
// the saved-contracts list.
inline constexpr auto kAvisoSegundaCara =
    "Una vez finalizada la impresión de la primera hoja situe la segunda en la bandeja";

// A new, empty, uniquely named file "Contrato….tmp" in the temporary folder
// (its host path), readable by its owner only. Whoever makes one gives it up
// with platform::releaseWorkingCopy once done with it. Throws
// platform::FileError.
QString ArchivoTemporal();

// At the start of the program, what earlier runs left with personal data
// goes: the working copies "Contrato….tmp", the files of conversions and
// prints, and the scratch document "C:\Borrador.doc".
void BorrarCopiasDeTrabajoAnteriores();

// Host path of a file of "C:\Quelvan\Dorvane\Contratos\" by its name
// (".doc" included), matched without regard to case. Empty when the name
// cannot be a file name there (empty, a folder, a path separator).
QString RutaEnCarpetaContratos(const QString& nombre);

// Host path of a stored document in "C:\Quelvan\Dorvane\Contratos\": the
// company number, the worker number and the suffix (".doc", "P.doc",
// "N.doc", or a copia básica's, below). Empty when the numbers cannot form
// a file name (missing, or holding characters a file name cannot have).
QString RutaDocumentoGuardado(const QString& numEmpresa, const QString& numTrabajador, const QString& sufijo);

// What the user is told when a stored document is not in the contracts
// folder: the file named as the program knows it,
// "C:\Quelvan\Dorvane\Contratos\" and `nombre`. A critical message.
QString DocumentoGuardadoNoEncontrado(const QString& nombre, bool prorroga = false);

// The suffix of the copia básica of a stored document: "CB" before the
// document's own extension, so that each copy lies beside its document and
// none replaces another's: ".doc" (a contract) gives "CB.doc", "P.doc" (an
// extension) "PCB.doc", "N.doc" (a notification) "NCB.doc".
QString SufijoCopiaBasica(const QString& sufijoDocumento);

// Copies a document file whole, replacing the target through a temporary
// file; the copy is readable by its owner only. Throws
// platform::DocumentError (missing source) or platform::FileError.
void CopiarDocumento(const QString& origen, const QString& destino);

// Critical message when a template or the register cannot be opened.
QString MensajePlantillaNoSeAbre();

// The marks of the worker's personal data (with their second and third
// occurrences), which a copia básica must not carry.
QStringList MarcasDatosPersonales();

// The texts of a copia básica, bookmark by bookmark in writing order.
struct TextoMarca {
    QString marca;
    QString texto;
};
enum class VarianteCopiaBasica {
    ContratoGuardado, // a stored contract reopened (record window, saved-contracts list)
    Produccion,       // the document just made by contract production
};
// `idioma` 1 Castilian, otherwise Catalan (production only); with
// `firmasPrimeraPagina` production also writes "BPIE1" and "BPIE2".
std::vector<TextoMarca> TextosCopiaBasica(VarianteCopiaBasica variante, int idioma = 1,
                                          bool firmasPrimeraPagina = false);
