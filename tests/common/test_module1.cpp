#include "TervaloTest.h"

#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "platform/Forms.h"

#include <QLabel>

class Module1Test : public testing_support::TervaloTest {};

TEST_F(Module1Test, PrinterCodesAreDroppedAndEverythingElseKept)
{
    const QChar esc(27);
    const QString in = QStringLiteral("A") + QChar(15) + QStringLiteral("B") + esc + QStringLiteral("EC") + esc
        + QStringLiteral("X") + QChar(18) + QStringLiteral("D");
    EXPECT_EQ(QuitarCodigosImpresora(in), QStringLiteral("ABC") + esc + QStringLiteral("XD"));
    EXPECT_EQ(QuitarCodigosImpresora(QStringLiteral("fin") + esc), QStringLiteral("fin") + esc);
    EXPECT_EQ(QuitarCodigosImpresora(esc + QStringLiteral("F") + esc + QStringLiteral("E")), QString());
    EXPECT_EQ(QuitarCodigosImpresora(QString()), QString());
}

TEST_F(Module1Test, UnderscoresBecomeBlanks)
{
    EXPECT_EQ(CambiarGuiones(QStringLiteral("___.___.___.___")), QStringLiteral("   .   .   .   "));
}

TEST_F(Module1Test, ClauseHeadingsFollowTheLanguageTables)
{
    EXPECT_EQ(OrdinalClausula(1, 1), QStringLiteral("- Primera. "));
    EXPECT_EQ(OrdinalClausula(19, 1), QStringLiteral("- Decimonovena. "));
    EXPECT_EQ(OrdinalClausula(5, 2), QStringLiteral("- Cinquena. "));
    EXPECT_EQ(OrdinalClausula(6, 2), QStringLiteral("- Sisena . "));
    EXPECT_EQ(OrdinalClausula(12, 2), QStringLiteral("- Dotzena. "));
    EXPECT_EQ(OrdinalClausula(13, 2), QString());
    EXPECT_EQ(OrdinalClausula(20, 1), QString());
    EXPECT_EQ(OrdinalClausula(0, 1), QString());
    EXPECT_EQ(OrdinalClausula(1, 3), QString());
}

TEST_F(Module1Test, ClearingTheClausesLeavesTheLastSlot)
{
    ClausulasElegidas = {1, 2, 3, 4, 5, 6, 7};
    InicializarClausulas();
    EXPECT_EQ(ClausulasElegidas, (std::array<int, 7>{0, 0, 0, 0, 0, 0, 7}));
}

TEST_F(Module1Test, ANoticeShowsForItsTimeAndGoes)
{
    bool visibleDuringWait = false;
    fakeClock().duringWait = [&](double) {
        auto* mensaje = platform::Forms::loaded<frmMensaje>();
        visibleDuringWait = mensaje && !mensaje->isHidden()
            && mensaje->lblMensaje->text() == QStringLiteral("Datos de la configuración grabados.");
    };
    MostrarMensaje(QStringLiteral("Datos de la configuración grabados."));
    EXPECT_TRUE(visibleDuringWait);
    EXPECT_EQ(fakeClock().waits, std::vector<double>{1.0});
    EXPECT_EQ(platform::Forms::loaded<frmMensaje>(), nullptr);
}
