#include "exchange/Servidor.h"

#include "data/Configuracion.h"
#include "exchange/ContratoImportado.h"
#include "platform/Files.h"
#include "platform/Ftp.h"
#include "platform/Paths.h"

#include <QDebug>
#include <QDir>

namespace exchange {

QByteArray ClaveFicheros(const QString& claveUsuario)
{
    if (claveUsuario == QLatin1String("  "))
        return QByteArrayLiteral("99");
    return platform::toCp1252(Recortar(claveUsuario));
}

bool TraerContratosServidor(const DatosConfiguracion& datos)
{
    const QString carpeta = platform::hostPath(QString::fromLatin1(kContratosImp));
    QDir().mkpath(carpeta);
    const platform::FtpAccount cuenta{Recortar(datos.Ip), platform::toCp1252(Recortar(datos.Usuario)),
                                      platform::toCp1252(Recortar(datos.Password))};
    const platform::FtpFetch traidos =
        platform::ftp().fetch(cuenta, QByteArray(kCarpetaServidor), ClaveFicheros(datos.ClaveUsuario), carpeta);
    if (!traidos.complete)
        qWarning().noquote() << "FTP:" << traidos.problem;
    return traidos.complete;
}

} // namespace exchange
