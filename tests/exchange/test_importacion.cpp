#include "Registros.h"

#include "platform/Files.h"

#include <QDir>

#include <array>

using namespace exchange;

class ImportacionTest : public ExchangeTest {
protected:
    void recibido(const char* nombre, const QByteArray& contenido) { dejar(kContratosImp, q(nombre), contenido); }
    QString valor(const char* sql, const char* campo) const
    {
        const auto fila = db.first(q(sql));
        return fila ? fila->text(q(campo)) : q("(ninguna)");
    }
    static std::array<int, 5> contados(const ResultadoImportacion& r)
    {
        const auto& c = r.contadores;
        return {c.Ficheros, c.NuevasEmpresas, c.NuevosTrabajadores, c.DiscordanciasE, c.DiscordanciasT};
    }
    std::size_t filas(const char* tabla) const { return db.select(q("SELECT * FROM ") + q(tabla)).size(); }
};

TEST_F(ImportacionTest, ANewCompanyAddsItAndItsWorkerAndTheFileMovesWithoutTheKey)
{
    recibido("AB123400045", registroDe(q("1234"), q("00045"), q("B12345678"), q("12345678Z"), q("O'BRIEN S.L."))
                                .poner({1578, 8}, q("15031970"))
                                .poner({1596, 8}, q("31022020"))
                                .bytes());

    const auto r = importar();

    EXPECT_EQ(contados(r), (std::array{1, 1, 1, 0, 0}));
    EXPECT_EQ(valor("SELECT * FROM Empresas", "NombreEmpresa"), q("O'BRIEN S.L."));
    const auto t = db.first(q("SELECT * FROM Trabajadores"));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->text(q("IdEmpresa")), valor("SELECT * FROM Empresas", "IdEmpresa"));
    EXPECT_EQ(t->value(q("NúmeroTrabajador")).toInt(), 45);
    EXPECT_EQ(platform::toDate(t->value(q("FechaNacimiento"))), QDate(1970, 3, 15));
    EXPECT_TRUE(t->isNull(q("FechaAlta")));
    EXPECT_EQ(t->text(q("EnviadoCliente")) + t->text(q("ReenviadoCliente")), q("NoNo"));
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text, q("Fecha de alta del trabajador : PEREZ GARCIA JUAN incorrecta; 31/02/2020"));
    EXPECT_EQ(msg().shown()[0].style, 0);
    // The worker keeps the padded number and name, which still meet the company's.
    EXPECT_EQ(t->text(q("NumEmpresa")), q("1234 "));
    EXPECT_EQ(db.select(q("SELECT * FROM Trabajadores t JOIN Empresas e ON t.Empresa = e.NombreEmpresa "
                          "AND t.NumEmpresa = e.NúmeroEmpresa"))
                  .size(),
              1u);
    EXPECT_TRUE(en(kContratosImp).isEmpty());
    EXPECT_EQ(en(kContratosTemp), QStringList{q("123400045")});
}

TEST_F(ImportacionTest, AKnownCompanyIsUpdatedWithItsKnownOrNewWorker)
{
    const qint64 id = empresa(q("1234"), q("B1"), q("NOMBRE VIEJO"));
    trabajador(id, q("1234"), 45, q("T45"), q("NOMBRE VIEJO"));
    recibido("AB123400045", registroDe(q("1234"), q("00045"), q("B1"), q("T45")).bytes());
    recibido("AB123400046",
             registroDe(q("1234"), q("00046"), q("B1"), q("T46"), q("ACME S.L."), q("LOPEZ ANA")).bytes());

    EXPECT_EQ(contados(importar()), (std::array{2, 0, 1, 0, 0}));

    EXPECT_EQ(valor("SELECT * FROM Empresas", "NombreEmpresa"), q("ACME S.L."));
    EXPECT_EQ(valor("SELECT * FROM Trabajadores WHERE NúmeroTrabajador = 45", "NombreTrabajador"),
              q("PEREZ GARCIA JUAN"));
    EXPECT_EQ(valor("SELECT * FROM Trabajadores WHERE NúmeroTrabajador = 45", "EnviadoCliente"), q("No"))
        << "the paper trail starts again";
    EXPECT_EQ(valor("SELECT * FROM Trabajadores WHERE NúmeroTrabajador = 46", "IdEmpresa"), QString::number(id));
    EXPECT_TRUE(msg().texts().isEmpty());
}

TEST_F(ImportacionTest, ConflictsAreRefusedLoggedAndTheFilesStillMove)
{
    // An earlier run left three longer lists in the logs.
    for (int i = 1; i <= 3; ++i) {
        platform::writeRecord(host(kDiscordanciasE), i, 35, QByteArray(35, 'V'));
        platform::writeRecord(host(kDiscordanciasT), i, 40, QByteArray(40, 'V'));
    }
    empresa(q("1111"), q("A0"));
    empresa(q("2222"), QVariant());
    const qint64 id = empresa(q("3333"), q("B3"), q("NOMBRE VIEJO"));
    trabajador(id, q("3333"), 7, q("T7"));
    trabajador(id, q("3333"), 8, QVariant());
    recibido("AB111100001", registroDe(q("1111"), q("00001"), q("B1"), q("T1")).bytes());
    recibido("AB222200002", registroDe(q("2222"), q("00002"), q(""), q("T2")).bytes());
    recibido("AB333300007", registroDe(q("3333"), q("00007"), q("B3"), q("OTRO"), q("NUEVO"), q("NUEVO TRAB")).bytes());
    recibido("AB333300008", registroDe(q("3333"), q("00008"), q("B3"), q(""), q("NUEVO")).bytes());

    EXPECT_EQ(contados(importar()), (std::array{4, 0, 0, 2, 2}));

    const QString empresaE = q("El número de empresa no coincide con el de la base de datos");
    const QString trabajadorT = q("No coincide el NIF con el dato almacenado en la base de datos.");
    EXPECT_EQ(msg().texts(), (QStringList{empresaE, empresaE, trabajadorT, trabajadorT}));
    EXPECT_EQ(valor("SELECT * FROM Empresas WHERE NúmeroEmpresa = '1111'", "NIF"), q("A0"));
    EXPECT_EQ(valor("SELECT * FROM Empresas WHERE NúmeroEmpresa = '3333'", "NombreEmpresa"), q("NUEVO"))
        << "a worker conflict keeps the company's update";
    EXPECT_EQ(valor("SELECT * FROM Trabajadores WHERE NúmeroTrabajador = 7", "NIF14"), q("T7"));
    EXPECT_EQ(filas("Trabajadores"), 2u);
    const QByteArray acme = platform::fixedField(q("ACME S.L."), 30);
    EXPECT_EQ(readFile(kDiscordanciasE), acme + "1111 " + acme + "2222 " + QByteArray(35, 'V'));
    EXPECT_EQ(readFile(kDiscordanciasT), "3333 " + platform::fixedField(q("NUEVO TRAB"), 30) + "00007" + "3333 "
                                             + platform::fixedField(q("PEREZ GARCIA JUAN"), 30) + "00008"
                                             + QByteArray(40, 'V'));
    EXPECT_EQ(en(kContratosTemp).size(), 4);
    EXPECT_EQ(QFile::permissions(host(kDiscordanciasT)) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0)
        << "the logs hold names of people";
}

TEST_F(ImportacionTest, EmptyFilesAndWorkerNumbersOfLettersDoNotStopTheRun)
{
    trabajador(empresa(q("1234"), q("B1")), q("1234"), 45, q("T45"));
    recibido("AB1234", QByteArray());
    recibido("AB1234ABCDE", registroDe(q("1234"), q("ABCDE"), q("B1"), q("T"), q("ACME"), q("SIN NUMERO")).bytes());
    recibido("AB123400045", registroDe(q("1234"), q("00045"), q("B1"), q("T45")).bytes());

    const auto r = importar();

    EXPECT_FALSE(r.interrumpida);
    EXPECT_EQ(contados(r), (std::array{3, 0, 1, 0, 0}));
    EXPECT_EQ(msg().texts(), QStringList{q("Número del trabajador : SIN NUMERO , número de trabajador : ABCDE")});
    EXPECT_EQ(valor("SELECT * FROM Trabajadores WHERE NúmeroTrabajador IS NULL", "NombreTrabajador"), q("SIN NUMERO"));
    EXPECT_EQ(en(kContratosTemp), (QStringList{q("1234"), q("123400045"), q("1234ABCDE")}));
}

TEST_F(ImportacionTest, AWorkerThatCannotBeSavedIsToldAndLeftAsItWas)
{
    db.exec(q("CREATE TRIGGER rechazo BEFORE INSERT ON Trabajadores BEGIN SELECT RAISE(ABORT, 'no'); END"));
    recibido("AB123400045", registroDe(q("1234"), q("00045"), q("B1"), q("T45")).bytes());

    EXPECT_EQ(contados(importar()), (std::array{1, 1, 1, 0, 0}));

    EXPECT_EQ(msg().texts(), QStringList{q("Error en el contrato del trabajador : 00045 de la empresa ")
                                         + q("ACME S.L.").leftJustified(30)
                                         + q(" Posible error en el campo : IdEmpresa ")});
    EXPECT_EQ(filas("Empresas"), 1u);
    EXPECT_EQ(filas("Trabajadores"), 0u);
    EXPECT_EQ(en(kContratosTemp), QStringList{q("123400045")});
}

TEST_F(ImportacionTest, AFileThatCannotMoveStopsTheMovingAndIsImportedAgainNextRun)
{
    dejar(kContratosTemp, q("111100001"), "anterior");
    recibido("AB111100001", registroDe(q("1111"), q("00001"), q("B1"), q("T1")).bytes());
    recibido("AB222200002", registroDe(q("2222"), q("00002"), q("B2"), q("T2"), q("SEGUNDA S.A.")).bytes());
    recibido("AB333300003", registroDe(q("3333"), q("00003"), q("B3"), q("T3")).bytes());
    // A folder stands where the second one goes.
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002"));

    const auto r = importar();

    EXPECT_TRUE(r.interrumpida);
    EXPECT_EQ(contados(r), (std::array{3, 3, 3, 0, 0})) << "the rows were saved before the moving";
    EXPECT_EQ(msg().texts(), QStringList{q("Error en el contrato del trabajador : 00002 de la empresa ")
                                         + q("SEGUNDA S.A.").leftJustified(30)
                                         + q(" Posible error en el campo : NIF = B2")});
    EXPECT_EQ(en(kContratosImp), (QStringList{q("AB222200002"), q("AB333300003")}));
    EXPECT_NE(readFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100001"), QByteArray("anterior"));

    QDir(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002")).removeRecursively();
    const auto siguiente = importar();
    EXPECT_FALSE(siguiente.interrumpida);
    EXPECT_EQ(contados(siguiente), (std::array{2, 0, 0, 0, 0}));
    EXPECT_TRUE(en(kContratosImp).isEmpty());
    EXPECT_EQ(filas("Trabajadores"), 3u);
}
