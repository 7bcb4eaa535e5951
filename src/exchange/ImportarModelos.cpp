#include "exchange/ActualizacionCatalogo.h"

#include "exchange/FicheroTraspaso.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"

#include <QFile>
#include <QFileInfo>

using platform::Database;
using platform::MsgBox;
using platform::Row;
using traspaso::Medio;

namespace actualizacion {

namespace {

// Contract names are cut to what the contract and type editors accept.
constexpr int kLargoContrato = 120;
constexpr int kLargoTipo = 100;
// The model that a replacement line retires.
constexpr auto kP99 = "P99";

// A line that cannot be applied (number from 1) and why; the file and the
// tables are left as they were before the run.
struct Rechazo {
    int linea;
    QString motivo;
};

QString SinLineaFinal()
{
    return QStringLiteral("el archivo termina sin la línea final \".\"");
}

// One run over the lines of the model file, inside the caller's transaction.
//
// A model line ("*") brings a contract of a type, written on a model:
//   3-6 model name, 8-11 type number, 13-15 official code, 17- contract name.
// A change line ("C") names a model at 3-6; one that begins "C*P1" is laid
// out as a model line and replaces model "P99" with the contract it brings.
// A mark line ("M") adds the mark whose code is at 3-6 to the current model,
// with how many times it occurs at 8.
class Traspaso {
public:
    Traspaso(Database& db, const QStringList& lineas) : db_(db), lineas_(lineas) {}

    // Applies the lines up to "."; returns how many model steps were taken.
    int aplicar()
    {
        int i = 0;
        while (true) {
            if (i >= lineas_.size())
                throw Rechazo{static_cast<int>(lineas_.size()) + 1, SinLineaFinal()};
            const QString& linea = lineas_.at(i);
            try {
                if (linea.startsWith(QLatin1Char('.')))
                    return cuenta_;
                if (linea.startsWith(QLatin1Char('*')))
                    i = lineaModelo(i);
                else if (linea.startsWith(QLatin1Char('C')))
                    i = lineaCambio(i);
                else if (linea.startsWith(QLatin1Char('M')))
                    i = lineaMarca(i);
                else
                    ++i;
            } catch (const platform::DbError& error) {
                // The database failing (a full disk) is no fault of the line in hand.
                if (error.inTheFile())
                    throw;
                throw Rechazo{i + 1, QStringLiteral("la base de datos no la ha aceptado (%1)")
                                         .arg(QString::fromStdString(error.what()))};
            }
        }
    }

private:
    // Each handler takes the line at `i` and returns the index of the line
    // to take next.

    int lineaModelo(int i)
    {
        const QString& linea = lineas_.at(i);
        comprobarModelo(i);
        const qint64 numero = numeroDeTipo(i);
        platform::Savepoint bloque(db_);
        auto tipo = tipoContrato(numero);
        if (!tipo) {
            db_.insert(QStringLiteral("TipoContrato"),
                       {{QStringLiteral("TipoContrato"), Medio(linea, 17).left(kLargoTipo)}});
            tipo = tipoContrato(numero);
        }
        if (!tipo) {
            // The database gave the new type another number than the file's:
            // this block is left out whole, its type included.
            bloque.rollback();
            MsgBox(QStringLiteral("Ha manipulado la base de datos y no se pueden cargar las actualizaciones"),
                   platform::style::Information);
            return siguienteModelo(i + 1);
        }
        bloque.release();
        anadirContrato(linea, *tipo);
        pasoModelo(linea);
        return i + 1;
    }

    int lineaCambio(int i)
    {
        const QString& linea = lineas_.at(i);
        comprobarModelo(i);
        if (linea.startsWith(QLatin1String("C*P1"))) {
            const qint64 numero = numeroDeTipo(i);
            const auto conP99 =
                db_.select(QStringLiteral("SELECT IdContrato FROM Contrato WHERE Modelo = ? ORDER BY IdContrato"),
                           {QString::fromLatin1(kP99)});
            if (!conP99.empty()) {
                const auto tipo = tipoContrato(numero);
                if (!tipo) {
                    // Nothing is replaced; the lines up to the next model are
                    // passed over and the closing step falls on that model.
                    const int j = siguienteModelo(i + 1);
                    if (!lineas_.at(j).startsWith(QLatin1Char('.')))
                        pasoModelo(lineas_.at(j));
                    return j;
                }
                db_.remove(QStringLiteral("Contrato"), QStringLiteral("IdContrato"),
                           conP99.front().value(QStringLiteral("IdContrato")));
                if (conP99.size() == 1)
                    borrarModeloP99();
                anadirContrato(linea, *tipo);
                pasoModelo(linea);
            }
        }
        pasoModelo(linea);
        return i + 1;
    }

    int lineaMarca(int i)
    {
        // Marks come after their model; before the run's first model there is
        // none to give them to.
        if (!modeloActual_)
            return i + 1;
        const QString codigo = Medio(lineas_.at(i), 3, 4);
        const auto marca = db_.first(QStringLiteral("SELECT * FROM Marcas WHERE CódigoMarca = ? ORDER BY IdMarca"),
                                     {codigo});
        if (!marca)
            throw Rechazo{i + 1, QStringLiteral("la marca %1 no está en el catálogo de marcas").arg(codigo)};
        const QString idModelo = QString::number(*modeloActual_);
        // One row per mark of a model: a mark it has already keeps its row.
        if (db_.first(QStringLiteral("SELECT IdMarca FROM MarcasCont WHERE IdModelo = ? AND CódigoMarca = ?"),
                      {idModelo, marca->value(QStringLiteral("CódigoMarca"))}))
            return i + 1;
        const QString veces = Medio(lineas_.at(i), 8, 1);
        const bool esCifra = veces.size() == 1 && veces.at(0) >= QLatin1Char('0') && veces.at(0) <= QLatin1Char('9');
        db_.insert(QStringLiteral("MarcasCont"),
                   {{QStringLiteral("CódigoMarca"), marca->value(QStringLiteral("CódigoMarca"))},
                    {QStringLiteral("DescripciónDato"), marca->value(QStringLiteral("DescripciónDato"))},
                    {QStringLiteral("Longitud"), marca->value(QStringLiteral("Longitud"))},
                    {QStringLiteral("IdModelo"), idModelo},
                    {QStringLiteral("Veces"), esCifra ? veces : QStringLiteral("")}});
        return i + 1;
    }

    // The model named at 3-6 becomes the current one, added when missing.
    void pasoModelo(const QString& linea)
    {
        const QString nombre = Medio(linea, 3, 4).trimmed();
        const auto modelo =
            db_.first(QStringLiteral("SELECT IdModelo FROM Modelo WHERE NombreModelo = ? ORDER BY IdModelo"), {nombre});
        modeloActual_ = modelo ? modelo->value(QStringLiteral("IdModelo")).toLongLong()
                               : db_.insert(QStringLiteral("Modelo"),
                                            {{QStringLiteral("NombreModelo"), nombre},
                                             {QStringLiteral("Ubicación"), nombre + QStringLiteral(".rtf")}});
        ++cuenta_;
    }

    void anadirContrato(const QString& linea, const Row& tipo)
    {
        db_.insert(QStringLiteral("Contrato"),
                   {{QStringLiteral("Contrato"), Medio(linea, 17).left(kLargoContrato)},
                    {QStringLiteral("IdTipoContrato"), tipo.text(QStringLiteral("IdTipoContrato"))},
                    {QStringLiteral("TipoContrato"), tipo.value(QStringLiteral("TipoContrato"))},
                    {QStringLiteral("Modelo"), Medio(linea, 3, 4).trimmed()},
                    {QStringLiteral("Código"), Medio(linea, 13, 3).trimmed()}});
    }

    // Model "P99" and its marks, once no contract is written on it.
    void borrarModeloP99()
    {
        const auto modelos =
            db_.select(QStringLiteral("SELECT IdModelo FROM Modelo WHERE NombreModelo = ?"),
                       {QString::fromLatin1(kP99)});
        for (const Row& modelo : modelos) {
            const QVariant id = modelo.value(QStringLiteral("IdModelo"));
            db_.remove(QStringLiteral("MarcasCont"), QStringLiteral("IdModelo"), id.toString());
            db_.remove(QStringLiteral("Modelo"), QStringLiteral("IdModelo"), id);
        }
    }

    std::optional<Row> tipoContrato(qint64 numero)
    {
        return db_.first(QStringLiteral("SELECT * FROM TipoContrato WHERE IdTipoContrato = ?"), {numero});
    }

    // The type number of a model or replacement line; such a line has its
    // contract name from 17 on.
    qint64 numeroDeTipo(int i) const
    {
        const QString& linea = lineas_.at(i);
        if (linea.size() < 16)
            throw Rechazo{i + 1, QStringLiteral("es demasiado corta para llevar el nombre del contrato")};
        const auto numero = traspaso::Numero(Medio(linea, 8, 4));
        if (!numero)
            throw Rechazo{i + 1, QStringLiteral("el tipo de contrato \"%1\" no es un número").arg(Medio(linea, 8, 4))};
        return *numero;
    }

    // Model, replacement and change lines all name a model at 3-6.
    void comprobarModelo(int i) const
    {
        if (Medio(lineas_.at(i), 3, 4).trimmed().isEmpty())
            throw Rechazo{i + 1, QStringLiteral("no lleva el nombre del modelo")};
    }

    // The index of the next model line or of the end line, from `desde` on.
    int siguienteModelo(int desde) const
    {
        for (int j = desde; j < lineas_.size(); ++j) {
            const QString& linea = lineas_.at(j);
            if (linea.startsWith(QLatin1Char('*')) || linea.startsWith(QLatin1Char('.')))
                return j;
        }
        throw Rechazo{static_cast<int>(lineas_.size()) + 1, SinLineaFinal()};
    }

    Database& db_;
    const QStringList& lineas_;
    std::optional<qint64> modeloActual_;
    int cuenta_ = 0;
};

} // namespace

void ImportarModelos(Database& db, const QString& hostFile, const Aviso& aviso)
{
    std::optional<QStringList> lineas;
    try {
        lineas = traspaso::LeerLineas(hostFile);
    } catch (const traspaso::CodificacionNoValida& error) {
        MsgBox(QString::fromStdString(error.what())
                   + QStringLiteral(" No se ha cargado ningún modelo y el archivo se conserva."),
               platform::style::Critical);
        return;
    } catch (const platform::FileError& error) {
        MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    if (!lineas) {
        MsgBox(QStringLiteral("No hay ningún archivo con nuevos modelos."), platform::style::Information);
        return;
    }
    if (aviso.mostrar)
        aviso.mostrar();
    const auto quitarAviso = [&] {
        if (aviso.quitar)
            aviso.quitar();
    };

    int cuenta = 0;
    try {
        platform::Transaction transaccion(db);
        cuenta = Traspaso(db, *lineas).aplicar();
        transaccion.commit();
    } catch (const Rechazo& rechazo) {
        quitarAviso();
        MsgBox(QStringLiteral("No se han podido cargar los nuevos modelos: línea %1, %2.")
                   .arg(rechazo.linea)
                   .arg(rechazo.motivo),
               platform::style::Critical);
        return;
    } catch (const platform::DbError& error) {
        quitarAviso();
        MsgBox(QStringLiteral("No se han podido cargar los nuevos modelos: no se ha podido grabar la base de "
                              "datos. %1 No se ha cargado ningún modelo y el archivo se conserva.")
                   .arg(QString::fromStdString(error.what())),
               platform::style::Critical);
        return;
    }
    quitarAviso();
    const bool borrado = QFile::remove(hostFile);
    MsgBox(QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado %1 modelos.").arg(cuenta),
           platform::style::Information);
    // Applied a second time, its contracts would be there twice.
    if (!borrado)
        MsgBox(QStringLiteral("No se ha podido borrar el archivo %1. Bórrelo antes de volver a cargar nuevos modelos.")
                   .arg(QFileInfo(hostFile).fileName()),
               platform::style::Critical);
}

} // namespace actualizacion
