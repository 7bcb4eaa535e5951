#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "catalogue/frmManContrato.h"
#include "catalogue/frmManContratos.h"
#include "catalogue/frmModelos.h"
#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "listings/frmListadoContratos.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "production/frmEleccionContrato.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using platform::Forms;
using platform::isShown;
using testing_support::textos;

class PanelActualizacionTest : public testing_support::TervaloTest {
protected:
    PanelActualizacionTest()
    {
        instalado();
        Forms::show<frmActualizacion>();
        menu = Forms::loaded<frmMenu>();
    }
    frmMenu* menu;
};

// The captions of the options a list shows; clicks the one reading `elegir`.
static QStringList opciones(const std::array<platform::OptionButton*, 8>& lista, const QString& elegir = {})
{
    QStringList captions;
    platform::OptionButton* elegida = nullptr;
    for (auto* opcion : lista) {
        if (isShown(opcion)) {
            captions << opcion->text();
            if (opcion->text() == elegir)
                elegida = opcion;
        }
    }
    if (elegida)
        elegida->click();
    return captions;
}

TEST_F(PanelActualizacionTest, BothFilesRunFromThePanelAndTheirCatalogueShowsInEveryWindow)
{
    auto db = AbrirBaseDatos();
    db.insert(u("TipoContrato"), {{"TipoContrato", "A"}});
    for (const char* codigo : {"0101", "0102"})
        db.insert(u("Marcas"),
                  {{"CódigoMarca", u(codigo)}, {"DescripciónDato", u("DATO ") + codigo}, {"Longitud", 10}});
    menu->fraAvisos->show();
    menu->cmdTraspaso->click();
    ASSERT_TRUE(isShown(menu->fraActualizacion));
    EXPECT_TRUE(isShown(menu->shaActualizacion)) << "on its backing, as the other panels";
    EXPECT_TRUE(menu->shaActualizacion->geometry().contains(menu->fraActualizacion->geometry()));
    EXPECT_FALSE(isShown(menu->fraAvisos));

    const QByteArray fichero = "* P21     2 410 Relevo\r\nM 0102\r\nM 0101 2\r\n.\r\n";
    writeFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt", fichero);
    // No to the question: nothing is read.
    msg().answer(platform::Answer::No);
    menu->optActualizacion[0]->click();
    EXPECT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt"), fichero);
    EXPECT_EQ(db.select(u("SELECT * FROM Modelo")).size(), 0u);

    QStringList avisos;
    std::function<void()> duranteAviso = [this] {
        // Clicks while the notice is up go nowhere: no second run, no
        // other window in the main window's place, no closing.
        menu->optActualizacion[0]->click();
        menu->cmdContratos->click();
        menu->cmdTablas->click();
        menu->close();
    };
    fakeClock().duringWait = [&](double) {
        if (auto* aviso = Forms::loaded<frmMensaje>())
            avisos << aviso->lblMensaje->text();
        if (duranteAviso)
            duranteAviso();
    };
    msg().answer(platform::Answer::Yes);
    menu->optActualizacion[0]->click();
    duranteAviso = nullptr;
    EXPECT_EQ(msg().shown().size(), 3u) << "one run at a time";
    ASSERT_EQ(Forms::loaded<frmMenu>(), menu);
    EXPECT_TRUE(isShown(menu) && !isShown(menu->fraMantenimientos));
    EXPECT_EQ(msg().shown()[0].style, 4);
    EXPECT_EQ(msg().texts().last(), u("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos."));
    EXPECT_EQ(avisos, QStringList{"Traspasando Modelos."});
    EXPECT_EQ(Forms::loaded<frmMensaje>(), nullptr);

    menu->cmdEsconder->click();
    EXPECT_FALSE(isShown(menu->fraActualizacion));
    EXPECT_FALSE(isShown(menu->shaActualizacion));
    menu->cmdTraspaso->click();
    EXPECT_FALSE(menu->optActualizacion[0]->value() || menu->optActualizacion[1]->value()) << "cleared at each opening";

    // The contract file renames the new type and adds a contract; run again, it changes nothing.
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTras.txt",
              "T     2 RELEVO\r\nC     8     2 " + QByteArray("RELEVO").leftJustified(100)
                  + " P21   410 Relevo parcial\r\n.\r\n");
    const auto actualizar = [&] {
        avisos.clear();
        menu->optActualizacion[1]->click();
        EXPECT_EQ(avisos, QStringList{"Actualizando Contratos."});
        QStringList filas;
        for (const auto& fila : db.select(u(R"(SELECT t.TipoContrato || '|' || c.IdContrato || '|' || c.Contrato
                                                 FROM Contrato c JOIN TipoContrato t USING (IdTipoContrato)
                                                 ORDER BY c.IdContrato)")))
            filas << fila.fields().front().second.toString();
        menu->cmdTraspaso->click();
        return filas;
    };
    const QStringList despues = actualizar();
    EXPECT_EQ(despues, (QStringList{"RELEVO|1|Relevo", "RELEVO|8|Relevo parcial"}));
    EXPECT_EQ(actualizar(), despues);
    EXPECT_EQ(msg().shown().size(), 3u) << "nothing said when all went well";
    msg().answer(platform::Answer::Yes);
    menu->optActualizacion[0]->click();
    EXPECT_EQ(msg().texts().last(), u("No hay ningún archivo con nuevos modelos."));

    // The catalogue windows.
    menu->cmdTablas_Click();
    menu->optManTipoContrato->setValue(true);
    auto* tipos = Forms::loaded<frmManContratos>();
    ASSERT_NE(tipos, nullptr);
    EXPECT_EQ(textos(tipos->dbgTipoContrato, 1), (QStringList{"A", "RELEVO"}));
    tipos->cmdSalir->click();
    Forms::get<frmMenu>().optManContrato->setValue(true);
    auto* contratos = Forms::loaded<frmManContrato>();
    ASSERT_NE(contratos, nullptr);
    for (int col = 1; col <= 4; ++col)
        EXPECT_EQ(textos(contratos->dbgContrato, col).join(u("+")),
                  (QStringList{"Relevo+Relevo parcial", "Relevo+RELEVO", "410+410", "P21+P21"}).at(col - 1));
    contratos->cmdSalir->click();
    Forms::get<frmMenu>().optModelos->setValue(true);
    auto* modelos = Forms::loaded<frmModelos>();
    ASSERT_NE(modelos, nullptr);
    ASSERT_EQ(textos(modelos->dbgModelos, 1), QStringList{"P21"});
    modelos->dbgModelos->setRow(0);
    modelos->cmdAñadirMarcas->click();
    EXPECT_EQ(textos(modelos->dbgMarcasSeleccionadas, 1), (QStringList{"0101", "0102"}));
    EXPECT_EQ(textos(modelos->dbgMarcasSeleccionadas, 3), (QStringList{"2", ""}));
    modelos->cmdSalir->click();

    // Contract production, as the saved-contracts list's "Nuevo" opens it.
    Forms::get<frmMenu>().cmdContratos->click();
    Forms::loaded<frmListadoContratos>()->cmdNuevo->click();
    auto& form = Forms::get<frmEleccionContrato>();
    EXPECT_EQ(opciones(form.optTipoContrato, u("RELEVO")), (QStringList{"A", "RELEVO"}));
    EXPECT_EQ(opciones(form.optContrato, u("410 - Relevo")), (QStringList{"410 - Relevo", "410 - Relevo parcial"}));
    EXPECT_EQ(form.ContratoElegido, u("410 - Relevo"));
    EXPECT_EQ(RutaPlantilla, u("C:\\Quelvan\\Dorvane\\P21.rtf")) << "the model the file brought";
    const auto& g = *form.mshMarcas;
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 0) + g.TextMatrix(1, 1) + g.TextMatrix(1, 3), u("0101DATO 01012"));
    EXPECT_EQ(g.TextMatrix(2, 0) + g.TextMatrix(2, 3), u("0102"));
}

// The panel stands where the maintenance, server-access and import results
// panels stand: whichever of them opens, it gives way instead of covering it.
TEST_F(PanelActualizacionTest, ThePanelGivesWayToThePanelsThatShareItsPlace)
{
    for (QPushButton* abrir : {menu->cmdTablas, menu->cmdConfigurar, menu->cmdImportar}) {
        menu->cmdTraspaso->click();
        ASSERT_TRUE(isShown(menu->fraActualizacion));
        abrir->click();
        EXPECT_FALSE(isShown(menu->fraActualizacion));
    }
    EXPECT_EQ(msg().texts(), QStringList{"No se ha introducido una IP de servidor."});
}
