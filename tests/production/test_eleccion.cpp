#include "Catalogo.h"

class EleccionTest : public ProduccionTest {
protected:
    static void configurar(const char* idioma, const char* firmas)
    {
        ActualizarConfiguracion([&](DatosConfiguracion& d) {
            d.Idioma = u(idioma);
            d.Firmas = u(firmas);
        });
    }
};

TEST_F(EleccionTest, TypesArePagedAndScrollingBackMarksTheChosenTypeWithTheConfiguredOptions)
{
    configurar("2", "1");
    for (int i = 1; i <= 9; ++i)
        tipo(u("TIPO %1").arg(i));
    auto& form = abrirDesdeListado();
    EXPECT_TRUE(isShown(form.fraEleccion));
    EXPECT_FALSE(isShown(form.SSTab1) || isShown(form.fraContratos) || isShown(form.fraIdioma));
    EXPECT_EQ(captions(form.optTipoContrato).size(), 8);
    ASSERT_TRUE(isShown(form.vscTipoContrato));
    EXPECT_EQ(form.vscTipoContrato->maximum(), 1);

    pulsar(form.optTipoContrato, u("TIPO 2"));
    EXPECT_EQ(form.txtTipoContrato->text(), u("TIPO 2"));
    EXPECT_TRUE(form.optCatalan->value() && form.optNo->value());
    EXPECT_TRUE(isShown(form.fraContratos));

    form.optCastellano->setValue(true);
    form.vscTipoContrato->setValue(1);
    EXPECT_EQ(captions(form.optTipoContrato).first() + captions(form.optTipoContrato).last(), u("TIPO 2TIPO 9"));
    EXPECT_TRUE(form.optTipoContrato[0]->value()) << "the chosen type is marked again";
    EXPECT_TRUE(form.optCatalan->value()) << "and the options are back to the configured ones";

    // The list shrinks while the page is scrolled: the last page stays full.
    db.exec(u("DELETE FROM \"TipoContrato\" WHERE \"TipoContrato\" = 'TIPO 9'"));
    form.vscTipoContrato->setValue(0);
    form.vscTipoContrato->setValue(1);
    EXPECT_EQ(form.vscTipoContrato->value(), 0);
    EXPECT_EQ(captions(form.optTipoContrato).size(), 8);
}

TEST_F(EleccionTest, TheContractClickedIsTheOneChosenWhateverItsName)
{
    configurar("1", "0");
    for (const char* nombre : {"A", "B", "C"})
        modelo(u(nombre), u(nombre) + ".doc");
    const int uno = tipo(u("UNO"));
    const int dos = tipo(u("DOS"));
    contrato(uno, u("200"), u("Obra"), u("A"));
    const int eventual = contrato(dos, u("300"), u("Eventual - Circunstancias"), u("C"));
    const int obraDos = contrato(dos, u("100"), u("Obra"), u("B"));

    auto& form = abrirDesdeListado();
    pulsar(form.optTipoContrato, u("DOS"));
    EXPECT_EQ(captions(form.optContrato), (QStringList{"100 - Obra", "300 - Eventual - Circunstancias"}));
    EXPECT_TRUE(RutaPlantilla.isEmpty());
    pulsar(form.optContrato, u("100 - Obra"));
    EXPECT_EQ(RutaPlantilla, u("C:\\Quelvan\\Dorvane\\B.doc"));
    EXPECT_EQ(form.IdContratoElegido, obraDos);
    EXPECT_EQ(QStringList({form.ContratoElegido, CodigoContrato, ModeloContrato, form.txtContrato->text()}),
              (QStringList{"100 - Obra", "100", "B", "100 - Obra"}));
    EXPECT_TRUE(isShown(form.SSTab1) && !isShown(form.fraEleccion));
    EXPECT_EQ(form.mskFechaContrato->Text(), u("06/12/2026"));

    Forms::unload(form);
    auto& otra = abrirDesdeListado();
    elegir(otra, u("DOS"), u("300 - Eventual - Circunstancias"));
    EXPECT_EQ(RutaPlantilla, u("C:\\Quelvan\\Dorvane\\C.doc"));
    EXPECT_EQ(otra.IdContratoElegido, eventual);

    EXPECT_EQ(frmEleccionContrato::QuitarCodigo(u("401 - Obra o servicio")), u("Obra o servicio"));
    EXPECT_EQ(frmEleccionContrato::QuitarCodigo(u("300 - Eventual - Circunstancias")), u("Circunstancias"));
    EXPECT_EQ(frmEleccionContrato::QuitarCodigo(u("Sin guion")), QString());
}

// An option's caption takes an "&" for a shortcut marker: names show as typed.
TEST_F(EleccionTest, AnAmpersandInANameShowsAsTyped)
{
    modelo(u("ORD"), u("Ordinario.doc"));
    contrato(tipo(u("I+D & Innovación")), u("403"), u("Contrato I+D &Innovacion"), u("ORD"));
    auto& form = abrirDesdeListado();
    EXPECT_EQ(captions(form.optTipoContrato), QStringList{u("I+D & Innovación")});
    pulsar(form.optTipoContrato, u("I+D & Innovación"));
    EXPECT_EQ(form.txtTipoContrato->text(), u("I+D & Innovación"));
    EXPECT_EQ(captions(form.optContrato), QStringList{u("403 - Contrato I+D &Innovacion")});
    EXPECT_TRUE(form.optContrato[0]->shortcut().isEmpty()) << "no letter is taken for a shortcut";
    pulsar(form.optContrato, u("403 - Contrato I+D &Innovacion"));
    EXPECT_EQ(form.ContratoElegido, u("403 - Contrato I+D &Innovacion"));
    EXPECT_EQ(form.txtContrato->text(), u("403 - Contrato I+D &Innovacion"));
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
        pulsar(form.optTipoContrato, u("INDEFINIDO"));
        (caso.catalan ? form.optCatalan : form.optCastellano)->setValue(true);
        (caso.sinFirmas ? form.optNo : form.optSi)->setValue(true);
        pulsar(form.optContrato, u("100 - Ordinario"));
        EXPECT_EQ(RutaPlantilla, u(caso.ruta));
        EXPECT_EQ(form.IdiomaContrato, caso.catalan ? 2 : 1);
        form.optCastellano->setValue(!caso.catalan);
        EXPECT_EQ(RutaPlantilla, u(caso.ruta)) << "a later change of language changes nothing";
        form.cmdSalir->click();
    }
}

// A contract without model or code, or a type without its row, leaves nothing
// chosen: the previous contract is never made under another one's name.
TEST_F(EleccionTest, AContractThatCannotBeMadeLeavesNothingChosen)
{
    catalogoMinimo();
    const int otro = tipo(u("OTROS"));
    contrato(otro, u("500"), u("Huérfano"), QString());
    contrato(otro, u("700"), u("Sin plantilla"), u("NO EXISTE"));
    contrato(otro, QString(), u("Sin código"), u("ORD"));
    const int borrado = tipo(u("BORRADO"));
    contrato(borrado, u("600"), u("Perdido"), u("X"));
    auto& form = abrirDesdeListado();

    const std::pair<const char*, const char*> casos[] = {
        {"500 - Huérfano", "El contrato seleccionado no tiene un modelo definido."},
        {"700 - Sin plantilla", "El contrato seleccionado no tiene un modelo definido."},
        {" - Sin código", "El contrato seleccionado no tiene un código definido."},
    };
    for (const auto& [caption, mensaje] : casos) {
        elegir(form, u("INDEFINIDO"), u("100 - Ordinario"));
        ASSERT_FALSE(RutaPlantilla.isEmpty());
        form.cmdEleccion->click();
        elegir(form, u("OTROS"), u(caption));
        EXPECT_EQ(msg().texts().last(), u(mensaje)) << caption;
        EXPECT_EQ(msg().shown().back().style, 64);
        EXPECT_TRUE(RutaPlantilla.isEmpty() && form.IdContratoElegido == 0) << caption;
        EXPECT_TRUE(isShown(form.fraEleccion));
        form.cmdRealizarContrato->click();
        EXPECT_EQ(msg().texts().last(), u("Debe elegir que contrato se quiere realizar"));
        EXPECT_FALSE(isShown(form.fraProgreso));
    }

    db.remove(u("TipoContrato"), u("IdTipoContrato"), borrado);
    db.exec(u("UPDATE \"Contrato\" SET \"IdTipoContrato\" = '' WHERE \"Contrato\" = 'Perdido'"));
    pulsar(form.optTipoContrato, u("BORRADO"));
    EXPECT_TRUE(isShown(form.fraContratos));
    EXPECT_TRUE(captions(form.optContrato).isEmpty()) << "a type without its row has no contracts";
}

TEST_F(EleccionTest, RealizarContratoReachesTheGeneratorAndGetsTheWindowBack)
{
    catalogoMinimo();
    auto& form = abrirDesdeListado();
    elegir(form, u("INDEFINIDO"), u("100 - Ordinario"));

    form.cmdAyuda->click();
    form.cmdRealizarContrato->click();
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Realizar Contrato : "));
    EXPECT_TRUE(fakeClock().waits.empty()) << "help mode does not start the contract";

    bool progresoVisto = false;
    fakeClock().duringWait = [&](double) { progresoVisto = isShown(form.fraProgreso) && isShown(form.shaProgreso); };
    form.cmdRealizarContrato->click();
    EXPECT_TRUE(progresoVisto);
    EXPECT_TRUE(form.PlantillaAbierta);
    EXPECT_FALSE(isShown(form.fraProgreso) || isShown(form.shaProgreso));
    EXPECT_TRUE(form.cmdSalir->isEnabled());
    EXPECT_EQ(form.MousePointer(), 0);

    form.cmdSalir->click();
    EXPECT_EQ(Forms::loaded<frmEleccionContrato>(), nullptr);
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_FALSE(Forms::loaded<frmMenu>()->isHidden());
    EXPECT_TRUE(RutaPlantilla.isEmpty());
}
