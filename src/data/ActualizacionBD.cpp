#include "data/ActualizacionBD.h"

#include "common/Module1.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>

using platform::Database;
using platform::DbError;
using platform::quoteName;
using platform::Row;

namespace {

const QString kNombreConversion =
    QStringLiteral("Comunicación de conversión de contrato temporal en contrato indefinido");

struct Renombre {
    int codigo;
    const char* sufijo;
};

const Renombre kRenombres[] = {
    {109, " a T.Completo bonif."},
    {209, " a T.Parcial bonif."},
    {189, " a T.Completo no bonif."},
    {289, " a T.Parcial no bonif."},
};

// Fields carried from the old file, in this order; keys never are.
const char* const kCamposEmpresa[] = {
    "NúmeroEmpresa", "NombreEmpresa", "NIF", "Dirección", "Localidad", "Provincia", "CódPostal",
    "NúmTeléfono", "NúmFax", "DirCorreoElectrónico", "Observaciones", "Actividad", "Cuenta", "Pais",
    "Clausula1", "Clausula2", "Clausula3", "Clausula4", "Clausula5", "Clausula6",
};

const char* const kCamposTrabajador[] = {
    "NúmeroTrabajador", "NombreTrabajador", "NumEmpresa", "NIF", "FechaNacimiento", "NumSS", "NivelFormativo",
    "Nacionalidad", "Municipio", "Pais", "Observaciones", "FechaContrato", "TipoContrato", "Contrato",
    "IdContrato", "Domicilio", "Localidad", "CódPostal", "Teléfono", "Categoria_Laboral", "Empresa",
    "FechaAlta", "FechaBaja", "EnviadoCliente", "RecibidoCliente", "EnviadoInem", "RecogidoInem",
    "ReenviadoCliente", "FechaInicioProrroga", "Duracion", "NumProrroga", "FechaInicioPrimerContrato", "NIF14",
    "FechaVencimiento",
};

const char* const kCamposClausula[] = {"Clausula"};

const char* const kCamposContratoGrabado[] = {
    "NumContrato", "Fecha", "Trabajador", "Empresa", "TipoContrato", "Nombre",
};

const char* const kCamposFecha[] = {
    "FechaNacimiento", "FechaContrato", "FechaVencimiento", "FechaInicioProrroga", "FechaAlta", "FechaBaja",
    "FechaInicioPrimerContrato", "Fecha",
};

constexpr auto kRutaCopiaSeguridad = "C:\\basedatosantigua";

// A step of the move that went wrong; the text is for the user.
class FalloTraspaso : public std::runtime_error {
public:
    explicit FalloTraspaso(const QString& motivo) : std::runtime_error(motivo.toStdString()) {}
};

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

QString windows(const char* ruta)
{
    return QString::fromLatin1(ruta);
}

bool esFecha(const QString& campo)
{
    for (const char* fecha : kCamposFecha) {
        if (campo == u(fecha))
            return true;
    }
    return false;
}

// The listed fields of an old row that hold something (neither Null nor
// empty text); the others keep the new table's default. Dates are stored the
// current way when they read as one.
template <std::size_t N>
Row valoresACopiar(const Row& antigua, const char* const (&campos)[N])
{
    Row nueva;
    for (const char* nombre : campos) {
        const QString campo = u(nombre);
        if (!antigua.has(campo))
            continue;
        const QVariant valor = antigua.value(campo);
        if (valor.isNull() || valor.toString().isEmpty())
            continue;
        const QDate fecha = esFecha(campo) ? platform::toDate(valor) : QDate();
        nueva.set(campo, fecha.isValid() ? platform::dateValue(fecha) : valor);
    }
    return nueva;
}

// Field names of a table, case folded; empty when the table does not exist.
QSet<QString> columnas(const Database& db, const QString& tabla)
{
    QSet<QString> nombres;
    for (const Row& fila : db.select(QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(tabla))))
        nombres.insert(fila.text(QStringLiteral("name")).toCaseFolded());
    return nombres;
}

// Order by `clave` when the table has it, in the order the rows were written otherwise.
QString orden(const QSet<QString>& campos, const QString& clave)
{
    return campos.contains(clave.toCaseFolded()) ? quoteName(clave) + QStringLiteral(", rowid")
                                                 : QStringLiteral("rowid");
}

// A whole number written as a number or as text ("3", " 3"); nothing for
// Null, empty text, other text or a fraction.
std::optional<qint64> entero(const QVariant& valor)
{
    if (valor.isNull())
        return std::nullopt;
    bool ok = false;
    const double numero = valor.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(numero) || numero != std::floor(numero) || std::fabs(numero) > 9.0e15)
        return std::nullopt;
    return static_cast<qint64>(numero);
}

// Current layout: the conversion notices get the name that says which one
// they are. A row renamed no longer matches, so running it again changes
// nothing. Codes are compared as numbers; one that is no number keeps its name.
void renombrarConversiones(Database& db)
{
    const auto filas = db.select(
        QStringLiteral(R"(SELECT rowid AS fila, "Código" FROM "Contrato" WHERE "Contrato" = ? ORDER BY "Código")"),
        {kNombreConversion});
    for (const Row& fila : filas) {
        bool esNumero = false;
        const int codigo = fila.text(u("Código")).trimmed().toInt(&esNumero);
        if (!esNumero)
            continue;
        for (const Renombre& renombre : kRenombres) {
            if (renombre.codigo == codigo) {
                db.exec(QStringLiteral(R"(UPDATE "Contrato" SET "Contrato" = ? WHERE rowid = ?)"),
                        {kNombreConversion + u(renombre.sufijo), fila.value(QStringLiteral("fila"))});
                break;
            }
        }
    }
}

// Copies the rows of the old file into the new one, all in one transaction.
void copiarFilas(const Database& antigua, Database& nueva)
{
    if (!nueva.hasTable(QStringLiteral("EMPRESACLAUSULA")))
        throw FalloTraspaso(QStringLiteral("La base de datos vacía %1 no es de la versión actual.")
                                .arg(windows(kRutaBaseDatosVacia)));
    platform::Transaction transaccion(nueva);

    // Companies, remembering where each one went.
    std::vector<Row> empresas;
    QHash<qint64, qint64> empresaNueva;
    if (!columnas(antigua, QStringLiteral("Empresas")).isEmpty()) {
        empresas = antigua.select(QStringLiteral(R"(SELECT * FROM "Empresas" ORDER BY "IdEmpresa")"));
        for (const Row& empresa : empresas) {
            const qint64 id = nueva.insert(QStringLiteral("Empresas"), valoresACopiar(empresa, kCamposEmpresa));
            if (const auto anterior = entero(empresa.value(QStringLiteral("IdEmpresa"))))
                empresaNueva.insert(*anterior, id);
        }
    }

    // Workers follow their company by its number: the first company copied with it.
    const QString empresaPorNumero =
        QStringLiteral(R"(SELECT "IdEmpresa" FROM "Empresas" WHERE "NúmeroEmpresa" = ? ORDER BY "IdEmpresa")");
    const QSet<QString> camposTrabajador = columnas(antigua, QStringLiteral("Trabajadores"));
    if (!camposTrabajador.isEmpty()) {
        const auto trabajadores = antigua.select(QStringLiteral(R"(SELECT * FROM "Trabajadores" ORDER BY %1)")
                                                     .arg(orden(camposTrabajador, QStringLiteral("IdEmpresa"))));
        for (const Row& trabajador : trabajadores) {
            Row fila = valoresACopiar(trabajador, kCamposTrabajador);
            const QString numero = trabajador.text(QStringLiteral("NumEmpresa"));
            if (!numero.isEmpty()) {
                if (const auto empresa = nueva.first(empresaPorNumero, {numero}))
                    fila.set(QStringLiteral("IdEmpresa"), empresa->text(QStringLiteral("IdEmpresa")));
            }
            nueva.insert(QStringLiteral("Trabajadores"), fila);
        }
    }

    // Clauses, remembering the new id of each old one.
    QHash<qint64, qint64> clausulaNueva;
    if (!columnas(antigua, QStringLiteral("Clausulas")).isEmpty()) {
        const auto clausulas = antigua.select(QStringLiteral(R"(SELECT * FROM "Clausulas" ORDER BY "IdClausula")"));
        for (const Row& clausula : clausulas) {
            const qint64 id = nueva.insert(QStringLiteral("Clausulas"), valoresACopiar(clausula, kCamposClausula));
            const auto anterior = entero(clausula.value(QStringLiteral("IdClausula")));
            if (anterior && !clausulaNueva.contains(*anterior))
                clausulaNueva.insert(*anterior, id);
        }
    }

    // Each company's default clauses become links between the new ids, one
    // per clause even when two slots hold the same one. The companies' own
    // Clausula1..6 were copied as they were.
    for (const Row& empresa : empresas) {
        const auto anterior = entero(empresa.value(QStringLiteral("IdEmpresa")));
        if (!anterior)
            continue;
        QSet<qint64> enlazadas;
        for (int k = 1; k <= 6; ++k) {
            const auto clausula = entero(empresa.value(QStringLiteral("Clausula%1").arg(k)));
            if (!clausula || *clausula == 0 || !clausulaNueva.contains(*clausula) || enlazadas.contains(*clausula))
                continue;
            enlazadas.insert(*clausula);
            Row enlace;
            enlace.set(QStringLiteral("IDEMPRESA"), empresaNueva.value(*anterior));
            enlace.set(QStringLiteral("IDCLAUSULA"), clausulaNueva.value(*clausula));
            nueva.insert(QStringLiteral("EMPRESACLAUSULA"), enlace);
        }
    }

    const QSet<QString> camposContrato = columnas(antigua, QStringLiteral("ContratosGrabados"));
    if (!camposContrato.isEmpty()) {
        const auto contratos = antigua.select(QStringLiteral(R"(SELECT * FROM "ContratosGrabados" ORDER BY %1)")
                                                  .arg(orden(camposContrato, QStringLiteral("IdContrato"))));
        for (const Row& contrato : contratos)
            nueva.insert(QStringLiteral("ContratosGrabados"), valoresACopiar(contrato, kCamposContratoGrabado));
    }

    transaccion.commit();
}

// The first free name for the backup: "C:\basedatosantigua.mdb", then 1, 2...
QString rutaCopiaSeguridad()
{
    const QString base = platform::hostPath(windows(kRutaCopiaSeguridad));
    QString ruta = base + QStringLiteral(".mdb");
    for (int n = 1; QFileInfo::exists(ruta); ++n)
        ruta = base + QString::number(n) + QStringLiteral(".mdb");
    return ruta;
}

// Puts `desde` in the place of `hacia` in one step: `hacia` is either the old
// file or the new one, never missing or half written.
bool sustituir(const QString& desde, const QString& hacia)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(desde.toStdU16String()),
                            std::filesystem::path(hacia.toStdU16String()), error);
    return !error;
}

// Older layout: the rows are moved into a copy of the fresh empty database
// beside the working one, which takes its place only once the copy is
// complete and the old file has been kept as a backup. "Actu" is written last.
ResultadoActualizacion migrar(const QString& trabajo)
{
    platform::MsgBox(QStringLiteral("Va a procederse a actualizar el programa"));

    const QString vacia = platform::hostPath(windows(kRutaBaseDatosVacia));
    const QString temporal = trabajo + QStringLiteral(".traspaso");
    try {
        if (!QFileInfo(vacia).isFile())
            throw FalloTraspaso(
                QStringLiteral("No se encuentra la base de datos vacía %1.").arg(windows(kRutaBaseDatosVacia)));
        QFile::remove(temporal);
        if (!QFile::copy(vacia, temporal))
            throw FalloTraspaso(QStringLiteral("No se puede copiar la base de datos vacía %1 junto a la de trabajo.")
                                    .arg(windows(kRutaBaseDatosVacia)));
        // The installation may have left the empty database read-only.
        QFile::setPermissions(temporal, QFile::permissions(temporal) | QFileDevice::WriteOwner);
        {
            const Database antigua = Database::open(trabajo);
            Database nueva = Database::open(temporal);
            esquema::actualizar(nueva);
            copiarFilas(antigua, nueva);
        }
        const QString copia = rutaCopiaSeguridad();
        if (!QFile::copy(trabajo, copia))
            throw FalloTraspaso(
                QStringLiteral("No se puede hacer la copia de seguridad %1.").arg(QDir::toNativeSeparators(copia)));
        if (!sustituir(temporal, trabajo))
            throw FalloTraspaso(QStringLiteral("No se puede sustituir la base de datos %1.").arg(RutaBD));
    } catch (const std::exception& error) {
        QFile::remove(temporal);
        platform::MsgBox(QStringLiteral("No se ha podido actualizar la base de datos.\n\n%1\n\n"
                                        "Los datos no se han modificado. La actualización se intentará de nuevo "
                                        "la próxima vez que se inicie el programa.")
                             .arg(QString::fromStdString(error.what())),
                         platform::style::Critical);
        return ResultadoActualizacion::Fallida;
    }

    Esperar(10);
    try {
        GrabarActu();
    } catch (const platform::FileError&) {
        // The database is already in the current layout: the next start
        // takes the short way and writes the flag then.
    }
    platform::MsgBox(QStringLiteral("Finalizado el traspaso"));
    return ResultadoActualizacion::Migrada;
}

} // namespace

ResultadoActualizacion ActualizarBaseDatos()
{
    RutaBaseDatos();
    const QString trabajo = platform::hostPath(RutaBD);
    try {
        {
            Database db = Database::open(trabajo);
            renombrarConversiones(db);
            // Only the current layout has this table; its absence means an older one.
            db.first(QStringLiteral(R"(SELECT * FROM "EMPRESACLAUSULA")"));
            esquema::actualizar(db);
        }
        GrabarActu();
        return ResultadoActualizacion::Actualizada;
    } catch (const DbError& error) {
        if (error.code() != platform::kErrTableNotFound)
            return ResultadoActualizacion::Reintentar;
    } catch (const std::exception&) {
        // A flag file that cannot be written: tried again at the next start.
        return ResultadoActualizacion::Reintentar;
    }
    return migrar(trabajo);
}
