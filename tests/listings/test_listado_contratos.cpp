#include "../production/Generador.h"

#include "app/frmMenu.h"
#include "common/Documentos.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "data/Esquema.h"
#include "listings/frmListadoContratos.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Document.h"
#include "platform/Forms.h"
#include "platform/TextBox.h"
#include "production/frmEleccionContrato.h"

#include <QAction>
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
using namespace testing_support;

namespace {

// The list as the main window's contracts button opens it.
frmListadoContratos& abrirLista()
{
    Forms::show<frmMenu>().cmdContratos->click();
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
    auto& f = *Forms::loaded<frmListadoContratos>();
    QApplication::setActiveWindow(&f);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    return f;
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
};

TEST_F(ListadoContratosTest, SearchIsAPrefixOfOneNameTakenAsTypedAndSortsDropIt)
{
    grabado("2026-03-02", "Luis Gil", "L'Hospitalet Obras", "Temporal");
    grabado("2025-11-20", "Ana Ruiz", "Garcia y Cia", "Indefinido");
    grabado("2026-01-15", "ana Sanz", "gamma 10%", "Formacion");
    grabado("2024-06-01", "Eva Mar", "Gamma 100", "Obra");
    grabado("2026-05-05", "Sin Empresa", nullptr, "Obra");
    auto& f = abrirLista();
    EXPECT_EQ(columna(f.dbgContratos, 2).first(), QStringLiteral("02/03/2026"));

    f.cmdBuscar->click();
    EXPECT_FALSE(isShown(f.cmdBuscar));
    EXPECT_FALSE(isShown(f.cmdAyuda));

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
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ListadoContratosTest, BorrarTakesTheRowOffAndLeavesTheDocument)
{
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0000100002.doc", "documento");
    grabado("2026-01-01", "Ana", "Alfa", "Obra", "0000100001.doc");
    grabado("2026-01-02", "Luis", "Alfa", "Obra", "0000100002.doc");
    auto& f = abrirLista();
    QTest::keyClicks(f.txtEmpresa, QStringLiteral("Alfa"));
    f.dbgContratos->setRow(1);

    // In help mode the button explains itself instead.
    f.cmdAyuda->click();
    f.cmdBorrar->click();
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Borrar : "));
    EXPECT_TRUE(msg().shown().empty());

    msg().answer(Answer::No);
    f.cmdBorrar->click();
    EXPECT_EQ(msg().shown().back().text, QStringLiteral("Desea eliminar el contrato"));
    EXPECT_EQ(msg().shown().back().style, 292);
    EXPECT_EQ(msg().shown().back().title, u("Confirmación."));
    EXPECT_EQ(f.dbgContratos->RecordCount(), 2);

    f.dbgContratos->setRow(1);
    msg().answer(Answer::Yes);
    f.cmdBorrar->click();
    EXPECT_EQ(columna(f.dbgContratos, 3), QStringList{"Ana"});
    EXPECT_EQ(f.txtNum->text(), QStringLiteral("1"));
    EXPECT_TRUE(f.cmdEditar->isEnabled());
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Contratos\\0000100002.doc"), QByteArray("documento"));

    msg().answer(Answer::Yes);
    f.cmdBorrar->click();
    EXPECT_EQ(f.txtNum->text(), QStringLiteral("0"));
    for (QPushButton* boton : {f.cmdBuscar, f.cmdEditar, f.cmdBorrar})
        EXPECT_FALSE(boton->isEnabled());
}

class EditarContratoTest : public ListadoContratosTest {
protected:
    // A contract as contract production stores it: the worker's personal
    // data written at its marks, the copia básica's bookmarks left empty.
    void SetUp() override
    {
        SampleDocument d;
        d.body = {{text("Trabajador con NIF "), start("M0115"), end("M0115"), start("B0115"), end("B0115")},
                  {text("Empresa "), start("M0001"), end("M0001")},
                  {text("Firma: "), start("BPIE11"), end("BPIE11")},
                  {start("Basica"), end("Basica")}};
        writeFile(kContrato, toDocx(d));
        platform::Document contrato = platform::Document::open(host(kContrato));
        contrato.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
        contrato.insertAfter(QStringLiteral("M0001"), QStringLiteral("Talleres Norte"));
        contrato.save();
        guardado = readFile(kContrato);
        grabado("2026-11-30", "Ana Ruiz", "Talleres Norte", "INDEFINIDO", "0001200001.doc");
    }
    void TearDown() override { copias.reset(); }

    frmListadoContratos& abrirConCopias()
    {
        auto& f = abrirLista();
        copias = std::make_unique<CopiesAnswerer>(f.fraDatosImprimir, f.txtNumeroCopias, f.cmdCopias);
        return f;
    }

    static constexpr const char* kContrato = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";
    QByteArray guardado;
    std::unique_ptr<CopiesAnswerer> copias;
};

// The road of a contract to the list and back: produced from the list's
// "Nuevo", listed, shown, printed double-sided from the file on disk with
// its copia básica, then "Volver.". The window is blocked meanwhile.
class ContratoProducidoTest : public GeneradorTest {
protected:
    ContratoProducidoTest() { writeFile("C:\\Quelvan\\Dorvane\\configold", ""); }
    ~ContratoProducidoTest() override { copiasLista.reset(); }

    static constexpr const char* kGuardado = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";
    std::unique_ptr<CopiesAnswerer> copiasLista;
};

TEST_F(ContratoProducidoTest, ProducedFromNuevoListedThenShownPrintedWithItsCopiaBasicaAndBack)
{
    abrirLista().cmdNuevo->click();
    auto& produccion = *Forms::loaded<frmEleccionContrato>();
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
    EXPECT_EQ(columna(f.dbgContratos, 3), QStringList{u("ANA ROS")});
    EXPECT_EQ(columna(f.dbgContratos, 5), QStringList{u("401 - Obra")});
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

    // The copia básica: the caption, the blanks and none of the personal data; nothing stored.
    const platform::Document copia = platform::Document::open(host("C:\\Borrador.doc"));
    EXPECT_FALSE(fakeOffice().calls.back().content.contains("12345678Z"));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("M0102")), u("ANA ROS"));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("M0115")), QString());
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("B0115")), QString(112, QLatin1Char(' ')));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("BPIE11")).trimmed(), u("El/la representante de los trabajadores"));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("Basica")), u("COPIA BÁSICA"));
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\Contratos\\0001200001CB.doc"));
    EXPECT_EQ(readFile(kGuardado), guardado);
    EXPECT_EQ(f.dbgContratos->RecordCount(), 1);

    f.cmdSalir->click();
    EXPECT_EQ(Forms::loaded<frmListadoContratos>(), nullptr);
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_FALSE(Forms::loaded<frmMenu>()->isHidden());
}

TEST_F(EditarContratoTest, ZeroCopiesPrintNothingButKeepThePacing)
{
    auto& f = abrirConCopias();
    msg().answer(Answer::Yes);
    copias->answer(QStringLiteral("0"));
    msg().answer(Answer::No);
    f.cmdEditar->click();
    for (const FakeOffice::Call& llamada : fakeOffice().calls)
        EXPECT_TRUE(llamada.action == QLatin1String("show") || llamada.copies == 0);
    EXPECT_EQ(msg().texts().count(QString::fromUtf8(kAvisoSegundaCara)), 1);
    EXPECT_EQ(fakeClock().waits, (std::vector<double>{4, 15, 15, 2, 2}));
    EXPECT_FALSE(exists("C:\\Borrador.doc"));
}

TEST_F(EditarContratoTest, ARowWithoutADocumentToOpenIsRefusedWithNoQuestion)
{
    writeFile("C:\\Quelvan\\Dorvane\\Otro.doc", "fuera de la carpeta");
    grabado("2026-11-30", "Sin nombre", "Alfa", "PRORROGA", "");
    grabado("2026-11-30", "Fuera", "Alfa", "Obra", "..\\Otro.doc");
    grabado("2026-11-30", "Fuera", "Alfa", "Obra", "../Otro.doc");
    grabado("2026-11-30", "Borrado", "Alfa", "Obra", "0009900001.doc");
    const qint64 borrado = grabado("2026-11-30", "Ya no", "Alfa", "Obra", "0001200001.doc");
    auto& f = abrirConCopias();
    AbrirBaseDatos().remove(QStringLiteral("ContratosGrabados"), QStringLiteral("IdContrato"), borrado);

    for (int fila = 5; fila >= 1; --fila) {
        f.dbgContratos->setRow(fila);
        f.cmdEditar->click();
        EXPECT_EQ(msg().texts().last(), u("No hay ningún contrato a editar.")) << fila;
        EXPECT_EQ(msg().shown().back().style, 64);
        EXPECT_EQ(f.dbgContratos->RecordCount(), 5) << "the whole table again";
    }
    EXPECT_EQ(msg().shown().size(), 5u);
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(fakeClock().waits, std::vector<double>(5, 2.0));

    // A search that finds nothing leaves no row to edit.
    f.cmdBuscar->click();
    QTest::keyClicks(f.txtTrabajador, QStringLiteral("zz"));
    f.cmdEditar->click();
    EXPECT_EQ(msg().texts().last(), u("No ha seleccionado ningún contrato a editar."));
    EXPECT_EQ(f.dbgContratos->RecordCount(), 5);
}

TEST_F(EditarContratoTest, NuevoOpensContractProductionWithNothingTakenOver)
{
    Forms::show<frmMenu>().mnuContratos->trigger();
    auto& f = *Forms::loaded<frmListadoContratos>();
    // Editar's help ends with the pause of a reopening.
    f.cmdAyuda->click();
    f.cmdEditar->click();
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Editar : "));
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(fakeClock().waits, std::vector<double>{2});

    f.cmdNuevo->click();
    EXPECT_EQ(Forms::loaded<frmListadoContratos>(), nullptr);
    auto* eleccion = Forms::loaded<frmEleccionContrato>();
    ASSERT_NE(eleccion, nullptr);
    EXPECT_FALSE(eleccion->isHidden());
    EXPECT_EQ(eleccion->OrigenDatos, 2);
    EXPECT_EQ(eleccion->AperturaDesdeListado, 2);
    EXPECT_TRUE(eleccion->txtNumEmpresa->text().isEmpty());
    EXPECT_TRUE(eleccion->txtNombreTrabajador->text().isEmpty());
}
