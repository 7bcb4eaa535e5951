#include "catalogue/frmDocumentos.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "platform/FileListBox.h"
#include "platform/Forms.h"
#include "platform/Launcher.h"
#include "platform/MessageBoxes.h"
#include "platform/Office.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

using platform::Forms;
using platform::MsgBox;

namespace {

// Taken as the program starts.
const QDateTime inicioPrograma = QDateTime::currentDateTime();

// Whether the office suite still has `documento` open: it keeps a lock file
// beside it while it does. A lock from before this run was left by a crash.
bool documentoAbierto(const QString& documento)
{
    const QFileInfo bloqueo(platform::officeLockFile(documento));
    return bloqueo.exists() && bloqueo.lastModified() >= inicioPrograma;
}

} // namespace

frmDocumentos::frmDocumentos() : Form(QStringLiteral("frmDocumentos"))
{
    setWindowTitle(QStringLiteral("Plantillas de documentos"));
    designSize(6600, 6720);
    flbPlantillas = place(new platform::FileListBox, "flbPlantillas", 240, 240, 6120, 5400);
    cmdSalir = place(new QPushButton(QStringLiteral("Volver.")), "cmdSalir", 5040, 5880, 1320, 420);
    cmdSalir->setToolTip(QStringLiteral("Volver al Menú Principal."));

    connect(flbPlantillas, &QListWidget::itemClicked, this, [this] { flbPlantillas_Click(); });
    // From the keyboard: the arrows choose a file, Enter opens it.
    for (const auto tecla : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* abrir = new QShortcut(QKeySequence(tecla), flbPlantillas);
        abrir->setContext(Qt::WidgetShortcut);
        connect(abrir, &QShortcut::activated, this, [this] { flbPlantillas_Click(); });
    }
    onClick(cmdSalir, [this] { cmdSalir_Click(); });
}

void frmDocumentos::Form_Load()
{
    Elastico().Init(*this);
    const QString carpeta = platform::hostPath(QString::fromLatin1(kCarpetaPlantillas));
    QDir().mkpath(carpeta);
    flbPlantillas->setPath(carpeta);
    BorrarTemporal();
}

void frmDocumentos::Form_Resize()
{
    Elastico().FormResize(*this);
}

// The working copy of an earlier visit goes, so it is never listed.
void frmDocumentos::BorrarTemporal()
{
    QFile::remove(platform::hostPath(QString::fromLatin1(kCopiaPlantilla)));
    flbPlantillas->Refresh();
}

void frmDocumentos::flbPlantillas_Click()
{
    const QString nombre = flbPlantillas->FileName();
    if (nombre.isEmpty())
        return;
    const QString copia = platform::hostPath(QString::fromLatin1(kCopiaPlantilla));
    // Replaced under its open window, the old document would still be shown.
    if (documentoAbierto(copia)) {
        MsgBox(QStringLiteral("La copia de la plantilla anterior (Temp1.doc) sigue abierta. Ciérrela antes de abrir "
                              "otra plantilla."),
               platform::style::Critical);
        return;
    }
    if (QFile::exists(copia) && !QFile::remove(copia)) {
        MsgBox(QStringLiteral("No se puede reemplazar la copia de trabajo Temp1.doc."), platform::style::Critical);
        return;
    }
    if (!QFile::copy(QDir(flbPlantillas->Path()).filePath(nombre), copia)) {
        MsgBox(QStringLiteral("No se ha podido copiar la plantilla %1.").arg(nombre), platform::style::Critical);
        return;
    }
    if (!platform::launcher().openUrl(QUrl::fromLocalFile(copia)))
        MsgBox(QStringLiteral("No se ha podido abrir la plantilla %1: el escritorio no tiene ninguna aplicación que "
                              "la abra.")
                   .arg(nombre),
               platform::style::Critical);
}

void frmDocumentos::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
}
