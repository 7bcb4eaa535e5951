#include "app/Avisos.h"

#include "platform/Database.h"

#include <QRegularExpression>

std::optional<Duracion> LeerDuracion(const QString& texto)
{
    static const QRegularExpression meses(QStringLiteral("(\\d+)\\s*Meses"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dias(QStringLiteral("(\\d+)\\s*D[ií]as"), QRegularExpression::CaseInsensitiveOption);
    const auto m = meses.match(texto);
    const auto d = dias.match(texto);
    if (!m.hasMatch() && !d.hasMatch())
        return std::nullopt;
    Duracion duracion;
    if (m.hasMatch())
        duracion.Meses = m.captured(1).toInt();
    if (d.hasMatch())
        duracion.Dias = d.captured(1).toInt();
    return duracion;
}

QDate FinProrroga(const QDate& inicio, const Duracion& duracion)
{
    return inicio.addMonths(duracion.Meses).addDays(duracion.Dias);
}

std::vector<Aviso> BuscarAvisos(const platform::Database& db, int dias, const QDate& hoy, bool* hayCandidatos)
{
    const auto filas = db.select(QStringLiteral(
        "SELECT NombreTrabajador, NumEmpresa, Duracion, FechaInicioProrroga FROM Trabajadores "
        "WHERE Duracion IS NOT NULL AND FechaInicioProrroga IS NOT NULL ORDER BY IdTrabajador"));
    if (hayCandidatos)
        *hayCandidatos = !filas.empty();
    std::vector<Aviso> avisos;
    for (const auto& fila : filas) {
        if (fila.isNull(QStringLiteral("NombreTrabajador")) || fila.isNull(QStringLiteral("NumEmpresa")))
            continue;
        const auto duracion = LeerDuracion(fila.text(QStringLiteral("Duracion")));
        const QDate inicio = platform::toDate(fila.value(QStringLiteral("FechaInicioProrroga")));
        if (!duracion || !inicio.isValid())
            continue;
        const QDate fin = FinProrroga(inicio, *duracion);
        if (hoy.daysTo(fin) < dias)
            avisos.push_back({fila.text(QStringLiteral("NombreTrabajador")), fila.text(QStringLiteral("NumEmpresa")), fin});
    }
    return avisos;
}
