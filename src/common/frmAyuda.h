#pragma once

#include "platform/Form.h"

#include <QPoint>
#include <QPointer>

#include <functional>
#include <initializer_list>

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

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdCerrar_Click();
    // Moves the open help above another window.
    void Acompanar(platform::Form& ventana);

    // The window the help stays above while it is open: the one active when
    // it was shown, then each window the layout fills the screen with that
    // comes on the screen, which would cover it.
    QPointer<platform::Form> ventana_;
};

// Help mode as every window with an "Ayuda." button follows it.
namespace ayuda {

// The "Ayuda." button: the question-arrow pointer and help mode on.
void Activar(platform::Form& form);

// Connects a button's click through help mode: while help mode is on, the
// click shows `titulo` ("Botón Borrar : ") and `descripcion` in the help
// window instead of acting, ends help mode and runs `trasAyuda`, if given.
void Conectar(platform::Form& form, QAbstractButton* boton, const QString& titulo, const QString& descripcion,
              std::function<void()> accion, std::function<void()> trasAyuda = {});

// What changes the pointer over a control in help mode: the mouse moving over
// the control's own surface (not over a control on it), or a mouse button
// pressed on it.
enum class Cuando { AlMover, AlPulsar };

// The pointer a window takes in help mode over one of its controls (the
// window itself for its background): always the same one, or one that
// depends on where the mouse is on the control (in its pixels).
struct Puntero {
    Puntero(QWidget* control, int puntero, Cuando cuando = Cuando::AlMover);
    Puntero(QWidget* control, std::function<int(QPoint)> segunDonde);

    QWidget* control;
    std::function<int(QPoint)> puntero;
    Cuando cuando;
};

// The controls over which a window's pointer changes in help mode, and to
// which pointer. Over the others it stays as it was. Outside help mode the
// pointer does not follow the mouse.
void Punteros(platform::Form& form, std::initializer_list<Puntero> punteros);

// Shows a title and a text in the help window (help and instructions).
void Mostrar(platform::Form& form, const QString& titulo, const QString& texto);

} // namespace ayuda
