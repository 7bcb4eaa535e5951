#include "common/frmAyuda.h"

#include "platform/Controls.h"
#include "platform/DesktopWindows.h"
#include "platform/Forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <map>

using platform::Form;
using platform::Forms;

frmAyuda::frmAyuda() : Form(QStringLiteral("frmAyuda"))
{
    setWindowTitle(QStringLiteral("Ayuda"));
    // A window that belongs to another one: the desktop keeps it above that one.
    setWindowFlags(Qt::Tool);
    designSize(7200, 4200);
    auto* fondo = place(new platform::Shape, "shpAyuda", 0, 0, 7200, 4200);
    fondo->setFillColor(QColor(0xE0, 0xE8, 0xF0));
    fraAyuda = place(new QGroupBox, "fraAyuda", 240, 120, 6720, 3240);
    txtAyuda = place(new QPlainTextEdit, "txtAyuda", 120, 360, 6480, 2760, fraAyuda);
    txtAyuda->setReadOnly(true);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSize(9);
    txtAyuda->setFont(courier);
    cmdCerrar = place(new QPushButton(QStringLiteral("Cerrar.")), "cmdCerrar", 5640, 3540, 1320, 420);
    cmdCerrar->setToolTip(QStringLiteral("Cierra la ventana de ayuda."));
    onClick(cmdCerrar, [this] { cmdCerrar_Click(); });
    setCancelButton(cmdCerrar);
    qApp->installEventFilter(this);
}

// The desktop keeps a window above the one it belongs to; it reads which one
// that is only as the window comes on the screen, just after this.
void frmAyuda::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!ventana_ || ventana_->isHidden()) {
        Form* activa = Forms::activeForm();
        ventana_ = activa != this ? activa : nullptr;
    }
    windowHandle()->setTransientParent(ventana_ ? ventana_->windowHandle() : nullptr);
    // Opened by a request it takes the keyboard, as any window shown does (a
    // desktop gives none to a window that belongs to another by itself);
    // following another window it leaves the keyboard there.
    if (!testAttribute(Qt::WA_ShowWithoutActivating))
        platform::desktopWindows().activate(*windowHandle());
}

// A window the layout fills the screen with, coming on the screen, would
// cover the help: the help goes with it (one such window at a time is open,
// the next one opened before the last goes).
bool frmAyuda::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || watched == this || watched == ventana_ || !isVisible())
        return false;
    auto* ventana = qobject_cast<Form*>(watched);
    if (ventana && ventana->isWindow() && ventana->layoutRecording().has_value()) {
        // Once the window is on the screen.
        QTimer::singleShot(0, this, [this, siguiente = QPointer<Form>(ventana)] {
            if (siguiente && siguiente->isVisible() && isVisible())
                Acompanar(*siguiente);
        });
    }
    return false;
}

void frmAyuda::Acompanar(Form& ventana)
{
    ventana_ = &ventana;
    // Shown again, as it stands, without taking the keyboard from that window.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    hide();
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void frmAyuda::Cerrar()
{
    Forms::unload(*this);
}

void frmAyuda::cmdCerrar_Click()
{
    Cerrar();
}

namespace ayuda {

namespace {

// The pointer of help mode over the controls a window lists.
class PunteroAyuda : public QObject {
public:
    explicit PunteroAyuda(platform::Form& form) : QObject(&form), form_(form)
    {
        setObjectName(QStringLiteral("punteroAyuda"));
    }

    void vigilar(const Puntero& puntero)
    {
        QWidget* control = puntero.control;
        // A move with no button pressed reaches only a control that tracks the mouse.
        if (puntero.cuando == Cuando::AlMover)
            control->setMouseTracking(true);
        control->installEventFilter(this);
        punteros_.insert_or_assign(control, puntero);
        connect(control, &QObject::destroyed, this, [this, control] { punteros_.erase(control); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!frmAyuda::ModoAyuda)
            return false;
        const bool mueve = event->type() == QEvent::MouseMove;
        if (!mueve && event->type() != QEvent::MouseButtonPress)
            return false;
        const auto encontrado = punteros_.find(watched);
        if (encontrado == punteros_.end() || encontrado->second.cuando != (mueve ? Cuando::AlMover : Cuando::AlPulsar))
            return false;
        const auto* control = static_cast<QWidget*>(watched);
        const QPoint donde = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!control->isEnabled()) {
            // A disabled control leaves the move to the one it lies on.
            if (mueve)
                moverSobreContenedor(control, donde);
            return false;
        }
        // A move that a control on this one passed on is not over this one's
        // own surface.
        if (mueve && tomaElRaton(control, donde))
            return false;
        form_.setMousePointer(encontrado->second.puntero(donde));
        return false;
    }

private:
    // Whether an enabled control on `control` lies at `donde`.
    static bool tomaElRaton(const QWidget* control, QPoint donde)
    {
        for (const QWidget* hijo = control->childAt(donde); hijo && hijo != control; hijo = hijo->parentWidget()) {
            if (hijo->isEnabled())
                return true;
        }
        return false;
    }

    // The move over a disabled control, which the control it lies on takes.
    void moverSobreContenedor(const QWidget* control, QPoint donde)
    {
        const QWidget* contenedor = control->parentWidget();
        const auto encontrado = punteros_.find(contenedor);
        if (encontrado != punteros_.end() && encontrado->second.cuando == Cuando::AlMover && contenedor->isEnabled())
            form_.setMousePointer(encontrado->second.puntero(control->mapTo(contenedor, donde)));
    }

    platform::Form& form_;
    std::map<const QObject*, Puntero> punteros_;
};

PunteroAyuda& punteroDe(platform::Form& form)
{
    auto* existente = form.findChild<PunteroAyuda*>(QStringLiteral("punteroAyuda"), Qt::FindDirectChildrenOnly);
    return existente ? *existente : *new PunteroAyuda(form);
}

} // namespace

void Activar(platform::Form& form)
{
    form.setMousePointer(14);
    frmAyuda::ModoAyuda = true;
}

void Mostrar(platform::Form& form, const QString& titulo, const QString& texto)
{
    form.setMousePointer(11);
    frmAyuda::ModoAyuda = false;
    auto& ventana = Forms::get<frmAyuda>();
    ventana.fraAyuda->setTitle(titulo);
    ventana.txtAyuda->setPlainText(texto);
    Forms::show(ventana);
    form.setMousePointer(0);
}

Puntero::Puntero(QWidget* control, int puntero, Cuando cuando)
    : control(control),
      puntero([puntero](QPoint) { return puntero; }),
      cuando(cuando)
{
}

Puntero::Puntero(QWidget* control, std::function<int(QPoint)> segunDonde)
    : control(control),
      puntero(std::move(segunDonde)),
      cuando(Cuando::AlMover)
{
}

void Punteros(platform::Form& form, std::initializer_list<Puntero> punteros)
{
    auto& vigilante = punteroDe(form);
    for (const Puntero& puntero : punteros)
        vigilante.vigilar(puntero);
}

void Conectar(platform::Form& form, QAbstractButton* boton, const QString& titulo, const QString& descripcion,
              std::function<void()> accion, std::function<void()> trasAyuda)
{
    QObject::connect(boton, &QAbstractButton::clicked, &form,
                     [&form, titulo, descripcion, accion = std::move(accion), trasAyuda = std::move(trasAyuda)] {
                         if (!frmAyuda::ModoAyuda) {
                             platform::runHandler(accion);
                             return;
                         }
                         Mostrar(form, titulo, descripcion);
                         if (trasAyuda)
                             platform::runHandler(trasAyuda);
                     });
}

} // namespace ayuda
