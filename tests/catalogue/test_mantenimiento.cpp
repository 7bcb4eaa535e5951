#include "CatalogoTest.h"

#include "app/frmMenu.h"
#include "catalogue/frmClausulas.h"
#include "catalogue/frmManContrato.h"
#include "catalogue/frmManContratos.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::Answer;
using platform::Forms;
using platform::isShown;

namespace {

const QString kNadaQueEditar = QStringLiteral("No ha seleccionado ningún tipo de contrato a editar.");
const QString kNadaQueBorrar = QStringLiteral("No ha seleccionado ningún tipo de contrato a borrar.");

} // namespace

class TiposContratoTest : public CatalogoTest {
protected:
    qint64 tipo(const QString& nombre) { return insertar("TipoContrato", {{QStringLiteral("TipoContrato"), nombre}}); }
    qint64 contrato(const QString& nombre, const QVariant& idTipo)
    {
        return insertar("Contrato", {{QStringLiteral("Contrato"), nombre},
                                     {QStringLiteral("TipoContrato"), QStringLiteral("Temporal")},
                                     {QStringLiteral("IdTipoContrato"), idTipo}});
    }
    static QString estado(const frmManContratos& w)
    {
        QString s;
        for (const QPushButton* b : {w.cmdNuevo, w.cmdEditar, w.cmdGrabar, w.cmdBorrar, w.cmdCancelar})
            s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
};

TEST_F(TiposContratoTest, NoRowIsCurrentAfterACountUntilTheUserPicksOne)
{
    auto& w = abrir<frmManContratos>();
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("0"));
    EXPECT_EQ(estado(w), QStringLiteral("10000"));
    EXPECT_FALSE(w.dbgTipoContrato->isColumnHidden(0)) << "the Id column is shown";

    clic(w.cmdNuevo);
    EXPECT_TRUE(w.txtTipoContrato->hasFocus());
    QTest::keyClicks(w.txtTipoContrato, QStringLiteral("O'Neil \"fijo\""));
    clic(w.cmdGrabar);
    EXPECT_EQ(valor(QStringLiteral("SELECT TipoContrato FROM TipoContrato")).toString(),
              QStringLiteral("O'Neil \"fijo\""));
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("1"));
    EXPECT_EQ(estado(w), QStringLiteral("11010"));
    clic(w.cmdEditar);
    clic(w.cmdBorrar);
    EXPECT_EQ(msg().texts(), (QStringList{kNadaQueEditar, kNadaQueBorrar}));
    EXPECT_FALSE(w.cmdCancelar->isEnabled());

    // While a row is added a double click on the grid does nothing; the
    // required name is asked for and the addition stays open.
    clic(w.cmdNuevo);
    dobleClic(w.dbgTipoContrato, 0);
    EXPECT_TRUE(w.txtTipoContrato->text().isEmpty());
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("No ha introducido el nombre del Tipo de Contrato"));
    EXPECT_EQ(msg().shown().back().style, 64);
    EXPECT_TRUE(w.txtTipoContrato->hasFocus());
    EXPECT_EQ(estado(w), QStringLiteral("00101"));
    QTest::keyClicks(w.txtTipoContrato, QStringLiteral("TEMPORAL"));
    clic(w.cmdGrabar);
    EXPECT_EQ(filas("TipoContrato"), 2);

    // After Cancelar the first row is current; while it is edited the grid
    // shows it alone, and a listing prints it without ending the edit.
    clic(w.cmdNuevo);
    clic(w.cmdCancelar);
    clic(w.cmdEditar);
    EXPECT_EQ(w.txtTipoContrato->text(), QStringLiteral("O'Neil \"fijo\""));
    EXPECT_EQ(w.dbgTipoContrato->rowCount(), 1);
    w.txtTipoContrato->setText(QStringLiteral("FIJO"));
    clic(w.cmdImprimir);
    EXPECT_EQ(fakePrinter().page().mid(6), QStringList{QStringLiteral("         1         O'Neil \"fijo\"")});
    clic(w.cmdGrabar);
    EXPECT_EQ(columna(w.dbgTipoContrato, 1), (QStringList{"FIJO", "TEMPORAL"}));
}

TEST_F(TiposContratoTest, DeletingATypeUnlinksItsContractsOnly)
{
    const qint64 temporal = tipo(QStringLiteral("TEMPORAL"));
    const qint64 fijo = tipo(QStringLiteral("FIJO"));
    for (int i = 0; i < 3; ++i)
        contrato(QStringLiteral("Obra %1").arg(i), QString::number(temporal));
    contrato(QStringLiteral("Indefinido"), QString::number(fijo));
    auto& w = abrir<frmManContratos>();

    elegir(w.dbgTipoContrato, 0);
    msg().answer(Answer::No);
    clic(w.cmdBorrar);
    EXPECT_EQ(filas("TipoContrato"), 2);
    EXPECT_EQ(msg().shown().back().style, 292);
    EXPECT_EQ(msg().shown().back().title, QStringLiteral("Confirmación."));

    elegir(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    QString aviso;
    fakeClock().duringWait = [&](double) { aviso = Forms::get<frmMensaje>().lblMensaje->text(); };
    clic(w.cmdBorrar);
    EXPECT_EQ(aviso, QStringLiteral("Tipo de Contrato Eliminado."));
    EXPECT_EQ(fakeClock().waits, std::vector<double>{1.0});
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM Contrato WHERE IdTipoContrato = '' AND TipoContrato = "
                                   "'Temporal'"))
                  .toInt(),
              3);
    EXPECT_EQ(valor(QStringLiteral("SELECT IdTipoContrato FROM Contrato WHERE Contrato = 'Indefinido'")).toString(),
              QString::number(fijo));

    // Deleting the last type leaves nothing to edit or delete.
    elegir(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("0"));
    EXPECT_EQ(estado(w), QStringLiteral("10000"));
}

TEST_F(TiposContratoTest, AFailedDeletionLeavesTheTablesAsTheyWere)
{
    const qint64 temporal = tipo(QStringLiteral("TEMPORAL"));
    contrato(QStringLiteral("Obra"), QString::number(temporal));
    base().exec(QStringLiteral("CREATE TRIGGER falla BEFORE DELETE ON TipoContrato BEGIN SELECT RAISE(ABORT, "
                               "'disco lleno'); END"));
    auto& w = abrir<frmManContratos>();
    elegir(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);

    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(ultimoMensaje().contains(QStringLiteral("disco lleno")));
    EXPECT_FALSE(programEnded);
    EXPECT_EQ(valor(QStringLiteral("SELECT IdTipoContrato FROM Contrato")).toString(), QString::number(temporal));
    EXPECT_EQ(filas("TipoContrato"), 1);
    EXPECT_EQ(w.dbgTipoContrato->rowCount(), 1) << "back to browsing the whole table";
    EXPECT_EQ(estado(w), QStringLiteral("11010"));
}

TEST_F(TiposContratoTest, TheWindowTakesNoClicksWhileItWaits)
{
    tipo(QStringLiteral("TEMPORAL"));
    tipo(QStringLiteral("FIJO"));
    auto& w = abrir<frmManContratos>();
    elegir(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    fakeClock().duringWait = [&](double) {
        clic(w.cmdNuevo);
        w.close();
    };
    clic(w.cmdBorrar);
    EXPECT_TRUE(Forms::isLoaded(w));
    EXPECT_FALSE(isShown(w.fraTipoContrato));
    EXPECT_EQ(filas("TipoContrato"), 1);
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(TiposContratoTest, HelpModeShowsHelpInsteadOfActing)
{
    tipo(QStringLiteral("TEMPORAL"));
    auto& w = abrir<frmManContratos>();
    const std::pair<QPushButton*, const char*> botones[] = {
        {w.cmdNuevo, "Botón Nuevo : "},       {w.cmdEditar, "Botón Editar : "},
        {w.cmdGrabar, "Botón Grabar : "},     {w.cmdBorrar, "Botón Borrar : "},
        {w.cmdCancelar, "Botón Cancelar : "}, {w.cmdImprimir, "Botón Imprimir : "},
    };
    for (const auto& [boton, titulo] : botones) {
        boton->setEnabled(true);
        clic(w.cmdAyuda);
        EXPECT_EQ(w.MousePointer(), 14);
        clic(boton);
        EXPECT_FALSE(frmAyuda::ModoAyuda);
        EXPECT_EQ(Forms::get<frmAyuda>().fraAyuda->title(), QString::fromUtf8(titulo));
    }
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_TRUE(fakePrinter().printouts.empty());
    EXPECT_EQ(filas("TipoContrato"), 1);

    // A double click is Editar, help included.
    clic(w.cmdAyuda);
    dobleClic(w.dbgTipoContrato, 0);
    EXPECT_EQ(Forms::get<frmAyuda>().txtAyuda->toPlainText(),
              QStringLiteral("Obtendremos un cuadro de texto con el tipo de contrato que deseamos editar para su "
                             "modificación."));
    EXPECT_FALSE(isShown(w.fraTipoContrato));

    // Volver leaves at once, help mode and all, back to the maintenance panel.
    clic(w.cmdAyuda);
    clic(w.cmdSalir);
    EXPECT_TRUE(frmAyuda::ModoAyuda);
    EXPECT_FALSE(Forms::isLoaded(w));
    auto* menu = Forms::loaded<frmMenu>();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(isShown(menu->fraMantenimientos));
}

class ContratosTest : public CatalogoTest {
protected:
    void nuevo(frmManContrato& w, const QString& nombre, const QString& tipo, const QString& codigo,
               const QString& modelo)
    {
        clic(w.cmdNuevo);
        QTest::keyClicks(w.txtContrato, nombre);
        w.cmbTipoContrato->setEditText(tipo);
        QTest::keyClicks(w.txtCodigo, codigo);
        w.cmbModelos->setEditText(modelo);
        clic(w.cmdGrabar);
    }
    QString idTipoDe(const QString& contrato)
    {
        return valor(QStringLiteral("SELECT IdTipoContrato FROM Contrato WHERE Contrato = ?"), {contrato}).toString();
    }
};

TEST_F(ContratosTest, AContractKeepsTheIdOfItsTypeByName)
{
    insertar("TipoContrato", {{QStringLiteral("TipoContrato"), QStringLiteral("Temporal")}});
    insertar("TipoContrato", {{QStringLiteral("TipoContrato"), QStringLiteral("Obra d'Or")}});
    insertar("TipoContrato", {{QStringLiteral("TipoContrato"), QStringLiteral("Temporal")}});
    insertar("Modelo", {{QStringLiteral("NombreModelo"), QStringLiteral("T01")}});
    auto& w = abrir<frmManContrato>();
    EXPECT_EQ(w.cmbTipoContrato->count(), 3);
    EXPECT_EQ(w.cmbModelos->itemText(0), QStringLiteral("T01"));

    nuevo(w, QStringLiteral("Eventual"), QStringLiteral("temporal"), QStringLiteral("402"), QStringLiteral("T01"));
    nuevo(w, QStringLiteral("Oro"), QStringLiteral("Obra d'Or"), QStringLiteral("100"), QStringLiteral("T01"));
    nuevo(w, QStringLiteral("Suelto"), QStringLiteral("Nadie"), QStringLiteral("1"), QStringLiteral("T01"));
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(idTipoDe(QStringLiteral("Eventual")), QStringLiteral("1")) << "the lowest id of the name";
    EXPECT_EQ(idTipoDe(QStringLiteral("Oro")), QStringLiteral("2"));
    const QVariant sinTipo = valor(QStringLiteral("SELECT IdTipoContrato FROM Contrato WHERE Contrato = 'Suelto'"));
    EXPECT_FALSE(sinTipo.isNull());
    EXPECT_TRUE(sinTipo.toString().isEmpty());

    // Contract production lists a type's contracts by that id.
    const auto deTipo = base().select(
        QStringLiteral("SELECT * FROM Contrato WHERE IdTipoContrato = ? ORDER BY Código"), {QStringLiteral("2")});
    ASSERT_EQ(deTipo.size(), 1u);
    EXPECT_EQ(deTipo.front().text(QStringLiteral("Contrato")), QStringLiteral("Oro"));
    EXPECT_EQ(deTipo.front().text(QStringLiteral("Modelo")), QStringLiteral("T01"));
    EXPECT_FALSE(isShown(w.lblTitulo));
}

TEST_F(ContratosTest, RequiredFieldsAreAskedForInOrder)
{
    auto& w = abrir<frmManContrato>();
    EXPECT_TRUE(isShown(w.lblTitulo));
    clic(w.cmdNuevo);
    EXPECT_FALSE(isShown(w.lblTitulo));
    const std::pair<QWidget*, const char*> pasos[] = {
        {w.txtContrato, "No ha introducido el nombre del contrato"},
        {w.cmbTipoContrato, "No ha introducido el nombre del tipo de contrato"},
        {w.txtCodigo, "No ha introducido el nombre del código contrato"},
        {w.cmbModelos, "No ha introducido el modelo del contrato"},
    };
    for (const auto& [editor, mensaje] : pasos) {
        clic(w.cmdGrabar);
        EXPECT_EQ(ultimoMensaje(), QString::fromUtf8(mensaje));
        EXPECT_TRUE(editor->hasFocus() || editor->isAncestorOf(QApplication::focusWidget()));
        ponerTextoEditor(editor, QStringLiteral("1"));
    }
    clic(w.cmdGrabar);
    EXPECT_EQ(filas("Contrato"), 1);
}

TEST_F(ContratosTest, TheCodeMustBeANumber)
{
    auto& w = abrir<frmManContrato>();
    clic(w.cmdNuevo);
    QTest::mouseClick(w.txtCodigo, Qt::LeftButton);
    QTest::keyClicks(w.txtCodigo, QStringLiteral("12a"));
    clic(w.cmdCancelar);
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("El valor del código debe ser numérico"));
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(w.txtCodigo->hasFocus());
    EXPECT_TRUE(w.txtCodigo->text().isEmpty());
    EXPECT_TRUE(isShown(w.fraContrato)) << "the click that tried to leave did not act";

    for (const char* codigo : {"-1", "1,5", "2E3", ""}) {
        w.txtCodigo->setFocus();
        w.txtCodigo->setText(QString::fromUtf8(codigo));
        w.txtContrato->setFocus();
        EXPECT_TRUE(w.txtContrato->hasFocus()) << codigo;
    }
    EXPECT_EQ(msg().shown().size(), 1u);
}

TEST_F(CatalogoTest, DeletingAClauseRemovesItsCompanyLinks)
{
    const QString larga = QString(600, QLatin1Char('x')) + QStringLiteral("\r\nque el 'trabajador' acepte");
    const qint64 primera = insertar("Clausulas", {{QStringLiteral("Clausula"), QStringLiteral("Primera")}});
    const qint64 segunda = insertar("Clausulas", {{QStringLiteral("Clausula"), QStringLiteral("Segunda")}});
    for (int empresa = 1; empresa <= 3; ++empresa)
        insertar("EMPRESACLAUSULA", {{QStringLiteral("IDEMPRESA"), empresa}, {QStringLiteral("IDCLAUSULA"), primera}});
    insertar("EMPRESACLAUSULA", {{QStringLiteral("IDEMPRESA"), 1}, {QStringLiteral("IDCLAUSULA"), segunda}});
    insertar("Empresas", {{QStringLiteral("Clausula1"), primera}});
    auto& w = abrir<frmClausulas>();

    // A clause is required; its text is kept whole, quotes and lines included.
    clic(w.cmdNuevo);
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("No ha introducido ningún texto como clausula."));
    EXPECT_EQ(msg().shown().back().style, 16);
    w.txtClausula->setPlainText(larga);
    clic(w.cmdGrabar);
    EXPECT_EQ(valor(QStringLiteral("SELECT IdClausula FROM Clausulas WHERE Clausula = ?"), {larga}).toInt(), 3);

    elegir(w.dbgClausulas, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("Desea eliminar la cláusula."));
    EXPECT_EQ(filas("EMPRESACLAUSULA"), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT IDCLAUSULA FROM EMPRESACLAUSULA")).toLongLong(), segunda);
    EXPECT_EQ(valor(QStringLiteral("SELECT Clausula1 FROM Empresas")).toLongLong(), primera);
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("2"));
}

TEST_F(CatalogoTest, TheMaintenancePanelOpensEachWindow)
{
    writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
    const std::pair<platform::OptionButton* frmMenu::*, const char*> opciones[] = {
        {&frmMenu::optModelos, "frmModelos"},       {&frmMenu::optManTipoContrato, "frmManContratos"},
        {&frmMenu::optManContrato, "frmManContrato"}, {&frmMenu::optClausulas, "frmClausulas"},
        {&frmMenu::optMarcas, "frmMarcas"},
    };
    for (const auto& [opcion, ventana] : opciones) {
        auto& menu = Forms::show<frmMenu>();
        menu.cmdTablas_Click();
        (menu.*opcion)->setValue(true);
        ASSERT_FALSE(Forms::isLoaded(menu));
        const auto abiertas = Forms::loadedForms();
        ASSERT_EQ(abiertas.size(), 1u);
        platform::Form* abierta = abiertas.front();
        EXPECT_EQ(abierta->objectName(), QString::fromUtf8(ventana));
        clic(abierta->findChild<QPushButton*>(QStringLiteral("cmdSalir")));
        EXPECT_TRUE(isShown(Forms::get<frmMenu>().fraMantenimientos));
    }
}
