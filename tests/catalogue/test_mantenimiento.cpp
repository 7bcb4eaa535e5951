#include "CatalogoTest.h"

#include "catalogue/frmDocumentos.h"

#include <QApplication>
#include <QWindow>

class TiposContratoTest : public CatalogoTest {
protected:
    qint64 tipo(const QString& nombre) { return insertar("TipoContrato", {{"TipoContrato", nombre}}); }
    qint64 contrato(const QString& nombre, const QVariant& idTipo)
    {
        return insertar("Contrato", {{"Contrato", nombre}, {"TipoContrato", "Temporal"}, {"IdTipoContrato", idTipo}});
    }
    // Nuevo, Editar, Grabar, Borrar and Cancelar: "1" enabled, "0" not.
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
    EXPECT_EQ(w.txtNum->text() + estado(w), u("010000"));
    EXPECT_FALSE(w.dbgTipoContrato->isColumnHidden(0)) << "the Id column is shown";
    // Back to browsing, Enter where the focus is left asks nothing and prints nothing.
    const auto enter = [this] {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(msg().shown().empty());
        EXPECT_TRUE(fakePrinter().printouts.empty());
    };
    clic(w.cmdNuevo);
    clic(w.cmdCancelar);
    EXPECT_EQ(estado(w), u("11010")) << "Cancelar enables Editar and Borrar on an empty table too";
    enter();

    clic(w.cmdNuevo);
    EXPECT_TRUE(w.txtTipoContrato->hasFocus());
    QTest::keyClicks(w.txtTipoContrato, u("O'Neil \"fijo\""));
    clic(w.cmdGrabar);
    EXPECT_EQ(columna(u("SELECT TipoContrato FROM TipoContrato")), QStringList{"O'Neil \"fijo\""});
    EXPECT_EQ(w.txtNum->text() + estado(w), u("111010"));
    enter();
    clic(w.cmdEditar);
    clic(w.cmdBorrar);
    EXPECT_EQ(msg().texts(), (QStringList{"No ha seleccionado ningún tipo de contrato a editar.",
                                          "No ha seleccionado ningún tipo de contrato a borrar."}));

    // While a row is added a double click on the grid does nothing; the
    // required name is asked for and the addition stays open.
    clic(w.cmdNuevo);
    dobleClic(w.dbgTipoContrato, 0);
    EXPECT_TRUE(w.txtTipoContrato->text().isEmpty());
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), u("No ha introducido el nombre del Tipo de Contrato"));
    EXPECT_EQ(msg().shown().back().style, 64);
    EXPECT_TRUE(w.txtTipoContrato->hasFocus());
    EXPECT_EQ(estado(w), u("00101"));
    QTest::keyClicks(w.txtTipoContrato, u("TEMPORAL"));
    QTest::keyClick(w.txtTipoContrato, Qt::Key_Return);
    EXPECT_EQ(cuenta("TipoContrato"), 2) << "Enter in the name saves it";
    EXPECT_FALSE(isShown(w.fraTipoContrato));

    // After Cancelar the first row is current; while it is edited the grid
    // shows it alone, and a listing prints it without ending the edit.
    clic(w.cmdNuevo);
    clic(w.cmdCancelar);
    clic(w.cmdEditar);
    EXPECT_EQ(w.txtTipoContrato->text(), u("O'Neil \"fijo\""));
    EXPECT_EQ(w.dbgTipoContrato->rowCount(), 1);
    w.txtTipoContrato->setText(u("FIJO"));
    clic(w.cmdImprimir);
    EXPECT_EQ(fakePrinter().page().mid(5),
              (QStringList{"       Núm.  Tipo de contrato.", "         1         O'Neil \"fijo\""}));
    clic(w.cmdGrabar);
    EXPECT_EQ(textos(w.dbgTipoContrato, 1), (QStringList{"FIJO", "TEMPORAL"}));
}

TEST_F(TiposContratoTest, DeletingATypeUnlinksItsContractsInOneStepWhileTheWindowWaits)
{
    const qint64 temporal = tipo(u("TEMPORAL"));
    const qint64 fijo = tipo(u("FIJO"));
    for (int i = 0; i < 3; ++i)
        contrato(u("Obra %1").arg(i), QString::number(temporal));
    contrato(u("Indefinido"), QString::number(fijo));
    const auto enlaces = [&] { return columna(u("SELECT IdTipoContrato FROM Contrato ORDER BY IdContrato")); };
    const QStringList antes = enlaces();
    auto& w = abrir<frmManContratos>();

    // A failure half-way: told, the tables as they were, the window browsing again.
    db.exec(u("CREATE TRIGGER falla BEFORE DELETE ON TipoContrato BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"));
    pulsarFila(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(ultimoMensaje().contains(u("disco lleno")));
    EXPECT_FALSE(programEnded);
    EXPECT_EQ(enlaces(), antes);
    EXPECT_EQ(w.dbgTipoContrato->rowCount() + cuenta("TipoContrato"), 4);
    EXPECT_EQ(estado(w), u("11010"));
    db.exec(u("DROP TRIGGER falla"));

    pulsarFila(w.dbgTipoContrato, 0);
    msg().answer(Answer::No);
    clic(w.cmdBorrar);
    EXPECT_EQ(cuenta("TipoContrato"), 2);
    EXPECT_EQ(msg().shown().back().style, 292);
    EXPECT_EQ(msg().shown().back().title, u("Confirmación."));

    // The notice's pause takes no clicks, the close box included.
    pulsarFila(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    QString aviso;
    fakeClock().duringWait = [&](double) {
        aviso = Forms::get<frmMensaje>().lblMensaje->text();
        clic(w.cmdNuevo);
        w.close();
    };
    clic(w.cmdBorrar);
    EXPECT_EQ(aviso, u("Tipo de Contrato Eliminado."));
    EXPECT_EQ(fakeClock().waits, std::vector<double>{1.0});
    EXPECT_TRUE(Forms::isLoaded(w) && w.isEnabled() && !isShown(w.fraTipoContrato));
    EXPECT_EQ(w.txtNum->text(), u("1"));
    EXPECT_EQ(enlaces(), (QStringList{"", "", "", QString::number(fijo)}));

    // Deleting the last type leaves nothing to edit or delete.
    fakeClock().duringWait = nullptr;
    pulsarFila(w.dbgTipoContrato, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(w.txtNum->text() + estado(w), u("010000"));
}

TEST_F(TiposContratoTest, HelpModeShowsHelpInsteadOfActing)
{
    tipo(u("TEMPORAL"));
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
        EXPECT_EQ(Forms::get<frmAyuda>().fraAyuda->title(), u(titulo));
    }
    EXPECT_TRUE(msg().shown().empty() && fakePrinter().printouts.empty());
    EXPECT_EQ(cuenta("TipoContrato"), 1);

    // A double click is Editar, help included.
    clic(w.cmdAyuda);
    dobleClic(w.dbgTipoContrato, 0);
    EXPECT_EQ(Forms::get<frmAyuda>().txtAyuda->toPlainText(),
              u("Obtendremos un cuadro de texto con el tipo de contrato que deseamos editar para su modificación."));
    EXPECT_FALSE(isShown(w.fraTipoContrato));

    // Volver leaves at once, help mode and all, back to the maintenance panel.
    clic(w.cmdAyuda);
    clic(w.cmdSalir);
    EXPECT_TRUE(frmAyuda::ModoAyuda);
    EXPECT_FALSE(Forms::isLoaded(w));
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_TRUE(isShown(Forms::loaded<frmMenu>()->fraMantenimientos));
}

// The help window belongs to the window that showed it, which the desktop
// keeps it above, and goes with each full-screen window that comes after it,
// with the same text, until "Cerrar.".
TEST_F(CatalogoTest, TheHelpWindowStaysAboveTheWindowsUntilClosed)
{
    instalado();
    auto& w = abrir<frmManContrato>();
    clic(w.cmdAyuda);
    clic(w.cmdNuevo);
    auto& ayuda = *Forms::loaded<frmAyuda>();
    const auto encima = [&](QWidget& ventana) {
        QApplication::processEvents();
        return isShown(&ayuda) && ayuda.windowHandle()->transientParent() == ventana.windowHandle()
            && ayuda.fraAyuda->title() == u("Botón Nuevo : ");
    };
    EXPECT_TRUE(encima(w));
    // Opened by a request it takes the keyboard; following a window, never.
    EXPECT_EQ(fakeDesktop().journal, QStringList{QStringLiteral("activate Ayuda")});
    clic(w.cmdNuevo); // acts: the help stays
    EXPECT_TRUE(isShown(w.fraContrato));
    EXPECT_TRUE(encima(w));

    clic(w.cmdCancelar);
    clic(w.cmdSalir);
    auto& menu = *Forms::loaded<frmMenu>();
    EXPECT_TRUE(encima(menu));
    clic(menu.cmdPlantillas);
    auto* plantillas = Forms::loaded<frmDocumentos>();
    ASSERT_NE(plantillas, nullptr);
    EXPECT_TRUE(encima(*plantillas));
    EXPECT_EQ(fakeDesktop().journal.count(QStringLiteral("activate Ayuda")), 1);
    clic(ayuda.cmdCerrar);
    EXPECT_EQ(Forms::loaded<frmAyuda>(), nullptr);
}

TEST_F(CatalogoTest, AContractKeepsTheIdOfItsTypeByNameAndItsFieldsAreChecked)
{
    for (const char* nombre : {"Temporal", "Obra d'Or", "Temporal"})
        insertar("TipoContrato", {{"TipoContrato", u(nombre)}});
    modelo(u("T01"));
    auto& w = abrir<frmManContrato>();
    EXPECT_EQ(w.cmbTipoContrato->count(), 3);
    EXPECT_EQ(w.cmbModelos->itemText(0), u("T01"));
    EXPECT_TRUE(isShown(w.lblTitulo));

    // The code is a number; the click that tried to leave its box does not act.
    clic(w.cmdNuevo);
    EXPECT_FALSE(isShown(w.lblTitulo));
    QTest::mouseClick(w.txtCodigo, Qt::LeftButton);
    QTest::keyClicks(w.txtCodigo, u("12a"));
    clic(w.cmdCancelar);
    EXPECT_EQ(ultimoMensaje(), u("El valor del código debe ser numérico"));
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(w.txtCodigo->hasFocus() && w.txtCodigo->text().isEmpty());
    EXPECT_TRUE(isShown(w.fraContrato));
    for (const char* codigo : {"-1", "1,5", "2E3", ""}) {
        w.txtCodigo->setFocus();
        w.txtCodigo->setText(u(codigo));
        w.txtContrato->setFocus();
        EXPECT_TRUE(w.txtContrato->hasFocus()) << codigo;
    }
    EXPECT_EQ(msg().shown().size(), 1u);
    // The required fields, asked for in order with the focus on each.
    const std::pair<QWidget*, const char*> pasos[] = {
        {w.txtContrato, "No ha introducido el nombre del contrato"},
        {w.cmbTipoContrato, "No ha introducido el nombre del tipo de contrato"},
        {w.txtCodigo, "No ha introducido el nombre del código contrato"},
        {w.cmbModelos, "No ha introducido el modelo del contrato"},
    };
    const QStringList valores{"Eventual", "temporal", "402", "T01"};
    for (int i = 0; i < 4; ++i) {
        clic(w.cmdGrabar);
        EXPECT_EQ(ultimoMensaje(), u(pasos[i].second));
        EXPECT_TRUE(pasos[i].first->hasFocus() || pasos[i].first->isAncestorOf(QApplication::focusWidget()));
        ponerTextoEditor(pasos[i].first, valores[i]);
    }
    // A code typed while the window was not active, its check never run, is refused by Grabar.
    w.txtCodigo->setFocus();
    w.txtCodigo->clear();
    QTest::keyClicks(w.txtCodigo, u("4x"));
    testing_support::takeActivationAway();
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), u("El valor del código debe ser numérico"));
    EXPECT_EQ(cuenta("Contrato"), 0);
    activar(&w);
    QTest::keyClicks(w.txtCodigo, u("402"));
    clic(w.cmdGrabar);

    const auto nuevo = [&](const char* nombre, const char* tipo) {
        clic(w.cmdNuevo);
        QTest::keyClicks(w.txtContrato, u(nombre));
        w.cmbTipoContrato->setEditText(u(tipo));
        QTest::keyClicks(w.txtCodigo, u("100"));
        w.cmbModelos->setEditText(u("T01"));
        clic(w.cmdGrabar);
    };
    nuevo("Oro", "Obra d'Or");
    nuevo("Suelto", "Nadie");
    EXPECT_EQ(msg().shown().size(), 6u);
    // The lowest id of the name; no type, an empty id.
    EXPECT_EQ(columna(u("SELECT Contrato || ':' || IFNULL(IdTipoContrato, '-') FROM Contrato ORDER BY 1")),
              (QStringList{"Eventual:1", "Oro:2", "Suelto:"}));
    // Contract production lists a type's contracts by that id.
    EXPECT_EQ(columna(u("SELECT Contrato || Modelo FROM Contrato WHERE IdTipoContrato = ? ORDER BY Código"), {u("2")}),
              QStringList{"OroT01"});
}

TEST_F(CatalogoTest, TheContractsGridShowsWhatFitsWholeWithinItsWidth)
{
    insertar("Contrato", {{"Contrato", u("Eventual por circunstancias de la producción, a tiempo completo, con "
                                         "jornada de mañana y tarde en el centro de trabajo de la empresa")},
                          {"TipoContrato", "TEMPORAL"}, {"Código", "402"}, {"Modelo", "ORDINARIO"}});
    insertar("Contrato", {{"Contrato", u("Prórroga")}, {"TipoContrato", "PRORROGA"}, {"Código", "502"},
                          {"Modelo", "PRORROGA"}});
    auto& w = abrir<frmManContrato>();
    platform::DBGrid* rejilla = w.dbgContrato;
    // What the grid's cells need to show a column whole.
    const auto necesita = [&](int c) { return static_cast<QAbstractItemView*>(rejilla)->sizeHintForColumn(c); };
    const auto comprobar = [&] {
        int total = 0;
        for (int c = 0; c < rejilla->columnCount(); ++c)
            total += rejilla->columnWidth(c);
        EXPECT_EQ(total, rejilla->viewport()->width()) << "no room left over, nothing past the edge";
        // The short columns show whole; the long name takes the rest.
        for (int c : {0, 2, 3, 4})
            EXPECT_GE(rejilla->columnWidth(c), necesita(c)) << c;
        EXPECT_LT(rejilla->columnWidth(1), necesita(1));
    };
    comprobar();
    w.resize(w.width() + 300, w.height());
    comprobar();
}

TEST_F(CatalogoTest, DeletingAClauseRemovesItsCompanyLinks)
{
    const QString larga = QString(600, QLatin1Char('x')) + u("\r\nque el 'trabajador' acepte");
    const qint64 primera = insertar("Clausulas", {{"Clausula", "Primera"}});
    const qint64 segunda = insertar("Clausulas", {{"Clausula", "Segunda"}});
    for (int empresa = 1; empresa <= 3; ++empresa)
        insertar("EMPRESACLAUSULA", {{"IDEMPRESA", empresa}, {"IDCLAUSULA", primera}});
    insertar("EMPRESACLAUSULA", {{"IDEMPRESA", 1}, {"IDCLAUSULA", segunda}});
    insertar("Empresas", {{"Clausula1", primera}});
    auto& w = abrir<frmClausulas>();

    // A clause is required; its text is kept whole, quotes and lines included.
    clic(w.cmdNuevo);
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), u("No ha introducido ningún texto como clausula."));
    EXPECT_EQ(msg().shown().back().style, 16);
    w.txtClausula->setPlainText(larga);
    clic(w.cmdGrabar);
    EXPECT_EQ(valor(u("SELECT IdClausula FROM Clausulas WHERE Clausula = ?"), {larga}).toInt(), 3);

    pulsarFila(w.dbgClausulas, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(ultimoMensaje(), u("Desea eliminar la cláusula."));
    EXPECT_EQ(columna(u("SELECT IDCLAUSULA FROM EMPRESACLAUSULA")), QStringList{QString::number(segunda)});
    EXPECT_EQ(valor(u("SELECT Clausula1 FROM Empresas")).toLongLong(), primera);
    EXPECT_EQ(w.txtNum->text(), u("2"));
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
        EXPECT_EQ(abiertas.front()->objectName(), u(ventana));
        clic(abiertas.front()->findChild<QPushButton*>(u("cmdSalir")));
        EXPECT_TRUE(isShown(Forms::get<frmMenu>().fraMantenimientos));
    }
}

namespace {

// A field of a catalogue window: its editor, its column in the grid and in
// the printed listing (0: not printed there), the value stored first and the
// value typed over it; no two fields hold alike values.
struct CampoCatalogo {
    const char* campo;
    const char* editor;
    int columnaRejilla;
    int columnaListado;
    const char* antes;
    const char* despues;
};

} // namespace

class CamposCatalogoTest : public CatalogoTest {
protected:
    // A row of `tabla` shown in the grid, printed, opened in the editors and
    // saved with new values, every field in its own place.
    template <class F>
    void comprobar(const char* tabla, const char* rejilla, const std::vector<CampoCatalogo>& campos)
    {
        platform::Row fila;
        for (const CampoCatalogo& c : campos)
            fila.set(u(c.campo), u(c.antes));
        const qint64 id = insertar(tabla, fila);
        auto& w = abrir<F>();
        auto* grid = w.template findChild<platform::DBGrid*>(u(rejilla));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(textos(grid, 0), QStringList{QString::number(id)});
        for (const CampoCatalogo& c : campos)
            EXPECT_EQ(textos(grid, c.columnaRejilla), QStringList{u(c.antes)}) << c.campo;

        clic(w.cmdImprimir);
        const QString impresa = fakePrinter().page().value(6);
        for (const CampoCatalogo& c : campos) {
            if (c.columnaListado) {
                EXPECT_EQ(impresa.indexOf(u(c.antes)) + 1, c.columnaListado) << c.campo;
            }
        }

        pulsarFila(grid, 0);
        clic(w.cmdEditar);
        for (const CampoCatalogo& c : campos) {
            auto* editor = w.template findChild<QWidget*>(u(c.editor));
            ASSERT_NE(editor, nullptr) << c.editor;
            EXPECT_EQ(textoEditor(editor), u(c.antes)) << c.campo;
            ponerTextoEditor(editor, u(c.despues));
        }
        clic(w.cmdGrabar);
        const auto guardada = db.first(u("SELECT * FROM %1").arg(u(tabla)));
        ASSERT_TRUE(guardada);
        for (const CampoCatalogo& c : campos)
            EXPECT_EQ(guardada->text(u(c.campo)), u(c.despues)) << c.campo;
        clic(w.cmdSalir);
    }
};

TEST_F(CamposCatalogoTest, EveryFieldOfEachWindowIsShownPrintedEditedAndSavedInItsOwnPlace)
{
    comprobar<frmManContratos>("TipoContrato", "dbgTipoContrato",
                               {{"TipoContrato", "txtTipoContrato", 1, 20, "Tipo antes", "Tipo después"}});
    comprobar<frmManContrato>("Contrato", "dbgContrato",
                              {{"Contrato", "txtContrato", 1, 14, "Nombre antes", "Nombre después"},
                               {"TipoContrato", "cmbTipoContrato", 2, 30, "Clase antes", "Clase después"},
                               {"Código", "txtCodigo", 3, 75, "987", "654"},
                               {"Modelo", "cmbModelos", 4, 55, "MODA", "MODB"}});
    comprobar<frmModelos>("Modelo", "dbgModelos",
                          {{"NombreModelo", "txtModelo", 1, 14, "MODA", "MODB"},
                           {"Ubicación", "txtUbicacion", 2, 30, "plantilla.rtf", "otra.rtf"}});
    comprobar<frmMarcas>("Marcas", "dbgMarca",
                         {{"CódigoMarca", "txtCodigo", 1, 0, "0101", "0202"},
                          {"DescripciónDato", "txtDescripcion", 2, 27, "DESC ANTES", "DESC DESPUES"},
                          {"Longitud", "txtLongitud", 3, 0, "123", "45"},
                          {"ValoresFijos", "txtValoresFijos", 4, 0, "FIJO ANTES", "FIJO DESPUES"}});
}
