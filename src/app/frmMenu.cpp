#include "app/frmMenu.h"

#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "platform/Forms.h"

#include <QPushButton>

using platform::Forms;

frmMenu::frmMenu() : Form(QStringLiteral("frmMenu"))
{
    setWindowTitle(QStringLiteral("Menú Principal"));
    designSize(12000, 8600);
    cmdSalir = place(new QPushButton(QStringLiteral("Salir.")), "cmdSalir", 10200, 7560, 1320, 480);
    cmdSalir->setToolTip(QStringLiteral("Salir del Programa."));
    onClick(cmdSalir, [this] { cmdSalir_Click(); });
}

void frmMenu::Form_Load()
{
    Elastico().Init(*this);
}

void frmMenu::Form_Activate()
{
    RutaBaseDatos();
}

void frmMenu::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmMenu::cmdSalir_Click()
{
    Forms::unload(*this);
    Forms::endProgram();
}
