// The document generator of contract production: the template is checked
// and copied, the copy filled at its bookmarks, saved and shown; then it is
// printed, stored, its copia básica made, and the contract written back to
// the database.

#include "production/frmEleccionContrato.h"

#include "common/Impresion.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "companies/frmEmpresa.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Document.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/Office.h"
#include "platform/Paths.h"
#include "platform/WorkingCopies.h"
#include "production/GrabacionContrato.h"
#include "production/RellenoContrato.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using platform::Answer;
using platform::Forms;
using platform::MsgBox;
using produccion::ClaseDocumento;
using produccion::EnPaso;
namespace estilo = platform::style;

namespace {

QString PorClase(ClaseDocumento clase, const char* prorroga, const char* notificacion, const char* contrato)
{
    switch (clase) {
    case ClaseDocumento::Prorroga:
        return QString::fromUtf8(prorroga);
    case ClaseDocumento::Notificacion:
        return QString::fromUtf8(notificacion);
    case ClaseDocumento::Contrato:
        break;
    }
    return QString::fromUtf8(contrato);
}

void OcultarAvisoImprimiendo()
{
    if (auto* aviso = Forms::loaded<frmImprimiendo>())
        Forms::hide(*aviso);
}

} // namespace

void frmEleccionContrato::GenerarDocumento()
{
    CopiasAceptadas = false;
    const ClaseDocumento clase = produccion::ClaseDeTipo(txtTipoContrato->text());

    const QString fecha = mskFechaContrato->Text();
    if (fecha != mskFechaContrato->emptyText() && !QDate::fromString(fecha, QStringLiteral("dd/MM/yyyy")).isValid()) {
        FinDeGeneracion();
        MsgBox(QStringLiteral("La fecha en que se efectua el contrato, %1, no es una fecha válida.").arg(fecha),
               estilo::Critical);
        return;
    }

    try {
        PrepararPlantilla();
        if (!PlantillaAbierta) {
            Forms::unload<frmAyuda>();
            FinDeGeneracion();
            return;
        }
        LlenarDocumento(clase);
        const bool impreso = ImprimirDocumento(clase);
        const produccion::DocumentoProducido documento = DocumentoDeLaVentana(clase);
        const bool guardado = GuardarDocumento(documento);
        // The user printed or stored it: the document was made.
        const bool hecho = impreso || guardado;
        CopiaBasicaDelDocumento(clase);

        const QString vencimientoFicha = VencimientoDeLaFicha();
        if (hecho && !Empresa.Numero.isEmpty()) {
            EnPaso(QStringLiteral("guardar los datos de la empresa y del trabajador"), [&] {
                auto db = AbrirBaseDatos();
                produccion::GuardarEmpresaYTrabajador(db, documento, Empresa, Trabajador, vencimientoFicha);
            });
        }
        // The worker the record window saved for this contract, only on the
        // road from the record window, printed or stored or neither: the
        // worker was saved for this contract.
        if (clase == ClaseDocumento::Contrato && TrabajadorGrabadoParaContrato && OrigenDatos == 1
            && !IdTrabajadorGrabado.toString().isEmpty()) {
            EnPaso(QStringLiteral("anotar el contrato en el trabajador"), [&] {
                auto db = AbrirBaseDatos();
                produccion::AnotarContratoEnTrabajador(db, IdTrabajadorGrabado.toLongLong(), documento,
                                                       vencimientoFicha);
            });
        }
    } catch (const produccion::FalloPaso& fallo) {
        FinDeGeneracion();
        MsgBox(fallo.mensaje(), estilo::Critical);
        return;
    }
    FinDeGeneracion();
}

// The window back in its resting state. Whether the run went through or
// failed, the worker the record window saved is not written to again: the
// next contract is another one; and the working copy goes as soon as the
// word processor no longer shows it.
void frmEleccionContrato::FinDeGeneracion()
{
    platform::releaseWorkingCopy(std::exchange(ArchivoTemporal, QString()));
    OcultarAvisoImprimiendo();
    shaProgreso->hide();
    fraProgreso->hide();
    fraDatosImprimir->hide();
    setMousePointer(0);
    TrabajadorGrabadoParaContrato = false;
    CargandoClausulas = true;
}

// The template is opened once to see that it can be; a copy of it goes to
// the scratch document.
void frmEleccionContrato::PrepararPlantilla()
{
    std::optional<platform::Document> plantilla;
    try {
        plantilla.emplace(platform::Document::open(platform::hostPath(RutaPlantilla)));
    } catch (const platform::DocumentError& error) {
        if (error.kind() != platform::DocumentError::Kind::CannotOpen)
            throw produccion::FalloPaso(QStringLiteral("abrir la plantilla"), error.message());
        MsgBox(MensajePlantillaNoSeAbre(), estilo::Critical);
        shaProgreso->hide();
        fraProgreso->hide();
        setMousePointer(0);
        PlantillaAbierta = false;
        return;
    }
    try {
        plantilla->saveAs(platform::hostPath(QString::fromLatin1(kBorrador)));
    } catch (const std::exception&) {
        // The scratch copy is for checking only.
    }
}

void frmEleccionContrato::LlenarDocumento(ClaseDocumento clase)
{
    EnPaso(QStringLiteral("preparar la copia de trabajo de la plantilla"), [&] {
        ArchivoTemporal = ::ArchivoTemporal();
        platform::Document::open(platform::hostPath(RutaPlantilla)).saveAs(ArchivoTemporal);
    });

    produccion::Relleno relleno;
    relleno.clase = clase;
    relleno.contrato = txtContrato->text();
    relleno.codigoContrato = CodigoContrato;
    relleno.modelo = ModeloContrato;
    relleno.idioma = IdiomaContrato;
    relleno.lugar = txtLugar->text();
    relleno.fechaContrato = mskFechaContrato->Text();
    relleno.mesEnLetras = optLetras->value();
    const platform::FlexGrid& g = *mshMarcas;
    for (int r = 1; r < g.Rows(); ++r)
        relleno.marcas.push_back({g.TextMatrix(r, 0), g.TextMatrix(r, 2), g.TextMatrix(r, 3)});
    if (produccion::LlevaClausulas(clase, relleno.contrato)) {
        std::vector<int> elegidas;
        for (std::size_t i = 0; i < ClausulaElegida.size() && i < IdClausulaFila.size(); ++i) {
            if (ClausulaElegida[i] == 1)
                elegidas.push_back(IdClausulaFila[i]);
        }
        EnPaso(QStringLiteral("leer las cláusulas"), [&] {
            relleno.clausulas = produccion::TextoClausulas(AbrirBaseDatos(), elegidas, IdiomaContrato);
        });
    }

    std::optional<platform::Document> copia;
    EnPaso(QStringLiteral("abrir la copia de trabajo"),
           [&] { copia.emplace(platform::Document::open(ArchivoTemporal)); });
    const auto escribir = [&copia](const QString& marcador, const QString& texto) {
        if (!copia->hasBookmark(marcador))
            throw std::runtime_error(
                QStringLiteral("La plantilla no tiene el marcador %1.").arg(marcador).toStdString());
        if (!texto.isEmpty())
            copia->insertAfter(marcador, texto);
    };
    const auto valores =
        produccion::RellenarDocumento(relleno, escribir, [this](int valor) { ProgressBar1->setValue(valor); });
    InicioProrroga = valores.inicioProrroga;
    DuracionProrroga = valores.duracionProrroga;
    VencimientoContrato = valores.vencimientoContrato;
    // What is shown, printed and stored is the filled document.
    EnPaso(QStringLiteral("guardar el documento"), [&] { copia->save(); });

    shaProgreso->hide();
    fraProgreso->hide();
    frmAyuda::ModoAyuda = false;
    Forms::unload<frmAyuda>();
    setMousePointer(0);
    EnPaso(QStringLiteral("mostrar el documento"), [&] { platform::showDocument(ArchivoTemporal); });
}

MarcoCopias frmEleccionContrato::MarcoDeCopias() const
{
    return {fraDatosImprimir, txtNumeroCopias, cmdCopias};
}

// Each print reads the working copy as it is on disk, with what the user
// saved in the word processor.
bool frmEleccionContrato::ImprimirDocumento(ClaseDocumento clase)
{
    const QString pregunta = PorClase(clase, "¿Desea Imprimir la prórroga?", "¿Desea Imprimir la notificación?",
                                      "¿Desea Imprimir el contrato?");
    const bool imprimir = MsgBox(pregunta, estilo::YesNo | estilo::Question | estilo::DefaultButton2,
                                 QStringLiteral("Confirmación."))
        == Answer::Yes;
    Esperar(2);
    if (!imprimir)
        return false;
    const int copias = PedirCopias(*this, MarcoDeCopias());
    if (clase == ClaseDocumento::Contrato) {
        ImprimirDobleCara(ArchivoTemporal, copias,
                          QString::fromUtf8(kAvisoSegundaCara) + QStringLiteral(" y pulse Aceptar"), true);
    } else {
        // Extensions and notifications: every page, once per copy.
        auto& aviso = Forms::get<frmImprimiendo>();
        aviso.lblImprimir->setText(QStringLiteral("Imprimiendo."));
        Forms::show(aviso);
        try {
            platform::office().print(ArchivoTemporal, platform::PageSet::All, copias);
            Esperar(15);
        } catch (const std::exception& error) {
            OcultarAvisoImprimiendo();
            MsgBox(QString::fromUtf8(error.what()), estilo::Critical);
        }
    }
    OcultarAvisoImprimiendo();
    Esperar(2);
    return true;
}

produccion::DocumentoProducido frmEleccionContrato::DocumentoDeLaVentana(ClaseDocumento clase) const
{
    produccion::DocumentoProducido d;
    d.clase = clase;
    d.numEmpresa = txtNumEmpresa->text();
    d.nombreEmpresa = txtNombreEmpresa->text();
    d.numTrabajador = txtNumTrabajador->text();
    d.nombreTrabajador = txtNombreTrabajador->text();
    d.tipoContrato = txtTipoContrato->text();
    d.contrato = txtContrato->text();
    d.contratoElegido = ContratoElegido;
    d.idContrato = IdContratoElegido;
    d.fechaContrato = mskFechaContrato->Text();
    d.inicioProrroga = InicioProrroga;
    d.duracionProrroga = DuracionProrroga;
    d.vencimientoContrato = VencimientoContrato;
    return d;
}

// The copy in the folder of stored contracts, the row that names it and the
// worker's contract: all or nothing.
bool frmEleccionContrato::GuardarDocumento(const produccion::DocumentoProducido& d)
{
    const QString pregunta = PorClase(d.clase, "¿Desea guardar la prórroga en la base de datos?",
                                      "¿Desea guardar la notificación en la base de datos?",
                                      "¿Desea guardar el contrato en la base de datos?");
    const QString titulo = PorClase(d.clase, "Guardar Prórroga", "Guardar Prórroga", "Guardar Contrato");
    if (MsgBox(pregunta, estilo::YesNo, titulo) != Answer::Yes)
        return false;
    const QString ruta = RutaDocumentoGuardado(d.numEmpresa, d.numTrabajador, produccion::SufijoDocumento(d.clase));
    if (ruta.isEmpty()) {
        MsgBox(QStringLiteral("No se ha guardado el documento: el número de empresa y el número de trabajador deben "
                              "estar rellenos y no pueden llevar ninguno de los caracteres \\ / : * ? \" < > |"),
               estilo::Critical);
        return false;
    }

    setMousePointer(11);
    ProgressBar1->hide();
    shaProgreso->show();
    fraProgreso->setTitle(PorClase(d.clase, "Almacenando prórroga.", "Almacenando notificación.",
                                   "Almacenando contrato."));
    fraProgreso->show();
    Esperar(0.5);
    ProgressBar1->setValue(30);
    ProgressBar1->show();

    EnPaso(QStringLiteral("guardar el documento en la carpeta de contratos"), [&] {
        auto db = AbrirBaseDatos();
        // From the record window the worker is the one it handed over;
        // otherwise the one the header names.
        std::optional<qint64> trabajador;
        if (OrigenDatos == 1) {
            if (!IdTrabajadorContrato.toString().isEmpty())
                trabajador = IdTrabajadorContrato.toLongLong();
        } else {
            trabajador = produccion::BuscarTrabajador(db, d.numEmpresa, d.numTrabajador);
        }
        produccion::GrabarDocumento(db, d, ArchivoTemporal, ruta, trabajador);
    });
    ProgressBar1->setValue(ProgressBar1->value() + 60);
    fraProgreso->hide();
    shaProgreso->hide();
    MostrarMensaje(PorClase(d.clase, "Prórroga grabada.", "Notificación grabada.", "Contrato grabado."), 1);
    setMousePointer(0);
    return true;
}

// Offered for a contract with an official code, in the document's language,
// on a copy of its own of the filled document.
void frmEleccionContrato::CopiaBasicaDelDocumento(ClaseDocumento clase)
{
    if (CodigoContrato == QLatin1String("000"))
        return;
    CopiaBasicaOpciones opciones;
    opciones.documento = ArchivoTemporal;
    EnPaso(QStringLiteral("preparar la copia básica"), [&] { opciones.borrador = ::ArchivoTemporal(); });
    opciones.produccion = true;
    opciones.idioma = IdiomaContrato;
    opciones.firmasPrimeraPagina = !optNo->value();
    opciones.aviso = QString::fromUtf8(kAvisoSegundaCara) + QStringLiteral(", y pulse Aceptar");
    // Stored beside the document it was made from, under a name of its own.
    opciones.guardarComo = RutaDocumentoGuardado(txtNumEmpresa->text(), txtNumTrabajador->text(),
                                                 SufijoCopiaBasica(produccion::SufijoDocumento(clase)));
    if (!opciones.guardarComo.isEmpty())
        QDir().mkpath(QFileInfo(opciones.guardarComo).absolutePath());
    CopiaBasica(*this, MarcoDeCopias(), opciones);
    platform::releaseWorkingCopy(opciones.borrador); // printed and stored by now
}

// The end date the record window shows, while it is open; after it handed
// the contract over it is closed and gives none.
QString frmEleccionContrato::VencimientoDeLaFicha() const
{
    const auto* ficha = Forms::loaded<frmEmpresa>();
    return ficha ? ficha->mskVencimiento->Text() : QString();
}
