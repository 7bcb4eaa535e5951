#pragma once

#include "platform/Form.h"

class QLabel;
class QPushButton;
class frmEmpresa;

namespace platform {
class MaskEdBox;
}

// The dialogs that offer the right control digits of a Social Security
// number typed in the record window: take them, clear the number to type it
// again, or keep it as typed. They are modal: the record window waits for
// the answer.
class frmValidacion : public platform::Form {
    Q_OBJECT
public:
    QLabel* lblMensaje;
    QLabel* lblCorrecto;
    QPushButton* cmdModificarLetra;
    QPushButton* cmdModificarNumero;
    QPushButton* cmdCancelar;

    void cmdModificarLetra_Click();
    void cmdModificarNumero_Click();
    void cmdCancelar_Click();

protected:
    frmValidacion(const QString& nombre, const QString& titulo);
    // The box the dialog corrects and the number with the right digits.
    virtual platform::MaskEdBox* Caja(frmEmpresa& empresa) const = 0;
    virtual QString Correcto(const frmEmpresa& empresa) const = 0;
};

// The worker's affiliation number (NISS).
class frmValidacionSS final : public frmValidacion {
    Q_OBJECT
public:
    frmValidacionSS();

protected:
    platform::MaskEdBox* Caja(frmEmpresa& empresa) const override;
    QString Correcto(const frmEmpresa& empresa) const override;
};

// The company's contribution account (CCC).
class frmValidacionISSE final : public frmValidacion {
    Q_OBJECT
public:
    frmValidacionISSE();

protected:
    platform::MaskEdBox* Caja(frmEmpresa& empresa) const override;
    QString Correcto(const frmEmpresa& empresa) const override;
};

// Shows a dialog with the control digits the number must carry.
void AbrirValidacion(frmValidacion& dialogo, const QString& control);
