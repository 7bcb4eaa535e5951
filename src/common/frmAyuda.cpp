#include "common/frmAyuda.h"

#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::Forms;

frmAyuda::frmAyuda() : Form(QStringLiteral("frmAyuda"))
{
    setWindowTitle(QStringLiteral("Ayuda"));
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

// Pointer of help mode: the question arrow over the buttons that give help,
// the default one over the rest of the window.
class PunteroAyuda : public QObject {
public:
    PunteroAyuda(platform::Form& form) : QObject(&form), form_(form)
    {
        setObjectName(QStringLiteral("punteroAyuda"));
        form.installEventFilter(this);
    }

    void vigilar(QAbstractButton* boton)
    {
        boton->setMouseTracking(true);
        boton->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (frmAyuda::ModoAyuda && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
            form_.setMousePointer(watched == &form_ ? 0 : 14);
        return false;
    }

private:
    platform::Form& form_;
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

void Senalar(platform::Form& form, QAbstractButton* boton)
{
    punteroDe(form).vigilar(boton);
}

void Conectar(platform::Form& form, QAbstractButton* boton, const QString& titulo, const QString& descripcion,
              std::function<void()> accion)
{
    Senalar(form, boton);
    QObject::connect(boton, &QAbstractButton::clicked, &form,
                     [&form, titulo, descripcion, accion = std::move(accion)] {
                         if (frmAyuda::ModoAyuda)
                             Mostrar(form, titulo, descripcion);
                         else
                             platform::runHandler(accion);
                     });
}

} // namespace ayuda
