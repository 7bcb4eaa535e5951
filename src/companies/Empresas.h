#pragma once

#include "platform/Database.h"

#include <QSet>

#include <optional>

// Rows of the companies, their workers and their default clauses, as the
// company windows read and write them.
namespace empresas {

// The company row with this key.
std::optional<platform::Row> Leer(const platform::Database& db, qint64 idEmpresa);
// The first company stored with this number, if any.
std::optional<platform::Row> BuscarPorNumero(const platform::Database& db, const QString& numero);
// The worker row with this key.
std::optional<platform::Row> LeerTrabajador(const platform::Database& db, qint64 idTrabajador);
// Deletes a company and all its workers, in one transaction.
void BorrarConTrabajadores(platform::Database& db, qint64 idEmpresa);

// The clauses linked to a company.
QSet<qint64> ClausulasEnlazadas(const platform::Database& db, qint64 idEmpresa);
// Links a clause to a company; a link that exists stays the only one.
void Enlazar(platform::Database& db, qint64 idEmpresa, qint64 idClausula);
void Desenlazar(platform::Database& db, qint64 idEmpresa, qint64 idClausula);

} // namespace empresas
