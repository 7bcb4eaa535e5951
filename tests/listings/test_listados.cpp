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
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using platform::Forms;
using platform::isShown;
using platform::Row;

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

} // namespace

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

    // Opened from the company list, which closes.
    Forms::show<frmEmpresas>().cmdListados->click();
    EXPECT_EQ(Forms::loaded<frmEmpresas>(), nullptr);
    auto& f = *Forms::loaded<frmListados>();
    ASSERT_EQ(f.lstEmpresas->count(), 3);
    EXPECT_EQ(f.lstEmpresas->item(1)->text(), u("Y'Ferro"));
    EXPECT_FALSE(isShown(f.dbgListado));
    EXPECT_EQ(f.lblTitulo->text(), u("Empresas dadas de alta."));

    seleccionar(f, {u("Xilema"), u("Y'Ferro")});
    f.chkEnvCliente->setChecked(true);
    f.cmdListar->click();
    EXPECT_TRUE(isShown(f.dbgListado));
    EXPECT_EQ(f.lblTitulo->text(), u("Listado de trabajadores:"));
    EXPECT_EQ(filas(f.dbgListado), (QStringList{"Ana|Xilema||Si|No|No|No|No", "Carlos|Xilema||Si|No|No|No|No",
                                                 "Beatriz|Y'Ferro||Si|No|No|No|No"}));
    EXPECT_EQ(f.EmpresasSeleccionadas, (QStringList{u("Xilema"), u("Y'Ferro")}));

    // The name header re-sorts the same rows; another header does nothing.
    f.dbgListado->HeadClick(2);
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Carlos", "Beatriz"}));
    f.dbgListado->HeadClick(1);
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Beatriz", "Carlos"}));

    // No flag ticked asks for all five "No"; "Todos" for any state.
    f.chkEnvCliente->setChecked(false);
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), QStringList{"Elena"});
    f.chkTodos->setChecked(true);
    seleccionar(f, {u("Xilema")});
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Dora", "Carlos"}));

    // Every company: in any state, or in the exact state ticked.
    f.chkTodas->setChecked(true);
    f.cmdListar->click();
    EXPECT_EQ(f.dbgListado->RecordCount(), 6);
    EXPECT_EQ(nombres(f.dbgListado).last(), u("Fermín"));
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
        const QString nombre = QStringLiteral("Empresa %1").arg(i, 2, 10, QLatin1Char('0'));
        empresa(nombre);
        trabajador(nombre, 1, QStringLiteral("T%1").arg(i, 2, 10, QLatin1Char('0')));
        todas << nombre;
    }
    const QString limite = u("El número máximo de empresas que se pueden seleccuionar es 24.");
    auto& f = abrir();

    seleccionar(f, todas);
    f.cmdListar->click();
    EXPECT_EQ(msg().texts(), QStringList{limite});
    EXPECT_EQ(f.dbgListado->RecordCount(), 24);
    EXPECT_EQ(nombres(f.dbgListado).last(), QStringLiteral("T24"));

    seleccionar(f, todas.mid(1));
    f.cmdListar->click();
    EXPECT_EQ(msg().texts(), (QStringList{limite, limite}));
    EXPECT_EQ(nombres(f.dbgListado).first(), QStringLiteral("T02"));
    EXPECT_EQ(nombres(f.dbgListado).last(), QStringLiteral("T25"));

    // No company and not "Todas": nothing, the grid stays on show and empty.
    f.lstEmpresas->clearSelection();
    f.cmdListar->click();
    EXPECT_EQ(msg().shown().back().text,
              u("No hay ningún contrato de trabajador que cumpla las especificaciones seleccionadas."));
    EXPECT_EQ(msg().shown().back().style, 64);
    EXPECT_TRUE(isShown(f.dbgListado));
    EXPECT_EQ(f.dbgListado->RecordCount(), 0);
    EXPECT_EQ(f.lblTitulo->text(), u("Empresas dadas de alta."));
    f.dbgListado->HeadClick(1);
    EXPECT_EQ(f.dbgListado->RecordCount(), 0) << "the re-sort keeps the empty listing";
}

TEST_F(ListadosTest, FlagsTypedIntoTheGridReachTheWorkerAndBadValuesAreRefused)
{
    empresa(u("Alfa"));
    const qint64 ana = trabajador(u("Alfa"), 1, u("Ana"));
    const qint64 luis = trabajador(u("Alfa"), 2, u("Luis"));
    auto& f = abrir();
    seleccionar(f, {u("Alfa")});
    f.cmdListar->click();
    ASSERT_EQ(f.dbgListado->RecordCount(), 2);

    teclear(f.dbgListado, 0, 4, QStringLiteral("si"));
    EXPECT_EQ(campo(ana, "EnviadoCliente"), QStringLiteral("No")) << "written when the row is left";
    pulsarFila(f.dbgListado, 1);
    EXPECT_EQ(campo(ana, "EnviadoCliente"), QStringLiteral("Si"));
    EXPECT_EQ(f.dbgListado->item(0, 4)->text(), QStringLiteral("Si"));
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Luis"})) << "the row stays until the next listing";

    teclear(f.dbgListado, 1, 6, QStringLiteral("Quiza"));
    pulsarFila(f.dbgListado, 0);
    EXPECT_EQ(campo(luis, "EnviadoInem"), QStringLiteral("No"));
    EXPECT_EQ(f.dbgListado->item(1, 6)->text(), QStringLiteral("No"));
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(msg().shown().back().text.contains(QStringLiteral("Si o No")));

    // A pending edit goes in before the listing runs again.
    teclear(f.dbgListado, 1, 8, QStringLiteral("SI"));
    f.cmdListar->click();
    EXPECT_EQ(campo(luis, "ReenviadoCliente"), QStringLiteral("Si"));
    EXPECT_EQ(nombres(f.dbgListado), QStringList{}) << "neither worker is all \"No\" now";
}

TEST_F(ListadosTest, ExpiryListingBetweenTwoDatesBothExcluded)
{
    empresa(u("Alfa"));
    const char* vencen[] = {"2009-01-01", "2009-01-30", "2009-01-02", "2009-01-31", "2009-01-15"};
    int n = 0;
    for (const char* fecha : vencen) {
        ++n;
        trabajador(u("Alfa"), n, QStringLiteral("T%1").arg(n), "NNNNN",
                   {{QStringLiteral("FechaVencimiento"), u(fecha)}, {QStringLiteral("FechaContrato"), u("2008-07-01")},
                    {QStringLiteral("NIF14"), QStringLiteral("1234%1X").arg(n)}, {QStringLiteral("NumEmpresa"), u("00007")}});
    }
    const qint64 sinFecha = trabajador(u("Alfa"), 9, QStringLiteral("T9"));
    auto& f = abrir();
    f.chkEnvCliente->setChecked(true);
    f.chkTodos->setChecked(true);
    EXPECT_FALSE(f.chkEnvCliente->isChecked());

    f.chkVencimientos->setChecked(true);
    EXPECT_FALSE(f.chkTodos->isChecked());
    EXPECT_TRUE(isShown(f.fraFechaVencimiento));
    EXPECT_EQ(f.mskDesde->Text(), QStringLiteral("__/__/____"));
    f.cmdListar->click();
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_FALSE(isShown(f.dbgListado));

    teclearFechas(f, "01012009", "31012009");
    f.cmdAceptar->click();
    EXPECT_FALSE(isShown(f.fraFechaVencimiento));
    EXPECT_TRUE(isShown(f.dbgListado1));
    EXPECT_EQ(filas(f.dbgListado1),
              (QStringList{"T3|3|00007|12343X|01/07/2008|02/01/2009", "T5|5|00007|12345X|01/07/2008|15/01/2009",
                           "T2|2|00007|12342X|01/07/2008|30/01/2009"}));
    EXPECT_EQ(f.dbgListado1->horizontalHeaderItem(2)->text(), u("Núm_Trabaj"));

    // Cells of the expiry listing go to their own fields of the worker.
    teclear(f.dbgListado1, 0, 6, QStringLiteral("28/02/2009"));
    teclear(f.dbgListado1, 0, 2, QStringLiteral("x1"));
    pulsarFila(f.dbgListado1, 1);
    EXPECT_EQ(msg().shown().size(), 1u) << "a number that is not whole refuses the whole row";
    teclear(f.dbgListado1, 1, 6, QStringLiteral("28/02/2009"));
    pulsarFila(f.dbgListado1, 0);
    EXPECT_EQ(AbrirBaseDatos().first(u(R"(SELECT COUNT(*) AS n FROM Trabajadores
                                          WHERE FechaVencimiento = '2009-02-28')"))->text(QStringLiteral("n")),
              QStringLiteral("1"));
    teclear(f.dbgListado1, 0, 6, QStringLiteral("31/02/2009"));
    pulsarFila(f.dbgListado1, 1);
    EXPECT_EQ(msg().shown().size(), 2u);
    EXPECT_EQ(f.dbgListado1->item(0, 6)->text(), QStringLiteral("02/01/2009"));

    // Bad dates close the frame with the message; equal dates list nobody, silently.
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
    const auto vistos = msg().shown().size();
    f.cmdAceptar->click();
    EXPECT_EQ(f.dbgListado1->RecordCount(), 0);
    EXPECT_EQ(msg().shown().size(), vistos);
    EXPECT_EQ(campo(sinFecha, "FechaVencimiento"), QStringLiteral("-"));
}

TEST_F(ListadosTest, EachActivationReadsTheCompaniesAgainAndVolverGoesToTheMainWindow)
{
    empresa(u("Alfa"));
    empresa(u("Beta"));
    auto& f = abrir();
    seleccionar(f, {u("Beta")});

    f.cmdAyuda->click();
    f.cmdListar->click();
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Listar : "));
    EXPECT_FALSE(isShown(f.dbgListado));
    f.cmdAyuda->click();
    f.cmdImprimir->click();
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Imprimir : "));
    EXPECT_FALSE(frmAyuda::ModoAyuda);

    ayuda->cmdCerrar->click();
    EXPECT_EQ(f.lstEmpresas->count(), 2);
    EXPECT_TRUE(f.lstEmpresas->selectedItems().isEmpty());

    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    f.cmdSalir->click();
    EXPECT_EQ(Forms::loaded<frmListados>(), nullptr);
    EXPECT_NE(Forms::loaded<frmMenu>(), nullptr);
}

TEST_F(ListadosTest, BothListingsPrintTheRowsHeldInLandscapeCourier)
{
    empresa(u("Alfa"));
    empresa(u("Beta"));
    trabajador(u("Beta"), 1, u("Bruno Largo Apellido Segundo Nombre"), "SNNNN",
               {{QStringLiteral("FechaVencimiento"), u("2009-03-10")}, {QStringLiteral("NIF14"), u("11111111H")}});
    trabajador(u("Alfa"), 2, u("Ana"), "SNNNN",
               {{QStringLiteral("FechaVencimiento"), u("2009-03-05")}, {QStringLiteral("NumEmpresa"), u("00001")},
                {QStringLiteral("FechaContrato"), u("2008-09-05")}});
    auto& f = abrir();
    fakePrinter().pdfPath = driveC.filePath(QStringLiteral("listado.pdf"));

    seleccionar(f, {u("Alfa"), u("Beta")});
    f.chkEnvCliente->setChecked(true);
    f.cmdListar->click();
    f.cmdImprimir->click();
    ASSERT_EQ(fakePrinter().printouts.size(), 1u);
    EXPECT_EQ(fakePrinter().printouts.back().orientation, platform::Orientation::Landscape);
    EXPECT_EQ(fakePrinter().find(u("LISTADO ESTADO DE CONTRATOS:"))->font, (platform::PrintFont{"Courier", 11, true, true}));
    EXPECT_EQ(fakePrinter().find(u("Reenviado Cl"))->font, (platform::PrintFont{"Courier", 10, true, false}));
    EXPECT_EQ(fakePrinter().find(u("Ana"))->font, (platform::PrintFont{"Courier", 10}));
    const QStringList pagina = fakePrinter().page();
    EXPECT_EQ(pagina.mid(0, 4), (QStringList{{}, u("    LISTADO ESTADO DE CONTRATOS:"), {},
                                             u("    Fecha Listado : 06/12/2026")}));
    EXPECT_EQ(pagina.mid(5),
              (QStringList{u("    Nombre Trabajador              Nombre Empresa.               Enviado Cl.  "
                             "Devuelto Cl.  Enviado INEM  Recogido INEM   Reenviado Cl"),
                           u("    Ana                            Alfa                               Si           "
                             "No            No             No           No"),
                           u("    Bruno Largo Apellido Segundo Nombre"),
                           u("                                   Beta                               Si           "
                             "No            No             No           No")}));
    EXPECT_TRUE(testing_support::appearInOrder(
        testing_support::pdfText(fakePrinter().pdfPath),
        {u("LISTADO ESTADO DE CONTRATOS:"), u("Fecha Listado : 06/12/2026"), u("Nombre Trabajador"),
         u("Reenviado Cl\n"), u("Ana"), u("Alfa"), u("Bruno Largo"), u("Beta")}));

    // After an expiry listing its own layout, whatever the boxes say.
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01032009", "31032009");
    f.cmdAceptar->click();
    f.chkVencimientos->setChecked(false);
    f.cmdImprimir->click();
    EXPECT_TRUE(testing_support::appearInOrder(
        testing_support::pdfText(fakePrinter().pdfPath),
        {u("LISTADO VENCIMIENTOS:"), u("Fecha Listado : 06/12/2026"), u("Núm. Trabaj."), u("Núm. emp."), u("NIF"),
         u("Fecha Contrato"), u("Fecha Vencimiento"), u("Ana"), u("00001"), u("05/09/2008"), u("05/03/2009"),
         u("Bruno"), u("11111111H"), u("10/03/2009")}));
    EXPECT_EQ(fakePrinter().page().at(6),
              u("    Ana                            2            00001     ") + QString(14, QLatin1Char(' '))
                  + u("05/09/2008     05/03/2009"))
        << "a field without value prints nothing";

    // Nothing held: the message, and the page with its headings all the same.
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01012001", "02012001");
    f.cmdAceptar->click();
    f.cmdImprimir->click();
    EXPECT_EQ(msg().shown().back().text, u("No hay ningun registro a imprimir"));
    EXPECT_EQ(msg().shown().back().style, 64);
    EXPECT_EQ(fakePrinter().page().size(), 6);
    EXPECT_TRUE(testing_support::pdfText(fakePrinter().pdfPath).contains(u("Fecha Vencimiento")));

    // A cancelled printer dialog prints nothing.
    fakePrinter().cancel = true;
    f.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.size(), 3u);
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

    auto& empresas = Forms::show<frmEmpresas>();
    QTest::mouseClick(empresas.cmdListados, Qt::LeftButton);
    auto* f = Forms::loaded<frmListados>();
    ASSERT_NE(f, nullptr);
    QApplication::setActiveWindow(f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    const auto pulsarEmpresa = [&](int fila, Qt::KeyboardModifiers teclas) {
        QTest::mouseClick(f->lstEmpresas->viewport(), Qt::LeftButton, teclas,
                          f->lstEmpresas->visualItemRect(f->lstEmpresas->item(fila)).center());
    };
    pulsarEmpresa(0, {});
    pulsarEmpresa(1, Qt::ControlModifier);
    QTest::mouseClick(f->chkEnvCliente, Qt::LeftButton);
    QTest::mouseClick(f->cmdListar, Qt::LeftButton);
    EXPECT_EQ(nombres(f->dbgListado), (QStringList{"Bea", "Jaime", "Olga", "Pilar"}));
    QTest::mouseClick(f->cmdImprimir, Qt::LeftButton);

    const QString pdf = testing_support::pdfText(fakePrinter().pdfPath);
    EXPECT_TRUE(testing_support::appearInOrder(pdf, {u("Reenviado Cl"), u("Bea"), u("Aceros Norte"), u("Jaime"),
                                                      u("Aceros Norte"), u("Olga"), u("Obras Sur"), u("Pilar")}));
    EXPECT_FALSE(pdf.contains(u("Nico")));
    EXPECT_FALSE(pdf.contains(u("Ciro")));
}
