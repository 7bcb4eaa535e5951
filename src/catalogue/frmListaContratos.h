#pragma once

#include "platform/Form.h"

class QLabel;
class QListWidget;
class QPushButton;

// The models that use a mark the user wants to delete, with the question
// whether to go on. It keeps the marks window waiting for the answer; closing
// it is the same as No.
class frmListaContratos : public platform::Form {
    Q_OBJECT
public:
    frmListaContratos();

    void Form_Unload() override;

    QLabel* lblTitulo;
    QListWidget* lstMarcaContrato;
    QLabel* lblPregunta;
    QPushButton* cmdSi;
    QPushButton* cmdNo;

    void cmdSi_Click();
    void cmdNo_Click();

private:
    bool respondida_ = false;
};
