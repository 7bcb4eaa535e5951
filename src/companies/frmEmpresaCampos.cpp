// The record window's boxes: their checks as the focus leaves them, the number boxes, the help on labels.
#include "companies/frmEmpresa.h"

#include "common/frmAyuda.h"
#include "companies/Comprobaciones.h"
#include "companies/frmEmpresaCajas.h"
#include "companies/frmValidacion.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"

#include <QTimer>

using cajas_empresa::vacia;
using cajas_empresa::vaciar;
using platform::Forms;
using platform::MaskEdBox;
using platform::MsgBox;
using platform::TextBox;

namespace {

constexpr int kEnter = 13;

} // namespace

// ---------------------------------------------------------------------------
// Field checks

// A refused value: the message, an empty box and the focus back in it; the
// click that moved the focus does not act.
void frmEmpresa::Rechazar(TextBox* caja, const QString& texto, const QString& titulo)
{
    MsgBox(texto, platform::style::Critical, titulo);
    caja->setText(QString());
    caja->setFocus();
    caja->holdClick();
}

void frmEmpresa::txtCp_LostFocus()
{
    if (const auto rechazo = comprobaciones::CodigoPostal(txtCp->text()))
        Rechazar(txtCp, rechazo->texto, rechazo->titulo);
    else if (!txtCp->text().isEmpty())
        PonerProvincia();
}

void frmEmpresa::PonerProvincia()
{
    const QString provincia = comprobaciones::Provincia(txtCp->text());
    if (!provincia.isEmpty())
        txtPoblacion->setText(provincia);
}

void frmEmpresa::txtCodPostalTrabaj_Validate(bool& Cancel)
{
    if (const auto rechazo = comprobaciones::CodigoPostal(txtCodPostalTrabaj->text())) {
        MsgBox(rechazo->texto, platform::style::Critical, rechazo->titulo);
        txtCodPostalTrabaj->setText(QString());
        Cancel = true;
    }
}

void frmEmpresa::txtTelef_LostFocus()
{
    if (const auto rechazo = comprobaciones::Telefono(txtTelef->text(), false))
        Rechazar(txtTelef, rechazo->texto, rechazo->titulo);
}

void frmEmpresa::txtFax_LostFocus()
{
    if (const auto rechazo = comprobaciones::Telefono(txtFax->text(), true))
        Rechazar(txtFax, rechazo->texto, rechazo->titulo);
}

void frmEmpresa::txtFechaNac_LostFocus()
{
    if (const auto rechazo = comprobaciones::FechaNacimiento(txtFechaNac->Text(), platform::clock().today())) {
        MsgBox(rechazo->texto, platform::style::Critical, rechazo->titulo);
        vaciar(txtFechaNac);
        txtFechaNac->setFocus();
        txtFechaNac->holdClick();
    }
}

void frmEmpresa::txtNumSS_LostFocus()
{
    ComprobarNumeroSS<frmValidacionSS>(txtNumSS, 8, NumSSCorrecto);
}

void frmEmpresa::txtNumISS_LostFocus()
{
    ComprobarNumeroSS<frmValidacionISSE>(txtNumISS, 7, NumISSCorrecto);
}

// Control digits of a Social Security number. A number that does not carry
// the right ones opens the dialog that offers them, once the focus has
// moved; the click that moved it does not act.
template <class Dialogo>
void frmEmpresa::ComprobarNumeroSS(MaskEdBox* caja, int cifrasCuerpo, QString& correcto)
{
    if (vacia(caja))
        return;
    const auto numero = comprobaciones::ControlSS(caja->Text(), cifrasCuerpo);
    if (!numero) {
        MsgBox(QStringLiteral("Introduzca todas las cifras del campo"), platform::style::Critical);
        vaciar(caja);
        caja->setFocus();
        caja->holdClick();
        return;
    }
    correcto = numero->correcto;
    if (caja->Text() == correcto)
        return;
    caja->holdClick();
    QTimer::singleShot(0, this, [this, control = numero->control] {
        if (Forms::isLoaded(*this))
            AbrirValidacion(Forms::get<Dialogo>(), control);
    });
}

// ---------------------------------------------------------------------------
// Number boxes and help on labels

void frmEmpresa::BloquearNumero(TextBox* caja, bool bloqueado)
{
    caja->setLocked(bloqueado);
    caja->setBackColor(bloqueado ? platform::toolTipBackColor() : platform::windowBackColor());
}

void frmEmpresa::txtNumEmpresa_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kEnter)
        BloquearNumero(txtNumEmpresa, false);
}

void frmEmpresa::txtNumEmpresa_LostFocus()
{
    txtNumEmpresa->setText(comprobaciones::ConCeros(txtNumEmpresa->text()));
    BloquearNumero(txtNumEmpresa, true);
}

void frmEmpresa::txtNumeroTrabajador_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kEnter)
        BloquearNumero(txtNumeroTrabajador, false);
}

void frmEmpresa::txtNumeroTrabajador_DblClick()
{
    if (frmAyuda::ModoAyuda)
        lblTrabajador_Click(8);
    else
        BloquearNumero(txtNumeroTrabajador, false);
}

void frmEmpresa::txtNumeroTrabajador_LostFocus()
{
    txtNumeroTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
    BloquearNumero(txtNumeroTrabajador, true);
}

void frmEmpresa::lblNombre_Click(int Index)
{
    if (!frmAyuda::ModoAyuda)
        return;
    if (Index == 1) {
        ayuda::Mostrar(*this, QStringLiteral("Número de Empresa : "),
            QStringLiteral("El número de Empresa será la referencia que tendremos para enlazar con los datos "
                           "del trabajador guardados en el servidor Unix."));
        return;
    }
    setMousePointer(11);
    frmAyuda::ModoAyuda = false;
    setMousePointer(0);
}

void frmEmpresa::lblTrabajador_Click(int Index)
{
    if (!frmAyuda::ModoAyuda)
        return;
    switch (Index) {
    case 5:
        ayuda::Mostrar(*this, QStringLiteral("Nacionalidad : "),
                       QStringLiteral("Para facilitar la entrada de datos se ha habilitado la tecla de función 'F2' "
                                      "para introducir el valor por defecto de nacionalidad 'Española'."));
        break;
    case 6:
        ayuda::Mostrar(*this, QStringLiteral("País : "),
                       QStringLiteral("Para facilitar la entrada de datos se ha habilitado la tecla de función 'F2' "
                                      "para introducir el valor por defecto de país 'España'."));
        break;
    case 8:
        ayuda::Mostrar(*this, QStringLiteral("Número Trabajador : "),
                       QStringLiteral("El número de trabajador será la referencia que tendremos para enlazar con los "
                                      "datos del trabajador guardados en el servidor Unix."));
        break;
    default:
        setMousePointer(11);
        frmAyuda::ModoAyuda = false;
        setMousePointer(0);
        break;
    }
}
