#include "TervaloTest.h"

#include "common/ImprimirListado.h"
#include "platform/Forms.h"

using platform::Forms;
using platform::PrintFont;

namespace {

class frmLista : public platform::Form {
public:
    frmLista() : Form(QStringLiteral("frmLista")) {}
};

std::vector<listado::Fila> nombres(int cuantos)
{
    std::vector<listado::Fila> filas;
    for (int n = 1; n <= cuantos; ++n)
        filas.push_back({{listado::kColumnaNombre, QStringLiteral("Empresa %1").arg(n)}});
    return filas;
}

} // namespace

class ImprimirListadoTest : public testing_support::TervaloTest {
protected:
    frmLista& ventana = Forms::show<frmLista>();
};

TEST_F(ImprimirListadoTest, NumberedListWithTitleHeadingsAndRowsRunningOnToTheNextPage)
{
    std::vector<int> punteros;
    fakeClock().duringWait = [&](double) { punteros.push_back(ventana.MousePointer()); };
    ASSERT_TRUE(listado::ImprimirListado(ventana, QStringLiteral("LISTADO DE EMPRESAS:"),
                                         {{20, QStringLiteral("Nombre de la Empresa.")}}, nombres(100),
                                         QStringLiteral("Arial"), 2));

    EXPECT_EQ(fakePrinter().dialogs, 1);
    const QStringList primera = fakePrinter().page(1);
    ASSERT_GT(primera.size(), 20);
    EXPECT_EQ(primera.mid(0, 8),
              (QStringList{QString(), QString(), QStringLiteral("           LISTADO DE EMPRESAS:"), QString(),
                           QString(), QStringLiteral("       Núm.        Nombre de la Empresa."),
                           QStringLiteral("         1         Empresa 1"),
                           QStringLiteral("         2         Empresa 2")}));
    EXPECT_EQ(primera[17], QStringLiteral("        12         Empresa 12"));

    EXPECT_EQ(fakePrinter().find(QStringLiteral("LISTADO DE EMPRESAS:"))->font,
              (PrintFont{QStringLiteral("Arial"), 11, true, true}));
    EXPECT_EQ(fakePrinter().find(QStringLiteral("Nombre de la Empresa."))->font,
              (PrintFont{QStringLiteral("Arial"), 11, true, false}));
    EXPECT_EQ(fakePrinter().find(QStringLiteral("Empresa 100"))->font, (PrintFont{QStringLiteral("Arial"), 11}));

    // No page heading: the second page starts with the next row.
    EXPECT_EQ(fakePrinter().printouts.back().pages, 2);
    const QStringList segunda = fakePrinter().page(2);
    EXPECT_EQ(segunda.first(), QStringLiteral("%1         Empresa %2")
                                   .arg(primera.size() - 5, 10)
                                   .arg(primera.size() - 5));
    EXPECT_EQ(segunda.last(), QStringLiteral("       100         Empresa 100"));

    EXPECT_EQ(punteros, (std::vector<int>{11}));
    EXPECT_EQ(ventana.MousePointer(), 0);
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ImprimirListadoTest, AnEmptyListShowsTheMessageAfterTheHeadingsAndStillEndsTheDocument)
{
    ASSERT_TRUE(listado::ImprimirListado(ventana, QStringLiteral("LISTADO DE EMPRESAS:"),
                                         {{20, QStringLiteral("Nombre de la Empresa.")}}, {}));

    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text, QStringLiteral("No hay ningun registro a imprimir"));
    EXPECT_EQ(msg().shown()[0].style, 64);
    ASSERT_EQ(fakePrinter().printouts.size(), 1u);
    EXPECT_EQ(fakePrinter().page().last(), QStringLiteral("       Núm.        Nombre de la Empresa."));
}

TEST_F(ImprimirListadoTest, CancellingThePrinterDialogPrintsNothing)
{
    fakePrinter().cancel = true;
    EXPECT_FALSE(listado::ImprimirListado(ventana, QStringLiteral("LISTADO DE EMPRESAS:"), {}, nombres(3)));
    EXPECT_EQ(fakePrinter().dialogs, 1);
    EXPECT_TRUE(fakePrinter().printouts.empty());
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(ventana.MousePointer(), 0);
}

TEST_F(ImprimirListadoTest, SheetPrintsEachLabelAndItsValueAtTheValueColumn)
{
    ASSERT_TRUE(listado::Imprimir(ventana, [](platform::PrintJob& job) {
        listado::Apertura(job);
        listado::Titulo(job, QStringLiteral("DATOS DE LA EMPRESA:"));
        listado::Ficha(job, listado::kColumnaValorEmpresa,
                       {{QStringLiteral("Nombre de la empresa :"), QStringLiteral("Talleres Ruiz")},
                        {QStringLiteral("Fax :"), QString()},
                        {QStringLiteral("Observaciones :"), QStringLiteral("Cliente desde 1998\nPaga a 30 días")}});
    }));

    EXPECT_EQ(fakePrinter().page(),
              (QStringList{QString(), QString(), QStringLiteral("           DATOS DE LA EMPRESA:"), QString(),
                           QString(),
                           QStringLiteral("       Nombre de la empresa :") + QString(4, QLatin1Char(' ')) +
                               QStringLiteral("Talleres Ruiz"),
                           QStringLiteral("       Fax :"),
                           QStringLiteral("       Observaciones :") + QString(11, QLatin1Char(' ')) +
                               QStringLiteral("Cliente desde 1998"),
                           QStringLiteral("Paga a 30 días")}));
    EXPECT_EQ(fakePrinter().find(QStringLiteral("Talleres Ruiz"))->column, 34);
    EXPECT_FALSE(fakePrinter().find(QStringLiteral("Fax :"))->font.bold);
}
