// The record window of one company: its construction, its events, its tabs, and the buttons that cancel or leave.
#include "companies/frmEmpresa.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "companies/Comprobaciones.h"
#include "companies/frmEmpresas.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/Screen.h"
#include "platform/TextBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

using platform::Forms;
using platform::isShown;
using platform::MaskEdBox;
using platform::TextBox;

namespace {

constexpr int kF2 = 113;
// Height of the tab strip over the pages (twips).
constexpr int kAltoPestanas = 360;
const QString kMascaraFecha = QStringLiteral("##/##/####");

// A box of several lines: Tab moves on to the next box, as it does from any
// other; the user may type no more than `maximo` characters, and a longer
// text set by code stays whole.
void limitar(QPlainTextEdit* memo, int maximo)
{
    memo->setTabChangesFocus(true);
    auto anterior = std::make_shared<QString>();
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, maximo, anterior] {
        const QString actual = memo->toPlainText();
        if (memo->hasFocus() && actual.size() > maximo && actual.size() > anterior->size()) {
            const QSignalBlocker quieto(memo);
            memo->setPlainText(*anterior);
            memo->moveCursor(QTextCursor::End);
            return;
        }
        *anterior = actual;
    });
}

} // namespace

frmEmpresa::frmEmpresa() : Form(QStringLiteral("frmEmpresa"))
{
    setWindowTitle(QStringLiteral("Empresa"));
    designSize(12000, 9360);

    SSTab1 = place(new QTabWidget, "SSTab1", 120, 120, 11760, 7920);
    // A click on a tab takes the focus first, so the box being left is
    // checked before the tab changes and its answer holds the click back:
    // no tab change saves a value the check is refusing.
    SSTab1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    auto* pestanaEmpresa = new QWidget;
    auto* pestanaTrabajadores = new QWidget;
    auto* pestanaClausulas = new QWidget;
    SSTab1->addTab(pestanaEmpresa, QStringLiteral("Empresa."));
    SSTab1->addTab(pestanaTrabajadores, QStringLiteral("Trabajadores."));
    SSTab1->addTab(pestanaClausulas, QStringLiteral("Clausulas."));
    ConstruirEmpresa(pestanaEmpresa);
    ConstruirTrabajadores(pestanaTrabajadores);
    ConstruirClausulas(pestanaClausulas);
    ConstruirBotones();

    // The copies prompt lies over everything while it is asked.
    fraDatosImprimir = place(new QGroupBox(QStringLiteral("IMPRESIÓN : ")), "fraDatosImprimir", 3600, 3240, 4800, 1560);
    fraDatosImprimir->setAutoFillBackground(true);
    lblNumeroCopias = place(new QLabel(QStringLiteral("Introduzca el número de copias : ")), "lblNumeroCopias", 240,
                            480, 3000, 330, fraDatosImprimir);
    txtNumeroCopias = place(new TextBox, "txtNumeroCopias", 3300, 450, 960, 360, fraDatosImprimir);
    cmdCopias = place(new QPushButton(QStringLiteral("Aceptar")), "cmdCopias", 2940, 960, 1320, 420, fraDatosImprimir);
    fraDatosImprimir->hide();

    ConectarEventos();
}

void frmEmpresa::ConstruirEmpresa(QWidget* pagina)
{
    fraEmpresas = place(new QGroupBox(QStringLiteral("Datos Empresa: ")), "fraEmpresas", 120, 120, 11400, 7140, pagina);
    const auto fila = [](int n) { return 480 + n * 600; };
    const auto etiqueta = [&](int indice, const char* texto, bool derecha, int n) {
        auto* label = place(new QLabel(QString::fromUtf8(texto)), qPrintable(QStringLiteral("lblNombre%1").arg(indice)),
                            derecha ? 6900 : 240, fila(n) + 30, derecha ? 2040 : 2400, 300, fraEmpresas);
        lblNombre[static_cast<std::size_t>(indice)] = label;
    };
    const auto caja = [&](const char* nombre, bool derecha, int n, int ancho, int maximo) {
        auto* box = place(new TextBox, nombre, derecha ? 9000 : 2700, fila(n), ancho, 360, fraEmpresas);
        if (maximo > 0)
            box->setMaxLength(maximo);
        return box;
    };

    etiqueta(0, "Nombre de la Empresa:", false, 0);
    txtNombreEmpresa = caja("txtNombreEmpresa", false, 0, 3960, 30);
    etiqueta(1, "Número Empresa:", true, 0);
    txtNumEmpresa = caja("txtNumEmpresa", true, 0, 900, 5);
    txtNumEmpresa->setAlignment(Qt::AlignRight);
    etiqueta(2, "C.I.F/N.I.F:", false, 1);
    mskCuenta = caja("mskCuenta", false, 1, 2040, 0);
    etiqueta(3, "Cuenta de Cotización : ", true, 1);
    txtNumISS = place(new MaskEdBox, "txtNumISS", 9000, fila(1), 1800, 360, fraEmpresas);
    txtNumISS->setMask(QStringLiteral("##/#######/##"));
    etiqueta(4, "Actividad :", false, 2);
    txtActividad = caja("txtActividad", false, 2, 3960, 50);
    etiqueta(5, "Dirección:", false, 3);
    txtDireccion = caja("txtDireccion", false, 3, 3960, 50);
    etiqueta(6, "Localidad:", false, 4);
    txtLocalidad = caja("txtLocalidad", false, 4, 3960, 50);
    etiqueta(7, "C.P:", true, 4);
    txtCp = caja("txtCp", true, 4, 900, 5);
    etiqueta(8, "Provincia:", false, 5);
    txtPoblacion = caja("txtPoblacion", false, 5, 3960, 35);
    etiqueta(12, "País:", true, 5);
    txtPaisEmpresa = caja("txtPaisEmpresa", true, 5, 2040, 0);
    etiqueta(9, "Teléfono:", false, 6);
    txtTelef = caja("txtTelef", false, 6, 1500, 9);
    etiqueta(10, "Fax:", true, 6);
    txtFax = caja("txtFax", true, 6, 1500, 9);
    etiqueta(11, "e-mail:", false, 7);
    txtemail = caja("txtemail", false, 7, 3960, 50);

    lblMensa[2] = place(new QLabel(QStringLiteral("Pulsar \"F2\" para \"España\".")), "lblMensa2", 9000,
                        fila(5) + 370, 2280, 230, fraEmpresas);

    fraObservacionesEmpresa = place(new QGroupBox(QStringLiteral("Observaciones : ")), "fraObservacionesEmpresa", 240,
                                    fila(8), 10920, 1740, fraEmpresas);
    txtObservacionesEmpresa =
        place(new QPlainTextEdit, "txtObservacionesEmpresa", 120, 300, 10680, 1320, fraObservacionesEmpresa);
    limitar(txtObservacionesEmpresa, 250);
}

void frmEmpresa::ConstruirTrabajadores(QWidget* pagina)
{
    fraContenedor = place(new QGroupBox, "fraContenedor", 120, 120, 11400, 7140, pagina);
    fraContenedor->setFlat(true);

    fraTrabajadores = place(new QGroupBox(QStringLiteral("Trabajadores : ")), "fraTrabajadores", 0, 0, 11400, 7140,
                            fraContenedor);
    dbgTrabajadores = place(new platform::DBGrid, "dbgTrabajadores", 120, 360, 11160, 6600, fraTrabajadores);
    dbgTrabajadores->setColumns({
        {QStringLiteral("Id"), QStringLiteral("IdTrabajador"), 1058, false, {}},
        {QStringLiteral("Nombre Trabajador"), QStringLiteral("NombreTrabajador"), 7064, true, {}},
        {QStringLiteral("Núm. Trabajador"), QStringLiteral("NúmeroTrabajador"), 2725, true, QStringLiteral("00000")},
    });
    lblMensajeTrabajadores = place(new QLabel, "lblMensajeTrabajadores", 120, 3000, 11160, 480, fraTrabajadores);
    lblMensajeTrabajadores->setAlignment(Qt::AlignCenter);
    platform::setBoldFont(lblMensajeTrabajadores, 11);
    lblMensajeTrabajadores->hide();

    fraDatosTrabajador = place(new QGroupBox(QStringLiteral("Datos Trabajador : ")), "fraDatosTrabajador", 0, 0, 11400,
                               7140, fraContenedor);
    const auto fila = [](int n) { return 420 + n * 600; };
    const auto etiqueta = [&](int indice, const char* texto, bool derecha, int n) {
        lblTrabajador[static_cast<std::size_t>(indice)] =
            place(new QLabel(QString::fromUtf8(texto)), qPrintable(QStringLiteral("lblTrabajador%1").arg(indice)),
                  derecha ? 6240 : 240, fila(n) + 30, derecha ? 2280 : 2520, 300, fraDatosTrabajador);
    };
    const auto caja = [&](const char* nombre, bool derecha, int n, int ancho, int maximo) {
        auto* box = place(new TextBox, nombre, derecha ? 8580 : 2820, fila(n), ancho, 360, fraDatosTrabajador);
        box->setMaxLength(maximo);
        return box;
    };
    const auto mascara = [&](const char* nombre, int n, int ancho, const QString& mask) {
        auto* box = place(new MaskEdBox, nombre, 2820, fila(n), ancho, 360, fraDatosTrabajador);
        box->setMask(mask);
        return box;
    };

    etiqueta(0, "Nombre : ", false, 0);
    txtNombreTrabajador = caja("txtNombreTrabajador", false, 0, 3000, 30);
    etiqueta(1, "N.I.F. : ", false, 1);
    txtDNI = caja("txtDNI", false, 1, 2040, 14);
    etiqueta(2, "Fecha Nacimiento : ", false, 2);
    txtFechaNac = mascara("txtFechaNac", 2, 1320, kMascaraFecha);
    etiqueta(3, "Nº. Afiliación a la S.S. : ", false, 3);
    txtNumSS = mascara("txtNumSS", 3, 1800, QStringLiteral("##/########/##"));
    etiqueta(4, "Nivel Formativo : ", false, 4);
    txtNivelFormativo = caja("txtNivelFormativo", false, 4, 3000, 30);
    etiqueta(5, "Nacionalidad : ", false, 5);
    txtNacionalidad = caja("txtNacionalidad", false, 5, 3000, 30);
    etiqueta(6, "País del domicilio : ", false, 6);
    txtPais = caja("txtPais", false, 6, 3000, 30);
    etiqueta(7, "Municipio del domicilio : ", false, 7);
    txtMunicipio = caja("txtMunicipio", false, 7, 3000, 50);
    etiqueta(8, "Número Trabajador : ", true, 0);
    txtNumeroTrabajador = caja("txtNumeroTrabajador", true, 0, 900, 5);
    txtNumeroTrabajador->setAlignment(Qt::AlignRight);
    txtNumeroTrabajador->setToolTip(QStringLiteral("Número dentro de la empresa."));
    etiqueta(9, "Código postal : ", true, 1);
    txtCodPostalTrabaj = caja("txtCodPostalTrabaj", true, 1, 900, 5);
    txtCodPostalTrabaj->setAlignment(Qt::AlignRight);

    lblMensa[0] = place(new QLabel(QStringLiteral("Pulsar \"F2\" para \"Española\".")), "lblMensa0", 2820,
                        fila(5) + 370, 3000, 230, fraDatosTrabajador);
    lblMensa[1] = place(new QLabel(QStringLiteral("Pulsar \"F2\" para \"España\".")), "lblMensa1", 2820,
                        fila(6) + 370, 3000, 230, fraDatosTrabajador);

    fraObservacionesTrabajador = place(new QGroupBox(QStringLiteral("Observaciones : ")), "fraObservacionesTrabajador",
                                       240, fila(8), 5580, 1800, fraDatosTrabajador);
    txtObservacionesTrabajador =
        place(new QPlainTextEdit, "txtObservacionesTrabajador", 120, 300, 5340, 1380, fraObservacionesTrabajador);
    limitar(txtObservacionesTrabajador, 250);

    // The current contract and extension, shown for a worker who has them.
    shaContrato = place(new platform::Shape, "shaContrato", 6120, 1500, 5160, 2340, fraDatosTrabajador);
    shaContrato->setFillColor(QColor(0xEE, 0xF2, 0xF6));
    lblContrato
        = place(new QLabel(QStringLiteral("Contrato")), "lblContrato", 6240, 1560, 1800, 300, fraDatosTrabajador);
    platform::setBoldFont(lblContrato);
    fraDatosContrato = place(new QGroupBox, "fraDatosContrato", 6240, 1860, 4920, 1920, fraDatosTrabajador);
    place(new QLabel(QStringLiteral("Tipo Contrato :")), "lblTipoContrato", 120, 270, 1500, 300, fraDatosContrato);
    txtTipoContrato = place(new TextBox, "txtTipoContrato", 1680, 240, 3120, 360, fraDatosContrato);
    place(new QLabel(QStringLiteral("Contrato : ")), "lblNombreContrato", 120, 690, 1500, 300, fraDatosContrato);
    txtContrato = place(new TextBox, "txtContrato", 1680, 660, 3120, 360, fraDatosContrato);
    const QString definicion = QStringLiteral("Definición del contrato del trabajador.");
    txtContrato->setToolTip(definicion);
    // The box is narrower than many a definition: its tool tip holds it whole.
    connect(txtContrato, &QLineEdit::textChanged, this, [this, definicion](const QString& contrato) {
        txtContrato->setToolTip(contrato.isEmpty() ? definicion : definicion + QLatin1Char('\n') + contrato);
    });
    place(new QLabel(QStringLiteral("Fecha")), "lblFechaContrato", 120, 1110, 600, 300, fraDatosContrato);
    mskFechaContrato = place(new MaskEdBox, "mskFechaContrato", 720, 1080, 1260, 360, fraDatosContrato);
    place(new QLabel(QStringLiteral("Vencimiento : ")), "lblVencimiento", 2160, 1110, 1260, 300, fraDatosContrato);
    mskVencimiento = place(new MaskEdBox, "mskVencimiento", 3480, 1080, 1320, 360, fraDatosContrato);
    cmdAcceder = place(new QPushButton(QStringLiteral("Acceder al contrato.")), "cmdAcceder", 2400, 1500, 2400, 360,
                       fraDatosContrato);
    cmdAcceder->setToolTip(QStringLiteral("Visiualiza el contrato guarfdado del trabajador."));
    for (MaskEdBox* fecha : {mskFechaContrato, mskVencimiento})
        fecha->setMask(kMascaraFecha);
    txtTipoContrato->setReadOnly(true);
    txtContrato->setReadOnly(true);
    mskFechaContrato->setReadOnly(true);

    fraProrroga = place(new QGroupBox(QStringLiteral("Prórroga : ")), "fraProrroga", 6240, 3960, 4920, 1560,
                        fraDatosTrabajador);
    place(new QLabel(QStringLiteral("Fecha Inicio Prórroga :")), "lblInicioProrroga", 120, 330, 2040, 300, fraProrroga);
    mskInicioProrroga = place(new MaskEdBox, "mskInicioProrroga", 2160, 300, 1320, 360, fraProrroga);
    mskInicioProrroga->setMask(kMascaraFecha);
    mskInicioProrroga->setReadOnly(true);
    place(new QLabel(QStringLiteral("Duración meses : ")), "lblMesesProrroga", 120, 750, 2040, 300, fraProrroga);
    txtMesesProrroga = place(new TextBox, "txtMesesProrroga", 2160, 720, 2640, 360, fraProrroga);
    txtMesesProrroga->setReadOnly(true);
    cmdAccederProrroga = place(new QPushButton(QStringLiteral("Acceder a la prórroga.")), "cmdAccederProrroga", 2400,
                               1140, 2400, 360, fraProrroga);
    cmdAccederProrroga->setToolTip(QStringLiteral("Visiualiza el contrato guarfdado del trabajador."));

    fraEstado = place(new QGroupBox(QStringLiteral("Estado")), "fraEstado", 6240, 5640, 4920, 1380, fraDatosTrabajador);
    chkEnvCliente
        = place(new QCheckBox(QStringLiteral("Enviado Cliente")), "chkEnvCliente", 120, 300, 2280, 300, fraEstado);
    chkRecCliente
        = place(new QCheckBox(QStringLiteral("Devuelto Cliente")), "chkRecCliente", 2520, 300, 2280, 300, fraEstado);
    chkEnvINEM = place(new QCheckBox(QStringLiteral("Enviado INEM")), "chkEnvINEM", 120, 660, 2280, 300, fraEstado);
    chkRecINEM = place(new QCheckBox(QStringLiteral("Recogido INEM")), "chkRecINEM", 2520, 660, 2280, 300, fraEstado);
    chkReeCliente
        = place(new QCheckBox(QStringLiteral("Reenviado Cliente")), "chkReeCliente", 120, 1020, 2280, 300, fraEstado);

    fraDatosTrabajador->hide();
}

void frmEmpresa::ConstruirClausulas(QWidget* pagina)
{
    fraClausulas = place(new QGroupBox(QStringLiteral("Cláusulas : ")), "fraClausulas", 120, 120, 11400, 7140, pagina);
    lblTituloClausulas = place(new QLabel(QStringLiteral("CLÁUSULAS ADICIONALES : ")), "lblTituloClausulas", 240, 300,
                               6000, 300, fraClausulas);
    platform::setBoldFont(lblTituloClausulas);
    for (int i = 0; i < 8; ++i) {
        chkClausula[static_cast<std::size_t>(i)] = place(new platform::CheckBox,
            qPrintable(QStringLiteral("chkClausula%1").arg(i)), 240, 720 + i * 780, 10440, 720, fraClausulas);
    }
    vscClausulas = place(new QScrollBar(Qt::Vertical), "vscClausulas", 10860, 720, 300, 6180, fraClausulas);
    vscClausulas->setPageStep(1);
    vscClausulas->hide();
}

void frmEmpresa::ConstruirBotones()
{
    struct Boton {
        QPushButton** boton;
        const char* nombre;
        const char* texto;
        const char* ayuda;
        int hueco;  // place in the row, from 0
        int fila;   // 0 the buttons of the tab, 1 those always there
        int ancho;
    };
    const Boton botones[] = {
        {&cmdSave, "cmdSave", "Grabar.", "Grabar los datos de la empresa.", 0, 0, 1320},
        {&cmdNuevo, "cmdNuevo", "Nuevo", "Crear un nuevo trabajador.", 0, 0, 1320},
        {&cmdListado, "cmdListado", "Empresas.", "Obtener el listado de empresas.", 1, 0, 1320},
        {&cmdEditar, "cmdEditar", "Editar", "Editar los datos de la empresa seleccionada.", 1, 0, 1320},
        {&cmdGrabar, "cmdGrabar", "Grabar.", "Graba los datos del trabajador.", 2, 0, 1320},
        {&cmdBorrar, "cmdBorrar", "Borrar.", "Borra el trabajador seleccionado.", 3, 0, 1320},
        {&cmdCancelar, "cmdCancelar", "Cancelar.", "Cancela la acción activa.", 4, 0, 1320},
        {&cmdImprimir, "cmdImprimir", "Imprimir.", "Imprimir la selección activa en ese momento.", 5, 0, 1320},
        {&cmdContratoManual, "cmdContratoManual", "Contrato.",
         "Generar una contrato para el trabajador seleccionado.", 6, 0, 1320},
        {&cmdSubcontratas, "cmdSubcontratas", "Registro Subcontratas.",
         "Generar una contrato para el trabajador seleccionado.", 0, 1, 2760},
        {&cmdAyuda, "cmdAyuda", "Ayuda.", "Obendremos una ventana de ayuda sobre el objeto pulsado.", 6, 1, 1320},
        {&cmdSalir, "cmdSalir", "Volver.", "Volver al Menú Principal.", 7, 1, 1320},
    };
    for (const Boton& b : botones) {
        *b.boton = place(new QPushButton(QString::fromUtf8(b.texto)), b.nombre, 120 + b.hueco * 1440,
                         b.fila == 0 ? 8160 : 8700, b.ancho, 420);
        (*b.boton)->setToolTip(QString::fromUtf8(b.ayuda));
    }
}

void frmEmpresa::ConectarEventos()
{
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
        if (moviendoPestana_)
            return;
        const int anterior = pestanaAnterior_;
        pestanaAnterior_ = tab;
        platform::runHandler([&] { SSTab1_Click(anterior); });
    });

    ayuda::Conectar(*this, cmdSave, QStringLiteral("Botón Grabar : "),
                    QStringLiteral("Guardará en memoria los datos de la empresa."), [this] { cmdSave_Click(); });
    ayuda::Conectar(*this, cmdListado, QStringLiteral("Botón Listado Empresas : "),
                    QStringLiteral("Volveremos a la pantalla de visualización de empresas."),
                    [this] { cmdListado_Click(); });
    ayuda::Conectar(*this, cmdNuevo, QStringLiteral("Botón Nuevo : "),
                    QStringLiteral("Obtendremos un formulario donde podremos introducir todos los datos para poder dar "
                                   "de alta un nuevo trabajador."),
                    [this] { cmdNuevo_Click(); });
    const QString tituloEditar = QStringLiteral("Botón Editar : ");
    const QString ayudaEditar = QStringLiteral(
        "Obtendremos un formulario con los datos introducidos del trabajador seleccionado en ese momento "
        "de la lista de trabajadores, los datos podran ser modificados y grabados posteriormente.");
    ayuda::Conectar(*this, cmdEditar, tituloEditar, ayudaEditar, [this] { cmdEditar_Click(); });
    ayuda::Conectar(*this, cmdGrabar, QStringLiteral("Botón Grabar : "),
                    QStringLiteral("Guardará en memoria los datos del trabajador creado."),
                    [this] { cmdGrabar_Click(); });
    ayuda::Conectar(*this, cmdBorrar, QStringLiteral("Botón Borrar : "),
                    QStringLiteral("Eliminará de la lista de trabajadores guardados el trabajador seleccionado en ese "
                                   "momento de la lista."),
                    [this] { cmdBorrar_Click(); });
    ayuda::Conectar(*this, cmdCancelar, QStringLiteral("Botón"),
                    QStringLiteral("Cancelará el proceso activo en ese momento."), [this] { cmdCancelar_Click(); });
    ayuda::Conectar(*this, cmdContratoManual, QStringLiteral("Botón Contrato : "),
                    QStringLiteral("Obtendremos la pantalla de elección de contrato a realizar con los datos del "
                                   "trabajador y empresa seleccionados."),
                    [this] { cmdContratoManual_Click(); });
    ayuda::Conectar(*this, cmdAcceder, QStringLiteral("Botón Acceder : "),
                    QStringLiteral("Accederá al contrato almacenado del trabajador."), [this] { cmdAcceder_Click(); });
    ayuda::Conectar(*this, cmdAccederProrroga, QStringLiteral("Botón Acceder : "),
                    QStringLiteral("Accederá a la prórroga almacenada del trabajador."),
                    [this] { cmdAccederProrroga_Click(); });
    ayuda::Conectar(*this, cmdImprimir, QStringLiteral("Botón Imprimir : "),
                    QStringLiteral("Imprimirá un listado de trabajadores guardados en memoria."),
                    [this] { cmdImprimir_Click(); });
    // Help mode: the question arrow over what gives help and over the tab
    // strip; the default pointer over the window, the pages of the tabs and
    // the worker's frames. "Contrato." takes it as the button is pressed.
    const auto sobrePestanas = [this](QWidget* parte) {
        return ayuda::Puntero(parte, [this, parte](QPoint donde) {
            return platform::pixelsToTwips(parte->mapTo(SSTab1, donde).y()) < kAltoPestanas ? 14 : 0;
        });
    };
    ayuda::Punteros(*this,
                    {
                        {this, 0},
                        {fraDatosContrato, 0},
                        {fraDatosTrabajador, 0},
                        {cmdSave, 14},
                        {cmdListado, 14},
                        {cmdCancelar, 14},
                        {cmdNuevo, 14},
                        {cmdEditar, 14},
                        {cmdGrabar, 14},
                        {cmdBorrar, 14},
                        {cmdImprimir, 14},
                        {cmdContratoManual, 14, ayuda::Cuando::AlPulsar},
                        {txtNumEmpresa, 14},
                        {txtNacionalidad, 14},
                        {txtPais, 14},
                        {txtNumeroTrabajador, 14},
                        sobrePestanas(SSTab1),
                        sobrePestanas(SSTab1->tabBar()),
                        sobrePestanas(SSTab1->widget(0)),
                        sobrePestanas(SSTab1->widget(1)),
                        sobrePestanas(SSTab1->widget(2)),
                    });
    onClick(cmdSubcontratas, [this] { cmdSubcontratas_Click(); });
    onClick(cmdCopias, [this] { cmdCopias_Click(); });
    onClick(cmdAyuda, [this] { ayuda::Activar(*this); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });

    // A double click on a row means "Editar", help mode included.
    dbgTrabajadores->DblClick = [this, tituloEditar, ayudaEditar] {
        if (frmAyuda::ModoAyuda)
            ayuda::Mostrar(*this, tituloEditar, ayudaEditar);
        else
            platform::runHandler([this] { cmdEditar_Click(); });
    };
    dbgTrabajadores->HeadClick = [this](int col) {
        platform::runHandler([&] {
            if (col == 1)
                LeerTrabajadores(QStringLiteral(R"( ORDER BY "NombreTrabajador")"));
            else if (col == 2)
                LeerTrabajadores(QStringLiteral(R"( ORDER BY "NúmeroTrabajador")"));
        });
    };

    for (int i = 0; i < 8; ++i) {
        connect(chkClausula[static_cast<std::size_t>(i)], &QCheckBox::clicked, this,
                [this, i] { platform::runHandler([&] { chkClausula_Click(i); }); });
    }
    connect(vscClausulas, &QScrollBar::valueChanged, this,
            [this] { platform::runHandler([this] { vscClausulas_Change(); }); });

    // Checks of the boxes as the focus leaves them.
    txtCp->LostFocus = [this] { txtCp_LostFocus(); };
    txtCodPostalTrabaj->Validate = [this](bool& cancel) { txtCodPostalTrabaj_Validate(cancel); };
    txtTelef->LostFocus = [this] { txtTelef_LostFocus(); };
    txtFax->LostFocus = [this] { txtFax_LostFocus(); };
    txtFechaNac->LostFocus = [this] { txtFechaNac_LostFocus(); };
    txtNumSS->LostFocus = [this] { txtNumSS_LostFocus(); };
    txtNumISS->LostFocus = [this] { txtNumISS_LostFocus(); };

    // The number boxes.
    txtNumEmpresa->KeyPress = [this](int& k) { txtNumEmpresa_KeyPress(k); };
    txtNumEmpresa->LostFocus = [this] { txtNumEmpresa_LostFocus(); };
    txtNumEmpresa->Click = [this] {
        if (frmAyuda::ModoAyuda)
            ayuda::Mostrar(*this, QStringLiteral("Número Empresa : "),
                           QStringLiteral("El número de empresa será la referencia que tendremos para enlazar con los "
                                          "datos del trabajador guardados en el servidor Unix."));
    };
    txtNumeroTrabajador->KeyPress = [this](int& k) { txtNumeroTrabajador_KeyPress(k); };
    txtNumeroTrabajador->DblClick = [this] { txtNumeroTrabajador_DblClick(); };
    txtNumeroTrabajador->Validate = [this](bool&) {
        txtNumeroTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
    };
    txtNumeroTrabajador->LostFocus = [this] { txtNumeroTrabajador_LostFocus(); };

    // F2 defaults and their hints.
    const auto porDefecto = [](TextBox* caja, QLabel* pista, const QString& valor, QWidget* siguiente) {
        caja->GotFocus = [pista] { pista->show(); };
        caja->LostFocus = [pista] { pista->hide(); };
        caja->KeyDown = [caja, valor, siguiente](int codigo, int) {
            if (codigo != kF2)
                return;
            caja->setText(valor);
            siguiente->setFocus();
        };
        pista->hide();
    };
    porDefecto(txtPaisEmpresa, lblMensa[2], QStringLiteral("España"), txtTelef);
    porDefecto(txtNacionalidad, lblMensa[0], QStringLiteral("Española"), txtMunicipio);
    porDefecto(txtPais, lblMensa[1], QStringLiteral("España"), txtObservacionesTrabajador);
    txtNacionalidad->Click = [this] { lblTrabajador_Click(5); };
    txtPais->Click = [this] { lblTrabajador_Click(6); };

    for (QLabel* label : lblNombre)
        label->installEventFilter(this);
    for (QLabel* label : lblTrabajador)
        label->installEventFilter(this);
}

bool frmEmpresa::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (std::size_t i = 0; i < lblNombre.size(); ++i) {
            if (watched == lblNombre[i])
                lblNombre_Click(static_cast<int>(i));
        }
        for (std::size_t i = 0; i < lblTrabajador.size(); ++i) {
            if (watched == lblTrabajador[i])
                lblTrabajador_Click(static_cast<int>(i));
        }
    }
    return Form::eventFilter(watched, event);
}

void frmEmpresa::Form_Load()
{
    Elastico().Init(*this);
    frmAyuda::ModoAyuda = false;
    GrabandoDesdePestana = false;
    GrabandoParaContrato = false;
    InicializarClausulas();
    BloquearNumero(txtNumEmpresa, true);
    BloquearNumero(txtNumeroTrabajador, true);
    LimpiarClausulas();
    platform::runHandler([this] { CargarClausulas(); });
}

void frmEmpresa::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmEmpresa::Form_Unload()
{
    shaContrato->hide();
    fraDatosContrato->hide();
}

// ---------------------------------------------------------------------------
// Tabs

bool frmEmpresa::TrabajadorAbierto() const
{
    return isShown(fraDatosTrabajador);
}

// Moves to a tab from code: the tab-change handler does not run.
void frmEmpresa::IrAPestana(int tab)
{
    QScopedValueRollback guarda(moviendoPestana_, true);
    SSTab1->setCurrentIndex(tab);
    pestanaAnterior_ = tab;
}

void frmEmpresa::BotonesEmpresa()
{
    for (QPushButton* b : {cmdNuevo, cmdEditar, cmdContratoManual, cmdBorrar, cmdImprimir, cmdGrabar})
        b->hide();
    cmdCancelar->show();
    cmdSave->show();
    cmdSave->setEnabled(true);
    cmdListado->setEnabled(true);
    cmdListado->show();
    txtNombreEmpresa->setFocus();
}

void frmEmpresa::SSTab1_Click(int PreviousTab)
{
    const int tab = SSTab1->currentIndex();
    if (frmAyuda::ModoAyuda) {
        if (tab == 0)
            ayuda::Mostrar(*this, QStringLiteral("Pestaña Empresa : "),
                           QStringLiteral("Visualizaremos los datos de la empresa."));
        else if (tab == 1)
            ayuda::Mostrar(*this, QStringLiteral("Pestaña Trabajadores : "),
                           QStringLiteral("Visualizaremos los datos del trabajador."));
        else {
            // The help window shows what it last held.
            setMousePointer(11);
            frmAyuda::ModoAyuda = false;
            Forms::show<frmAyuda>();
            setMousePointer(0);
        }
        return;
    }
    QScopedValueRollback guarda(GrabandoDesdePestana, true);
    // Leaving the workers tab with a worker open saves it, whatever the next tab.
    if (PreviousTab == 1 && tab != 1 && TrabajadorAbierto() && !GuardarTrabajadorAlSalir())
        return;
    if (PreviousTab == 1) {
        fraTrabajadores->show();
        fraDatosTrabajador->hide();
    }
    if (tab == 0)
        BotonesEmpresa();
    else if (tab == 1)
        EntrarEnTrabajadores();
}

// ---------------------------------------------------------------------------
// Buttons

void frmEmpresa::cmdListado_Click()
{
    platform::Hourglass reloj(*this);
    Forms::show<frmEmpresas>();
    Forms::unload(*this);
}

void frmEmpresa::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
}

void frmEmpresa::cmdCancelar_Click()
{
    switch (SSTab1->currentIndex()) {
    case 1: {
        platform::Hourglass reloj(*this);
        fraTrabajadores->show();
        fraDatosTrabajador->hide();
        cmdCancelar->setEnabled(false);
        cmdGrabar->setEnabled(false);
        cmdNuevo->setEnabled(true);
        cmdBorrar->setEnabled(true);
        cmdEditar->setEnabled(true);
        LeerTrabajadores();
        dbgTrabajadores->setFocus();
        break;
    }
    case 0:
        setMousePointer(11);
        Forms::show<frmEmpresas>();
        Forms::unload(*this);
        break;
    default:
        break;
    }
}
