#include "Registros.h"

#include <optional>

using namespace exchange;

namespace {

// What the import writes of one column of a record, or nothing; a date that
// is no calendar date reads "!" and its text.
std::optional<QString> escrito(const QByteArray& bytes, const char* columna)
{
    const RegistroContrato r = RegistroContrato::desdeBytes(bytes);
    for (const CampoFecha& f : FechasTrabajador()) {
        if (qstrcmp(f.columna, columna) != 0)
            continue;
        const FechaImportada d = r.fecha(f);
        if (!d.presente)
            return std::nullopt;
        return d.fecha.isValid() ? d.fecha.toString(Qt::ISODate) : u("!") + d.texto;
    }
    for (const auto* campos : {&CamposEmpresa(), &CamposTrabajador()}) {
        for (const Campo& c : *campos) {
            if (qstrcmp(c.columna, columna) == 0)
                return r.seEscribe(c) ? std::optional(r.valor(c)) : std::nullopt;
        }
    }
    ADD_FAILURE() << columna;
    return std::nullopt;
}

QByteArray con(std::initializer_list<std::pair<Tramo, const char*>> valores, int longitud = 1720)
{
    Registro r;
    for (const auto& [tramo, valor] : valores)
        r.poner(tramo, u(valor));
    return r.bytes(longitud);
}

} // namespace

TEST(RegistroContratoTest, FieldsReadAsTheImportWritesThem)
{
    const QByteArray completo = registroDe(u("1234"), u("00045"), u("B12345678"), u("12345678Z")).bytes();
    const struct {
        const char* caso;
        QByteArray registro;
        const char* columna;
        std::optional<QString> esperado;
    } casos[] = {
        {"trimmed", completo, "NúmeroEmpresa", u("1234")},
        {"untrimmed for the worker", completo, "NumEmpresa", u("1234 ")},
        {"a printer code in front moves nothing", "\x0f" + completo, "NIF14", u("12345678Z")},
        {"bold on and off are dropped", QByteArray(completo).insert(10, "\x1b" "E").insert(900, "\x1b" "F"), "NIF14",
         u("12345678Z")},
        {"Windows-1252", con({}).replace(6, 8, "CA\xd1" "ADA \x80"), "NombreEmpresa", u("CAÑADA €")},
        {"street and three blank pieces", con({{{49, 2}, "CL"}, {{52, 26}, "MAYOR"}, {{79, 4}, "12"}}), "Dirección",
         u("CL MAYOR 12   ")},
        {"street without its name", con({{{49, 2}, "CL"}}), "Dirección", std::nullopt},
        {"account", con({{{723, 2}, "08"}, {{726, 7}, "1234567"}, {{734, 2}, "89"}}), "Cuenta", u("08/1234567/89")},
        {"account with a blank middle", con({{{723, 2}, "08"}, {{734, 2}, "89"}}), "Cuenta", u("08/       /89")},
        {"NIF blank in its first nine places", con({{{47, 1}, "X"}}), "NIF", std::nullopt},
        {"short record, blank past its end", con({{{1395, 30}, "ANA"}}, 1393), "NombreTrabajador", std::nullopt},
        {"short record, the company still", con({{{1, 5}, "77"}}, 3), "NumEmpresa", u("77   ")},
        {"no date", con({{{1578, 8}, "00000000"}}), "FechaNacimiento", std::nullopt},
        {"blank date", completo, "FechaAlta", std::nullopt},
        {"a day that does not exist", con({{{1596, 8}, "31022000"}}), "FechaAlta", u("!31/02/2000")},
        {"a date", con({{{1605, 8}, "01011980"}}), "FechaBaja", u("1980-01-01")},
    };
    for (const auto& c : casos)
        EXPECT_EQ(escrito(c.registro, c.columna), c.esperado) << c.caso;

    const std::pair<const char*, std::optional<int>> numeros[] = {
        {"00045", 45}, {" 45  ", 45}, {"AB123", std::nullopt}, {"     ", std::nullopt}, {"4 5  ", std::nullopt}};
    for (const auto& [texto, numero] : numeros)
        EXPECT_EQ(RegistroContrato::desdeBytes(con({{kNumeroTrabajador, texto}})).numeroTrabajador(), numero) << texto;
}
