#include "TervaloTest.h"

#include "data/Esquema.h"
#include "platform/Database.h"

using namespace platform;

class DatabaseTest : public testing_support::TervaloTest {
protected:
    DatabaseTest() : db(Database::openOrCreate(host("C:\\prueba.mdb"))) { esquema::crear(db); }
    Database db;
};

TEST_F(DatabaseTest, TextComparesWithoutRegardToCaseAccentedLettersIncluded)
{
    db.insert(QStringLiteral("Empresas"), {{QStringLiteral("NombreEmpresa"), QStringLiteral("ÁLAVA S.L.")},
                                           {QStringLiteral("Provincia"), QStringLiteral("ÁLAVA")}});
    db.insert(QStringLiteral("Empresas"), {{QStringLiteral("NombreEmpresa"), QStringLiteral("alava norte")},
                                           {QStringLiteral("Provincia"), QStringLiteral("Alava")}});

    const auto exact = db.select(QStringLiteral("SELECT * FROM Empresas WHERE Provincia = ?"), {QStringLiteral("álava")});
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].text(QStringLiteral("NombreEmpresa")), QStringLiteral("ÁLAVA S.L."));

    const auto like = db.select(QStringLiteral("SELECT * FROM Empresas WHERE NombreEmpresa LIKE ?"),
                                {QStringLiteral("álava%")});
    EXPECT_EQ(like.size(), 1u);

    const auto sorted = db.select(QStringLiteral("SELECT Provincia FROM Empresas ORDER BY Provincia"));
    ASSERT_EQ(sorted.size(), 2u);
    EXPECT_EQ(sorted[0].text(QStringLiteral("provincia")), QStringLiteral("Alava")) << "a sorts before á";
}

TEST_F(DatabaseTest, NullStaysApartFromEmptyTextAndValuesAreBound)
{
    const qint64 a = db.insert(QStringLiteral("Clausulas"), {{QStringLiteral("Clausula"), QString(QLatin1String(""))}});
    const qint64 b = db.insert(QStringLiteral("Clausulas"), {{QStringLiteral("Clausula"), QVariant()}});
    const qint64 c = db.insert(QStringLiteral("Clausulas"), {{QStringLiteral("Clausula"), QStringLiteral("O'Brien'); DROP TABLE Clausulas;--")}});

    auto row = db.first(QStringLiteral("SELECT * FROM Clausulas WHERE IdClausula = ?"), {a});
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->isNull(QStringLiteral("Clausula")));
    row = db.first(QStringLiteral("SELECT * FROM Clausulas WHERE IdClausula = ?"), {b});
    EXPECT_TRUE(row->isNull(QStringLiteral("Clausula")));
    EXPECT_EQ(row->text(QStringLiteral("Clausula")), QString());
    row = db.first(QStringLiteral("SELECT * FROM Clausulas WHERE Clausula = ?"), {QStringLiteral("o'brien'); drop table clausulas;--")});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value(QStringLiteral("IdClausula")).toLongLong(), c);

    db.update(QStringLiteral("Clausulas"), QStringLiteral("IdClausula"), b, {{QStringLiteral("Clausula"), QStringLiteral("x")}});
    EXPECT_EQ(db.first(QStringLiteral("SELECT Clausula FROM Clausulas WHERE IdClausula = ?"), {b})->text(QStringLiteral("Clausula")),
              QStringLiteral("x"));
}

TEST_F(DatabaseTest, CountersAreNeverReused)
{
    const qint64 first = db.insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), QStringLiteral("A")}});
    const qint64 second = db.insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), QStringLiteral("B")}});
    db.remove(QStringLiteral("TipoContrato"), QStringLiteral("IdTipoContrato"), second);
    const qint64 third = db.insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), QStringLiteral("C")}});
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(third, second + 1);
}

TEST_F(DatabaseTest, MissingTableReadsAsJetError3078)
{
    try {
        db.select(QStringLiteral("SELECT * FROM NoExiste"));
        FAIL() << "no error";
    } catch (const DbError& error) {
        EXPECT_EQ(error.code(), kErrTableNotFound);
    }
    try {
        db.select(QStringLiteral("SELECT NoExiste FROM Empresas"));
        FAIL() << "no error";
    } catch (const DbError& error) {
        EXPECT_EQ(error.code(), 0);
    }
    EXPECT_THROW(Database::open(host("C:\\falta.mdb")), DbError);
}

TEST_F(DatabaseTest, AFileThatFailsItselfIsToldApartFromAStatementThatFails)
{
    const auto codigo = [](auto&& accion) {
        try {
            accion();
        } catch (const DbError& error) {
            EXPECT_EQ(error.inTheFile(), error.code() != 0) << error.what();
            return error.code();
        }
        return -1;
    };
    EXPECT_EQ(codigo([&] { db.checkIntegrity(); }), -1);
    EXPECT_EQ(codigo([&] { db.exec(QStringLiteral("INSERT INTO Clausulas (IdClausula) VALUES (1), (1)")); }), 0);

    // No room left for the file to grow.
    const int paginas = db.first(QStringLiteral("PRAGMA page_count"))->fields().front().second.toInt();
    db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(paginas));
    const QString larga(1000, QLatin1Char('x'));
    EXPECT_EQ(codigo([&] {
                  for (int i = 0; i < 100; ++i)
                      db.insert(QStringLiteral("Clausulas"), {{QStringLiteral("Clausula"), larga}});
              }),
              kErrDiskFull);

    // A folder that is a plain file.
    writeFile("C:\\carpeta", "x");
    const auto bajoArchivo = [&] {
        Database::openOrCreate(host("C:\\carpeta\\nueva.mdb")).exec(QStringLiteral("CREATE TABLE t (a)"));
    };
    EXPECT_EQ(codigo(bajoArchivo), kErrCannotWrite);

    writeFile("C:\\texto.mdb", QByteArray(4096, 'x'));
    EXPECT_EQ(codigo([&] { Database::open(host("C:\\texto.mdb")).checkIntegrity(); }), kErrDamaged);
    EXPECT_EQ(readFile("C:\\texto.mdb"), QByteArray(4096, 'x'));
}

TEST_F(DatabaseTest, DatesAreStoredIsoAndShownDayFirst)
{
    EXPECT_EQ(dateValue(QDate(2026, 3, 1)).toString(), QStringLiteral("2026-03-01"));
    EXPECT_TRUE(dateValue(QDate()).isNull());
    EXPECT_EQ(toDate(QStringLiteral("2026-03-01")), QDate(2026, 3, 1));
    EXPECT_EQ(toDate(QStringLiteral("01/03/2026")), QDate(2026, 3, 1));
    EXPECT_EQ(toDate(QStringLiteral("1/3/2026")), QDate(2026, 3, 1));
    EXPECT_EQ(toDate(QStringLiteral("2026-03-01T00:00:00")), QDate(2026, 3, 1));
    EXPECT_FALSE(toDate(QStringLiteral("__/__/____")).isValid());
    EXPECT_FALSE(toDate(QStringLiteral("31/02/2026")).isValid());
    EXPECT_FALSE(toDate(QStringLiteral("2026-13-01")).isValid());
    EXPECT_EQ(formatDate(QDate(2026, 3, 1)), QStringLiteral("01/03/2026"));
    EXPECT_EQ(formatDate(QDate(987, 12, 31)), QStringLiteral("31/12/0987"));
}

TEST_F(DatabaseTest, AStatementPreparedOnceRunsWithNewValuesEachTime)
{
    Statement insertar(db, QStringLiteral("INSERT INTO Trabajadores (NombreTrabajador, NúmeroTrabajador, Duracion) VALUES (?, ?, ?)"));
    insertar.exec({QStringLiteral("Ana"), 7, QVariant()});
    const qint64 ana = insertar.lastInsertId();
    insertar.exec({QStringLiteral("O'Brien"), 8.0, QString(QLatin1String(""))});
    EXPECT_EQ(insertar.lastInsertId(), ana + 1);

    Statement leer(db, QStringLiteral("SELECT NombreTrabajador, NúmeroTrabajador, Duracion FROM Trabajadores "
                                      "WHERE IdTrabajador >= ? ORDER BY IdTrabajador"));
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        leer.exec({ana});
        ASSERT_TRUE(leer.next());
        EXPECT_EQ(leer.value(0), QVariant(QStringLiteral("Ana")));
        EXPECT_EQ(leer.value(1).toLongLong(), 7);
        EXPECT_TRUE(leer.value(2).isNull());
        ASSERT_TRUE(leer.next());
        EXPECT_EQ(leer.value(0).toString(), QStringLiteral("O'Brien"));
        EXPECT_FALSE(leer.value(2).isNull()) << "empty text is no Null";
        EXPECT_FALSE(leer.next());
    }
    leer.exec({ana + 5});
    EXPECT_FALSE(leer.next());

    try {
        Statement(db, QStringLiteral("SELECT * FROM NoExiste"));
        FAIL() << "a missing table is an error";
    } catch (const DbError& error) {
        EXPECT_EQ(error.code(), kErrTableNotFound);
    }
}

TEST_F(DatabaseTest, TrailingBlanksDoNotCountInComparisons)
{
    db.insert(QStringLiteral("Empresas"), {{QStringLiteral("NúmeroEmpresa"), QStringLiteral("1234")},
                                           {QStringLiteral("NombreEmpresa"), QStringLiteral("ACME")}});
    db.insert(QStringLiteral("Trabajadores"), {{QStringLiteral("NumEmpresa"), QStringLiteral("1234 ")},
                                               {QStringLiteral("Empresa"), QStringLiteral("acme      ")}});

    EXPECT_TRUE(db.first(QStringLiteral("SELECT * FROM Empresas WHERE NúmeroEmpresa = ?"), {QStringLiteral("1234 ")}));
    EXPECT_FALSE(db.first(QStringLiteral("SELECT * FROM Empresas WHERE NúmeroEmpresa = ?"), {QStringLiteral(" 1234")}));
    EXPECT_EQ(db.select(QStringLiteral("SELECT * FROM Trabajadores t JOIN Empresas e ON t.Empresa = e.NombreEmpresa "
                                       "AND t.NumEmpresa = e.NúmeroEmpresa"))
                  .size(),
              1u);
    EXPECT_EQ(compareText(QStringLiteral("ACME  "), QStringLiteral("acme")), 0);
    EXPECT_LT(compareText(QStringLiteral("ACME"), QStringLiteral("ACME S.L.")), 0);
}
