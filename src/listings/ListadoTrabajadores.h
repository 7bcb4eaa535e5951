#pragma once

#include "platform/Database.h"

#include <QDate>
#include <QStringList>

#include <array>
#include <optional>

// The listings of workers: by the state of their contract's paper trail and
// by the date their contract ends, and the changes typed into them.
namespace listados {

// A query and the values bound to its '?'.
struct Consulta {
    QString sql;
    QVariantList valores;
};

// The five paper-trail flags of a worker's contract ("Si" or "No"), in the
// order of their boxes: sent to the client, returned by the client, sent to
// INEM, collected from INEM, sent to the client again.
inline constexpr std::array<const char*, 5> kCamposEstado = {
    "EnviadoCliente", "RecibidoCliente", "EnviadoInem", "RecogidoInem", "ReenviadoCliente",
};
using Estado = std::array<bool, 5>; // true: the flag must be "Si", false: "No"

// Workers of the companies named (their copy of the company name), or of
// every company when none is given, whose five flags are exactly `estado`, or
// in any state when none is given. An empty list of companies lists nobody.
Consulta ConsultaEstado(const std::optional<QStringList>& empresas, const std::optional<Estado>& estado);

// Orders of the status listing: by company name then worker number, and by
// worker name.
inline constexpr auto kOrdenEmpresa = R"("Empresa", "NúmeroTrabajador")";
inline constexpr auto kOrdenNombre = R"("NombreTrabajador")";
Consulta Ordenada(Consulta consulta, const char* orden);

// A column of the expiry listing: its name in the listing, the field of
// Trabajadores it shows and its width on screen in twips.
struct ColumnaVencimientos {
    const char* nombre;
    const char* campo;
    int ancho;
};
inline constexpr std::array<ColumnaVencimientos, 6> kColumnasVencimientos = {{
    {"Nombre_Trabajador", "NombreTrabajador", 2500},
    {"Núm_Trabaj", "NúmeroTrabajador", 1100},
    {"Núm_Emp", "NumEmpresa", 1100},
    {"NIF", "NIF14", 1200},
    {"FechaContrato", "FechaContrato", 1700},
    {"FechaVencimiento", "FechaVencimiento", 1700},
}};
// The field of Trabajadores behind a column of the expiry listing (the name
// itself for any other).
QString CampoDeColumna(const QString& nombre);

// A date typed day/month/year ("06/12/2026", "6/12/2026"), whatever the
// locale; an invalid date for anything else.
QDate LeerFecha(const QString& texto);

// Workers whose contract ends strictly between two dates, the earliest
// first, with the columns above and their key IdTrabajador.
Consulta ConsultaVencimientos(const QDate& desde, const QDate& hasta);

// Writes typed texts into fields of a worker, each as the value its field
// holds: a date typed dd/mm/yyyy (nothing typed: no date), the worker's
// number a whole number that no other worker of the company has, a flag "Si"
// or "No" in any case (stored "Si" or "No"), the NIF at most 14 characters,
// any other text as typed. The worker's name, number and NIF, and the name
// and number of the company, cannot be left blank. `cambios` then holds the
// values written. When a text cannot be held, nothing is written and the
// message for the user is returned.
std::optional<QString> GrabarTrabajador(platform::Database& db, const QVariant& idTrabajador,
                                        platform::Row& cambios);

} // namespace listados
