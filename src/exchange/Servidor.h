#pragma once

#include <QByteArray>
#include <QString>

struct DatosConfiguracion;

namespace exchange {

// The start of the names of the user's files on the server: the user's key
// without its blanks, or "99" for a key of two blanks.
QByteArray ClaveFicheros(const QString& claveUsuario);

// Fetches the user's record files of the payroll server into ContratosImp and
// deletes each one there once it is whole in place. A file whose name could
// not be filed in ContratosTemp, and a folder, stay on the server; the names
// of such files are told. False when the connection, the login or the folder
// failed, or a file did not arrive whole or could not be deleted; what did
// arrive stays for the import.
bool TraerContratosServidor(const DatosConfiguracion& datos);

} // namespace exchange
