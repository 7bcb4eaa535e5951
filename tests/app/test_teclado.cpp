#include "Copias.h"
#include "DocumentFiles.h"
#include "Jornada.h"

#include "app/frmIdioma.h"
#include "app/frmMenu.h"
#include "catalogue/frmClausulas.h"
#include "catalogue/frmManContrato.h"
#include "catalogue/frmManContratos.h"
#include "catalogue/frmMarcas.h"
#include "catalogue/frmModelos.h"
#include "companies/frmEmpresa.h"
#include "companies/frmEmpresas.h"
#include "listings/frmListadoContratos.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/FlexGrid.h"
#include "platform/TextBox.h"
#include "platform/Forms.h"
#include "production/frmEleccionContrato.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

using platform::Forms;
using testing_support::pulsarFila;

namespace {

// A window as the keyboard finds it: pairs of a control and the control Tab
// takes the focus to from it, and the row that must stay current meanwhile.
struct Ventana {
    QWidget* ventana;
    std::vector<std::pair<QWidget*, QWidget*>> tabulaciones;
    std::function<int()> fila;
    std::function<void()> despues;
};

QString nombre(const QWidget* w)
{
    return w ? w->objectName() : QStringLiteral("(nadie)");
}

// A grid that has the focus shows it: a frame in the highlight colour.
bool marcaElFoco(platform::DBGrid* grid)
{
    const QImage imagen = grid->grab().toImage();
    const QPoint esquina = grid->viewport()->mapTo(grid, QPoint(1, grid->viewport()->height() - 2));
    return imagen.pixelColor(esquina) == grid->palette().color(QPalette::Highlight);
}

// A control shows that it has the keyboard: it has the focus, and its window
// has the style draw it as after a Tab.
bool muestraElFoco(const QWidget* control)
{
    QStyleOption opcion;
    opcion.initFrom(control);
    return QApplication::focusWidget() == control && opcion.state.testFlag(QStyle::State_HasFocus)
        && opcion.state.testFlag(QStyle::State_KeyboardFocusChange);
}

void teclear(const QString& texto)
{
    QTest::keyClicks(QApplication::focusWidget(), texto);
}

void pulsar(Qt::Key tecla)
{
    QTest::keyClick(QApplication::focusWidget(), tecla, tecla == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
}

} // namespace

using Casos = std::vector<std::pair<std::string, std::function<Ventana()>>>;

class TecladoTest : public testing_support::JornadaTest {
protected:
    // A catalogue window browsing, its second row selected, and adding a
    // row: its grid, its first and last editors.
    template <class F, class R, class A, class B>
    static void mantenimiento(Casos& casos, const std::string& caso, R F::*rejilla, A F::*primero, B F::*ultimo,
                              std::function<void(F&)> despues = {})
    {
        casos.push_back(
            {caso, [rejilla] {
                 auto& f = Forms::show<F>();
                 pulsarFila(f.*rejilla, 1);
                 return Ventana{&f, {{f.*rejilla, f.cmdNuevo}}, [&f, rejilla] { return (f.*rejilla)->Row(); }, {}};
             }});
        casos.push_back({caso + ", adding", [=] {
                             auto& f = Forms::show<F>();
                             clic(f.cmdNuevo);
                             return Ventana{&f,
                                            {{f.*rejilla, f.*primero}, {f.*ultimo, f.cmdGrabar}},
                                            [&f, rejilla] { return (f.*rejilla)->Row(); },
                                            [&f, despues] {
                                                if (despues)
                                                    despues(f);
                                            }};
                         }});
    }
};

// Keyboard alone: Tab and Shift+Tab leave every grid for the next or the
// previous control of its window, the selected row as it was; the buttons are
// reached so, and an edit's boxes come back with what was typed in them.
TEST_F(TecladoTest, TabLeavesEachGridForTheNextControlWithItsRowAsItWas)
{
    const qint64 empresa = insertar("Empresas", {{u("NúmeroEmpresa"), "00012"}, {u("NombreEmpresa"), "TALLERES SA"}});
    insertar("Empresas", {{u("NúmeroEmpresa"), "00013"}, {u("NombreEmpresa"), "OBRAS SL"}});
    for (const char* trabajador : {"ANA", "JORDI", "LUCIA"})
        insertar("Trabajadores", {{"IdEmpresa", QString::number(empresa)}, {"NombreTrabajador", trabajador}});
    for (const char* num : {"0000000001", "0000000002"})
        insertar("ContratosGrabados", {{"NumContrato", num}, {"Fecha", "2026-12-01"}, {"Trabajador", "ANA"}});
    for (const char* tipo : {"INDEFINIDO", "TEMPORAL"})
        insertar("TipoContrato", {{"TipoContrato", tipo}});
    const qint64 modelo = insertar("Modelo", {{"NombreModelo", "M"}, {u("Ubicación"), "M.doc"}});
    insertar("Modelo", {{"NombreModelo", "N"}, {u("Ubicación"), "N.doc"}});
    for (const char* codigo : {"100", "200"})
        insertar("Contrato",
                 {{"IdTipoContrato", "1"}, {u("Código"), codigo}, {"Contrato", "Con marcas"}, {"Modelo", "M"}});
    for (const char* clausula : {"Primera.", "Segunda."})
        insertar("Clausulas", {{"Clausula", clausula}});
    for (const char* codigo : {"0002", "0010", "0020"}) {
        insertar("Marcas", {{u("CódigoMarca"), codigo}, {u("DescripciónDato"), "DATO"}, {"Longitud", 10}});
        insertar("MarcasCont",
                 {{"IdModelo", QString::number(modelo)}, {u("CódigoMarca"), codigo}, {u("DescripciónDato"), "DATO"}});
    }

    Casos ventanas = {
        {"workers tab",
         [&] {
             auto& f = fichaDeEmpresa(empresa);
             f.SSTab1->setCurrentIndex(1);
             pulsarFila(f.dbgTrabajadores, 0);
             const QString ana = f.dbgTrabajadores->Id();
             return Ventana{&f,
                            {{f.dbgTrabajadores, f.cmdNuevo}},
                            [&f] { return f.dbgTrabajadores->Row(); },
                            [&f, ana] {
                                // Editar, reached from the grid, acts on the worker selected.
                                f.dbgTrabajadores->setFocus();
                                pulsar(Qt::Key_Tab);
                                pulsar(Qt::Key_Tab);
                                EXPECT_EQ(QApplication::focusWidget(), f.cmdEditar);
                                EXPECT_EQ(f.dbgTrabajadores->Id(), ana);
                            }};
         }},
        {"company list",
         [&] {
             auto& f = Forms::show<frmEmpresas>();
             pulsarFila(f.dbgEmpresas, 1);
             return Ventana{&f, {{f.dbgEmpresas, f.cmdEditar}}, [&f] { return f.dbgEmpresas->Row(); }, {}};
         }},
        {"saved contracts",
         [&] {
             auto& f = Forms::show<frmListadoContratos>();
             pulsarFila(f.dbgContratos, 1);
             return Ventana{&f, {{f.dbgContratos, f.cmdNuevo}}, [&f] { return f.dbgContratos->Row(); }, {}};
         }},
        {"marks grid of contract production",
         [&] {
             auto& f = Forms::show<frmEleccionContrato>();
             for (auto* opciones : {&f.optTipoContrato, &f.optContrato})
                 opciones->front()->click();
             platform::FlexGrid* g = f.mshMarcas;
             return Ventana{&f,
                            {{g, f.cmdRealizarContrato}, {f.SSTab1->tabBar(), g}},
                            [g] { return g->Row(); },
                            [&f, g] {
                                // The arrows still move the rows; what is typed goes to the value.
                                g->setFocus();
                                pulsar(Qt::Key_Down);
                                EXPECT_EQ(g->Row(), 2);
                                teclear(u("x"));
                                EXPECT_EQ(g->TextMatrix(2, 2), u("x"));
                                pulsar(Qt::Key_Up);
                                EXPECT_EQ(g->Row(), 1);
                                EXPECT_EQ(f.mshMarcas->Col(), 2);
                            }};
         }},
    };

    mantenimiento(ventanas, "contract types", &frmManContratos::dbgTipoContrato, &frmManContratos::txtTipoContrato,
                  &frmManContratos::txtTipoContrato, std::function<void(frmManContratos&)>([](frmManContratos& f) {
                      // A save and a cancel send the focus to the grid, which shows it.
                      f.txtTipoContrato->setFocus();
                      teclear(u("FIJO"));
                      pulsar(Qt::Key_Tab);
                      pulsar(Qt::Key_Space);
                      EXPECT_EQ(f.dbgTipoContrato->RecordCount(), 3);
                      EXPECT_EQ(QApplication::focusWidget(), f.dbgTipoContrato);
                      EXPECT_TRUE(marcaElFoco(f.dbgTipoContrato)) << "after a save";
                      clic(f.cmdNuevo);
                      clic(f.cmdCancelar);
                      EXPECT_EQ(QApplication::focusWidget(), f.dbgTipoContrato);
                      EXPECT_TRUE(marcaElFoco(f.dbgTipoContrato)) << "after Cancelar";
                      EXPECT_TRUE(f.dbgTipoContrato->selectionModel()->isRowSelected(0, {}));
                  }));
    mantenimiento(ventanas, "contracts", &frmManContrato::dbgContrato, &frmManContrato::txtContrato,
                  &frmManContrato::cmbModelos);
    mantenimiento(ventanas, "clauses", &frmClausulas::dbgClausulas, &frmClausulas::txtClausula,
                  &frmClausulas::txtClausula, std::function<void(frmClausulas&)>([](frmClausulas& f) {
                      // What is typed after leaving the text and coming back goes on from it.
                      f.txtClausula->setFocus();
                      teclear(u("Uno"));
                      pulsar(Qt::Key_Tab);
                      pulsar(Qt::Key_Backtab);
                      teclear(u(" y dos"));
                      EXPECT_EQ(f.txtClausula->toPlainText(), u("Uno y dos"));
                  }));
    mantenimiento(ventanas, "marks", &frmMarcas::dbgMarca, &frmMarcas::txtCodigo, &frmMarcas::txtValoresFijos);
    mantenimiento(ventanas, "models", &frmModelos::dbgModelos, &frmModelos::txtModelo, &frmModelos::txtUbicacion);

    for (const auto& [caso, abrir] : ventanas) {
        SCOPED_TRACE(caso);
        const Ventana v = abrir();
        activar(v.ventana);
        const int fila = v.fila();
        for (const auto& [desde, siguiente] : v.tabulaciones) {
            desde->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), desde) << nombre(desde).toStdString();
            pulsar(Qt::Key_Tab);
            EXPECT_EQ(nombre(QApplication::focusWidget()), nombre(siguiente))
                << "Tab from " << nombre(desde).toStdString();
            pulsar(Qt::Key_Backtab);
            EXPECT_EQ(nombre(QApplication::focusWidget()), nombre(desde)) << "and Shift+Tab back";
            if (auto* rejilla = qobject_cast<platform::DBGrid*>(desde)) {
                EXPECT_TRUE(marcaElFoco(rejilla)) << "back in the grid";
            }
        }
        EXPECT_EQ(v.fila(), fila) << "the row stays";
        if (v.despues)
            v.despues();
        Forms::unload(*static_cast<platform::Form*>(v.ventana));
    }
}

// Keyboard alone: Enter on a row of the models window's marks view does what
// a double click does, adding the mark to the model or removing it.
TEST_F(TecladoTest, EnterOnAMarkRowAddsOrRemovesItAsADoubleClickDoes)
{
    const qint64 modelo = insertar("Modelo", {{"NombreModelo", "M"}, {u("Ubicación"), "M.doc"}});
    for (const char* codigo : {"0002", "0010"})
        insertar("Marcas", {{u("CódigoMarca"), codigo}, {u("DescripciónDato"), "DATO"}, {"Longitud", 10}});
    const auto marcas = [&] { return filas("MarcasCont"); };
    const QString id = QString::number(modelo);

    auto& f = Forms::show<frmModelos>();
    activar(&f);
    pulsarFila(f.dbgModelos, 0);
    f.cmdAñadirMarcas->setFocus();
    pulsar(Qt::Key_Space);
    ASSERT_TRUE(f.dbgMarcas->isVisible());
    f.dbgMarcas->setFocus();
    pulsar(Qt::Key_Down);
    pulsar(Qt::Key_Return);
    EXPECT_EQ(marcas(), QStringList{u("1|%1|0010|DATO|10|-").arg(id)});
    msg().answer(platform::Answer::Yes);
    pulsar(Qt::Key_Enter);
    EXPECT_EQ(marcas(), QStringList{u("1|%1|0010|DATO|10|2").arg(id)});
    EXPECT_EQ(msg().texts(), QStringList{u("La marca ya ha sido añadida, desea añadirla otra vez.")});

    pulsar(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.dbgMarcasSeleccionadas);
    pulsar(Qt::Key_Return);
    EXPECT_EQ(marcas(), QStringList{u("1|%1|0010|DATO|10|").arg(id)}) << "counted once again";
    pulsar(Qt::Key_Return);
    EXPECT_EQ(marcas(), QStringList());
    EXPECT_EQ(QApplication::focusWidget(), f.dbgMarcasSeleccionadas);
    Forms::unload(f);
}

// Keyboard alone: after a run that asked its questions over a document, the
// focus is back on the button that started it, shown; the parameters window
// opens with its first option focused, shown.
TEST_F(TecladoTest, AfterARunTheFocusIsBackOnTheButtonThatStartedItAndShows)
{
    const qint64 empresa = insertar("Empresas", {{u("NúmeroEmpresa"), "00012"}, {u("NombreEmpresa"), "TALLERES"}});
    const qint64 trabajador = insertar("Trabajadores", {{"IdEmpresa", QString::number(empresa)},
                                                        {u("NúmeroTrabajador"), 1},
                                                        {"NombreTrabajador", "ANA"},
                                                        {"Contrato", "401 - Obra"}});
    testing_support::contratoRelleno(host("C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc"), true);
    frmEmpresa& ficha = fichaDeEmpresa(empresa);
    editarTrabajador(ficha, trabajador);
    activar(&ficha);
    {
        testing_support::CopiesAnswerer copias(ficha.fraDatosImprimir, ficha.txtNumeroCopias, ficha.cmdCopias);
        fakeDesktop().takesActivation = true; // the document, then each box, take the keyboard
        msg().takesActivation = true;
        msg().answer(platform::Answer::No);  // ¿Desea Imprimir el contrato?
        msg().answer(platform::Answer::Yes); // ¿Desea copia básica?
        copias.answer(u("1"));
        msg().answer(platform::Answer::No); // ¿Desea guardar la Copia Básica?
        ficha.cmdAcceder->setFocus();
        pulsar(Qt::Key_Space);
        ASSERT_EQ(copias.prompts(), 1);
        EXPECT_EQ(msg().unusedAnswers(), 0u);
    }
    activar(&ficha);
    EXPECT_TRUE(muestraElFoco(ficha.cmdAcceder)) << nombre(QApplication::focusWidget()).toStdString();

    Forms::unload(ficha);
    frmMenu& principal = menu();
    activar(&principal);
    principal.cmdTablas->setFocus();
    pulsar(Qt::Key_Space);
    principal.optIdioma->setFocus();
    pulsar(Qt::Key_Space);
    auto* parametros = Forms::loaded<frmIdioma>();
    ASSERT_TRUE(parametros && parametros->isVisible());
    activar(parametros);
    EXPECT_TRUE(muestraElFoco(parametros->optCastellano)) << nombre(QApplication::focusWidget()).toStdString();
    Forms::unload(*parametros);
}

// Keyboard alone: "Volver." of a catalogue window or of the template browser
// brings the main window back with the focus, shown, on the option or the
// button that opened it.
TEST_F(TecladoTest, VolverLeavesTheFocusOnTheControlThatOpenedTheWindow)
{
    for (const char* control :
         {"optModelos", "optManTipoContrato", "optManContrato", "optClausulas", "optMarcas", "cmdPlantillas"}) {
        SCOPED_TRACE(control);
        frmMenu& principal = menu();
        activar(&principal);
        auto* usado = principal.findChild<QAbstractButton*>(u(control));
        ASSERT_TRUE(usado);
        if (usado->parentWidget() != &principal) {
            principal.cmdTablas->setFocus();
            pulsar(Qt::Key_Space);
        }
        usado->setFocus();
        pulsar(Qt::Key_Space);
        platform::Form* ventana = Forms::activeForm();
        ASSERT_TRUE(ventana && ventana != &principal);
        activar(ventana);
        ventana->findChild<QPushButton*>(u("cmdSalir"))->setFocus();
        pulsar(Qt::Key_Space);

        frmMenu* vuelta = Forms::loaded<frmMenu>();
        ASSERT_TRUE(vuelta && vuelta->isVisible());
        activar(vuelta);
        EXPECT_EQ(nombre(QApplication::focusWidget()), u(control));
        EXPECT_TRUE(muestraElFoco(vuelta->findChild<QWidget*>(u(control))));
    }
}
