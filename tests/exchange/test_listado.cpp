#include "Registros.h"

#include "app/frmMenu.h"
#include "common/frmMensaje.h"
#include "exchange/Buscar.h"
#include "exchange/frmListadoImportados.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "production/ContratoImportado.h"
#include "production/frmEleccionContrato.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

using namespace exchange;
using platform::Forms;
using platform::isShown;
using testing_support::FakeFtp;

namespace {

QStringList entradas(const QListWidget* lista)
{
    QStringList textos;
    for (int i = 0; i < lista->count(); ++i)
        textos << lista->item(i)->text();
    return textos;
}

} // namespace

class ListadoTest : public ExchangeTest {
protected:
    FakeFtp& servidor() { return static_cast<FakeFtp&>(*ftp); }
    platform::ScopedService<platform::Ftp> ftp{platform::ftpSlot(), std::make_unique<FakeFtp>()};
};

TEST_F(ListadoTest, TheFetchedFolderListsItsPlainFilesByNameIgnoringCase)
{
    auto& menu = abrirMenu();
    for (const char* nombre : {"ab2", "AB1", "Ab3", ".AB4.part"})
        dejar(kContratosImp, q(nombre), "x");
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosImp\\AB5"));
    menu.List1->addItem(q("de antes"));

    BuscarImportados();

    const QString carpeta = q("c:\\Quelvan\\Dorvane\\ContratosImp\\");
    EXPECT_EQ(entradas(menu.List1), (QStringList{carpeta + q("AB1"), carpeta + q("ab2"), carpeta + q("Ab3")}));
    EXPECT_EQ(FicherosImportados, 3);
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text + msg().shown()[0].title, q("Se encontraron 3 ContratosMenú Principal"));

    // A folder that is gone lists nothing and says why.
    QDir(host(kContratosImp)).removeRecursively();
    BuscarImportados();
    EXPECT_EQ(menu.List1->count(), 0);
    ASSERT_EQ(msg().shown().size(), 3u);
    EXPECT_EQ(msg().shown()[1].style, 16);
    EXPECT_EQ(msg().shown()[2].text, q("No se encontraron ficheros"));
}

TEST_F(ListadoTest, ImportShowsTheCountersAndTheConflictsOfTheLatestRunOnly)
{
    auto& menu = abrirMenu();
    const qint64 id = empresa(q("1111"), q("B1"));
    for (int n = 1; n <= 3; ++n)
        trabajador(id, q("1111"), n, q("VIEJO"), q("TRABAJADOR %1").arg(n));
    empresa(q("2222"), q("B2"));
    const auto llega = [](int n, const char* nif) {
        dejar(kContratosImp, q("AB11110000%1").arg(n),
              registroDe(q("1111"), q("0000%1").arg(n), q("B1"), q(nif), q("ACME"), q("TRABAJADOR %1").arg(n)).bytes());
    };
    servidor().duringFetch = [&] {
        // The files arrive while the window waits, taking no input.
        for (int n = 1; n <= 3; ++n)
            llega(n, "NUEVO");
        dejar(kContratosImp, q("AB222200001"), registroDe(q("2222"), q("00001"), q("OTRO"), q("T")).bytes());
        EXPECT_FALSE(menu.cmdImportar->isEnabled() || menu.menuBar->isEnabled());
        menu.cmdImportar_Click();
        menu.close();
    };

    menu.cmdImportar->click();

    ASSERT_EQ(servidor().fetches.size(), 1u);
    const FakeFtp::Fetch& pedido = servidor().fetches[0];
    EXPECT_EQ(pedido.account.host, q("127.0.0.1"));
    EXPECT_EQ(pedido.account.user + ':' + pedido.account.password, QByteArray("tervalo:clave"));
    EXPECT_EQ(pedido.serverFolder + ' ' + pedido.prefix, QByteArray("/OSKA/CONTRATOS AB"));
    EXPECT_TRUE(Forms::isLoaded(menu) && menu.cmdImportar->isEnabled());
    EXPECT_FALSE(Forms::loaded<frmImprimiendo>());
    EXPECT_EQ(msg().texts().first(), q("Se encontraron 4 Contratos"));
    EXPECT_EQ(msg().texts().last(), q("Ha finalizado la importación de contratos"));
    EXPECT_TRUE(isShown(menu.fraResultadosE) && isShown(menu.fraResultadosT));
    EXPECT_EQ((QStringList{menu.txtEmpresas->text(), menu.txtNuevasE->text(), menu.txtDiscordanciasE->text(),
                           menu.txtTrabajadores->text(), menu.txtNuevosT->text(), menu.txtDiscordanciasT->text()}),
              (QStringList{q("4"), q("0"), q("1"), q("4"), q("0"), q("3")}));
    EXPECT_TRUE(isShown(menu.cmdListadoE) && isShown(menu.cmdListadoT));
    menu.cmdListadoT->click();
    EXPECT_TRUE(isShown(menu.fraListado) && !isShown(menu.fraResultadosE));
    EXPECT_EQ(menu.lstDiscordancias->count(), 3);

    // The next run has one worker conflict and stops on a file it cannot move.
    servidor().duringFetch = [&] {
        llega(2, "OTRO");
        llega(9, "N");
    };
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100009"));
    menu.cmdImportar_Click();

    EXPECT_FALSE(isShown(menu.fraListado)) << "a new import shows the counters";
    EXPECT_EQ(menu.txtDiscordanciasT->text(), q("1"));
    EXPECT_FALSE(isShown(menu.cmdListadoE));
    menu.cmdListadoT->click();
    EXPECT_EQ(entradas(menu.lstDiscordancias), QStringList{q("TRABAJADOR 2").leftJustified(30)});
}

TEST_F(ListadoTest, ABlankServerAddressFetchesNothing)
{
    auto& menu = abrirMenu(q("   "));
    menu.cmdTablas_Click();
    menu.List1->addItem(q("de antes"));

    menu.cmdImportar_Click();

    EXPECT_EQ(msg().texts(), QStringList{q("No se ha introducido una IP de servidor.")});
    EXPECT_TRUE(servidor().fetches.empty());
    EXPECT_EQ(menu.List1->count(), 0);
    EXPECT_FALSE(isShown(menu.fraMantenimientos) || isShown(menu.fraResultadosE));
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
    trabajador(empresa(q("1234"), q("B1")), q("1234"), 12, q("T"), q("ANA"));
    trabajador(empresa(q("77"), q("B2")), q("77   "), 5, q("T"), q("LUIS"));
    for (const char* nombre : {"123400012", "7700005", "9999900001", "ABC"})
        dejar(kContratosTemp, q(nombre), "registro");

    auto& lista = abrirListado();
    const auto* grid = lista.mshListadoImportados;

    EXPECT_EQ(lista.txtNum->text(), q("4"));
    EXPECT_TRUE(isShown(grid) && !isShown(lista.lblMensaje0Contratos));
    EXPECT_EQ(grid->Rows(), 5);
    EXPECT_EQ(fila(grid, 1), (QStringList{q("1"), q("00012"), q("ANA"), q("1234"), q("")}));
    EXPECT_EQ(fila(grid, 2), (QStringList{q("2"), q("00005"), q("LUIS"), q("77   "), q("")}));
    EXPECT_EQ(fila(grid, 3), QStringList(5, QString()));
    EXPECT_EQ(grid->Row(), 1) << "the first data row is current";

    // On a row without a worker the buttons do nothing.
    lista.mshListadoImportados->setRow(4);
    lista.cmdBorrar->click();
    lista.cmdRealizarContrato->click();
    EXPECT_EQ(en(kContratosTemp).size(), 4);
    EXPECT_TRUE(Forms::isLoaded(lista));

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
              (QStringList{q("00005"), q("LUIS"), q("77"), q("")}));
    EXPECT_EQ(contrato->OrigenDatos, 0);
    const auto ruta =
        contrato_importado::RutaRegistro(contrato->txtNumEmpresa->text(), contrato->txtNumTrabajador->text());
    EXPECT_TRUE(ruta && QFileInfo::exists(host(ruta->toUtf8().constData())));
}

TEST_F(ListadoImportadosTest, TheColumnsFitTheGridWhateverTheScreen)
{
    trabajador(empresa(q("1234"), q("B1"), q("CONSTRUCCIONES Y REFORMAS DEL V")), q("1234"), 12, q("T"), q("ANA"));
    dejar(kContratosTemp, q("123400012"), "registro");
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
    const qint64 id = empresa(q("1234"), q("B1"));
    trabajador(id, q("1234"), 12, q("T"), q("ANA"));
    trabajador(id, q("1234"), 13, q("T"), q("EVA"));
    dejar(kContratosTemp, q("123400012"), "registro");
    dejar(kContratosTemp, q("123400013"), "registro");
    QStringList avisos;
    fakeClock().duringWait = [&](double segundos) {
        if (auto* mensaje = Forms::loaded<frmMensaje>())
            avisos << mensaje->lblMensaje->text() + QStringLiteral(" %1").arg(segundos);
    };

    auto& lista = abrirListado();
    lista.cmdBorrar->click();

    EXPECT_EQ(avisos, QStringList{q("ARCHIVO BORRADO. 2")});
    EXPECT_EQ(en(kContratosTemp), QStringList{q("123400013")});
    EXPECT_EQ(lista.txtNum->text() + lista.mshListadoImportados->TextMatrix(1, 2), q("1EVA"));

    // A file already gone only lists again; the window is then empty.
    QFile::remove(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\123400013"));
    lista.cmdBorrar->click();
    EXPECT_EQ(avisos.size(), 1);
    EXPECT_EQ(msg().texts(),
              (QStringList{q("No se encontraron Contratos"), q("No hay ningún contrato importado en memoria.")}));
    EXPECT_EQ(lista.txtNum->text(), q("0"));
    EXPECT_TRUE(!isShown(lista.mshListadoImportados) && isShown(lista.lblMensaje0Contratos));
    EXPECT_FALSE(lista.cmdBorrar->isEnabled() || lista.cmdRealizarContrato->isEnabled());

    // The close box leaves as "Volver." does.
    lista.close();
    EXPECT_FALSE(Forms::loaded<frmListadoImportados>());
    EXPECT_FALSE(Forms::get<frmMenu>().isHidden());
}
