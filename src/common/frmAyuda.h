#pragma once

#include "platform/Form.h"

#include <functional>

class QAbstractButton;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// The help window: a frame whose caption names the button and a text box
// with its description. It also serves as an instructions panel.
class frmAyuda : public platform::Form {
    Q_OBJECT
public:
    frmAyuda();

    // Help mode: set by a window's "Ayuda." button, cleared by the next help
    // shown and by the windows that start without it.
    static inline bool ModoAyuda = false;

    void Cerrar();

    QGroupBox* fraAyuda;
    QPlainTextEdit* txtAyuda;
    QPushButton* cmdCerrar;

private:
    void cmdCerrar_Click();
};

// Help mode as every window with an "Ayuda." button follows it.
namespace ayuda {

// The "Ayuda." button: the question-arrow pointer and help mode on.
void Activar(platform::Form& form);

// Connects a button's click through help mode: while help mode is on, the
// click shows `titulo` ("Botón Borrar : ") and `descripcion` in the help
// window instead of acting, and ends help mode. The pointer turns into the
// question arrow over the button while help mode is on.
void Conectar(platform::Form& form, QAbstractButton* boton, const QString& titulo, const QString& descripcion,
              std::function<void()> accion);

// The question-arrow pointer over a button while help mode is on, for a
// button whose handler looks at help mode itself.
void Senalar(platform::Form& form, QAbstractButton* boton);

// Shows a title and a text in the help window (help and instructions).
void Mostrar(platform::Form& form, const QString& titulo, const QString& texto);

} // namespace ayuda
