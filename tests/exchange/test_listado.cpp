#include "Registros.h"

#include "app/frmMenu.h"
#include "common/frmMensaje.h"
#include "exchange/Buscar.h"
#include "exchange/frmListadoImportados.h"
#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "production/ContratoImportado.h"
#include "production/frmEleccionContrato.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace exchange;
using platform::Forms;
using platform::isShown;

namespace {

QStringList entradas(const QListWidget* lista)
{
    QStringList textos;
    for (int i = 0; i < lista->count(); ++i)
        textos << lista->item(i)->text();
    return textos;
}

} // namespace

using ListadoTest = ExchangeTest;

TEST_F(ListadoTest, TheFetchedFolderListsItsPlainFilesByNameIgnoringCase)
{
    auto& menu = abrirMenu();
    for (const char* nombre : {"ab2", "AB1", "Ab3", ".AB4.part"})
        dejar(kContratosImp, u(nombre), "x");
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosImp\\AB5"));
    menu.List1->addItem(u("de antes"));

    BuscarImportados();

    const QString carpeta = u("c:\\Quelvan\\Dorvane\\ContratosImp\\");
    EXPECT_EQ(entradas(menu.List1), (QStringList{carpeta + u("AB1"), carpeta + u("ab2"), carpeta + u("Ab3")}));
    EXPECT_EQ(FicherosImportados, 3);
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text + msg().shown()[0].title, u("Se encontraron 3 ContratosMenú Principal"));

    // A folder that is gone lists nothing and says why.
    QDir(host(kContratosImp)).removeRecursively();
    BuscarImportados();
    EXPECT_EQ(menu.List1->count(), 0);
    ASSERT_EQ(msg().shown().size(), 3u);
    EXPECT_EQ(msg().shown()[1].style, 16);
    EXPECT_EQ(msg().shown()[2].text, u("No se encontraron ficheros"));
}

TEST_F(ListadoTest, ImportShowsTheCountersAndTheConflictsOfTheLatestRunOnly)
{
    auto& menu = abrirMenu();
    const qint64 id = empresa(u("1111"), u("B1"));
    for (int n = 1; n <= 3; ++n)
        trabajador(id, u("1111"), n, u("VIEJO"), u("TRABAJADOR %1").arg(n));
    empresa(u("2222"), u("B2"));
    const auto llega = [](int n, const char* nif) {
        dejar(kContratosImp, u("AB11110000%1").arg(n),
              registroDe(u("1111"), u("0000%1").arg(n), u("B1"), u(nif), u("ACME"), u("TRABAJADOR %1").arg(n)).bytes());
    };
    servidor().duringFetch = [&] {
        // The files arrive while the window waits, taking no input.
        for (int n = 1; n <= 3; ++n)
            llega(n, "NUEVO");
        dejar(kContratosImp, u("AB222200001"), registroDe(u("2222"), u("00001"), u("OTRO"), u("T")).bytes());
        EXPECT_FALSE(menu.cmdImportar->isEnabled() || menu.menuBar->isEnabled());
        menu.cmdImportar_Click();
        menu.close();
    };

    menu.cmdImportar->click();

    EXPECT_EQ(servidor().fetches.size(), 1u);
    EXPECT_TRUE(Forms::isLoaded(menu) && menu.cmdImportar->isEnabled());
    EXPECT_FALSE(Forms::loaded<frmImprimiendo>());
    EXPECT_EQ(msg().texts().first(), u("Se encontraron 4 Contratos"));
    EXPECT_EQ(msg().texts().last(), u("Ha finalizado la importación de contratos"));
    EXPECT_TRUE(isShown(menu.fraResultadosE) && isShown(menu.fraResultadosT));
    EXPECT_EQ((QStringList{menu.txtEmpresas->text(), menu.txtNuevasE->text(), menu.txtDiscordanciasE->text(),
                           menu.txtTrabajadores->text(), menu.txtNuevosT->text(), menu.txtDiscordanciasT->text()}),
              (QStringList{u("4"), u("0"), u("1"), u("4"), u("0"), u("3")}));
    EXPECT_TRUE(isShown(menu.cmdListadoE) && isShown(menu.cmdListadoT));
    menu.cmdListadoT->click();
    EXPECT_TRUE(isShown(menu.fraListado) && !isShown(menu.fraResultadosE));
    EXPECT_EQ(menu.lstDiscordancias->count(), 3);

    // A run with nothing to import shows the counters, every one 0, and
    // neither list button; the logs are still there.
    servidor().duringFetch = nullptr;
    QFile::remove(host(kDiscordanciasE));
    menu.cmdImportar_Click();
    EXPECT_FALSE(isShown(menu.fraListado));
    EXPECT_EQ((QStringList{menu.txtEmpresas->text(), menu.txtNuevasE->text(), menu.txtDiscordanciasE->text(),
                           menu.txtTrabajadores->text(), menu.txtNuevosT->text(), menu.txtDiscordanciasT->text()}),
              QStringList(6, u("0")));
    EXPECT_FALSE(isShown(menu.cmdListadoE) || isShown(menu.cmdListadoT));
    EXPECT_TRUE(exists(kDiscordanciasE) && exists(kDiscordanciasT));

    // The next run has one worker conflict and a file it cannot file.
    servidor().duringFetch = [&] {
        llega(2, "OTRO");
        llega(9, "N");
    };
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100009"));
    menu.cmdImportar_Click();

    EXPECT_EQ(menu.txtDiscordanciasT->text(), u("1"));
    EXPECT_FALSE(isShown(menu.cmdListadoE));
    menu.cmdListadoT->click();
    EXPECT_EQ(entradas(menu.lstDiscordancias), QStringList{u("TRABAJADOR 2").leftJustified(30)});
}

// The import's notice "Importando." steps aside while each box of the run
// is up, which would stand over it, and comes back once it is answered.
TEST_F(ListadoTest, TheImportNoticeStepsAsideWhileABoxIsUp)
{
    auto& menu = abrirMenu();
    dejar(kContratosImp, u("AB111100001"), registroDe(u("1111"), u("00001"), u("B1"), u("N")).bytes());
    platform::ScopedService<platform::MessageBoxes> enPantalla(platform::messageBoxesSlot(),
                                                               platform::makeDesktopMessageBoxes());
    const auto aviso = [] {
        const auto* notice = Forms::loaded<frmImprimiendo>();
        return notice && notice->isVisible() ? notice->lblImprimir->text() : u("no notice");
    };
    QStringList vistos;
    fakeDesktop().onActivate = [&](QWindow& caja) {
        if (auto* modal = QApplication::activeModalWidget()) {
            vistos << modal->findChild<QLabel*>(u("qt_msgbox_label"))->text() + u(" over ") + aviso();
            QTimer::singleShot(0, &caja, [&caja] { QTest::keyClick(&caja, Qt::Key_Return); });
        }
    };
    QTimer sinTeclado; // a box nobody answers is closed, and the test fails
    QObject::connect(&sinTeclado, &QTimer::timeout, [] {
        if (QWidget* caja = QApplication::activeModalWidget())
            caja->close();
    });
    sinTeclado.start(3000);

    servidor().duringFetch = [&] { vistos << u("fetching under ") + aviso(); };
    clic(menu.cmdImportar);
    EXPECT_EQ(vistos, (QStringList{u("fetching under Importando."), u("Se encontraron 1 Contratos over no notice"),
                                   u("Ha finalizado la importación de contratos over no notice")}));
    EXPECT_FALSE(Forms::loaded<frmImprimiendo>());

    // Answered, the box leaves the notice as it was.
    auto& notice = Forms::show<frmImprimiendo>();
    platform::MsgBox(u("Aviso."));
    EXPECT_EQ(vistos.last(), u("Aviso. over no notice"));
    EXPECT_EQ(aviso(), u("Importando."));
    fakeDesktop().onActivate = nullptr;
    Forms::unload(notice);
}

class ListadoImportadosTest : public ListadoTest {
protected:
    frmListadoImportados& abrirListado()
    {
        auto& menu = abrirMenu();
        menu.cmdListado->click();
        EXPECT_TRUE(menu.isHidden() && Forms::isLoaded(menu));
        return *Forms::loaded<frmListadoImportados>();
    }
    static QStringList fila(const platform::FlexGrid* grid, int r)
    {
        QStringList celdas;
        for (int c = 0; c < grid->Cols(); ++c)
            celdas << grid->TextMatrix(r, c);
        return celdas;
    }
};

TEST_F(ListadoImportadosTest, EachWaitingFileWithAStoredWorkerGetsARow)
{
    trabajador(empresa(u("1234"), u("B1")), u("1234"), 12, u("T"), u("ANA"));
    trabajador(empresa(u("77"), u("B2")), u("77   "), 5, u("T"), u("LUIS"));
    for (const char* nombre : {"123400012", "7700005", "9999900001", "ABC"})
        dejar(kContratosTemp, u(nombre), "registro");

    auto& lista = abrirListado();
    const auto* grid = lista.mshListadoImportados;

    EXPECT_EQ(lista.txtNum->text(), u("4"));
    EXPECT_TRUE(isShown(grid) && !isShown(lista.lblMensaje0Contratos));
    EXPECT_EQ(grid->Rows(), 5);
    EXPECT_EQ(fila(grid, 1), (QStringList{u("1"), u("00012"), u("ANA"), u("1234"), u("")}));
    EXPECT_EQ(fila(grid, 2), (QStringList{u("2"), u("00005"), u("LUIS"), u("77   "), u("")}));
    EXPECT_EQ(fila(grid, 3), (QStringList{u("3"), u("00001"), u(""), u("99999"), u("")}));
    EXPECT_EQ(grid->Row(), 1) << "the first data row is current";

    // "Realizar Contrato" hands the row to contract production, which finds
    // the row's file by the numbers in its header.
    lista.mshListadoImportados->setRow(2);
    lista.cmdRealizarContrato->click();
    EXPECT_FALSE(Forms::loaded<frmListadoImportados>());
    EXPECT_TRUE(Forms::get<frmMenu>().isHidden());
    auto* contrato = Forms::loaded<frmEleccionContrato>();
    ASSERT_TRUE(contrato && !contrato->isHidden());
    EXPECT_EQ((QStringList{contrato->txtNumTrabajador->text(), contrato->txtNombreTrabajador->text(),
                           contrato->txtNumEmpresa->text(), contrato->txtNombreEmpresa->text()}),
              (QStringList{u("00005"), u("LUIS"), u("77"), u("")}));
    EXPECT_EQ(contrato->OrigenDatos, 0);
    const auto ruta =
        contrato_importado::RutaRegistro(contrato->txtNumEmpresa->text(), contrato->txtNumTrabajador->text());
    EXPECT_TRUE(ruta && QFileInfo::exists(host(ruta->toUtf8().constData())));
}

// The main window, hidden while the list and the contract it leads to are
// open, comes back where it was: its place is given to the desktop, which
// would otherwise place it anew where it finds room.
TEST_F(ListadoImportadosTest, TheMainWindowComesBackWhereItWas)
{
    trabajador(empresa(u("1234"), u("B1")), u("1234"), 12, u("T"), u("ANA"));
    dejar(kContratosTemp, u("123400012"), "registro");
    auto& menu = abrirMenu();
    const QRect antes = menu.frameGeometry();

    EXPECT_EQ(&salirAlMenu(contratoDeImportado(u("1234"), 12)), &menu) << "hidden, not unloaded";
    EXPECT_FALSE(menu.isHidden());
    EXPECT_EQ(menu.frameGeometry(), antes);
    EXPECT_TRUE(menu.testAttribute(Qt::WA_Moved));
}

TEST_F(ListadoImportadosTest, TheColumnsFitTheGridWhateverTheScreen)
{
    trabajador(empresa(u("1234"), u("B1"), u("CONSTRUCCIONES Y REFORMAS DEL V")), u("1234"), 12, u("T"), u("ANA"));
    dejar(kContratosTemp, u("123400012"), "registro");
    for (const auto& [ancho, alto] : {std::pair{1024, 768}, std::pair{1280, 1024}}) {
        fakeScreen().setPixels(ancho, alto);
        auto& lista = abrirListado();
        const auto* grid = lista.mshListadoImportados;
        int columnas = 0;
        for (int c = 0; c < grid->Cols(); ++c)
            columnas += grid->columnWidth(c);
        EXPECT_LE(columnas, grid->viewport()->width()) << "the company name is cut off at " << ancho;
        lista.cmdSalir->click();
    }
}

TEST_F(ListadoImportadosTest, BorrarDeletesTheRowsFileAndListsAgain)
{
    const qint64 id = empresa(u("1234"), u("B1"));
    trabajador(id, u("1234"), 12, u("T"), u("ANA"));
    trabajador(id, u("1234"), 13, u("T"), u("EVA"));
    dejar(kContratosTemp, u("123400012"), "registro");
    dejar(kContratosTemp, u("123400013"), "registro");
    QStringList avisos;
    fakeClock().duringWait = [&](double segundos) {
        if (auto* mensaje = Forms::loaded<frmMensaje>())
            avisos << mensaje->lblMensaje->text() + QStringLiteral(" %1").arg(segundos);
    };

    auto& lista = abrirListado();
    lista.cmdBorrar->click();

    EXPECT_EQ(avisos, QStringList{u("ARCHIVO BORRADO. 2")});
    EXPECT_EQ(en(kContratosTemp), QStringList{u("123400013")});
    EXPECT_EQ(lista.txtNum->text() + lista.mshListadoImportados->TextMatrix(1, 2), u("1EVA"));

    // A file already gone only lists again; the window is then empty.
    QFile::remove(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\123400013"));
    lista.cmdBorrar->click();
    EXPECT_EQ(avisos.size(), 1);
    EXPECT_EQ(msg().texts(),
              (QStringList{u("No se encontraron Contratos"), u("No hay ningún contrato importado en memoria.")}));
    EXPECT_EQ(lista.txtNum->text(), u("0"));
    EXPECT_TRUE(!isShown(lista.mshListadoImportados) && isShown(lista.lblMensaje0Contratos));
    EXPECT_FALSE(lista.cmdBorrar->isEnabled() || lista.cmdRealizarContrato->isEnabled());

    // The close box leaves as "Volver." does.
    lista.close();
    EXPECT_FALSE(Forms::loaded<frmListadoImportados>());
    EXPECT_FALSE(Forms::get<frmMenu>().isHidden());
}

// Each column shows its own field of the worker, none of them alike.
TEST_F(ListadoImportadosTest, EveryColumnShowsItsOwnFieldOfTheWorker)
{
    insertar("Trabajadores",
             {{"IdEmpresa", "1"},
              {"NúmeroTrabajador", 7},
              {"NombreTrabajador", "NOMBRE DEL TRABAJADOR"},
              {"NumEmpresa", "12345"},
              {"Empresa", "NOMBRE DE LA EMPRESA"}});
    dejar(kContratosTemp, u("1234500007"), "registro");
    EXPECT_EQ(fila(abrirListado().mshListadoImportados, 1),
              (QStringList{u("1"), u("00007"), u("NOMBRE DEL TRABAJADOR"), u("12345"), u("NOMBRE DE LA EMPRESA")}));
}

// Every waiting file has its row and is counted: a stored worker's as
// stored, one whose worker is not stored with what is known (the numbers its
// name gives, the company's name when stored). "Borrar." removes each one;
// "Realizar Contrato" on a row without its worker says why it cannot.
TEST_F(ListadoImportadosTest, EveryFileCountedHasItsRowAndCanBeDeleted)
{
    trabajador(empresa(u("1234"), u("B1"), u("ACME S.L.")), u("1234"), 12, u("T"), u("ANA"));
    const std::pair<const char*, QStringList> casos[] = {
        {"123400012", {u("1"), u("00012"), u("ANA"), u("1234"), u("")}},
        {"1234ABCDE", {u("2"), u("ABCDE"), u(""), u("1234"), u("ACME S.L.")}}, // a worker number of letters
        {"9999900001", {u("3"), u("00001"), u(""), u("99999"), u("")}},
        {"ABC", {u("4"), u("ABC"), u(""), u(""), u("")}},
    };
    for (const auto& [fichero, celdas] : casos)
        dejar(kContratosTemp, u(fichero), "registro");

    auto& lista = abrirListado();
    EXPECT_EQ(lista.txtNum->text(), u("4"));
    EXPECT_EQ(lista.mshListadoImportados->Rows(), 5);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(fila(lista.mshListadoImportados, r), casos[r - 1].second);

    lista.mshListadoImportados->setRow(2);
    lista.cmdRealizarContrato->click();
    EXPECT_EQ(msg().texts(), QStringList{u("El trabajador del contrato importado 1234ABCDE no está en la base de "
                                           "datos: no se puede realizar su contrato.")});
    EXPECT_TRUE(Forms::isLoaded(lista) && !Forms::loaded<frmEleccionContrato>());

    for (int r = 4; r >= 1; --r) {
        lista.mshListadoImportados->setRow(r);
        lista.cmdBorrar->click();
        EXPECT_FALSE(en(kContratosTemp).contains(u(casos[r - 1].first)));
        EXPECT_EQ(lista.txtNum->text(), QString::number(r - 1));
    }
    EXPECT_TRUE(en(kContratosTemp).isEmpty());
}
