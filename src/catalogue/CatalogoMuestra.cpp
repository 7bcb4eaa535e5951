#include "catalogue/CatalogoMuestra.h"

#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace muestra {

namespace {

[[noreturn]] void Fallo(const QString& texto)
{
    throw platform::FileError(texto.toStdString());
}

bool HayCatalogo(const platform::Database& db)
{
    for (const char* tabla : {"TipoContrato", "Contrato", "Modelo"}) {
        if (db.first(QStringLiteral("SELECT 1 FROM %1").arg(platform::quoteName(QString::fromLatin1(tabla)))))
            return true;
    }
    return false;
}

void CopiarPlantillas(const QString& carpeta)
{
    const QDir origen(carpeta);
    const QString destino = platform::programFolder();
    QDir().mkpath(destino);
    for (const QFileInfo& plantilla : origen.entryInfoList(QDir::Files)) {
        const QString copia = QDir(destino).filePath(plantilla.fileName());
        if (QFileInfo::exists(copia))
            continue;
        if (!QFile::copy(plantilla.filePath(), copia))
            Fallo(QStringLiteral("No se puede copiar la plantilla %1.").arg(plantilla.fileName()));
    }
}

void AnadirFilas(platform::Database& db, const QString& fichero)
{
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly))
        Fallo(QStringLiteral("No se puede leer el catálogo de muestra %1.").arg(QDir::toNativeSeparators(fichero)));
    QJsonParseError error;
    const QJsonDocument documento = QJsonDocument::fromJson(f.readAll(), &error);
    if (!documento.isObject())
        Fallo(QStringLiteral("El catálogo de muestra %1 no se puede leer: %2.")
                  .arg(QDir::toNativeSeparators(fichero), error.errorString()));
    platform::Transaction transaccion(db);
    const QJsonObject tablas = documento.object();
    for (auto tabla = tablas.begin(); tabla != tablas.end(); ++tabla) {
        for (const QJsonValue& valor : tabla.value().toArray()) {
            platform::Row fila;
            const QJsonObject campos = valor.toObject();
            for (auto campo = campos.begin(); campo != campos.end(); ++campo)
                fila.set(campo.key(), campo.value().isDouble() ? QVariant(campo.value().toInteger())
                                                               : QVariant(campo.value().toString()));
            db.insert(tabla.key(), fila);
        }
    }
    transaccion.commit();
}

} // namespace

bool InstalarCatalogo(platform::Database& db, const QString& carpetaMuestra)
{
    CopiarPlantillas(QDir(carpetaMuestra).filePath(QStringLiteral("plantillas")));
    if (HayCatalogo(db))
        return false;
    AnadirFilas(db, QDir(carpetaMuestra).filePath(QStringLiteral("catalogo.json")));
    return true;
}

} // namespace muestra
