#include "app/Avisos.h"

#include "platform/Database.h"

namespace {

// The number written just before the first `palabra` (blanks between them
// allowed) that has one; nothing when none has.
std::optional<int> numeroAntesDe(const QString& texto, QLatin1StringView palabra, QLatin1StringView otraForma = {})
{
    for (qsizetype desde = 0;;) {
        qsizetype donde = texto.indexOf(palabra, desde, Qt::CaseInsensitive);
        if (!otraForma.isEmpty()) {
            const qsizetype otra = texto.indexOf(otraForma, desde, Qt::CaseInsensitive);
            if (otra >= 0 && (donde < 0 || otra < donde))
                donde = otra;
        }
        if (donde < 0)
            return std::nullopt;
        qsizetype fin = donde;
        while (fin > 0 && texto.at(fin - 1).isSpace())
            --fin;
        qsizetype inicio = fin;
        while (inicio > 0 && texto.at(inicio - 1) >= QLatin1Char('0') && texto.at(inicio - 1) <= QLatin1Char('9'))
            --inicio;
        if (inicio < fin)
            return QStringView(texto).mid(inicio, fin - inicio).toInt();
        desde = donde + 1;
    }
}

} // namespace

std::optional<Duracion> LeerDuracion(const QString& texto)
{
    const auto meses = numeroAntesDe(texto, QLatin1StringView("Meses"));
    const auto dias = numeroAntesDe(texto, QLatin1StringView("D\xED" "as"), QLatin1StringView("Dias"));
    if (!meses && !dias)
        return std::nullopt;
    return Duracion{meses.value_or(0), dias.value_or(0)};
}

QDate FinProrroga(const QDate& inicio, const Duracion& duracion)
{
    return inicio.addMonths(duracion.Meses).addDays(duracion.Dias);
}

std::vector<Aviso> BuscarAvisos(const platform::Database& db, int dias, const QDate& hoy, bool* hayCandidatos)
{
    // One pass over the fields the alerts need, row by row.
    platform::Statement filas(db, QStringLiteral(
        "SELECT NombreTrabajador, NumEmpresa, Duracion, FechaInicioProrroga FROM Trabajadores "
        "WHERE Duracion IS NOT NULL AND FechaInicioProrroga IS NOT NULL ORDER BY IdTrabajador"));
    filas.exec();
    bool candidatos = false;
    std::vector<Aviso> avisos;
    while (filas.next()) {
        candidatos = true;
        const QVariant nombre = filas.value(0);
        const QVariant numEmpresa = filas.value(1);
        if (nombre.isNull() || numEmpresa.isNull())
            continue;
        const auto duracion = LeerDuracion(filas.value(2).toString());
        const QDate inicio = platform::toDate(filas.value(3));
        if (!duracion || !inicio.isValid())
            continue;
        const QDate fin = FinProrroga(inicio, *duracion);
        if (hoy.daysTo(fin) < dias)
            avisos.push_back({nombre.toString(), numEmpresa.toString(), fin});
    }
    if (hayCandidatos)
        *hayCandidatos = candidatos;
    return avisos;
}
