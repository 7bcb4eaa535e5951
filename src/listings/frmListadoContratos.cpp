#include "listings/frmListadoContratos.h"

#include "app/frmMenu.h"
#include "common/Documentos.h"
#include "common/Impresion.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"
#include "production/frmEleccionContrato.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

using platform::Forms;
using platform::MsgBox;

namespace {

const QString kTodos = QStringLiteral(R"(SELECT * FROM "ContratosGrabados")");

const QString kAyudaEditar = QStringLiteral(
    "Visualizaremos un contrato guardado en memoria, para guardard todas las modificaciones introducidas deberemos "
    "actuar como si fuera un editor de texto, es decir con la opción 'Guardar' del menu 'Archivo'.");

// Why a saved contract's document cannot be opened, naming it, with the
// icon of the message box.
struct Problema {
    QString texto;
    int estilo = platform::style::Information;
};

// Host path of a saved contract's document. Empty when it cannot be opened,
// and then `problema` tells the user why: the row names no file (extensions
// and notifications store no name), names one outside the contracts folder,
// or the file is gone (an error, as the record window tells it).
QString DocumentoDeContrato(const QString& nombre, Problema& problema)
{
    if (nombre.trimmed().isEmpty()) {
        problema.texto =
            QStringLiteral("Este contrato no tiene ningún documento guardado: su fila no nombra ningún fichero.");
        return {};
    }
    const QString ruta = RutaEnCarpetaContratos(nombre);
    if (ruta.isEmpty()) {
        problema.texto = QStringLiteral("El documento guardado de este contrato, %1, no es un fichero de la carpeta "
                                        "de contratos.")
                             .arg(nombre);
        return {};
    }
    if (!QFileInfo(ruta).isFile()) {
        problema = {DocumentoGuardadoNoEncontrado(nombre), platform::style::Critical};
        return {};
    }
    return ruta;
}

} // namespace

frmListadoContratos::frmListadoContratos() : Form(QStringLiteral("frmListadoContratos"))
{
    setWindowTitle(QStringLiteral("Listado Contratos."));
    designSize(11880, 8160);

    // Decoration: the picture of the main window's button that opens the
    // list, a rule over the buttons and a block behind them and behind Volver.
    Image1 = place(new platform::Picture, "Image1", 11100, 120, 480, 480);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    const QColor decoracion(0xDD, 0xE4, 0xEC);
    Shape1 = place(new platform::Shape, "Shape1", 180, 7400, 7180, 560);
    Shape1->setFillColor(decoracion);
    Shape2 = place(new platform::Shape, "Shape2", 7400, 7400, 1400, 560);
    Shape2->setFillColor(decoracion);
    Shape3 = place(new platform::Shape, "Shape3", 240, 7260, 11400, 30);
    Shape3->setFillColor(QColor(0x60, 0x70, 0x80));

    lblTitulo = place(new QLabel(QStringLiteral("Contratos guardados en memoria.")), "lblTitulo", 240, 120, 6000, 480);
    platform::setBoldFont(lblTitulo, 12);

    dbgContratos = place(new platform::DBGrid, "dbgContratos", 240, 720, 11400, 5280);
    dbgContratos->setColumns({
        {QStringLiteral("Id"), QStringLiteral("IdContrato"), 600, true, {}},
        {QStringLiteral("Num"), QStringLiteral("NumContrato"), 700, true, {}},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), 1300, true, QStringLiteral("dd/mm/yyyy")},
        {QStringLiteral("Trabajador"), QStringLiteral("Trabajador"), 2900, true, {}},
        {QStringLiteral("Empresa"), QStringLiteral("Empresa"), 2900, true, {}},
        {QStringLiteral("Tipo de Contrato"), QStringLiteral("TipoContrato"), 2600, true, {}},
    });
    // Numbers and dates show whole; the names and the type share the rest.
    dbgContratos->setWholeColumns({0, 1, 2});

    fraNumero = place(new QGroupBox(QStringLiteral("Número : ")), "fraNumero", 240, 6180, 3600, 900);
    Label1 = place(new QLabel(QStringLiteral("Número de registros : ")), "Label1", 120, 390, 2160, 330, fraNumero);
    txtNum = place(new QLineEdit, "txtNum", 2280, 360, 1080, 360, fraNumero);
    platform::makeCounter(txtNum);
    txtNum->setAlignment(Qt::AlignRight);

    shaBuscar = place(new platform::Shape, "shaBuscar", 4080, 6060, 7560, 1140);
    shaBuscar->setFillColor(QColor(0xEE, 0xF2, 0xF6));
    shaBuscar->hide();
    fraBuscar = place(new QGroupBox, "fraBuscar", 4200, 6120, 7320, 1020);
    Label3 = place(new QLabel(QStringLiteral("Nombre Empresa")), "Label3", 120, 120, 3480, 300, fraBuscar);
    txtEmpresa = place(new platform::TextBox, "txtEmpresa", 120, 450, 3480, 360, fraBuscar);
    Label2 = place(new QLabel(QStringLiteral("Trabajador")), "Label2", 3720, 120, 3480, 300, fraBuscar);
    txtTrabajador = place(new platform::TextBox, "txtTrabajador", 3720, 450, 3480, 360, fraBuscar);
    fraBuscar->hide();

    fraDatosImprimir = place(new QGroupBox(QStringLiteral("IMPRESIÓN : ")), "fraDatosImprimir", 3840, 2640, 4200, 1320);
    Label4 = place(new QLabel(QStringLiteral("Introduzca el número de copias : ")), "Label4", 240, 420, 2760, 300,
                   fraDatosImprimir);
    txtNumeroCopias = place(new QLineEdit, "txtNumeroCopias", 3000, 360, 900, 360, fraDatosImprimir);
    cmdCopias = place(new QPushButton(QStringLiteral("Aceptar")), "cmdCopias", 1320, 840, 1560, 360, fraDatosImprimir);
    fraDatosImprimir->hide();

    placeButtonRow({
        {&cmdNuevo, "cmdNuevo", "Nuevo", "Crear un nuevo contrato."},
        {&cmdEditar, "cmdEditar", "Editar", "Editar un contratop seleccionado."},
        {&cmdBorrar, "cmdBorrar", "Borrar.", "Borra el contrato seleccionado."},
        {&cmdBuscar, "cmdBuscar", "Buscar.", "Buscar un contrato."},
        {&cmdAyuda, "cmdAyuda", "Ayuda.", "Obendremos una ventana de ayuda sobre el objeto pulsado."},
        {&cmdSalir, "cmdSalir", "Volver.", "Volver al Menú Principal."},
    }, 240, 7440, 1320, 480, 1440);

    ayuda::Conectar(*this, cmdNuevo, QStringLiteral("Botón Nuevo : "),
                    QStringLiteral("Obtendremos un pantalla donde podremos generar un nuevo contrato, seleccionando el "
                                   "tipo de contrato y todos los datos para poder cumplimentar correctamente dicho "
                                   "contrato."),
                    [this] { cmdNuevo_Click(); });
    // Editar looks at help mode itself: its help ends as a reopening does.
    onClick(cmdEditar, [this] { cmdEditar_Click(); });
    ayuda::Conectar(*this, cmdBorrar, QStringLiteral("Botón Borrar : "),
                    QStringLiteral("Se eliminara de memoria el contrato seleccionado del listado de contratos "
                                   "guardados."),
                    [this] { cmdBorrar_Click(); });
    ayuda::Conectar(*this, cmdBuscar, QStringLiteral("Botón Buscar : "),
                    QStringLiteral("Obtendremos una caja de texto donde podremos introducir una parte del texto "
                                   "correspondiente al nombre de la empresa o al nombre del trabajador para realizar "
                                   "una busqueda en memoria."),
                    [this] { cmdBuscar_Click(); });
    ayuda::Punteros(*this, {{this, 0}, {cmdNuevo, 14}, {cmdEditar, 14}, {cmdBorrar, 14}, {cmdBuscar, 14}});
    onClick(cmdAyuda, [this] { ayuda::Activar(*this); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });

    connect(txtEmpresa, &QLineEdit::textChanged, this, [this](const QString& texto) {
        platform::runHandler([&] { Buscar("Empresa", texto); });
    });
    connect(txtTrabajador, &QLineEdit::textChanged, this, [this](const QString& texto) {
        platform::runHandler([&] { Buscar("Trabajador", texto); });
    });
    dbgContratos->HeadClick = [this](int col) { platform::runHandler([&] { dbgContratos_HeadClick(col); }); };
    dbgContratos->DblClick = [this] { platform::runHandler([this] { cmdEditar_Click(); }); };
}

void frmListadoContratos::Form_Load()
{
    Elastico().Init(*this);
    platform::runHandler([this] {
        MostrarTodos();
        ContarContratosGrabados();
    });
}

void frmListadoContratos::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmListadoContratos::MostrarTodos()
{
    dbgContratos->Refresh(AbrirBaseDatos(), kTodos);
}

// The size of the whole table, whatever the grid shows. Nothing can add a
// row while the window is open, so an empty table leaves the three buttons
// disabled until it closes.
void frmListadoContratos::ContarContratosGrabados()
{
    const auto fila = AbrirBaseDatos().first(QStringLiteral(R"(SELECT COUNT(*) AS n FROM "ContratosGrabados")"));
    const qint64 n = fila ? fila->value(QStringLiteral("n")).toLongLong() : 0;
    if (n == 0) {
        cmdBuscar->setEnabled(false);
        cmdEditar->setEnabled(false);
        cmdBorrar->setEnabled(false);
    }
    txtNum->setText(QString::number(n));
}

// The rows whose field begins with the text typed, taken as it stands; each
// box replaces the other's filter.
void frmListadoContratos::Buscar(const char* campo, const QString& texto)
{
    const auto comienzo = platform::beginsWith(QString::fromUtf8(campo), texto);
    dbgContratos->Refresh(AbrirBaseDatos(), kTodos + QStringLiteral(" WHERE ") + comienzo.sql, comienzo.values);
}

void frmListadoContratos::dbgContratos_HeadClick(int ColIndex)
{
    static const char* const campos[] = {nullptr, nullptr, "Fecha", "Trabajador", "Empresa", "TipoContrato"};
    if (ColIndex < 0 || ColIndex >= static_cast<int>(std::size(campos)) || !campos[ColIndex])
        return;
    dbgContratos->Refresh(AbrirBaseDatos(), kTodos
                                                + QStringLiteral(" ORDER BY %1")
                                                      .arg(platform::quoteName(QString::fromUtf8(campos[ColIndex]))));
}

void frmListadoContratos::cmdBorrar_Click()
{
    const QString id = dbgContratos->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ningún contrato a borrar."), platform::style::Information);
    } else {
        auto db = AbrirBaseDatos();
        const auto sigue = db.first(QStringLiteral(R"(SELECT 1 FROM "ContratosGrabados" WHERE "IdContrato" = ?)"),
                                    {id.toLongLong()});
        if (sigue
            && MsgBox(QStringLiteral("Desea eliminar el contrato"), 292, QStringLiteral("Confirmación."))
                == platform::Answer::Yes) {
            // Only the row goes: the document stays in its folder.
            {
                platform::Hourglass reloj(*this);
                db.remove(QStringLiteral("ContratosGrabados"), QStringLiteral("IdContrato"), id.toLongLong());
            }
            MostrarMensaje(QStringLiteral("Contrato Eliminado."));
        }
    }
    MostrarTodos();
    ContarContratosGrabados();
}

void frmListadoContratos::cmdBuscar_Click()
{
    fraBuscar->show();
    shaBuscar->show();
    cmdBuscar->hide();
    cmdAyuda->hide();
    txtTrabajador->setFocus();
}

// Contract production with no company or worker taken over.
void frmListadoContratos::cmdNuevo_Click()
{
    auto& eleccion = Forms::show<frmEleccionContrato>();
    eleccion.OrigenDatos = 2;
    eleccion.AperturaDesdeListado = 2;
    Forms::unload(*this);
}

// The contract of the current row shown in the word processor, then printed
// double-sided and its copia básica, each if the user wants it; the copia
// básica is not stored. Nothing else of the window can be used meanwhile.
void frmListadoContratos::cmdEditar_Click()
{
    platform::BlockedWindow bloqueo(*this, {fraDatosImprimir});
    if (frmAyuda::ModoAyuda) {
        ayuda::Mostrar(*this, QStringLiteral("Botón Editar : "), kAyudaEditar);
        Esperar(2);
        return;
    }
    const QString id = dbgContratos->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ningún contrato a editar."), platform::style::Information);
    } else {
        QString documento;
        Problema problema{QStringLiteral("No hay ningún contrato a editar.")};
        {
            platform::Hourglass reloj(*this);
            dbgContratos->Refresh(AbrirBaseDatos(), kTodos + QStringLiteral(R"( WHERE "IdContrato" = ?)"),
                                  {id.toLongLong()});
            if (dbgContratos->RecordCount() > 0)
                documento =
                    DocumentoDeContrato(dbgContratos->records().front().text(QStringLiteral("Nombre")), problema);
        }
        if (documento.isEmpty())
            MsgBox(problema.texto, problema.estilo);
        else
            AbrirDocumentoGuardado(*this, {fraDatosImprimir, txtNumeroCopias, cmdCopias}, {documento, false, {}});
    }
    MostrarTodos();
    Esperar(2);
}

void frmListadoContratos::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
}
