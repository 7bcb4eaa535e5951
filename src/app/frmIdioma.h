#pragma once

#include "data/Configuracion.h"
#include "platform/Form.h"

class QGroupBox;
class QPushButton;

namespace platform {
class OptionButton;
}

// Parameters window ("Parámetros"): document language, expiry warnings and
// their days, operating system, signatures on the first page. "Cerrar."
// saves them; closing the window any other way saves nothing.
class frmIdioma : public platform::Form {
    Q_OBJECT
public:
    frmIdioma();

    void Form_Load() override;
    void Form_Unload() override;

    QGroupBox* fraIdioma;
    platform::OptionButton* optCastellano;
    platform::OptionButton* optCatalan;
    QGroupBox* fraAviso;
    platform::OptionButton* optSi;
    platform::OptionButton* optNo;
    QGroupBox* fraDias;
    platform::OptionButton* optDias1;
    platform::OptionButton* optDias2;
    platform::OptionButton* optDias3;
    QGroupBox* fraSistema;
    platform::OptionButton* optXP;
    platform::OptionButton* opt98;
    QGroupBox* fraPie;
    platform::OptionButton* optFirmas[2];
    QPushButton* cmdCerrar;

    void optSi_Click();
    void optNo_Click();
    void cmdCerrar_Click();

private:
    DatosConfiguracion configuracion_;
};
