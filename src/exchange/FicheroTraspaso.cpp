#include "exchange/FicheroTraspaso.h"

#include "platform/Files.h"

#include <QFile>

namespace traspaso {

std::optional<QStringList> LeerLineas(const QString& hostPath)
{
    QFile fichero(hostPath);
    if (!fichero.exists())
        return std::nullopt;
    if (!fichero.open(QIODevice::ReadOnly))
        throw platform::FileError(QStringLiteral("No se puede leer el archivo %1.").arg(hostPath).toStdString());
    const QString texto = platform::fromCp1252(fichero.readAll());
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
