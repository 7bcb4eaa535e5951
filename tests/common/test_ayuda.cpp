#include "TervaloTest.h"

#include "common/frmAyuda.h"
#include "platform/Forms.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::Forms;

namespace {

class frmPrueba : public platform::Form {
public:
    frmPrueba() : Form(QStringLiteral("frmPrueba"))
    {
        cmdAyuda = place(new QPushButton(QStringLiteral("Ayuda.")), "cmdAyuda", 0, 0, 1000, 300);
        cmdBorrar = place(new QPushButton(QStringLiteral("Borrar.")), "cmdBorrar", 0, 400, 1000, 300);
        cmdVolver = place(new QPushButton(QStringLiteral("Volver.")), "cmdVolver", 0, 800, 1000, 300);
        onClick(cmdAyuda, [this] { ayuda::Activar(*this); });
        ayuda::Conectar(*this, cmdBorrar, QStringLiteral("Botón Borrar : "),
                        QStringLiteral("Borrará el registro seleccionado."), [this] { ++borrados; });
        onClick(cmdVolver, [this] { ++vueltas; });
    }
    QPushButton* cmdAyuda;
    QPushButton* cmdBorrar;
    QPushButton* cmdVolver;
    int borrados = 0;
    int vueltas = 0;
};

} // namespace

class AyudaTest : public testing_support::TervaloTest {};

TEST_F(AyudaTest, AClickInHelpModeShowsHelpInsteadOfActingOnce)
{
    auto& form = Forms::show<frmPrueba>();
    form.cmdAyuda->click();
    EXPECT_TRUE(frmAyuda::ModoAyuda);
    EXPECT_EQ(form.MousePointer(), 14);

    form.cmdBorrar->click();
    EXPECT_EQ(form.borrados, 0);
    EXPECT_FALSE(frmAyuda::ModoAyuda);
    EXPECT_EQ(form.MousePointer(), 0);
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_FALSE(ayuda->isHidden());
    EXPECT_EQ(ayuda->fraAyuda->title(), QStringLiteral("Botón Borrar : "));
    EXPECT_EQ(ayuda->txtAyuda->toPlainText(), QStringLiteral("Borrará el registro seleccionado."));

    form.cmdBorrar->click();
    EXPECT_EQ(form.borrados, 1);

    ayuda->cmdCerrar->click();
    EXPECT_EQ(Forms::loaded<frmAyuda>(), nullptr);
}

TEST_F(AyudaTest, AButtonWithoutHelpActsAndLeavesHelpModeOn)
{
    auto& form = Forms::show<frmPrueba>();
    form.cmdAyuda->click();
    form.cmdVolver->click();
    EXPECT_EQ(form.vueltas, 1);
    EXPECT_TRUE(frmAyuda::ModoAyuda);
}
