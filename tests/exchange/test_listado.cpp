#include "Registros.h"

#include "app/frmMenu.h"
#include "common/frmMensaje.h"
#include "exchange/Buscar.h"
#include "exchange/frmListadoImportados.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

#include <QDir>
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

QString q(const char* texto)
{
    return QString::fromUtf8(texto);
}

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
    // Lays a file in ContratosTemp, waiting for a contract.
    static void esperando(const char* nombre)
    {
        writeFile((QString::fromLatin1(kContratosTemp) + QLatin1Char('\\') + QString::fromUtf8(nombre)).toUtf8().constData(),
                  "registro");
    }

    FakeFtp& servidor() { return static_cast<FakeFtp&>(*ftp); }
    platform::ScopedService<platform::Ftp> ftp{platform::ftpSlot(), std::make_unique<FakeFtp>()};
};

TEST_F(ListadoTest, TheFetchedFolderListsItsPlainFilesByNameIgnoringCase)
{
    auto& menu = abrirMenu();
    recibido(q("ab2"), "x");
    recibido(q("AB1"), "x");
    recibido(q("Ab3"), "x");
    recibido(q(".AB4.part"), "x");
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosImp\\AB5"));
    menu.List1->addItem(q("c:\\Quelvan\\Dorvane\\ContratosTemp\\viejo"));

    BuscarImportados();

    EXPECT_EQ(entradas(menu.List1), (QStringList{q("c:\\Quelvan\\Dorvane\\ContratosImp\\AB1"),
                                                 q("c:\\Quelvan\\Dorvane\\ContratosImp\\ab2"),
                                                 q("c:\\Quelvan\\Dorvane\\ContratosImp\\Ab3")}));
    EXPECT_EQ(FicherosImportados, 3);
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text, q("Se encontraron 3 Contratos"));
    EXPECT_EQ(msg().shown()[0].style, 64);
    EXPECT_EQ(msg().shown()[0].title, q("Menú Principal"));

    // A folder that is gone lists nothing and says why.
    QDir(host(kContratosImp)).removeRecursively();
    BuscarImportados();
    EXPECT_EQ(menu.List1->count(), 0);
    EXPECT_EQ(FicherosImportados, 0);
    ASSERT_EQ(msg().shown().size(), 3u);
    EXPECT_EQ(msg().shown()[1].style, 16);
    EXPECT_TRUE(msg().shown()[1].text.contains(q("ContratosImp")));
    EXPECT_EQ(msg().shown()[2].text, q("No se encontraron ficheros"));
}

TEST_F(ListadoTest, ImportShowsTheCountersAndTheConflictsOfTheLatestRunOnly)
{
    auto& menu = abrirMenu();
    const qint64 id = empresa(q("1111"), q("B1"));
    for (int n = 1; n <= 3; ++n)
        trabajador(id, q("1111"), n, q("VIEJO"), q("TRABAJADOR %1").arg(n));
    empresa(q("2222"), q("B2"));
    servidor().duringFetch = [&] {
        // Files arrive while the window waits, and it takes no input meanwhile.
        for (int n = 1; n <= 3; ++n)
            recibido(q("AB111100%1").arg(n, 3, 10, QLatin1Char('0')),
                     registroDe(q("1111"), q("%1").arg(n, 5, 10, QLatin1Char('0')), q("B1"), q("NUEVO"), q("ACME"),
                                q("TRABAJADOR %1").arg(n))
                         .bytes());
        recibido(q("AB222200001"), registroDe(q("2222"), q("00001"), q("OTRO"), q("T")).bytes());
        EXPECT_FALSE(menu.cmdImportar->isEnabled());
        EXPECT_FALSE(menu.menuBar->isEnabled());
        menu.cmdImportar_Click();
        menu.close();
    };

    menu.cmdImportar->click();

    ASSERT_EQ(servidor().fetches.size(), 1u);
    const FakeFtp::Fetch& pedido = servidor().fetches[0];
    EXPECT_EQ(pedido.account.host, q("127.0.0.1"));
    EXPECT_EQ(pedido.account.user, QByteArray("tervalo"));
    EXPECT_EQ(pedido.account.password, QByteArray("clave"));
    EXPECT_EQ(pedido.serverFolder, QByteArray("/OSKA/CONTRATOS"));
    EXPECT_EQ(pedido.prefix, QByteArray("AB"));
    EXPECT_TRUE(Forms::isLoaded(menu));
    EXPECT_TRUE(menu.cmdImportar->isEnabled());
    EXPECT_FALSE(Forms::loaded<frmImprimiendo>());
    EXPECT_EQ(msg().texts().first(), q("Se encontraron 4 Contratos"));
    EXPECT_EQ(msg().texts().last(), q("Ha finalizado la importación de contratos"));
    EXPECT_TRUE(isShown(menu.fraResultadosE) && isShown(menu.fraResultadosT) && isShown(menu.shaResultados));
    EXPECT_EQ((QStringList{menu.txtEmpresas->text(), menu.txtNuevasE->text(), menu.txtDiscordanciasE->text(),
                           menu.txtTrabajadores->text(), menu.txtNuevosT->text(), menu.txtDiscordanciasT->text()}),
              (QStringList{q("4"), q("0"), q("1"), q("4"), q("0"), q("3")}));
    EXPECT_TRUE(isShown(menu.cmdListadoE));
    EXPECT_TRUE(isShown(menu.cmdListadoT));

    menu.cmdListadoT->click();
    EXPECT_TRUE(isShown(menu.fraListado));
    EXPECT_FALSE(isShown(menu.fraResultadosE));
    EXPECT_EQ(entradas(menu.lstDiscordancias),
              (QStringList{q("TRABAJADOR 1").leftJustified(30), q("TRABAJADOR 2").leftJustified(30),
                           q("TRABAJADOR 3").leftJustified(30)}));

    // The next run has one worker conflict and stops on a file it cannot move.
    servidor().duringFetch = [&] {
        recibido(q("AB111100002"),
                 registroDe(q("1111"), q("00002"), q("B1"), q("OTRO"), q("ACME"), q("TRABAJADOR 2")).bytes());
        recibido(q("AB111100009"), registroDe(q("1111"), q("00009"), q("B1"), q("N")).bytes());
    };
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100009"));
    menu.cmdImportar_Click();

    EXPECT_FALSE(isShown(menu.fraListado)) << "a new import shows the counters";
    EXPECT_EQ(menu.txtDiscordanciasT->text(), q("1"));
    EXPECT_FALSE(isShown(menu.cmdListadoE));
    menu.cmdListadoT->click();
    EXPECT_EQ(entradas(menu.lstDiscordancias), QStringList{q("TRABAJADOR 2").leftJustified(30)});
    menu.cmdCerrarResultados->click();
    EXPECT_FALSE(isShown(menu.fraListado) || isShown(menu.shaResultados) || isShown(menu.lblTituloR));
}

TEST_F(ListadoTest, ABlankServerAddressFetchesNothing)
{
    auto& menu = abrirMenu(q("   "));
    menu.cmdTablas_Click();
    menu.List1->addItem(q("c:\\x"));

    menu.cmdImportar_Click();

    EXPECT_EQ(msg().texts(), QStringList{q("No se ha introducido una IP de servidor.")});
    EXPECT_TRUE(servidor().fetches.empty());
    EXPECT_EQ(menu.List1->count(), 0);
    EXPECT_FALSE(isShown(menu.fraMantenimientos));
    EXPECT_FALSE(isShown(menu.fraResultadosE));
}

class ListadoImportadosTest : public ListadoTest {
protected:
    frmListadoImportados& abrirListado()
    {
        auto& menu = abrirMenu();
        menu.cmdListado->click();
        EXPECT_TRUE(menu.isHidden());
        EXPECT_TRUE(Forms::isLoaded(menu));
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
    db.update(q("Trabajadores"), q("NúmeroTrabajador"), 12, {{q("Empresa"), q("ACME").leftJustified(30)}});
    trabajador(empresa(q("77"), q("B2")), q("77   "), 5, q("T"), q("LUIS"));
    esperando("123400012");
    esperando("7700005");
    esperando("9999900001");
    esperando("ABC");

    auto& lista = abrirListado();
    const auto* grid = lista.mshListadoImportados;

    EXPECT_EQ(lista.txtNum->text(), q("4"));
    EXPECT_TRUE(isShown(grid));
    EXPECT_FALSE(isShown(lista.lblMensaje0Contratos));
    EXPECT_EQ(grid->Rows(), 5);
    EXPECT_EQ(fila(grid, 0), (QStringList{q("N"), q("Trab."), q("Nombre Trabajador."), q("Empre"), q("Nombre Empresa")}));
    EXPECT_EQ(fila(grid, 1), (QStringList{q("1"), q("00012"), q("ANA"), q("1234"), q("ACME").leftJustified(30)}));
    EXPECT_EQ(fila(grid, 2), (QStringList{q("2"), q("00005"), q("LUIS"), q("77   "), q("")}));
    EXPECT_EQ(fila(grid, 3), QStringList(5, QString()));
    EXPECT_EQ(fila(grid, 4), QStringList(5, QString()));
    EXPECT_EQ(grid->Row(), 1) << "the first data row is current";

    // On a row without a worker the buttons do nothing.
    lista.mshListadoImportados->setRow(3);
    lista.cmdBorrar->click();
    lista.cmdRealizarContrato->click();
    EXPECT_EQ(en(kContratosTemp).size(), 4);
    EXPECT_TRUE(Forms::isLoaded(lista));
}

TEST_F(ListadoImportadosTest, BorrarDeletesTheRowsFileAndListsAgain)
{
    const qint64 id = empresa(q("1234"), q("B1"));
    trabajador(id, q("1234"), 12, q("T"), q("ANA"));
    trabajador(id, q("1234"), 13, q("T"), q("EVA"));
    esperando("123400012");
    esperando("123400013");
    QStringList avisos;
    fakeClock().duringWait = [&](double segundos) {
        if (auto* mensaje = Forms::loaded<frmMensaje>())
            avisos << mensaje->lblMensaje->text() + QStringLiteral(" %1").arg(segundos);
    };

    auto& lista = abrirListado();
    lista.cmdBorrar->click();

    EXPECT_EQ(avisos, QStringList{q("ARCHIVO BORRADO. 2")});
    EXPECT_EQ(en(kContratosTemp), QStringList{q("123400013")});
    EXPECT_EQ(lista.txtNum->text(), q("1"));
    EXPECT_EQ(lista.mshListadoImportados->TextMatrix(1, 2), q("EVA"));

    // A file already gone only refreshes the list; then the window is empty.
    QFile::remove(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\123400013"));
    lista.cmdBorrar->click();
    EXPECT_EQ(avisos.size(), 1);
    EXPECT_EQ(msg().texts(), (QStringList{q("No se encontraron Contratos"),
                                          q("No hay ningún contrato importado en memoria.")}));
    EXPECT_EQ(lista.txtNum->text(), q("0"));
    EXPECT_FALSE(isShown(lista.mshListadoImportados));
    EXPECT_TRUE(isShown(lista.lblMensaje0Contratos));
    EXPECT_FALSE(lista.cmdBorrar->isEnabled());
    EXPECT_FALSE(lista.cmdRealizarContrato->isEnabled());
}

TEST_F(ListadoImportadosTest, TheCloseBoxBringsTheMainWindowBack)
{
    auto& lista = abrirListado();
    EXPECT_EQ(msg().texts(), (QStringList{q("No se encontraron Contratos"),
                                          q("No hay ningún contrato importado en memoria.")}));
    lista.close();
    EXPECT_FALSE(Forms::loaded<frmListadoImportados>());
    ASSERT_TRUE(Forms::loaded<frmMenu>());
    EXPECT_FALSE(Forms::loaded<frmMenu>()->isHidden());
}
