#include "TervaloTest.h"

#include "app/Avisos.h"
#include "data/Esquema.h"
#include "platform/Database.h"

using platform::Database;

TEST(Duracion, IsReadByTheNumbersBeforeMesesAndDias)
{
    const auto leer = [](const char* texto) {
        const auto d = LeerDuracion(QString::fromUtf8(texto));
        return d ? std::pair<int, int>{d->Meses, d->Dias} : std::pair<int, int>{-1, -1};
    };
    EXPECT_EQ(leer("6 Meses  15 Días"), (std::pair<int, int>{6, 15}));
    EXPECT_EQ(leer("12 Meses  5 Días"), (std::pair<int, int>{12, 5}));
    EXPECT_EQ(leer("6 Meses  5 Días"), (std::pair<int, int>{6, 5}));
    EXPECT_EQ(leer("15 Días"), (std::pair<int, int>{0, 15}));
    EXPECT_EQ(leer("5 Días"), (std::pair<int, int>{0, 5}));
    EXPECT_EQ(leer("6 Meses  "), (std::pair<int, int>{6, 0}));
    EXPECT_EQ(leer("12 Meses  "), (std::pair<int, int>{12, 0}));
    EXPECT_EQ(leer("120 Días"), (std::pair<int, int>{0, 120})) << "three digits";
    EXPECT_EQ(leer(""), (std::pair<int, int>{-1, -1}));
    EXPECT_EQ(leer("seis meses"), (std::pair<int, int>{-1, -1}));
}

TEST(Duracion, EndAddsMonthsClampedThenDays)
{
    EXPECT_EQ(FinProrroga(QDate(2026, 3, 1), {6, 15}), QDate(2026, 9, 16));
    EXPECT_EQ(FinProrroga(QDate(2026, 1, 31), {1, 0}), QDate(2026, 2, 28));
    EXPECT_EQ(FinProrroga(QDate(2026, 1, 31), {1, 1}), QDate(2026, 3, 1));
    EXPECT_EQ(FinProrroga(QDate(2026, 1, 30), {1, 2}), QDate(2026, 3, 2)) << "months first, then days";
}

class AvisosTest : public testing_support::TervaloTest {
protected:
    AvisosTest() : db(Database::openOrCreate(host("C:\\avisos.mdb"))) { esquema::crear(db); }

    void trabajador(const QString& nombre, const QVariant& duracion, const QVariant& inicio,
                    const QVariant& numEmpresa = QStringLiteral("00012"))
    {
        db.insert(QStringLiteral("Trabajadores"), {{QStringLiteral("NombreTrabajador"), nombre},
                                                   {QStringLiteral("NumEmpresa"), numEmpresa},
                                                   {QStringLiteral("Duracion"), duracion},
                                                   {QStringLiteral("FechaInicioProrroga"), inicio}});
    }
    QStringList nombres(int dias)
    {
        QStringList out;
        for (const auto& a : BuscarAvisos(db, dias, QDate(2026, 12, 6)))
            out << a.NombreTrabajador;
        return out;
    }

    Database db;
};

TEST_F(AvisosTest, ListsEndsStrictlyWithinTheDaysAndEveryPastEnd)
{
    // Today is 6 December 2026; with 30 days the limit is 5 January 2027.
    trabajador(QStringLiteral("Justo en el límite"), QStringLiteral("1 Meses  "), QStringLiteral("2026-12-05"));
    trabajador(QStringLiteral("Un día antes"), QStringLiteral("1 Meses  "), QStringLiteral("2026-12-04"));
    trabajador(QStringLiteral("Terminó hace un año"), QStringLiteral("6 Meses  "), QStringLiteral("2025-01-10"));
    trabajador(QStringLiteral("Lejos"), QStringLiteral("6 Meses  "), QStringLiteral("2026-12-01"));
    trabajador(QStringLiteral("Sin prórroga"), QVariant(), QVariant());
    EXPECT_EQ(nombres(30), (QStringList{QStringLiteral("Un día antes"), QStringLiteral("Terminó hace un año")}));

    const auto avisos = BuscarAvisos(db, 30, QDate(2026, 12, 6));
    EXPECT_EQ(avisos[0].FechaFin, QDate(2027, 1, 4));
    EXPECT_EQ(avisos[0].NumEmpresa, QStringLiteral("00012"));
}

TEST_F(AvisosTest, ABadRowIsSkippedAndTheRestListed)
{
    trabajador(QStringLiteral("Duración ilegible"), QStringLiteral("seis meses"), QStringLiteral("2026-12-01"));
    trabajador(QStringLiteral("Fecha ilegible"), QStringLiteral("5 Días"), QStringLiteral("ayer"));
    trabajador(QStringLiteral("Sin empresa"), QStringLiteral("5 Días"), QStringLiteral("2026-12-01"), QVariant());
    trabajador(QStringLiteral("Bien"), QStringLiteral("5 Días"), QStringLiteral("01/12/2026"));
    bool candidatos = false;
    const auto avisos = BuscarAvisos(db, 15, QDate(2026, 12, 6), &candidatos);
    EXPECT_TRUE(candidatos);
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].NombreTrabajador, QStringLiteral("Bien"));
    EXPECT_EQ(avisos[0].FechaFin, QDate(2026, 12, 6));
}
