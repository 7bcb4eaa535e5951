#include "Catalogo.h"

#include <QAccessible>

class ClausulasTest : public ProduccionTest {
protected:
    ClausulasTest()
    {
        for (int i = 1; i <= 12; ++i) {
            const QString texto = i == 3 || i == 10 ? u("Periodo de prueba de 'un mes'.")
                : i == 7                            ? QString()
                : i == 8                            ? u("Cláusula 8 & anexo.")
                                                    : u("Cláusula %1.").arg(i);
            insertar("Clausulas", {{"Clausula", texto}});
        }
    }
    // The boxes as the user reads them: the caption shown, and the tick.
    static QStringList pagina(const frmEleccionContrato& form)
    {
        QStringList textos;
        for (auto* casilla : form.chkClausula) {
            const QString rotulo = QAccessible::queryAccessibleInterface(casilla)->text(QAccessible::Name);
            textos << (isShown(casilla) ? rotulo + (casilla->isChecked() ? " [x]" : "") : u("-"));
        }
        return textos;
    }
};

TEST_F(ClausulasTest, TicksAreKeptPerClauseAcrossPagesAndContracts)
{
    catalogoMinimo();
    auto& form = abrirDesdeListado();
    ASSERT_EQ(form.IdClausulaFila.size(), 12u);
    EXPECT_EQ(form.ClausulaElegida, std::vector<int>(12, 0)) << "no company, nothing pre-selected";
    ASSERT_TRUE(isShown(form.vscClausulas));
    EXPECT_EQ(form.vscClausulas->maximum(), 4);
    EXPECT_EQ(pagina(form), (QStringList{"Cláusula 1.", "Cláusula 2.", "Periodo de prueba de 'un mes'.",
                                         "Cláusula 4.", "Cláusula 5.", "Cláusula 6.", "-", "Cláusula 8 & anexo."}));

    form.chkClausula[2]->click(); // the first of two clauses with the same text
    form.chkClausula[4]->click();
    form.vscClausulas->setValue(4);
    EXPECT_EQ(pagina(form), (QStringList{"Cláusula 5. [x]", "Cláusula 6.", "-", "Cláusula 8 & anexo.",
                                         "Cláusula 9.", "Periodo de prueba de 'un mes'.", "Cláusula 11.",
                                         "Cláusula 12."}));
    form.chkClausula[0]->click();
    form.chkClausula[7]->click();
    form.vscClausulas->setValue(0);
    EXPECT_EQ(pagina(form)[2], u("Periodo de prueba de 'un mes'. [x]"));
    EXPECT_EQ(pagina(form)[4], u("Cláusula 5.")) << "unticked on the other page";
    EXPECT_EQ(form.ClausulaElegida, (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));

    elegir(form, u("INDEFINIDO"), u("100 - Ordinario"));
    EXPECT_EQ(form.vscClausulas->value(), 0);
    EXPECT_EQ(form.ClausulaElegida, (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}))
        << "choosing the contract refills the page, the flags stay";
    EXPECT_TRUE(CargandoClausulas);
}
