#include "production/frmEleccionContrato.h"

#include <QGroupBox>
#include <QPushButton>

#include "platform/Controls.h"

// The document generator. "Realizar Contrato" calls it with the progress
// frame shown and the hourglass pointer; until documents are produced it
// gives the window back as it found it.
void frmEleccionContrato::GenerarDocumento()
{
    shaProgreso->hide();
    fraProgreso->hide();
    cmdSalir->setEnabled(true);
    setMousePointer(0);
}
