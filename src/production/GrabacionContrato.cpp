#include "production/GrabacionContrato.h"

#include "common/Documentos.h"
#include "companies/Empresas.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using platform::Answer;
using platform::Database;
using platform::MsgBox;
using platform::Row;

namespace produccion {

namespace {

constexpr int kPregunta = platform::style::YesNo | platform::style::Question;
constexpr int kPreguntaNo = kPregunta | platform::style::DefaultButton2;

// A date typed "dd/mm/yyyy" as stored; nothing when it is not a real date.
std::optional<QVariant> Fecha(const QString& texto)
{
    const QDate dia = QDate::fromString(texto.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!dia.isValid())
        return std::nullopt;
    return platform::dateValue(dia);
}

// A field that must be written: the date, or no value when it is none.
QVariant FechaONada(const QString& texto)
{
    return Fecha(texto).value_or(QVariant());
}

std::optional<qint64> Numero(const QString& texto)
{
    const QString cifras = texto.trimmed();
    if (cifras.isEmpty() || cifras.size() > 18)
        return std::nullopt;
    for (const QChar c : cifras) {
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    }
    return cifras.toLongLong();
}

void SiHayTexto(Row& fila, const char* campo, const QString& valor)
{
    if (!valor.isEmpty())
        fila.set(QString::fromUtf8(campo), valor);
}

void SiHayFecha(Row& fila, const char* campo, const QString& valor)
{
    if (const auto fecha = Fecha(valor))
        fila.set(QString::fromUtf8(campo), *fecha);
}

// The company's values; a value left empty keeps what is stored.
Row FilaEmpresa(const DatosEmpresaContrato& e)
{
    Row fila;
    SiHayTexto(fila, "NombreEmpresa", e.Nombre);
    SiHayTexto(fila, "NIF", e.NIF);
    SiHayTexto(fila, "Dirección", e.Direccion);
    SiHayTexto(fila, "Localidad", e.Localidad);
    SiHayTexto(fila, "Provincia", e.Provincia);
    SiHayTexto(fila, "Pais", e.Pais);
    SiHayTexto(fila, "CódPostal", e.CodPostal);
    SiHayTexto(fila, "NúmTeléfono", e.Telefono);
    SiHayTexto(fila, "NúmFax", e.Fax);
    SiHayTexto(fila, "Actividad", e.Actividad);
    SiHayTexto(fila, "Cuenta", e.Cuenta);
    fila.set(QStringLiteral("NúmeroEmpresa"), e.Numero);
    return fila;
}

// The worker's values and the contract data, on the worker of `idEmpresa`.
Row FilaTrabajador(const DocumentoProducido& d, const DatosTrabajadorContrato& t, qint64 idEmpresa,
                   const QString& vencimientoFicha)
{
    const bool prorroga = d.clase == ClaseDocumento::Prorroga;
    Row fila;
    SiHayFecha(fila, "FechaNacimiento", t.FechaNacimiento);
    SiHayTexto(fila, "Municipio", t.Municipio);
    SiHayTexto(fila, "NIF14", t.NIF);
    SiHayTexto(fila, "NivelFormativo", t.NivelFormativo);
    SiHayTexto(fila, "NombreTrabajador", t.Nombre);
    if (const auto numero = Numero(t.Numero))
        fila.set(QStringLiteral("NúmeroTrabajador"), *numero);
    SiHayTexto(fila, "CódPostal", t.CodPostal);
    SiHayTexto(fila, "NumSS", t.NumSS);
    SiHayTexto(fila, "Pais", t.Pais);
    if (!prorroga) {
        SiHayTexto(fila, "Contrato", d.contrato);
        SiHayTexto(fila, "TipoContrato", d.tipoContrato);
    }
    SiHayFecha(fila, "FechaVencimiento", d.vencimientoContrato);
    if (!prorroga) {
        fila.set(QStringLiteral("FechaContrato"), platform::dateValue(platform::clock().today()));
        SiHayFecha(fila, "FechaVencimiento", vencimientoFicha);
    } else {
        SiHayFecha(fila, "FechaInicioProrroga", d.inicioProrroga);
        SiHayTexto(fila, "Duracion", d.duracionProrroga);
    }
    fila.set(QStringLiteral("IdEmpresa"), QString::number(idEmpresa));
    return fila;
}

std::optional<Row> TrabajadorDeEmpresa(const Database& db, qint64 idEmpresa, qint64 numero)
{
    return db.first(QStringLiteral(R"(SELECT * FROM "Trabajadores" WHERE "IdEmpresa" = ? AND "NúmeroTrabajador" = ?
                                      ORDER BY "IdTrabajador")"),
                    {QString::number(idEmpresa), numero});
}

// Whether the worker of this key is the one the document names: its number
// and its company's number.
bool EsTrabajadorDelDocumento(const Database& db, qint64 idTrabajador, const DocumentoProducido& d)
{
    const auto numero = Numero(d.numTrabajador);
    const auto trabajador = empresas::LeerTrabajador(db, idTrabajador);
    if (!numero || !trabajador || trabajador->value(QStringLiteral("NúmeroTrabajador")).toLongLong() != *numero)
        return false;
    return db.first(QStringLiteral(R"(SELECT "IdEmpresa" FROM "Empresas" WHERE "IdEmpresa" = ? AND )"
                                   R"("NúmeroEmpresa" = ?)"),
                    {trabajador->value(QStringLiteral("IdEmpresa")).toLongLong(), d.numEmpresa})
        .has_value();
}

// A stored document waiting beside its place for its row, the row's key in
// its name.
QString NombrePendiente(qint64 idContrato, const QString& nombre)
{
    return QStringLiteral(".guardando-%1-%2").arg(idContrato).arg(nombre);
}

const QRegularExpression& PatronPendiente()
{
    static const QRegularExpression patron(QStringLiteral(R"(^\.guardando-(\d+)-(.+)$)"));
    return patron;
}

// Whether the row of a document waiting for it (a match of PatronPendiente)
// is in ContratosGrabados. A contract's row names its document; the other
// rows name none.
bool TieneFila(const Database& db, const QRegularExpressionMatch& pendiente)
{
    return db
        .first(QStringLiteral(R"(SELECT "IdContrato" FROM "ContratosGrabados" WHERE "IdContrato" = ?
                                 AND ("Nombre" IS NULL OR "Nombre" = ?))"),
               {pendiente.captured(1).toLongLong(), pendiente.captured(2)})
        .has_value();
}

// Once a storing failed and its transaction was rolled back, the copy at
// `ruta` that waited for the row goes at once rather than at the next start,
// so that a full disk is not left fuller. A commit that fails leaves nothing
// of its transaction, so a database that cannot even be read now holds no
// row for it; one that shows the row all the same leaves the copy to the next
// start.
void QuitarDocumentoSinFila(const Database& db, const QString& ruta)
{
    bool fila = false;
    try {
        fila = TieneFila(db, PatronPendiente().match(QFileInfo(ruta).fileName()));
    } catch (const platform::DbError&) {
    }
    if (!fila)
        QFile::remove(ruta);
}

// The document's row in ContratosGrabados and, on the worker when given, the
// contract or the extension. Returns the row's key.
qint64 AnotarDocumentoGuardado(Database& db, const DocumentoProducido& d, const QString& nombreDocumento,
                               std::optional<qint64> idTrabajador)
{
    Row grabado;
    SiHayTexto(grabado, "Empresa", d.nombreEmpresa);
    SiHayTexto(grabado, "Trabajador", d.nombreTrabajador);
    grabado.set(QStringLiteral("Fecha"), FechaONada(d.fechaContrato));
    if (d.clase == ClaseDocumento::Contrato) {
        grabado.set(QStringLiteral("TipoContrato"), d.contratoElegido);
        grabado.set(QStringLiteral("Nombre"), nombreDocumento);
    }

    Row trabajador;
    if (d.clase == ClaseDocumento::Contrato) {
        trabajador.set(QStringLiteral("Contrato"), d.contrato);
        trabajador.set(QStringLiteral("FechaContrato"), FechaONada(d.fechaContrato));
        trabajador.set(QStringLiteral("TipoContrato"), d.contratoElegido);
        trabajador.set(QStringLiteral("IdContrato"), d.idContrato);
    } else if (d.clase == ClaseDocumento::Prorroga) {
        SiHayFecha(trabajador, "FechaInicioProrroga", d.inicioProrroga);
        SiHayTexto(trabajador, "Duracion", d.duracionProrroga);
    }

    const qint64 id = db.insert(QStringLiteral("ContratosGrabados"), grabado);
    if (idTrabajador)
        db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), *idTrabajador, trabajador);
    return id;
}

} // namespace

std::optional<qint64> BuscarTrabajador(const Database& db, const QString& numEmpresa, const QString& numTrabajador)
{
    const auto numero = Numero(numTrabajador);
    const auto empresa = empresas::BuscarPorNumero(db, numEmpresa);
    if (!numero || !empresa)
        return std::nullopt;
    const auto trabajador = TrabajadorDeEmpresa(db, empresa->value(QStringLiteral("IdEmpresa")).toLongLong(), *numero);
    if (!trabajador)
        return std::nullopt;
    return trabajador->value(QStringLiteral("IdTrabajador")).toLongLong();
}

void GrabarDocumento(Database& db, const DocumentoProducido& d, const QString& archivo, const QString& destino,
                     std::optional<qint64> idTrabajador)
{
    TerminarDocumentosGuardados(db);
    const QFileInfo lugar(destino);
    QDir().mkpath(lugar.absolutePath());
    QString pendiente;
    try {
        platform::Transaction transaccion(db);
        const qint64 id = AnotarDocumentoGuardado(db, d, lugar.fileName(), idTrabajador);
        pendiente = lugar.absolutePath() + QLatin1Char('/') + NombrePendiente(id, lugar.fileName());
        try {
            CopiarDocumento(archivo, pendiente);
        } catch (const platform::FileError&) {
            throw platform::FileError(QStringLiteral("No se puede copiar el documento en %1.")
                                          .arg(platform::windowsPath(destino))
                                          .toStdString());
        }
        platform::syncFolder(lugar.absolutePath());
        transaccion.commit();
    } catch (const std::exception&) {
        if (!pendiente.isEmpty())
            QuitarDocumentoSinFila(db, pendiente);
        throw;
    }
    if (!platform::moveFile(pendiente, destino))
        throw platform::FileError(QStringLiteral("El documento está anotado, pero no se puede poner en %1: se pondrá "
                                                 "la próxima vez que se abra el programa.")
                                      .arg(platform::windowsPath(destino))
                                      .toStdString());
}

void TerminarDocumentosGuardados(const Database& db)
{
    const QString carpeta = platform::hostPath(QString::fromLatin1(kCarpetaContratos));
    for (const QString& fichero : QDir(carpeta).entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch pendiente = PatronPendiente().match(fichero);
        if (!pendiente.hasMatch())
            continue;
        const QString ruta = carpeta + QLatin1Char('/') + fichero;
        const QString destino = carpeta + QLatin1Char('/') + pendiente.captured(2);
        if (!(TieneFila(db, pendiente) ? platform::moveFile(ruta, destino) : QFile::remove(ruta)))
            throw platform::FileError(QStringLiteral("No se puede terminar de guardar el documento %1.")
                                          .arg(platform::windowsPath(destino))
                                          .toStdString());
    }
}

void GuardarEmpresaYTrabajador(Database& db, const DocumentoProducido& d, const DatosEmpresaContrato& empresa,
                               const DatosTrabajadorContrato& trabajador, const QString& vencimientoFicha)
{
    // First every question, then every write in one go.
    std::optional<qint64> idEmpresa;
    bool anadirEmpresa = false;
    bool escribirEmpresa = false;
    if (const auto fila = empresas::BuscarPorNumero(db, empresa.Numero)) {
        idEmpresa = fila->value(QStringLiteral("IdEmpresa")).toLongLong();
        const QString guardado = fila->text(QStringLiteral("NombreEmpresa"));
        if (guardado != empresa.Nombre) {
            const QString pregunta = QStringLiteral("El número de empresa, ") + empresa.Numero
                + QStringLiteral(" corresponde a la empresa : ") + guardado
                + QStringLiteral(". ¿Desea eliminar dicha empresa y dar de alta una nueva empresa con estos datos?");
            escribirEmpresa = MsgBox(pregunta, kPreguntaNo, QStringLiteral("Conflicto")) == Answer::Yes;
        }
    } else {
        anadirEmpresa = MsgBox(QStringLiteral("¿Desea guardar los datos de la empresa?"), kPregunta) == Answer::Yes;
    }

    std::optional<qint64> idTrabajador;
    bool anadirTrabajador = false;
    bool escribirTrabajador = false;
    const auto numero = Numero(trabajador.Numero);
    if ((idEmpresa || anadirEmpresa) && numero) {
        const auto fila = idEmpresa ? TrabajadorDeEmpresa(db, *idEmpresa, *numero) : std::nullopt;
        if (!fila) {
            anadirTrabajador = MsgBox(QStringLiteral("¿Desea guardar los datos del trabajador?"), kPregunta,
                                      QStringLiteral("Confirmación."))
                == Answer::Yes;
        } else {
            idTrabajador = fila->value(QStringLiteral("IdTrabajador")).toLongLong();
            const QString guardado = fila->text(QStringLiteral("NombreTrabajador"));
            escribirTrabajador = guardado == trabajador.Nombre;
            if (!escribirTrabajador) {
                const QString pregunta = QStringLiteral("El número de trabajador, ") + trabajador.Numero
                    + QStringLiteral(" corresponde al Trabajador : ") + guardado
                    + QStringLiteral(". ¿Desea eliminar dicho trabajador y dar de alta un nuevo trabajador con estos "
                                     "datos?");
                escribirTrabajador = MsgBox(pregunta, kPreguntaNo, QStringLiteral("Conflicto")) == Answer::Yes;
            }
        }
    }

    platform::Transaction transaccion(db);
    if (anadirEmpresa)
        idEmpresa = db.insert(QStringLiteral("Empresas"), FilaEmpresa(empresa));
    else if (escribirEmpresa)
        db.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), *idEmpresa, FilaEmpresa(empresa));
    if (anadirTrabajador)
        db.insert(QStringLiteral("Trabajadores"), FilaTrabajador(d, trabajador, *idEmpresa, vencimientoFicha));
    else if (escribirTrabajador)
        db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), *idTrabajador,
                  FilaTrabajador(d, trabajador, *idEmpresa, vencimientoFicha));
    transaccion.commit();
}

void AnotarContratoEnTrabajador(Database& db, qint64 idTrabajador, const DocumentoProducido& d,
                                const QString& vencimientoFicha)
{
    if (!EsTrabajadorDelDocumento(db, idTrabajador, d))
        return;
    Row fila;
    SiHayTexto(fila, "Contrato", d.contrato);
    SiHayTexto(fila, "TipoContrato", d.tipoContrato);
    fila.set(QStringLiteral("IdContrato"), d.idContrato);
    fila.set(QStringLiteral("FechaContrato"), platform::dateValue(platform::clock().today()));
    if (const auto vencimiento = Fecha(vencimientoFicha))
        fila.set(QStringLiteral("FechaVencimiento"), *vencimiento);
    else
        SiHayFecha(fila, "FechaVencimiento", d.vencimientoContrato);
    db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), idTrabajador, fila);
}

} // namespace produccion
