#pragma once

#include "platform/Form.h"

class QPushButton;

namespace platform {
class FileListBox;
}

// Template browser ("Plantillas de documentos"): lists the documents of the
// templates folder and opens a working copy of the one clicked, "Temp1.doc"
// in the same folder, in the desktop's application for it. The templates
// themselves are never opened, so they cannot be changed by mistake.
class frmDocumentos : public platform::Form {
    Q_OBJECT
public:
    frmDocumentos();

    void Form_Load() override;
    void Form_Resize() override;

    platform::FileListBox* flbPlantillas;
    QPushButton* cmdSalir;

    void flbPlantillas_Click();
    void cmdSalir_Click();

private:
    void BorrarTemporal();
};

// The templates folder and the working copy opened from it.
inline constexpr auto kCarpetaPlantillas = "C:\\Quelvan\\Dorvane\\Plantillas";
inline constexpr auto kCopiaPlantilla = "C:\\Quelvan\\Dorvane\\Plantillas\\Temp1.doc";
