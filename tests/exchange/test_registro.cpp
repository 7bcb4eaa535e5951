#include "Registros.h"

#include "exchange/ContratoImportado.h"

#include <functional>
#include <optional>

using namespace exchange;

namespace {

const Campo& campo(const char* columna)
{
    for (const auto* campos : {&CamposEmpresa(), &CamposTrabajador()}) {
        for (const Campo& c : *campos) {
            if (qstrcmp(c.columna, columna) == 0)
                return c;
        }
    }
    throw std::logic_error(columna);
}

const CampoFecha& fecha(const char* columna)
{
    for (const CampoFecha& c : FechasTrabajador()) {
        if (qstrcmp(c.columna, columna) == 0)
            return c;
    }
    throw std::logic_error(columna);
}

// What the import does with one column of a record: the value it writes, or
// nothing. A date that is present but no calendar date reads "!" and its text.
std::optional<QString> escrito(const RegistroContrato& r, const char* columna)
{
    for (const CampoFecha& f : FechasTrabajador()) {
        if (qstrcmp(f.columna, columna) == 0) {
            const FechaImportada d = r.fecha(f);
            if (!d.presente)
                return std::nullopt;
            return d.fecha.isValid() ? d.fecha.toString(Qt::ISODate) : QStringLiteral("!") + d.texto;
        }
    }
    const Campo& c = campo(columna);
    if (!r.seEscribe(c))
        return std::nullopt;
    return r.valor(c);
}

QByteArray con(Tramo tramo, const char* valor, Registro r = Registro())
{
    return r.poner(tramo, QString::fromLatin1(valor)).bytes();
}

} // namespace

TEST(RegistroContratoTest, FieldsReadAsTheImportWritesThem)
{
    const QByteArray completo = registroDe(QStringLiteral("1234"), QStringLiteral("00045"), QStringLiteral("B12345678"),
                                           QStringLiteral("12345678Z"))
                                    .bytes();
    struct Caso {
        const char* nombre;
        QByteArray registro;
        const char* columna;
        std::optional<QString> esperado;
    };
    const Caso casos[] = {
        {"company number trimmed", completo, "NúmeroEmpresa", QStringLiteral("1234")},
        {"a printer code in front changes no position", "\x0f" + completo, "NIF14", QStringLiteral("12345678Z")},
        {"bold on and off inside are dropped", QByteArray(completo).insert(10, "\x1b" "E").insert(1000, "\x1b" "F"),
         "NIF14", QStringLiteral("12345678Z")},
        {"Windows-1252 letters", Registro().bytes().replace(6, 8, "CA\xd1" "ADA \x80"), "NombreEmpresa",
         QString::fromUtf8("CAÑADA €")},
        {"street of three pieces and three blank ones",
         Registro().poner({49, 2}, QStringLiteral("CL")).poner({52, 26}, QStringLiteral("MAYOR"))
             .poner({79, 4}, QStringLiteral("12")).bytes(),
         "Dirección", QStringLiteral("CL MAYOR 12   ")},
        {"street without its name is not written", con({49, 2}, "CL"), "Dirección", std::nullopt},
        {"account of three pieces", Registro().poner({723, 2}, QStringLiteral("08")).poner({726, 7}, QStringLiteral("1234567"))
             .poner({734, 2}, QStringLiteral("89")).bytes(),
         "Cuenta", QStringLiteral("08/1234567/89")},
        {"account with a blank middle keeps its width",
         Registro().poner({723, 2}, QStringLiteral("08")).poner({734, 2}, QStringLiteral("89")).bytes(), "Cuenta",
         QStringLiteral("08/       /89")},
        {"NIF written only when its first nine places hold something", con({47, 1}, "X"), "NIF", std::nullopt},
        {"worker's social security number", Registro().poner({1541, 2}, QStringLiteral("46")).poner({1543, 8}, QStringLiteral(" 1234567"))
             .poner({1551, 2}, QStringLiteral("12")).bytes(),
         "NumSS", QStringLiteral("46/1234567/12")},
        {"company name untrimmed for the worker", completo, "Empresa", QStringLiteral("ACME S.L.").leftJustified(30)},
        {"company number untrimmed for the worker", completo, "NumEmpresa", QStringLiteral("1234 ")},
        {"a short record reads blank past its end", Registro(completo.size()).poner({1, 5}, QStringLiteral("77")).acortar(1393).bytes(),
         "NombreTrabajador", std::nullopt},
        {"a short record still gives the worker its company", Registro().poner({1, 5}, QStringLiteral("77")).acortar(3).bytes(),
         "NumEmpresa", QStringLiteral("77   ")},
        {"no date", con({1578, 8}, "00000000"), "FechaNacimiento", std::nullopt},
        {"blank date", completo, "FechaAlta", std::nullopt},
        {"a date that does not exist", con({1596, 8}, "31022000"), "FechaAlta", QStringLiteral("!31/02/2000")},
        {"a date", con({1605, 8}, "01011980"), "FechaBaja", QStringLiteral("1980-01-01")},
        {"a date of letters", con({1578, 8}, "0101AB80"), "FechaNacimiento", QStringLiteral("!01/01/AB80")},
    };
    for (const Caso& caso : casos) {
        const RegistroContrato r = RegistroContrato::desdeBytes(caso.registro);
        EXPECT_EQ(escrito(r, caso.columna), caso.esperado) << caso.nombre;
    }
}

TEST(RegistroContratoTest, WorkerNumberReadsAsANumberOnlyWhenItIsDigits)
{
    const std::pair<const char*, std::optional<int>> casos[] = {
        {"00045", 45}, {" 45  ", 45}, {"AB123", std::nullopt}, {"     ", std::nullopt}, {"4 5  ", std::nullopt},
    };
    for (const auto& [texto, numero] : casos) {
        const auto r = RegistroContrato::desdeBytes(con(kNumeroTrabajador, texto));
        EXPECT_EQ(r.numeroTrabajador(), numero) << texto;
        EXPECT_EQ(r.numeroTrabajadorTexto(), QString::fromLatin1(texto));
    }
}
