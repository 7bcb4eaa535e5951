#pragma once

#include "platform/Form.h"

class QPushButton;

// The main window, from which every screen is reached.
class frmMenu : public platform::Form {
    Q_OBJECT
public:
    frmMenu();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

    QPushButton* cmdSalir;

    void cmdSalir_Click();
};
