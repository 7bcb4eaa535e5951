#include "exchange/Importacion.h"

#include "exchange/ContratoImportado.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <utility>
#include <vector>

namespace exchange {

namespace {

using platform::Database;
using platform::MsgBox;
using platform::Row;

// What the error message of a record names: the worker number and company
// name of the record, and the field being written.
struct Contexto {
    QString numeroTrabajador;
    QString nombreEmpresa;
    QString campo;
};

QString MensajeError(const Contexto& c)
{
    return QStringLiteral("Error en el contrato del trabajador : ") + c.numeroTrabajador
        + QStringLiteral(" de la empresa ") + c.nombreEmpresa + QStringLiteral(" Posible error en el campo : ")
        + c.campo;
}

// The logs hold names of people: readable by their owner only.
void CrearSiFalta(const QString& fichero)
{
    if (!QFileInfo::exists(fichero))
        platform::replaceFile(fichero, {}, platform::FileAccess::OwnerOnly);
}

class Importacion {
public:
    Importacion(Database& db, bool discoLlenoDicho) : db_(db), discoLlenoDicho_(discoLlenoDicho) {}
    ResultadoImportacion ejecutar(const QStringList& ficheros);

private:
    void importarFichero(const QString& fichero);
    // Whether the file was read before as it is now: then whether its record
    // was imported, or refused as no record.
    std::optional<bool> leidoAntes(const QString& nombre, const QString& huella) const;
    void anotar(const QString& nombre, const QString& huella, bool importado);
    void archivar();
    void avisarApartados() const;
    bool importar(const RegistroContrato& registro);
    Row filaEmpresa(const RegistroContrato& registro);
    std::optional<qint64> idEmpresa(const QString& numeroEmpresa) const;
    void ActualizarTrabajadorImportado(const RegistroContrato& registro, std::optional<qint64> idTrabajador);
    void discordancia(const char* log, int numero, int longitud, const QByteArray& registro);
    Contexto contexto() const { return {numeroTrabajador_, nombreEmpresa_, CampoImportado_}; }

    Database& db_;
    const bool discoLlenoDicho_;
    Disposicion disposicion_{{}};
    ContadoresImportacion contadores_;
    // The files to file in ContratosTemp once the run is committed.
    struct Archivado {
        QString origen;
        QString destino;
        bool importado; // false: a record refused, told already
    };
    std::vector<Archivado> archivados_;
    // The files of records imported before as they are now, filed untouched.
    QStringList apartados_;
    // Of the last record taken.
    QString numeroTrabajador_;
    QString nombreEmpresa_;
    QString CampoImportado_;
};

ResultadoImportacion Importacion::ejecutar(const QStringList& ficheros)
{
    ResultadoImportacion resultado;
    try {
        CrearSiFalta(platform::hostPath(QString::fromUtf8(kDiscordanciasE)));
        CrearSiFalta(platform::hostPath(QString::fromUtf8(kDiscordanciasT)));
        QDir().mkpath(platform::hostPath(QString::fromLatin1(kContratosTemp)));
        disposicion_ = Disposicion::leer(db_);
    } catch (const platform::DbError& error) {
        AvisarBaseDatos(error, discoLlenoDicho_);
        resultado.interrumpida = true;
        return resultado;
    } catch (const platform::FileError& error) {
        MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        resultado.interrumpida = true;
        return resultado;
    }
    // The whole run is one transaction, each file a savepoint in it: one
    // wait for the disk instead of one per file. A file leaves ContratosImp
    // only once its rows are committed, so a kill at any instant leaves each
    // file either filed with its rows or still listed for the next run,
    // which writes the same rows again.
    try {
        platform::Transaction transaccion(db_);
        for (const QString& fichero : ficheros)
            importarFichero(fichero);
        transaccion.commit();
    } catch (const platform::DbError& error) {
        AvisarBaseDatos(error, discoLlenoDicho_);
        resultado.interrumpida = true;
        return resultado;
    }
    archivar();
    avisarApartados();
    resultado.contadores = contadores_;
    return resultado;
}

void Importacion::archivar()
{
    for (const auto& [origen, destino, importado] : archivados_) {
        if (platform::moveFile(origen, destino))
            continue;
        const QString nombre = QFileInfo(origen).fileName();
        const QString temp = QString::fromLatin1(kContratosTemp);
        const QString imp = QString::fromLatin1(kContratosImp);
        MsgBox(importado
                   ? QStringLiteral("El fichero %1 se ha importado pero no se puede dejar en la carpeta %2: queda "
                                    "en la carpeta %3 y la próxima importación lo dejará allí sin volver a "
                                    "importarlo.")
                         .arg(nombre, temp, imp)
                   : QStringLiteral("El fichero %1 no se puede dejar en la carpeta %2: queda en la carpeta %3 y "
                                    "la próxima importación lo volverá a leer.")
                         .arg(nombre, temp, imp),
               platform::style::Critical);
    }
}

// One listed file, in a step of its own: its rows are written all or none,
// and the file is filed in ContratosTemp after the run's commit. A file that
// fails stays in ContratosImp with nothing of it written, and so does a file
// whose name is no record's, told. A record that cannot be one of the payroll
// server (in another encoding, too long, control characters in a field) is
// told, imports nothing and is filed all the same, so that it is told once.
// A file read before as it is now (fetched again from a server that keeps
// its files, or left here by a run that could not file it) is filed without
// a change to the database, so that what the office did with its worker
// since stays, and without a word if it was refused then. A failure of the
// database file itself (held by another program, full, unwritable, damaged)
// stops the run: it comes out as the DbError.
void Importacion::importarFichero(const QString& fichero)
{
    const QString nombre = fichero.mid(fichero.lastIndexOf(QLatin1Char('\\')) + 1);
    if (!SePuedeArchivar(nombre)) {
        MsgBox(QStringLiteral("El fichero %1 no se ha importado: su nombre no es el de un contrato. Queda en la "
                              "carpeta %2.")
                   .arg(nombre, QString::fromLatin1(kContratosImp)),
               platform::style::Critical);
        return;
    }
    const QString origen = platform::hostPath(fichero);
    const QString destino =
        platform::hostPath(QString::fromLatin1(kContratosTemp)) + QLatin1Char('/') + NombreArchivado(nombre);

    const ContadoresImportacion antes = contadores_;
    try {
        const QString huella = Huella(origen);
        if (const auto importado = leidoAntes(nombre, huella)) {
            if (*importado)
                apartados_ << nombre;
            archivados_.push_back({origen, destino, *importado});
            return;
        }
        const auto rechazar = [&](const QString& motivo) {
            anotar(nombre, huella, false);
            MsgBox(QStringLiteral("El fichero %1 no se ha importado: %2. Queda en la carpeta %3 como %4.")
                       .arg(nombre, motivo, QString::fromLatin1(kContratosTemp), NombreArchivado(nombre)),
                   platform::style::Critical);
            archivados_.push_back({origen, destino, false});
        };
        // Read as far as a record in two bytes a character would go.
        const qint64 maximo = LongitudMaxima(disposicion_);
        const QByteArray contenido = LeerFichero(origen, 2 * maximo + 2);
        const platform::TextEncoding codificacion = platform::encodingOf(contenido);
        if (codificacion == platform::TextEncoding::Utf16)
            return rechazar(platform::writtenIn(codificacion));
        if (const qint64 bytes = QFileInfo(origen).size(); bytes > maximo)
            return rechazar(QStringLiteral("con %1 bytes es más largo que un contrato").arg(bytes));
        if (codificacion != platform::TextEncoding::Cp1252)
            return rechazar(platform::writtenIn(codificacion));
        const RegistroContrato registro = RegistroContrato::desdeBytes(contenido);
        if (registro.tieneControles(disposicion_))
            return rechazar(QStringLiteral("tiene caracteres de control, que ningún contrato lleva"));
        platform::Savepoint paso(db_);
        ++contadores_.Ficheros;
        bool aceptado = true;
        if (!registro.vacio()) {
            numeroTrabajador_ = registro.numeroTrabajadorTexto();
            nombreEmpresa_ = registro.nombreEmpresa();
            aceptado = importar(registro);
        }
        // A record refused for a conflict is judged again when it comes
        // again: the office may have settled the conflict.
        if (aceptado)
            anotar(nombre, huella, true);
        paso.release();
        archivados_.push_back({origen, destino, aceptado});
    } catch (const platform::DbError& error) {
        contadores_ = antes;
        if (error.inTheFile())
            throw;
        MsgBox(MensajeError(contexto()), platform::style::Critical);
    } catch (const platform::FileError& error) {
        contadores_ = antes;
        MsgBox(QString::fromStdString(error.what()) + QStringLiteral(" Queda para la próxima importación."),
               platform::style::Critical);
    }
}

std::optional<bool> Importacion::leidoAntes(const QString& nombre, const QString& huella) const
{
    const auto fila = db_.first(
        QStringLiteral(R"(SELECT "Huella", "Importado" FROM "RegistrosRecibidos" WHERE "Nombre" = ?)"), {nombre});
    if (!fila || fila->text(QStringLiteral("Huella")) != huella)
        return std::nullopt;
    return fila->value(QStringLiteral("Importado")).toInt() != 0;
}

void Importacion::anotar(const QString& nombre, const QString& huella, bool importado)
{
    db_.exec(QStringLiteral(R"(INSERT OR REPLACE INTO "RegistrosRecibidos" ("Nombre", "Huella", "Importado")
                               VALUES (?, ?, ?))"),
             {nombre, huella, importado ? 1 : 0});
}

// Told once for the run, after the files are filed.
void Importacion::avisarApartados() const
{
    if (apartados_.isEmpty())
        return;
    MsgBox(apartados_.size() == 1
               ? QStringLiteral("El fichero %1 ya se había importado tal como está: no se ha vuelto a importar.")
                     .arg(apartados_.front())
               : QStringLiteral("%1 ficheros ya se habían importado tal como están: no se han vuelto a importar.")
                     .arg(apartados_.size()),
           platform::style::Information);
}

// Whether the record was taken: false when it was refused for a conflict
// with the stored company or worker.
bool Importacion::importar(const RegistroContrato& registro)
{
    const QString numeroEmpresa = registro.numeroEmpresa();
    const auto empresa = db_.first(QStringLiteral("SELECT IdEmpresa, NIF FROM Empresas WHERE NúmeroEmpresa = ? "
                                                  "ORDER BY IdEmpresa LIMIT 1"),
                                   {numeroEmpresa});
    if (!empresa) {
        db_.insert(QStringLiteral("Empresas"), filaEmpresa(registro));
        ++contadores_.NuevasEmpresas;
        ++contadores_.NuevosTrabajadores;
        ActualizarTrabajadorImportado(registro, std::nullopt);
        return true;
    }

    if (empresa->isNull(QStringLiteral("NIF")) || empresa->text(QStringLiteral("NIF")) != registro.nifEmpresa()) {
        MsgBox(QStringLiteral("El número de empresa no coincide con el de la base de datos"),
               platform::style::Critical);
        discordancia(kDiscordanciasE, ++contadores_.DiscordanciasE, 35,
                     platform::fixedField(registro.nombreEmpresa(), 30) + platform::fixedField(numeroEmpresa, 5));
        return false;
    }
    db_.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), empresa->value(QStringLiteral("IdEmpresa")),
               filaEmpresa(registro));

    // A worker number that is no number finds no worker, and names none to
    // add: the company's update stays, the worker is told and not written.
    const auto numero = registro.numeroTrabajador();
    if (!numero) {
        CampoImportado_ = QStringLiteral("Número Trabajador = ") + registro.numeroTrabajadorTexto();
        MsgBox(MensajeError(contexto()), platform::style::Critical);
        return true;
    }
    const auto trabajador =
        db_.first(QStringLiteral("SELECT IdTrabajador, NIF14 FROM Trabajadores WHERE NumEmpresa = ? "
                                 "AND NúmeroTrabajador = ? ORDER BY IdTrabajador LIMIT 1"),
                  {numeroEmpresa, *numero});
    if (!trabajador) {
        ++contadores_.NuevosTrabajadores;
        ActualizarTrabajadorImportado(registro, std::nullopt);
        return true;
    }
    if (trabajador->isNull(QStringLiteral("NIF14"))
        || trabajador->text(QStringLiteral("NIF14")) != registro.nifTrabajador()) {
        MsgBox(QStringLiteral("No coincide el NIF con el dato almacenado en la base de datos."),
               platform::style::Critical);
        discordancia(kDiscordanciasT, ++contadores_.DiscordanciasT, 40,
                     platform::fixedField(numeroEmpresa, 5) + platform::fixedField(registro.nombreTrabajador(), 30)
                         + platform::fixedField(registro.numeroTrabajadorTexto(), 5));
        return false;
    }
    ActualizarTrabajadorImportado(registro, trabajador->value(QStringLiteral("IdTrabajador")).toLongLong());
    return true;
}

Row Importacion::filaEmpresa(const RegistroContrato& registro)
{
    Row fila;
    for (const Campo& campo : CamposEmpresa()) {
        if (!registro.seEscribe(campo))
            continue;
        const QString valor = registro.valor(campo);
        CampoImportado_ = QString::fromUtf8(campo.etiqueta) + valor;
        fila.set(QString::fromUtf8(campo.columna), valor);
    }
    return fila;
}

std::optional<qint64> Importacion::idEmpresa(const QString& numeroEmpresa) const
{
    const auto fila = db_.first(
        QStringLiteral("SELECT IdEmpresa FROM Empresas WHERE NúmeroEmpresa = ? ORDER BY IdEmpresa LIMIT 1"),
        {numeroEmpresa});
    if (!fila)
        return std::nullopt;
    return fila->value(QStringLiteral("IdEmpresa")).toLongLong();
}

// Writes the worker's columns from the record and saves the row (added when
// there is no `idTrabajador`). A field the record gets wrong is told and left
// as it was; a save that fails is told and leaves the worker as it was.
void Importacion::ActualizarTrabajadorImportado(const RegistroContrato& registro,
                                                std::optional<qint64> idTrabajador)
{
    QString campo;
    const QString nombre = Recortar(registro.nombreTrabajador());
    platform::Savepoint guardado(db_);
    try {
        Row fila;
        for (const Campo& c : CamposTrabajador()) {
            if (!registro.seEscribe(c))
                continue;
            const QString valor = registro.valor(c);
            campo = QString::fromUtf8(c.etiqueta) + valor;
            fila.set(QString::fromUtf8(c.columna), valor);
        }
        for (const Marca& marca : MarcasTrabajador()) {
            campo = QString::fromUtf8(marca.etiqueta);
            fila.set(QString::fromUtf8(marca.columna), QStringLiteral("No"));
        }
        for (const CampoFecha& c : FechasTrabajador()) {
            const FechaImportada fecha = registro.fecha(c);
            if (!fecha.presente)
                continue;
            campo = QString::fromUtf8(c.etiqueta) + fecha.texto;
            if (fecha.fecha.isValid())
                fila.set(QString::fromUtf8(c.columna), platform::dateValue(fecha.fecha));
            else
                MsgBox(QString::fromUtf8(c.mensaje) + nombre + QStringLiteral(" incorrecta; ") + fecha.texto, c.estilo);
        }
        campo = QStringLiteral("Número Trabajador = ") + registro.numeroTrabajadorTexto();
        if (const auto numero = registro.numeroTrabajador()) {
            fila.set(QStringLiteral("NúmeroTrabajador"), *numero);
        } else {
            MsgBox(QStringLiteral("Número del trabajador : ") + nombre + QStringLiteral(" , número de trabajador : ")
                       + registro.numeroTrabajadorTexto(),
                   platform::style::Critical);
        }
        const auto empresa = idEmpresa(registro.numeroEmpresa());
        campo = QStringLiteral("IdEmpresa ");
        if (empresa)
            fila.set(QStringLiteral("IdEmpresa"), QString::number(*empresa));

        if (idTrabajador)
            db_.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), *idTrabajador, fila);
        else
            db_.insert(QStringLiteral("Trabajadores"), fila);
        guardado.release();
    } catch (const platform::DbError& error) {
        // A failure of the database file stops the whole run.
        if (error.inTheFile())
            throw;
        guardado.rollback();
        MsgBox(MensajeError({registro.numeroTrabajadorTexto(), registro.nombreEmpresa(), campo}),
               platform::style::Critical);
    }
}

void Importacion::discordancia(const char* log, int numero, int longitud, const QByteArray& registro)
{
    platform::writeRecord(platform::hostPath(QString::fromUtf8(log)), numero, longitud, registro,
                          platform::FileAccess::OwnerOnly);
}

} // namespace

ResultadoImportacion ProcesarContratosImportados(platform::Database& db, const QStringList& ficheros,
                                                 bool discoLlenoDicho)
{
    return Importacion(db, discoLlenoDicho).ejecutar(ficheros);
}

QString MensajeBaseDatos(const platform::DbError& error)
{
    QString causa;
    switch (error.code()) {
    case platform::kErrLocked:
        causa = QStringLiteral("Otro programa está usando la base de datos: no se ha podido importar.");
        break;
    case platform::kErrDamaged:
        causa = QStringLiteral("La base de datos está dañada: no se ha podido importar.");
        break;
    case platform::kErrDiskFull:
    case platform::kErrCannotWrite:
        causa = QString::fromStdString(error.what());
        break;
    default:
        causa = QStringLiteral("No se ha podido guardar la importación en la base de datos (%1).")
                    .arg(QString::fromStdString(error.what()));
        break;
    }
    return causa + QStringLiteral(" Los contratos que faltan por importar quedan para la próxima importación.");
}

void AvisarBaseDatos(const platform::DbError& error, bool discoLlenoDicho)
{
    if (!(discoLlenoDicho && error.code() == platform::kErrDiskFull))
        MsgBox(MensajeBaseDatos(error), platform::style::Critical);
}

} // namespace exchange
