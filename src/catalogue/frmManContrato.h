#pragma once

#include "catalogue/frmMantenimiento.h"

class QComboBox;

// The contract catalogue ("Mantenimiento Contratos."): each contract with its
// type, official code and model. A contract keeps its type's id, found by the
// type name typed or chosen.
class frmManContrato : public frmMantenimiento {
    Q_OBJECT
public:
    frmManContrato();

    void Form_Load() override;

    platform::DBGrid* dbgContrato;
    QGroupBox* fraContrato;
    QLabel* lblContrato[4];
    platform::TextBox* txtContrato;
    QComboBox* cmbTipoContrato;
    platform::TextBox* txtCodigo;
    QComboBox* cmbModelos;

    void txtCodigo_Validate(bool& Cancel);

protected:
    void completarValores(platform::Row& valores) override;
    void escribirListado(platform::PrintJob& job) const override;

private:
    void CargarTiposContrato();
    void CargarModelos();
};
