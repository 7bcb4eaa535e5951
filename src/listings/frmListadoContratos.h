#pragma once

#include "platform/Form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class DBGrid;
class Picture;
class Shape;
class TextBox;
} // namespace platform

// The saved contracts ("Listado Contratos."): the documents contract
// production has stored, searched by the start of the company's or the
// worker's name, sorted by a column header, reopened in the word processor
// to print them and their copia básica, and taken off the list.
class frmListadoContratos : public platform::Form {
    Q_OBJECT
public:
    frmListadoContratos();

    void Form_Load() override;
    void Form_Resize() override;

    platform::Picture* Image1;
    platform::Shape* Shape1;
    platform::Shape* Shape2;
    platform::Shape* Shape3;
    QLabel* lblTitulo;
    platform::DBGrid* dbgContratos;
    QGroupBox* fraNumero;
    QLabel* Label1;
    QLineEdit* txtNum;
    platform::Shape* shaBuscar;
    QGroupBox* fraBuscar;
    QLabel* Label3;
    platform::TextBox* txtEmpresa;
    QLabel* Label2;
    platform::TextBox* txtTrabajador;
    QGroupBox* fraDatosImprimir;
    QLabel* Label4;
    QLineEdit* txtNumeroCopias;
    QPushButton* cmdCopias;
    QPushButton* cmdNuevo;
    QPushButton* cmdEditar;
    QPushButton* cmdBorrar;
    QPushButton* cmdBuscar;
    QPushButton* cmdAyuda;
    QPushButton* cmdSalir;

    void cmdNuevo_Click();
    void cmdEditar_Click();
    void cmdBorrar_Click();
    void cmdBuscar_Click();
    void cmdSalir_Click();

private:
    void ContarContratosGrabados();
    void MostrarTodos();
    void Buscar(const char* campo, const QString& texto);
    void dbgContratos_HeadClick(int ColIndex);
};
