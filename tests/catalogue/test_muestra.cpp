#include "TervaloTest.h"

#include "catalogue/CatalogoMuestra.h"
#include "platform/Document.h"
#include "platform/Paths.h"
#include "production/RellenoContrato.h"

class MuestraTest : public testing_support::BaseDatosTest {
protected:
    const QString carpeta = u(TERVALO_MUESTRA);
};

TEST_F(MuestraTest, UnaCarpetaSinCatalogoRecibeElDeMuestraCompleto)
{
    ASSERT_TRUE(muestra::InstalarCatalogo(db, carpeta));
    EXPECT_GE(cuenta("Clausulas"), 1);

    // Every contract has its model, every mark of a model is in the mark
    // catalogue.
    for (const auto& contrato : db.select(QStringLiteral(R"(SELECT * FROM "Contrato")"))) {
        const auto modelo = db.first(QStringLiteral(R"(SELECT * FROM "Modelo" WHERE "NombreModelo" = ?)"),
                                     {contrato.value(QStringLiteral("Modelo"))});
        ASSERT_TRUE(modelo) << contrato.text(QStringLiteral("Contrato")).toStdString();
    }
    // Every template, in its four variants, carries every bookmark its
    // model's marks, the contract's texts and the copia básica write.
    QStringList fijos{"Clausula1", "Nombre", "Dato1", "Dato2", "Dato3", "Dato4", "BPIE1", "BPIE2", "BPIE11",
                      "BPIE22", "Basica"};
    for (const char* codigo : {"0115", "0116", "0111", "0136", "0380", "0105", "0106", "0462"})
        fijos << QStringLiteral("B") + QLatin1String(codigo);
    for (const auto& modelo : db.select(QStringLiteral(R"(SELECT * FROM "Modelo")"))) {
        QStringList marcadores = fijos;
        for (const auto& marca : db.select(QStringLiteral(R"(SELECT * FROM "MarcasCont" WHERE "IdModelo" = ?)"),
                                           {modelo.text(QStringLiteral("IdModelo"))}))
            marcadores << produccion::MarcadoresDeMarca(marca.text(QStringLiteral("CódigoMarca")),
                                                        marca.text(QStringLiteral("Veces")));
        for (const char* variante : {"", "P", "C", "PC"}) {
            const QString plantilla = QLatin1String(variante) + modelo.text(QStringLiteral("Ubicación"));
            const auto documento = platform::Document::open(platform::programFolder() + QLatin1Char('/') + plantilla);
            for (const QString& marcador : marcadores)
                EXPECT_TRUE(documento.hasBookmark(marcador))
                    << plantilla.toStdString() << " " << marcador.toStdString();
        }
    }
    EXPECT_TRUE(db.select(QStringLiteral(R"(SELECT * FROM "MarcasCont" WHERE "CódigoMarca" NOT IN
                                            (SELECT "CódigoMarca" FROM "Marcas"))"))
                    .empty());
    EXPECT_TRUE(db.first(QStringLiteral(R"(SELECT 1 FROM "TipoContrato" WHERE "TipoContrato" = 'PRORROGA')")));
    EXPECT_TRUE(db.first(QStringLiteral(R"(SELECT 1 FROM "Contrato" WHERE "Código" <> '000')")));

    // Once there, it is not added again.
    const int contratos = cuenta("Contrato");
    EXPECT_FALSE(muestra::InstalarCatalogo(db, carpeta));
    EXPECT_EQ(cuenta("Contrato"), contratos);
}

TEST_F(MuestraTest, UnCatalogoPropioSeRespeta)
{
    db.insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), QStringLiteral("PROPIO")}});
    writeFile("C:\\Quelvan\\Dorvane\\Ordinario.rtf", "plantilla de la oficina");
    EXPECT_FALSE(muestra::InstalarCatalogo(db, carpeta));
    EXPECT_EQ(cuenta("TipoContrato"), 1);
    EXPECT_EQ(cuenta("Contrato"), 0);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Ordinario.rtf"), QByteArray("plantilla de la oficina"));
}
