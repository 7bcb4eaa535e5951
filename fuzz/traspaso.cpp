#include "Drivers.h"
#include "Entorno.h"

#include "exchange/ActualizacionCatalogo.h"
#include "platform/Database.h"
#include "platform/Paths.h"

namespace fuzz {

namespace {

// Marks for the model file's mark lines, a contract type, and model "P99"
// with a contract on it for its replacement line.
platform::Database& Catalogo()
{
    platform::Database& db = BaseDeDatos();
    Vaciar(db);
    for (const char* codigo : {"0101", "0102", "0300"})
        db.insert(QStringLiteral("Marcas"), {{QStringLiteral("CódigoMarca"), QString::fromLatin1(codigo)},
                                             {QStringLiteral("DescripciónDato"), QStringLiteral("DATO")},
                                             {QStringLiteral("Longitud"), 10}});
    db.insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), QStringLiteral("A")}});
    const qint64 p99 = db.insert(QStringLiteral("Modelo"), {{QStringLiteral("NombreModelo"), QStringLiteral("P99")},
                                                            {QStringLiteral("Ubicación"), QStringLiteral("P99.rtf")}});
    db.insert(QStringLiteral("MarcasCont"), {{QStringLiteral("IdModelo"), QString::number(p99)},
                                             {QStringLiteral("CódigoMarca"), QStringLiteral("0101")}});
    db.insert(QStringLiteral("Contrato"), {{QStringLiteral("Contrato"), QStringLiteral("Temporal")},
                                           {QStringLiteral("IdTipoContrato"), QStringLiteral("1")},
                                           {QStringLiteral("TipoContrato"), QStringLiteral("A")},
                                           {QStringLiteral("Modelo"), QStringLiteral("P99")}});
    return db;
}

QString Ruta(const char* windowsPath)
{
    return platform::hostPath(QString::fromLatin1(windowsPath));
}

} // namespace

void Modelos(const uint8_t* data, std::size_t size)
{
    platform::Database& db = Catalogo();
    Escribir(actualizacion::kFicheroModelos, data, size);
    actualizacion::ImportarModelos(db, Ruta(actualizacion::kFicheroModelos));
}

void Contratos(const uint8_t* data, std::size_t size)
{
    platform::Database& db = Catalogo();
    Escribir(actualizacion::kFicheroContratos, data, size);
    actualizacion::ActualizarContratos(db, Ruta(actualizacion::kFicheroContratos));
}

} // namespace fuzz
