#pragma once

#include "catalogue/frmMantenimiento.h"

class QPlainTextEdit;

// The clause catalogue ("Mantenimiento de Cláusulas."): the optional clauses
// a contract may carry. Deleting a clause removes the companies' links to it.
class frmClausulas : public frmMantenimiento {
    Q_OBJECT
public:
    frmClausulas();

    platform::DBGrid* dbgClausulas;
    QGroupBox* fraClausula;
    QPlainTextEdit* txtClausula;

protected:
    void borrarFila(qint64 clave) override;
    void escribirListado(platform::PrintJob& job) const override;
};
