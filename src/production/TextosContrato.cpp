#include "production/TextosContrato.h"

#include <QDate>
#include <QStringList>

#include <array>

namespace produccion {

namespace {

// Contract descriptions by official code. The codes that depend on the
// model have two texts: the first for particular models, the second for the
// rest. A code without texts is written alone.
struct Descripcion {
    const char* codigo;
    const char* castellano;
    const char* catalan;
    const char* castellanoOtros;
    const char* catalanOtros;
};

// clang-format off
constexpr Descripcion kDescripciones[] = {
    {"100", " No Bonificado", " Bonificat No", nullptr, nullptr},
    {"109", " Tiempo Completo Bonificado", " Temps Complet Bonificat", nullptr, nullptr},
    {"130", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"139", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"150", " Indefinidos Tiempo Completo", " Indefinit Temps Complet", " Bonificado", " Bonificat"},
    {"189", " Tiempo Completo No Bonificado", " Temps Complet Bonificat No", nullptr, nullptr},
    {"200", " No Bonificado", " Bonificat No", nullptr, nullptr},
    {"209", " Tiempo Parcial Bonificado", " Temps Parcial Bonificat", nullptr, nullptr},
    {"230", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"239", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"250", " Indefinidos Tiempo Parcial", " Indefinit Temps Parcial", " Bonificado", " Bonificat"},
    {"289", " Tiempo Parcial No Bonificado", " Temps Parcial Bonificat No", nullptr, nullptr},
    {"300", " No Bonificado", " Bonificat No", nullptr, nullptr},
    {"309", " Bonificado", " Bonificat", nullptr, nullptr},
    {"330", " Fijo Discontinuo", " Fix Discontinu", nullptr, nullptr},
    {"350", " Fijos Discontinuos", " Fix Discontinu", " Bonificado", " Bonificat"},
    {"389", " No Bonificado", " No Bonificat.", nullptr, nullptr},
    {"401", " Tiempo Completo Obra Serv. Determ.", " Temps Complet Obra Serv. Determ.", nullptr, nullptr},
    {"402", " Tiempo Completo Event. Circuns. Producc.", " Temps Complet Event. Circuns. Producc.", nullptr, nullptr},
    {"403", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"410", " Tiempo Completo", " Temps Complet", " Tiempo Completo Interinidad", " Temps Complet Interinitat"},
    {"420", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"421", "", "", nullptr, nullptr},
    {"441", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"450", " Temporales Tiempo Completo", " Temporals Temps Complet",
            " Obra o servicio determinado a tiempo completo", " Obra o Serv. Determ. a temps complet"},
    {"451", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"452", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"501", " Tiempo Parcial Obra Serv. Deter.", " Temps Parcial Obra Serv. Deter.", nullptr, nullptr},
    {"502", " Tiempo Parcial Event. Circuns. Producc.", " Temps Parcial Event. Circuns. Producc.", nullptr, nullptr},
    {"503", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"510", " Tiempo Parcial", " Temps Parcial", " Tiempo Parcial Interinidad", " Temps Parcial Interinitat"},
    {"520", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"540", " Sit. Jubilación Parcial", " Sit. Jubilació Parcial", nullptr, nullptr},
    {"541", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"551", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"550", " Temporales Tiempo Parcial", " Temporals Temps Parcial",
            " Obra o servicio determinado a tiempo parcial", " Obra o serv. Determ. a temps parcial"},
    {"552", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"430", " Tiempo Completo", " Temps Complet", nullptr, nullptr},
    {"530", " Tiempo Parcial", " Temps Parcial", nullptr, nullptr},
    {"990", " Otros Contratos", " Altres Contractes", nullptr, nullptr},
};
// clang-format on

// The models whose contracts take the first of two descriptions. None is
// known yet: every model takes the second, general one. This is the one
// place to name them (Modelo.NombreModelo as the catalogue writes it).
const QStringList kModelosConPrimeraDescripcion = {};

bool TomaPrimeraDescripcion(const QString& modelo)
{
    return kModelosConPrimeraDescripcion.contains(modelo, Qt::CaseInsensitive);
}

// The number a code stands for, read as far as it has digits, blanks left
// aside; nothing when it begins with no digit.
std::optional<int> ValorCodigo(const QString& codigo)
{
    QString cifras;
    for (const QChar c : codigo) {
        if (c == QLatin1Char(' '))
            continue;
        if (!c.isDigit())
            break;
        cifras += c;
    }
    if (cifras.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int valor = cifras.right(9).toInt(&ok);
    return ok ? std::optional<int>(valor) : std::nullopt;
}

} // namespace

ClaseDocumento ClaseDeTipo(const QString& tipoContrato)
{
    if (tipoContrato == QLatin1String("PRORROGA"))
        return ClaseDocumento::Prorroga;
    if (tipoContrato == QStringLiteral("Notificación"))
        return ClaseDocumento::Notificacion;
    return ClaseDocumento::Contrato;
}

QString SufijoDocumento(ClaseDocumento clase)
{
    switch (clase) {
    case ClaseDocumento::Prorroga:
        return QStringLiteral("P.doc");
    case ClaseDocumento::Notificacion:
        return QStringLiteral("N.doc");
    case ClaseDocumento::Contrato:
        break;
    }
    return QStringLiteral(".doc");
}

bool LlevaClausulas(ClaseDocumento clase, const QString& contrato)
{
    if (clase != ClaseDocumento::Contrato)
        return false;
    // The window shows "code - name"; the name is what counts.
    const qsizetype guion = contrato.indexOf(QStringLiteral(" - "));
    const QString nombre = guion >= 0 ? contrato.mid(guion + 3) : contrato;
    for (const QString& sinClausulas :
         {QStringLiteral("Contrato fijo de obra (Castellano)"), QStringLiteral("Contrato fijo de obra")}) {
        if (contrato == sinClausulas || nombre == sinClausulas)
            return false;
    }
    return true;
}

bool LlevaLugarYFecha(ClaseDocumento clase, const QString& codigoContrato)
{
    return clase != ClaseDocumento::Contrato || codigoContrato != QLatin1String("000");
}

std::optional<QString> TextoNombre(const QString& codigoContrato, int idioma, const QString& modelo)
{
    const auto valor = ValorCodigo(codigoContrato);
    if (codigoContrato == QLatin1String("000") || !valor || *valor == 920)
        return std::nullopt;
    for (const Descripcion& d : kDescripciones) {
        if (codigoContrato != QLatin1String(d.codigo))
            continue;
        const bool primera = d.castellanoOtros == nullptr || TomaPrimeraDescripcion(modelo);
        const char* texto = idioma == 1 ? (primera ? d.castellano : d.castellanoOtros)
                                        : (primera ? d.catalan : d.catalanOtros);
        return codigoContrato + QString::fromUtf8(texto);
    }
    return QString();
}

QString MesCatala(int mes)
{
    static const std::array<const char*, 12> nombres = {"Gener",   "Febrer", "Març",     "Abril",
                                                         "Maig",    "Juny",   "Juliol",   "Agost",
                                                         "Setembre", "Octubre", "Novembre", "Desembre"};
    return mes >= 1 && mes <= 12 ? QString::fromUtf8(nombres[static_cast<std::size_t>(mes - 1)]) : QString();
}

QString MesCastellano(int mes)
{
    static const std::array<const char*, 12> nombres = {"enero", "febrero", "marzo",      "abril",
                                                         "mayo",  "junio",   "julio",      "agosto",
                                                         "septiembre", "octubre", "noviembre", "diciembre"};
    return mes >= 1 && mes <= 12 ? QString::fromLatin1(nombres[static_cast<std::size_t>(mes - 1)]) : QString();
}

std::optional<PieFecha> FechaDelPie(const QString& fecha, int idioma, bool mesEnLetras)
{
    const QDate dia = QDate::fromString(fecha, QStringLiteral("dd/MM/yyyy"));
    if (!dia.isValid())
        return std::nullopt;
    PieFecha pie{fecha.mid(0, 2), fecha.mid(3, 2), fecha.mid(6, 4)};
    if (mesEnLetras)
        pie.mes = idioma == 1 ? MesCastellano(dia.month()) : MesCatala(dia.month());
    return pie;
}

} // namespace produccion
