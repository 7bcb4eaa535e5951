#include "TervaloTest.h"

#include "common/Module1.h"

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
