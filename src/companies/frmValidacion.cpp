#include "companies/frmValidacion.h"

#include "companies/frmEmpresa.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"

#include <QLabel>
#include <QPushButton>

using platform::Forms;

frmValidacion::frmValidacion(const QString& nombre, const QString& titulo) : Form(nombre)
{
    setWindowTitle(titulo);
    setWindowModality(Qt::ApplicationModal);
    designSize(6000, 3120);
    lblMensaje = place(new QLabel(QStringLiteral("EL  N.I.S.S.  INTRODUCIDO NO ES CORRECTO:")), "lblMensaje", 240, 240,
                       5520, 360);
    platform::setBoldFont(lblMensaje);
    lblCorrecto = place(new QLabel, "lblCorrecto", 240, 720, 5520, 360);
    cmdModificarLetra = place(new QPushButton(QStringLiteral("Modificar Automáticamente el código.")),
                              "cmdModificarLetra", 240, 1320, 5520, 420);
    cmdModificarNumero = place(new QPushButton(QStringLiteral("Modificar Manualmente el número.")),
                               "cmdModificarNumero", 240, 1860, 5520, 420);
    cmdCancelar = place(new QPushButton(QStringLiteral("No realizar modificaciones.")), "cmdCancelar", 240, 2400,
                        5520, 420);
    onClick(cmdModificarLetra, [this] { cmdModificarLetra_Click(); });
    onClick(cmdModificarNumero, [this] { cmdModificarNumero_Click(); });
    onClick(cmdCancelar, [this] { cmdCancelar_Click(); });
    setCancelButton(cmdCancelar);
}

void frmValidacion::cmdModificarLetra_Click()
{
    if (auto* empresa = Forms::loaded<frmEmpresa>())
        Caja(*empresa)->setText(Correcto(*empresa));
    Forms::unload(*this);
}

void frmValidacion::cmdModificarNumero_Click()
{
    if (auto* empresa = Forms::loaded<frmEmpresa>()) {
        platform::MaskEdBox* caja = Caja(*empresa);
        caja->setText(caja->emptyText());
        caja->setFocus();
    }
    Forms::unload(*this);
}

void frmValidacion::cmdCancelar_Click()
{
    Forms::unload(*this);
}

frmValidacionSS::frmValidacionSS()
    : frmValidacion(
        QStringLiteral("frmValidacionSS"), QStringLiteral("Validación del Número de la S.S. del trabajador."))
{
}

platform::MaskEdBox* frmValidacionSS::Caja(frmEmpresa& empresa) const
{
    return empresa.txtNumSS;
}

QString frmValidacionSS::Correcto(const frmEmpresa& empresa) const
{
    return empresa.NumSSCorrecto;
}

frmValidacionISSE::frmValidacionISSE()
    : frmValidacion(QStringLiteral("frmValidacionISSE"), QStringLiteral("Validación I.N.S.S. "))
{
}

platform::MaskEdBox* frmValidacionISSE::Caja(frmEmpresa& empresa) const
{
    return empresa.txtNumISS;
}

QString frmValidacionISSE::Correcto(const frmEmpresa& empresa) const
{
    return empresa.NumISSCorrecto;
}

void AbrirValidacion(frmValidacion& dialogo, const QString& control)
{
    dialogo.lblCorrecto->setText(QStringLiteral("Al Número de SS le corresponde el código: ") + control);
    Forms::show(dialogo);
}
