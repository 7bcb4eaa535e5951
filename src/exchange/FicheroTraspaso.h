#pragma once

#include "platform/Files.h"

#include <QString>
#include <QStringList>

#include <optional>

// The catalogue update files: single-byte Windows-1252 text, one record a
// line, lines ended by CR LF (a bare LF is taken as well). A line's kind is
// its first character, case counting; "." ends the content.
namespace traspaso {

// A file that is no Windows-1252 text: the text names the file and says why.
class CodificacionNoValida : public platform::FileError {
public:
    using platform::FileError::FileError;
};

// The lines of the file, without their ends; nothing when it does not exist.
// Throws platform::FileError when it exists and cannot be read, and
// CodificacionNoValida when it is written in UTF-8 or UTF-16 or holds a byte
// that Windows-1252 leaves undefined.
std::optional<QStringList> LeerLineas(const QString& hostPath);

// The characters of `linea` from position `desde` (from 1), `cuantos` of them
// or to the end of the line; fewer, or none, past its end.
QString Medio(const QString& linea, int desde, int cuantos = -1);

// A key number: digits only, blanks around them allowed.
std::optional<qint64> Numero(const QString& campo);

} // namespace traspaso
