#pragma once

#include "catalogue/frmMantenimiento.h"

// The mark catalogue ("Mantenimiento Marcas."): the marks that the templates
// hold as bookmarks and that lay out the payroll server's contract record.
// A mark that models use is deleted only after the user has seen them.
class frmMarcas : public frmMantenimiento {
    Q_OBJECT
public:
    frmMarcas();

    platform::DBGrid* dbgMarca;
    QGroupBox* fraMarca;
    platform::TextBox* txtCodigo;
    platform::TextBox* txtDescripcion;
    platform::TextBox* txtLongitud;
    platform::TextBox* txtValoresFijos;

    void cmdBorrar_Click() override;
    void dbgMarca_HeadClick(int ColIndex);
    void txtLongitud_Validate(bool& Cancel);

    // Deletes the mark asked about and its rows in the models.
    void BorrarMarca();
    // Back to the whole table, counted.
    void Revisualizar();

protected:
    void escribirListado(platform::PrintJob& job) const override;

private:
    struct MarcaABorrar {
        qint64 id;
        QString codigo;
    };
    std::optional<MarcaABorrar> marcaABorrar_;
};
