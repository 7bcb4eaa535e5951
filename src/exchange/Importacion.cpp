#include "exchange/Importacion.h"

#include "exchange/ContratoImportado.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>
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
    explicit Importacion(Database& db) : db_(db) {}
    ResultadoImportacion ejecutar(const QStringList& ficheros);

private:
    struct Importado {
        QString fichero;
        Contexto contexto;
    };

    void importar(const RegistroContrato& registro);
    Row filaEmpresa(const RegistroContrato& registro);
    std::optional<qint64> idEmpresa(const QString& numeroEmpresa) const;
    void ActualizarTrabajadorImportado(const RegistroContrato& registro, std::optional<qint64> idTrabajador);
    void discordancia(const char* log, int numero, int longitud, const QByteArray& registro);
    bool mover(const std::vector<Importado>& importados);
    Contexto contexto() const { return {numeroTrabajador_, nombreEmpresa_, CampoImportado_}; }

    Database& db_;
    ContadoresImportacion contadores_;
    // Of the last record taken.
    QString numeroTrabajador_;
    QString nombreEmpresa_;
    QString CampoImportado_;
};

ResultadoImportacion Importacion::ejecutar(const QStringList& ficheros)
{
    ResultadoImportacion resultado;
    std::vector<Importado> importados;
    try {
        CrearSiFalta(platform::hostPath(QString::fromUtf8(kDiscordanciasE)));
        CrearSiFalta(platform::hostPath(QString::fromUtf8(kDiscordanciasT)));
        platform::Transaction transaccion(db_);
        for (const QString& fichero : ficheros) {
            try {
                const RegistroContrato registro = LeerRegistro(platform::hostPath(fichero));
                ++contadores_.Ficheros;
                if (!registro.vacio()) {
                    numeroTrabajador_ = registro.numeroTrabajadorTexto();
                    nombreEmpresa_ = registro.nombreEmpresa();
                    importar(registro);
                }
                importados.push_back({fichero, contexto()});
            } catch (const std::exception&) {
                MsgBox(MensajeError(contexto()), platform::style::Critical);
                resultado.interrumpida = true;
                break;
            }
        }
        transaccion.commit();
    } catch (const std::exception&) {
        // Nothing of the run was saved: every file stays where it is.
        MsgBox(MensajeError(contexto()), platform::style::Critical);
        resultado.interrumpida = true;
        resultado.contadores = contadores_;
        return resultado;
    }
    if (!mover(importados))
        resultado.interrumpida = true;
    resultado.contadores = contadores_;
    return resultado;
}

void Importacion::importar(const RegistroContrato& registro)
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
        return;
    }

    if (empresa->isNull(QStringLiteral("NIF")) || empresa->text(QStringLiteral("NIF")) != registro.nifEmpresa()) {
        MsgBox(QStringLiteral("El número de empresa no coincide con el de la base de datos"),
               platform::style::Critical);
        discordancia(kDiscordanciasE, ++contadores_.DiscordanciasE, 35,
                     platform::fixedField(registro.nombreEmpresa(), 30) + platform::fixedField(numeroEmpresa, 5));
        return;
    }
    db_.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), empresa->value(QStringLiteral("IdEmpresa")),
               filaEmpresa(registro));

    // A worker number that is no number finds no worker.
    std::optional<Row> trabajador;
    if (const auto numero = registro.numeroTrabajador()) {
        trabajador = db_.first(QStringLiteral("SELECT IdTrabajador, NIF14 FROM Trabajadores WHERE NumEmpresa = ? "
                                              "AND NúmeroTrabajador = ? ORDER BY IdTrabajador LIMIT 1"),
                               {numeroEmpresa, *numero});
    }
    if (!trabajador) {
        ++contadores_.NuevosTrabajadores;
        ActualizarTrabajadorImportado(registro, std::nullopt);
        return;
    }
    if (trabajador->isNull(QStringLiteral("NIF14"))
        || trabajador->text(QStringLiteral("NIF14")) != registro.nifTrabajador()) {
        MsgBox(QStringLiteral("No coincide el NIF con el dato almacenado en la base de datos."),
               platform::style::Critical);
        discordancia(kDiscordanciasT, ++contadores_.DiscordanciasT, 40,
                     platform::fixedField(numeroEmpresa, 5) + platform::fixedField(registro.nombreTrabajador(), 30)
                         + platform::fixedField(registro.numeroTrabajadorTexto(), 5));
        return;
    }
    ActualizarTrabajadorImportado(registro, trabajador->value(QStringLiteral("IdTrabajador")).toLongLong());
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
    } catch (const platform::DbError&) {
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

// Each imported file moves to ContratosTemp under its name less the user's
// key, replacing a file of that name. The first that cannot move stops the
// moving; it and those after it stay to be imported again.
bool Importacion::mover(const std::vector<Importado>& importados)
{
    const QString destino = platform::hostPath(QString::fromUtf8(kContratosTemp));
    QDir().mkpath(destino);
    for (const Importado& importado : importados) {
        const QString nombre = importado.fichero.mid(importado.fichero.lastIndexOf(QLatin1Char('\\')) + 1);
        const QString origen = platform::hostPath(importado.fichero);
        const QString final = destino + QLatin1Char('/') + nombre.mid(2);
        if (std::rename(QFile::encodeName(origen).constData(), QFile::encodeName(final).constData()) != 0) {
            MsgBox(MensajeError(importado.contexto), platform::style::Critical);
            return false;
        }
    }
    return true;
}

} // namespace

ResultadoImportacion ProcesarContratosImportados(platform::Database& db, const QStringList& ficheros)
{
    return Importacion(db).ejecutar(ficheros);
}

} // namespace exchange
