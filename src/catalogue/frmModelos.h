#pragma once

#include "catalogue/frmMantenimiento.h"

// The models ("Modelos de contratos"): the Word templates contracts are made
// from, by name and file name. Its marks view chooses from the mark catalogue
// the marks a model's template holds, and how many times each.
class frmModelos : public frmMantenimiento {
    Q_OBJECT
public:
    frmModelos();

    void Form_Load() override;

    platform::DBGrid* dbgModelos;
    QGroupBox* fraModelos;
    QLabel* lblContrato[2];
    platform::TextBox* txtModelo;
    platform::TextBox* txtUbicacion;
    QPushButton* cmdAñadirMarcas;

    // Marks view.
    QLabel* lblTitulo0;
    QLabel* lblTitulo1;
    QLabel* lblTitulo2;
    platform::Shape* shaTitulo;
    platform::Shape* shaTitulo2;
    platform::DBGrid* dbgMarcas;
    platform::DBGrid* dbgMarcasSeleccionadas;

    void cmdAñadirMarcas_Click();
    void dbgMarcas_DblClick();
    void dbgMarcasSeleccionadas_DblClick();
    void dbgMarcas_KeyPress(int& KeyAscii);
    void dbgMarcasSeleccionadas_KeyPress(int& KeyAscii);
    void dbgMarcas_HeadClick(int ColIndex);
    void dbgMarcasSeleccionadas_HeadClick(int ColIndex);

    // The model whose marks the marks view shows (its IdModelo as text).
    QString IdModeloActual;

protected:
    void borrarFila(qint64 clave) override;
    void recuperar() override;
    void escribirListado(platform::PrintJob& job) const override;

private:
    bool enVistaMarcas() const;
    // The lower grid on the model's marks, in the order chosen last. After a
    // mark is added, counted or removed the grid keeps its place, the same
    // mark current, so a second double-click at one spot acts on one mark.
    void RefrescarMarcasSeleccionadas(bool enSuSitio = false);

    QString ordenSeleccionadas_;
};
