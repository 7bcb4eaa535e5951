#include "Drivers.h"
#include "Entorno.h"

#include "data/Configuracion.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace fuzz {

// Whatever "config" holds: converted once from the old layout, or kept when
// it already is a record; then read, and written back by a window that
// changes none of the fields, which must leave the file as it was.
void Configuracion(const uint8_t* data, std::size_t size)
{
    Borrar(kRutaConfiguracionAntigua);
    Escribir(kRutaConfiguracion, data, size);
    const QString fichero = platform::hostPath(QString::fromLatin1(kRutaConfiguracion));
    try {
        ConvertirConfiguracion();
        const QByteArray antes = platform::readWholeFile(fichero);
        ActualizarConfiguracion([](DatosConfiguracion&) {});
        if (platform::readWholeFile(fichero) != antes)
            Fallo(QStringLiteral("grabar el registro sin cambios ha cambiado el archivo"));
    } catch (const platform::FileError&) {
        // A file that cannot be read or written, said to the user.
    }
}

} // namespace fuzz
