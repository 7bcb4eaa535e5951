#include "production/ContratoImportado.h"

#include "exchange/ContratoImportado.h"
#include "platform/Database.h"
#include "platform/Paths.h"

#include <algorithm>

namespace contrato_importado {

Disposicion Disposicion::leer(const platform::Database& db)
{
    std::vector<Marca> marcas;
    for (const platform::Row& fila :
         db.select(QStringLiteral("SELECT \"CódigoMarca\", \"Longitud\", \"ValoresFijos\" FROM \"Marcas\" "
                                  "ORDER BY \"CódigoMarca\", \"IdMarca\""))) {
        Marca marca;
        marca.codigo = fila.text(QStringLiteral("CódigoMarca"));
        marca.longitud = fila.value(QStringLiteral("Longitud")).toInt();
        marca.valoresFijos = fila.text(QStringLiteral("ValoresFijos"));
        marcas.push_back(marca);
    }
    return Disposicion(std::move(marcas));
}

Disposicion::Disposicion(std::vector<Marca> marcas) : marcas_(std::move(marcas))
{
    int inicio = 0;
    for (Marca& marca : marcas_) {
        marca.longitud = std::max(0, marca.longitud);
        marca.inicio = inicio;
        inicio += marca.longitud + 1;
    }
    longitud_ = inicio;
}

bool Disposicion::esSeparador(qsizetype offset) const
{
    // The marks stand in the record's order: the first one ending at or
    // after the offset is the only one whose separator it can be.
    const auto marca = std::lower_bound(marcas_.begin(), marcas_.end(), offset, [](const Marca& m, qsizetype o) {
        return m.inicio + m.longitud < o;
    });
    return marca != marcas_.end() && marca->inicio + marca->longitud == offset;
}

const Marca* Disposicion::buscar(const QString& codigo) const
{
    for (const Marca& marca : marcas_) {
        if (marca.codigo == codigo)
            return &marca;
    }
    return nullptr;
}

std::optional<QString> Valor(const QString& registro, const Marca& marca, const QString& descripcion)
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
