#pragma once

#include "catalogue/frmMantenimiento.h"

// Contract types ("Mantenimiento Contratos."): the types under which contract
// production groups the contracts. Deleting a type unlinks its contracts.
class frmManContratos : public frmMantenimiento {
    Q_OBJECT
public:
    frmManContratos();

    platform::DBGrid* dbgTipoContrato;
    QGroupBox* fraTipoContrato;
    platform::TextBox* txtTipoContrato;

protected:
    void borrarFila(qint64 clave) override;
    void escribirListado(platform::PrintJob& job) const override;
};
