#include "Catalogo.h"

#include "app/frmMenu.h"
#include "common/frmAyuda.h"
#include "platform/MaskEdBox.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

using platform::Forms;
using platform::isShown;

class EleccionTest : public ProduccionTest {};

TEST_F(EleccionTest, TypesArePagedAndScrollingBackMarksTheChosenTypeWithTheConfiguredOptions)
{
    configurar(QStringLiteral("2"), QStringLiteral("1"));
    for (int i = 1; i <= 9; ++i)
        tipo(QStringLiteral("TIPO %1").arg(i));
    auto& form = abrirDesdeListado();
    EXPECT_TRUE(isShown(form.fraEleccion));
    EXPECT_FALSE(isShown(form.SSTab1));
    EXPECT_FALSE(isShown(form.fraContratos));
    EXPECT_FALSE(isShown(form.fraIdioma));
    EXPECT_EQ(captions(form.optTipoContrato).size(), 8);
    ASSERT_TRUE(isShown(form.vscTipoContrato));
    EXPECT_EQ(form.vscTipoContrato->maximum(), 1);

    pulsar(form.optTipoContrato, QStringLiteral("TIPO 2"));
    EXPECT_EQ(form.txtTipoContrato->text(), QStringLiteral("TIPO 2"));
    EXPECT_TRUE(form.optCatalan->value());
    EXPECT_TRUE(form.optNo->value());
    EXPECT_TRUE(isShown(form.fraContratos));
    EXPECT_EQ(form.cmdRealizarContrato->text(), QStringLiteral("Realizar Contrato."));

    form.optCastellano->setValue(true);
    form.vscTipoContrato->setValue(1);
    EXPECT_EQ(captions(form.optTipoContrato).first(), QStringLiteral("TIPO 2"));
    EXPECT_EQ(captions(form.optTipoContrato).last(), QStringLiteral("TIPO 9"));
    EXPECT_TRUE(form.optTipoContrato[0]->value()) << "the chosen type is marked again";
    EXPECT_TRUE(form.optCatalan->value()) << "and the options are back to the configured ones";

    // The list shrinks while the page is scrolled: the last page stays full.
    db().exec(QStringLiteral("DELETE FROM \"TipoContrato\" WHERE \"TipoContrato\" = 'TIPO 9'"));
    form.vscTipoContrato->setValue(0);
    form.vscTipoContrato->setValue(1);
    EXPECT_EQ(form.vscTipoContrato->value(), 0);
    EXPECT_EQ(captions(form.optTipoContrato).size(), 8);
}

TEST_F(EleccionTest, TheContractClickedIsTheOneChosenWhateverItsName)
{
    configurar(QStringLiteral("1"), QStringLiteral("0"));
    modelo(QStringLiteral("A"), QStringLiteral("A.doc"));
    modelo(QStringLiteral("B"), QStringLiteral("B.doc"));
    modelo(QStringLiteral("C"), QStringLiteral("C.doc"));
    const int uno = tipo(QStringLiteral("UNO"));
    const int dos = tipo(QStringLiteral("DOS"));
    contrato(uno, QStringLiteral("200"), QStringLiteral("Obra"), QStringLiteral("A"));
    contrato(dos, QStringLiteral("300"), QStringLiteral("Eventual - Circunstancias"), QStringLiteral("C"));
    const int obraDos = contrato(dos, QStringLiteral("100"), QStringLiteral("Obra"), QStringLiteral("B"));

    auto& form = abrirDesdeListado();
    pulsar(form.optTipoContrato, QStringLiteral("DOS"));
    EXPECT_EQ(captions(form.optContrato),
              (QStringList{QStringLiteral("100 - Obra"), QStringLiteral("300 - Eventual - Circunstancias")}));
    EXPECT_TRUE(RutaPlantilla.isEmpty());
    pulsar(form.optContrato, QStringLiteral("100 - Obra"));
    EXPECT_EQ(RutaPlantilla, QStringLiteral("C:\\Quelvan\\Dorvane\\B.doc"));
    EXPECT_EQ(form.IdContratoElegido, obraDos);
    EXPECT_EQ(form.ContratoElegido, QStringLiteral("100 - Obra"));
    EXPECT_EQ(CodigoContrato, QStringLiteral("100"));
    EXPECT_EQ(ModeloContrato, QStringLiteral("B"));
    EXPECT_EQ(form.txtContrato->text(), QStringLiteral("100 - Obra"));
    EXPECT_TRUE(isShown(form.SSTab1));
    EXPECT_FALSE(isShown(form.fraEleccion));
    EXPECT_EQ(form.mskFechaContrato->Text(), QStringLiteral("06/12/2026"));

    Forms::unload(form);
    auto& otra = abrirDesdeListado();
    elegir(otra, QStringLiteral("DOS"), QStringLiteral("300 - Eventual - Circunstancias"));
    EXPECT_EQ(RutaPlantilla, QStringLiteral("C:\\Quelvan\\Dorvane\\C.doc"));

    EXPECT_EQ(frmEleccionContrato::QuitarCodigo(QStringLiteral("401 - Obra o servicio")),
              QStringLiteral("Obra o servicio"));
    EXPECT_EQ(frmEleccionContrato::QuitarCodigo(QStringLiteral("300 - Eventual - Circunstancias")),
              QStringLiteral("Circunstancias"));
    EXPECT_EQ(frmEleccionContrato::QuitarCodigo(QStringLiteral("Sin guion")), QString());
}

TEST_F(EleccionTest, TheTemplatePathFollowsLanguageAndSignaturesAtTheContractClick)
{
    catalogoMinimo();
    struct Caso {
        bool catalan, sinFirmas;
        const char* ruta;
    };
    for (const Caso& caso : {Caso{false, false, "C:\\Quelvan\\Dorvane\\Ordinario.doc"},
                             Caso{true, false, "C:\\Quelvan\\Dorvane\\COrdinario.doc"},
                             Caso{false, true, "C:\\Quelvan\\Dorvane\\POrdinario.doc"},
                             Caso{true, true, "C:\\Quelvan\\Dorvane\\PCOrdinario.doc"}}) {
        auto& form = abrirDesdeListado();
        pulsar(form.optTipoContrato, QStringLiteral("INDEFINIDO"));
        (caso.catalan ? form.optCatalan : form.optCastellano)->setValue(true);
        (caso.sinFirmas ? form.optNo : form.optSi)->setValue(true);
        pulsar(form.optContrato, QStringLiteral("100 - Ordinario"));
        EXPECT_EQ(RutaPlantilla, QString::fromUtf8(caso.ruta));
        EXPECT_EQ(form.IdiomaContrato, caso.catalan ? 2 : 1);
        form.optCastellano->setValue(!caso.catalan);
        EXPECT_EQ(RutaPlantilla, QString::fromUtf8(caso.ruta)) << "a later change of language changes nothing";
        form.cmdSalir->click();
    }
}

TEST_F(EleccionTest, AContractWithoutModelOrTypeRowLeavesNothingChosen)
{
    const int sinModelo = tipo(QStringLiteral("SIN MODELO"));
    contrato(sinModelo, QStringLiteral("500"), QStringLiteral("Huérfano"), QString());
    const int borrado = tipo(QStringLiteral("BORRADO"));
    contrato(borrado, QStringLiteral("600"), QStringLiteral("Perdido"), QStringLiteral("X"));
    auto& form = abrirDesdeListado();

    elegir(form, QStringLiteral("SIN MODELO"), QStringLiteral("500 - Huérfano"));
    EXPECT_EQ(msg().texts(), QStringList{QStringLiteral("El contrato seleccionado no tiene un modelo definido.")});
    EXPECT_EQ(msg().shown().back().style, 64);
    EXPECT_TRUE(RutaPlantilla.isEmpty());
    EXPECT_FALSE(form.optContrato[0]->value());
    EXPECT_TRUE(isShown(form.fraEleccion));

    db().remove(QStringLiteral("TipoContrato"), QStringLiteral("IdTipoContrato"), borrado);
    db().exec(QStringLiteral("UPDATE \"Contrato\" SET \"IdTipoContrato\" = '' WHERE \"Contrato\" = 'Perdido'"));
    pulsar(form.optTipoContrato, QStringLiteral("BORRADO"));
    EXPECT_TRUE(isShown(form.fraContratos));
    EXPECT_TRUE(captions(form.optContrato).isEmpty()) << "a type without its row has no contracts";

    form.cmdRealizarContrato->click();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Debe elegir que contrato se quiere realizar"));
    EXPECT_TRUE(isShown(form.fraEleccion));
    EXPECT_FALSE(isShown(form.fraProgreso));
}

TEST_F(EleccionTest, AContractWhoseModelOrCodeIsMissingDoesNotKeepThePreviousChoice)
{
    catalogoMinimo();
    const int otro = tipo(QStringLiteral("OTROS"));
    contrato(otro, QStringLiteral("700"), QStringLiteral("Sin plantilla"), QStringLiteral("NO EXISTE"));
    contrato(otro, QString(), QStringLiteral("Sin código"), QStringLiteral("ORD"));
    auto& form = abrirDesdeListado();

    for (const QString& caption : {QStringLiteral("700 - Sin plantilla"), QStringLiteral(" - Sin código")}) {
        elegir(form, QStringLiteral("INDEFINIDO"), QStringLiteral("100 - Ordinario"));
        ASSERT_FALSE(RutaPlantilla.isEmpty());
        form.cmdEleccion->click();
        elegir(form, QStringLiteral("OTROS"), caption);
        EXPECT_TRUE(RutaPlantilla.isEmpty()) << qPrintable(caption);
        EXPECT_EQ(form.IdContratoElegido, 0);
        form.cmdRealizarContrato->click();
        EXPECT_EQ(msg().texts().last(), QStringLiteral("Debe elegir que contrato se quiere realizar"))
            << "the previous contract is never made under this one's name";
    }
    EXPECT_TRUE(msg().texts().contains(QStringLiteral("El contrato seleccionado no tiene un modelo definido.")));
    EXPECT_TRUE(msg().texts().contains(QStringLiteral("El contrato seleccionado no tiene un código definido.")));
}

TEST_F(EleccionTest, RealizarContratoReachesTheGeneratorAndGetsTheWindowBack)
{
    catalogoMinimo();
    auto& form = abrirDesdeListado();
    elegir(form, QStringLiteral("INDEFINIDO"), QStringLiteral("100 - Ordinario"));

    form.cmdAyuda->click();
    form.cmdRealizarContrato->click();
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_EQ(ayuda->fraAyuda->title(), QStringLiteral("Botón Realizar Contrato : "));
    EXPECT_TRUE(fakeClock().waits.empty()) << "help mode does not start the contract";

    bool progresoVisto = false;
    fakeClock().duringWait = [&](double) { progresoVisto = isShown(form.fraProgreso) && isShown(form.shaProgreso); };
    form.cmdRealizarContrato->click();
    EXPECT_TRUE(progresoVisto);
    EXPECT_TRUE(form.PlantillaAbierta);
    EXPECT_FALSE(isShown(form.fraProgreso));
    EXPECT_FALSE(isShown(form.shaProgreso));
    EXPECT_TRUE(form.cmdSalir->isEnabled());
    EXPECT_EQ(form.MousePointer(), 0);

    form.cmdSalir->click();
    EXPECT_EQ(Forms::loaded<frmEleccionContrato>(), nullptr);
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_FALSE(Forms::loaded<frmMenu>()->isHidden());
    EXPECT_TRUE(RutaPlantilla.isEmpty());
}
