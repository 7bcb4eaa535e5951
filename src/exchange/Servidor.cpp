#include "exchange/Servidor.h"

#include "data/Configuracion.h"
#include "exchange/ContratoImportado.h"
#include "platform/Files.h"
#include "platform/Ftp.h"
#include "platform/MessageBoxes.h"
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

namespace {

// A failure of this computer's disk or folder, told as what it is. A full
// disk is told once for the whole run: the import of what arrived meets it
// too.
QString FalloLocal(platform::FtpLocalFailure fallo)
{
    const QString carpeta = QString::fromLatin1(kContratosImp);
    QString causa;
    switch (fallo) {
    case platform::FtpLocalFailure::DiskFull:
        return QStringLiteral("El disco está lleno: no se han podido traer todos los contratos del servidor, ni se "
                              "podrán importar los traídos mientras siga lleno. La próxima importación traerá los "
                              "que faltan e importará los que queden.");
    case platform::FtpLocalFailure::NoPermission:
        causa = QStringLiteral("No hay permiso para escribir en la carpeta %1").arg(carpeta);
        break;
    default:
        causa = QStringLiteral("No se puede escribir en la carpeta %1").arg(carpeta);
        break;
    }
    return causa + QStringLiteral(": no se han podido traer todos los contratos del servidor. Los que faltan siguen "
                                  "en el servidor para la próxima importación.");
}

} // namespace

ResultadoTraida TraerContratosServidor(const DatosConfiguracion& datos)
{
    const QString carpeta = platform::hostPath(QString::fromLatin1(kContratosImp));
    QDir().mkpath(carpeta);
    const platform::FtpAccount cuenta{Recortar(datos.Ip), platform::toCp1252(Recortar(datos.Usuario)),
                                      platform::toCp1252(Recortar(datos.Password))};
    const platform::FtpFetch traidos = platform::ftp().fetch(
        cuenta, QByteArray(kCarpetaServidor), ClaveFicheros(datos.ClaveUsuario), carpeta, SePuedeArchivar);
    if (!traidos.complete || !traidos.notDeleted.isEmpty())
        qWarning().noquote() << "FTP:" << traidos.problem;
    if (!traidos.passedOver.isEmpty()) {
        QStringList nombres;
        for (QString nombre : traidos.passedOver) {
            for (QChar& c : nombre) {
                if (c.category() == QChar::Other_Control)
                    c = QLatin1Char('?');
            }
            nombres << QLatin1Char('"') + nombre + QLatin1Char('"');
        }
        platform::MsgBox(QStringLiteral("No se han traído del servidor estos ficheros, porque su nombre no es el de "
                                        "un contrato: %1. Siguen en el servidor.")
                             .arg(nombres.join(QStringLiteral(", "))),
                         platform::style::Exclamation);
    }
    // They are here for the import all the same, which knows them when they
    // come again as they are.
    if (const auto n = traidos.notDeleted.size(); n > 0) {
        platform::MsgBox(n == 1 ? QStringLiteral("Se ha traído del servidor 1 contrato, pero el servidor no ha dejado "
                                                 "borrarlo: volverá a llegar en la próxima importación, que no lo "
                                                 "importará de nuevo si no ha cambiado.")
                                : QStringLiteral("Se han traído del servidor %1 contratos, pero el servidor no ha "
                                                 "dejado borrarlos: volverán a llegar en la próxima importación, que "
                                                 "no importará de nuevo los que no hayan cambiado.")
                                      .arg(n),
                         platform::style::Exclamation);
    }
    if (traidos.localFailure != platform::FtpLocalFailure::None)
        return {FalloLocal(traidos.localFailure), traidos.localFailure == platform::FtpLocalFailure::DiskFull};
    if (!traidos.complete)
        return {QString::fromUtf8(kErrorServidor)};
    return {};
}

} // namespace exchange
