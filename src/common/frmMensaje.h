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
// show it and take it away. A message box that comes up meanwhile opens
// where the notice stands: the notice steps aside until the box is answered.
class frmImprimiendo : public platform::Form {
    Q_OBJECT
public:
    frmImprimiendo();

    QLabel* lblImprimir;

protected:
    bool event(QEvent* event) override;

private:
    bool apartado_ = false; // hidden while a box is up, to come back after it
};
