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

// Database files hold the workers' personal data.
constexpr QFileDevice::Permissions kSoloPropietario = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A step of the move that went wrong; the text is for the user.
class FalloTraspaso : public std::runtime_error {
public:
    explicit FalloTraspaso(const QString& motivo) : std::runtime_error(motivo.toStdString()) {}
};

QString windows(const char* ruta)
{
    return QString::fromLatin1(ruta);
}

bool esFecha(const QString& campo)
{
    for (const char* fecha : kCamposFecha) {
        if (campo == QString::fromUtf8(fecha))
            return true;
    }
    return false;
}

// What is copied of one table: the listed fields that the old table has, in
// the order of the list.
struct Campos {
    QStringList nombres;
    std::vector<bool> fechas;

    // Place of a field among them; -1 when the old table lacks it.
    int indice(const char* campo) const { return static_cast<int>(nombres.indexOf(QString::fromUtf8(campo))); }
    // The fields for a SELECT of the old table (a Null column when there is none).
    QString lista() const
    {
        if (nombres.isEmpty())
            return QStringLiteral("NULL");
        QStringList citados;
        for (const QString& nombre : nombres)
            citados << quoteName(nombre);
        return citados.join(QStringLiteral(", "));
    }
};

template <std::size_t N>
Campos camposCopiados(const QSet<QString>& existentes, const char* const (&lista)[N])
{
    Campos campos;
    for (const char* nombre : lista) {
        if (existentes.contains(QString::fromUtf8(nombre).toCaseFolded())) {
            campos.nombres << QString::fromUtf8(nombre);
            campos.fechas.push_back(esFecha(QString::fromUtf8(nombre)));
        }
    }
    return campos;
}

// The value written for an old one: Null for Null or empty text, so that the
// new field keeps its default; a date stored the current way when it reads as one.
QVariant valorCopiado(const QVariant& valor, bool fecha)
{
    if (valor.isNull() || valor.toString().isEmpty())
        return {};
    const QDate comoFecha = fecha ? platform::toDate(valor) : QDate();
    return comoFecha.isValid() ? platform::dateValue(comoFecha) : valor;
}

// The statement that adds a row to `tabla` of the new file with `campos`
// (each left to its default when given Null) and then `otros`.
platform::Statement insercion(Database& nueva, const QString& tabla, const Campos& campos,
                              const QStringList& otros = {})
{
    QHash<QString, QString> defecto;
    for (const Row& columna : nueva.select(QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(tabla)))) {
        if (!columna.isNull(QStringLiteral("dflt_value")))
            defecto.insert(columna.text(QStringLiteral("name")).toCaseFolded(), columna.text(QStringLiteral("dflt_value")));
    }
    QStringList nombres;
    QStringList valores;
    for (const QString& nombre : campos.nombres) {
        nombres << quoteName(nombre);
        const QString porDefecto = defecto.value(nombre.toCaseFolded());
        valores << (porDefecto.isEmpty() ? QStringLiteral("?") : QStringLiteral("COALESCE(?, %1)").arg(porDefecto));
    }
    for (const QString& nombre : otros) {
        nombres << quoteName(nombre);
        valores << QStringLiteral("?");
    }
    if (nombres.isEmpty())
        return platform::Statement(nueva, QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(tabla)));
    return platform::Statement(nueva, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                          .arg(quoteName(tabla), nombres.join(QStringLiteral(", ")),
                                               valores.join(QStringLiteral(", "))));
}

// The values of the copied fields of the current old row, read from column
// `desde` on.
QVariantList valoresCopiados(const platform::Statement& antigua, const Campos& campos, int desde)
{
    QVariantList valores;
    valores.reserve(campos.nombres.size() + 1);
    for (int i = 0; i < campos.nombres.size(); ++i)
        valores << valorCopiado(antigua.value(desde + i), campos.fechas[static_cast<std::size_t>(i)]);
    return valores;
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

// One table's copy: its old rows, read in order, and the statement that adds
// each one to the new file.
struct CopiaDeTabla {
    Campos campos;
    platform::Statement antiguas; // the copied fields, then the `leidas`
    platform::Statement nuevas;   // the copied fields, then the `otros`
};

template <std::size_t N>
CopiaDeTabla prepararCopia(const Database& antigua, Database& nueva, const QString& tabla,
                           const QSet<QString>& existentes, const char* const (&lista)[N], const QString& clave,
                           const QStringList& otros = {}, const QStringList& leidas = {})
{
    Campos campos = camposCopiados(existentes, lista);
    QString seleccion = campos.lista();
    for (const QString& campo : leidas)
        seleccion += QStringLiteral(", ") + quoteName(campo);
    platform::Statement nuevas = insercion(nueva, tabla, campos, otros);
    platform::Statement antiguas(antigua, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                              .arg(seleccion, quoteName(tabla), orden(existentes, clave)));
    antiguas.exec();
    return {std::move(campos), std::move(antiguas), std::move(nuevas)};
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
        const int codigo = fila.text(QStringLiteral("Código")).trimmed().toInt(&esNumero);
        if (!esNumero)
            continue;
        for (const Renombre& renombre : kRenombres) {
            if (renombre.codigo == codigo) {
                db.exec(QStringLiteral(R"(UPDATE "Contrato" SET "Contrato" = ? WHERE rowid = ?)"),
                        {kNombreConversion + QString::fromUtf8(renombre.sufijo), fila.value(QStringLiteral("fila"))});
                break;
            }
        }
    }
}

// Copies the rows of the old file into the new one, all in one transaction.
// Each statement is prepared once for all the rows of its table.
void copiarFilas(const Database& antigua, Database& nueva)
{
    if (!nueva.hasTable(QStringLiteral("EMPRESACLAUSULA")))
        throw FalloTraspaso(QStringLiteral("La base de datos vacía %1 no es de la versión actual.")
                                .arg(windows(kRutaBaseDatosVacia)));
    platform::Transaction transaccion(nueva);

    // Companies, remembering where each one went and its default clauses.
    struct EmpresaCopiada {
        qint64 id;
        QVariantList clausulas;
    };
    std::vector<EmpresaCopiada> empresas;
    const QSet<QString> camposEmpresa = columnas(antigua, QStringLiteral("Empresas"));
    if (!camposEmpresa.isEmpty()) {
        CopiaDeTabla copia = prepararCopia(antigua, nueva, QStringLiteral("Empresas"), camposEmpresa, kCamposEmpresa,
                                           QStringLiteral("IdEmpresa"));
        while (copia.antiguas.next()) {
            copia.nuevas.exec(valoresCopiados(copia.antiguas, copia.campos, 0));
            EmpresaCopiada empresa{copia.nuevas.lastInsertId(), {}};
            for (int k = 1; k <= 6; ++k) {
                const int i = static_cast<int>(copia.campos.nombres.indexOf(QStringLiteral("Clausula%1").arg(k)));
                empresa.clausulas << (i < 0 ? QVariant() : copia.antiguas.value(i));
            }
            empresas.push_back(std::move(empresa));
        }
    }

    // Workers follow their company by its number: the first company copied
    // with it. The schema's index on the number makes each look-up direct,
    // and a number is looked up once.
    const QSet<QString> camposTrabajador = columnas(antigua, QStringLiteral("Trabajadores"));
    if (!camposTrabajador.isEmpty()) {
        platform::Statement empresaPorNumero(
            nueva, QStringLiteral(R"(SELECT "IdEmpresa" FROM "Empresas" WHERE "NúmeroEmpresa" = ? ORDER BY "IdEmpresa" LIMIT 1)"));
        QHash<QString, QVariant> empresaDeNumero;
        const auto idEmpresa = [&](const QString& numero) {
            const auto visto = empresaDeNumero.constFind(numero);
            if (visto != empresaDeNumero.constEnd())
                return *visto;
            empresaPorNumero.exec({numero});
            const QVariant id = empresaPorNumero.next() ? QVariant(empresaPorNumero.value(0).toString()) : QVariant();
            empresaDeNumero.insert(numero, id);
            return id;
        };

        CopiaDeTabla copia = prepararCopia(antigua, nueva, QStringLiteral("Trabajadores"), camposTrabajador,
                                           kCamposTrabajador, QStringLiteral("IdEmpresa"), {QStringLiteral("IdEmpresa")});
        const int numEmpresa = copia.campos.indice("NumEmpresa");
        while (copia.antiguas.next()) {
            QVariantList valores = valoresCopiados(copia.antiguas, copia.campos, 0);
            const QString numero = numEmpresa < 0 ? QString() : copia.antiguas.value(numEmpresa).toString();
            valores << (numero.isEmpty() ? QVariant() : idEmpresa(numero));
            copia.nuevas.exec(valores);
        }
    }

    // Clauses, remembering the new id of each old one.
    QHash<qint64, qint64> clausulaNueva;
    const QSet<QString> camposClausula = columnas(antigua, QStringLiteral("Clausulas"));
    if (!camposClausula.isEmpty()) {
        CopiaDeTabla copia = prepararCopia(antigua, nueva, QStringLiteral("Clausulas"), camposClausula, kCamposClausula,
                                           QStringLiteral("IdClausula"), {}, {QStringLiteral("IdClausula")});
        // The old key comes after the copied fields (after one Null column when there are none).
        const int idClausula = std::max<int>(1, static_cast<int>(copia.campos.nombres.size()));
        while (copia.antiguas.next()) {
            copia.nuevas.exec(valoresCopiados(copia.antiguas, copia.campos, 0));
            const auto anterior = entero(copia.antiguas.value(idClausula));
            if (anterior && !clausulaNueva.contains(*anterior))
                clausulaNueva.insert(*anterior, copia.nuevas.lastInsertId());
        }
    }

    // Each company's default clauses become links between the new ids, one
    // per clause even when two slots hold the same one. The companies' own
    // Clausula1..6 were copied as they were.
    platform::Statement enlaces(nueva, QStringLiteral(R"(INSERT INTO "EMPRESACLAUSULA" ("IDEMPRESA", "IDCLAUSULA") VALUES (?, ?))"));
    for (const EmpresaCopiada& empresa : empresas) {
        QSet<qint64> enlazadas;
        for (const QVariant& valor : empresa.clausulas) {
            const auto clausula = entero(valor);
            if (!clausula || *clausula == 0 || !clausulaNueva.contains(*clausula) || enlazadas.contains(*clausula))
                continue;
            enlazadas.insert(*clausula);
            enlaces.exec({empresa.id, clausulaNueva.value(*clausula)});
        }
    }

    const QSet<QString> camposContrato = columnas(antigua, QStringLiteral("ContratosGrabados"));
    if (!camposContrato.isEmpty()) {
        CopiaDeTabla copia = prepararCopia(antigua, nueva, QStringLiteral("ContratosGrabados"), camposContrato,
                                           kCamposContratoGrabado, QStringLiteral("IdContrato"));
        while (copia.antiguas.next())
            copia.nuevas.exec(valoresCopiados(copia.antiguas, copia.campos, 0));
    }

    transaccion.commit();
}

// The n-th name of the backup: "C:\basedatosantigua.mdb", then 1, 2...
QString nombreCopiaSeguridad(int n)
{
    return windows(kRutaCopiaSeguridad) + (n == 0 ? QString() : QString::number(n)) + QStringLiteral(".mdb");
}

// How many backups there are: the number of the first free name.
int copiasDeSeguridad()
{
    int n = 0;
    while (QFileInfo::exists(platform::hostPath(nombreCopiaSeguridad(n))))
        ++n;
    return n;
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
        // It will hold the workers' personal data; the installation may also
        // have left the empty database read-only.
        QFile::setPermissions(temporal, kSoloPropietario);
        {
            const Database antigua = Database::open(trabajo);
            Database nueva = Database::open(temporal);
            esquema::actualizar(nueva);
            copiarFilas(antigua, nueva);
        }
        const QString copia = nombreCopiaSeguridad(copiasDeSeguridad());
        if (!QFile::copy(trabajo, platform::hostPath(copia)))
            throw FalloTraspaso(QStringLiteral("No se puede hacer la copia de seguridad %1.").arg(copia));
        QFile::setPermissions(platform::hostPath(copia), kSoloPropietario);
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

QString UltimaCopiaDeSeguridad()
{
    const int copias = copiasDeSeguridad();
    return copias == 0 ? QString() : nombreCopiaSeguridad(copias - 1);
}

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
