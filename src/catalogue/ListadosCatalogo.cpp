#include "catalogue/ListadosCatalogo.h"

#include "common/ImprimirListado.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/Printer.h"

#include <cmath>

using listado::Celda;
using listado::Fila;

namespace listados {

namespace {

// A text that ends in column `ultima`.
Celda hasta(int ultima, const QString& texto)
{
    return {ultima + 1 - static_cast<int>(texto.size()), texto};
}

// Bold off after the headings; with no rows, the message in their place.
bool hayFilas(platform::PrintJob& job, const Filas& filas)
{
    job.setFontBold(false);
    if (!filas.empty())
        return true;
    platform::MsgBox(QString::fromUtf8(listado::kSinRegistros), platform::style::Information);
    return false;
}

// The lines of a clause in its listing: its first 70 characters, then as
// many slices of 70 as its length divided by 70 gives, rounded half to even
// (a slice past the end is an empty line).
std::vector<QString> trozosClausula(const QString& clausula)
{
    constexpr int kAncho = 70;
    std::vector<QString> trozos{clausula.left(kAncho)};
    if (clausula.size() > kAncho) {
        const auto veces = static_cast<int>(std::nearbyint(static_cast<double>(clausula.size()) / kAncho));
        for (int i = 1; i <= veces; ++i)
            trozos.push_back(clausula.mid(kAncho * i, kAncho));
    }
    return trozos;
}

} // namespace

void ListadoTiposContrato(platform::PrintJob& job, const Filas& filas)
{
    listado::Apertura(job);
    listado::Titulo(job, QStringLiteral("LISTADO DE TIPOS DE CONTRATO:"));
    // The heading starts left of the names under it.
    listado::Lista(job, {{14, QStringLiteral("Tipo de contrato.")}},
                   listado::Filas(filas, {{20, QStringLiteral("TipoContrato")}}));
}

void ListadoContratos(platform::PrintJob& job, const Filas& filas)
{
    listado::Apertura(job);
    listado::Titulo(job, QStringLiteral("LISTADO DE CONTRATOS:"));
    // The type's heading stands further right than its values.
    listado::Lista(job,
                   {{14, QStringLiteral("Contrato.")},
                    {35, QStringLiteral("TipoContrato")},
                    {55, QStringLiteral("Modelo.")},
                    {75, QStringLiteral("Código.")}},
                   listado::Filas(filas, {{14, QStringLiteral("Contrato")},
                                          {30, QStringLiteral("TipoContrato")},
                                          {55, QStringLiteral("Modelo")},
                                          {75, QStringLiteral("Código")}}));
}

void ListadoModelos(platform::PrintJob& job, const Filas& filas)
{
    listado::Apertura(job);
    listado::Titulo(job, QStringLiteral("LISTADO DE MODELOS:"));
    listado::Lista(job, {{14, QStringLiteral("Modelo.")}, {30, QStringLiteral("Ubicación.")}},
                   listado::Filas(filas, {{14, QStringLiteral("NombreModelo")}, {30, QStringLiteral("Ubicación")}}));
}

void ListadoMarcas(platform::PrintJob& job, const Filas& filas)
{
    std::vector<Fila> lineas;
    for (const auto& marca : filas) {
        Fila fila{hasta(19, marca.text(QStringLiteral("CódigoMarca"))),
                  {27, marca.text(QStringLiteral("DescripciónDato"))}};
        // The length prints as a number: a blank, then digits ending under
        // the end of its heading. A mark without one ends at its description.
        const QString longitud = marca.text(QStringLiteral("Longitud"));
        if (!longitud.isEmpty())
            fila.push_back(hasta(78, QLatin1Char(' ') + longitud));
        lineas.push_back(std::move(fila));
    }
    listado::Apertura(job);
    listado::Titulo(job, QStringLiteral("LISTADO DE MARCAS:"));
    listado::Lista(job,
                   {{14, QStringLiteral("Cód. Marca.")},
                    {27, QStringLiteral("Descripción.")},
                    {70, QStringLiteral("Longitud.")}},
                   lineas);
}

void ListadoMarcasDeModelo(platform::PrintJob& job, const Filas& filas, const QString& etiquetaContador)
{
    listado::Apertura(job);
    listado::Titulo(job, QStringLiteral("LISTADO DE MARCAS ACTIVAS EN EL CONTRATO:"));
    job.emptyLines(1);
    listado::Linea(job, {{listado::kColumnaEncabezado, etiquetaContador}});
    job.emptyLines(1);
    listado::Linea(job, {{listado::kColumnaEncabezado, QStringLiteral("Núm.")},
                         {14, QStringLiteral("Código Marca.")},
                         {30, QStringLiteral("Descripción Marca")}});
    if (!hayFilas(job, filas))
        return;
    qint64 n = 1;
    for (const auto& marca : filas)
        listado::FilaNumerada(job, n++, {hasta(19, marca.text(QStringLiteral("CódigoMarca"))),
                                         {30, marca.text(QStringLiteral("DescripciónDato"))}});
}

void ListadoClausulas(platform::PrintJob& job, const Filas& filas)
{
    listado::Apertura(job, QStringLiteral("Courier"));
    listado::Titulo(job, QStringLiteral("LISTADO DE CLAUSULAS:"));
    job.emptyLines(2);
    listado::Linea(job, {{listado::kColumnaEncabezado, QStringLiteral("Núm.")}, {14, QStringLiteral("Clausula.")}});
    if (!hayFilas(job, filas))
        return;
    qint64 n = 1;
    for (const auto& clausula : filas) {
        const auto trozos = trozosClausula(clausula.text(QStringLiteral("Clausula")));
        // A clause's lines stay on one page, under its number.
        job.beginBlock();
        listado::FilaNumerada(job, n++, {{14, trozos.front()}});
        for (std::size_t i = 1; i < trozos.size(); ++i)
            listado::Linea(job, {{15, trozos[i]}});
        job.endBlock();
    }
}

} // namespace listados
