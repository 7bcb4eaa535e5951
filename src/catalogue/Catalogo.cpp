#include "catalogue/Catalogo.h"

#include "companies/Comprobaciones.h"
#include "platform/Database.h"

using platform::Database;
using platform::Row;

namespace catalogo {

namespace {

// The count of a mark found once more in a model: the stored count plus one,
// or "2" when the stored value is empty, Null or no count of digits.
QString vecesSiguiente(const QVariant& veces)
{
    const QString texto = veces.toString().trimmed();
    bool valido = false;
    const qint64 n = texto.toLongLong(&valido);
    if (!comprobaciones::EsEntero(texto) || !valido || n < 1)
        return QStringLiteral("2");
    return QString::number(n + 1);
}

} // namespace

void BorrarTipoContrato(Database& db, qint64 idTipoContrato)
{
    platform::Transaction transaccion(db);
    db.exec(QStringLiteral("UPDATE Contrato SET IdTipoContrato = '' WHERE IdTipoContrato = ?"),
            {QString::number(idTipoContrato)});
    db.remove(QStringLiteral("TipoContrato"), QStringLiteral("IdTipoContrato"), idTipoContrato);
    transaccion.commit();
}

QString IdTipoContratoDeNombre(const Database& db, const QString& nombre)
{
    const auto tipo = db.first(
        QStringLiteral("SELECT IdTipoContrato FROM TipoContrato WHERE TipoContrato = ? ORDER BY IdTipoContrato"),
        {nombre});
    return tipo ? tipo->text(QStringLiteral("IdTipoContrato")) : QStringLiteral("");
}

void BorrarModelo(Database& db, qint64 idModelo)
{
    platform::Transaction transaccion(db);
    db.exec(QStringLiteral("DELETE FROM MarcasCont WHERE IdModelo = ?"), {QString::number(idModelo)});
    db.remove(QStringLiteral("Modelo"), QStringLiteral("IdModelo"), idModelo);
    transaccion.commit();
}

UsosMarca ModelosConMarca(const Database& db, const QString& codigo)
{
    UsosMarca usos;
    const auto filas =
        db.select(QStringLiteral("SELECT IdModelo FROM MarcasCont WHERE CódigoMarca = ? ORDER BY IdMarca"), {codigo});
    usos.filas = static_cast<int>(filas.size());
    for (const Row& fila : filas) {
        bool valido = false;
        const qint64 idModelo = fila.text(QStringLiteral("IdModelo")).toLongLong(&valido);
        if (!valido)
            continue;
        const auto modelo =
            db.first(QStringLiteral("SELECT NombreModelo FROM Modelo WHERE IdModelo = ?"), {idModelo});
        if (modelo)
            usos.modelos << modelo->text(QStringLiteral("NombreModelo"));
    }
    return usos;
}

void BorrarMarca(Database& db, qint64 idMarca, const QString& codigo)
{
    platform::Transaction transaccion(db);
    db.exec(QStringLiteral("DELETE FROM MarcasCont WHERE CódigoMarca = ?"), {codigo});
    db.remove(QStringLiteral("Marcas"), QStringLiteral("IdMarca"), idMarca);
    transaccion.commit();
}

std::optional<qint64> MarcaEnModelo(const Database& db, const QString& idModelo, const QString& codigo)
{
    const auto fila = db.first(
        QStringLiteral("SELECT IdMarca FROM MarcasCont WHERE CódigoMarca = ? AND IdModelo = ? ORDER BY IdMarca"),
        {codigo, idModelo});
    if (!fila)
        return std::nullopt;
    return fila->value(QStringLiteral("IdMarca")).toLongLong();
}

void AnadirMarcaAModelo(Database& db, const QString& idModelo, const Row& marca)
{
    db.insert(QStringLiteral("MarcasCont"),
              {{QStringLiteral("IdModelo"), idModelo},
               {QStringLiteral("CódigoMarca"), marca.value(QStringLiteral("CódigoMarca"))},
               {QStringLiteral("DescripciónDato"), marca.value(QStringLiteral("DescripciónDato"))},
               {QStringLiteral("Longitud"), marca.value(QStringLiteral("Longitud"))}});
}

void RepetirMarcaEnModelo(Database& db, qint64 idFila)
{
    const auto fila = db.first(QStringLiteral("SELECT Veces FROM MarcasCont WHERE IdMarca = ?"), {idFila});
    if (!fila)
        return;
    db.update(QStringLiteral("MarcasCont"), QStringLiteral("IdMarca"), idFila,
              {{QStringLiteral("Veces"), vecesSiguiente(fila->value(QStringLiteral("Veces")))}});
}

void QuitarMarcaDeModelo(Database& db, qint64 idFila)
{
    const auto fila = db.first(QStringLiteral("SELECT Veces FROM MarcasCont WHERE IdMarca = ?"), {idFila});
    if (!fila)
        return;
    if (fila->text(QStringLiteral("Veces")).isEmpty())
        db.remove(QStringLiteral("MarcasCont"), QStringLiteral("IdMarca"), idFila);
    else
        db.update(QStringLiteral("MarcasCont"), QStringLiteral("IdMarca"), idFila,
                  {{QStringLiteral("Veces"), QStringLiteral("")}});
}

void BorrarClausula(Database& db, qint64 idClausula)
{
    platform::Transaction transaccion(db);
    db.exec(QStringLiteral("DELETE FROM EMPRESACLAUSULA WHERE IDCLAUSULA = ?"), {idClausula});
    db.remove(QStringLiteral("Clausulas"), QStringLiteral("IdClausula"), idClausula);
    transaccion.commit();
}

} // namespace catalogo
