#include "app/frmActualizacion.h"

#include "app/frmMenu.h"
#include "common/Documentos.h"
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
    if (!ComprobarInstanciaUnica())
        return;
    BorrarCopiasDeTrabajoAnteriores();
    if (!PrepararCarpetas() || !ComprobarBaseDatos())
        return;
    ComprobarActualizacion();
}

void frmActualizacion::Form_Unload()
{
    Forms::show<frmMenu>();
}

// Ends the program at once, with the message, when another copy runs or the
// lock that keeps others out cannot be made.
bool frmActualizacion::ComprobarInstanciaUnica()
{
    using Result = platform::SingleInstance::Result;
    const QString carpeta = QDir::toNativeSeparators(platform::driveCFolder());
    QString mensaje;
    switch (platform::SingleInstance::acquire()) {
    case Result::Taken:
        return true;
    case Result::Running:
        mensaje = QStringLiteral("Ya hay una aplicación de contratos ejecutandose.");
        break;
    case Result::FolderNotWritable:
        mensaje = QStringLiteral("No se puede iniciar el programa: no se puede escribir en la carpeta de la "
                                 "unidad C: (%1).")
                      .arg(carpeta);
        break;
    case Result::DiskFull:
        mensaje = QStringLiteral("No se puede iniciar el programa: el disco de la unidad C: (%1) está lleno.")
                      .arg(carpeta);
        break;
    }
    MsgBox(mensaje, platform::style::Critical);
    Forms::endProgram();
    return false;
}

// The program folder and the two database files, as an installation leaves
// them, when they are missing.
bool frmActualizacion::PrepararCarpetas()
{
    try {
        if (!platform::makeDriveCFolder() || !QDir().mkpath(platform::programFolder()))
            throw platform::FileError(QStringLiteral("No se puede crear la carpeta %1.")
                                          .arg(QString::fromLatin1(platform::kProgramFolder))
                                          .toStdString());
        esquema::crearBasesDeDatosQueFalten();
    } catch (const std::exception& error) {
        MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        Forms::endProgram();
        return false;
    }
    return true;
}

// A damaged working database is left as it is, and the program goes no
// further: every window would fail on it, and the upgrade would be tried on
// it at every start.
bool frmActualizacion::ComprobarBaseDatos()
{
    try {
        platform::Database::open(platform::hostPath(RutaBD)).checkIntegrity();
    } catch (const platform::DbError& error) {
        // Any other failure (a database another program holds) is the
        // upgrade's and the windows' to report.
        if (error.code() != platform::kErrDamaged)
            return true;
        QString mensaje = QStringLiteral("La base de datos %1 está dañada: el programa no puede leerla y no la ha "
                                         "modificado. Sustitúyala por una copia de seguridad.")
                              .arg(RutaBD);
        const QString copia = UltimaCopiaDeSeguridad();
        if (!copia.isEmpty())
            mensaje += QStringLiteral("\n\nLa actualización del programa guardó la base de datos anterior en %1.")
                           .arg(copia);
        MsgBox(mensaje, platform::style::Critical);
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
