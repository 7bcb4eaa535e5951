#include "listings/ListadoTrabajadores.h"

#include <QRegularExpression>

using platform::quoteName;
using platform::Row;

namespace listados {

namespace {

const QString kTrabajadores = QStringLiteral(R"(SELECT * FROM "Trabajadores")");
const QString kMantiene = QStringLiteral(" Se mantiene el valor guardado.");

bool esEstado(const QString& campo)
{
    for (const char* estado : kCamposEstado) {
        if (campo.compare(QString::fromUtf8(estado), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The value a field of Trabajadores holds for a typed text, or the message
// refusing it.
struct Valor {
    QVariant valor;
    QString error;
};

// The fields a worker cannot be stored without, as the record window asks
// for them, and how its messages name them.
struct CampoObligatorio {
    const char* campo;
    const char* nombre;
};
constexpr CampoObligatorio kObligatorios[] = {
    {"NombreTrabajador", "El nombre del trabajador"},
    {"NúmeroTrabajador", "El número de trabajador"},
    {"NIF14", "El NIF del trabajador"},
    {"Empresa", "El nombre de la empresa"},
    {"NumEmpresa", "El número de empresa"},
};

Valor ValorDeCampo(const QString& campo, const QString& texto)
{
    const QString limpio = texto.trimmed();
    for (const auto& obligatorio : kObligatorios) {
        if (limpio.isEmpty() && campo.compare(QString::fromUtf8(obligatorio.campo), Qt::CaseInsensitive) == 0)
            return {{},
                    QString::fromUtf8(obligatorio.nombre) + QStringLiteral(" no puede quedar en blanco.") + kMantiene};
    }
    if (campo.startsWith(QStringLiteral("Fecha"), Qt::CaseInsensitive)) {
        if (limpio.isEmpty())
            return {QVariant(), {}};
        const QDate fecha = LeerFecha(limpio);
        if (!fecha.isValid())
            return {{}, QStringLiteral("La fecha «%1» no es válida: escríbala como dd/mm/aaaa.").arg(texto) + kMantiene};
        return {platform::dateValue(fecha), {}};
    }
    if (campo.compare(QStringLiteral("NúmeroTrabajador"), Qt::CaseInsensitive) == 0) {
        static const QRegularExpression cifras(QStringLiteral("^\\d{1,9}$"));
        if (!cifras.match(limpio).hasMatch())
            return {{}, QStringLiteral("El número de trabajador «%1» no es válido: escriba un número entero.").arg(texto)
                            + kMantiene};
        return {limpio.toLongLong(), {}};
    }
    if (esEstado(campo)) {
        if (limpio.compare(QStringLiteral("Si"), Qt::CaseInsensitive) == 0)
            return {QStringLiteral("Si"), {}};
        if (limpio.compare(QStringLiteral("No"), Qt::CaseInsensitive) == 0)
            return {QStringLiteral("No"), {}};
        return {{}, QStringLiteral("«%1» no es un estado válido: escriba Si o No.").arg(texto) + kMantiene};
    }
    if (campo.compare(QStringLiteral("NIF14"), Qt::CaseInsensitive) == 0 && texto.size() > 14)
        return {{}, QStringLiteral("El NIF «%1» tiene más de 14 caracteres.").arg(texto) + kMantiene};
    return {texto, {}};
}

} // namespace

QDate LeerFecha(const QString& texto)
{
    const QString limpio = texto.trimmed();
    QDate fecha = QDate::fromString(limpio, QStringLiteral("dd/MM/yyyy"));
    if (!fecha.isValid())
        fecha = QDate::fromString(limpio, QStringLiteral("d/M/yyyy"));
    return fecha;
}

Consulta ConsultaEstado(const std::optional<QStringList>& empresas, const std::optional<Estado>& estado)
{
    QString condicionEstado;
    QVariantList valoresEstado;
    if (estado) {
        for (std::size_t i = 0; i < kCamposEstado.size(); ++i) {
            if (i > 0)
                condicionEstado += QStringLiteral(" AND ");
            condicionEstado += quoteName(QString::fromUtf8(kCamposEstado[i])) + QStringLiteral(" = ?");
            valoresEstado << ((*estado)[i] ? QStringLiteral("Si") : QStringLiteral("No"));
        }
    }

    Consulta consulta{kTrabajadores, {}};
    if (!empresas) {
        if (estado) {
            consulta.sql += QStringLiteral(" WHERE ") + condicionEstado;
            consulta.valores = valoresEstado;
        }
        return consulta;
    }
    if (empresas->isEmpty()) {
        consulta.sql += QStringLiteral(" WHERE 0 = 1");
        return consulta;
    }
    // Each company with its own copy of the flag conditions.
    QStringList partes;
    for (const QString& empresa : *empresas) {
        consulta.valores << empresa;
        if (estado) {
            partes << QStringLiteral(R"(("Empresa" = ? AND %1))").arg(condicionEstado);
            consulta.valores += valoresEstado;
        } else {
            partes << QStringLiteral(R"("Empresa" = ?)");
        }
    }
    consulta.sql += QStringLiteral(" WHERE ") + partes.join(QStringLiteral(" OR "));
    return consulta;
}

Consulta Ordenada(Consulta consulta, const char* orden)
{
    consulta.sql += QStringLiteral(" ORDER BY ") + QString::fromUtf8(orden);
    return consulta;
}

QString CampoDeColumna(const QString& nombre)
{
    for (const auto& columna : kColumnasVencimientos) {
        if (nombre.compare(QString::fromUtf8(columna.nombre), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(columna.campo);
    }
    return nombre;
}

Consulta ConsultaVencimientos(const QDate& desde, const QDate& hasta)
{
    QStringList columnas{quoteName(QStringLiteral("IdTrabajador"))};
    for (const auto& columna : kColumnasVencimientos)
        columnas << quoteName(QString::fromUtf8(columna.campo)) + QStringLiteral(" AS ")
                        + quoteName(QString::fromUtf8(columna.nombre));
    return {QStringLiteral(R"(SELECT %1 FROM "Trabajadores" WHERE "FechaVencimiento" > ? AND "FechaVencimiento" < ?
                              ORDER BY "FechaVencimiento")")
                .arg(columnas.join(QStringLiteral(", "))),
            {platform::dateValue(desde), platform::dateValue(hasta)}};
}

std::optional<QString> GrabarTrabajador(platform::Database& db, const QVariant& idTrabajador, Row& cambios)
{
    const auto trabajador =
        db.first(QStringLiteral(R"(SELECT "IdEmpresa" FROM "Trabajadores" WHERE "IdTrabajador" = ?)"), {idTrabajador});
    if (!trabajador)
        return QStringLiteral("El trabajador ya no está en la base de datos: no se ha grabado el cambio.");

    Row valores;
    for (const auto& [campo, texto] : cambios.fields()) {
        const Valor v = ValorDeCampo(campo, texto.toString());
        if (!v.error.isEmpty())
            return v.error;
        valores.set(campo, v.valor);
    }
    const QString numero = QStringLiteral("NúmeroTrabajador");
    if (valores.has(numero)
        && db.first(QStringLiteral(R"(SELECT 1 FROM "Trabajadores"
                                      WHERE "IdEmpresa" = ? AND "NúmeroTrabajador" = ? AND "IdTrabajador" <> ?)"),
                    {trabajador->value(QStringLiteral("IdEmpresa")), valores.value(numero), idTrabajador})) {
        return QStringLiteral("El número de trabajador %1 ya es de otro trabajador de la empresa.")
                   .arg(valores.text(numero))
               + kMantiene;
    }
    db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), idTrabajador, valores);
    cambios = valores;
    return std::nullopt;
}

} // namespace listados
