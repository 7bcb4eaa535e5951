// The record window's way to the open worker's stored documents (contract,
// extension, copia básica) and to the subcontractor register.
#include "companies/frmEmpresa.h"

#include "common/Documentos.h"
#include "common/Impresion.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "companies/Empresas.h"
#include "platform/DBGrid.h"
#include "platform/Database.h"
#include "platform/Document.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Office.h"
#include "platform/Paths.h"
#include "platform/TextBox.h"
#include "platform/WorkingCopies.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::MsgBox;

namespace {

// Reopens the worker's stored contract or extension, then the closing steps.
void AccederDocumento(frmEmpresa& f, bool prorroga)
{
    f.setMousePointer(11);
    const QString id = f.dbgTrabajadores->Id();
    const auto trabajador = id.isEmpty() ? std::nullopt : empresas::LeerTrabajador(AbrirBaseDatos(), id.toLongLong());
    const QString campo = prorroga ? QStringLiteral("FechaInicioProrroga") : QStringLiteral("Contrato");
    if (!trabajador || trabajador->text(campo).trimmed().isEmpty()) {
        MsgBox(prorroga ? QStringLiteral("No hay ninguna prórroga a editar.")
                        : QStringLiteral("No hay ningún contrato a editar."),
               platform::style::Information);
    } else {
        const QString empresa = f.txtNumEmpresa->text();
        const QString numero = f.txtNumeroTrabajador->text();
        DocumentoGuardado documento;
        const QString sufijo = prorroga ? QStringLiteral("P.doc") : QStringLiteral(".doc");
        documento.documento = RutaDocumentoGuardado(empresa, numero, sufijo);
        documento.prorroga = prorroga;
        documento.guardarCopiaBasica = RutaDocumentoGuardado(empresa, numero, SufijoCopiaBasica(sufijo));
        if (!documento.documento.isEmpty() && !QFileInfo(documento.documento).isFile()) {
            f.setMousePointer(0);
            MsgBox(DocumentoGuardadoNoEncontrado(empresa + numero + sufijo, prorroga), platform::style::Critical);
        } else {
            AbrirDocumentoGuardado(f, {f.fraDatosImprimir, f.txtNumeroCopias, f.cmdCopias}, documento);
        }
    }
    Esperar(2);
    f.setMousePointer(0);
}

} // namespace

void frmEmpresa::cmdAcceder_Click()
{
    AccederDocumento(*this, false);
}

void frmEmpresa::cmdAccederProrroga_Click()
{
    AccederDocumento(*this, true);
}

void frmEmpresa::cmdCopias_Click()
{
    CopiasAceptadas = true;
}

// Opens a copy of the register in the word processor, read-only as for
// reading it before printing; the user may turn to editing there to fill it
// in and print or save it. The register shipped is never changed.
void frmEmpresa::cmdSubcontratas_Click()
{
    // Until the word processor has the register the window waits for it: a
    // second copy or a return meanwhile would be raised over later.
    const platform::BlockedWindow bloqueo(*this);
    frmAyuda::ModoAyuda = false;
    auto& ayuda = platform::Forms::get<frmAyuda>();
    ayuda.fraAyuda->setTitle(QStringLiteral("Botón Realizar Contrato : "));
    ayuda.txtAyuda->setPlainText(QStringLiteral(
        "Una vez que hayamos finalizado con las modificaciones del informe y deseemos imprimirlo o guardarlo, "
        "cerraremos el Word mediante el aspa o con la opción Salir del menu de Archivo, cuando nos pregunte si "
        "deseamos guardar las modificaciones del archivo responderemos que sí y el informe estará listo para "
        "imprimir o guardar."));
    platform::Forms::show(ayuda);
    QCoreApplication::processEvents();

    const QString registro = platform::hostPath(QString::fromLatin1(kRegistroSubcontratas));
    // The register must open as a document; the scratch copy is made from it.
    try {
        platform::Document::open(registro);
        CopiarDocumento(registro, platform::hostPath(QString::fromLatin1(kBorrador)));
    } catch (const platform::DocumentError& e) {
        if (e.kind() == platform::DocumentError::Kind::CannotOpen
            || e.kind() == platform::DocumentError::Kind::NeedsConverter) {
            MsgBox(MensajePlantillaNoSeAbre(), platform::style::Critical);
            setMousePointer(0);
        }
    } catch (const std::runtime_error&) {
    }

    auto cerrarAyuda = [] {
        if (auto* abierta = platform::Forms::loaded<frmAyuda>())
            abierta->Cerrar();
    };
    QString copia;
    try {
        copia = ArchivoTemporal();
        CopiarDocumento(registro, copia);
        cerrarAyuda();
        platform::showDocument(copia, platform::View::Reading);
    } catch (const std::runtime_error& e) {
        cerrarAyuda();
        MsgBox(QStringLiteral("No se puede abrir el registro de subcontratas. ") + QString::fromUtf8(e.what()),
               platform::style::Critical);
    }
    // The user fills it in and prints it in the word processor; it goes when
    // that is closed.
    platform::releaseWorkingCopy(copia);
    setMousePointer(0);
    Esperar(2);
    cmdSalir->setEnabled(true);
}
