#include "production/ContratoImportado.h"

#include "platform/Paths.h"

namespace contrato_importado {

std::optional<QString> Valor(const QString& registro, const exchange::Disposicion::Marca& marca,
                             const QString& descripcion)
{
    const QString leido = registro.mid(marca.inicio, marca.longitud);
    QString sinBlancosFinales = leido;
    while (sinBlancosFinales.endsWith(QLatin1Char(' ')))
        sinBlancosFinales.chop(1);
    if (sinBlancosFinales.isEmpty()) {
        if (marca.valoresFijos.isEmpty())
            return std::nullopt;
        return marca.valoresFijos;
    }
    if (leido == QLatin1String("00000000") || leido == QStringLiteral("000") + QString(12, QLatin1Char(' ')))
        return std::nullopt;
    if (descripcion.contains(QLatin1String("FECHA")) && marca.longitud == 8)
        return leido.mid(0, 2) + QLatin1Char('/') + leido.mid(2, 2) + QLatin1Char('/') + leido.mid(4, 4);
    return leido;
}

std::optional<QString> RutaRegistro(const QString& numEmpresa, const QString& numTrabajador)
{
    if (numEmpresa.trimmed().isEmpty() || numTrabajador.trimmed().isEmpty())
        return std::nullopt;
    const QString nombre = numEmpresa + numTrabajador;
    if (!platform::isPlainFileName(nombre))
        return std::nullopt;
    return QString::fromLatin1(exchange::kContratosTemp) + QLatin1Char('\\') + nombre;
}

} // namespace contrato_importado
