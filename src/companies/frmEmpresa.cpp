#include "companies/frmEmpresa.h"

#include "app/frmMenu.h"
#include "common/ImprimirListado.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "companies/Comprobaciones.h"
#include "companies/Empresas.h"
#include "companies/frmEmpresas.h"
#include "companies/frmValidacion.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"
#include "production/frmEleccionContrato.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

using platform::Answer;
using platform::Database;
using platform::Forms;
using platform::isShown;
using platform::MaskEdBox;
using platform::MsgBox;
using platform::Row;
using platform::TextBox;

namespace {

// While the clause boxes are set by code their click handler does nothing.
// Every loader ends with the flag False, whatever it found: contract
// production leaves it True, and a tick of the user must be stored.
class CasillasPorCodigo {
public:
    CasillasPorCodigo() { CargandoClausulas = true; }
    ~CasillasPorCodigo() { CargandoClausulas = false; }
    CasillasPorCodigo(const CasillasPorCodigo&) = delete;
    CasillasPorCodigo& operator=(const CasillasPorCodigo&) = delete;
};

constexpr int kF2 = 113;
constexpr int kEnter = 13;
const QString kMascaraFecha = QStringLiteral("##/##/####");

// The text of a box of any of the kinds the window has; a masked box gives
// its whole mask.
QString textoDe(const QWidget* caja)
{
    if (const auto* mascara = qobject_cast<const MaskEdBox*>(caja))
        return mascara->Text();
    if (const auto* texto = qobject_cast<const TextBox*>(caja))
        return texto->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(caja))
        return memo->toPlainText();
    return {};
}

void ponerTexto(QWidget* caja, const QString& texto)
{
    if (auto* mascara = qobject_cast<MaskEdBox*>(caja))
        mascara->setText(texto);
    else if (auto* linea = qobject_cast<TextBox*>(caja))
        linea->setText(texto);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(caja))
        memo->setPlainText(texto);
}

bool vacia(const QWidget* caja)
{
    if (const auto* mascara = qobject_cast<const MaskEdBox*>(caja))
        return mascara->Text() == mascara->emptyText();
    return textoDe(caja).isEmpty();
}

void vaciar(QWidget* caja)
{
    if (auto* mascara = qobject_cast<MaskEdBox*>(caja))
        mascara->setText(mascara->emptyText());
    else
        ponerTexto(caja, QString());
}

// A field read into a box: dates as dd/mm/yyyy; nothing for Null or empty text.
std::optional<QString> valorDe(const Row& fila, const QString& campo, bool fecha = false)
{
    const QVariant valor = fila.value(campo);
    if (valor.isNull() || valor.toString().isEmpty())
        return std::nullopt;
    return fecha ? platform::dateText(valor) : valor.toString();
}

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
// Records

namespace {

// Company fields, in the order they are written and shown; cajasEmpresa()
// gives their boxes in the same order.
const char* const kCamposEmpresa[] = {
    "NombreEmpresa", "NúmeroEmpresa", "NIF",  "Dirección",   "Localidad", "Actividad",     "Cuenta",
    "Provincia",     "Pais",          "CódPostal", "NúmTeléfono", "NúmFax", "Observaciones", "DirCorreoElectrónico",
};

} // namespace

// The company boxes in the order of the company's fields.
static std::array<QWidget*, 14> cajasEmpresa(const frmEmpresa& f)
{
    return {f.txtNombreEmpresa, f.txtNumEmpresa, f.mskCuenta, f.txtDireccion, f.txtLocalidad,
            f.txtActividad,     f.txtNumISS,     f.txtPoblacion, f.txtPaisEmpresa, f.txtCp,
            f.txtTelef,         f.txtFax,        f.txtObservacionesEmpresa, f.txtemail};
}

void frmEmpresa::Cargar()
{
    clausulasPendientes_.clear();
    IdEmpresaAbierta = 0;
    bool existente = false;
    bool numero = false;
    const qint64 id = IdEmpresaActual.toLongLong(&numero);
    if (numero) {
        platform::runHandler([&] {
            if (const auto empresa = empresas::Leer(AbrirBaseDatos(), id)) {
                IdEmpresaAbierta = id;
                MostrarEmpresa(*empresa);
                existente = true;
            }
        });
    }
    if (existente) {
        txtNumEmpresa->setBackColor(platform::toolTipBackColor());
    } else {
        BloquearNumero(txtNumEmpresa, false);
    }
    platform::runHandler([this] { MarcarClausulasEmpresa(); });
    VolviendoAEmpresa = true;
    IrAPestana(0);
    BotonesEmpresa();
    VolviendoAEmpresa = false;
    txtNombreEmpresa->setFocus();
}

std::optional<Row> frmEmpresa::EmpresaGuardada() const
{
    if (IdEmpresaAbierta == 0)
        return std::nullopt;
    return empresas::Leer(AbrirBaseDatos(), IdEmpresaAbierta);
}

void frmEmpresa::MostrarEmpresa(const Row& empresa)
{
    const auto cajas = cajasEmpresa(*this);
    for (std::size_t i = 0; i < cajas.size(); ++i) {
        if (const auto valor = valorDe(empresa, QString::fromUtf8(kCamposEmpresa[i])))
            ponerTexto(cajas[i], *valor);
    }
    for (int i = 0; i <= 5; ++i) {
        const QVariant valor = empresa.value(QStringLiteral("Clausula%1").arg(i + 1));
        if (!valor.isNull())
            ClausulasElegidas[static_cast<std::size_t>(i)] = valor.toInt();
    }
}

void frmEmpresa::LimpiarEmpresa()
{
    for (QWidget* caja : cajasEmpresa(*this))
        vaciar(caja);
}

// The company's fields from its boxes: a box left empty leaves its field as
// stored. The default clauses go back as they were loaded.
Row frmEmpresa::GrabarEmpresa() const
{
    Row fila;
    const auto cajas = cajasEmpresa(*this);
    for (std::size_t i = 0; i < cajas.size(); ++i) {
        if (!vacia(cajas[i]))
            fila.set(QString::fromUtf8(kCamposEmpresa[i]), textoDe(cajas[i]));
    }
    for (int i = 0; i <= 5; ++i)
        fila.set(QStringLiteral("Clausula%1").arg(i + 1), ClausulasElegidas[static_cast<std::size_t>(i)]);
    return fila;
}

qint64 frmEmpresa::GuardarEmpresaEn(Database& db, std::optional<qint64> id)
{
    const Row fila = GrabarEmpresa();
    if (!id)
        return db.insert(QStringLiteral("Empresas"), fila);
    db.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), *id, fila);
    return *id;
}

bool frmEmpresa::GuardarEmpresaPorNumero()
{
    auto db = AbrirBaseDatos();
    const auto encontrada = empresas::BuscarPorNumero(db, txtNumEmpresa->text().trimmed());
    std::optional<qint64> destino;
    if (IdEmpresaAbierta != 0)
        destino = IdEmpresaAbierta;
    std::optional<qint64> liberada;
    if (encontrada) {
        const qint64 idEncontrada = encontrada->value(QStringLiteral("IdEmpresa")).toLongLong();
        const QString nombre = encontrada->text(QStringLiteral("NombreEmpresa"));
        const bool otroNombre
            = !encontrada->isNull(QStringLiteral("NombreEmpresa")) && nombre != txtNombreEmpresa->text();
        if (idEncontrada == IdEmpresaAbierta) {
            // The open company itself: saved in place.
        } else if (otroNombre) {
            const QString pregunta = QStringLiteral("El número de empresa, ") + txtNumEmpresa->text()
                + QStringLiteral(" corresponde a la empresa : ") + nombre
                + QStringLiteral(". ¿Desea eliminar dicha empresa y dar de alta una nueva empresa con estos datos?");
            if (MsgBox(pregunta, 292, QStringLiteral("Conflicto.")) != Answer::Yes)
                return false;
            liberada = idEncontrada;
        } else {
            // The same company stored under that number takes the values.
            destino = idEncontrada;
        }
    } else if (MsgBox(QStringLiteral("¿Desea guardar los datos de la empresa?"), 36, QStringLiteral("Confirmación."))
               != Answer::Yes) {
        return false;
    }
    {
        platform::Hourglass reloj(*this);
        platform::Transaction transaccion(db);
        if (liberada)
            db.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), *liberada,
                      Row{{QStringLiteral("NúmeroEmpresa"), QStringLiteral("")}});
        const qint64 id = GuardarEmpresaEn(db, destino);
        for (const qint64 clausula : std::as_const(clausulasPendientes_))
            empresas::Enlazar(db, id, clausula);
        transaccion.commit();
        IdEmpresaAbierta = id;
        clausulasPendientes_.clear();
    }
    if (!GrabandoDesdePestana)
        MostrarMensaje(QStringLiteral("Datos de la empresa grabados."));
    MarcarClausulasEmpresa();
    return true;
}

// Writes the worker's boxes into a worker of the open company (a new one
// when `id` is empty) and goes back to the list. A worker stored in the place
// of another drops that one's contract and extension.
void frmEmpresa::GrabarTrabajador(Database& db, std::optional<qint64> id, bool nuevoEnSuLugar)
{
    lblMensajeTrabajadores->hide();
    {
        platform::Hourglass reloj(*this);
        Row fila;
        fila.set(QStringLiteral("NombreTrabajador"), txtNombreTrabajador->text());
        fila.set(QStringLiteral("IdEmpresa"), QString::number(IdEmpresaAbierta));
        fila.set(QStringLiteral("Empresa"), txtNombreEmpresa->text());
        fila.set(QStringLiteral("NumEmpresa"), txtNumEmpresa->text());
        if (!txtDNI->text().isEmpty())
            fila.set(QStringLiteral("NIF14"), txtDNI->text());
        if (nuevoEnSuLugar) {
            for (const char* campo : {"FechaContrato", "TipoContrato", "Contrato", "IdContrato", "FechaVencimiento",
                                      "FechaInicioProrroga", "Duracion"})
                fila.set(QString::fromUtf8(campo), QVariant());
        }
        if (!vacia(txtFechaNac))
            fila.set(QStringLiteral("FechaNacimiento"), platform::dateValue(platform::toDate(txtFechaNac->Text())));
        if (!vacia(txtNumSS))
            fila.set(QStringLiteral("NumSS"), txtNumSS->Text());
        if (!vacia(mskVencimiento))
            fila.set(QStringLiteral("FechaVencimiento"), platform::dateValue(platform::toDate(mskVencimiento->Text())));
        fila.set(QStringLiteral("NúmeroTrabajador"), txtNumeroTrabajador->text().trimmed().toLongLong());
        fila.set(QStringLiteral("NivelFormativo"), txtNivelFormativo->text());
        fila.set(QStringLiteral("Nacionalidad"), txtNacionalidad->text());
        fila.set(QStringLiteral("Municipio"), txtMunicipio->text());
        fila.set(QStringLiteral("Pais"), txtPais->text());
        fila.set(QStringLiteral("Observaciones"), txtObservacionesTrabajador->toPlainText());
        fila.set(QStringLiteral("CódPostal"), txtCodPostalTrabaj->text());
        const auto marca = [](const QCheckBox* casilla) {
            return casilla->checkState() == Qt::Checked ? QStringLiteral("Si") : QStringLiteral("No");
        };
        fila.set(QStringLiteral("EnviadoCliente"), marca(chkEnvCliente));
        fila.set(QStringLiteral("RecibidoCliente"), marca(chkRecCliente));
        fila.set(QStringLiteral("EnviadoInem"), marca(chkEnvINEM));
        fila.set(QStringLiteral("RecogidoInem"), marca(chkRecINEM));
        fila.set(QStringLiteral("ReenviadoCliente"), marca(chkReeCliente));
        if (id)
            db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), *id, fila);
        else
            id = db.insert(QStringLiteral("Trabajadores"), fila);
        IdTrabajadorGrabado = *id;
    }
    fraTrabajadores->show();
    fraDatosTrabajador->hide();
    if (!GrabandoDesdePestana && !GrabandoParaContrato)
        MostrarMensaje(QStringLiteral("Datos del Trabajador grabados."));
    cmdGrabar->setEnabled(false);
    cmdNuevo->setEnabled(true);
    cmdCancelar->setEnabled(false);
    cmdBorrar->setEnabled(true);
    cmdContratoManual->setEnabled(true);
    cmdEditar->setEnabled(true);
    LeerTrabajadores();
    dbgTrabajadores->show();
    dbgTrabajadores->setFocus(); // not the next button, where Enter would act
}

void frmEmpresa::LimpiarTrabajador()
{
    for (TextBox* caja : {txtNombreTrabajador, txtNumeroTrabajador, txtDNI})
        caja->setText(QString());
    vaciar(txtFechaNac);
    vaciar(txtNumSS);
    for (TextBox* caja : {txtNivelFormativo, txtNacionalidad, txtMunicipio, txtPais, txtCodPostalTrabaj})
        caja->setText(QString());
    txtObservacionesTrabajador->clear();
    for (QCheckBox* casilla : {chkEnvCliente, chkRecCliente, chkEnvINEM, chkRecINEM, chkReeCliente})
        casilla->setCheckState(Qt::Unchecked);
}

// No contract or extension of a worker shown earlier stays on show, or is
// saved into another worker.
void frmEmpresa::LimpiarContrato()
{
    txtContrato->setText(QString());
    txtTipoContrato->setText(QString());
    txtMesesProrroga->setText(QString());
    for (MaskEdBox* fecha : {mskFechaContrato, mskVencimiento, mskInicioProrroga})
        vaciar(fecha);
    for (QWidget* w : std::initializer_list<QWidget*>{shaContrato, lblContrato, fraDatosContrato, fraProrroga})
        w->hide();
}

void frmEmpresa::LeerTrabajadores(const QString& orden)
{
    dbgTrabajadores->Refresh(AbrirBaseDatos(),
                             QStringLiteral(R"(SELECT * FROM "Trabajadores" WHERE "IdEmpresa" = ?)") + orden,
                             {QString::number(IdEmpresaAbierta)});
}

void frmEmpresa::RefrescarTrabajadores()
{
    LeerTrabajadores();
    const bool hay = dbgTrabajadores->RecordCount() != 0;
    cmdNuevo->setEnabled(true);
    cmdEditar->setEnabled(hay);
    cmdBorrar->setEnabled(hay);
    cmdContratoManual->setEnabled(hay);
    cmdImprimir->setEnabled(true);
    cmdCancelar->setEnabled(false);
    cmdGrabar->setEnabled(false);
    cmdSave->setEnabled(false);
    cmdListado->setEnabled(false);
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

void frmEmpresa::EntrarEnTrabajadores()
{
    const auto volver = [this](const QString& mensaje, QWidget* foco) {
        VolviendoAEmpresa = true;
        IrAPestana(0);
        VolviendoAEmpresa = false;
        BotonesEmpresa();
        if (!mensaje.isEmpty())
            MsgBox(mensaje, platform::style::Information);
        foco->setFocus();
    };
    if (txtNombreEmpresa->text().isEmpty()) {
        volver(QStringLiteral("Para poder editar o crear una ficha de trabajador es necesario elegir una empresa."),
               txtNombreEmpresa);
        return;
    }
    if (txtNumEmpresa->text().isEmpty()) {
        volver(QStringLiteral("Debe introducir el Número de empresa.!"), txtNumEmpresa);
        return;
    }
    const bool guardada = GuardarEmpresaPorNumero();
    if (IdEmpresaAbierta == 0) {
        // A new company not stored has no workers to show.
        volver(QString(), txtNombreEmpresa);
        return;
    }
    if (!guardada) {
        // Changes declined: the boxes show the company as stored.
        if (const auto empresa = EmpresaGuardada()) {
            LimpiarEmpresa();
            MostrarEmpresa(*empresa);
        }
    }
    LeerTrabajadores();
    for (QPushButton* b : {cmdNuevo, cmdEditar, cmdBorrar, cmdImprimir, cmdCancelar, cmdGrabar, cmdContratoManual})
        b->show();
    cmdSave->hide();
    cmdListado->hide();
    const bool hay = dbgTrabajadores->RecordCount() != 0;
    dbgTrabajadores->setVisible(hay);
    if (hay) {
        lblMensajeTrabajadores->hide();
    } else {
        lblMensajeTrabajadores->setText(QStringLiteral("No hay trabajadres dados de alta en esta empresa."));
        lblMensajeTrabajadores->show();
    }
    cmdNuevo->setEnabled(true);
    cmdImprimir->setEnabled(true);
    cmdEditar->setEnabled(hay);
    cmdBorrar->setEnabled(hay);
    if (!hay)
        cmdContratoManual->setEnabled(false);
    cmdCancelar->setEnabled(false);
    cmdGrabar->setEnabled(false);
    cmdSave->setEnabled(false);
    cmdListado->setEnabled(false);
}

bool frmEmpresa::GuardarTrabajadorAlSalir()
{
    const auto quedarse = [this](const std::function<void()>& aviso) {
        VolviendoATrabajadores = true;
        IrAPestana(1);
        VolviendoATrabajadores = false;
        aviso();
        return false;
    };
    const bool sinNumero = txtNumeroTrabajador->text().isEmpty();
    if (sinNumero || txtDNI->text().isEmpty()) {
        const QString texto = sinNumero
            ? QStringLiteral("Sin Número de trabajador no podemos grabar los datos trabajador")
            : QStringLiteral("Sin el NIF no podemos grabar los datos del trabajador.");
        if (MsgBox(texto, 65, QStringLiteral("Operación no valida.")) == Answer::Ok)
            return quedarse([&] { (sinNumero ? txtNumeroTrabajador : txtDNI)->setFocus(); });
        DescartarTrabajador();
        return true;
    }
    if (!TrabajadorCorrecto(false))
        return quedarse([this] { TrabajadorCorrecto(true); });

    auto db = AbrirBaseDatos();
    const auto encontrado = TrabajadorConNumero(db);
    if (!encontrado) {
        GrabarTrabajador(db, std::nullopt, false);
    } else {
        const qint64 id = encontrado->value(QStringLiteral("IdTrabajador")).toLongLong();
        if (!MismoNombre(*encontrado)) {
            if (MsgBox(PreguntaConflictoTrabajador(*encontrado), 292, QStringLiteral("Conflicto.")) == Answer::Yes)
                GrabarTrabajador(db, id, true);
        } else {
            GrabarTrabajador(db, id, false);
        }
    }
    return true;
}

void frmEmpresa::DescartarTrabajador()
{
    fraTrabajadores->show();
    fraDatosTrabajador->hide();
    cmdGrabar->setEnabled(false);
    cmdCancelar->setEnabled(false);
    for (QPushButton* b : {cmdNuevo, cmdBorrar, cmdContratoManual, cmdEditar})
        b->setEnabled(true);
    LeerTrabajadores();
}

// The worker's number is a whole number and its dates exist. With `avisar`
// a refusal is told and the focus goes to the box.
bool frmEmpresa::TrabajadorCorrecto(bool avisar)
{
    const auto rechazo = [&](const QString& texto, QWidget* caja) {
        if (avisar) {
            MsgBox(texto, platform::style::Critical, QStringLiteral("Error"));
            caja->setFocus();
        }
        return false;
    };
    if (!comprobaciones::EsEntero(txtNumeroTrabajador->text().trimmed()))
        return rechazo(QStringLiteral("El Número de trabajador debe ser un número entero."), txtNumeroTrabajador);
    if (!vacia(txtFechaNac) && !platform::toDate(txtFechaNac->Text()).isValid())
        return rechazo(QStringLiteral("El valor introducido como Fecha de Nacimiento no es correcto."), txtFechaNac);
    if (!vacia(mskVencimiento) && !platform::toDate(mskVencimiento->Text()).isValid())
        return rechazo(
            QStringLiteral("El valor introducido como Fecha de Vencimiento no es correcto."), mskVencimiento);
    return true;
}

std::optional<Row> frmEmpresa::TrabajadorConNumero(const Database& db) const
{
    return db.first(
        QStringLiteral(
            R"(SELECT * FROM "Trabajadores" WHERE "NúmeroTrabajador" = ? AND "IdEmpresa" = ? ORDER BY "IdTrabajador")"),
        {txtNumeroTrabajador->text().trimmed().toLongLong(), QString::number(IdEmpresaAbierta)});
}

// A stored worker without a name counts as the same one.
bool frmEmpresa::MismoNombre(const Row& trabajador) const
{
    return trabajador.isNull(QStringLiteral("NombreTrabajador"))
        || trabajador.text(QStringLiteral("NombreTrabajador")) == txtNombreTrabajador->text();
}

QString frmEmpresa::PreguntaConflictoTrabajador(const Row& encontrado) const
{
    return QStringLiteral("El número de trabajador, ") + txtNumeroTrabajador->text()
        + QStringLiteral(" corresponde al Trabajador : ") + encontrado.text(QStringLiteral("NombreTrabajador"))
        + QStringLiteral(". ¿Desea eliminar dicho trabajador y dar de alta un nuevo trabajador con estos datos?");
}

// ---------------------------------------------------------------------------
// Buttons

void frmEmpresa::cmdSave_Click()
{
    if (txtNumEmpresa->text().isEmpty()) {
        MsgBox(QStringLiteral("No podemos grabar los datos sin número de empresa."), platform::style::Information);
        txtNumEmpresa->setFocus();
        return;
    }
    GrabandoDesdePestana = false;
    GuardarEmpresaPorNumero();
    auto& lista = Forms::show<frmEmpresas>();
    lista.VerEmpresas();
    lista.cmdEditar->setEnabled(true);
    Forms::unload(*this);
}

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

void frmEmpresa::cmdNuevo_Click()
{
    int ultimo = 0;
    {
        platform::Hourglass reloj(*this);
        fraDatosTrabajador->show();
        fraTrabajadores->hide();
        cmdNuevo->setEnabled(false);
        cmdBorrar->setEnabled(false);
        cmdEditar->setEnabled(false);
        cmdCancelar->setEnabled(true);
        cmdGrabar->setEnabled(true);
        LimpiarTrabajador();
        LimpiarContrato();
        BloquearNumero(txtNumeroTrabajador, true);
        const auto fila = AbrirBaseDatos().first(
            QStringLiteral(R"(SELECT MAX("NúmeroTrabajador") AS "Ultimo" FROM "Trabajadores" WHERE "IdEmpresa" = ?)"),
            {QString::number(IdEmpresaAbierta)});
        if (fila)
            ultimo = fila->value(QStringLiteral("Ultimo")).toInt();
    }
    const QString pregunta = ultimo > 0
        ? QStringLiteral("El ultimo número de trabajador de la empresa es el : %1 . ¿Desea que el número : %2 sea el "
                         "del nuevo trabajador?")
              .arg(ultimo)
              .arg(ultimo + 1)
        : QStringLiteral("No hay dado de alta ningún trabajador en la empresa. ¿Desea que el número 1 corresponda al "
                         "nuevo trabajador?");
    if (MsgBox(pregunta, platform::style::YesNo, QStringLiteral("Número Trabajador")) == Answer::Yes)
        txtNumeroTrabajador->setText(comprobaciones::ConCeros(QString::number(ultimo + 1)));
    else
        BloquearNumero(txtNumeroTrabajador, false);
    txtNombreTrabajador->setFocus();
}

void frmEmpresa::cmdEditar_Click()
{
    platform::Hourglass reloj(*this);
    LimpiarTrabajador();
    LimpiarContrato();
    fraDatosTrabajador->show();
    fraTrabajadores->hide();
    const QString id = dbgTrabajadores->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ningún trabajador a editar."), platform::style::Information);
        return;
    }
    const auto trabajador = empresas::LeerTrabajador(AbrirBaseDatos(), id.toLongLong());
    if (!trabajador)
        return;
    const auto poner = [&](const char* campo, QWidget* caja, bool fecha = false) {
        if (const auto valor = valorDe(*trabajador, QString::fromUtf8(campo), fecha))
            ponerTexto(caja, *valor);
    };
    poner("NombreTrabajador", txtNombreTrabajador);
    poner("NIF14", txtDNI);
    poner("FechaNacimiento", txtFechaNac, true);
    poner("NumSS", txtNumSS);
    poner("NivelFormativo", txtNivelFormativo);
    poner("Nacionalidad", txtNacionalidad);
    poner("Municipio", txtMunicipio);
    poner("Pais", txtPais);
    poner("Observaciones", txtObservacionesTrabajador);
    poner("CódPostal", txtCodPostalTrabaj);
    poner("NúmeroTrabajador", txtNumeroTrabajador);
    txtNumeroTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
    if (const auto contrato = valorDe(*trabajador, QStringLiteral("Contrato"))) {
        for (QWidget* w : std::initializer_list<QWidget*>{shaContrato, lblContrato, fraDatosContrato})
            w->show();
        txtContrato->setText(*contrato);
    }
    if (const auto inicio = valorDe(*trabajador, QStringLiteral("FechaInicioProrroga"), true)) {
        fraProrroga->show();
        mskInicioProrroga->setText(*inicio);
        txtMesesProrroga->setText(valorDe(*trabajador, QStringLiteral("Duracion")).value_or(QString()));
    }
    poner("TipoContrato", txtTipoContrato);
    poner("FechaContrato", mskFechaContrato, true);
    poner("FechaVencimiento", mskVencimiento, true);
    const std::pair<const char*, QCheckBox*> marcas[] = {
        {"EnviadoCliente", chkEnvCliente}, {"RecibidoCliente", chkRecCliente}, {"EnviadoInem", chkEnvINEM},
        {"RecogidoInem", chkRecINEM},      {"ReenviadoCliente", chkReeCliente},
    };
    for (const auto& [campo, casilla] : marcas)
        casilla->setChecked(trabajador->text(QString::fromUtf8(campo)) == QLatin1String("Si"));
    cmdNuevo->setEnabled(false);
    cmdEditar->setEnabled(false);
    cmdBorrar->setEnabled(false);
    cmdCancelar->setEnabled(true);
    cmdGrabar->setEnabled(true);
    txtNombreTrabajador->setFocus();
}

void frmEmpresa::cmdGrabar_Click()
{
    GuardarTrabajador();
}

bool frmEmpresa::GuardarTrabajador()
{
    if (txtNumeroTrabajador->text().isEmpty()) {
        MsgBox(
            QStringLiteral("Sin Número de trabajador no podemos grabar el trabajador"), platform::style::Information);
        txtNumeroTrabajador->setFocus();
        return false;
    }
    if (txtDNI->text().isEmpty()) {
        MsgBox(
            QStringLiteral("Sin el NIF del trabajador no podemos grabar el trabajador"), platform::style::Information);
        txtDNI->setFocus();
        return false;
    }
    if (!TrabajadorCorrecto(true))
        return false;
    auto db = AbrirBaseDatos();
    const auto encontrado = TrabajadorConNumero(db);
    std::optional<qint64> id;
    bool enSuLugar = false;
    if (!encontrado) {
        if (MsgBox(QStringLiteral("¿Desea guardar los datos del trabajador?"), 36, QStringLiteral("Confirmación."))
            != Answer::Yes)
            return false;
    } else {
        id = encontrado->value(QStringLiteral("IdTrabajador")).toLongLong();
        if (!MismoNombre(*encontrado)) {
            if (MsgBox(PreguntaConflictoTrabajador(*encontrado), 292, QStringLiteral("Conflicto.")) != Answer::Yes)
                return false;
            enSuLugar = true;
        }
    }
    GrabandoDesdePestana = false;
    GrabarTrabajador(db, id, enSuLugar);
    return true;
}

void frmEmpresa::cmdBorrar_Click()
{
    const QString id = dbgTrabajadores->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ningún trabajador a borrar."), platform::style::Information);
    } else {
        auto db = AbrirBaseDatos();
        if (empresas::LeerTrabajador(db, id.toLongLong())
            && MsgBox(QStringLiteral("Desea eliminar el Trabajador."), 292, QStringLiteral("Confirmación."))
                == Answer::Yes) {
            platform::Hourglass reloj(*this);
            db.remove(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), id.toLongLong());
            MostrarMensaje(QStringLiteral("Trabajador Eliminado."));
            RefrescarTrabajadores();
        }
    }
    LeerTrabajadores();
    cmdCancelar->setEnabled(false);
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

// The contract of the worker held in the detail boxes: the worker is saved
// first, with the questions of "Grabar.", then the contract window takes the
// company and the worker and this window closes. A save refused or declined
// leaves this window open and the contract window unloaded.
void frmEmpresa::cmdContratoManual_Click()
{
    if (txtNumeroTrabajador->text().isEmpty()) {
        MsgBox(QStringLiteral("Es necesario introducir el Número de trabajador."), platform::style::Information);
        return;
    }
    if (txtDNI->text().isEmpty()) {
        MsgBox(QStringLiteral("Es necesario introducir el NIF del trabajador."), platform::style::Information);
        return;
    }
    const QString nif = txtDNI->text();
    bool entregado = false;
    platform::runHandler([&] {
        const auto empresa = EmpresaGuardada();
        const auto guardado = [&](const char* campo) {
            return empresa ? empresa->text(QString::fromUtf8(campo)) : QString();
        };
        // Touching its boxes loads the contract window while this one still shows the company.
        auto& contrato = Forms::get<frmEleccionContrato>();
        if (!guardado("NúmeroEmpresa").isEmpty())
            contrato.txtNumEmpresa->setText(guardado("NúmeroEmpresa"));
        if (!txtNumeroTrabajador->text().isEmpty())
            contrato.txtNumTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
        if (!txtNombreTrabajador->text().isEmpty())
            contrato.txtNombreTrabajador->setText(txtNombreTrabajador->text());
        if (!guardado("NombreEmpresa").isEmpty())
            contrato.txtNombreEmpresa->setText(guardado("NombreEmpresa"));

        bool grabado = false;
        {
            QScopedValueRollback paraContrato(GrabandoParaContrato, true);
            grabado = GuardarTrabajador();
        }
        if (!grabado)
            return;
        TrabajadorGrabadoParaContrato = true;
        const auto trabajador = AbrirBaseDatos().first(
            QStringLiteral(R"(SELECT "IdTrabajador", "NúmeroTrabajador" FROM "Trabajadores" )"
                           R"(WHERE "NIF14" = ? AND "NúmeroTrabajador" = ? AND "IdEmpresa" = ? ORDER BY "IdTrabajador")"),
            {nif, txtNumeroTrabajador->text().trimmed().toLongLong(), QString::number(IdEmpresaAbierta)});
        if (!trabajador)
            return;
        IdTrabajadorContrato = trabajador->value(QStringLiteral("IdTrabajador"));
        contrato.txtNumEmpresa->setText(guardado("NúmeroEmpresa"));
        contrato.txtNumTrabajador->setText(
            comprobaciones::ConCeros(trabajador->text(QStringLiteral("NúmeroTrabajador"))));
        contrato.DatosEmpresaTrabajador();
        Forms::show(contrato);
        contrato.OrigenDatos = 1;
        entregado = true;
    });
    if (!entregado) {
        Forms::unload<frmEleccionContrato>();
        return;
    }
    Forms::unload(*this);
}
// Prints what the window shows: the company's sheet, the open worker's
// sheet or the list of the company's workers. The clauses tab prints no
// more than the opening lines.
void frmEmpresa::cmdImprimir_Click()
{
    using namespace listado;
    const int pestana = SSTab1->currentIndex();
    Imprimir(
        *this,
        [&](platform::PrintJob& job) {
            Apertura(job);
            if (pestana == 0) {
                Titulo(job, QStringLiteral("DATOS DE LA EMPRESA:"));
                Ficha(job, kColumnaValorEmpresa,
                      {{QStringLiteral("Nombre de la empresa :"), txtNombreEmpresa->text()},
                       {QStringLiteral("Número de la empresa :"), txtNumEmpresa->text()},
                       {QStringLiteral("N.I.F. :"), mskCuenta->text()},
                       {QStringLiteral("Actividad. :"), txtActividad->text()},
                       {QStringLiteral("Cuenta. :"), txtNumISS->Text()},
                       {QStringLiteral("Dirección :"), txtDireccion->text()},
                       {QStringLiteral("Localidad :"), txtLocalidad->text()},
                       {QStringLiteral("Código Postal :"), txtCp->text()},
                       {QStringLiteral("Provincia :"), txtPoblacion->text()},
                       {QStringLiteral("Teléfono :"), txtTelef->text()},
                       {QStringLiteral("Fax :"), txtFax->text()},
                       {QStringLiteral("Correo Electrónico :"), txtemail->text()},
                       {QStringLiteral("Observaciones :"), txtObservacionesEmpresa->toPlainText()}});
            } else if (pestana == 1 && TrabajadorAbierto()) {
                Titulo(job, QStringLiteral("DATOS DEL TRABAJADOR :"));
                Ficha(job, kColumnaValorTrabajador,
                      {{QStringLiteral("Nombre del trabajador :"), txtNombreTrabajador->text()},
                       {QStringLiteral("Número del trabajador :"), txtNumeroTrabajador->text()},
                       {QStringLiteral("N.I.F. :"), txtDNI->text()},
                       {QStringLiteral("Nº Afiliación a la S.S. :"), txtNumSS->Text()},
                       {QStringLiteral("Fecha de Nacimiento :"), txtFechaNac->Text()},
                       {QStringLiteral("Municipio :"), txtMunicipio->text()},
                       {QStringLiteral("Nacionalidad :"), txtNacionalidad->text()},
                       {QStringLiteral("Pais :"), txtPais->text()},
                       {QStringLiteral("Nivel Formativo :"), txtNivelFormativo->text()},
                       {QStringLiteral("Observaciones :"), txtObservacionesTrabajador->toPlainText()}});
            } else if (pestana == 1) {
                Titulo(job, QStringLiteral("LISTADO DE TRABAJADORES:"));
                Lista(job, {{kColumnaNombre, QStringLiteral("Nombre del trabajador.")}},
                      Filas(dbgTrabajadores->records(), {{kColumnaNombre, QStringLiteral("NombreTrabajador")}}));
            }
        },
        2);
}

// ---------------------------------------------------------------------------
// Clauses

void frmEmpresa::LimpiarClausulas()
{
    const CasillasPorCodigo porCodigo;
    for (QCheckBox* casilla : chkClausula) {
        casilla->setText(QString());
        casilla->setToolTip(QString());
        casilla->setProperty("IdClausula", QVariant());
        casilla->hide();
        casilla->setChecked(false);
    }
}

void frmEmpresa::CargarClausulas()
{
    MostrarPaginaClausulas(0);
}

// Shows eight clauses of the catalogue from the one at `primera`, ticked
// when the open company has them.
void frmEmpresa::MostrarPaginaClausulas(int primera)
{
    const CasillasPorCodigo porCodigo;
    const auto clausulas = AbrirBaseDatos().select(
        QStringLiteral(R"(SELECT "IdClausula", "Clausula" FROM "Clausulas" ORDER BY "IdClausula")"));
    NumClausulas = static_cast<int>(clausulas.size());
    const int ultima = std::max(0, NumClausulas - 8);
    primera = std::clamp(primera, 0, ultima);
    {
        const QSignalBlocker quieto(vscClausulas);
        vscClausulas->setMaximum(ultima);
        vscClausulas->setValue(primera);
    }
    vscClausulas->setVisible(NumClausulas > 8);
    LimpiarClausulas();
    for (int i = 0; i < 8 && primera + i < NumClausulas; ++i) {
        const Row& clausula = clausulas[static_cast<std::size_t>(primera + i)];
        QCheckBox* casilla = chkClausula[static_cast<std::size_t>(i)];
        const QString texto = clausula.text(QStringLiteral("Clausula"));
        casilla->setToolTip(texto);
        platform::setCaption(casilla, texto);
        casilla->setProperty("IdClausula", clausula.value(QStringLiteral("IdClausula")));
        casilla->show();
    }
    MarcarClausulasEmpresa();
}

void frmEmpresa::MarcarClausulasEmpresa()
{
    const CasillasPorCodigo porCodigo;
    const QSet<qint64> enlazadas =
        IdEmpresaAbierta != 0 ? empresas::ClausulasEnlazadas(AbrirBaseDatos(), IdEmpresaAbierta) : clausulasPendientes_;
    for (QCheckBox* casilla : chkClausula) {
        const QVariant id = casilla->property("IdClausula");
        casilla->setChecked(id.isValid() && enlazadas.contains(id.toLongLong()));
    }
}

void frmEmpresa::vscClausulas_Change()
{
    MostrarPaginaClausulas(vscClausulas->value());
}

// A tick links the clause to the open company at once, an untick removes
// the link; on a new company the ticks wait until it is stored.
void frmEmpresa::chkClausula_Click(int Index)
{
    if (CargandoClausulas)
        return;
    QCheckBox* casilla = chkClausula[static_cast<std::size_t>(Index)];
    const QVariant id = casilla->property("IdClausula");
    if (!id.isValid())
        return;
    const qint64 clausula = id.toLongLong();
    const bool marcada = casilla->isChecked();
    if (IdEmpresaAbierta == 0) {
        if (marcada)
            clausulasPendientes_.insert(clausula);
        else
            clausulasPendientes_.remove(clausula);
        return;
    }
    auto db = AbrirBaseDatos();
    if (marcada)
        empresas::Enlazar(db, IdEmpresaAbierta, clausula);
    else
        empresas::Desenlazar(db, IdEmpresaAbierta, clausula);
}

// ---------------------------------------------------------------------------
// Field checks

// A refused value: the message, an empty box and the focus back in it; the
// click that moved the focus does not act.
void frmEmpresa::Rechazar(TextBox* caja, const QString& texto, const QString& titulo)
{
    MsgBox(texto, platform::style::Critical, titulo);
    caja->setText(QString());
    caja->setFocus();
    caja->holdClick();
}

void frmEmpresa::txtCp_LostFocus()
{
    if (const auto rechazo = comprobaciones::CodigoPostal(txtCp->text()))
        Rechazar(txtCp, rechazo->texto, rechazo->titulo);
    else if (!txtCp->text().isEmpty())
        PonerProvincia();
}

void frmEmpresa::PonerProvincia()
{
    const QString provincia = comprobaciones::Provincia(txtCp->text());
    if (!provincia.isEmpty())
        txtPoblacion->setText(provincia);
}

void frmEmpresa::txtCodPostalTrabaj_Validate(bool& Cancel)
{
    if (const auto rechazo = comprobaciones::CodigoPostal(txtCodPostalTrabaj->text())) {
        MsgBox(rechazo->texto, platform::style::Critical, rechazo->titulo);
        txtCodPostalTrabaj->setText(QString());
        Cancel = true;
    }
}

void frmEmpresa::txtTelef_LostFocus()
{
    if (const auto rechazo = comprobaciones::Telefono(txtTelef->text(), false))
        Rechazar(txtTelef, rechazo->texto, rechazo->titulo);
}

void frmEmpresa::txtFax_LostFocus()
{
    if (const auto rechazo = comprobaciones::Telefono(txtFax->text(), true))
        Rechazar(txtFax, rechazo->texto, rechazo->titulo);
}

void frmEmpresa::txtFechaNac_LostFocus()
{
    if (const auto rechazo = comprobaciones::FechaNacimiento(txtFechaNac->Text(), platform::clock().today())) {
        MsgBox(rechazo->texto, platform::style::Critical, rechazo->titulo);
        vaciar(txtFechaNac);
        txtFechaNac->setFocus();
        txtFechaNac->holdClick();
    }
}

void frmEmpresa::txtNumSS_LostFocus()
{
    ComprobarNumeroSS<frmValidacionSS>(txtNumSS, 8, NumSSCorrecto);
}

void frmEmpresa::txtNumISS_LostFocus()
{
    ComprobarNumeroSS<frmValidacionISSE>(txtNumISS, 7, NumISSCorrecto);
}

// Control digits of a Social Security number. A number that does not carry
// the right ones opens the dialog that offers them, once the focus has
// moved; the click that moved it does not act.
template <class Dialogo>
void frmEmpresa::ComprobarNumeroSS(MaskEdBox* caja, int cifrasCuerpo, QString& correcto)
{
    if (vacia(caja))
        return;
    const auto numero = comprobaciones::ControlSS(caja->Text(), cifrasCuerpo);
    if (!numero) {
        MsgBox(QStringLiteral("Introduzca todas las cifras del campo"), platform::style::Critical);
        vaciar(caja);
        caja->setFocus();
        caja->holdClick();
        return;
    }
    correcto = numero->correcto;
    if (caja->Text() == correcto)
        return;
    caja->holdClick();
    QTimer::singleShot(0, this, [this, control = numero->control] {
        if (Forms::isLoaded(*this))
            AbrirValidacion(Forms::get<Dialogo>(), control);
    });
}

// ---------------------------------------------------------------------------
// Number boxes and help on labels

void frmEmpresa::BloquearNumero(TextBox* caja, bool bloqueado)
{
    caja->setLocked(bloqueado);
    caja->setBackColor(bloqueado ? platform::toolTipBackColor() : platform::windowBackColor());
}

void frmEmpresa::txtNumEmpresa_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kEnter)
        BloquearNumero(txtNumEmpresa, false);
}

void frmEmpresa::txtNumEmpresa_LostFocus()
{
    txtNumEmpresa->setText(comprobaciones::ConCeros(txtNumEmpresa->text()));
    BloquearNumero(txtNumEmpresa, true);
}

void frmEmpresa::txtNumeroTrabajador_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kEnter)
        BloquearNumero(txtNumeroTrabajador, false);
}

void frmEmpresa::txtNumeroTrabajador_DblClick()
{
    if (frmAyuda::ModoAyuda)
        lblTrabajador_Click(8);
    else
        BloquearNumero(txtNumeroTrabajador, false);
}

void frmEmpresa::txtNumeroTrabajador_LostFocus()
{
    txtNumeroTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
    BloquearNumero(txtNumeroTrabajador, true);
}

void frmEmpresa::lblNombre_Click(int Index)
{
    if (!frmAyuda::ModoAyuda)
        return;
    if (Index == 1) {
        ayuda::Mostrar(*this, QStringLiteral("Número de Empresa : "),
            QStringLiteral("El número de Empresa será la referencia que tendremos para enlazar con los datos "
                           "del trabajador guardados en el servidor Unix."));
        return;
    }
    setMousePointer(11);
    frmAyuda::ModoAyuda = false;
    setMousePointer(0);
}

void frmEmpresa::lblTrabajador_Click(int Index)
{
    if (!frmAyuda::ModoAyuda)
        return;
    switch (Index) {
    case 5:
        ayuda::Mostrar(*this, QStringLiteral("Nacionalidad : "),
                       QStringLiteral("Para facilitar la entrada de datos se ha habilitado la tecla de función 'F2' "
                                      "para introducir el valor por defecto de nacionalidad 'Española'."));
        break;
    case 6:
        ayuda::Mostrar(*this, QStringLiteral("País : "),
                       QStringLiteral("Para facilitar la entrada de datos se ha habilitado la tecla de función 'F2' "
                                      "para introducir el valor por defecto de país 'España'."));
        break;
    case 8:
        ayuda::Mostrar(*this, QStringLiteral("Número Trabajador : "),
                       QStringLiteral("El número de trabajador será la referencia que tendremos para enlazar con los "
                                      "datos del trabajador guardados en el servidor Unix."));
        break;
    default:
        setMousePointer(11);
        frmAyuda::ModoAyuda = false;
        setMousePointer(0);
        break;
    }
}
