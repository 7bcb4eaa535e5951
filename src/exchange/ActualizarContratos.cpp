#include "exchange/ActualizacionCatalogo.h"

#include "exchange/FicheroTraspaso.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"

#include <QFileInfo>

using platform::Database;
using platform::Row;
using traspaso::Medio;

namespace actualizacion {

namespace {

// Error numbers of the run, as the message shows them.
constexpr int kErrArchivoNoEncontrado = 53;
constexpr int kErrFinDeArchivo = 62;
constexpr int kErrAccesoArchivo = 75;
constexpr int kErrLineaMalFormada = 1001;
constexpr int kErrBaseDatos = 1002;
constexpr int kErrCodificacion = 1003;

struct Fallo {
    int numero;
    QString descripcion;
};

Fallo lineaMalFormada(int linea)
{
    return {kErrLineaMalFormada, QStringLiteral("La línea %1 del archivo no tiene el formato esperado").arg(linea)};
}

// Writes `fila` as the row `clave` of `tabla`: changed when it is there,
// added with that key when it is not.
void grabar(Database& db, const QString& tabla, const QString& campoClave, qint64 clave, Row fila)
{
    if (db.first(QStringLiteral("SELECT %1 FROM %2 WHERE %1 = ?")
                     .arg(platform::quoteName(campoClave), platform::quoteName(tabla)),
                 {clave})) {
        db.update(tabla, campoClave, clave, fila);
    } else {
        fila.set(campoClave, clave);
        db.insert(tabla, fila);
    }
}

// A type line ("T"): 3-7 type number, 9- type name.
// A contract line ("C"): 3-7 contract number, 9-13 type number, 15-114 type
// name, 116-120 model, 122-124 official code, 126- contract name.
// Applies the lines up to "."; what stops it comes back, the lines before it
// staying applied.
std::optional<Fallo> aplicar(Database& db, const QStringList& lineas)
{
    for (int i = 0; i < lineas.size(); ++i) {
        const QString& linea = lineas.at(i);
        const int numeroLinea = i + 1;
        if (linea.startsWith(QLatin1Char('.')))
            return std::nullopt;
        const bool tipo = linea.startsWith(QLatin1Char('T'));
        if (!tipo && !linea.startsWith(QLatin1Char('C')))
            continue;
        const auto clave = traspaso::Numero(Medio(linea, 3, 5));
        if (!clave || linea.size() < (tipo ? 8 : 121))
            return lineaMalFormada(numeroLinea);
        try {
            if (tipo) {
                grabar(db, QStringLiteral("TipoContrato"), QStringLiteral("IdTipoContrato"), *clave,
                       {{QStringLiteral("TipoContrato"), Medio(linea, 9).trimmed()}});
            } else {
                grabar(db, QStringLiteral("Contrato"), QStringLiteral("IdContrato"), *clave,
                       {{QStringLiteral("IdTipoContrato"), Medio(linea, 9, 5).trimmed()},
                        {QStringLiteral("TipoContrato"), Medio(linea, 15, 100).trimmed()},
                        {QStringLiteral("Modelo"), Medio(linea, 116, 5).trimmed()},
                        {QStringLiteral("Código"), Medio(linea, 122, 3).trimmed()},
                        {QStringLiteral("Contrato"), Medio(linea, 126).trimmed()}});
            }
        } catch (const platform::DbError& error) {
            // The database failing (a full disk) is no fault of the line in hand.
            if (error.inTheFile())
                throw;
            return Fallo{kErrBaseDatos, QStringLiteral("La base de datos no ha aceptado la línea %1 (%2)")
                                            .arg(numeroLinea)
                                            .arg(QString::fromStdString(error.what()))};
        }
    }
    return Fallo{kErrFinDeArchivo, QStringLiteral("Se ha leído más allá del final del archivo")};
}

void mostrarFallo(const Fallo& fallo)
{
    platform::MsgBox(QStringLiteral("Error %1 %2 %3")
                         .arg(fallo.numero)
                         .arg(fallo.descripcion, QString::fromLatin1(platform::kProgramTitle)),
                     platform::style::OkOnly);
}

} // namespace

void ActualizarContratos(Database& db, const QString& hostFile, const Aviso& aviso)
{
    const QString nombre = QFileInfo(hostFile).fileName();
    std::optional<QStringList> lineas;
    try {
        lineas = traspaso::LeerLineas(hostFile);
    } catch (const traspaso::CodificacionNoValida& error) {
        mostrarFallo({kErrCodificacion,
                      QString::fromStdString(error.what()) + QStringLiteral(" No se ha cambiado nada")});
        return;
    } catch (const platform::FileError&) {
        mostrarFallo({kErrAccesoArchivo, QStringLiteral("No se puede leer el archivo %1").arg(nombre)});
        return;
    }
    if (!lineas) {
        mostrarFallo({kErrArchivoNoEncontrado, QStringLiteral("No se ha encontrado el archivo %1").arg(nombre)});
        return;
    }
    if (aviso.mostrar)
        aviso.mostrar();
    std::optional<Fallo> fallo;
    try {
        // One transaction for speed only: what was applied before a failure
        // is kept all the same.
        platform::Transaction transaccion(db);
        fallo = aplicar(db, *lineas);
        transaccion.commit();
    } catch (const platform::DbError& error) {
        fallo = Fallo{kErrBaseDatos, QStringLiteral("No se ha podido grabar la base de datos. %1")
                                         .arg(QString::fromStdString(error.what()))};
    }
    if (aviso.quitar)
        aviso.quitar();
    if (fallo)
        mostrarFallo(*fallo);
}

} // namespace actualizacion
