#pragma once

#include "platform/Form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class DBGrid;
class Shape;
class TextBox;
} // namespace platform

// The company list ("Empresas"): search by the start of a name or NIF as the
// user types, sort by a column header, open, create and delete companies (a
// company goes with its workers).
class frmEmpresas : public platform::Form {
    Q_OBJECT
public:
    frmEmpresas();

    void Form_Load() override;
    void Form_Resize() override;

    // Re-reads every company and shows the grid, or the empty message when
    // there is none.
    void VerEmpresas();

    QLabel* lblTitulo;
    QLabel* lblMensaje0Empresas;
    platform::DBGrid* dbgEmpresas;
    QGroupBox* fraNumero;
    QLabel* Label1;
    QLineEdit* txtNum;
    platform::Shape* shaBuscar;
    QGroupBox* fraBuscar;
    QLabel* Label3;
    platform::TextBox* txtNombre;
    QLabel* Label2;
    platform::TextBox* txtDNI;
    QPushButton* cmdEditar;
    QPushButton* cmdNuevo;
    QPushButton* cmdBorrar;
    QPushButton* cmdBuscar;
    QPushButton* cmdImprimir;
    QPushButton* cmdListados;
    QPushButton* cmdAyuda;
    QPushButton* cmdSalir;

    void cmdEditar_Click();
    void cmdNuevo_Click();
    void cmdBorrar_Click();
    void cmdBuscar_Click();
    void cmdSalir_Click();
    // The printed list of the companies shown.
    void cmdImprimir_Click();
    // The contract-status listings window.
    void cmdListados_Click();

private:
    void MostrarLista();
    void ContarEmpresas();
    void Buscar(const char* campo, const QString& texto);
    void dbgEmpresas_HeadClick(int ColIndex);
    void dbgEmpresas_DblClick();
    void dbgEmpresas_KeyPress(int& KeyAscii);
};
