#pragma once

#include "platform/Form.h"

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class FlexGrid;
}

// List of the imported contract records waiting in ContratosTemp for a
// contract, one row per file: its worker as stored, or what is known of a
// worker not stored. "Realizar Contrato" starts contract production for the
// chosen row's stored worker; "Borrar." deletes the row's file. The main window stays hidden while it is open and comes
// back with "Volver." or the close box.
class frmListadoImportados : public platform::Form {
    Q_OBJECT
public:
    frmListadoImportados();

    void Form_Load() override;
    void Form_Resize() override;

    QLabel* lblTitulo;
    QGroupBox* fraNumero;
    QLineEdit* txtNum;
    QLabel* lblMensaje0Contratos;
    platform::FlexGrid* mshListadoImportados;
    QPushButton* cmdRealizarContrato;
    QPushButton* cmdBorrar;
    QPushButton* cmdSalir;

    void cmdRealizarContrato_Click();
    void cmdBorrar_Click();
    void cmdSalir_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void LlenarLista();
    // The file of the current row; empty when the row is no data row.
    QString FicheroActual() const;

    // The file (Windows path) of each grid row, empty for the header; and
    // whether the row's worker is stored.
    std::vector<QString> ficheros_;
    std::vector<bool> conTrabajador_;
};
