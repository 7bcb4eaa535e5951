#include "companies/Comprobaciones.h"

#include <QRegularExpression>

namespace comprobaciones {

namespace {

const char* const kProvincias[] = {
    "Alava.",      "Albacete.",   "Alicante.",  "Almería.",   "Avila.",       "Badajoz.",
    "Baleares.",   "Barcelona.",  "Burgos.",    "Cáceres.",   "Cádiz.",       "Castellón Plana.",
    "Ciudad Real.", "Córdoba.",   "A Coruña.",  "Cuenca.",    "Girona.",      "Granada.",
    "Guadalajara.", "Guipúzcoa.", "Huelva.",    "Huesca.",    "Jaén.",        "León.",
    "LLeida.",     "La Rioja.",   "Lugo.",      "Madrid.",    "Málaga.",      "Murcia.",
    "Navarra.",    "Ourense.",    "Asturias.",  "Palencia.", "Las Palmas G Canaria.", "Pontevedra.",
    "Salamanca.",  "Tenerife.",   "Cantabria.", "Segovia.",   "Sevilla.",     "Soria.",
    "Tarragona.",  "Teruel.",     "Toledo.",    "Valencia.",  "Valladolid.",  "Vizcaya.",
    "Zamora.",     "Zaragoza.",   "Ceuta.",     "Melilla.",
};

// The digits of a part of a masked text; nothing when one is missing.
std::optional<qint64> cifras(const QString& parte)
{
    if (!EsEntero(parte))
        return std::nullopt;
    return parte.toLongLong();
}

Rechazo error(const char* texto, const char* titulo = "Error")
{
    return {QString::fromUtf8(texto), QString::fromUtf8(titulo)};
}

} // namespace

bool EsNumerico(const QString& texto)
{
    static const QRegularExpression numero(QStringLiteral(R"(^\s*[+-]?(\d+[.,]?\d*|[.,]\d+)([eE][+-]?\d+)?\s*$)"));
    return numero.match(texto).hasMatch();
}

bool EsEntero(const QString& texto)
{
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString ConCeros(const QString& texto, int cifras)
{
    const QString recortado = texto.trimmed();
    if (!EsEntero(recortado) || recortado.size() > cifras)
        return texto;
    return recortado.rightJustified(cifras, QLatin1Char('0'));
}

std::optional<Rechazo> CodigoPostal(const QString& texto)
{
    if (texto.isEmpty())
        return std::nullopt;
    if (!EsNumerico(texto))
        return error("El valor del Código Postal debe ser numérico");
    if (texto.size() < 5)
        return error("El valor del Código Postal debe ser de cinco cifras");
    return std::nullopt;
}

std::optional<Rechazo> Telefono(const QString& texto, bool fax)
{
    if (texto.isEmpty())
        return std::nullopt;
    if (!EsNumerico(texto))
        return error(fax ? "El valor del fax debe ser numérico" : "El valor del teléfono debe ser numérico");
    if (texto.size() < 9)
        return error(
            fax ? "El valor del fax debe ser de nueve cifras" : "El valor del teléfono debe ser de nueve cifras");
    return std::nullopt;
}

std::optional<Rechazo> FechaNacimiento(const QString& texto, const QDate& hoy)
{
    if (texto == QLatin1String("__/__/____"))
        return std::nullopt;
    const Rechazo incorrecta = error("El valor introducido como Fecha de Nacimiento no es correcto.", "");
    const auto anio = cifras(texto.mid(6, 4));
    if (!anio)
        return incorrecta;
    if (*anio < 1900)
        return error("No es posible ese valor de año");
    const auto mes = cifras(texto.mid(3, 2));
    if (!mes)
        return incorrecta;
    if (*mes == 0 || *mes > 12)
        return error("No es posible ese valor de mes");
    const auto dia = cifras(texto.mid(0, 2));
    if (!dia)
        return incorrecta;
    const bool mesCorto = *mes == 2 || *mes == 4 || *mes == 6 || *mes == 9 || *mes == 11;
    if (*dia == 0 || *dia > 31 || (*dia == 31 && mesCorto) || (*dia == 30 && *mes == 2))
        return error("No es posible ese valor de día");
    const QDate fecha(static_cast<int>(*anio), static_cast<int>(*mes), static_cast<int>(*dia));
    if (!fecha.isValid())
        return incorrecta;
    // Age by calendar years: the year of birth counts whole.
    if (hoy.year() - fecha.year() < 16)
        return error("El trabajador tiene menos de 16 años", "Error.");
    return std::nullopt;
}

QString Provincia(const QString& codigoPostal)
{
    const auto clave = cifras(codigoPostal.left(2));
    if (codigoPostal.size() < 2 || !clave || *clave < 1 || *clave > static_cast<qint64>(std::size(kProvincias)))
        return {};
    return QString::fromUtf8(kProvincias[*clave - 1]);
}

std::optional<NumeroSS> ControlSS(const QString& texto, int cifrasCuerpo)
{
    const QString provincia = texto.left(2);
    const QString cuerpo = texto.mid(3, cifrasCuerpo);
    const auto valorProvincia = cifras(provincia);
    const auto valorCuerpo = cifras(cuerpo);
    if (!valorProvincia || !valorCuerpo || cuerpo.size() != cifrasCuerpo)
        return std::nullopt;
    // A body that begins with zero counts without it.
    const QString significativo = cuerpo.startsWith(QLatin1Char('0')) ? cuerpo.mid(1) : cuerpo;
    const qint64 x = (provincia + significativo).toLongLong();
    NumeroSS numero;
    numero.control = QStringLiteral("%1").arg(x % 97, 2, 10, QLatin1Char('0'));
    numero.correcto = provincia + QLatin1Char('/') + cuerpo + QLatin1Char('/') + numero.control;
    return numero;
}

} // namespace comprobaciones
