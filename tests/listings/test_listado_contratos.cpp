#include "TervaloTest.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "data/Esquema.h"
#include "listings/frmListadoContratos.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using platform::Answer;
using platform::Forms;
using platform::isShown;

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

} // namespace

class ListadoContratosTest : public testing_support::TervaloTest {
protected:
    ListadoContratosTest()
    {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
        writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    }

    static qint64 grabado(const char* fecha, const char* trabajador, const char* empresa, const char* tipo,
                          const char* nombre = "")
    {
        return AbrirBaseDatos().insert(QStringLiteral("ContratosGrabados"),
                                       {{QStringLiteral("Fecha"), u(fecha)},
                                        {QStringLiteral("Trabajador"), u(trabajador)},
                                        {QStringLiteral("Empresa"), empresa ? u(empresa) : QVariant()},
                                        {QStringLiteral("TipoContrato"), u(tipo)},
                                        {QStringLiteral("Nombre"), u(nombre)}});
    }
    // The list as the main window's contracts button opens it.
    frmListadoContratos& abrir()
    {
        Forms::show<frmMenu>().cmdContratos->click();
        EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
        auto& f = *Forms::loaded<frmListadoContratos>();
        QApplication::setActiveWindow(&f);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }
    static QStringList columna(const platform::DBGrid* grid, int col)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->item(r, col)->text();
        return out;
    }
};

TEST_F(ListadoContratosTest, SearchIsAPrefixOfOneNameTakenAsTypedAndSortsDropIt)
{
    grabado("2026-03-02", "Luis Gil", "L'Hospitalet Obras", "Temporal");
    grabado("2025-11-20", "Ana Ruiz", "Garcia y Cia", "Indefinido");
    grabado("2026-01-15", "ana Sanz", "gamma 10%", "Formacion");
    grabado("2024-06-01", "Eva Mar", "Gamma 100", "Obra");
    grabado("2026-05-05", "Sin Empresa", nullptr, "Obra");
    auto& f = abrir();
    EXPECT_EQ(f.windowTitle(), u("Listado Contratos."));
    EXPECT_EQ(f.txtNum->text(), QStringLiteral("5"));
    EXPECT_EQ(columna(f.dbgContratos, 2),
              (QStringList{"02/03/2026", "20/11/2025", "15/01/2026", "01/06/2024", "05/05/2026"}));

    f.cmdBuscar->click();
    EXPECT_TRUE(isShown(f.fraBuscar));
    EXPECT_FALSE(isShown(f.cmdBuscar));
    EXPECT_FALSE(isShown(f.cmdAyuda));
    EXPECT_TRUE(f.txtTrabajador->hasFocus());

    QTest::keyClicks(f.txtEmpresa, QStringLiteral("L'H"));
    EXPECT_EQ(columna(f.dbgContratos, 3), QStringList{"Luis Gil"});
    f.txtEmpresa->clear();
    QTest::keyClicks(f.txtEmpresa, QStringLiteral("GA"));
    EXPECT_EQ(columna(f.dbgContratos, 3), (QStringList{"Ana Ruiz", "ana Sanz", "Eva Mar"}));
    QTest::keyClicks(f.txtEmpresa, QStringLiteral("mma 10%"));
    EXPECT_EQ(columna(f.dbgContratos, 3), QStringList{"ana Sanz"}) << "% matches itself";
    f.txtEmpresa->clear();
    EXPECT_EQ(f.dbgContratos->RecordCount(), 4) << "a row without company matches no company search";

    // The worker box replaces the company filter; the counter keeps the whole table.
    QTest::keyClicks(f.txtTrabajador, QStringLiteral("AN"));
    EXPECT_EQ(columna(f.dbgContratos, 3), (QStringList{"Ana Ruiz", "ana Sanz"}));
    EXPECT_EQ(f.txtNum->text(), QStringLiteral("5"));

    f.dbgContratos->HeadClick(1);
    EXPECT_EQ(f.dbgContratos->RecordCount(), 2) << "columns 0 and 1 do not sort";
    f.dbgContratos->HeadClick(2);
    EXPECT_EQ(columna(f.dbgContratos, 3),
              (QStringList{"Eva Mar", "Ana Ruiz", "ana Sanz", "Luis Gil", "Sin Empresa"}));
    f.dbgContratos->HeadClick(4);
    const QStringList empresas = columna(f.dbgContratos, 4);
    EXPECT_EQ(empresas.first(), QString());
    EXPECT_EQ(empresas.mid(3), (QStringList{"Garcia y Cia", "L'Hospitalet Obras"}));
    f.dbgContratos->HeadClick(5);
    EXPECT_EQ(columna(f.dbgContratos, 5).first(), QStringLiteral("Formacion"));
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ListadoContratosTest, BorrarTakesTheRowOffAndLeavesTheDocument)
{
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0000100002.doc", "documento");
    grabado("2026-01-01", "Ana", "Alfa", "Obra", "0000100001.doc");
    grabado("2026-01-02", "Luis", "Alfa", "Obra", "0000100002.doc");
    auto& f = abrir();
    QTest::keyClicks(f.txtEmpresa, QStringLiteral("Alfa"));
    f.dbgContratos->setRow(1);

    msg().answer(Answer::No);
    f.cmdBorrar->click();
    EXPECT_EQ(msg().shown().back().text, QStringLiteral("Desea eliminar el contrato"));
    EXPECT_EQ(msg().shown().back().style, 292);
    EXPECT_EQ(msg().shown().back().title, u("Confirmación."));
    EXPECT_EQ(f.dbgContratos->RecordCount(), 2);
    EXPECT_EQ(f.txtEmpresa->text(), QStringLiteral("Alfa")) << "the box keeps its text";

    f.dbgContratos->setRow(1);
    msg().answer(Answer::Yes);
    f.cmdBorrar->click();
    EXPECT_EQ(columna(f.dbgContratos, 3), QStringList{"Ana"});
    EXPECT_EQ(f.txtNum->text(), QStringLiteral("1"));
    EXPECT_TRUE(f.cmdEditar->isEnabled());
    EXPECT_EQ(fakeClock().waits, std::vector<double>{1.0}) << "the notice";
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Contratos\\0000100002.doc"), QByteArray("documento"));

    msg().answer(Answer::Yes);
    f.cmdBorrar->click();
    EXPECT_EQ(f.txtNum->text(), QStringLiteral("0"));
    for (QPushButton* boton : {f.cmdBuscar, f.cmdEditar, f.cmdBorrar})
        EXPECT_FALSE(boton->isEnabled());
    EXPECT_TRUE(f.cmdNuevo->isEnabled());

    f.cmdSalir->click();
    EXPECT_EQ(Forms::loaded<frmListadoContratos>(), nullptr);
    EXPECT_NE(Forms::loaded<frmMenu>(), nullptr);
}

TEST_F(ListadoContratosTest, HelpModeExplainsTheButtonsInsteadOfActing)
{
    grabado("2026-01-01", "Ana", "Alfa", "Obra", "0000100001.doc");
    auto& f = abrir();
    f.cmdAyuda->click();
    EXPECT_EQ(f.MousePointer(), 14);
    f.cmdBorrar->click();
    auto* ayuda = Forms::loaded<frmAyuda>();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Borrar : "));
    EXPECT_EQ(f.dbgContratos->RecordCount(), 1);

    f.cmdAyuda->click();
    f.cmdEditar->click();
    EXPECT_EQ(ayuda->fraAyuda->title(), u("Botón Editar : "));
    EXPECT_TRUE(ayuda->txtAyuda->toPlainText().startsWith(u("Visualizaremos un contrato guardado en memoria")));
    EXPECT_EQ(fakeClock().waits, std::vector<double>{2.0});
    EXPECT_TRUE(msg().shown().empty());
}
