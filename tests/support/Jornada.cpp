#include "Jornada.h"

#include "app/frmMenu.h"
#include "companies/frmEmpresa.h"
#include "companies/frmEmpresas.h"
#include "data/Configuracion.h"
#include "exchange/frmListadoImportados.h"
#include "platform/DBGrid.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "production/frmEleccionContrato.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using platform::Forms;

namespace testing_support {

namespace {

// A click on the row of a data-bound grid whose key is `id`.
void pulsarId(platform::DBGrid* grid, qint64 id)
{
    const QString clave = grid->columns().front().field;
    for (int fila = 0; fila < grid->RecordCount(); ++fila) {
        if (grid->records()[static_cast<std::size_t>(fila)].value(clave).toLongLong() == id) {
            pulsarFila(grid, fila);
            return;
        }
    }
    ADD_FAILURE() << "no row with the key " << id;
}

} // namespace

JornadaTest::JornadaTest() : ftp_(platform::ftpSlot(), std::make_unique<FakeFtp>()) {}

frmMenu& JornadaTest::menu()
{
    if (auto* abierto = Forms::loaded<frmMenu>(); abierto && !abierto->isHidden())
        return *abierto;
    if (!exists("C:\\Quelvan\\Dorvane\\config"))
        return abrirMenu();
    return Forms::show<frmMenu>();
}

frmMenu& JornadaTest::abrirMenu(const QString& ip, const QString& usuario, const QString& password,
                                const QString& clave)
{
    instalado();
    DatosConfiguracion datos;
    datos.Ip = ip;
    datos.Usuario = usuario;
    datos.Password = password;
    datos.ClaveUsuario = clave;
    GrabarConfiguracion(datos);
    return Forms::show<frmMenu>();
}

frmEmpresa& JornadaTest::fichaDeEmpresa(qint64 idEmpresa)
{
    clic(menu().cmdEmpresas);
    auto* lista = Forms::loaded<frmEmpresas>();
    EXPECT_TRUE(lista && !lista->isHidden());
    pulsarId(lista->dbgEmpresas, idEmpresa);
    clic(lista->cmdEditar);
    auto* ficha = Forms::loaded<frmEmpresa>();
    EXPECT_TRUE(ficha && !ficha->isHidden());
    return *ficha;
}

void JornadaTest::editarTrabajador(frmEmpresa& ficha, qint64 idTrabajador)
{
    ficha.SSTab1->setCurrentIndex(1);
    pulsarId(ficha.dbgTrabajadores, idTrabajador);
    clic(ficha.cmdEditar);
}

frmEleccionContrato& JornadaTest::contratoDeLaFicha(frmEmpresa& ficha)
{
    clic(ficha.cmdContratoManual);
    auto* contrato = Forms::loaded<frmEleccionContrato>();
    EXPECT_TRUE(contrato && !contrato->isHidden() && !Forms::loaded<frmEmpresa>());
    return *contrato;
}

frmMenu& JornadaTest::salirAlMenu(frmEleccionContrato& contrato)
{
    clic(contrato.cmdSalir);
    EXPECT_FALSE(Forms::loaded<frmEleccionContrato>());
    return Forms::get<frmMenu>();
}

frmEleccionContrato& JornadaTest::contratoDeImportado(const QString& numEmpresa, int numTrabajador)
{
    clic(menu().cmdListado);
    auto* lista = Forms::loaded<frmListadoImportados>();
    EXPECT_TRUE(lista && !lista->isHidden());
    platform::FlexGrid* grid = lista->mshListadoImportados;
    for (int fila = 1; fila < grid->Rows(); ++fila) {
        if (grid->TextMatrix(fila, 3).trimmed() == numEmpresa && grid->TextMatrix(fila, 1).toInt() == numTrabajador) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(fila, 1)).center());
            break;
        }
    }
    EXPECT_EQ(grid->TextMatrix(grid->Row(), 1).toInt(), numTrabajador) << "no row of the worker";
    clic(lista->cmdRealizarContrato);
    auto* contrato = Forms::loaded<frmEleccionContrato>();
    EXPECT_TRUE(contrato && !contrato->isHidden());
    return *contrato;
}

void JornadaTest::importar(const std::function<void()>& mientras)
{
    servidor().duringFetch = mientras;
    clic(menu().cmdImportar);
    servidor().duringFetch = {};
}

} // namespace testing_support
