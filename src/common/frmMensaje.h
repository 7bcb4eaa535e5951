#pragma once

#include "platform/Form.h"

class QLabel;

// Transient notice: a small window without a caption showing one line. Its
// load shows it, so setting its label (which loads it) puts it on the screen.
class frmMensaje : public platform::Form {
    Q_OBJECT
public:
    frmMensaje();
    void Form_Load() override;

    QLabel* lblMensaje;
};

// Shows `texto` in the notice window for `segundos`, then closes it.
void MostrarMensaje(const QString& texto, double segundos = 1.0);

// Notice window of long jobs ("Importando.", "Imprimiendo."); its callers
// show it and take it away.
class frmImprimiendo : public platform::Form {
    Q_OBJECT
public:
    frmImprimiendo();

    QLabel* lblImprimir;
};
