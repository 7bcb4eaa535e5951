#include "EmpresasTest.h"

#include <optional>

namespace {

// A point of a control where none of its own controls lies.
QPoint superficie(const QWidget* control)
{
    for (int y = 2; y < control->height(); y += 2)
        for (int x = 2; x < control->width(); x += 2)
            if (!control->childAt(x, y))
                return {x, y};
    ADD_FAILURE() << "no free point on " << control->objectName().toStdString();
    return {};
}

// The mouse moved onto a control (its middle, or `donde`), as the desktop
// sends it: to the innermost control there, which may pass it on.
void mover(QWidget* control, std::optional<QPoint> donde = {})
{
    const QPoint punto = donde.value_or(control->rect().center());
    QWidget* debajo = control->childAt(punto);
    QWidget* destino = debajo ? debajo : control;
    QTest::mouseMove(destino, destino->mapFrom(control, punto));
}

} // namespace

// In help mode the question arrow shows over the buttons that give help;
// over the window and the search frame the default pointer; over the rest
// the pointer stays as it was. Outside help mode the pointer does not follow
// the mouse.
TEST_F(EmpresasTest, TheCompanyListsPointerFollowsHelpModeOverItsControls)
{
    empresa("00010", "Alfa");
    auto& lista = Forms::show<frmEmpresas>();
    mover(lista.cmdBorrar);
    EXPECT_EQ(lista.MousePointer(), 0);

    clic(lista.cmdAyuda);
    for (QPushButton* boton : {lista.cmdBorrar, lista.cmdBuscar, lista.cmdEditar, lista.cmdImprimir, lista.cmdNuevo}) {
        mover(&lista, superficie(&lista));
        EXPECT_EQ(lista.MousePointer(), 0);
        mover(boton);
        EXPECT_EQ(lista.MousePointer(), 14) << boton->objectName().toStdString();
    }
    mover(&lista, superficie(&lista));
    for (QWidget* otro : std::initializer_list<QWidget*>{lista.cmdListados, lista.cmdSalir, lista.lblTitulo}) {
        mover(otro);
        EXPECT_EQ(lista.MousePointer(), 0) << otro->objectName().toStdString();
    }

    // The help shown ends help mode: the pointer stays where help left it.
    clic(lista.cmdNuevo);
    EXPECT_FALSE(frmAyuda::ModoAyuda);
    mover(lista.cmdEditar);
    EXPECT_EQ(lista.MousePointer(), 0);

    // With the search frame shown "Ayuda." is hidden: help mode comes from
    // another window that left it on.
    clic(lista.cmdBuscar);
    frmAyuda::ModoAyuda = true;
    mover(lista.cmdBorrar);
    mover(lista.txtNombre);
    EXPECT_EQ(lista.MousePointer(), 14) << "the boxes have no pointer of their own";
    mover(lista.fraBuscar, superficie(lista.fraBuscar));
    EXPECT_EQ(lista.MousePointer(), 0);
}

// The record window: the question arrow over the buttons and boxes that give
// help and over the tab strip, the default pointer over the window, the
// pages below the strip and the worker's frames; "Contrato." takes it as
// the button is pressed, not as the mouse passes.
TEST_F(EmpresasTest, TheRecordWindowsPointerFollowsHelpModeOverItsControls)
{
    const qint64 alfa = empresa("00001", "Alfa");
    const qint64 ana = trabajador(alfa, 1, "Ana", {{"Contrato", "Obra"}});
    auto& f = fichaDeEmpresa(alfa);
    mover(f.txtNumEmpresa);
    EXPECT_EQ(f.MousePointer(), 0);

    clic(f.cmdAyuda);
    const auto sobre = [&](QWidget* control, std::optional<QPoint> donde = {}) {
        mover(control, donde);
        return f.MousePointer();
    };
    EXPECT_EQ(sobre(&f, superficie(&f)), 0);
    EXPECT_EQ(sobre(f.txtNumEmpresa), 14);
    EXPECT_EQ(sobre(f.txtNombreEmpresa), 14) << "a box without help keeps the pointer";
    EXPECT_EQ(sobre(f.SSTab1->currentWidget(), superficie(f.SSTab1->currentWidget())), 0);
    EXPECT_EQ(sobre(f.SSTab1->tabBar()), 14);
    EXPECT_EQ(sobre(f.fraEmpresas, superficie(f.fraEmpresas)), 14) << "the company frame has none";
    // The strip runs on past the tabs, 360 twips high.
    const int derecha = f.SSTab1->width() - 4;
    EXPECT_EQ(sobre(f.SSTab1, QPoint(derecha, f.SSTab1->height() - 2)), 0);
    EXPECT_EQ(sobre(f.SSTab1, QPoint(derecha, 2)), 14);
    EXPECT_EQ(sobre(f.SSTab1, QPoint(derecha, 25)), 0);
    EXPECT_EQ(sobre(f.SSTab1, QPoint(derecha, 23)), 14);
    for (QPushButton* boton : {f.cmdSave, f.cmdListado, f.cmdCancelar}) {
        EXPECT_EQ(sobre(&f, superficie(&f)), 0);
        EXPECT_EQ(sobre(boton), 14) << boton->objectName().toStdString();
    }
    EXPECT_EQ(sobre(&f, superficie(&f)), 0);
    EXPECT_EQ(sobre(f.cmdSalir), 0);
    EXPECT_EQ(sobre(f.cmdAyuda), 0);

    clic(f.cmdSave);
    EXPECT_EQ(Forms::get<frmAyuda>().fraAyuda->title(), u("Botón Grabar : "));

    // The workers' list: a disabled button leaves the pointer to the window.
    f.SSTab1->setCurrentIndex(1);
    clic(f.cmdAyuda);
    for (QPushButton* boton : {f.cmdNuevo, f.cmdEditar, f.cmdBorrar, f.cmdImprimir}) {
        EXPECT_EQ(sobre(&f, superficie(&f)), 0);
        EXPECT_EQ(sobre(boton), 14) << boton->objectName().toStdString();
    }
    ASSERT_FALSE(f.cmdGrabar->isEnabled());
    EXPECT_EQ(sobre(f.cmdGrabar), 0);
    clic(f.cmdNuevo);

    // A worker open: the default pointer over its frames, the question
    // arrow over the boxes that give help.
    editarTrabajador(f, ana);
    ASSERT_TRUE(isShown(f.fraDatosTrabajador) && isShown(f.fraDatosContrato));
    clic(f.cmdAyuda);
    EXPECT_EQ(sobre(f.fraDatosTrabajador, superficie(f.fraDatosTrabajador)), 0);
    for (QWidget* control :
         std::initializer_list<QWidget*>{f.txtNacionalidad, f.txtPais, f.txtNumeroTrabajador, f.cmdGrabar}) {
        EXPECT_EQ(sobre(f.fraDatosContrato, superficie(f.fraDatosContrato)), 0);
        EXPECT_EQ(sobre(control), 14) << control->objectName().toStdString();
    }
    EXPECT_EQ(sobre(f.fraDatosContrato, superficie(f.fraDatosContrato)), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{f.txtTipoContrato, f.cmdAcceder, f.txtMunicipio,
                                                            f.cmdContratoManual, f.cmdNuevo}) {
        EXPECT_EQ(sobre(control), 0) << control->objectName().toStdString();
    }
    QTest::mousePress(f.cmdContratoManual, Qt::LeftButton);
    EXPECT_EQ(f.MousePointer(), 14);
    QTest::mouseRelease(f.cmdContratoManual, Qt::LeftButton);
    EXPECT_EQ(Forms::get<frmAyuda>().fraAyuda->title(), u("Botón Contrato : "));
    EXPECT_EQ(f.MousePointer(), 0);
    EXPECT_TRUE(Forms::isLoaded(f));
}
