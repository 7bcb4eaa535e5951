#include "Registros.h"

#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"
#include "platform/Files.h"

#include <QDir>

using namespace exchange;
using platform::Row;

namespace {

QString q(const char* texto)
{
    return QString::fromUtf8(texto);
}

} // namespace

class ImportacionTest : public ExchangeTest {
protected:
    Row unaEmpresa() const
    {
        const auto todas = filas(q("SELECT * FROM Empresas"));
        EXPECT_EQ(todas.size(), 1u);
        return todas.empty() ? Row() : todas.front();
    }
    Row unTrabajador() const
    {
        const auto todos = filas(q("SELECT * FROM Trabajadores"));
        EXPECT_EQ(todos.size(), 1u);
        return todos.empty() ? Row() : todos.front();
    }
    static void contadores(const ResultadoImportacion& r, int ficheros, int nuevasE, int nuevosT, int discE,
                           int discT)
    {
        const auto& c = r.contadores;
        EXPECT_EQ((std::array{c.Ficheros, c.NuevasEmpresas, c.NuevosTrabajadores, c.DiscordanciasE, c.DiscordanciasT}),
                  (std::array{ficheros, nuevasE, nuevosT, discE, discT}));
    }
};

TEST_F(ImportacionTest, ANewCompanyAddsItAndItsWorkerAndTheFileMovesWithoutTheKey)
{
    recibido(q("AB123400045"), registroDe(q("1234"), q("00045"), q("B12345678"), q("12345678Z"), q("O'BRIEN S.L."))
                                   .poner({52, 26}, q("MAYOR"))
                                   .poner({1578, 8}, q("15031970"))
                                   .poner({1596, 8}, q("31022020"))
                                   .bytes());

    const auto r = importar();

    contadores(r, 1, 1, 1, 0, 0);
    EXPECT_FALSE(r.interrumpida);
    const Row e = unaEmpresa();
    EXPECT_EQ(e.text(q("NúmeroEmpresa")), q("1234"));
    EXPECT_EQ(e.text(q("NombreEmpresa")), q("O'BRIEN S.L."));
    EXPECT_EQ(e.text(q("NIF")), q("B12345678"));
    const Row t = unTrabajador();
    EXPECT_EQ(t.text(q("IdEmpresa")), e.text(q("IdEmpresa")));
    EXPECT_EQ(t.value(q("NúmeroTrabajador")).toInt(), 45);
    EXPECT_EQ(t.text(q("NombreTrabajador")), q("PEREZ GARCIA JUAN"));
    EXPECT_EQ(t.text(q("NumEmpresa")), q("1234 ")) << "kept as the record pads it";
    EXPECT_EQ(platform::toDate(t.value(q("FechaNacimiento"))), QDate(1970, 3, 15));
    EXPECT_TRUE(t.isNull(q("FechaAlta")));
    EXPECT_EQ(t.text(q("EnviadoCliente")) + t.text(q("ReenviadoCliente")), q("NoNo"));
    EXPECT_EQ(msg().texts(),
              QStringList{q("Fecha de alta del trabajador : PEREZ GARCIA JUAN incorrecta; 31/02/2020")});
    EXPECT_EQ(msg().shown().front().style, 0);

    // The padded values match the trimmed ones as the database compares them.
    EXPECT_EQ(filas(q("SELECT * FROM Trabajadores t JOIN Empresas e ON t.Empresa = e.NombreEmpresa "
                      "AND t.NumEmpresa = e.NúmeroEmpresa"))
                  .size(),
              1u);
    EXPECT_TRUE(en(kContratosImp).isEmpty());
    EXPECT_EQ(en(kContratosTemp), QStringList{q("123400045")});
}

TEST_F(ImportacionTest, KnownCompanyIsUpdatedAndItsNewOrKnownWorkerWritten)
{
    const qint64 id = empresa(q("1234"), q("B12345678"), q("VIEJO NOMBRE"));
    const qint64 conocido = trabajador(id, q("1234"), 45, q("12345678Z"), q("NOMBRE VIEJO"));
    // The record pads the company number; the stored one is trimmed.
    recibido(q("AB123400045"), registroDe(q("1234"), q("00045"), q("B12345678"), q("12345678Z")).bytes());
    recibido(q("AB123400046"), registroDe(q("1234"), q("00046"), q("B12345678"), q("X1234567L"), q("ACME S.L."),
                                          q("LOPEZ ANA"))
                                   .bytes());

    contadores(importar(), 2, 0, 1, 0, 0);

    EXPECT_EQ(unaEmpresa().text(q("NombreEmpresa")), q("ACME S.L."));
    const auto trabajadores = filas(q("SELECT * FROM Trabajadores ORDER BY IdTrabajador"));
    ASSERT_EQ(trabajadores.size(), 2u);
    EXPECT_EQ(trabajadores[0].value(q("IdTrabajador")).toLongLong(), conocido);
    EXPECT_EQ(trabajadores[0].text(q("NombreTrabajador")), q("PEREZ GARCIA JUAN"));
    EXPECT_EQ(trabajadores[0].text(q("EnviadoCliente")), q("No")) << "the paper trail starts again";
    EXPECT_EQ(trabajadores[0].text(q("RecogidoInem")), q("No"));
    EXPECT_EQ(trabajadores[1].text(q("NombreTrabajador")), q("LOPEZ ANA"));
    EXPECT_EQ(trabajadores[1].text(q("IdEmpresa")), QString::number(id));
    EXPECT_TRUE(msg().texts().isEmpty());
    EXPECT_EQ(en(kContratosTemp), (QStringList{q("123400045"), q("123400046")}));
}

TEST_F(ImportacionTest, ConflictsAreRefusedLoggedAndTheFilesStillMove)
{
    // An earlier run left three longer records in each log.
    for (int i = 1; i <= 3; ++i) {
        platform::writeRecord(host(kDiscordanciasE), i, 35, QByteArray(35, 'V'));
        platform::writeRecord(host(kDiscordanciasT), i, 40, QByteArray(40, 'V'));
    }
    const qint64 otraNif = empresa(q("1111"), q("A00000000"), q("EMPRESA ANTIGUA"));
    empresa(q("2222"), QVariant(), q("SIN NIF"));
    const qint64 conocida = empresa(q("3333"), q("B33333333"), q("NOMBRE VIEJO"));
    trabajador(conocida, q("3333"), 7, q("11111111H"), q("TRABAJADOR VIEJO"));
    trabajador(conocida, q("3333"), 8, QVariant(), q("OTRO VIEJO"));

    recibido(q("AB111100001"), registroDe(q("1111"), q("00001"), q("B11111111"), q("1Z")).bytes());
    recibido(q("AB222200002"), registroDe(q("2222"), q("00002"), q(""), q("2Z")).bytes());
    recibido(q("AB333300007"),
             registroDe(q("3333"), q("00007"), q("B33333333"), q("99999999R"), q("NOMBRE NUEVO"), q("NUEVO TRAB"))
                 .bytes());
    recibido(q("AB333300008"), registroDe(q("3333"), q("00008"), q("B33333333"), q(""), q("NOMBRE NUEVO")).bytes());

    contadores(importar(), 4, 0, 0, 2, 2);

    EXPECT_EQ(msg().texts(), (QStringList{q("El número de empresa no coincide con el de la base de datos"),
                                          q("El número de empresa no coincide con el de la base de datos"),
                                          q("No coincide el NIF con el dato almacenado en la base de datos."),
                                          q("No coincide el NIF con el dato almacenado en la base de datos.")}));
    EXPECT_EQ(filas(q("SELECT NIF FROM Empresas WHERE IdEmpresa = ?"), {otraNif})[0].text(q("NIF")), q("A00000000"));
    EXPECT_EQ(filas(q("SELECT NombreEmpresa FROM Empresas WHERE IdEmpresa = ?"), {conocida})[0].text(
                  q("NombreEmpresa")),
              q("NOMBRE NUEVO"))
        << "a worker conflict keeps the company's update";
    EXPECT_EQ(filas(q("SELECT * FROM Trabajadores WHERE NombreTrabajador = 'TRABAJADOR VIEJO' "
                      "AND NIF14 = '11111111H'"))
                  .size(),
              1u);
    EXPECT_EQ(filas(q("SELECT * FROM Trabajadores")).size(), 2u);

    const QByteArray logE = readFile(kDiscordanciasE);
    EXPECT_EQ(logE, platform::fixedField(q("ACME S.L."), 30) + "1111 " + platform::fixedField(q("ACME S.L."), 30)
                        + "2222 " + QByteArray(35, 'V'));
    const QByteArray logT = readFile(kDiscordanciasT);
    EXPECT_EQ(logT.left(80), "3333 " + platform::fixedField(q("NUEVO TRAB"), 30) + "00007" + "3333 "
                                 + platform::fixedField(q("PEREZ GARCIA JUAN"), 30) + "00008");
    EXPECT_EQ(logT.mid(80), QByteArray(40, 'V'));
    EXPECT_EQ(en(kContratosTemp).size(), 4);
}

TEST_F(ImportacionTest, EmptyFilesAndWorkerNumbersOfLettersDoNotStopTheRun)
{
    const qint64 id = empresa(q("1234"), q("B12345678"));
    trabajador(id, q("1234"), 45, q("12345678Z"));
    recibido(q("AB1234"), QByteArray());
    recibido(q("AB1234ABCDE"), registroDe(q("1234"), q("ABCDE"), q("B12345678"), q("5555"), q("ACME S.L."), q("SIN NUMERO"))
                                   .bytes());
    recibido(q("AB123400045"), registroDe(q("1234"), q("00045"), q("B12345678"), q("12345678Z")).bytes());

    const auto r = importar();

    contadores(r, 3, 0, 1, 0, 0);
    EXPECT_FALSE(r.interrumpida);
    EXPECT_EQ(msg().texts(), QStringList{q("Número del trabajador : SIN NUMERO , número de trabajador : ABCDE")});
    const auto sinNumero = filas(q("SELECT * FROM Trabajadores WHERE NombreTrabajador = 'SIN NUMERO'"));
    ASSERT_EQ(sinNumero.size(), 1u);
    EXPECT_TRUE(sinNumero[0].isNull(q("NúmeroTrabajador")));
    EXPECT_EQ(en(kContratosImp), QStringList());
    EXPECT_EQ(en(kContratosTemp), (QStringList{q("1234"), q("123400045"), q("1234ABCDE")}));
}

TEST_F(ImportacionTest, AWorkerThatCannotBeSavedIsToldAndLeftAsItWas)
{
    db.exec(q("CREATE TRIGGER rechazo BEFORE INSERT ON Trabajadores BEGIN SELECT RAISE(ABORT, 'rechazado'); END"));
    recibido(q("AB123400045"), registroDe(q("1234"), q("00045"), q("B12345678"), q("12345678Z")).bytes());

    const auto r = importar();

    contadores(r, 1, 1, 1, 0, 0);
    EXPECT_EQ(msg().texts(), QStringList{q("Error en el contrato del trabajador : 00045 de la empresa ")
                                         + q("ACME S.L.").leftJustified(30)
                                         + q(" Posible error en el campo : IdEmpresa ")});
    EXPECT_EQ(filas(q("SELECT * FROM Empresas")).size(), 1u) << "the company stays saved";
    EXPECT_TRUE(filas(q("SELECT * FROM Trabajadores")).empty());
    EXPECT_EQ(en(kContratosTemp), QStringList{q("123400045")});
}

TEST_F(ImportacionTest, AFileThatCannotMoveStopsTheMovingAndIsImportedAgainNextRun)
{
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100001", "anterior");
    recibido(q("AB111100001"), registroDe(q("1111"), q("00001"), q("B1"), q("T1")).bytes());
    recibido(q("AB222200002"), registroDe(q("2222"), q("00002"), q("B2"), q("T2"), q("SEGUNDA S.A.")).bytes());
    recibido(q("AB333300003"), registroDe(q("3333"), q("00003"), q("B3"), q("T3")).bytes());
    // Something that is no file stands where the second one goes.
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002"));

    const auto r = importar();

    EXPECT_TRUE(r.interrumpida);
    contadores(r, 3, 3, 3, 0, 0);
    EXPECT_EQ(filas(q("SELECT * FROM Empresas")).size(), 3u) << "the rows were saved before the moving";
    EXPECT_EQ(msg().texts(), QStringList{q("Error en el contrato del trabajador : 00002 de la empresa ")
                                         + q("SEGUNDA S.A.").leftJustified(30)
                                         + q(" Posible error en el campo : NIF = B2")});
    EXPECT_EQ(en(kContratosImp), (QStringList{q("AB222200002"), q("AB333300003")}));
    EXPECT_NE(readFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100001"), QByteArray("anterior"))
        << "the earlier file of the same worker was replaced";

    QDir(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002")).removeRecursively();
    const auto siguiente = importar();
    EXPECT_FALSE(siguiente.interrumpida);
    contadores(siguiente, 2, 0, 0, 0, 0);
    EXPECT_EQ(filas(q("SELECT * FROM Trabajadores")).size(), 3u);
    EXPECT_TRUE(en(kContratosImp).isEmpty());
    EXPECT_EQ(en(kContratosTemp).size(), 3);
}
