#include "companies/Empresas.h"

using platform::Database;
using platform::Row;

namespace empresas {

std::optional<Row> Leer(const Database& db, qint64 idEmpresa)
{
    return db.first(QStringLiteral(R"(SELECT * FROM "Empresas" WHERE "IdEmpresa" = ?)"), {idEmpresa});
}

std::optional<Row> BuscarPorNumero(const Database& db, const QString& numero)
{
    return db.first(QStringLiteral(R"(SELECT * FROM "Empresas" WHERE "NúmeroEmpresa" = ? ORDER BY "IdEmpresa")"),
                    {numero});
}

std::optional<Row> LeerTrabajador(const Database& db, qint64 idTrabajador)
{
    return db.first(QStringLiteral(R"(SELECT * FROM "Trabajadores" WHERE "IdTrabajador" = ?)"), {idTrabajador});
}

void BorrarConTrabajadores(Database& db, qint64 idEmpresa)
{
    platform::Transaction transaccion(db);
    // Workers keep their company's key as text.
    db.exec(QStringLiteral(R"(DELETE FROM "Trabajadores" WHERE "IdEmpresa" = ?)"), {QString::number(idEmpresa)});
    db.remove(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), idEmpresa);
    transaccion.commit();
}

QSet<qint64> ClausulasEnlazadas(const Database& db, qint64 idEmpresa)
{
    QSet<qint64> ids;
    for (const Row& fila :
         db.select(QStringLiteral(R"(SELECT "IDCLAUSULA" FROM "EMPRESACLAUSULA" WHERE "IDEMPRESA" = ?)"), {idEmpresa}))
        ids.insert(fila.value(QStringLiteral("IDCLAUSULA")).toLongLong());
    return ids;
}

void Enlazar(Database& db, qint64 idEmpresa, qint64 idClausula)
{
    db.exec(QStringLiteral(R"(INSERT INTO "EMPRESACLAUSULA" ("IDEMPRESA", "IDCLAUSULA")
        SELECT ?, ? WHERE NOT EXISTS
        (SELECT 1 FROM "EMPRESACLAUSULA" WHERE "IDEMPRESA" = ? AND "IDCLAUSULA" = ?))"),
            {idEmpresa, idClausula, idEmpresa, idClausula});
}

void Desenlazar(Database& db, qint64 idEmpresa, qint64 idClausula)
{
    db.exec(QStringLiteral(R"(DELETE FROM "EMPRESACLAUSULA" WHERE "IDEMPRESA" = ? AND "IDCLAUSULA" = ?)"),
            {idEmpresa, idClausula});
}

} // namespace empresas
