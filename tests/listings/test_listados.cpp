#include "TervaloTest.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "companies/frmEmpresas.h"
#include "listings/frmListados.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using platform::Forms;
using platform::isShown;
using platform::Row;
using testing_support::pulsarFila;

class ListadosTest : public testing_support::BaseDatosTest {
protected:
    void empresa(const QString& nombre) { insertar("Empresas", {{"NombreEmpresa", nombre}}); }
    // A worker of a company, its five flags given as "SNNNN" ('S' for "Si").
    qint64 trabajador(const QString& empresa, int numero, const QString& nombre, const char* flags = "NNNNN",
                      Row extra = {})
    {
        extra.set(u("Empresa"), empresa);
        extra.set(u("IdEmpresa"), empresa);
        extra.set(u("NúmeroTrabajador"), numero);
        extra.set(u("NombreTrabajador"), nombre);
        const char* campos[] = {"EnviadoCliente", "RecibidoCliente", "EnviadoInem", "RecogidoInem", "ReenviadoCliente"};
        for (int i = 0; i < 5; ++i)
            extra.set(u(campos[i]), flags[i] == 'S' ? u("Si") : u("No"));
        return insertar("Trabajadores", extra);
    }
    QString campo(qint64 id, const char* nombre)
    {
        return columna(u(R"(SELECT "%1" FROM Trabajadores WHERE IdTrabajador = ?)").arg(u(nombre)), {id}).value(0);
    }

    static frmListados& abrir()
    {
        auto& f = Forms::show<frmListados>();
        activar(&f);
        return f;
    }
    static void seleccionar(frmListados& f, const QStringList& nombres)
    {
        f.lstEmpresas->clearSelection();
        for (const QString& nombre : nombres) {
            const auto encontradas = f.lstEmpresas->findItems(nombre, Qt::MatchExactly);
            ASSERT_FALSE(encontradas.isEmpty()) << nombre.toStdString();
            encontradas.front()->setSelected(true);
        }
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
    static QStringList nombres(const platform::DBGrid* grid) { return testing_support::textos(grid, 1); }
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
    // Both dates typed as the frame opens: "Desde", Tab, "Hasta".
    static void teclearFechas(frmListados& f, const char* desde, const char* hasta)
    {
        QTest::keyClicks(f.mskDesde, u(desde));
        QTest::keyClick(f.mskDesde, Qt::Key_Tab);
        ASSERT_TRUE(f.mskHasta->hasFocus());
        QTest::keyClicks(f.mskHasta, u(hasta));
    }
};

TEST_F(ListadosTest, EachCompanyIsListedWithItsOwnCopyOfTheExactState)
{
    // An imported company's name is padded to its field's width; it shows without the padding.
    const QString importada = u("Y'Ferro").leftJustified(30);
    for (const QString& nombre : {u("Xilema"), importada, u("Zeta")})
        empresa(nombre);
    trabajador(importada, 2, "Beatriz", "SNNNN");
    trabajador("Xilema", 7, "Carlos", "SNNNN");
    trabajador("Xilema", 3, "Ana", "SNNNN");
    trabajador("Xilema", 4, "Dora", "SSNNN");
    trabajador(importada, 1, "Elena", "NNNNN");
    trabajador("Zeta", 1, "Fermín", "SNNNN");
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

    // "Todos" unticks the flags and asks for any state; no flag ticked asks
    // for all five "No"; "Todas" for every company.
    clic(f.chkRecCliente);
    clic(f.chkTodos);
    for (QCheckBox* flag : {f.chkEnvCliente, f.chkRecCliente, f.chkEnvINEM, f.chkRecINEM, f.chkReeCliente})
        EXPECT_FALSE(flag->isChecked()) << flag->objectName().toStdString();
    seleccionar(f, {u("Xilema")});
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Dora", "Carlos"}));
    clic(f.chkTodos);
    seleccionar(f, {u("Xilema"), u("Y'Ferro")});
    f.cmdListar->click();
    EXPECT_EQ(nombres(f.dbgListado), QStringList{"Elena"});
    clic(f.chkTodos);
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
        todas << u("Empresa %1").arg(i, 2, 10, QLatin1Char('0'));
        empresa(todas.last());
        trabajador(todas.last(), 1, u("T%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    const QString limite = u("El número máximo de empresas que se pueden seleccuionar es 24.");
    auto& f = abrir();
    seleccionar(f, todas);
    f.cmdListar->click();
    EXPECT_EQ(msg().texts(), QStringList{limite});
    EXPECT_EQ(nombres(f.dbgListado).last(), u("T24"));
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
    empresa("Alfa");
    const qint64 ana = trabajador("Alfa", 1, "Ana", "NNNNN", {{u("FechaVencimiento"), "2009-01-10"}});
    const qint64 luis = trabajador("Alfa", 2, "Luis", "NNNNN", {{u("FechaVencimiento"), "2009-01-20"}});
    auto& f = abrir();
    seleccionar(f, {u("Alfa")});
    f.cmdListar->click();

    teclear(f.dbgListado, 0, 4, u("si"));
    EXPECT_EQ(campo(ana, "EnviadoCliente"), u("No")) << "written when the row is left";
    pulsarFila(f.dbgListado, 1);
    EXPECT_EQ(campo(ana, "EnviadoCliente"), u("Si"));
    EXPECT_EQ(nombres(f.dbgListado), (QStringList{"Ana", "Luis"})) << "the row stays until the next listing";

    teclear(f.dbgListado, 1, 6, u("Quiza"));
    pulsarFila(f.dbgListado, 0);
    EXPECT_EQ(campo(luis, "EnviadoInem"), u("No"));
    EXPECT_EQ(f.dbgListado->item(1, 6)->text(), u("No"));
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown().back().style, 16);

    // A pending edit goes in before the listing runs again.
    teclear(f.dbgListado, 1, 8, u("SI"));
    f.cmdListar->click();
    EXPECT_EQ(campo(luis, "ReenviadoCliente"), u("Si"));

    // The expiry listing's columns are the worker's own fields; one bad cell refuses its row.
    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01012009", "31012009");
    f.cmdAceptar->click();
    teclear(f.dbgListado1, 0, 6, u("28/02/2009"));
    teclear(f.dbgListado1, 0, 2, u("x1"));
    pulsarFila(f.dbgListado1, 1);
    EXPECT_EQ(campo(ana, "FechaVencimiento"), u("2009-01-10"));
    teclear(f.dbgListado1, 1, 6, u("28/02/2009"));
    pulsarFila(f.dbgListado1, 0);
    EXPECT_EQ(campo(luis, "FechaVencimiento"), u("2009-02-28"));
    teclear(f.dbgListado1, 0, 6, u("31/02/2009"));
    pulsarFila(f.dbgListado1, 1);
    EXPECT_EQ(msg().shown().size(), 4u);
    EXPECT_EQ(f.dbgListado1->item(0, 6)->text(), u("10/01/2009"));

    // A blank over the worker's name, number or NIF or the company's number is refused.
    const QStringList guardados = BaseDatosTest::filas("Trabajadores");
    for (int columna : {1, 2, 3, 4}) {
        teclear(f.dbgListado1, 1, columna, u(" "));
        pulsarFila(f.dbgListado1, 0);
    }
    EXPECT_EQ(msg().texts().mid(4),
              (QStringList{u("El nombre del trabajador no puede quedar en blanco. Se mantiene el valor guardado."),
                           u("El número de trabajador no puede quedar en blanco. Se mantiene el valor guardado."),
                           u("El número de empresa no puede quedar en blanco. Se mantiene el valor guardado."),
                           u("El NIF del trabajador no puede quedar en blanco. Se mantiene el valor guardado.")}));
    EXPECT_EQ(BaseDatosTest::filas("Trabajadores"), guardados);
}

// Keyboard alone over both grids: Tab and Shift+Tab leave a grid for the next
// or the previous control with its row as it was, from a cell being typed
// into too; the arrows move the rows. A blank typed over a worker's name is
// refused when the row is left, and nothing is written.
TEST_F(ListadosTest, TabLeavesEitherGridWithItsRowAndABlankNameIsRefused)
{
    empresa("Alfa");
    trabajador("Alfa", 1, "Ana", "SNNNN", {{u("FechaVencimiento"), u("2009-01-10")}});
    trabajador("Alfa", 2, "Luis", "SNNNN", {{u("FechaVencimiento"), u("2009-01-20")}});
    const QStringList guardados = BaseDatosTest::filas("Trabajadores");
    const auto pulsar = [](Qt::Key tecla) {
        QTest::keyClick(QApplication::focusWidget(), tecla,
                        tecla == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    };
    const QString rechazo = u("El nombre del trabajador no puede quedar en blanco. Se mantiene el valor guardado.");
    auto& f = abrir();
    seleccionar(f, {u("Alfa")});
    clic(f.chkEnvCliente);
    clic(f.cmdListar);

    for (platform::DBGrid* grid : {f.dbgListado, f.dbgListado1}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        if (grid == f.dbgListado1) {
            clic(f.chkVencimientos);
            teclearFechas(f, "01012009", "31012009");
            clic(f.cmdAceptar);
        }
        const std::size_t avisos = msg().shown().size();
        f.cmdListar->setFocus();
        pulsar(Qt::Key_Backtab);
        ASSERT_EQ(QApplication::focusWidget(), grid);
        pulsar(Qt::Key_Down);
        EXPECT_EQ(grid->Row(), 1);
        // A stray Space opens the name's cell with a blank in it; Tab leaves it
        // pending and goes on to "Listar.", Shift+Tab comes back to the same row.
        pulsar(Qt::Key_Space);
        pulsar(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), f.cmdListar);
        pulsar(Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), grid);
        EXPECT_EQ(grid->Row(), 1);
        EXPECT_EQ(msg().shown().size(), avisos);
        pulsar(Qt::Key_Up);
        EXPECT_EQ(grid->Row(), 0);
        ASSERT_EQ(msg().shown().size(), avisos + 1);
        EXPECT_EQ(msg().shown().back().text, rechazo);
        EXPECT_EQ(grid->item(1, 1)->text(), u("Luis"));
        EXPECT_EQ(BaseDatosTest::filas("Trabajadores"), guardados);
    }
}

// Where the grid has room, both listings show every heading and every value
// whole, and share out what is left.
TEST_F(ListadosTest, WhereTheStatusGridHasRoomEveryHeadingAndValueShowsWhole)
{
    const QString empresa = u("CONSTRUCCIONES SL");
    ListadosTest::empresa(empresa);
    const Row datos{{u("NumSS"), u("25/12345678/40")}};
    trabajador(empresa, 1, u("ETXEBERRIA GOIKOETXEA"), "SNNNN", datos);
    trabajador(empresa, 2, u("ETXEBERRIA GOIKOETXEA, JON ANDONI"), "NNNNN", datos);
    auto& f = abrir();
    const auto enteras = [](platform::DBGrid* grid) {
        SCOPED_TRACE(grid->objectName().toStdString());
        int total = 0;
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (grid->isColumnHidden(c))
                continue;
            const int necesita = std::max(grid->horizontalHeader()->sectionSizeHint(c),
                                          static_cast<QAbstractItemView*>(grid)->sizeHintForColumn(c));
            EXPECT_GE(grid->columnWidth(c), necesita) << grid->horizontalHeaderItem(c)->text().toStdString();
            total += grid->columnWidth(c);
        }
        EXPECT_EQ(total, grid->viewport()->width());
    };
    clic(f.chkTodas);
    clic(f.chkEnvCliente);
    clic(f.cmdListar);
    enteras(f.dbgListado);
}

TEST_F(ListadosTest, ExpiryListingBetweenTwoDatesBothExcluded)
{
    empresa("Alfa");
    int n = 0;
    for (const char* fecha : {"2009-01-01", "2009-01-30", "2009-01-02", "2009-01-31", "2009-01-15"}) {
        ++n;
        trabajador("Alfa", n, u("T%1").arg(n), "NNNNN",
                   {{u("FechaVencimiento"), u(fecha)}, {u("FechaContrato"), u("2008-07-01")},
                    {u("NIF14"), u("1234%1X").arg(n)}, {u("NumEmpresa"), u("00007")}});
    }
    trabajador("Alfa", 9, "T9");
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
    EXPECT_EQ(msg().shown().back().text, u("Una de las fechas no es valida."));
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
    empresa("Alfa");
    empresa("Beta");
    // A name that fills its column to the last character.
    trabajador("Beta", 1, "Bruno Díaz Fernández de la Vega", "SNNNN",
               {{u("FechaVencimiento"), u("2009-03-10")}});
    trabajador("Alfa", 2, "Ana", "SNNNN",
               {{u("FechaVencimiento"), u("2009-03-05")}, {u("NumEmpresa"), u("00001")},
                {u("FechaContrato"), u("2008-09-05")}});
    auto& f = abrir();
    fakePrinter().pdfPath = driveC.filePath(u("listado.pdf"));

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
                           u("    Bruno Díaz Fernández de la Vega"),
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
    // The printer's queue shows each job by its listing's title.
    EXPECT_EQ(fakePrinter().printouts.front().title, u("LISTADO ESTADO DE CONTRATOS"));
    EXPECT_EQ(fakePrinter().printouts.back().title, u("LISTADO VENCIMIENTOS"));

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
    trabajador("Obras Sur", 12, "Pilar", "SNNNN");
    trabajador("Aceros Norte", 7, "Jaime", "SNNNN");
    trabajador("Obras Sur", 3, "Olga", "SNNNN");
    trabajador("Aceros Norte", 2, "Bea", "SNNNN");
    trabajador("Aceros Norte", 4, "Nico", "NNNNN");
    trabajador("Cuero Este", 1, "Ciro", "SNNNN");
    fakePrinter().pdfPath = driveC.filePath(u("estado.pdf"));

    clic(Forms::show<frmEmpresas>().cmdListados);
    EXPECT_EQ(Forms::loaded<frmEmpresas>(), nullptr);
    auto& f = *Forms::loaded<frmListados>();
    activar(&f);
    const auto pulsarEmpresa = [&](int fila, Qt::KeyboardModifiers teclas) {
        QTest::mouseClick(f.lstEmpresas->viewport(), Qt::LeftButton, teclas,
                          f.lstEmpresas->visualItemRect(f.lstEmpresas->item(fila)).center());
    };
    pulsarEmpresa(0, {});
    pulsarEmpresa(1, Qt::ControlModifier);
    clic(f.chkEnvCliente);
    clic(f.cmdListar);
    clic(f.cmdImprimir);
    const QString pdf = testing_support::pdfText(fakePrinter().pdfPath);
    EXPECT_TRUE(testing_support::appearInOrder(pdf, {u("Reenviado Cl"), u("Bea"), u("Aceros Norte"), u("Jaime"),
                                                      u("Aceros Norte"), u("Olga"), u("Obras Sur"), u("Pilar")}));
    EXPECT_FALSE(pdf.contains(u("Nico")));
    EXPECT_FALSE(pdf.contains(u("Ciro")));

    // Help, and each return to the window reads the companies again, unselected.
    clic(f.cmdAyuda);
    clic(f.cmdListar);
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Listar : "));
    EXPECT_EQ(ayuda->txtAyuda->toPlainText(),
              u("Obtendremos un listado con los trabajadores que cumplan las especificaciones marcadas en el cuadro "
                "de la izquierda, en el que indicaremos el estado de contratos que deseamos visualizar y de que "
                "empresas."));
    ayuda->cmdCerrar->click();
    EXPECT_EQ(f.lstEmpresas->count(), 3);
    EXPECT_TRUE(f.lstEmpresas->selectedItems().isEmpty());

    instalado();
    clic(f.cmdSalir);
    EXPECT_EQ(Forms::loaded<frmListados>(), nullptr);
    EXPECT_NE(Forms::loaded<frmMenu>(), nullptr);
}

// Five workers, each with a value of its own in every field and with one flag
// "Si", each a different one: every box asks for its own flag, and every
// field stands in its own column of the grids and of both printed layouts.
TEST_F(ListadosTest, EveryFieldStandsInItsOwnColumnAndEveryBoxAsksForItsOwnFlag)
{
    const char* flags[] = {"SNNNN", "NSNNN", "NNSNN", "NNNSN", "NNNNS"};
    for (int k = 0; k < 5; ++k) {
        trabajador(u("Empresa %1").arg(k), k + 1, u("Trabajador %1").arg(k), flags[k],
                   {{u("NumSS"), u("0%1/1234567%1/9%1").arg(k)},
                    {u("NumEmpresa"), u("7000%1").arg(k)},
                    {u("NIF14"), u("1234567%1X").arg(k)},
                    {u("FechaContrato"), u("2008-0%1-1%1").arg(k + 1)},
                    {u("FechaVencimiento"), u("2009-0%1-2%1").arg(k + 1)}});
    }
    auto& f = abrir();
    QCheckBox* cajas[] = {f.chkEnvCliente, f.chkRecCliente, f.chkEnvINEM, f.chkRecINEM, f.chkReeCliente};
    f.chkTodas->setChecked(true);
    for (int k = 0; k < 5; ++k) {
        for (QCheckBox* caja : cajas)
            caja->setChecked(caja == cajas[k]);
        f.cmdListar->click();
        EXPECT_EQ(nombres(f.dbgListado), QStringList{u("Trabajador %1").arg(k)}) << cajas[k]->text().toStdString();
    }

    f.chkTodos->setChecked(true);
    f.cmdListar->click();
    QStringList esperadas;
    for (int k = 0; k < 5; ++k) {
        QStringList marcas;
        for (int i = 0; i < 5; ++i)
            marcas << (i == k ? u("Si") : u("No"));
        esperadas << u("Trabajador %1|Empresa %1|0%1/1234567%1/9%1|").arg(k) + marcas.join(QLatin1Char('|'));
    }
    EXPECT_EQ(filas(f.dbgListado), esperadas);
    f.cmdImprimir->click();
    const QStringList estado = fakePrinter().page().mid(6);
    ASSERT_EQ(estado.size(), 5);
    const int columnaSi[] = {71, 84, 98, 113, 126};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(estado[k].indexOf(u("Trabajador %1").arg(k)) + 1, 5) << estado[k].toStdString();
        EXPECT_EQ(estado[k].indexOf(u("Empresa %1").arg(k)) + 1, 36) << estado[k].toStdString();
        EXPECT_EQ(estado[k].indexOf(u("Si")) + 1, columnaSi[k]) << estado[k].toStdString();
    }

    f.chkVencimientos->setChecked(true);
    teclearFechas(f, "01012009", "31122009");
    f.cmdAceptar->click();
    f.cmdImprimir->click();
    const QStringList vencimientos = fakePrinter().page().mid(6);
    ASSERT_EQ(vencimientos.size(), 5);
    for (int k = 0; k < 5; ++k) {
        const std::pair<QString, int> columnas[] = {
            {u("Trabajador %1").arg(k), 5},     {u(" %1 ").arg(k + 1), 35}, // the number after its blank
            {u("7000%1").arg(k), 49},           {u("1234567%1X").arg(k), 59},
            {u("1%1/0%1/2008").arg(k + 1), 73}, {u("2%1/0%1/2009").arg(k + 1), 88}};
        for (const auto& [valor, columna] : columnas)
            EXPECT_EQ(vencimientos[k].indexOf(valor) + 1, columna)
                << valor.toStdString() << " in " << vencimientos[k].toStdString();
    }
}
