#include "catalogue/frmListaContratos.h"

#include "catalogue/frmMarcas.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using platform::Forms;

frmListaContratos::frmListaContratos() : Form(QStringLiteral("frmListaContratos"))
{
    setWindowTitle(QStringLiteral("Listado de Contratos"));
    setWindowModality(Qt::ApplicationModal);
    designSize(6000, 4560);
    lblTitulo = place(new QLabel(QStringLiteral("Listado de contratos en los que aparece la marca que deseamos eliminar")),
                      "lblTitulo", 240, 120, 5520, 480);
    lblTitulo->setWordWrap(true);
    lstMarcaContrato = place(new QListWidget, "lstMarcaContrato", 240, 660, 5520, 2520);
    lblPregunta = place(new QLabel(QStringLiteral("¿Desea continuar con la eliminación de la marca?")), "lblPregunta",
                        240, 3300, 5520, 300);
    platform::setBoldFont(lblPregunta);
    cmdSi = place(new QPushButton(QStringLiteral("Sí")), "cmdSi", 2760, 3840, 1320, 420);
    cmdSi->setToolTip(QStringLiteral("Se eliminará la marca de los contratos."));
    cmdNo = place(new QPushButton(QStringLiteral("No")), "cmdNo", 4440, 3840, 1320, 420);
    cmdNo->setToolTip(QStringLiteral("Se anulará la eliminación de la marca."));
    onClick(cmdSi, [this] { cmdSi_Click(); });
    onClick(cmdNo, [this] { cmdNo_Click(); });
    setCancelButton(cmdNo);
}

void frmListaContratos::cmdSi_Click()
{
    respondida_ = true;
    Forms::unload(*this);
    if (auto* marcas = Forms::loaded<frmMarcas>())
        marcas->BorrarMarca();
}

void frmListaContratos::cmdNo_Click()
{
    respondida_ = true;
    Forms::unload(*this);
    if (auto* marcas = Forms::loaded<frmMarcas>())
        marcas->Revisualizar();
}

void frmListaContratos::Form_Unload()
{
    // Closed without an answer: nothing is deleted.
    if (respondida_)
        return;
    respondida_ = true;
    if (auto* marcas = Forms::loaded<frmMarcas>())
        marcas->Revisualizar();
}
