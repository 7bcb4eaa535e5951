#include "exchange/FicheroTraspaso.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>

namespace traspaso {

namespace {

// Why the bytes are no Windows-1252 text, or nothing when they are.
QString Codificacion(const QByteArray& bytes)
{
    if (const QString otra = platform::writtenIn(platform::encodingOf(bytes)); !otra.isEmpty())
        return otra;
    static const QByteArray indefinidos("\x81\x8d\x8f\x90\x9d");
    int linea = 1;
    for (char b : bytes) {
        if (b == '\n')
            ++linea;
        else if (indefinidos.contains(b))
            return QStringLiteral("tiene en la línea %1 un carácter que no existe en Windows-1252").arg(linea);
    }
    return {};
}

} // namespace

std::optional<QStringList> LeerLineas(const QString& hostPath)
{
    QFile fichero(hostPath);
    if (!fichero.exists())
        return std::nullopt;
    if (!fichero.open(QIODevice::ReadOnly))
        throw platform::FileError(
            QStringLiteral("No se puede leer el archivo %1.").arg(platform::windowsPath(hostPath)).toStdString());
    const QByteArray bytes = fichero.readAll();
    if (const QString motivo = Codificacion(bytes); !motivo.isEmpty())
        throw CodificacionNoValida(
            QStringLiteral("El archivo %1 %2.").arg(QFileInfo(hostPath).fileName(), motivo).toStdString());
    const QString texto = platform::fromCp1252(bytes);
    QStringList lineas = texto.split(QLatin1Char('\n'));
    // The end of the last line is no line of its own.
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    for (QString& linea : lineas) {
        if (linea.endsWith(QLatin1Char('\r')))
            linea.chop(1);
    }
    return lineas;
}

QString Medio(const QString& linea, int desde, int cuantos)
{
    if (desde < 1 || desde > linea.size())
        return {};
    return linea.mid(desde - 1, cuantos);
}

std::optional<qint64> Numero(const QString& campo)
{
    const QString cifras = campo.trimmed();
    if (cifras.isEmpty() || cifras.size() > 18)
        return std::nullopt;
    for (QChar c : cifras) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return cifras.toLongLong();
}

} // namespace traspaso
