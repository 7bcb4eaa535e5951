#include "production/DocumentosGuardados.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace produccion {

namespace {

bool CabeEnNombre(const QString& numero)
{
    static const QString prohibidos = QStringLiteral("\\/:*?\"<>|");
    if (numero.trimmed().isEmpty())
        return false;
    for (const QChar c : numero) {
        if (c.unicode() < 32 || prohibidos.contains(c))
            return false;
    }
    return true;
}

} // namespace

QString SufijoDocumento(ClaseDocumento clase)
{
    switch (clase) {
    case ClaseDocumento::Prorroga:
        return QStringLiteral("P.doc");
    case ClaseDocumento::Notificacion:
        return QStringLiteral("N.doc");
    case ClaseDocumento::Contrato:
        break;
    }
    return QStringLiteral(".doc");
}

QString ProblemaNombreDocumento(const QString& numEmpresa, const QString& numTrabajador)
{
    if (CabeEnNombre(numEmpresa) && CabeEnNombre(numTrabajador))
        return {};
    return QStringLiteral("No se puede guardar el documento: el número de empresa y el número de trabajador "
                          "deben estar rellenos y no pueden llevar ninguno de los caracteres \\ / : * ? \" < > |");
}

QString NombreDocumento(const QString& numEmpresa, const QString& numTrabajador, const QString& sufijo)
{
    return numEmpresa + numTrabajador + sufijo;
}

QString RutaDocumento(const QString& nombre)
{
    return platform::hostPath(QString::fromLatin1(kCarpetaContratos) + QLatin1Char('\\') + nombre);
}

void GuardarCopiaDocumento(const QString& origen, const QString& nombre)
{
    QFile fuente(origen);
    if (!fuente.open(QIODevice::ReadOnly))
        throw platform::FileError(
            QStringLiteral("No se puede leer el documento %1.").arg(QDir::toNativeSeparators(origen)).toStdString());
    const QByteArray contenido = fuente.readAll();
    const QString destino = RutaDocumento(nombre);
    if (!QDir().mkpath(QFileInfo(destino).absolutePath()))
        throw platform::FileError(QStringLiteral("No se puede crear la carpeta %1.")
                                      .arg(QDir::toNativeSeparators(QFileInfo(destino).absolutePath()))
                                      .toStdString());
    platform::replaceFile(destino, contenido);
    // A contract carries the worker's personal data.
    QFile::setPermissions(destino, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace produccion
