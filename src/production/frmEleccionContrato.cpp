#include "production/frmEleccionContrato.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "companies/Empresas.h"
#include "companies/frmEmpresa.h"
#include "data/Configuracion.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <utility>

using platform::Forms;
using platform::MsgBox;
using platform::OptionButton;

namespace {

constexpr int kPorPagina = 8;
constexpr auto kProrroga = "PRORROGA";

QLabel* etiqueta(const QString& texto)
{
    auto* label = new QLabel(texto);
    label->setWordWrap(true);
    return label;
}

QScrollBar* barraVertical()
{
    auto* barra = new QScrollBar(Qt::Vertical);
    barra->setRange(0, 0);
    barra->setPageStep(kPorPagina);
    return barra;
}

} // namespace

void frmEleccionContrato::FijarRango(QScrollBar* barra, int maximo)
{
    const QSignalBlocker sinAvisos(barra);
    barra->setRange(0, std::max(0, maximo));
}

void frmEleccionContrato::FijarValor(QScrollBar* barra, int valor)
{
    const QSignalBlocker sinAvisos(barra);
    barra->setValue(valor);
}

frmEleccionContrato::frmEleccionContrato() : Form(QStringLiteral("frmEleccionContrato"))
{
    setWindowTitle(QStringLiteral("Elección de contrato."));
    designSize(12000, 9000);

    // Header.
    const auto cabecera = [this](const char* nombre, const char* texto, int left, int top, int anchoEtiqueta,
                                 int anchoCaja) {
        place(etiqueta(QString::fromUtf8(texto)), (std::string("lbl") + (nombre + 3)).c_str(), left, top + 30,
              anchoEtiqueta, 300);
        return place(new QLineEdit, nombre, left + anchoEtiqueta, top, anchoCaja, 330);
    };
    txtNumEmpresa = cabecera("txtNumEmpresa", "Núm. Empresa : ", 120, 120, 1680, 1080);
    txtNombreEmpresa = cabecera("txtNombreEmpresa", "Nombre Empresa : ", 3120, 120, 1920, 6720);
    txtNumTrabajador = cabecera("txtNumTrabajador", "Núm. Trabajador : ", 120, 540, 1680, 1080);
    txtNombreTrabajador = cabecera("txtNombreTrabajador", "Nombre Trabajador : ", 3120, 540, 1920, 6720);
    txtTipoContrato = cabecera("txtTipoContrato", "Tipo contrato : ", 120, 960, 1680, 2880);
    txtContrato = cabecera("txtContrato", "Contrato : ", 4920, 960, 1200, 5640);
    txtTipoContrato->setReadOnly(true);
    txtContrato->setReadOnly(true);

    // Choice of the contract.
    constexpr int kLeft = 120, kTop = 1440, kWidth = 11760, kHeight = 6120;
    fraEleccion = place(new QGroupBox(QStringLiteral("Elección del contrato : ")), "fraEleccion", kLeft, kTop, kWidth,
                        kHeight);
    const auto lista = [this](QGroupBox* marco, const char* nombre, std::array<OptionButton*, 8>& opciones,
                              const char* barra) {
        for (int i = 0; i < kPorPagina; ++i) {
            opciones[i] = place(new OptionButton(QString()), (std::string(nombre) + std::to_string(i)).c_str(), 240,
                                360 + i * 450, 5040, 390, marco);
            opciones[i]->hide();
        }
        auto* vsc = place(barraVertical(), barra, 5400, 360, 255, 3540, marco);
        vsc->hide();
        return vsc;
    };
    fraTipoContrato = place(new QGroupBox(QStringLiteral("TIPOLOGÍA DE CONTRATOS: ")), "fraTipoContrato", 120, 300,
                            5760, 4080, fraEleccion);
    vscTipoContrato = lista(fraTipoContrato, "optTipoContrato", optTipoContrato, "vscTipoContrato");
    fraContratos =
        place(new QGroupBox(QStringLiteral("CONTRATOS: ")), "fraContratos", 5880, 300, 5760, 4080, fraEleccion);
    vscContrato = lista(fraContratos, "optContrato", optContrato, "vscContrato");
    fraIdioma = place(new QGroupBox(QStringLiteral("Seleccione el idioma en que desea realizar el contrato : ")),
                      "fraIdioma", 120, 4560, 5760, 1320, fraEleccion);
    optCastellano = place(new OptionButton(QStringLiteral("Castellano.")), "optCastellano", 480, 600, 2160, 390, fraIdioma);
    optCatalan = place(new OptionButton(QStringLiteral("Catalán.")), "optCatalan", 3000, 600, 2160, 390, fraIdioma);
    fraPie = place(new QGroupBox(QStringLiteral("Desea firmas en la primera página :")), "fraPie", 5880, 4560, 5760,
                   1320, fraEleccion);
    optSi = place(new OptionButton(QStringLiteral("Si")), "optSi", 480, 600, 2160, 390, fraPie);
    optNo = place(new OptionButton(QStringLiteral("No")), "optNo", 3000, 600, 2160, 390, fraPie);

    // The tabs, in the same place.
    SSTab1 = place(new QTabWidget, "SSTab1", kLeft, kTop, kWidth, kHeight);
    auto* marcas = new QWidget;
    auto* clausulas = new QWidget;
    auto* datos = new QWidget;
    SSTab1->addTab(marcas, QStringLiteral("MARCAS"));
    SSTab1->addTab(clausulas, QStringLiteral("CLÁUSULAS"));
    SSTab1->addTab(datos, QStringLiteral("DATOS"));

    fraMarcas = place(new QGroupBox(QStringLiteral("Marcas : ")), "fraMarcas", 120, 60, 11400, 5520, marcas);
    mshMarcas = place(new platform::FlexGrid, "mshMarcas", 120, 300, 11160, 5100, fraMarcas);
    mshMarcas->setFixedRows(1);
    mshMarcas->setFixedCols(0);
    fraDuracionProrroga = place(new QGroupBox(QStringLiteral("ENTRADA DE DATOS : ")), "fraDuracionProrroga", 6360, 2880,
                                4800, 2280, marcas);
    place(etiqueta(QStringLiteral("Introduzca la duración del contrato : ")), "lblDuracion", 240, 360, 4320, 300,
          fraDuracionProrroga);
    place(etiqueta(QStringLiteral("Meses : ")), "lblMesesProrroga", 240, 870, 900, 300, fraDuracionProrroga);
    txtMesesProrroga = place(new QLineEdit, "txtMesesProrroga", 1140, 840, 960, 330, fraDuracionProrroga);
    place(etiqueta(QStringLiteral("Días : ")), "lblDiasProrroga", 2400, 870, 900, 300, fraDuracionProrroga);
    txtDiasProrroga = place(new QLineEdit, "txtDiasProrroga", 3300, 840, 960, 330, fraDuracionProrroga);
    cmdAceptarDuracion = place(new QPushButton(QStringLiteral("Aceptar.")), "cmdAceptarDuracion", 960, 1560, 1320, 420,
                               fraDuracionProrroga);
    cmdCancelarProrroga = place(new QPushButton(QStringLiteral("Cancelar.")), "cmdCancelarProrroga", 2520, 1560, 1320,
                                420, fraDuracionProrroga);
    fraDuracionProrroga->hide();
    fraAyuda = place(new QGroupBox(QStringLiteral("Ayuda : ")), "fraAyuda", 2400, 4440, 6960, 900, marcas);
    lblAyuda1 = place(etiqueta(QString()), "lblAyuda1", 240, 330, 6480, 480, fraAyuda);
    fraAyuda->hide();

    fraClausulas = place(new QGroupBox(QStringLiteral("Cláusulas : ")), "fraClausulas", 120, 60, 11400, 5520, clausulas);
    lblTituloClausulas = place(new QLabel(QStringLiteral("CLÁUSULAS ADICIONALES : ")), "lblTituloClausulas", 240, 300,
                               6000, 300, fraClausulas);
    lblTituloClausulas->setStyleSheet(QStringLiteral("font-weight: bold;"));
    for (int k = 0; k < kPorPagina; ++k) {
        chkClausula[k] = place(new platform::CheckBox, ("chkClausula" + std::to_string(k)).c_str(), 240, 660 + k * 600,
                               10560, 570, fraClausulas);
        chkClausula[k]->hide();
    }
    vscClausulas = place(barraVertical(), "vscClausulas", 10920, 660, 255, 4770, fraClausulas);
    vscClausulas->hide();

    place(etiqueta(QStringLiteral("Lugar donde se efectua el contrato : ")), "lblLugar", 360, 630, 3600, 300, datos);
    txtLugar = place(new QLineEdit, "txtLugar", 4080, 600, 4800, 330, datos);
    place(etiqueta(QStringLiteral("Fecha en que se efectua el contrato : ")), "lblFechaContrato", 360, 1230, 3600, 300,
          datos);
    mskFechaContrato = place(new platform::MaskEdBox, "mskFechaContrato", 4080, 1200, 1440, 330, datos);
    mskFechaContrato->setMask(QStringLiteral("##/##/####"));
    fraFormatoMes = place(new QGroupBox(QStringLiteral("Formato del mes en el pie de contrato : ")), "fraFormatoMes",
                          360, 1920, 5400, 1080, datos);
    optNumero = place(new OptionButton(QStringLiteral("Numeros.")), "optNumero", 360, 480, 2160, 390, fraFormatoMes);
    optLetras = place(new OptionButton(QStringLiteral("Letras.")), "optLetras", 2880, 480, 2160, 390, fraFormatoMes);
    optNumero->setValue(true);

    // Buttons.
    cmdEleccion = place(new QPushButton(QStringLiteral("Elegir Contrato.")), "cmdEleccion", 120, 7800, 1800, 480);
    cmdEleccion->setToolTip(QStringLiteral("Selección del contrato."));
    cmdEleccion->hide();
    cmdRealizarContrato =
        place(new QPushButton(QStringLiteral("Realizar Contrato")), "cmdRealizarContrato", 120, 7800, 2280, 480);
    cmdRealizarContrato->setToolTip(QStringLiteral("Generar el contrato a partir de los datos introducidos."));
    cmdImportar = place(new QPushButton(QStringLiteral("Importar.")), "cmdImportar", 2520, 7800, 1560, 480);
    cmdImportar->setToolTip(QStringLiteral("Importar datos desde Unix."));
    cmdAyuda = place(new QPushButton(QStringLiteral("Ayuda.")), "cmdAyuda", 8040, 7800, 1560, 480);
    cmdAyuda->setToolTip(QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."));
    cmdSalir = place(new QPushButton(QStringLiteral("Menu Principal.")), "cmdSalir", 9840, 7800, 2040, 480);
    cmdSalir->setToolTip(QStringLiteral("Volver al Menú Principal."));

    // Progress, over the middle of the window.
    shaProgreso = place(new platform::Shape, "shaProgreso", 3360, 3720, 5280, 1560);
    shaProgreso->setFillColor(QColor(0xE0, 0xE8, 0xF0));
    fraProgreso = place(new QGroupBox(QStringLiteral("Generando Contrato ")), "fraProgreso", 3480, 3840, 5040, 1320);
    ProgressBar1 = place(new QProgressBar, "ProgressBar1", 240, 540, 4560, 390, fraProgreso);
    ProgressBar1->setRange(0, 700);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    shaProgreso->hide();
    fraProgreso->hide();

    // Copies prompt, on a backing that sets it off from the marks grid.
    auto* shaDatosImprimir = place(new platform::Shape, "shaDatosImprimir", 3360, 3240, 5280, 2040);
    shaDatosImprimir->setFillColor(QColor(0xE0, 0xE8, 0xF0));
    fraDatosImprimir =
        place(new QGroupBox(QStringLiteral("IMPRESIÓN : ")), "fraDatosImprimir", 3480, 3360, 5040, 1800);
    place(etiqueta(QStringLiteral("Introduzca el número de copias : ")), "lblNumeroCopias", 240, 450, 3120, 300,
          fraDatosImprimir);
    txtNumeroCopias = place(new QLineEdit, "txtNumeroCopias", 3480, 420, 1080, 330, fraDatosImprimir);
    cmdCopias = place(new QPushButton(QStringLiteral("Aceptar")), "cmdCopias", 1860, 1080, 1320, 420, fraDatosImprimir);
    fraDatosImprimir->hide();
    shaDatosImprimir->follow(fraDatosImprimir);

    // The frames that come up over others hide what lies behind them.
    for (QGroupBox* encima : {fraDuracionProrroga, fraAyuda, fraProgreso})
        encima->setAutoFillBackground(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    for (int i = 0; i < kPorPagina; ++i) {
        onClick(optTipoContrato[i], [this, i] { optTipoContrato_Click(i); });
        onClick(optContrato[i], [this, i] { optContrato_Click(i); });
        connect(chkClausula[i], &QCheckBox::toggled, this, [this, i] { chkClausula_Click(i); });
    }
    connect(vscTipoContrato, &QScrollBar::valueChanged, this, [this] { vscTipoContrato_Change(); });
    connect(vscContrato, &QScrollBar::valueChanged, this, [this] { vscContrato_Change(); });
    connect(vscClausulas, &QScrollBar::valueChanged, this, [this] { vscClausulas_Change(); });
    fraIdioma->installEventFilter(this);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this, anterior = 0](int actual) mutable {
        SSTab1_Click(std::exchange(anterior, actual));
    });

    onClick(cmdEleccion, [this] { cmdEleccion_Click(); });
    ayuda::Conectar(
        *this, cmdRealizarContrato, QStringLiteral("Botón Realizar Contrato : "),
        QStringLiteral("Generará un contrato con todos los datos que hayamos introducido, posteriormente "
                       "visualizaremos el contrato y obtendremos la posiblidad de imprimir y guardar dicho contrato."),
        [this] { cmdRealizarContrato_Click(); });
    ayuda::Conectar(*this, cmdImportar, QStringLiteral("Botón Importar : "),
                    QStringLiteral("Si se genera en la aplicación laboral del programa de Quelvan un contrato en "
                                   "formato Unix, podremos recoger los datos de ese contrato y visualizarlos en nuestra "
                                   "aplicación."),
                    [this] { cmdImportar_Click(); });
    ayuda::Punteros(*this, {{this, 0}, {cmdRealizarContrato, 14}, {cmdImportar, 14}});
    onClick(cmdSalir, [this] { cmdSalir_Click(); });
    onClick(cmdAyuda, [this] { cmdAyuda_Click(); });
    onClick(cmdAceptarDuracion, [this] { cmdAceptarDuracion_Click(); });
    // Enter in the duration's boxes accepts it.
    for (QLineEdit* caja : {txtMesesProrroga, txtDiasProrroga})
        connect(caja, &QLineEdit::returnPressed, cmdAceptarDuracion, &QAbstractButton::click);
    onClick(cmdCancelarProrroga, [this] { cmdCancelarProrroga_Click(); });
    onClick(cmdCopias, [this] { cmdCopias_Click(); });

    mshMarcas->GotFocus = [this] { mshMarcas_GotFocus(); };
    mshMarcas->KeyPress = [this](int& k) { mshMarcas_KeyPress(k); };
    mshMarcas->KeyUp = [this](int code, int shift) { mshMarcas_KeyUp(code, shift); };
    mshMarcas->EnterCell = [this] { mshMarcas_EnterCell(); };
    mshMarcas->LeaveCell = [this] { mshMarcas_LeaveCell(); };
}

frmEleccionContrato::~frmEleccionContrato() = default;

void frmEleccionContrato::Proteger(const std::function<void()>& paso)
{
    bool hecho = false;
    platform::runHandler([&] {
        paso();
        hecho = true;
    });
    if (!hecho)
        setMousePointer(0);
}

void frmEleccionContrato::Form_Load()
{
    Elastico().Init(*this);
    frmAyuda::ModoAyuda = false;
    TipoElegido.clear();
    ContratoElegido.clear();
    MarcandoTipo = false;
    MarcandoContrato = false;
    CargandoClausulas = false;

    // The first page of the types.
    fraEleccion->show();
    fraTipoContrato->show();
    SSTab1->hide();
    fraContratos->hide();
    fraIdioma->hide();
    fraPie->hide();
    ContarTiposContrato();
    if (NumTipos > kPorPagina)
        FijarRango(vscTipoContrato, NumTipos - kPorPagina);
    MostrarPrimeraPagina(optTipoContrato, vscTipoContrato, FilasTipos, IdTipoOpcion);

    // The header's company gives the clauses that come ticked.
    const auto empresa = EmpresaDeNumero(NumeroEmpresaDeLaFicha());
    IdEmpresaContrato = empresa ? empresa->value(QStringLiteral("IdEmpresa")).toInt() : 0;
    ContarFilasClausulas();
    Proteger([this] { PrepararClausulas(); });
    MostrarPaginaClausulas();
    if (empresa)
        CopiarClausulasDeEmpresa(*empresa);
    CargandoClausulas = true;
    Timer1->start();
}

void frmEleccionContrato::Form_Activate()
{
    if (frmAyuda::ModoAyuda) {
        if (auto* ayuda = Forms::loaded<frmAyuda>())
            ayuda->raise();
    }
}

void frmEleccionContrato::Form_Resize()
{
    Elastico().FormResize(*this);
}

// However it is left, the worker the record window saved for it is not the
// worker of a contract made from elsewhere later.
void frmEleccionContrato::Form_Unload()
{
    TrabajadorGrabadoParaContrato = false;
}

// The company number the record window shows, while that window is open.
QString frmEleccionContrato::NumeroEmpresaDeLaFicha() const
{
    const auto* ficha = Forms::loaded<frmEmpresa>();
    return ficha ? ficha->txtNumEmpresa->text() : QString();
}

std::optional<platform::Row> frmEleccionContrato::EmpresaDeNumero(const QString& numeroEmpresa)
{
    std::optional<platform::Row> empresa;
    Proteger([&] { empresa = empresas::BuscarPorNumero(AbrirBaseDatos(), numeroEmpresa); });
    return empresa;
}

// The company's default clauses (Clausula1..6) into ClausulasElegidas.
void frmEleccionContrato::CopiarClausulasDeEmpresa(const platform::Row& empresa)
{
    for (int i = 0; i <= 5; ++i) {
        const QString campo = QStringLiteral("Clausula%1").arg(i + 1);
        if (!empresa.text(campo).isEmpty())
            ClausulasElegidas[static_cast<std::size_t>(i)] = empresa.value(campo).toInt();
    }
}

// ---------------------------------------------------------------------------
// The paged lists of types and contracts.

void frmEleccionContrato::ContarTiposContrato()
{
    try {
        auto db = AbrirBaseDatos();
        std::vector<Opcion> filas;
        for (const auto& fila : db.select(QStringLiteral(
                 "SELECT \"IdTipoContrato\", \"TipoContrato\" FROM \"TipoContrato\" ORDER BY \"IdTipoContrato\""))) {
            const QString nombre = fila.text(QStringLiteral("TipoContrato"));
            filas.push_back({nombre, nombre, fila.value(QStringLiteral("IdTipoContrato")).toInt()});
        }
        FilasTipos = std::move(filas);
        NumTipos = static_cast<int>(FilasTipos.size());
        vscTipoContrato->setVisible(NumTipos > kPorPagina);
    } catch (const std::exception&) {
        // The count stays as it was.
    }
}

void frmEleccionContrato::ContarContratos()
{
    try {
        std::vector<Opcion> filas;
        if (TipoEncontrado) {
            auto db = AbrirBaseDatos();
            for (const auto& fila : db.select(QStringLiteral("SELECT \"IdContrato\", \"Contrato\", \"Código\" FROM "
                                                             "\"Contrato\" WHERE \"IdTipoContrato\" = ? "
                                                             "ORDER BY \"Código\", \"IdContrato\""),
                                              {QString::number(IdTipoElegido)})) {
                const QString nombre = fila.text(QStringLiteral("Contrato"));
                filas.push_back({nombre, fila.text(QStringLiteral("Código")) + QStringLiteral(" - ") + nombre,
                                 fila.value(QStringLiteral("IdContrato")).toInt()});
            }
        }
        FilasContratos = std::move(filas);
        NumContratos = static_cast<int>(FilasContratos.size());
        vscContrato->setVisible(NumContratos > kPorPagina);
    } catch (const std::exception&) {
        // The count stays as it was.
    }
}

void frmEleccionContrato::LimpiarTiposContrato()
{
    for (auto* opcion : optTipoContrato) {
        opcion->setText(QString());
        opcion->hide();
    }
}

void frmEleccionContrato::LimpiarContratos()
{
    for (auto* opcion : optContrato) {
        opcion->setText(QString());
        opcion->hide();
    }
}

// Each chosen option is known by the id of its row, so that two rows of the
// same name are never taken for one another.
void frmEleccionContrato::MarcarTipoElegido()
{
    QScopedValueRollback marcando(MarcandoTipo, true);
    for (int i = 0; i < kPorPagina; ++i)
        optTipoContrato[i]->setValue(IdTipoElegido != 0 && IdTipoOpcion[i] == IdTipoElegido);
}

void frmEleccionContrato::MarcarContratoElegido()
{
    QScopedValueRollback marcando(MarcandoContrato, true);
    for (int i = 0; i < kPorPagina; ++i)
        optContrato[i]->setValue(IdContratoElegido != 0 && IdContratoOpcion[i] == IdContratoElegido);
}

// The first filling of a list: every row's caption, from the first row, with
// the scroll bar shown when rows remain.
void frmEleccionContrato::MostrarPrimeraPagina(std::array<OptionButton*, 8>& opciones, QScrollBar* barra,
                                               const std::vector<Opcion>& filas, std::array<int, 8>& ids)
{
    const int total = static_cast<int>(filas.size());
    ids.fill(0);
    for (int i = 0; i < std::min(total, kPorPagina); ++i) {
        const Opcion& fila = filas[static_cast<std::size_t>(i)];
        ids[i] = fila.id;
        opciones[i]->show();
        platform::setCaption(opciones[i], fila.titulo);
        opciones[i]->setValue(false);
    }
    if (total > kPorPagina)
        barra->show();
}

// A page of a list from the scroll bar's value; rows without a name leave
// their option hidden.
void frmEleccionContrato::MostrarPagina(std::array<OptionButton*, 8>& opciones, QScrollBar* barra,
                                        const std::vector<Opcion>& filas, std::array<int, 8>& ids)
{
    const int total = static_cast<int>(filas.size());
    int primera = barra->value();
    FijarRango(barra, total - kPorPagina);
    primera = std::clamp(primera, 0, std::max(0, total - kPorPagina));
    FijarValor(barra, primera);
    ids.fill(0);
    for (int i = 0; i < kPorPagina && primera + i < total; ++i) {
        const Opcion& fila = filas[static_cast<std::size_t>(primera + i)];
        ids[i] = fila.id;
        if (fila.nombre.isEmpty())
            continue;
        opciones[i]->show();
        platform::setCaption(opciones[i], fila.titulo);
    }
}

void frmEleccionContrato::vscTipoContrato_Change()
{
    LimpiarTiposContrato();
    ContarTiposContrato();
    MostrarPagina(optTipoContrato, vscTipoContrato, FilasTipos, IdTipoOpcion);
    MarcarTipoElegido();
}

void frmEleccionContrato::vscContrato_Change()
{
    LimpiarContratos();
    ContarContratos();
    MostrarPagina(optContrato, vscContrato, FilasContratos, IdContratoOpcion);
    MarcarContratoElegido();
}

void frmEleccionContrato::optTipoContrato_Click(int Index)
{
    OptionButton* opcion = optTipoContrato[Index];
    if (!MarcandoTipo) {
        LimpiarContratos();
        TipoElegido = platform::caption(opcion);
        // A type whose row has gone since the list was read has no contracts.
        IdTipoElegido = IdTipoOpcion[Index];
        TipoEncontrado = false;
        Proteger([&] {
            TipoEncontrado = AbrirBaseDatos()
                                 .first(QStringLiteral("SELECT \"IdTipoContrato\" FROM \"TipoContrato\" WHERE "
                                                       "\"IdTipoContrato\" = ?"),
                                        {IdTipoElegido})
                                 .has_value();
        });
        fraContratos->show();
        ContarContratos();
        FijarRango(vscContrato, NumContratos - kPorPagina);
        FijarValor(vscContrato, 0);
        MostrarPrimeraPagina(optContrato, vscContrato, FilasContratos, IdContratoOpcion);
        for (auto* contrato : optContrato)
            contrato->setValue(false);
        ContratoElegido.clear();
        IdContratoElegido = 0;
        RutaPlantilla.clear();
    }

    txtTipoContrato->setText(platform::caption(opcion));
    cmdRealizarContrato->setText(txtTipoContrato->text() == QLatin1String(kProrroga)
                                     ? QStringLiteral("Realizar Prórroga.")
                                     : QStringLiteral("Realizar Contrato."));
    cmdRealizarContrato->repaint();
    fraIdioma->show();
    fraPie->show();
    OpcionesPorDefecto();
}

// Language and first-page signatures as the parameters window left them.
void frmEleccionContrato::OpcionesPorDefecto()
{
    Proteger([this] {
        const DatosConfiguracion configuracion = LeerConfiguracion();
        (configuracion.Idioma == QLatin1String("2") ? optCatalan : optCastellano)->setValue(true);
        const QString firmas = configuracion.Firmas.trimmed();
        if (!firmas.isEmpty())
            (firmas.toInt() == 0 ? optSi : optNo)->setValue(true);
    });
}

void frmEleccionContrato::optContrato_Click(int Index)
{
    OptionButton* opcion = optContrato[Index];
    IdiomaContrato = optCatalan->value() ? 2 : 1;
    if (!MarcandoContrato) {
        bool terminar = false;
        bool encontrado = false;
        Proteger([&] {
            auto db = AbrirBaseDatos();
            const auto contrato = db.first(QStringLiteral("SELECT * FROM \"Contrato\" WHERE \"IdContrato\" = ?"),
                                           {IdContratoOpcion[Index]});
            if (!contrato)
                return;
            encontrado = true;
            const QString modelo = contrato->text(QStringLiteral("Modelo"));
            const auto plantilla = modelo.isEmpty()
                ? std::nullopt
                : db.first(QStringLiteral("SELECT * FROM \"Modelo\" WHERE \"NombreModelo\" = ? ORDER BY \"IdModelo\""),
                           {modelo});
            const QString codigo = contrato->text(QStringLiteral("Código"));
            // A contract whose model or code cannot be found is not chosen:
            // keeping the previous choice would make the previous contract
            // under this one's name.
            if (!plantilla || codigo.trimmed().isEmpty()) {
                MsgBox(!plantilla ? QStringLiteral("El contrato seleccionado no tiene un modelo definido.")
                                  : QStringLiteral("El contrato seleccionado no tiene un código definido."),
                       platform::style::Information);
                opcion->setValue(false);
                ContratoElegido.clear();
                IdContratoElegido = 0;
                IdModeloElegido.clear();
                RutaPlantilla.clear();
                terminar = true;
                return;
            }
            {
                CodigoContrato = codigo;
                ModeloContrato = modelo;
                RutaPlantilla = optNo->value() ? QStringLiteral("C:\\Quelvan\\Dorvane\\P")
                                               : QStringLiteral("C:\\Quelvan\\Dorvane\\");
                if (optCatalan->value())
                    RutaPlantilla += QLatin1Char('C');
                RutaPlantilla += plantilla->text(QStringLiteral("Ubicación"));
                if (opcion->value()) {
                    IdModeloElegido = plantilla->text(QStringLiteral("IdModelo"));
                    ContratoElegido = platform::caption(opcion);
                    IdContratoElegido = IdContratoOpcion[Index];
                } else {
                    ContratoElegido.clear();
                    IdContratoElegido = 0;
                }
            }
        });
        if (terminar)
            return;
        if (encontrado) {
            mshMarcas->Clear();
            mshMarcas->setRows(2);
            VerMarcasContrato();
            SSTab1->show();
            fraEleccion->hide();
            // The focus left with the choice: what is typed now is a mark's value.
            mshMarcas->setFocus();
            FijarValor(vscClausulas, 0);
            CargandoClausulas = false;
            MostrarPaginaClausulas();
            mskFechaContrato->setText(platform::formatDate(platform::clock().today()));
        }
    }
    txtContrato->setText(platform::caption(opcion));
    SSTab1->setCurrentIndex(0);
    CargandoClausulas = true;
}

QString frmEleccionContrato::QuitarCodigo(const QString& texto)
{
    QString resultado;
    for (qsizetype i = 0; i + 1 < texto.size(); ++i) {
        if (texto.at(i) == QLatin1Char('-'))
            resultado = texto.mid(i + 2);
    }
    return resultado;
}

// ---------------------------------------------------------------------------
// Buttons.

void frmEleccionContrato::cmdEleccion_Click()
{
    fraEleccion->show();
    SSTab1->hide();
}

void frmEleccionContrato::cmdRealizarContrato_Click()
{
    if (RutaPlantilla.isEmpty()) {
        MsgBox(QStringLiteral("Debe elegir que contrato se quiere realizar"), platform::style::Information);
        cmdEleccion_Click();
        return;
    }
    // Nothing of the window, its close box included, starts a second run
    // while this one waits for the user or the printer.
    platform::BlockedWindow bloqueo(*this, {fraDatosImprimir});
    PlantillaAbierta = true;
    setMousePointer(11);
    frmAyuda::ModoAyuda = false;
    ProgressBar1->hide();
    fraProgreso->setTitle(QStringLiteral("Generando Contrato "));
    shaProgreso->show();
    fraProgreso->show();
    Esperar(0.5);
    ProgressBar1->show();
    ProgressBar1->setValue(30);
    GenerarDocumento();
}

void frmEleccionContrato::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    RutaPlantilla.clear();
    Forms::unload(*this);
}

void frmEleccionContrato::cmdAyuda_Click()
{
    ayuda::Activar(*this);
}

void frmEleccionContrato::cmdCopias_Click()
{
    CopiasAceptadas = true;
}

void frmEleccionContrato::Timer1_Timer()
{
    ++ContadorTimer;
}

void frmEleccionContrato::fraIdioma_Click()
{
    if (frmAyuda::ModoAyuda)
        ayuda::Mostrar(*this, QStringLiteral("Botón Importar : "),
                       QStringLiteral("El idioma predeterminado viene definido en el apartado Idiomas de "
                                      "mantenimiento de tablas."));
}

void frmEleccionContrato::SSTab1_Click(int)
{
    if (!frmAyuda::ModoAyuda)
        return;
    switch (SSTab1->currentIndex()) {
    case 0:
        ayuda::Mostrar(*this, QStringLiteral("Pestaña Marcas : "),
                       QStringLiteral("Visualizaremos las marcas activas en el contrato seleccionado y que podremos "
                                      "editar una vez hayan sido importadas desde la maquina Unix."));
        break;
    case 1:
        ayuda::Mostrar(*this, QStringLiteral("Pestaña Clausulas : "),
                       QStringLiteral("Visualizaremos las clausulas adicionales que podemos introducir en el contrato, "
                                      "bastará con marcarlas para que sean añadidas, el orden de inserción "
                                      "corresponderá con el de selección."));
        break;
    default:
        ayuda::Mostrar(*this, QStringLiteral("Pestaña Datos : "),
                       QStringLiteral("En esta panatalla podremos agregar al contrato una serie de datos."));
        break;
    }
}

bool frmEleccionContrato::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fraIdioma && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        fraIdioma_Click();
    return Form::eventFilter(watched, event);
}
