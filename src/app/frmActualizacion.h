#pragma once

#include "platform/Form.h"

class QGroupBox;
class QLabel;

// The window the program starts with ("Traspaso"). Its first activation runs
// the start-up checks: one running copy only, a working database that can be
// read, the configuration record in its current layout, the one-time database
// upgrade. Then it closes, and closing it opens the main window.
class frmActualizacion : public platform::Form {
    Q_OBJECT
public:
    frmActualizacion();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;

    QGroupBox* fraTraspaso;
    QLabel* Label1;

private:
    void ComprobarActualizacion();
    void ActualizarBaseDatos();
    bool ComprobarInstanciaUnica();
    bool PrepararCarpetas();
    bool ComprobarBaseDatos();

    bool arrancado_ = false;
};
