#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The catalogue update files: single-byte Windows-1252 text, one record a
// line, lines ended by CR LF (a bare LF is taken as well). A line's kind is
// its first character, case counting; "." ends the content.
namespace traspaso {

// The lines of the file, without their ends; nothing when it does not exist.
// Throws platform::FileError when it exists and cannot be read.
std::optional<QStringList> LeerLineas(const QString& hostPath);

// The characters of `linea` from position `desde` (from 1), `cuantos` of them
// or to the end of the line; fewer, or none, past its end.
QString Medio(const QString& linea, int desde, int cuantos = -1);

// A key number: digits only, blanks around them allowed.
std::optional<qint64> Numero(const QString& campo);

} // namespace traspaso
