#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "catalogue/frmManContrato.h"
#include "catalogue/frmManContratos.h"
#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "listings/frmListadoContratos.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Database.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "production/frmEleccionContrato.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using platform::Forms;
using platform::isShown;

class PanelActualizacionTest : public testing_support::TervaloTest {
protected:
    PanelActualizacionTest()
    {
        writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
        writeFile("C:\\Quelvan\\Dorvane\\configold", "");
        Forms::show<frmActualizacion>();
        menu = Forms::loaded<frmMenu>();
        AbrirBaseDatos().insert(QStringLiteral("TipoContrato"),
                                {{QStringLiteral("TipoContrato"), QStringLiteral("A")}});
        fakeClock().duringWait = [this](double) {
            if (auto* aviso = Forms::loaded<frmMensaje>())
                avisos << aviso->lblMensaje->text();
            if (duranteAviso) // the user, while the notice is up
                duranteAviso();
        };
    }

    // The first field of every row.
    static QStringList columna(const char* sql)
    {
        QStringList valores;
        for (const auto& fila : AbrirBaseDatos().select(QString::fromUtf8(sql)))
            valores << fila.fields().front().second.toString();
        return valores;
    }

    // Contract production as the saved-contracts list's "Nuevo" opens it from the main window.
    frmEleccionContrato& produccion()
    {
        Forms::get<frmMenu>().cmdContratos->click();
        auto* listado = Forms::loaded<frmListadoContratos>();
        EXPECT_NE(listado, nullptr);
        listado->cmdNuevo->click();
        return Forms::get<frmEleccionContrato>();
    }
    // The captions of the options a list shows; clicks the one reading `elegir`.
    static QStringList opciones(const std::array<platform::OptionButton*, 8>& lista, const QString& elegir = {})
    {
        QStringList captions;
        for (auto* opcion : lista) {
            if (isShown(opcion))
                captions << opcion->text();
        }
        for (auto* opcion : lista) {
            if (!elegir.isEmpty() && isShown(opcion) && opcion->text() == elegir)
                opcion->click();
        }
        return captions;
    }
    // Every row of a table, fields joined.
    static QStringList tabla(const char* nombre)
    {
        QStringList filas;
        for (const auto& fila :
             AbrirBaseDatos().select(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QString::fromUtf8(nombre)))) {
            QStringList campos;
            for (const auto& campo : fila.fields())
                campos << campo.second.toString();
            filas << campos.join(QLatin1Char('|'));
        }
        return filas;
    }

    frmMenu* menu;
    QStringList avisos;
    std::function<void()> duranteAviso;
};

TEST_F(PanelActualizacionTest, ThePanelAppliesBothFilesAndRunsThemAgain)
{
    menu->fraAvisos->show();
    menu->cmdTraspaso->click();
    ASSERT_TRUE(isShown(menu->fraActualizacion));
    EXPECT_FALSE(isShown(menu->fraAvisos));

    writeFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt", "* P21     2 410 Relevo\r\n.\r\n");
    msg().answer(platform::Answer::Yes);
    // Clicks while the notice is up go nowhere: no second run, no other
    // window in the main window's place, no closing.
    duranteAviso = [this] {
        menu->optActualizacion[0]->click();
        menu->cmdContratos->click();
        menu->cmdTablas->click();
        menu->close();
    };
    menu->optActualizacion[0]->click();
    duranteAviso = nullptr;
    EXPECT_EQ(msg().shown().size(), 2u) << "one run at a time";
    ASSERT_EQ(Forms::loaded<frmMenu>(), menu);
    EXPECT_TRUE(isShown(menu));
    EXPECT_FALSE(isShown(menu->fraMantenimientos));
    EXPECT_EQ(msg().shown()[0].style, 4);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos."));
    EXPECT_EQ(avisos, QStringList{QStringLiteral("Traspasando Modelos.")});
    EXPECT_EQ(Forms::loaded<frmMensaje>(), nullptr);

    menu->cmdEsconder->click();
    EXPECT_FALSE(isShown(menu->fraActualizacion));
    menu->cmdTraspaso->click();
    EXPECT_FALSE(menu->optActualizacion[0]->value() || menu->optActualizacion[1]->value()) << "cleared at each opening";

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTras.txt",
              "T     2 RELEVO\r\nC     8     2 " + QByteArray(100, ' ') + " P21   410 Relevo parcial\r\n.\r\n");
    const auto actualizar = [&] {
        avisos.clear();
        menu->optActualizacion[1]->click();
        EXPECT_EQ(avisos, QStringList{QStringLiteral("Actualizando Contratos.")});
        return columna("SELECT TipoContrato FROM TipoContrato ORDER BY 1")
            + columna("SELECT Contrato FROM Contrato ORDER BY 1");
    };
    const QStringList despues = actualizar();
    EXPECT_EQ(despues, (QStringList{QStringLiteral("A"), QStringLiteral("RELEVO"), QStringLiteral("Relevo"),
                                    QStringLiteral("Relevo parcial")}));
    EXPECT_EQ(msg().shown().size(), 2u) << "nothing said when all went well";

    menu->cmdTraspaso->click();
    EXPECT_EQ(actualizar(), despues);
    msg().answer(platform::Answer::Yes);
    menu->optActualizacion[0]->click();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No hay ningún archivo con nuevos modelos."));
}

TEST_F(PanelActualizacionTest, NewModelsAreMadeInContractProductionWithTheirMarks)
{
    auto db = AbrirBaseDatos();
    for (const char* codigo : {"0101", "0102"})
        db.insert(QStringLiteral("Marcas"), {{QStringLiteral("CódigoMarca"), QString::fromLatin1(codigo)},
                                            {QStringLiteral("DescripciónDato"), QStringLiteral("DATO ") + codigo},
                                            {QStringLiteral("Longitud"), 10}});
    writeFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt", "* P21     2 410 Relevo\r\nM 0102\r\nM 0101 2\r\n.\r\n");
    menu->cmdTraspaso->click();
    msg().answer(platform::Answer::Yes);
    menu->optActualizacion[0]->click();
    ASSERT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos."));

    auto& form = produccion();
    EXPECT_EQ(opciones(form.optTipoContrato, QStringLiteral("Relevo")),
              (QStringList{QStringLiteral("A"), QStringLiteral("Relevo")}));
    EXPECT_EQ(opciones(form.optContrato, QStringLiteral("410 - Relevo")), QStringList{QStringLiteral("410 - Relevo")});
    EXPECT_EQ(form.ContratoElegido, QStringLiteral("410 - Relevo"));
    EXPECT_EQ(RutaPlantilla, QStringLiteral("C:\\Quelvan\\Dorvane\\P21.rtf")) << "the model the file brought";
    const auto& g = *form.mshMarcas;
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 0) + g.TextMatrix(2, 0), QStringLiteral("01010102"));
    EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("DATO 0101"));
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral("2")) << "the repeated mark";
    EXPECT_EQ(g.TextMatrix(2, 3), QString());
}

TEST_F(PanelActualizacionTest, UpdatedContractsShowInTheCatalogueAndInContractProduction)
{
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTras.txt",
              "T     1 INDEFINIDO\r\nC     8     1 " + QByteArray("INDEFINIDO").leftJustified(100, ' ')
                  + " P21   100 Ordinario\r\n.\r\n");
    menu->cmdTraspaso->click();
    menu->optActualizacion[1]->click();
    const QStringList tipos = tabla("TipoContrato");
    const QStringList contratos = tabla("Contrato");
    EXPECT_EQ(tipos, QStringList{QStringLiteral("1|INDEFINIDO")});
    menu->cmdTraspaso->click();
    menu->optActualizacion[1]->click();
    EXPECT_EQ(tabla("TipoContrato"), tipos);
    EXPECT_EQ(tabla("Contrato"), contratos) << "a second run leaves the tables as they were";
    EXPECT_TRUE(msg().shown().empty());

    menu->cmdTablas_Click();
    menu->optManTipoContrato->setValue(true);
    auto* tiposVentana = Forms::loaded<frmManContratos>();
    ASSERT_NE(tiposVentana, nullptr);
    ASSERT_EQ(tiposVentana->dbgTipoContrato->rowCount(), 1);
    EXPECT_EQ(tiposVentana->dbgTipoContrato->item(0, 1)->text(), QStringLiteral("INDEFINIDO"));
    tiposVentana->cmdSalir->click();
    Forms::get<frmMenu>().optManContrato->setValue(true);
    auto* contratosVentana = Forms::loaded<frmManContrato>();
    ASSERT_NE(contratosVentana, nullptr);
    ASSERT_EQ(contratosVentana->dbgContrato->rowCount(), 1);
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(contratosVentana->dbgContrato->item(0, col)->text(),
                  (QStringList{"8", "Ordinario", "INDEFINIDO", "100", "P21"}).at(col));
    contratosVentana->cmdSalir->click();

    auto& form = produccion();
    EXPECT_EQ(opciones(form.optTipoContrato, QStringLiteral("INDEFINIDO")), QStringList{QStringLiteral("INDEFINIDO")});
    EXPECT_EQ(opciones(form.optContrato), QStringList{QStringLiteral("100 - Ordinario")});
}

// The panel stands where the maintenance, server-access and import results
// panels stand: whichever of them opens, it gives way instead of covering it.
TEST_F(PanelActualizacionTest, ThePanelGivesWayToThePanelsThatShareItsPlace)
{
    for (auto abrir : {&frmMenu::cmdTablas_Click, &frmMenu::cmdConfigurar_Click, &frmMenu::cmdImportar_Click}) {
        menu->cmdTraspaso->click();
        ASSERT_TRUE(isShown(menu->fraActualizacion));
        (menu->*abrir)();
        EXPECT_FALSE(isShown(menu->fraActualizacion));
    }
    EXPECT_EQ(msg().texts(), QStringList{QStringLiteral("No se ha introducido una IP de servidor.")});
}
