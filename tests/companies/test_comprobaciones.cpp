#include "companies/Comprobaciones.h"

#include <gtest/gtest.h>

using namespace comprobaciones;

namespace {

// The message of a refusal, or "" when the value is accepted.
QString motivo(const std::optional<Rechazo>& rechazo)
{
    return rechazo ? rechazo->texto + QStringLiteral(" | ") + rechazo->titulo : QString();
}

} // namespace

TEST(Comprobaciones, ControlDigitsAreTheProvinceAndSignificantBodyModulo97)
{
    // A worker's NISS: the body's leading zero does not count (28 1234567).
    auto niss = ControlSS(QStringLiteral("28/01234567/00"), 8);
    ASSERT_TRUE(niss);
    EXPECT_EQ(niss->control, QStringLiteral("42"));
    EXPECT_EQ(niss->correcto, QStringLiteral("28/01234567/42"));
    niss = ControlSS(QStringLiteral("28/12345678/__"), 8);
    EXPECT_EQ(niss->correcto, QStringLiteral("28/12345678/40"));

    // A company's account: 081234567 modulo 97 is 74; with a leading zero, 28 123456 gives 52.
    EXPECT_EQ(ControlSS(QStringLiteral("08/1234567/74"), 7)->correcto, QStringLiteral("08/1234567/74"));
    EXPECT_EQ(ControlSS(QStringLiteral("28/0123456/11"), 7)->correcto, QStringLiteral("28/0123456/52"));

    // A digit missing in the province or the body: nothing to compute.
    EXPECT_FALSE(ControlSS(QStringLiteral("28/0123456_/42"), 8));
    EXPECT_FALSE(ControlSS(QStringLiteral("_8/1234567/42"), 7));
}

TEST(Comprobaciones, PostalCodesTelephonesAndProvinces)
{
    EXPECT_EQ(motivo(CodigoPostal(QStringLiteral("28001"))), QString());
    EXPECT_EQ(Provincia(QStringLiteral("28001")), QStringLiteral("Madrid."));
    EXPECT_EQ(Provincia(QStringLiteral("52005")), QStringLiteral("Melilla."));
    EXPECT_EQ(Provincia(QStringLiteral("53000")), QString());
    EXPECT_EQ(motivo(CodigoPostal(QString())), QString());
    EXPECT_EQ(motivo(CodigoPostal(QStringLiteral("-1234"))), QString()) << "a sign reads as a number";
    EXPECT_EQ(Provincia(QStringLiteral("-1234")), QString());
    EXPECT_EQ(motivo(CodigoPostal(QStringLiteral("2800"))),
              QStringLiteral("El valor del Código Postal debe ser de cinco cifras | Error"));
    EXPECT_EQ(motivo(CodigoPostal(QStringLiteral("28a01"))),
              QStringLiteral("El valor del Código Postal debe ser numérico | Error"));

    EXPECT_EQ(motivo(Telefono(QStringLiteral("912345678"), false)), QString());
    EXPECT_EQ(motivo(Telefono(QStringLiteral("91234567"), false)),
              QStringLiteral("El valor del teléfono debe ser de nueve cifras | Error"));
    EXPECT_EQ(motivo(Telefono(QStringLiteral("91-234567"), true)),
        QStringLiteral("El valor del fax debe ser numérico | Error"));
}

TEST(Comprobaciones, BirthDates)
{
    const QDate hoy(2026, 1, 1);
    const auto fecha = [&](const char* texto) { return motivo(FechaNacimiento(QString::fromLatin1(texto), hoy)); };
    EXPECT_EQ(fecha("__/__/____"), QString());
    EXPECT_EQ(fecha("15/03/1980"), QString());
    EXPECT_EQ(fecha("31/12/2010"), QString()) << "the year of birth counts whole";
    EXPECT_EQ(fecha("01/01/2011"), QStringLiteral("El trabajador tiene menos de 16 años | Error."));
    EXPECT_EQ(fecha("31/04/1980"), QStringLiteral("No es posible ese valor de día | Error"));
    EXPECT_EQ(fecha("30/02/1980"), QStringLiteral("No es posible ese valor de día | Error"));
    EXPECT_EQ(fecha("10/13/1980"), QStringLiteral("No es posible ese valor de mes | Error"));
    EXPECT_EQ(fecha("10/10/1899"), QStringLiteral("No es posible ese valor de año | Error"));
    const QString incorrecta = QStringLiteral("El valor introducido como Fecha de Nacimiento no es correcto. | ");
    EXPECT_EQ(fecha("29/02/1981"), incorrecta) << "no such day that year";
    EXPECT_EQ(fecha("1_/03/1980"), incorrecta);
    EXPECT_EQ(fecha("10/03/19_0"), incorrecta);

    EXPECT_EQ(ConCeros(QStringLiteral("7")), QStringLiteral("00007"));
    EXPECT_EQ(ConCeros(QStringLiteral("7a")), QStringLiteral("7a")) << "what is no number stays as typed";
}
