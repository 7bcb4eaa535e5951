#pragma once

#include "listings/ListadoTrabajadores.h"
#include "platform/Form.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace platform {
class CheckBox;
class DBGrid;
class MaskEdBox;
} // namespace platform

// Listings of workers ("Listados"): the workers of chosen companies by the
// state of their contract's paper trail, or every worker whose contract ends
// between two dates; on screen, where the cells can be corrected, and on
// paper.
class frmListados : public platform::Form {
    Q_OBJECT
public:
    frmListados();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;

    QGroupBox* fraEmpresas;
    QListWidget* lstEmpresas;
    QCheckBox* chkTodas;
    QGroupBox* fraOpciones;
    QCheckBox* chkEnvCliente;
    QCheckBox* chkRecCliente;
    QCheckBox* chkEnvINEM;
    QCheckBox* chkRecINEM;
    QCheckBox* chkReeCliente;
    platform::CheckBox* chkTodos;
    QCheckBox* chkVencimientos;
    QPushButton* cmdListar;
    QPushButton* cmdImprimir;
    QPushButton* cmdAyuda;
    QPushButton* cmdSalir;
    QLabel* lblTitulo;
    platform::DBGrid* dbgListado;
    platform::DBGrid* dbgListado1;
    QGroupBox* fraFechaVencimiento;
    QLabel* Label1;
    platform::MaskEdBox* mskDesde;
    QLabel* Label2;
    platform::MaskEdBox* mskHasta;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // The query of the last "Listar." without its order, which the re-sort
    // by name reuses.
    listados::Consulta ConsultaBase;

    void cmdListar_Click();
    void cmdImprimir_Click();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void cmdSalir_Click();

private:
    // The five flag boxes, in the order of listados::kCamposEstado.
    std::array<QCheckBox*, 5> CasillasEstado() const;
    void CargarListaEmpresas();
    void MarcarEstado();
    void chkTodos_Click();
    void chkVencimientos_Click();
    void dbgListado_HeadClick(int ColIndex);
    // Writes the cells typed into either grid and not yet written.
    void GrabarPendiente();
    bool GrabarFila(const platform::Row& registro, platform::Row& cambios);

    // The rows held are those of the expiry listing (else of the status
    // listing, or the whole table before any listing).
    bool vencimientos_ = false;
};
