#include "Registros.h"

#include <optional>

using namespace exchange;

namespace {

// What the import writes of one column of a record, or nothing; a date that
// is no calendar date reads "!" and its text. A column of both tables is the
// company's unless `trabajador`.
std::optional<QString> escrito(const QByteArray& bytes, const char* columna, bool trabajador = false)
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
    for (const auto* campos : {trabajador ? &CamposTrabajador() : &CamposEmpresa(), &CamposTrabajador()}) {
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
        {"a date of pieces with blanks", con({{{1578, 8}, "1 031970"}}), "FechaNacimiento", u("1970-03-01")},
        {"a year of two figures", con({{{1578, 8}, "010180  "}}), "FechaNacimiento", u("!01/01/80")},
        {"a year of three figures", con({{{1578, 8}, "0101 198"}}), "FechaNacimiento", u("!01/01/198")},
    };
    for (const auto& c : casos)
        EXPECT_EQ(escrito(c.registro, c.columna), c.esperado) << c.caso;

    const std::pair<const char*, std::optional<int>> numeros[] = {
        {"00045", 45}, {" 45  ", 45}, {"AB123", std::nullopt}, {"     ", std::nullopt}, {"4 5  ", std::nullopt}};
    for (const auto& [texto, numero] : numeros)
        EXPECT_EQ(RegistroContrato::desdeBytes(con({{kNumeroTrabajador, texto}})).numeroTrabajador(), numero) << texto;
}

// Each piece filled to its width, every position between them '~', and no
// two neighbours alike: a field read one place off takes a character that is
// not its own.
TEST(RegistroContratoTest, EveryFieldIsReadAtItsOwnPlace)
{
    const auto x = [](char c, int n) { return QString(n, QLatin1Char(c)); };
    Registro r;
    r.poner({1, 1720}, x('~', 1720));
    const std::pair<Tramo, QString> piezas[] = {
        {{1, 5}, u("00123")},        {{7, 30}, x('E', 30)},      {{38, 10}, x('F', 10)},
        {{49, 2}, u("CL")},          {{52, 26}, x('G', 26)},     {{79, 4}, u("0012")},
        {{84, 2}, u("BB")},          {{87, 2}, u("CC")},         {{90, 2}, u("DD")},
        {{93, 20}, x('H', 20)},      {{114, 5}, u("08221")},     {{145, 9}, u("937001122")},
        {{156, 9}, u("937003344")},  {{183, 30}, x('I', 30)},    {{723, 2}, u("08")},
        {{726, 7}, u("1234567")},    {{734, 2}, u("89")},        {{1389, 5}, u("00045")},
        {{1395, 30}, x('J', 30)},    {{1426, 25}, x('K', 25)},   {{1453, 4}, u("0007")},
        {{1458, 20}, x('M', 20)},    {{1479, 5}, u("08222")},    {{1485, 13}, x('N', 13)},
        {{1498, 9}, u("937005566")}, {{1509, 15}, x('P', 15)},   {{1541, 2}, u("08")},
        {{1543, 8}, u("12345678")},  {{1551, 2}, u("90")},       {{1567, 10}, x('Q', 10)},
        {{1578, 8}, u("15031970")},  {{1596, 8}, u("01021999")}, {{1605, 8}, u("28022001")},
        {{1701, 10}, x('R', 10)},
    };
    for (const auto& [tramo, valor] : piezas)
        r.poner(tramo, valor);
    const QByteArray bytes = r.bytes();

    const struct {
        const char* columna;
        bool trabajador;
        QString esperado;
    } columnas[] = {
        {"NúmeroEmpresa", false, u("00123")},
        {"Cuenta", false, u("08/1234567/89")},
        {"NombreEmpresa", false, x('E', 30)},
        {"NIF", false, x('F', 10)},
        {"Dirección", false, u("CL ") + x('G', 26) + u(" 0012 BB CC DD")},
        {"Localidad", false, x('H', 20)},
        {"CódPostal", false, u("08221")},
        {"NúmTeléfono", false, u("937001122")},
        {"NúmFax", false, u("937003344")},
        {"Actividad", false, x('I', 30)},
        {"NombreTrabajador", true, x('J', 30)},
        {"Domicilio", true, x('K', 25) + u(" 0007")},
        {"Localidad", true, x('N', 13)},
        {"CódPostal", true, u("08222")},
        {"Municipio", true, x('M', 20)},
        {"Teléfono", true, u("937005566")},
        {"NumSS", true, u("08/12345678/90")},
        {"NIF14", true, x('Q', 10)},
        {"Categoria_Laboral", true, x('P', 15)},
        {"NivelFormativo", true, x('R', 10)},
        {"Empresa", true, x('E', 30)},
        {"NumEmpresa", true, u("00123")},
        {"FechaNacimiento", true, u("1970-03-15")},
        {"FechaAlta", true, u("1999-02-01")},
        {"FechaBaja", true, u("2001-02-28")},
    };
    for (const auto& c : columnas)
        EXPECT_EQ(escrito(bytes, c.columna, c.trabajador), c.esperado) << c.columna;

    const RegistroContrato registro = RegistroContrato::desdeBytes(bytes);
    EXPECT_EQ(registro.numeroEmpresa() + registro.nombreEmpresa() + registro.nifEmpresa(),
              u("00123") + x('E', 30) + x('F', 10));
    EXPECT_EQ(registro.numeroTrabajador(), 45);
    EXPECT_EQ(registro.nombreTrabajador() + registro.nifTrabajador(), x('J', 30) + x('Q', 10));
}
