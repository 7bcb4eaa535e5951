#include "Registros.h"

#include "platform/Files.h"

#include <QDir>

#include <array>

using namespace exchange;

class ImportacionTest : public ExchangeTest {
protected:
    void recibido(const char* nombre, const QByteArray& contenido) { dejar(kContratosImp, u(nombre), contenido); }
    static std::array<int, 5> contados(const ResultadoImportacion& r)
    {
        const auto& c = r.contadores;
        return {c.Ficheros, c.NuevasEmpresas, c.NuevosTrabajadores, c.DiscordanciasE, c.DiscordanciasT};
    }
};

TEST_F(ImportacionTest, ANewCompanyAddsItAndItsWorkerAndTheFileMovesWithoutTheKey)
{
    recibido("AB123400045", registroDe(u("1234"), u("00045"), u("B12345678"), u("12345678Z"), u("O'BRIEN S.L."))
                                .poner({1578, 8}, u("30021970"))
                                .poner({1596, 8}, u("31022020"))
                                .poner({1605, 8}, u("28022021"))
                                .bytes());

    EXPECT_EQ(contados(importar()), (std::array{1, 1, 1, 0, 0}));

    EXPECT_EQ(columna("SELECT IdEmpresa || NombreEmpresa FROM Empresas"), QStringList{"1O'BRIEN S.L."});
    // The worker keeps the padded number and name, which still meet the company's.
    EXPECT_EQ(columna(R"(SELECT t.IdEmpresa || '|' || t."NúmeroTrabajador" || '|' || IFNULL(t.FechaNacimiento, '-') ||
                             '|' || IFNULL(t.FechaAlta, '-') || '|' || t.FechaBaja || '|' || t.EnviadoCliente ||
                             t.ReenviadoCliente || '|' ||
                             t.NumEmpresa || '|' FROM Trabajadores t JOIN Empresas e
                             ON t.Empresa = e.NombreEmpresa AND t.NumEmpresa = e."NúmeroEmpresa")"),
              QStringList{"1|45|-|-|2021-02-28|NoNo|1234 |"});
    ASSERT_EQ(msg().shown().size(), 2u);
    EXPECT_EQ(msg().shown()[0].text,
              u("Fecha de nacimiento del trabajador : PEREZ GARCIA JUAN incorrecta; 30/02/1970"));
    EXPECT_EQ(msg().shown()[0].style, 16);
    EXPECT_EQ(msg().shown()[1].text, u("Fecha de alta del trabajador : PEREZ GARCIA JUAN incorrecta; 31/02/2020"));
    EXPECT_EQ(msg().shown()[1].style, 0);
    EXPECT_TRUE(en(kContratosImp).isEmpty());
    EXPECT_EQ(en(kContratosTemp), QStringList{"123400045"});
}

// A date of the record is eight digits ddmmyyyy: anything else is told with
// the field's message and leaves the stored date as it was.
TEST_F(ImportacionTest, DatesThatAreNotEightDigitsOfADayAreToldAndLeaveTheColumn)
{
    trabajador(empresa(u("1234"), u("B1")), u("1234"), 45, u("T45"));
    db.exec(u("UPDATE Trabajadores SET FechaNacimiento = '1970-03-15', FechaAlta = '1999-02-01', FechaBaja = "
              "'2001-02-28'"));
    // Short years, a blank inside, a letter, signs, no day, days the calendar lacks.
    const char* const fechas[] = {"010180  ", "0101198 ", "01 01980", "0I011980", "01-01-80",
                                  "  011980", "31021980", "01131980", "00001980"};
    const char* const textos[] = {"01/01/80",  "01/01/198", "01/0/1980",  "0I/01/1980", "01/-0/1-80",
                                  "/01/1980", "31/02/1980", "01/13/1980", "00/00/1980"};
    for (int i = 0; i < 9; i += 3) {
        recibido("AB123400045", registroDe(u("1234"), u("00045"), u("B1"), u("T45"))
                                    .poner({1578, 8}, u(fechas[i]))
                                    .poner({1596, 8}, u(fechas[i + 1]))
                                    .poner({1605, 8}, u(fechas[i + 2]))
                                    .bytes());
        importar();
    }
    EXPECT_EQ(columna("SELECT FechaNacimiento || FechaAlta || FechaBaja FROM Trabajadores"),
              QStringList{"1970-03-151999-02-012001-02-28"});
    const char* const campos[] = {"nacimiento", "alta", "baja"};
    ASSERT_EQ(msg().shown().size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(msg().shown()[i].text, u("Fecha de %1 del trabajador : PEREZ GARCIA JUAN incorrecta; %2")
                                             .arg(u(campos[i % 3]), u(textos[i])));
        EXPECT_EQ(msg().shown()[i].style, i % 3 == 0 ? 16 : 0);
    }
}

TEST_F(ImportacionTest, AKnownCompanyIsUpdatedWithItsKnownOrNewWorker)
{
    const qint64 id = empresa(u("1234"), u("B1"), u("NOMBRE VIEJO"));
    trabajador(id, u("1234"), 45, u("T45"), u("NOMBRE VIEJO"));
    recibido("AB123400045", registroDe(u("1234"), u("00045"), u("B1"), u("T45")).bytes());
    recibido("AB123400046",
             registroDe(u("1234"), u("00046"), u("B1"), u("T46"), u("ACME S.L."), u("LOPEZ ANA")).bytes());

    EXPECT_EQ(contados(importar()), (std::array{2, 0, 1, 0, 0}));

    EXPECT_EQ(columna("SELECT NombreEmpresa FROM Empresas"), QStringList{"ACME S.L."});
    // The paper trail of the known worker starts again.
    EXPECT_EQ(columna(R"(SELECT "NúmeroTrabajador" || IdEmpresa || NombreTrabajador || EnviadoCliente
                         FROM Trabajadores ORDER BY 1)"),
              (QStringList{u("45%1PEREZ GARCIA JUANNo").arg(id), u("46%1LOPEZ ANANo").arg(id)}));
    EXPECT_TRUE(msg().texts().isEmpty());
}

TEST_F(ImportacionTest, ConflictsAreRefusedLoggedAndTheFilesStillMove)
{
    // An earlier run left three longer lists in the logs.
    for (int i = 1; i <= 3; ++i) {
        platform::writeRecord(host(kDiscordanciasE), i, 35, QByteArray(35, 'V'));
        platform::writeRecord(host(kDiscordanciasT), i, 40, QByteArray(40, 'V'));
    }
    empresa(u("1111"), u("A0"));
    empresa(u("2222"), QVariant());
    const qint64 id = empresa(u("3333"), u("B3"), u("NOMBRE VIEJO"));
    trabajador(id, u("3333"), 7, u("T7"));
    trabajador(id, u("3333"), 8, QVariant());
    recibido("AB111100001", registroDe(u("1111"), u("00001"), u("B1"), u("T1")).bytes());
    recibido("AB222200002", registroDe(u("2222"), u("00002"), u(""), u("T2")).bytes());
    recibido("AB333300007", registroDe(u("3333"), u("00007"), u("B3"), u("OTRO"), u("NUEVO"), u("NUEVO TRAB")).bytes());
    recibido("AB333300008", registroDe(u("3333"), u("00008"), u("B3"), u(""), u("NUEVO")).bytes());

    EXPECT_EQ(contados(importar()), (std::array{4, 0, 0, 2, 2}));

    const QString empresaE = u("El número de empresa no coincide con el de la base de datos");
    const QString trabajadorT = u("No coincide el NIF con el dato almacenado en la base de datos.");
    EXPECT_EQ(msg().texts(), (QStringList{empresaE, empresaE, trabajadorT, trabajadorT}));
    // A worker conflict keeps the company's update.
    EXPECT_EQ(columna(R"(SELECT "NúmeroEmpresa" || IFNULL(NIF, '-') || NombreEmpresa FROM Empresas ORDER BY 1)"),
              (QStringList{"1111A0ACME S.L.", "2222-ACME S.L.", "3333B3NUEVO"}));
    EXPECT_EQ(columna("SELECT IFNULL(NIF14, '-') FROM Trabajadores ORDER BY 1"), (QStringList{"-", "T7"}));
    const QByteArray acme = platform::fixedField(u("ACME S.L."), 30);
    EXPECT_EQ(readFile(kDiscordanciasE), acme + "1111 " + acme + "2222 " + QByteArray(35, 'V'));
    EXPECT_EQ(readFile(kDiscordanciasT), "3333 " + platform::fixedField(u("NUEVO TRAB"), 30) + "00007" + "3333 "
                                             + platform::fixedField(u("PEREZ GARCIA JUAN"), 30) + "00008"
                                             + QByteArray(40, 'V'));
    EXPECT_EQ(en(kContratosTemp).size(), 4);
    EXPECT_EQ(QFile::permissions(host(kDiscordanciasT)) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0)
        << "the logs hold names of people";
}

TEST_F(ImportacionTest, EmptyFilesAndWorkerNumbersOfLettersDoNotStopTheRun)
{
    trabajador(empresa(u("1234"), u("B1")), u("1234"), 45, u("T45"));
    recibido("AB1234", QByteArray());
    recibido("AB1234ABCDE", registroDe(u("1234"), u("ABCDE"), u("B1"), u("T"), u("ACME"), u("SIN NUMERO")).bytes());
    recibido("AB123400045", registroDe(u("1234"), u("00045"), u("B1"), u("T45")).bytes());
    recibido("AB5678ABCDE", registroDe(u("5678"), u("ABCDE"), u("B5"), u("T"), u("NUEVA"), u("SIN NUMERO")).bytes());

    const auto r = importar();

    EXPECT_FALSE(r.interrumpida);
    EXPECT_EQ(contados(r), (std::array{4, 1, 1, 0, 0}));
    // A stored company's worker without a number is not written; a new
    // company's is, without its number.
    EXPECT_EQ(msg().texts(), (QStringList{u("Error en el contrato del trabajador : ABCDE de la empresa ACME")
                                              + QString(26, u' ')
                                              + u(" Posible error en el campo : Número Trabajador = ABCDE"),
                                          u("Número del trabajador : SIN NUMERO , número de trabajador : ABCDE")}));
    EXPECT_EQ(columna(R"(SELECT NumEmpresa FROM Trabajadores WHERE "NúmeroTrabajador" IS NULL)"),
              QStringList{"5678 "});
    EXPECT_EQ(en(kContratosTemp), (QStringList{"1234", "123400045", "1234ABCDE", "5678ABCDE"}));
    EXPECT_TRUE(en(kContratosImp).isEmpty());
}

TEST_F(ImportacionTest, AWorkerThatCannotBeSavedIsToldAndLeftAsItWas)
{
    db.exec(u("CREATE TRIGGER rechazo BEFORE INSERT ON Trabajadores BEGIN SELECT RAISE(ABORT, 'no'); END"));
    recibido("AB123400045", registroDe(u("1234"), u("00045"), u("B1"), u("T45")).bytes());

    EXPECT_EQ(contados(importar()), (std::array{1, 1, 1, 0, 0}));

    EXPECT_EQ(msg().texts(), QStringList{u("Error en el contrato del trabajador : 00045 de la empresa ")
                                         + u("ACME S.L.").leftJustified(30)
                                         + u(" Posible error en el campo : IdEmpresa ")});
    EXPECT_EQ(cuenta("Empresas") * 10 + cuenta("Trabajadores"), 10);
    EXPECT_EQ(en(kContratosTemp), QStringList{"123400045"});
}

TEST_F(ImportacionTest, AFileThatFailsIsImportedOnceNextRunAndTheOthersGoOn)
{
    dejar(kContratosTemp, u("111100001"), "anterior");
    dejar(kContratosTemp, u("222200002"), "anterior");
    recibido("AB111100001", registroDe(u("1111"), u("00001"), u("B1"), u("T1")).bytes());
    recibido("AB222200002", registroDe(u("2222"), u("00002"), u("B2"), u("T2"), u("SEGUNDA S.A.")).bytes());
    recibido("AB333300003", registroDe(u("3333"), u("00003"), u("B3"), u("T3")).bytes());
    recibido("AB.oculto", registroDe(u("4444"), u("00004"), u("B4"), u("T4")).bytes());
    // A record within the mark catalogue's layout, longer than the fixed
    // fields, with a control character where only the separator stands and a
    // line end after it.
    insertar("Marcas", {{"CódigoMarca", u("0001")}, {"Longitud", 2999}});
    QByteArray largo = registroDe(u("5555"), u("00005"), u("B5"), u("T5")).bytes().leftJustified(5000, ' ');
    largo[2999] = '\t';
    recibido("AB555500005", largo + "\r\n");
    // The database refuses the second company: nothing of it is saved, its
    // file stays, and the older record of its worker too.
    db.exec(u("CREATE TRIGGER rechazo BEFORE INSERT ON Empresas WHEN NEW.NIF = 'B2' "
              "BEGIN SELECT RAISE(ABORT, 'no'); END"));

    const auto r = importar();

    EXPECT_FALSE(r.interrumpida);
    EXPECT_EQ(contados(r), (std::array{3, 3, 3, 0, 0}));
    EXPECT_EQ(msg().texts(), (QStringList{u("El fichero AB.oculto no se ha importado: su nombre no es el de un "
                                            "contrato. Queda en la carpeta C:\\Quelvan\\Dorvane\\ContratosImp."),
                                          u("Error en el contrato del trabajador : 00002 de la empresa ")
                                              + u("SEGUNDA S.A.").leftJustified(30)
                                              + u(" Posible error en el campo : NIF = B2")}));
    EXPECT_EQ(en(kContratosImp), (QStringList{"AB.oculto", "AB222200002"}));
    EXPECT_EQ(en(kContratosTemp), (QStringList{"111100001", "222200002", "333300003", "555500005"}));
    EXPECT_NE(readFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100001"), QByteArray("anterior"));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002"), QByteArray("anterior"));

    // Its rows cannot be committed once it is filed: the file goes back, and
    // the older record it replaced back in its place.
    db.exec(u("DROP TRIGGER rechazo"));
    db.exec(u("CREATE TABLE padre (id INTEGER PRIMARY KEY)"));
    db.exec(u("CREATE TABLE hijo (p REFERENCES padre (id) DEFERRABLE INITIALLY DEFERRED)"));
    db.exec(u("CREATE TRIGGER huerfano AFTER INSERT ON Empresas BEGIN INSERT INTO hijo VALUES (1); END"));
    db.exec(u("PRAGMA foreign_keys = ON"));
    EXPECT_EQ(contados(importar()), (std::array{0, 0, 0, 0, 0}));
    EXPECT_EQ(en(kContratosImp), (QStringList{"AB.oculto", "AB222200002"}));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002"), QByteArray("anterior"));
    EXPECT_EQ(cuenta("Empresas"), 3);

    db.exec(u("DROP TRIGGER huerfano"));
    const auto siguiente = importar();
    EXPECT_EQ(contados(siguiente), (std::array{1, 1, 1, 0, 0}));
    EXPECT_EQ(en(kContratosImp), QStringList{"AB.oculto"});
    EXPECT_NE(readFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\222200002"), QByteArray("anterior"));
    EXPECT_EQ(cuenta("Trabajadores"), 4);
}

// Another program holds the database: nothing is imported, every file stays
// for the next run, and the user is told so in Spanish.
TEST_F(ImportacionTest, ADatabaseHeldByAnotherProgramStopsTheRunAndKeepsTheFiles)
{
    recibido("AB111100001", registroDe(u("1111"), u("00001"), u("B1"), u("T1")).bytes());
    recibido("AB222200002", registroDe(u("2222"), u("00002"), u("B2"), u("T2")).bytes());
    db.exec(u("PRAGMA busy_timeout = 0"));
    auto otro = platform::Database::open(db.fileName());
    otro.exec(u("BEGIN EXCLUSIVE"));

    const auto r = importar();

    EXPECT_TRUE(r.interrumpida);
    EXPECT_EQ(msg().texts(), QStringList{u("Otro programa está usando la base de datos: no se ha podido importar. "
                                           "Los contratos que faltan por importar quedan para la próxima "
                                           "importación.")});
    EXPECT_EQ(en(kContratosImp).size(), 2);
    otro.exec(u("ROLLBACK"));
    EXPECT_EQ(contados(importar()), (std::array{2, 2, 2, 0, 0}));
}
