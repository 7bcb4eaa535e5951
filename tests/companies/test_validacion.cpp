#include "EmpresasTest.h"

#include "companies/frmValidacion.h"

namespace {

// A mouse button pressed or released over a control as the desktop delivers
// it: to the control's window, where a modal dialog blocks it.
QWindow* ventana(QWidget* control)
{
    return control->window()->windowHandle();
}

QPoint centro(QWidget* control)
{
    return control->mapTo(control->window(), control->rect().center());
}

void pulsar(QWidget* control)
{
    QTest::mousePress(ventana(control), Qt::LeftButton, {}, centro(control));
}

void soltar(QWidget* control)
{
    QTest::mouseRelease(ventana(control), Qt::LeftButton, {}, centro(control));
}

void pulsarYSoltar(QWidget* control)
{
    pulsar(control);
    soltar(control);
}

} // namespace

// A wrong Social Security number left with a click: that click does not act,
// the dialog opens while the button is still down (its release goes to the
// window the dialog blocks), and the next click, on the dialog or after it,
// acts.
TEST_F(EmpresasTest, AfterTheSocialSecurityDialogTheNextClickActs)
{
    // The dialog answered by a click on one of its buttons or by a key.
    struct Respuesta {
        QPushButton* frmValidacion::*boton;
        Qt::Key tecla;
        bool corrige;
    };
    const Respuesta respuestas[] = {{&frmValidacion::cmdModificarLetra, {}, true},
                                    {&frmValidacion::cmdModificarNumero, {}, true},
                                    {&frmValidacion::cmdCancelar, {}, false},
                                    {nullptr, Qt::Key_Return, true},
                                    {nullptr, Qt::Key_Escape, false}};
    int numero = 0;
    for (const bool trabajador : {true, false})
        for (const bool porGrabar : {false, true}) // left with a click on "Grabar.", or on another box
            for (const Respuesta& respuesta : respuestas) {
                SCOPED_TRACE(testing::Message() << "case " << ++numero);
                const qint64 id = empresa(QStringLiteral("%1").arg(numero, 5, 10, QLatin1Char('0')), u("Alfa"));
                this->trabajador(id, 1, "Ana");
                auto& f = abrir(id);
                activar(&f);
                if (trabajador) {
                    f.SSTab1->setCurrentIndex(1);
                    f.cmdEditar->click();
                }
                platform::MaskEdBox* caja = trabajador ? f.txtNumSS : f.txtNumISS;
                QPushButton* grabar = trabajador ? f.cmdGrabar : f.cmdSave;
                QWidget* salida = porGrabar ? static_cast<QWidget*>(grabar)
                                            : (trabajador ? f.txtNivelFormativo : f.txtActividad);
                const QString tecleado = trabajador ? u("28/01234567/00") : u("28/1234567/00");
                const QString correcto = trabajador ? u("28/01234567/42") : u("28/1234567/42");
                const auto guardado = [&] {
                    return valor(trabajador ? u("SELECT IFNULL(NumSS, '-') FROM Trabajadores WHERE IdEmpresa = ?")
                                            : u("SELECT IFNULL(Cuenta, '-') FROM Empresas WHERE IdEmpresa = ?"),
                                 {QString::number(id)})
                        .toString();
                };

                caja->setFocus();
                QTest::keyClicks(caja, QString(tecleado).remove(QLatin1Char('/')));
                pulsar(salida);
                frmValidacion* dialogo = trabajador ? static_cast<frmValidacion*>(Forms::loaded<frmValidacionSS>())
                                                    : Forms::loaded<frmValidacionISSE>();
                ASSERT_NE(dialogo, nullptr);
                soltar(salida);
                EXPECT_EQ(guardado(), u("-")) << "the click that left the box saved";

                if (respuesta.boton)
                    pulsarYSoltar(dialogo->*respuesta.boton);
                else
                    QTest::keyClick(ventana(dialogo), respuesta.tecla);
                ASSERT_FALSE(Forms::isLoaded(*dialogo)) << "the answer was lost";
                activar(&f); // as the window manager gives the activation back
                if (respuesta.boton == &frmValidacion::cmdModificarNumero) {
                    EXPECT_TRUE(caja->hasFocus());
                    QTest::keyClicks(caja, QString(correcto).remove(QLatin1Char('/')));
                }
                EXPECT_EQ(caja->Text(), respuesta.corrige ? correcto : tecleado);

                pulsarYSoltar(grabar);
                EXPECT_EQ(guardado(), respuesta.corrige ? correcto : tecleado) << "Grabar did not act";
                Forms::unload<frmEmpresa>();
                Forms::unload<frmEmpresas>();
            }
}
