#pragma once

#include <QString>

#include <optional>

// What a produced document says besides the marks: the kind of document,
// the contract description after its code, and the month of its date.
namespace produccion {

// Told by the contract type's name: "PRORROGA" is an extension,
// "Notificación" a notification, any other type a contract.
enum class ClaseDocumento { Contrato, Prorroga, Notificacion };
ClaseDocumento ClaseDeTipo(const QString& tipoContrato);
// How the stored document's name ends: ".doc", "P.doc" or "N.doc".
QString SufijoDocumento(ClaseDocumento clase);

// Extensions, notifications and the fixed-term works contracts carry no
// clauses. `contrato` is the chosen contract as the window shows it,
// "code - name" or the name alone.
bool LlevaClausulas(ClaseDocumento clase, const QString& contrato);
// Place and date go into extensions, notifications and every contract with
// an official code (other than "000").
bool LlevaLugarYFecha(ClaseDocumento clase, const QString& codigoContrato);

// The text for the bookmark "Nombre": the official code followed by its
// description in the document's language (1 Castilian, any other Catalan).
// Nothing when the bookmark is left as it is (code "000", a code worth 920,
// no code); an empty text for a code without a description.
std::optional<QString> TextoNombre(const QString& codigoContrato, int idioma, const QString& modelo);

// "Gener" .. "Desembre"; empty outside 1 to 12.
QString MesCatala(int mes);
// "enero" .. "diciembre", whatever the language of the computer; empty
// outside 1 to 12.
QString MesCastellano(int mes);

// The day, month and year written at the foot from the contract date
// ("dd/mm/yyyy"). The month goes as its two digits, or by name in the
// document's language.
struct PieFecha {
    QString dia;
    QString mes;
    QString anio;
};
// Nothing when the date is not a real one.
std::optional<PieFecha> FechaDelPie(const QString& fecha, int idioma, bool mesEnLetras);

} // namespace produccion
