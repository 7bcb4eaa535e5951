#include "common/frmMensaje.h"

#include "common/Module1.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QEvent>
#include <QLabel>

#include <utility>

using platform::Forms;

frmMensaje::frmMensaje() : Form(QStringLiteral("frmMensaje"))
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    designSize(4800, 900);
    lblMensaje = place(new QLabel, "lblMensaje", 120, 120, 4560, 660);
    lblMensaje->setAlignment(Qt::AlignCenter);
    platform::setBoldFont(lblMensaje, 10);
    lblMensaje->setFrameShape(QFrame::Panel);
}

void frmMensaje::Form_Load()
{
    Forms::show(*this);
}

void MostrarMensaje(const QString& texto, double segundos)
{
    auto& mensaje = Forms::get<frmMensaje>();
    mensaje.lblMensaje->setText(texto);
    Forms::show(mensaje);
    Esperar(segundos);
    Forms::unload<frmMensaje>();
}

frmImprimiendo::frmImprimiendo() : Form(QStringLiteral("frmImprimiendo"))
{
    setWindowTitle(QStringLiteral("Proceso"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    designSize(3600, 1200);
    lblImprimir = place(new QLabel(QStringLiteral("Importando.")), "lblImprimir", 120, 240, 3360, 600);
    lblImprimir->setAlignment(Qt::AlignCenter);
    platform::setBoldFont(lblImprimir, 12);
}

// A box blocks the program's other windows while it is up.
bool frmImprimiendo::event(QEvent* event)
{
    if (event->type() == QEvent::WindowBlocked && isVisible()) {
        apartado_ = true;
        hide();
    } else if (event->type() == QEvent::WindowUnblocked && std::exchange(apartado_, false)
               && Forms::isLoaded(*this)) {
        show();
    }
    return Form::event(event);
}
