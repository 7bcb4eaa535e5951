#include "catalogue/ListadosCatalogo.h"

#include "platform/Database.h"

#include <cmath>

namespace listados {

namespace {

const Linea kBlanco{};

Listado empezar(const QString& titulo, Linea encabezados)
{
    Listado listado;
    listado.titulo = titulo;
    encabezados.insert(encabezados.begin(), Celda{8, QStringLiteral("Núm.")});
    listado.cabecera = {kBlanco, kBlanco, std::move(encabezados)};
    return listado;
}

// One line per row: its running number, then each field at its column.
template <class Hacer>
void filasNumeradas(Listado& listado, const Filas& filas, Hacer hacer)
{
    int n = 1;
    for (const auto& fila : filas) {
        Linea linea{NumeroFila(n)};
        hacer(fila, linea);
        listado.lineas.push_back(std::move(linea));
        ++n;
    }
    listado.registros = static_cast<int>(filas.size());
}

void campos(const platform::Row& fila, Linea& linea, std::initializer_list<std::pair<int, const char*>> columnas)
{
    for (const auto& [columna, campo] : columnas)
        linea.push_back({columna, fila.text(QString::fromUtf8(campo))});
}

} // namespace

Celda NumeroFila(int n)
{
    const QString digitos = QString::number(n);
    return {10 - static_cast<int>(digitos.size()), QLatin1Char(' ') + digitos};
}

Celda AlineadoHasta(int ultima, const QString& texto)
{
    return {ultima + 1 - static_cast<int>(texto.size()), texto};
}

Listado ListadoTiposContrato(const Filas& filas)
{
    Listado listado = empezar(QStringLiteral("LISTADO DE TIPOS DE CONTRATO:"), {{14, QStringLiteral("Tipo de contrato.")}});
    filasNumeradas(listado, filas, [](const auto& fila, Linea& linea) { campos(fila, linea, {{20, "TipoContrato"}}); });
    return listado;
}

Listado ListadoContratos(const Filas& filas)
{
    Listado listado = empezar(QStringLiteral("LISTADO DE CONTRATOS:"),
                              {{14, QStringLiteral("Contrato.")},
                               {35, QStringLiteral("TipoContrato")},
                               {55, QStringLiteral("Modelo.")},
                               {75, QStringLiteral("Código.")}});
    filasNumeradas(listado, filas, [](const auto& fila, Linea& linea) {
        campos(fila, linea, {{14, "Contrato"}, {30, "TipoContrato"}, {55, "Modelo"}, {75, "Código"}});
    });
    return listado;
}

Listado ListadoModelos(const Filas& filas)
{
    Listado listado = empezar(QStringLiteral("LISTADO DE MODELOS:"),
                              {{14, QStringLiteral("Modelo.")}, {30, QStringLiteral("Ubicación.")}});
    filasNumeradas(listado, filas, [](const auto& fila, Linea& linea) {
        campos(fila, linea, {{14, "NombreModelo"}, {30, "Ubicación"}});
    });
    return listado;
}

Listado ListadoMarcas(const Filas& filas)
{
    Listado listado = empezar(QStringLiteral("LISTADO DE MARCAS:"),
                              {{14, QStringLiteral("Cód. Marca.")},
                               {27, QStringLiteral("Descripción.")},
                               {70, QStringLiteral("Longitud.")}});
    filasNumeradas(listado, filas, [](const auto& fila, Linea& linea) {
        linea.push_back(AlineadoHasta(19, fila.text(QStringLiteral("CódigoMarca"))));
        linea.push_back({27, fila.text(QStringLiteral("DescripciónDato"))});
        // The length is a number: its digits end under the end of its heading.
        const QString longitud = fila.text(QStringLiteral("Longitud"));
        if (!longitud.isEmpty())
            linea.push_back(AlineadoHasta(78, QLatin1Char(' ') + longitud));
    });
    return listado;
}

Listado ListadoMarcasDeModelo(const Filas& filas, const QString& etiquetaContador)
{
    Listado listado;
    listado.titulo = QStringLiteral("LISTADO DE MARCAS ACTIVAS EN EL CONTRATO:");
    listado.cabecera = {kBlanco,
                        {{8, etiquetaContador}},
                        kBlanco,
                        {{8, QStringLiteral("Núm.")},
                         {14, QStringLiteral("Código Marca.")},
                         {30, QStringLiteral("Descripción Marca")}}};
    filasNumeradas(listado, filas, [](const auto& fila, Linea& linea) {
        linea.push_back(AlineadoHasta(19, fila.text(QStringLiteral("CódigoMarca"))));
        linea.push_back({30, fila.text(QStringLiteral("DescripciónDato"))});
    });
    return listado;
}

std::vector<QString> TrozosClausula(const QString& clausula)
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

Listado ListadoClausulas(const Filas& filas)
{
    Listado listado = empezar(QStringLiteral("LISTADO DE CLAUSULAS:"), {{14, QStringLiteral("Clausula.")}});
    listado.fuente = QStringLiteral("Courier");
    int n = 1;
    for (const auto& fila : filas) {
        const auto trozos = TrozosClausula(fila.text(QStringLiteral("Clausula")));
        listado.lineas.push_back({NumeroFila(n), {14, trozos.front()}});
        for (std::size_t i = 1; i < trozos.size(); ++i)
            listado.lineas.push_back({{15, trozos[i]}});
        ++n;
    }
    listado.registros = static_cast<int>(filas.size());
    return listado;
}

} // namespace listados
