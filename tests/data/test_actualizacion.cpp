#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/ActualizacionBD.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Database.h"

#include <QDir>

using platform::Database;

namespace {

const QString kConversion = QStringLiteral("Comunicación de conversión de contrato temporal en contrato indefinido");

// A database of the previous generation: no EMPRESACLAUSULA, no catalogue,
// fewer fields, dates kept as typed or as ISO text.
const char* const kAntigua[] = {
    R"(CREATE TABLE Empresas (IdEmpresa INTEGER PRIMARY KEY AUTOINCREMENT, "NúmeroEmpresa" TEXT,
        NombreEmpresa TEXT, NIF TEXT, Clausula1 INTEGER, Clausula2 INTEGER, Clausula3 INTEGER,
        Clausula4 INTEGER, Clausula5 INTEGER, Clausula6 INTEGER))",
    R"(CREATE TABLE Trabajadores (IdTrabajador INTEGER PRIMARY KEY AUTOINCREMENT, IdEmpresa TEXT,
        "NúmeroTrabajador" INTEGER, NombreTrabajador TEXT, NumEmpresa TEXT, FechaNacimiento TEXT, Duracion TEXT))",
    R"(CREATE TABLE Clausulas (IdClausula INTEGER PRIMARY KEY AUTOINCREMENT, Clausula TEXT))",
    R"(CREATE TABLE ContratosGrabados (IdContrato INTEGER PRIMARY KEY AUTOINCREMENT, NumContrato TEXT,
        Fecha TEXT, Trabajador TEXT, Nombre TEXT))",
    // Two companies share number 002; clause 99 does not exist; Alfa holds clause 3 twice.
    R"(INSERT INTO Empresas VALUES (10, '001', 'Alfa', 'B1', 3, 3, 99, NULL, 0, 0),
        (20, '002', 'Beta', '', 5, 0, 0, 0, 0, 0), (30, '002', 'Beta bis', NULL, 7, 0, 0, 0, 0, 0))",
    R"(INSERT INTO Clausulas VALUES (3, 'Cláusula tres'), (5, 'Cláusula cinco'), (7, 'Cláusula siete'))",
    R"(INSERT INTO Trabajadores VALUES (1, '20', 1, 'Ana', '002', '05/03/1980', '6 Meses  '),
        (2, '99', 2, 'Luis', '999', NULL, ''), (3, '10', 3, 'Eva', '001', '1975-12-01', NULL))",
    R"(INSERT INTO ContratosGrabados VALUES (4, '1', '02/01/2020', 'Ana', '00200001.doc'))",
};

// One field of every row, "-" standing for Null.
QStringList column(const Database& db, const char* sql, const char* field)
{
    QStringList out;
    for (const auto& row : db.select(QString::fromUtf8(sql)))
        out << (row.isNull(QString::fromUtf8(field)) ? QStringLiteral("-") : row.text(QString::fromUtf8(field)));
    return out;
}

} // namespace

class ActualizacionTest : public testing_support::TervaloTest {
protected:
    ActualizacionTest() { QDir().mkpath(host("C:\\Quelvan\\Dorvane")); }

    static QString working() { return host(kRutaBaseDatos); }
    static QStringList programFiles() { return QDir(host("C:\\Quelvan\\Dorvane")).entryList(QDir::Files); }

    static void createOldLayout()
    {
        Database db = Database::openOrCreate(working());
        for (const char* sql : kAntigua)
            db.exec(QString::fromUtf8(sql));
    }

    static void createFresh(const char* trigger = nullptr)
    {
        esquema::crearSiFalta(host(kRutaBaseDatosVacia));
        if (trigger)
            Database::open(host(kRutaBaseDatosVacia)).exec(QString::fromUtf8(trigger));
    }
};

TEST_F(ActualizacionTest, TheCurrentLayoutOnlyRenamesTheConversionNotices)
{
    esquema::crearSiFalta(working());
    {
        Database db = Database::open(working());
        for (const char* codigo : {"109", "289", "110", "000"})
            db.insert(QStringLiteral("Contrato"), {{QStringLiteral("Contrato"), kConversion},
                                                  {QString::fromUtf8("Código"), QString::fromLatin1(codigo)}});
        db.insert(QStringLiteral("Contrato"), {{QStringLiteral("Contrato"), QStringLiteral("Indefinido ordinario")},
                                              {QString::fromUtf8("Código"), QStringLiteral("209")}});
    }

    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Actualizada);
    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Actualizada); // a second run changes nothing

    EXPECT_EQ(column(Database::open(working()), "SELECT Contrato FROM Contrato ORDER BY IdContrato", "Contrato"),
              (QStringList{kConversion + " a T.Completo bonif.", kConversion + " a T.Parcial no bonif.", kConversion,
                           kConversion, QStringLiteral("Indefinido ordinario")}));
    EXPECT_EQ(LeerActu(), QStringLiteral("Si"));
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ActualizacionTest, AnOldLayoutIsMovedIntoAFreshDatabase)
{
    createOldLayout();
    createFresh();
    const QByteArray original = readFile(kRutaBaseDatos);

    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Migrada);

    EXPECT_EQ(readFile("C:\\basedatosantigua.mdb"), original);
    EXPECT_EQ(programFiles(), (QStringList{"Actu", "Tervalo.mdb"}));
    EXPECT_EQ(LeerActu(), QStringLiteral("Si"));
    EXPECT_EQ(msg().texts(), (QStringList{"Va a procederse a actualizar el programa", "Finalizado el traspaso"}));
    EXPECT_EQ(msg().shown()[0].style + msg().shown()[1].style, 0);
    EXPECT_EQ(fakeClock().waits, std::vector<double>{10});

    const Database db = Database::open(working());
    // New keys; empty or Null values leave the default; the companies' own clauses keep the old ids.
    const char* empresas = "SELECT * FROM Empresas ORDER BY IdEmpresa";
    EXPECT_EQ(column(db, empresas, "IdEmpresa"), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(db, empresas, "NIF"), (QStringList{"B1", "-", "-"}));
    EXPECT_EQ(column(db, empresas, "Clausula1"), (QStringList{"3", "5", "7"}));
    EXPECT_EQ(column(db, empresas, "Clausula4"), (QStringList{"0", "0", "0"}));

    // Taken in the order of their old company key; each follows the first company with its number.
    const char* trabajadores = "SELECT * FROM Trabajadores ORDER BY IdTrabajador";
    EXPECT_EQ(column(db, trabajadores, "NombreTrabajador"), (QStringList{"Eva", "Ana", "Luis"}));
    EXPECT_EQ(column(db, trabajadores, "IdEmpresa"), (QStringList{"1", "2", "-"}));
    EXPECT_EQ(column(db, trabajadores, "FechaNacimiento"), (QStringList{"1975-12-01", "1980-03-05", "-"}));
    EXPECT_EQ(column(db, trabajadores, "Duracion"), (QStringList{"-", "6 Meses  ", "-"}));

    // Links carry the new ids, each on the company it came from (not the first with its number), once per
    // clause; 99 gets none.
    EXPECT_EQ(column(db,
                     "SELECT e.IDEMPRESA || ':' || c.Clausula AS enlace FROM EMPRESACLAUSULA e "
                     "JOIN Clausulas c ON c.IdClausula = e.IDCLAUSULA ORDER BY e.IDEMPRESACLAUSULA",
                     "enlace"),
              (QStringList{"1:Cláusula tres", "2:Cláusula cinco", "3:Cláusula siete"}));

    EXPECT_EQ(column(db, "SELECT IdContrato || ' ' || Fecha || ' ' || Nombre AS c FROM ContratosGrabados", "c"),
              QStringList{"1 2020-01-02 00200001.doc"});
}

// An old file with every field of the lists, each holding a value no other
// field holds: each arrives in its own column of the new file.
TEST_F(ActualizacionTest, EveryListedFieldIsCarriedIntoItsOwnColumn)
{
    const char* const empresa[] = {"NúmeroEmpresa", "NombreEmpresa", "NIF",         "Dirección", "Localidad",
                                   "Provincia",     "CódPostal",     "NúmTeléfono", "NúmFax",    "DirCorreoElectrónico",
                                   "Observaciones", "Actividad",     "Cuenta",      "Pais"};
    const char* const trabajador[] = {"NombreTrabajador",
                                      "NIF",
                                      "NumSS",
                                      "NivelFormativo",
                                      "Nacionalidad",
                                      "Municipio",
                                      "Pais",
                                      "Observaciones",
                                      "TipoContrato",
                                      "Contrato",
                                      "Domicilio",
                                      "Localidad",
                                      "CódPostal",
                                      "Teléfono",
                                      "Categoria_Laboral",
                                      "Empresa",
                                      "EnviadoCliente",
                                      "RecibidoCliente",
                                      "EnviadoInem",
                                      "RecogidoInem",
                                      "ReenviadoCliente",
                                      "Duracion",
                                      "NIF14"};
    platform::Row viejaEmpresa;
    platform::Row viejoTrabajador;
    for (const char* campo : empresa)
        viejaEmpresa.set(u(campo), u("E ") + u(campo));
    for (int k = 1; k <= 6; ++k)
        viejaEmpresa.set(u("Clausula%1").arg(k), 30 + k);
    for (const char* campo : trabajador)
        viejoTrabajador.set(u(campo), u("T ") + u(campo));
    const std::pair<const char*, QVariant> otros[] = {{"NúmeroTrabajador", 41},
                                                      {"IdContrato", 42},
                                                      {"NumProrroga", 43},
                                                      {"NumEmpresa", u("E NúmeroEmpresa")},
                                                      {"FechaNacimiento", u("11/01/1970")},
                                                      {"FechaContrato", u("12/02/2001")},
                                                      {"FechaAlta", u("13/03/2002")},
                                                      {"FechaBaja", u("14/04/2003")},
                                                      {"FechaInicioProrroga", u("15/05/2004")},
                                                      {"FechaInicioPrimerContrato", u("16/06/2005")},
                                                      {"FechaVencimiento", u("17/07/2006")}};
    for (const auto& [campo, valor] : otros)
        viejoTrabajador.set(u(campo), valor);
    ASSERT_EQ(viejaEmpresa.fields().size(), 20u);
    ASSERT_EQ(viejoTrabajador.fields().size(), 34u);
    {
        // The fields of today's tables, without the company-clause links.
        esquema::crearSiFalta(working());
        Database db = Database::open(working());
        db.exec(u("DROP TABLE EMPRESACLAUSULA"));
        db.insert(u("Empresas"), viejaEmpresa);
        db.insert(u("Trabajadores"), viejoTrabajador);
    }
    createFresh();
    ASSERT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Migrada);

    const Database db = Database::open(working());
    const auto nueva = db.first(u("SELECT * FROM Empresas"));
    const auto nuevo = db.first(u("SELECT * FROM Trabajadores"));
    ASSERT_TRUE(nueva && nuevo);
    for (const auto& [campo, valor] : viejaEmpresa.fields())
        EXPECT_EQ(nueva->text(campo), valor.toString()) << campo.toStdString();
    // Dates typed day first are stored the current way.
    for (const auto& [campo, valor] : viejoTrabajador.fields()) {
        const QDate fecha = QDate::fromString(valor.toString(), u("dd/MM/yyyy"));
        EXPECT_EQ(nuevo->text(campo), fecha.isValid() ? fecha.toString(Qt::ISODate) : valor.toString())
            << campo.toStdString();
    }
    EXPECT_EQ(nuevo->text(u("IdEmpresa")), nueva->text(u("IdEmpresa")));
}

TEST_F(ActualizacionTest, AFailedMoveLeavesEverythingAsItWasAndIsTriedAgain)
{
    writeFile("C:\\basedatosantigua.mdb", "copia anterior");
    createOldLayout();
    const QByteArray original = readFile(kRutaBaseDatos);

    // No fresh database to move into.
    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Fallida);
    EXPECT_EQ(readFile(kRutaBaseDatos), original);
    EXPECT_EQ(programFiles(), QStringList{"Tervalo.mdb"});
    ASSERT_EQ(msg().shown().size(), 2u);
    EXPECT_EQ(msg().shown()[1].style, 16);
    EXPECT_TRUE(msg().shown()[1].text.startsWith("No se ha podido actualizar la base de datos."));
    EXPECT_TRUE(msg().shown()[1].text.contains("C:\\Tervalo.mdb"));

    // A write refused half-way, after the companies were copied.
    createFresh("CREATE TRIGGER lleno BEFORE INSERT ON Trabajadores BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    const QByteArray fresh = readFile(kRutaBaseDatosVacia);
    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Fallida);
    EXPECT_EQ(readFile(kRutaBaseDatos), original);
    EXPECT_EQ(readFile(kRutaBaseDatosVacia), fresh);
    EXPECT_EQ(programFiles(), QStringList{"Tervalo.mdb"});
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(msg().shown().back().text.contains("disco lleno"));
    EXPECT_TRUE(fakeClock().waits.empty());

    // Once the cause is gone the next start does the move; the earlier backup is kept.
    QFile::remove(host(kRutaBaseDatosVacia));
    createFresh();
    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Migrada);
    EXPECT_EQ(readFile("C:\\basedatosantigua.mdb"), QByteArray("copia anterior"));
    EXPECT_EQ(readFile("C:\\basedatosantigua1.mdb"), original);
    EXPECT_FALSE(exists("C:\\basedatosantigua2.mdb"));
    EXPECT_EQ(LeerActu(), QStringLiteral("Si"));
}

TEST_F(ActualizacionTest, AnUnreadableDatabaseIsLeftForTheNextStartSilently)
{
    createFresh();
    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Reintentar); // no working database at all

    writeFile(kRutaBaseDatos, "esto no es una base de datos, sino texto corriente de relleno");
    const QByteArray original = readFile(kRutaBaseDatos);
    EXPECT_EQ(ActualizarBaseDatos(), ResultadoActualizacion::Reintentar);

    EXPECT_EQ(readFile(kRutaBaseDatos), original);
    EXPECT_EQ(programFiles(), QStringList{"Tervalo.mdb"});
    EXPECT_FALSE(exists("C:\\basedatosantigua.mdb"));
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ActualizacionTest, AVersionOneFileKeepsOneLinkPerClauseAndGetsItsIndexesWhenOpened)
{
    {
        // The layout of version 1: the tables without their indexes, nor the
        // imported files' of version 3.
        esquema::crearSiFalta(working());
        Database db = Database::open(working());
        for (const char* indice : {"EmpresaClausulaUnica", "EmpresasPorNumero", "TrabajadoresPorNumero"})
            db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(QString::fromLatin1(indice)));
        db.exec(QStringLiteral("DROP TABLE RegistrosRecibidos"));
        db.exec(QStringLiteral("PRAGMA user_version = 1"));
        db.exec(QStringLiteral("INSERT INTO EMPRESACLAUSULA (IDEMPRESA, IDCLAUSULA) "
                               "VALUES (1, 4), (1, 4), (2, 4), (1, 5), (1, 4)"));
    }
    RutaBaseDatos();
    Database db = AbrirBaseDatos();
    EXPECT_EQ(column(db, "PRAGMA user_version", "user_version"), QStringList{"3"});
    EXPECT_TRUE(db.hasTable(QStringLiteral("RegistrosRecibidos")));
    EXPECT_EQ(column(db, "SELECT IDEMPRESACLAUSULA || ':' || IDEMPRESA || '-' || IDCLAUSULA AS e FROM EMPRESACLAUSULA "
                         "ORDER BY IDEMPRESACLAUSULA", "e"),
              (QStringList{"1:1-4", "3:2-4", "4:1-5"}));
    EXPECT_EQ(column(db, "SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name", "name"),
              (QStringList{"EmpresaClausulaUnica", "EmpresasPorNumero", "TrabajadoresPorNumero"}));
    EXPECT_THROW(db.exec(QStringLiteral("INSERT INTO EMPRESACLAUSULA (IDEMPRESA, IDCLAUSULA) VALUES (2, 4)")),
                 platform::DbError);
}
