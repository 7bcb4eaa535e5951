#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct DatosConfiguracion;

namespace exchange {

// The start of the names of the user's files on the server: the user's key
// without its blanks, or "99" for a key of two blanks.
QByteArray ClaveFicheros(const QString& claveUsuario);

// What the user is told when the server cannot be reached or fails.
inline constexpr auto kErrorServidor = "Se ha producido un error al conectar con el Servidor UNIX.";

// How a fetch went.
struct ResultadoTraida {
    // When the fetch did not go through whole, the message that tells why:
    // the connection, the login or the folder failed, a file did not arrive
    // whole, or a file could not be written here (a full disk, a folder that
    // cannot be written; those files stay on the server). What did arrive
    // stays for the import.
    std::optional<QString> fallo;
    // The fetch stopped on a full disk, and its message says so for the
    // import that follows too.
    bool discoLleno = false;
};

// Fetches the user's record files of the payroll server into ContratosImp and
// deletes each one there once it is whole in place. A file whose name could
// not be filed in ContratosTemp, and a folder, stay on the server; the names
// of such files are told. Files the server does not let the program delete
// are told too: they are here, and will come again.
ResultadoTraida TraerContratosServidor(const DatosConfiguracion& datos);

} // namespace exchange
