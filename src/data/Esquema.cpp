#include "data/Esquema.h"

#include "common/Module1.h"
#include "platform/Database.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace esquema {

namespace {

// Counters are INTEGER PRIMARY KEY AUTOINCREMENT; copies of ids kept as text
// are TEXT; dates are ISO text in DATE fields.
const char* const kTablas[] = {
    R"(CREATE TABLE "Empresas" (
        "IdEmpresa" INTEGER PRIMARY KEY AUTOINCREMENT,
        "NúmeroEmpresa" TEXT COLLATE JET,
        "NombreEmpresa" TEXT COLLATE JET,
        "NIF" TEXT COLLATE JET,
        "Dirección" TEXT COLLATE JET,
        "Localidad" TEXT COLLATE JET,
        "Provincia" TEXT COLLATE JET,
        "CódPostal" TEXT COLLATE JET,
        "NúmTeléfono" TEXT COLLATE JET,
        "NúmFax" TEXT COLLATE JET,
        "DirCorreoElectrónico" TEXT COLLATE JET,
        "Observaciones" TEXT COLLATE JET,
        "Actividad" TEXT COLLATE JET,
        "Cuenta" TEXT COLLATE JET,
        "Pais" TEXT COLLATE JET,
        "Clausula1" INTEGER DEFAULT 0,
        "Clausula2" INTEGER DEFAULT 0,
        "Clausula3" INTEGER DEFAULT 0,
        "Clausula4" INTEGER DEFAULT 0,
        "Clausula5" INTEGER DEFAULT 0,
        "Clausula6" INTEGER DEFAULT 0))",
    R"(CREATE TABLE "Trabajadores" (
        "IdTrabajador" INTEGER PRIMARY KEY AUTOINCREMENT,
        "IdEmpresa" TEXT COLLATE JET,
        "NúmeroTrabajador" INTEGER,
        "NombreTrabajador" TEXT COLLATE JET,
        "NumEmpresa" TEXT COLLATE JET,
        "Empresa" TEXT COLLATE JET,
        "NIF" TEXT COLLATE JET,
        "NIF14" TEXT COLLATE JET,
        "FechaNacimiento" DATE,
        "NumSS" TEXT COLLATE JET,
        "NivelFormativo" TEXT COLLATE JET,
        "Nacionalidad" TEXT COLLATE JET,
        "Municipio" TEXT COLLATE JET,
        "Pais" TEXT COLLATE JET,
        "Observaciones" TEXT COLLATE JET,
        "Domicilio" TEXT COLLATE JET,
        "Localidad" TEXT COLLATE JET,
        "CódPostal" TEXT COLLATE JET,
        "Teléfono" TEXT COLLATE JET,
        "Categoria_Laboral" TEXT COLLATE JET,
        "FechaAlta" DATE,
        "FechaBaja" DATE,
        "FechaContrato" DATE,
        "TipoContrato" TEXT COLLATE JET,
        "Contrato" TEXT COLLATE JET,
        "IdContrato" INTEGER,
        "FechaVencimiento" DATE,
        "FechaInicioProrroga" DATE,
        "Duracion" TEXT COLLATE JET,
        "EnviadoCliente" TEXT COLLATE JET,
        "RecibidoCliente" TEXT COLLATE JET,
        "EnviadoInem" TEXT COLLATE JET,
        "RecogidoInem" TEXT COLLATE JET,
        "ReenviadoCliente" TEXT COLLATE JET,
        "NumProrroga" INTEGER,
        "FechaInicioPrimerContrato" DATE))",
    R"(CREATE TABLE "Clausulas" (
        "IdClausula" INTEGER PRIMARY KEY AUTOINCREMENT,
        "Clausula" TEXT COLLATE JET))",
    R"(CREATE TABLE "EMPRESACLAUSULA" (
        "IDEMPRESACLAUSULA" INTEGER PRIMARY KEY AUTOINCREMENT,
        "IDEMPRESA" INTEGER,
        "IDCLAUSULA" INTEGER))",
    R"(CREATE TABLE "TipoContrato" (
        "IdTipoContrato" INTEGER PRIMARY KEY AUTOINCREMENT,
        "TipoContrato" TEXT COLLATE JET))",
    R"(CREATE TABLE "Contrato" (
        "IdContrato" INTEGER PRIMARY KEY AUTOINCREMENT,
        "Contrato" TEXT COLLATE JET,
        "TipoContrato" TEXT COLLATE JET,
        "IdTipoContrato" TEXT COLLATE JET,
        "Código" TEXT COLLATE JET,
        "Modelo" TEXT COLLATE JET))",
    R"(CREATE TABLE "Modelo" (
        "IdModelo" INTEGER PRIMARY KEY AUTOINCREMENT,
        "NombreModelo" TEXT COLLATE JET,
        "Ubicación" TEXT COLLATE JET))",
    R"(CREATE TABLE "Marcas" (
        "IdMarca" INTEGER PRIMARY KEY AUTOINCREMENT,
        "CódigoMarca" TEXT COLLATE JET,
        "DescripciónDato" TEXT COLLATE JET,
        "Longitud" INTEGER,
        "ValoresFijos" TEXT COLLATE JET))",
    R"(CREATE TABLE "MarcasCont" (
        "IdMarca" INTEGER PRIMARY KEY AUTOINCREMENT,
        "IdModelo" TEXT COLLATE JET,
        "CódigoMarca" TEXT COLLATE JET,
        "DescripciónDato" TEXT COLLATE JET,
        "Longitud" INTEGER,
        "Veces" TEXT COLLATE JET))",
    R"(CREATE TABLE "ContratosGrabados" (
        "IdContrato" INTEGER PRIMARY KEY AUTOINCREMENT,
        "NumContrato" TEXT COLLATE JET,
        "Fecha" DATE,
        "Trabajador" TEXT COLLATE JET,
        "Empresa" TEXT COLLATE JET,
        "TipoContrato" TEXT COLLATE JET,
        "Nombre" TEXT COLLATE JET))",
    R"(CREATE TABLE "Configuración" (
        "IdConfiguracion" INTEGER PRIMARY KEY AUTOINCREMENT))",
};

// Version 3: the record files of the payroll server an import has read, each
// by its name as fetched (compared byte for byte) with the SHA-256 of its
// content as it was read last and whether its record was imported (1) or
// refused as no record (0), so that the same file fetched again is known.
const char* const kRegistrosRecibidos = R"(CREATE TABLE IF NOT EXISTS "RegistrosRecibidos" (
        "Nombre" TEXT PRIMARY KEY,
        "Huella" TEXT NOT NULL,
        "Importado" INTEGER NOT NULL) WITHOUT ROWID)";

// Indexes of version 2.
const char* const kIndices[] = {
    R"(CREATE UNIQUE INDEX IF NOT EXISTS "EmpresaClausulaUnica" ON "EMPRESACLAUSULA" ("IDEMPRESA", "IDCLAUSULA"))",
    R"(CREATE INDEX IF NOT EXISTS "EmpresasPorNumero" ON "Empresas" ("NúmeroEmpresa"))",
    R"(CREATE INDEX IF NOT EXISTS "TrabajadoresPorNumero" ON "Trabajadores" ("NumEmpresa", "NúmeroTrabajador"))",
};

int version(const platform::Database& db)
{
    const auto fila = db.first(QStringLiteral("PRAGMA user_version"));
    return fila ? fila->fields().front().second.toInt() : 0;
}

void fijarVersion(platform::Database& db, int numero)
{
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(numero));
}

void crearIndices(platform::Database& db)
{
    for (const char* sql : kIndices)
        db.exec(QString::fromUtf8(sql));
}

// Version 1 to 2: a company linked twice to one clause keeps its first link.
void paso2(platform::Database& db)
{
    db.exec(QStringLiteral(R"(DELETE FROM "EMPRESACLAUSULA" WHERE "IDEMPRESACLAUSULA" NOT IN
        (SELECT MIN("IDEMPRESACLAUSULA") FROM "EMPRESACLAUSULA" GROUP BY "IDEMPRESA", "IDCLAUSULA"))"));
    crearIndices(db);
}

void paso3(platform::Database& db)
{
    db.exec(QString::fromUtf8(kRegistrosRecibidos));
}

} // namespace

void crear(platform::Database& db)
{
    platform::Transaction transaccion(db);
    for (const char* sql : kTablas)
        db.exec(QString::fromUtf8(sql));
    crearIndices(db);
    paso3(db);
    fijarVersion(db, kVersion);
    transaccion.commit();
}

void actualizar(platform::Database& db)
{
    if (version(db) >= kVersion)
        return;
    for (const char* tabla : {"Empresas", "Trabajadores", "EMPRESACLAUSULA"}) {
        if (!db.hasTable(QString::fromUtf8(tabla)))
            return;
    }
    struct Paso {
        int version;
        void (*aplicar)(platform::Database&);
    };
    static const Paso pasos[] = {{2, paso2}, {3, paso3}};
    for (const Paso& paso : pasos) {
        if (version(db) >= paso.version)
            continue;
        platform::Transaction transaccion(db);
        paso.aplicar(db);
        fijarVersion(db, paso.version);
        transaccion.commit();
    }
}

bool crearSiFalta(const QString& ruta)
{
    const QString hostFile = platform::hostPath(ruta);
    if (QFileInfo::exists(hostFile))
        return false;
    QDir().mkpath(QFileInfo(hostFile).absolutePath());
    // Built beside its place and renamed, so a failure leaves no half-made file.
    const QString temporal = hostFile + QStringLiteral(".nuevo");
    QFile::remove(temporal);
    try {
        {
            auto db = platform::Database::openOrCreate(temporal);
            crear(db);
        }
        // It will hold the workers' personal data.
        QFile::setPermissions(temporal, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!QFile::rename(temporal, hostFile))
            throw platform::DbError(platform::kErrCannotWrite,
                                    QStringLiteral("No se puede escribir en su carpeta."));
    } catch (const platform::DbError& error) {
        QFile::remove(temporal);
        throw platform::DbError(error.code(), QStringLiteral("No se puede crear la base de datos %1. %2")
                                                  .arg(ruta, QString::fromStdString(error.what())));
    }
    return true;
}

void crearBasesDeDatosQueFalten()
{
    crearSiFalta(QString::fromLatin1(kRutaBaseDatos));
    crearSiFalta(QString::fromLatin1(kRutaBaseDatosVacia));
}

} // namespace esquema
