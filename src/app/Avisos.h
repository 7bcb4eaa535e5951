#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace platform {
class Database;
}

// Workers whose extension ends within the warning days, for the alerts panel
// of the main window.
struct Aviso {
    QString NombreTrabajador;
    QString NumEmpresa;
    QDate FechaFin;
};

// Length of an extension as written in Trabajadores.Duracion: the number of
// months followed by " Meses  " and/or the number of days followed by " Días".
struct Duracion {
    int Meses = 0;
    int Dias = 0;
};

// The months and days of a Duracion text, read by the numbers before
// "Meses" and "Días"; nothing when the text holds neither.
std::optional<Duracion> LeerDuracion(const QString& texto);

// End of an extension: the start plus the months (clamped to the end of the
// month) and then the days.
QDate FinProrroga(const QDate& inicio, const Duracion& duracion);

// Every worker with both Duracion and FechaInicioProrroga whose extension
// ends in fewer than `dias` days from `hoy`, or has ended, in the order of
// the table. A row with a missing or malformed field is left out.
// `hayCandidatos` tells whether any worker had both fields set.
std::vector<Aviso> BuscarAvisos(const platform::Database& db, int dias, const QDate& hoy, bool* hayCandidatos = nullptr);
