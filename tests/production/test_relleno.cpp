#include "production/RellenoContrato.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace produccion;

namespace {

// Every write as "bookmark=text", in order.
struct Grabadora {
    QStringList escritos;
    EscribirMarcador escribir()
    {
        return [this](const QString& marcador, const QString& texto) {
            escritos << marcador + QLatin1Char('=') + texto;
        };
    }
};

Relleno contrato401()
{
    Relleno r;
    r.contrato = QStringLiteral("401 - Obra o servicio");
    r.codigoContrato = QStringLiteral("401");
    r.modelo = QStringLiteral("OBRA");
    r.clausulas = QStringLiteral("- Primera. Uno\r\n");
    r.marcas = {{QStringLiteral("0102"), QStringLiteral("ANA ROS"), QStringLiteral("1")},
                {QStringLiteral("0076"), QStringLiteral("31/12/2009"), QStringLiteral("3")},
                {QStringLiteral("0115"), QString(), QStringLiteral("2")},
                {QStringLiteral("223"), QStringLiteral("01/01/2009"), QStringLiteral("2")}};
    r.lugar = QStringLiteral("Lleida");
    r.fechaContrato = QStringLiteral("15/03/2009");
    return r;
}

} // namespace

TEST(TextosContrato, DescripcionPorCodigoEnLosDosIdiomas)
{
    EXPECT_EQ(TextoNombre(QStringLiteral("000"), 1, {}), std::nullopt);
    EXPECT_EQ(TextoNombre(QStringLiteral("920"), 1, {}), std::nullopt);
    EXPECT_EQ(TextoNombre(QStringLiteral("0920"), 2, {}), std::nullopt);
    EXPECT_EQ(TextoNombre(QString(), 1, {}), std::nullopt);
    EXPECT_EQ(TextoNombre(QStringLiteral("421"), 1, {}), QStringLiteral("421"));
    EXPECT_EQ(TextoNombre(QStringLiteral("999"), 1, {}), QString());
    EXPECT_EQ(TextoNombre(QStringLiteral("401"), 1, {}), QStringLiteral("401 Tiempo Completo Obra Serv. Determ."));
    EXPECT_EQ(TextoNombre(QStringLiteral("401"), 2, {}), QStringLiteral("401 Temps Complet Obra Serv. Determ."));
    EXPECT_EQ(TextoNombre(QStringLiteral("540"), 2, {}), QStringLiteral("540 Sit. Jubilació Parcial"));
    // The codes read by model take their general text for every model.
    EXPECT_EQ(TextoNombre(QStringLiteral("450"), 1, QStringLiteral("P07")),
              QStringLiteral("450 Obra o servicio determinado a tiempo completo"));
    EXPECT_EQ(TextoNombre(QStringLiteral("410"), 2, QStringLiteral("P07")),
              QStringLiteral("410 Temps Complet Interinitat"));
}

TEST(TextosContrato, MesesPorNombreSeaCualSeaElIdiomaDelOrdenador)
{
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto castellano = FechaDelPie(QStringLiteral("15/03/2009"), 1, true);
    const auto catalan = FechaDelPie(QStringLiteral("15/03/2009"), 2, true);
    const auto numeros = FechaDelPie(QStringLiteral("15/03/2009"), 1, false);
    QLocale::setDefault(antes);

    ASSERT_TRUE(castellano && catalan && numeros);
    EXPECT_EQ(castellano->dia, QStringLiteral("15"));
    EXPECT_EQ(castellano->anio, QStringLiteral("2009"));
    EXPECT_EQ(castellano->mes, QStringLiteral("marzo"));
    EXPECT_EQ(catalan->mes, QStringLiteral("Març"));
    EXPECT_EQ(numeros->mes, QStringLiteral("03"));
    EXPECT_EQ(MesCastellano(9), QStringLiteral("septiembre"));
    EXPECT_EQ(MesCatala(0), QString());
    EXPECT_EQ(MesCatala(13), QString());
    EXPECT_FALSE(FechaDelPie(QStringLiteral("31/02/2009"), 1, true));
}

TEST(RellenoContrato, OrdenDeEscrituraYOcurrenciasDeLasMarcas)
{
    Grabadora g;
    std::vector<int> progreso;
    const ValoresMarcas valores = RellenarDocumento(contrato401(), g.escribir(), [&](int v) { progreso.push_back(v); });
    EXPECT_EQ(g.escritos, QStringList({"Clausula1=- Primera. Uno\r\n", "M0102=ANA ROS", "M0076=31/12/2009",
                                       "M2076=31/12/2009", "M3076=31/12/2009", "M0223=01/01/2009",
                                       "M2223=01/01/2009", "Nombre=401 Tiempo Completo Obra Serv. Determ.",
                                       "Dato1=Lleida", "Dato2=15", "Dato4=2009", "Dato3=03"}));
    EXPECT_EQ(valores.vencimientoContrato, QStringLiteral("31/12/2009"));
    EXPECT_EQ(valores.inicioProrroga, QStringLiteral("01/01/2009"));
    EXPECT_TRUE(valores.duracionProrroga.isEmpty());
    ASSERT_FALSE(progreso.empty());
    EXPECT_EQ(progreso.back(), 700);
}

TEST(RellenoContrato, LoQueCadaClaseDeDocumentoLleva)
{
    // Code "000": no description, no place, no date.
    Relleno sinCodigo = contrato401();
    sinCodigo.codigoContrato = QStringLiteral("000");
    sinCodigo.marcas.clear();
    Grabadora a;
    RellenarDocumento(sinCodigo, a.escribir());
    EXPECT_EQ(a.escritos, QStringList({"Clausula1=- Primera. Uno\r\n"}));

    // An extension with code "000" takes place and date but no clauses.
    Relleno prorroga = sinCodigo;
    prorroga.clase = ClaseDocumento::Prorroga;
    prorroga.mesEnLetras = true;
    prorroga.idioma = 2;
    Grabadora b;
    RellenarDocumento(prorroga, b.escribir());
    EXPECT_EQ(b.escritos, QStringList({"Dato1=Lleida", "Dato2=15", "Dato4=2009", "Dato3=Març"}));

    // The fixed-term works contract has no clauses; an empty clause text
    // is still written; a catalogue without clauses writes none.
    Relleno obra = sinCodigo;
    obra.contrato = QStringLiteral("000 - Contrato fijo de obra");
    Grabadora c;
    RellenarDocumento(obra, c.escribir());
    EXPECT_TRUE(c.escritos.isEmpty());
    Relleno sinCatalogo = sinCodigo;
    sinCatalogo.clausulas.reset();
    Grabadora d;
    RellenarDocumento(sinCatalogo, d.escribir());
    EXPECT_TRUE(d.escritos.isEmpty());
}
