#include "../production/Generador.h"

#include "common/Documentos.h"
#include "common/frmMensaje.h"
#include "companies/frmEmpresa.h"
#include "listings/frmListadoContratos.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Desktop.h"
#include "platform/Office.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QWindow>

#include <map>

using namespace testing_support;

// The list as the main window's contracts button opens it.
static frmListadoContratos& abrirLista()
{
    Forms::show<frmMenu>().cmdContratos->click();
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
    auto& f = *Forms::loaded<frmListadoContratos>();
    TervaloTest::activar(&f);
    return f;
}

class ListadoContratosTest : public BaseDatosTest {
protected:
    ListadoContratosTest() { instalado(); }

    qint64 grabado(const char* fecha, const char* trabajador, const char* empresa, const char* tipo,
                   const char* nombre = "")
    {
        return insertar("ContratosGrabados", {{"Fecha", fecha},
                                              {"Trabajador", u(trabajador)},
                                              {"Empresa", empresa ? u(empresa) : QVariant()},
                                              {"TipoContrato", tipo},
                                              {"Nombre", nombre}});
    }
};

TEST_F(ListadoContratosTest, SearchIsAPrefixOfOneNameTakenAsTypedAndSortsDropIt)
{
    grabado("2026-03-02", "Luis Gil", "L'Hospitalet Obras", "Temporal");
    grabado("2025-11-20", "Ana Ruiz", "Garcia y Cia", "Indefinido");
    grabado("2026-01-15", "ana Sanz", "gamma 10%", "Formacion");
    grabado("2024-06-01", "Eva Mar", "Gamma 100", "Obra");
    grabado("2026-05-05", "Sin Empresa", nullptr, "Obra");
    auto& f = abrirLista();
    EXPECT_EQ(textos(f.dbgContratos, 2).first(), u("02/03/2026"));

    f.cmdBuscar->click();
    EXPECT_FALSE(isShown(f.cmdBuscar));
    EXPECT_FALSE(isShown(f.cmdAyuda));

    QTest::keyClicks(f.txtEmpresa, u("L'H"));
    EXPECT_EQ(textos(f.dbgContratos, 3), QStringList{"Luis Gil"});
    f.txtEmpresa->clear();
    QTest::keyClicks(f.txtEmpresa, u("GA"));
    EXPECT_EQ(textos(f.dbgContratos, 3), (QStringList{"Ana Ruiz", "ana Sanz", "Eva Mar"}));
    QTest::keyClicks(f.txtEmpresa, u("mma 10%"));
    EXPECT_EQ(textos(f.dbgContratos, 3), QStringList{"ana Sanz"}) << "% matches itself";
    f.txtEmpresa->clear();
    EXPECT_EQ(f.dbgContratos->RecordCount(), 4) << "a row without company matches no company search";

    // The worker box replaces the company filter; the counter keeps the whole table.
    QTest::keyClicks(f.txtTrabajador, u("AN"));
    EXPECT_EQ(textos(f.dbgContratos, 3), (QStringList{"Ana Ruiz", "ana Sanz"}));
    EXPECT_EQ(f.txtNum->text(), u("5"));

    f.dbgContratos->HeadClick(1);
    EXPECT_EQ(f.dbgContratos->RecordCount(), 2) << "columns 0 and 1 do not sort";
    f.dbgContratos->HeadClick(2);
    EXPECT_EQ(textos(f.dbgContratos, 3),
              (QStringList{"Eva Mar", "Ana Ruiz", "ana Sanz", "Luis Gil", "Sin Empresa"}));
    f.dbgContratos->HeadClick(4);
    const QStringList empresas = textos(f.dbgContratos, 4);
    EXPECT_EQ(empresas.first(), QString());
    EXPECT_EQ(empresas.mid(3), (QStringList{"Garcia y Cia", "L'Hospitalet Obras"}));
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ListadoContratosTest, BorrarTakesTheRowOffAndLeavesTheDocument)
{
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0000100002.doc", "documento");
    grabado("2026-01-01", "Ana", "Alfa", "Obra", "0000100001.doc");
    grabado("2026-01-02", "Luis", "Alfa", "Obra", "0000100002.doc");
    auto& f = abrirLista();
    QTest::keyClicks(f.txtEmpresa, u("Alfa"));
    f.dbgContratos->setRow(1);

    // In help mode a button explains itself instead; Editar's help ends with the pause of a reopening.
    f.cmdAyuda->click();
    f.cmdBorrar->click();
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Borrar : "));
    f.cmdAyuda->click();
    f.cmdEditar->click();
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Editar : "));
    EXPECT_TRUE(msg().shown().empty() && fakeOffice().calls.empty());
    EXPECT_EQ(fakeClock().waits, std::vector<double>{2});

    msg().answer(Answer::No);
    f.cmdBorrar->click();
    EXPECT_EQ(msg().shown().back().text, u("Desea eliminar el contrato"));
    EXPECT_EQ(msg().shown().back().style, 292);
    EXPECT_EQ(msg().shown().back().title, u("Confirmación."));
    EXPECT_EQ(f.dbgContratos->RecordCount(), 2);

    f.dbgContratos->setRow(1);
    msg().answer(Answer::Yes);
    QString aviso;
    fakeClock().duringWait = [&aviso](double) { aviso = Forms::get<frmMensaje>().lblMensaje->text(); };
    f.cmdBorrar->click();
    EXPECT_EQ(aviso, u("Contrato Eliminado."));
    EXPECT_EQ(textos(f.dbgContratos, 3), QStringList{"Ana"});
    EXPECT_EQ(f.txtNum->text(), u("1"));
    EXPECT_TRUE(f.cmdEditar->isEnabled());
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Contratos\\0000100002.doc"), QByteArray("documento"));

    msg().answer(Answer::Yes);
    f.cmdBorrar->click();
    EXPECT_EQ(f.txtNum->text(), u("0"));
    for (QPushButton* boton : {f.cmdBuscar, f.cmdEditar, f.cmdBorrar})
        EXPECT_FALSE(boton->isEnabled());
}

// The road of a contract to the list and back: produced from the list's
// "Nuevo", listed, shown, printed double-sided from the file on disk with
// its copia básica, printed again in no copies, not printed, then
// "Volver.". The window is blocked meanwhile.
class ContratoProducidoTest : public GeneradorTest {
protected:
    ContratoProducidoTest() { instalado(); }

    static constexpr const char* kGuardado = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";
    std::unique_ptr<CopiesAnswerer> copiasLista;
};

TEST_F(ContratoProducidoTest, ProducedFromNuevoListedThenShownPrintedWithItsCopiaBasicaAndBack)
{
    abrirLista().cmdNuevo->click();
    EXPECT_EQ(Forms::loaded<frmListadoContratos>(), nullptr);
    auto& produccion = *Forms::loaded<frmEleccionContrato>();
    EXPECT_EQ(produccion.OrigenDatos * 10 + produccion.AperturaDesdeListado, 22);
    EXPECT_TRUE(produccion.txtNumEmpresa->text().isEmpty() && !produccion.isHidden());
    QTest::keyClicks(produccion.txtNumEmpresa, u("00012"));
    QTest::keyClicks(produccion.txtNombreEmpresa, u("TALLERES SA"));
    QTest::keyClicks(produccion.txtNumTrabajador, u("00001"));
    QTest::keyClicks(produccion.txtNombreTrabajador, u("ANA ROS"));
    elegir(produccion, u("TEMPORAL"), u("401 - Obra"));
    escribirMarca(produccion, u("0102"), u("ANA ROS"));
    escribirMarca(produccion, u("0115"), u("12345678Z"));
    for (Answer a : {Answer::No, Answer::Yes, Answer::No})
        msg().answer(a); // no print, store it, no copia básica
    produccion.cmdRealizarContrato->click();
    ASSERT_TRUE(exists(kGuardado));
    const QByteArray guardado = readFile(kGuardado);
    produccion.cmdSalir->click();

    auto& f = abrirLista();
    EXPECT_EQ(textos(f.dbgContratos, 3), QStringList{u("ANA ROS")});
    EXPECT_EQ(textos(f.dbgContratos, 5), QStringList{u("401 - Obra")});
    copiasLista = std::make_unique<CopiesAnswerer>(f.fraDatosImprimir, f.txtNumeroCopias, f.cmdCopias);
    bool bloqueada = true;
    fakeOffice().onCall = [&](const FakeOffice::Call&) {
        f.cmdSalir->click();
        f.cmdBorrar->click();
        bloqueada = bloqueada && Forms::isLoaded(f) && f.dbgContratos->RecordCount() == 1;
    };
    const auto producidas = fakeOffice().calls.size();
    const auto preguntas = msg().shown().size();
    fakeClock().waits.clear();
    msg().answer(Answer::Yes); // print
    copiasLista->answer(u("1"));
    msg().answer(Answer::Yes); // copia básica
    copiasLista->answer(u("2"));
    f.cmdEditar->click();

    EXPECT_EQ(fakeOffice().journal().mid(static_cast<qsizetype>(producidas)),
              (QStringList{"show 0001200001.doc", "print odd 1 0001200001.doc", "print even 1 0001200001.doc",
                           "print odd 2 Borrador.doc", "print even 2 Borrador.doc"}));
    EXPECT_TRUE(fakeOffice().calls[producidas + 1].content.contains("12345678Z"));
    EXPECT_TRUE(bloqueada);
    EXPECT_TRUE(f.cmdSalir->isEnabled());
    EXPECT_EQ(msg().texts().mid(static_cast<qsizetype>(preguntas)),
              (QStringList{u("¿Desea Imprimir el contrato?"), QString::fromUtf8(kAvisoSegundaCara),
                           u("¿Desea copia básica?"), QString::fromUtf8(kAvisoSegundaCara)}));
    EXPECT_EQ(msg().shown()[preguntas].style, 292);
    EXPECT_EQ(msg().shown()[preguntas].title, u("Confirmación."));
    EXPECT_EQ(msg().shown()[preguntas + 2].style, 4);
    EXPECT_EQ(fakeClock().waits, (std::vector<double>{4, 15, 15, 2, 2, 15, 15, 2, 2}));

    // The copia básica printed: the caption, the blanks and none of the
    // personal data; nothing stored, its scratch copy gone.
    EXPECT_FALSE(exists("C:\\Borrador.doc"));
    EXPECT_FALSE(fakeOffice().calls.back().content.contains("12345678Z"));
    writeFile("C:\\Impresa.doc", fakeOffice().calls.back().content);
    const platform::Document copia = platform::Document::open(host("C:\\Impresa.doc"));
    EXPECT_EQ(copia.bookmarkText(u("M0102")) + "|" + copia.bookmarkText(u("M0115")) + "|"
                  + copia.bookmarkText(u("Basica")),
              u("ANA ROS||COPIA BÁSICA"));
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\Contratos\\0001200001CB.doc"));
    EXPECT_EQ(readFile(kGuardado), guardado);
    EXPECT_EQ(f.dbgContratos->RecordCount(), 1);

    // Zero copies print nothing but keep the pacing.
    fakeOffice().onCall = nullptr;
    const auto antes = fakeOffice().calls.size();
    const auto avisos = msg().texts().count(u(kAvisoSegundaCara));
    fakeClock().waits.clear();
    msg().answer(Answer::Yes);
    copiasLista->answer(u("0"));
    msg().answer(Answer::No);
    f.cmdEditar->click();
    for (std::size_t i = antes; i < fakeOffice().calls.size(); ++i)
        EXPECT_TRUE(fakeOffice().calls[i].action == u("show") || fakeOffice().calls[i].copies == 0);
    EXPECT_EQ(msg().texts().count(u(kAvisoSegundaCara)), avisos + 1);
    EXPECT_EQ(fakeClock().waits, (std::vector<double>{4, 15, 15, 2, 2}));

    // Not printed, the copia básica is still offered.
    msg().answer(Answer::No);
    msg().answer(Answer::No);
    f.cmdEditar->click();
    EXPECT_EQ(msg().texts().mid(msg().texts().size() - 2),
              (QStringList{u("¿Desea Imprimir el contrato?"), u("¿Desea copia básica?")}));

    f.cmdSalir->click();
    EXPECT_EQ(Forms::loaded<frmListadoContratos>(), nullptr);
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_FALSE(Forms::loaded<frmMenu>()->isHidden());
}

// Wherever a document is shown, its window is brought to the front, maximised
// and active, before anything is asked; the questions are asked over it with
// the keyboard (the document keeps the activation while notices come and go)
// until the copies prompt brings its window over it. A box on the screen
// takes the keyboard and Enter answers its default.
TEST_F(ContratoProducidoTest, DocumentsShownComeToTheFrontAndWhatIsAskedOverThemHasTheKeyboard)
{
    fakeDesktop().takesActivation = true;
    fakeClock().duringWait = [](double) {
        if (Forms::loaded<frmMensaje>())
            takeActivationAway(); // a notice never takes the keyboard from the document
    };
    msg().whileShown = [this](const ScriptedMessageBoxes::Shown& caja) {
        QCoreApplication::processEvents(); // the activations asked for so far
        const QWindow* activa = QGuiApplication::focusWindow();
        fakeDesktop().journal << u("ask %1 over %2").arg(caja.text, activa ? activa->title() : u("the document"));
    };
    const QString aviso = QString::fromUtf8(kAvisoSegundaCara);
    writeFile(kRegistroSubcontratas, "{\\rtf1\\ansi REGISTRO\\par}");
    frmEmpresa* ficha = nullptr;

    const struct {
        const char* como;
        std::function<void()> mostrar;
        QStringList esperado;
    } casos[] = {
        {"contract production, not printed, stored",
         [&] {
             auto& produccion = (abrirLista().cmdNuevo->click(), *Forms::loaded<frmEleccionContrato>());
             QTest::keyClicks(produccion.txtNumEmpresa, u("00012"));
             QTest::keyClicks(produccion.txtNumTrabajador, u("00001"));
             elegir(produccion, u("TEMPORAL"), u("401 - Obra"));
             for (Answer a : {Answer::No, Answer::Yes, Answer::No})
                 msg().answer(a);
             produccion.cmdRealizarContrato->click();
             produccion.cmdSalir->click();
         },
         {"front <copia>", u("ask ¿Desea Imprimir el contrato? over the document"),
          u("ask ¿Desea guardar el contrato en la base de datos? over the document"),
          u("ask ¿Desea copia básica? over the document")}},
        {"the saved-contracts list, printed",
         [&] {
             auto& lista = abrirLista();
             CopiesAnswerer copias(lista.fraDatosImprimir, lista.txtNumeroCopias, lista.cmdCopias);
             msg().answer(Answer::Yes);
             copias.answer(u("1"));
             msg().answer(Answer::No);
             lista.cmdEditar->click();
         },
         {"front 0001200001.doc", u("ask ¿Desea Imprimir el contrato? over the document"),
          "activate Listado Contratos.", u("ask %1 over Listado Contratos.").arg(aviso),
          u("ask ¿Desea copia básica? over Listado Contratos.")}},
        {"the saved-contracts list, its boxes on the screen answered with Enter",
         [&] {
             platform::ScopedService<platform::MessageBoxes> enPantalla(platform::messageBoxesSlot(),
                                                                        platform::makeDesktopMessageBoxes());
             fakeDesktop().onActivate = [](QWindow& caja) {
                 if (QApplication::activeModalWidget())
                     QTimer::singleShot(0, &caja, [&caja] { QTest::keyClick(&caja, Qt::Key_Return); });
             };
             QTimer sinTeclado; // a box nobody can answer is closed, and the test fails
             QObject::connect(&sinTeclado, &QTimer::timeout, [] {
                 if (QWidget* caja = QApplication::activeModalWidget())
                     caja->close();
             });
             sinTeclado.start(3000);
             auto& lista = abrirLista();
             CopiesAnswerer copias(lista.fraDatosImprimir, lista.txtNumeroCopias, lista.cmdCopias);
             copias.answer(u("0"));
             lista.cmdEditar->click();
             fakeDesktop().onActivate = nullptr;
         },
         {"front 0001200001.doc", u("activate Confirmación."), "activate Tervalo", "activate Listado Contratos.",
          "activate Tervalo"}},
        {"the record window's stored contract",
         [&] {
             const qint64 empresa = insertar("Empresas", {{"NúmeroEmpresa", "00012"}, {"NombreEmpresa", "TALLERES"}});
             const qint64 trabajador = insertar("Trabajadores",
                                                {{"IdEmpresa", QString::number(empresa)},
                                                 {"NúmeroTrabajador", 1},
                                                 {"NombreTrabajador", "ANA ROS"},
                                                 {"Contrato", "401 - Obra"}});
             ficha = &fichaDeEmpresa(empresa);
             editarTrabajador(*ficha, trabajador);
             msg().answer(Answer::No);
             msg().answer(Answer::No);
             ficha->cmdAcceder->click();
         },
         {"front 0001200001.doc", u("ask ¿Desea Imprimir el contrato? over the document"),
          u("ask ¿Desea copia básica? over the document")}},
        {"the subcontractor register, once its help window is gone",
         [&] { ficha->cmdSubcontratas->click(); },
         {"activate Ayuda", "activate Empresa", "front <copia>"}},
    };
    for (const auto& caso : casos) {
        fakeDesktop().journal.clear();
        caso.mostrar();
        fakeDesktop().journal.replaceInStrings(QRegularExpression(u("Contrato\\w{6}\\.tmp")), u("<copia>"));
        EXPECT_EQ(fakeDesktop().journal, caso.esperado) << caso.como;
    }
    EXPECT_EQ(msg().unusedAnswers(), 0u);

    // A window that comes late is waited for with the windows working; one
    // that never comes, for a minute; one the word processor shows on another
    // display, for three seconds once it has the document.
    const struct {
        int vistazos;
        bool enOtraPantalla;
        int esperas;
    } ventanas[] = {{2, false, 2}, {1000, false, 240}, {0, true, 12}};
    for (const auto& ventana : ventanas) {
        fakeDesktop().attemptsBeforeWindow = ventana.vistazos;
        fakeDesktop().wordProcessorElsewhere = ventana.enOtraPantalla;
        fakeClock().waits.clear();
        platform::showDocument(host(kGuardado));
        EXPECT_EQ(fakeClock().waits, std::vector<double>(ventana.esperas, 0.25)) << ventana.esperas;
    }
}

TEST_F(ListadoContratosTest, ARowWithoutADocumentToOpenIsRefusedWithNoQuestion)
{
    writeFile("C:\\Quelvan\\Dorvane\\Otro.doc", "fuera de la carpeta");
    grabado("2026-11-30", "Sin nombre", "Alfa", "PRORROGA", "");
    grabado("2026-11-30", "Fuera", "Alfa", "Obra", "..\\Otro.doc");
    grabado("2026-11-30", "Fuera", "Alfa", "Obra", "../Otro.doc");
    grabado("2026-11-30", "Borrado", "Alfa", "Obra", "0009900001.doc");
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc", "documento");
    const qint64 borrado = grabado("2026-11-30", "Ya no", "Alfa", "Obra", "0001200001.doc");
    Forms::show<frmMenu>().mnuContratos->trigger();
    auto& f = *Forms::loaded<frmListadoContratos>();
    db.remove(u("ContratosGrabados"), u("IdContrato"), borrado);

    // The user is told which document is missing, or that there is none.
    const QString fuera = u("El documento guardado de este contrato, %1, no es un fichero de la carpeta de contratos.");
    const QStringList mensajes{
        u("Este contrato no tiene ningún documento guardado: su fila no nombra ningún fichero."),
        fuera.arg(u("..\\Otro.doc")),
        fuera.arg(u("../Otro.doc")),
        u("No se encuentra el documento guardado de este contrato, "
          "C:\\Quelvan\\Dorvane\\Contratos\\0009900001.doc."),
        u("No hay ningún contrato a editar."),
    };
    for (int fila = 4; fila >= 0; --fila) {
        f.dbgContratos->setRow(fila);
        f.cmdEditar->click();
        EXPECT_EQ(msg().texts().last(), mensajes[fila]) << fila;
        // A document gone is an error, told as the record window tells it.
        EXPECT_EQ(msg().shown().back().style, fila == 3 ? 16 : 64) << fila;
        EXPECT_EQ(f.dbgContratos->RecordCount(), 4) << "the whole table again";
    }
    EXPECT_EQ(msg().shown().size(), 5u);
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(fakeClock().waits, std::vector<double>(5, 2.0));

    // A search that finds nothing leaves no row to edit.
    f.cmdBuscar->click();
    QTest::keyClicks(f.txtTrabajador, u("zz"));
    f.cmdEditar->click();
    EXPECT_EQ(msg().texts().last(), u("No ha seleccionado ningún contrato a editar."));
    EXPECT_EQ(f.dbgContratos->RecordCount(), 4);
}

// Each field in its own column, the key included; each header sorts by its
// own field, every one in an order of its own.
TEST_F(ListadoContratosTest, EveryColumnShowsAndSortsByItsOwnField)
{
    const char* const filas[][5] = {{"N1", "2026-03-01", "Bea", "Alfa", "Temporal"},
                                    {"N2", "2026-01-01", "Carla", "Gamma", "Obra"},
                                    {"N3", "2026-02-01", "Ana", "Beta", "Indefinido"}};
    for (const auto& f : filas)
        insertar("ContratosGrabados",
                 {{"NumContrato", u(f[0])},
                  {"Fecha", u(f[1])},
                  {"Trabajador", u(f[2])},
                  {"Empresa", u(f[3])},
                  {"TipoContrato", u(f[4])},
                  {"Nombre", "x.doc"}});
    auto& f = abrirLista();
    const QStringList titulos{"Id", "Num", "Fecha", "Trabajador", "Empresa", "Tipo de Contrato"};
    ASSERT_EQ(f.dbgContratos->model()->columnCount(), titulos.size());
    for (int c = 0; c < titulos.size(); ++c) {
        EXPECT_EQ(f.dbgContratos->model()->headerData(c, Qt::Horizontal).toString(), titulos[c]);
        EXPECT_FALSE(f.dbgContratos->isColumnHidden(c)) << c;
    }
    EXPECT_EQ(textos(f.dbgContratos, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(textos(f.dbgContratos, 1), (QStringList{"N1", "N2", "N3"}));
    EXPECT_EQ(textos(f.dbgContratos, 2), (QStringList{"01/03/2026", "01/01/2026", "01/02/2026"}));
    EXPECT_EQ(textos(f.dbgContratos, 3), (QStringList{"Bea", "Carla", "Ana"}));
    EXPECT_EQ(textos(f.dbgContratos, 4), (QStringList{"Alfa", "Gamma", "Beta"}));
    EXPECT_EQ(textos(f.dbgContratos, 5), (QStringList{"Temporal", "Obra", "Indefinido"}));

    const std::pair<int, QStringList> ordenes[] = {
        {2, {"N2", "N3", "N1"}}, {3, {"N3", "N1", "N2"}}, {4, {"N1", "N3", "N2"}}, {5, {"N3", "N2", "N1"}}};
    for (const auto& [columna, orden] : ordenes) {
        f.dbgContratos->HeadClick(columna);
        EXPECT_EQ(textos(f.dbgContratos, 1), orden) << columna;
    }
}

// The window's decoration: a picture beside the title, a rule over the
// buttons and blocks behind them, every button still there to be clicked.
TEST_F(ListadoContratosTest, ItsDecorationLiesBehindTheButtons)
{
    auto& f = abrirLista();
    const auto* imagen = f.findChild<platform::Picture*>(u("Image1"));
    ASSERT_NE(imagen, nullptr);
    EXPECT_TRUE(isShown(imagen));
    EXPECT_FALSE(imagen->pixmap().isNull());
    EXPECT_FALSE(imagen->geometry().intersects(f.lblTitulo->geometry()));
    EXPECT_FALSE(imagen->geometry().intersects(f.dbgContratos->geometry()));
    std::map<std::string, const platform::Shape*> formas;
    for (const char* nombre : {"Shape1", "Shape2", "Shape3"}) {
        formas[nombre] = f.findChild<platform::Shape*>(u(nombre));
        ASSERT_NE(formas[nombre], nullptr) << nombre;
        EXPECT_TRUE(isShown(formas[nombre])) << nombre;
    }
    for (QPushButton* boton : {f.cmdNuevo, f.cmdEditar, f.cmdBorrar, f.cmdBuscar, f.cmdAyuda, f.cmdSalir}) {
        const auto* detras = formas[boton == f.cmdSalir ? "Shape2" : "Shape1"];
        EXPECT_TRUE(detras->geometry().contains(boton->geometry())) << boton->objectName().toStdString();
        EXPECT_EQ(f.childAt(boton->geometry().center()), boton);
        EXPECT_FALSE(formas["Shape3"]->geometry().intersects(boton->geometry()));
    }
    for (const QWidget* encima : std::initializer_list<const QWidget*>{f.dbgContratos, f.fraNumero, f.fraBuscar})
        EXPECT_FALSE(formas["Shape3"]->geometry().intersects(encima->geometry())) << encima->objectName().toStdString();
}

// A contract's number and date show whole in the grid's font, and the names
// and the type share the rest of its width, at any size of the window.
TEST_F(ListadoContratosTest, NumbersAndDatesShowWholeAndTheNamesShareTheRest)
{
    insertar("ContratosGrabados", {{"NumContrato", u("0000012345")},
                                   {"Fecha", u("2026-12-28")},
                                   {"Trabajador", u("MARIA DEL CARMEN FERNANDEZ DE LA TORRE")},
                                   {"Empresa", u("CONSTRUCCIONES Y REFORMAS DEL SEGRIA SL")},
                                   {"TipoContrato", u("INDEFINIDO")},
                                   {"Nombre", "x.doc"}});
    auto& f = abrirLista();
    platform::DBGrid* g = f.dbgContratos;
    for (const int ancho : {f.width(), f.width() * 3 / 2, f.width() * 3 / 4}) {
        SCOPED_TRACE(ancho);
        f.resize(ancho, f.height());
        QApplication::processEvents();
        const QFontMetrics medida(g->font());
        for (const int c : {1, 2})
            EXPECT_GE(g->columnWidth(c), medida.horizontalAdvance(g->item(0, c)->text())) << c;
        int total = 0;
        for (int c = 0; c < g->columnCount(); ++c)
            total += g->columnWidth(c);
        EXPECT_EQ(total, g->viewport()->width()) << "the columns fill the grid";
        EXPECT_GT(g->columnWidth(3), g->columnWidth(1)) << "the rest goes to the names";
    }
}
