#include "production/RellenoContrato.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace produccion;

namespace {

// Every write of a filling as "bookmark=text", in order.
QStringList escritos(const Relleno& relleno, ValoresMarcas* valores = nullptr, std::vector<int>* progreso = nullptr)
{
    QStringList out;
    const ValoresMarcas leidos = RellenarDocumento(
        relleno, [&](const QString& marcador, const QString& texto) { out << marcador + QLatin1Char('=') + texto; },
        [&](int v) {
            if (progreso)
                progreso->push_back(v);
        });
    if (valores)
        *valores = leidos;
    return out;
}

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
    const struct {
        const char* codigo;
        int idioma;
        const char* modelo;
        std::optional<QString> texto; // nothing: no description is written
    } casos[] = {
        {"000", 1, "", std::nullopt},
        {"920", 1, "", std::nullopt},
        {"0920", 2, "", std::nullopt},
        {"", 1, "", std::nullopt},
        {"421", 1, "", QStringLiteral("421")},
        {"999", 1, "", QString()},
        {"401", 1, "", QStringLiteral("401 Tiempo Completo Obra Serv. Determ.")},
        {"401", 2, "", QStringLiteral("401 Temps Complet Obra Serv. Determ.")},
        {"540", 2, "", QString::fromUtf8("540 Sit. Jubilació Parcial")},
        // The codes read by model take their general text for every model.
        {"450", 1, "P07", QStringLiteral("450 Obra o servicio determinado a tiempo completo")},
        {"410", 2, "P07", QStringLiteral("410 Temps Complet Interinitat")},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TextoNombre(QString::fromLatin1(c.codigo), c.idioma, QString::fromLatin1(c.modelo)), c.texto)
            << c.codigo << " " << c.idioma;
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
    EXPECT_EQ(castellano->dia + castellano->mes + castellano->anio, QStringLiteral("15marzo2009"));
    EXPECT_EQ(catalan->mes + numeros->mes, QString::fromUtf8("Març03"));
    QStringList castellanos, catalanes;
    for (int mes = 0; mes <= 13; ++mes) {
        castellanos << MesCastellano(mes);
        catalanes << MesCatala(mes);
    }
    EXPECT_EQ(castellanos.join(QLatin1Char(',')),
              QStringLiteral(",enero,febrero,marzo,abril,mayo,junio,julio,agosto,septiembre,octubre,noviembre,"
                             "diciembre,"));
    EXPECT_EQ(catalanes.join(QLatin1Char(',')),
              QString::fromUtf8(
                  ",Gener,Febrer,Març,Abril,Maig,Juny,Juliol,Agost,Setembre,Octubre,Novembre,Desembre,"));
    EXPECT_FALSE(FechaDelPie(QStringLiteral("31/02/2009"), 1, true));
}

TEST(RellenoContrato, OrdenDeEscrituraYOcurrenciasDeLasMarcas)
{
    ValoresMarcas valores;
    std::vector<int> progreso;
    EXPECT_EQ(escritos(contrato401(), &valores, &progreso),
              QStringList({"Clausula1=- Primera. Uno\r\n", "M0102=ANA ROS", "M0076=31/12/2009", "M2076=31/12/2009",
                           "M3076=31/12/2009", "M0223=01/01/2009", "M2223=01/01/2009",
                           "Nombre=401 Tiempo Completo Obra Serv. Determ.", "Dato1=Lleida", "Dato2=15", "Dato4=2009",
                           "Dato3=03"}));
    EXPECT_EQ(valores.vencimientoContrato + valores.inicioProrroga, QStringLiteral("31/12/200901/01/2009"));
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
    EXPECT_EQ(escritos(sinCodigo), QStringList({"Clausula1=- Primera. Uno\r\n"}));

    // An extension with code "000" takes place and date but no clauses.
    Relleno prorroga = sinCodigo;
    prorroga.clase = ClaseDocumento::Prorroga;
    prorroga.mesEnLetras = true;
    prorroga.idioma = 2;
    EXPECT_EQ(escritos(prorroga), QStringList({"Dato1=Lleida", "Dato2=15", "Dato4=2009", "Dato3=Març"}));

    // The fixed-term works contract has no clauses; a catalogue without clauses writes none.
    Relleno obra = sinCodigo;
    obra.contrato = QStringLiteral("000 - Contrato fijo de obra");
    EXPECT_TRUE(escritos(obra).isEmpty());
    Relleno sinCatalogo = sinCodigo;
    sinCatalogo.clausulas.reset();
    EXPECT_TRUE(escritos(sinCatalogo).isEmpty());
}
