#include "TervaloTest.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "companies/frmEmpresas.h"
#include "data/Esquema.h"
#include "listings/frmListados.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using platform::Forms;
using platform::isShown;
using platform::Row;

class ListadosTest : public testing_support::TervaloTest {
protected:
    ListadosTest()
    {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
    }

    static void empresa(const QString& nombre)
    {
        AbrirBaseDatos().insert(QStringLiteral("Empresas"), {{QStringLiteral("NombreEmpresa"), nombre}});
    }
    // A worker of a company, its five flags given as "SNNNN" ('S' for "Si").
    static qint64 trabajador(const QString& empresa, int numero, const QString& nombre, const char* flags = "NNNNN",
                             Row extra = {})
    {
        extra.set(QStringLiteral("Empresa"), empresa);
        extra.set(QStringLiteral("IdEmpresa"), empresa);
        extra.set(u("NúmeroTrabajador"), numero);
        extra.set(QStringLiteral("NombreTrabajador"), nombre);
        const char* campos[] = {"EnviadoCliente", "RecibidoCliente", "EnviadoInem", "RecogidoInem", "ReenviadoCliente"};
        for (int i = 0; i < 5; ++i)
            extra.set(u(campos[i]), flags[i] == 'S' ? QStringLiteral("Si") : QStringLiteral("No"));
        return AbrirBaseDatos().insert(QStringLiteral("Trabajadores"), extra);
    }
    static QString campo(qint64 id, const char* nombre)
    {
        const auto fila = AbrirBaseDatos().first(
            QStringLiteral(R"(SELECT "%1" AS v FROM Trabajadores WHERE IdTrabajador = ?)").arg(u(nombre)), {id});
        return fila && !fila->isNull(QStringLiteral("v")) ? fila->text(QStringLiteral("v")) : QStringLiteral("-");
    }

    frmListados& abrir()
    {
        auto& f = Forms::show<frmListados>();
        QApplication::setActiveWindow(&f);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }
    static void seleccionar(frmListados& f, const QStringList& nombres)
    {
        f.lstEmpresas->clearSelection();
        for (const QString& nombre : nombres)
            f.lstEmpresas->findItems(nombre, Qt::MatchExactly).front()->setSelected(true);
    }
    // What a grid shows, one line per row: its visible cells joined by "|".
    static QStringList filas(const platform::DBGrid* grid)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList celdas;
            for (int c = 0; c < grid->columnCount(); ++c) {
                if (!grid->isColumnHidden(c))
                    celdas << grid->item(r, c)->text();
            }
            out << celdas.join(QLatin1Char('|'));
        }
        return out;
    }
    static QStringList nombres(const platform::DBGrid* grid)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->item(r, 1)->text();
        return out;
    }
    // Types into a cell as the user does: a double click on it, the text
    // typed over it.
    static void teclear(platform::DBGrid* grid, int fila, int columna, const QString& texto)
    {
        grid->setFocus();
        const QRect celda = grid->visualRect(grid->model()->index(fila, columna));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
        QLineEdit* editor = nullptr;
        for (auto* abierto : grid->viewport()->findChildren<QLineEdit*>()) {
            if (!abierto->isHidden())
                editor = abierto;
        }
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, texto);
    }
    static void pulsarFila(platform::DBGrid* grid, int fila)
    {
        const QRect celda = grid->visualRect(grid->model()->index(fila, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
    }
    // Both dates typed as the frame opens: "Desde", Tab, "Hasta".
    static void teclearFechas(frmListados& f, const char* desde, const char* hasta)
    {
        QTest::keyClicks(f.mskDesde, QString::fromLatin1(desde));
        QTest::keyClick(f.mskDesde, Qt::Key_Tab);
        ASSERT_TRUE(f.mskHasta->hasFocus());
        QTest::keyClicks(f.mskHasta, QString::fromLatin1(hasta));
    }
};

TEST_F(ListadosTest, EachCompanyIsListedWithItsOwnCopyOfTheExactState)
{
    for (const char* nombre : {"Xilema", "Y'Ferro", "Zeta"})
        empresa(u(nombre));
    trabajador(u("Y'Ferro"), 2, u("Beatriz"), "SNNNN");
    trabajador(u("Xilema"), 7, u("Carlos"), "SNNNN");
    trabajador(u("Xilema"), 3, u("Ana"), "SNNNN");
    trabajador(u("Xilema"), 4, u("Dora"), "SSNNN");
    trabajador(u("Y'Ferro"), 1, u("Elena"), "NNNNN");
    trabajador(u("Zeta"), 1, u("Fermín"), "SNNNN");
    auto& f = abrir();

    seleccionar(f, {u("Xilema"), u("Y'Ferro")});
    f.chkEnvCliente->setChecked(true);
    f.cmdListar->click();
    EXPECT_EQ(f.lblTitulo->text(), u("Listado de trabajadores:"));
    EXPECT_EQ(filas(f.dbgListado), (QStringList{"Ana|Xilema||Si|No|No|No|No", "Carlos|Xilema||Si|No|No|No|No",
                                                 "Beatriz|Y'Ferro||Si|No|No|No|No"}));
    // The name header re-sorts the same rows; another header does nothing.
    f.dbgListado->HeadClick(2);
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Carlos", "Beatriz"}));
    f.dbgListado->HeadClick(1);
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Beatriz", "Carlos"}));

    // No flag ticked asks for all five "No"; "Todos" for any state; "Todas" for every company.
    f.chkEnvCliente->setChecked(false);
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), QStringList{"Elena"});
    f.chkTodos->setChecked(true);
    seleccionar(f, {u("Xilema")});
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Dora", "Carlos"}));
    f.chkTodas->setChecked(true);
    f.chkEnvCliente->setChecked(true);
    f.chkRecCliente->setChecked(true);
    EXPECT_FALSE(f.chkTodos->isChecked());
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), QStringList{"Dora"});
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ListadosTest, AtMostTwentyFourCompaniesAndNoneListsNobody)
{
    QStringList todas;
    for (int i = 1; i <= 25; ++i) {
        todas << QStringLiteral("Empresa %1").arg(i, 2, 10, QLatin1Char('0'));
        empresa(todas.last());
        trabajador(todas.last(), 1, QStringLiteral("T%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    const QString limite = u("El número máximo de empresas que se pueden seleccuionar es 24.");
    auto& f = abrir();
    seleccionar(f, todas);
    f.cmdListar->click();
    EXPECT_EQ(msg().texts(), QStringList{limite});
    EXPECT_EQ(nombres(f.dbgListado).last(), QStringLiteral("T24"));
    seleccionar(f, todas.mid(1));
    f.cmdListar->click();
    EXPECT_EQ(msg().texts(), (QStringList{limite, limite}));
    EXPECT_EQ(f.dbgListado->RecordCount(), 24);

    // No company and not "Todas": nothing, the grid stays on show and empty, and so does its re-sort.
    f.lstEmpresas->clearSelection();
    f.cmdListar->click();
    EXPECT_EQ(msg().texts().last(),
              u("No hay ningún contrato de trabajador que cumpla las especificaciones seleccionadas."));
    EXPECT_TRUE(isShown(f.dbgListado));
    EXPECT_EQ(f.lblTitulo->text(), u("Empresas dadas de alta."));
    f.dbgListado->HeadClick(1);
    EXPECT_EQ(f.dbgListado->RecordCount(), 0);
}

TEST_F(ListadosTest, CellsTypedIntoTheGridsReachTheWorkerAndBadValuesAreRefused)
{
    empresa(u("Alfa"));
    const qint64 ana = trabajador(u("Alfa"), 1, u("Ana"), "NNNNN", {{QStringLiteral("FechaVencimiento"), "2009-01-10"}});
    const qint64 luis = trabajador(u("Alfa"), 2, u("Luis"), "NNNNN", {{QStringLiteral("FechaVencimiento"), "2009-01-20"}});
    auto& f = abrir();
    seleccionar(f, {u("Alfa")});
    f.cmdListar->click();

    teclear(f.dbgListado, 0, 4, QStringLiteral("si"));
    EXPECT_EQ(campo(ana, "EnviadoCliente"), QStringLiteral("No")) << "written when the row is left";
    pulsarFila(f.dbgListado, 1);
    EXPECT_EQ(campo(ana, "EnviadoCliente"), QStringLiteral("Si"));
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Luis"})) << "the row stays until the next listing";

    teclear(f.dbgListado, 1, 6, QStringLiteral("Quiza"));
    pulsarFila(f.dbgListado, 0);
    EXPECT_EQ(campo(luis, "EnviadoInem"), QStringLiteral("No"));
    EXPECT_EQ(f.dbgListado->item(1, 6)->text(), QStringLiteral("No"));
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown().back().style, 16);

    // A pending edit goes in before the listing runs again.
    teclear(f.dbgListado, 1, 8, QStringLiteral("SI"));
    f.cmdListar->click();
    EXPECT_EQ(campo(luis, "ReenviadoCliente"), QStringLiteral("Si"));

    // The expiry listing's columns are the worker's own fields; one bad cell refuses its row.
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01012009", "31012009");
    f.cmdAceptar->click();
    teclear(f.dbgListado1, 0, 6, QStringLiteral("28/02/2009"));
    teclear(f.dbgListado1, 0, 2, QStringLiteral("x1"));
    pulsarFila(f.dbgListado1, 1);
    EXPECT_EQ(campo(ana, "FechaVencimiento"), QStringLiteral("2009-01-10"));
    teclear(f.dbgListado1, 1, 6, QStringLiteral("28/02/2009"));
    pulsarFila(f.dbgListado1, 0);
    EXPECT_EQ(campo(luis, "FechaVencimiento"), QStringLiteral("2009-02-28"));
    teclear(f.dbgListado1, 0, 6, QStringLiteral("31/02/2009"));
    pulsarFila(f.dbgListado1, 1);
    EXPECT_EQ(msg().shown().size(), 4u);
    EXPECT_EQ(f.dbgListado1->item(0, 6)->text(), QStringLiteral("10/01/2009"));
}

TEST_F(ListadosTest, ExpiryListingBetweenTwoDatesBothExcluded)
{
    empresa(u("Alfa"));
    int n = 0;
    for (const char* fecha : {"2009-01-01", "2009-01-30", "2009-01-02", "2009-01-31", "2009-01-15"}) {
        ++n;
        trabajador(u("Alfa"), n, QStringLiteral("T%1").arg(n), "NNNNN",
                   {{QStringLiteral("FechaVencimiento"), u(fecha)}, {QStringLiteral("FechaContrato"), u("2008-07-01")},
                    {QStringLiteral("NIF14"), QStringLiteral("1234%1X").arg(n)}, {QStringLiteral("NumEmpresa"), u("00007")}});
    }
    trabajador(u("Alfa"), 9, QStringLiteral("T9"));
    auto& f = abrir();
    f.chkVencimientos->setChecked(true);
    EXPECT_TRUE(isShown(f.fraFechaVencimiento));
    f.cmdListar->click();
    EXPECT_FALSE(isShown(f.dbgListado)) << "Listar does nothing while Vencimientos is ticked";

    teclearFechas(f, "01012009", "31012009");
    f.cmdAceptar->click();
    EXPECT_FALSE(isShown(f.fraFechaVencimiento));
    EXPECT_EQ(filas(f.dbgListado1),
              (QStringList{"T3|3|00007|12343X|01/07/2008|02/01/2009", "T5|5|00007|12345X|01/07/2008|15/01/2009",
                           "T2|2|00007|12342X|01/07/2008|30/01/2009"}));

    // A bad date closes the frame with the message; equal dates list nobody, silently.
    f.chkVencimientos->setChecked(false);
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "31022009", "31012009");
    f.cmdAceptar->click();
    EXPECT_EQ(msg().shown().back().text, QStringLiteral("Una de las fechas no es valida."));
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_FALSE(isShown(f.fraFechaVencimiento));
    f.chkVencimientos->setChecked(false);
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "15012009", "15012009");
    f.cmdAceptar->click();
    EXPECT_EQ(f.dbgListado1->RecordCount(), 0);
    EXPECT_EQ(msg().shown().size(), 1u);
}

TEST_F(ListadosTest, BothListingsPrintTheRowsHeldInLandscapeCourier)
{
    empresa(u("Alfa"));
    empresa(u("Beta"));
    trabajador(u("Beta"), 1, u("Bruno Largo Apellido Segundo Nombre"), "SNNNN",
               {{QStringLiteral("FechaVencimiento"), u("2009-03-10")}});
    trabajador(u("Alfa"), 2, u("Ana"), "SNNNN",
               {{QStringLiteral("FechaVencimiento"), u("2009-03-05")}, {QStringLiteral("NumEmpresa"), u("00001")},
                {QStringLiteral("FechaContrato"), u("2008-09-05")}});
    auto& f = abrir();
    fakePrinter().pdfPath = driveC.filePath(QStringLiteral("listado.pdf"));

    seleccionar(f, {u("Alfa"), u("Beta")});
    f.chkEnvCliente->setChecked(true);
    f.cmdListar->click();
    f.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.back().orientation, platform::Orientation::Landscape);
    EXPECT_EQ(fakePrinter().find(u("Reenviado Cl"))->font, (platform::PrintFont{"Courier", 10, true, false}));
    EXPECT_EQ(fakePrinter().page(),
              (QStringList{{}, u("    LISTADO ESTADO DE CONTRATOS:"), {}, u("    Fecha Listado : 06/12/2026"), {},
                           u("    Nombre Trabajador              Nombre Empresa.               Enviado Cl.  "
                             "Devuelto Cl.  Enviado INEM  Recogido INEM   Reenviado Cl"),
                           u("    Ana                            Alfa                               Si           "
                             "No            No             No           No"),
                           u("    Bruno Largo Apellido Segundo Nombre"),
                           u("                                   Beta                               Si           "
                             "No            No             No           No")}));
    EXPECT_TRUE(testing_support::appearInOrder(testing_support::pdfText(fakePrinter().pdfPath),
                                               {u("LISTADO ESTADO DE CONTRATOS:"), u("Reenviado Cl\n"), u("Ana")}));

    // After an expiry listing its own layout, whatever the boxes say; no value prints nothing.
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01032009", "31032009");
    f.cmdAceptar->click();
    f.chkVencimientos->setChecked(false);
    f.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().page().mid(5, 2),
              (QStringList{u("    Nombre Trabajador              Núm. Trabaj. Núm. emp. NIF           Fecha Contrato "
                             "Fecha Vencimiento"),
                           u("    Ana                            2            00001                   05/09/2008     "
                             "05/03/2009")}));
    EXPECT_TRUE(testing_support::appearInOrder(testing_support::pdfText(fakePrinter().pdfPath),
                                               {u("LISTADO VENCIMIENTOS:"), u("Fecha Listado : 06/12/2026"),
                                                u("05/03/2009"), u("Bruno"), u("10/03/2009")}));

    // Nothing held: the message, and the page with its headings all the same.
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01012001", "02012001");
    f.cmdAceptar->click();
    f.cmdImprimir->click();
    EXPECT_EQ(msg().shown().back().text, u("No hay ningun registro a imprimir"));
    EXPECT_EQ(msg().shown().back().style, 64);
    EXPECT_EQ(fakePrinter().page().size(), 6);

    fakePrinter().cancel = true;
    f.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.size(), 3u) << "a cancelled printer dialog prints nothing";
}

TEST_F(ListadosTest, FromTheCompanyListTwoCompaniesAreListedAndPrintedByCompanyAndNumber)
{
    for (const char* nombre : {"Obras Sur", "Aceros Norte", "Cuero Este"})
        empresa(u(nombre));
    trabajador(u("Obras Sur"), 12, u("Pilar"), "SNNNN");
    trabajador(u("Aceros Norte"), 7, u("Jaime"), "SNNNN");
    trabajador(u("Obras Sur"), 3, u("Olga"), "SNNNN");
    trabajador(u("Aceros Norte"), 2, u("Bea"), "SNNNN");
    trabajador(u("Aceros Norte"), 4, u("Nico"), "NNNNN");
    trabajador(u("Cuero Este"), 1, u("Ciro"), "SNNNN");
    fakePrinter().pdfPath = driveC.filePath(QStringLiteral("estado.pdf"));

    QTest::mouseClick(Forms::show<frmEmpresas>().cmdListados, Qt::LeftButton);
    EXPECT_EQ(Forms::loaded<frmEmpresas>(), nullptr);
    auto& f = *Forms::loaded<frmListados>();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const auto pulsarEmpresa = [&](int fila, Qt::KeyboardModifiers teclas) {
        QTest::mouseClick(f.lstEmpresas->viewport(), Qt::LeftButton, teclas,
                          f.lstEmpresas->visualItemRect(f.lstEmpresas->item(fila)).center());
    };
    pulsarEmpresa(0, {});
    pulsarEmpresa(1, Qt::ControlModifier);
    QTest::mouseClick(f.chkEnvCliente, Qt::LeftButton);
    QTest::mouseClick(f.cmdListar, Qt::LeftButton);
    QTest::mouseClick(f.cmdImprimir, Qt::LeftButton);
    const QString pdf = testing_support::pdfText(fakePrinter().pdfPath);
    EXPECT_TRUE(testing_support::appearInOrder(pdf, {u("Reenviado Cl"), u("Bea"), u("Aceros Norte"), u("Jaime"),
                                                      u("Aceros Norte"), u("Olga"), u("Obras Sur"), u("Pilar")}));
    EXPECT_FALSE(pdf.contains(u("Nico")));
    EXPECT_FALSE(pdf.contains(u("Ciro")));

    // Help, and each return to the window reads the companies again, unselected.
    QTest::mouseClick(f.cmdAyuda, Qt::LeftButton);
    QTest::mouseClick(f.cmdListar, Qt::LeftButton);
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Listar : "));
    ayuda->cmdCerrar->click();
    EXPECT_EQ(f.lstEmpresas->count(), 3);
    EXPECT_TRUE(f.lstEmpresas->selectedItems().isEmpty());

    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    QTest::mouseClick(f.cmdSalir, Qt::LeftButton);
    EXPECT_EQ(Forms::loaded<frmListados>(), nullptr);
    EXPECT_NE(Forms::loaded<frmMenu>(), nullptr);
}
