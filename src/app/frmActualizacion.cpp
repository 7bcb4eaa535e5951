#include "app/frmActualizacion.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "data/ActualizacionBD.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>

using platform::Forms;
using platform::MsgBox;

frmActualizacion::frmActualizacion() : Form(QStringLiteral("frmActualizacion"))
{
    setWindowTitle(QStringLiteral("Traspaso"));
    designSize(4800, 2400);
    fraTraspaso = place(new QGroupBox, "fraTraspaso", 240, 240, 4320, 1680);
    Label1 = place(new QLabel(QStringLiteral("Realizar Traspaso")), "Label1", 240, 600, 3840, 480, fraTraspaso);
    Label1->setAlignment(Qt::AlignCenter);
}

void frmActualizacion::Form_Load()
{
    Elastico().Init(*this);
}

void frmActualizacion::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmActualizacion::Form_Activate()
{
    if (arrancado_)
        return;
    arrancado_ = true;
    RutaBaseDatos();
    if (!platform::SingleInstance::acquire()) {
        MsgBox(QStringLiteral("Ya hay una aplicación de contratos ejecutandose."), platform::style::Critical);
        Forms::endProgram();
        return;
    }
    if (!PrepararCarpetas())
        return;
    ComprobarActualizacion();
}

void frmActualizacion::Form_Unload()
{
    Forms::show<frmMenu>();
}

// The program folder and the two database files, as an installation leaves
// them, when they are missing.
bool frmActualizacion::PrepararCarpetas()
{
    try {
        if (!platform::makeDriveCFolder() || !QDir().mkpath(platform::programFolder()))
            throw platform::FileError(QStringLiteral("No se puede crear la carpeta %1.")
                                          .arg(QDir::toNativeSeparators(platform::programFolder()))
                                          .toStdString());
        esquema::crearBasesDeDatosQueFalten();
    } catch (const std::exception& error) {
        MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        Forms::endProgram();
        return false;
    }
    return true;
}

void frmActualizacion::ComprobarActualizacion()
{
    try {
        ConvertirConfiguracion();
        if (LeerActu() != QLatin1String("Si")) {
            ActualizarBaseDatos();
            return;
        }
    } catch (const platform::FileError& error) {
        MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
    }
    Forms::unload(*this);
}

// Whatever the upgrade's outcome, the start-up ends and the main window opens.
void frmActualizacion::ActualizarBaseDatos()
{
    ::ActualizarBaseDatos();
    Forms::unload(*this);
}
