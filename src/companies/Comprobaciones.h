#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Checks of what the user types in the company and worker boxes, and the
// control digits of the Social Security numbers.
namespace comprobaciones {

// A refused value: the message for the user and its title (empty: the
// program's title).
struct Rechazo {
    QString texto;
    QString titulo;
};

// Whether a text reads as a number the way the run time takes one: blanks
// around it, a sign, a decimal separator and an exponent allowed.
bool EsNumerico(const QString& texto);

// A text of digits only (a whole number without sign).
bool EsEntero(const QString& texto);

// A text of digits shown with `cifras` leading zeros ("7" → "00007"); any
// other text unchanged.
QString ConCeros(const QString& texto, int cifras = 5);

// Postal code: empty, or five characters that read as a number.
std::optional<Rechazo> CodigoPostal(const QString& texto);
// Telephone or fax: empty, or nine characters that read as a number.
std::optional<Rechazo> Telefono(const QString& texto, bool fax);
// Birth date as the masked box holds it ("dd/mm/yyyy", "_" where no digit
// was typed): empty, or a date that exists, from 1900, of a worker who turns
// 16 this year or earlier.
std::optional<Rechazo> FechaNacimiento(const QString& texto, const QDate& hoy);

// The province of a postal code by its first two digits ("28001" →
// "Madrid."); empty for any other code.
QString Provincia(const QString& codigoPostal);

// A Social Security number as its masked box holds it: two province
// digits, a body of `cifrasCuerpo` digits (8 for a worker's NISS, 7 for a
// company's contribution account) and two control digits, separated by "/".
struct NumeroSS {
    QString control;  // the two control digits the number must carry
    QString correcto; // the number with those control digits
};
// Nothing when a digit of the province or of the body is missing.
std::optional<NumeroSS> ControlSS(const QString& texto, int cifrasCuerpo);

} // namespace comprobaciones
