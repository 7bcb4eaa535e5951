#include "listings/frmListados.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/ImprimirListado.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using platform::Forms;
using platform::MsgBox;

namespace {

const QString kTodosLosTrabajadores = QStringLiteral(R"(SELECT * FROM "Trabajadores")");
const QString kTituloInicial = QStringLiteral("Empresas dadas de alta.");
const QString kAyudaListado = QStringLiteral(
    "Obtendremos un listado con los trabajadores que cumplan las especificaciones marcadas en el cuadro de la "
    "izquierda, en el que indicaremos el estado de contratos que deseamos visualizar y de que empresas.");
constexpr int kMaximoEmpresas = 24;

// The printed listings: landscape Courier, each column's heading and its
// value at their print columns.
struct ColumnaImpresa {
    const char* encabezado;
    int columnaEncabezado;
    const char* campo;
    int columnaValor;
};
const ColumnaImpresa kEstadoImpreso[] = {
    {"Nombre Trabajador", 5, "NombreTrabajador", 5},  {"Nombre Empresa.", 36, "Empresa", 36},
    {"Enviado Cl.", 66, "EnviadoCliente", 71},        {"Devuelto Cl.", 79, "RecibidoCliente", 84},
    {"Enviado INEM", 93, "EnviadoInem", 98},          {"Recogido INEM", 107, "RecogidoInem", 113},
    {"Reenviado Cl", 123, "ReenviadoCliente", 126},
};
const ColumnaImpresa kVencimientosImpreso[] = {
    {"Nombre Trabajador", 5, "Nombre_Trabajador", 5}, {"Núm. Trabaj.", 36, "Núm_Trabaj", 36},
    {"Núm. emp.", 49, "Núm_Emp", 49},                 {"NIF", 59, "NIF", 59},
    {"Fecha Contrato", 73, "FechaContrato", 73},      {"Fecha Vencimiento", 88, "FechaVencimiento", 88},
};
constexpr int kColumnaTituloListado = 5;

// A value as printed: dates day/month/year, nothing for no value.
QString TextoImpreso(const platform::Row& fila, const QString& campo)
{
    return campo.startsWith(QStringLiteral("Fecha")) ? platform::dateText(fila.value(campo)) : fila.text(campo);
}

// A line of these listings: each text at its column; the value after one
// that reaches that column goes to its column on the next line. The lines of
// one row stay on one page.
void LineaTabulada(platform::PrintJob& job, const listado::Fila& celdas)
{
    job.beginBlock();
    for (const auto& celda : celdas)
        job.tab(celda.column).print(celda.text);
    job.endLine();
    job.endBlock();
}

template <std::size_t N>
void ListadoTrabajadores(platform::PrintJob& job, const QString& titulo, const ColumnaImpresa (&columnas)[N],
                         const std::vector<platform::Row>& filas)
{
    job.setOrientation(platform::Orientation::Landscape);
    job.setFontSize(11);
    job.setFontName(QStringLiteral("Courier"));
    job.endLine();
    listado::Titulo(job, titulo, kColumnaTituloListado);
    job.setFontSize(10);
    job.endLine();
    listado::Linea(job, {{kColumnaTituloListado, QStringLiteral("Fecha Listado : ")
                                                     + platform::formatDate(platform::clock().today())}});
    job.endLine();
    listado::Fila encabezados;
    for (const ColumnaImpresa& c : columnas)
        encabezados.push_back({c.columnaEncabezado, QString::fromUtf8(c.encabezado)});
    LineaTabulada(job, encabezados);
    job.setFontBold(false);
    if (filas.empty()) {
        MsgBox(QString::fromUtf8(listado::kSinRegistros), platform::style::Information);
        return;
    }
    for (const platform::Row& fila : filas) {
        listado::Fila linea;
        for (const ColumnaImpresa& c : columnas)
            linea.push_back({c.columnaValor, TextoImpreso(fila, QString::fromUtf8(c.campo))});
        LineaTabulada(job, linea);
    }
}

} // namespace

frmListados::frmListados() : Form(QStringLiteral("frmListados"))
{
    setWindowTitle(QStringLiteral("Listados"));
    designSize(11880, 8160);

    fraEmpresas = place(new QGroupBox(QStringLiteral("Empresas Seleccionadas : ")), "fraEmpresas", 120, 120, 2160, 3480);
    lstEmpresas = place(new QListWidget, "lstEmpresas", 120, 300, 1920, 2700, fraEmpresas);
    lstEmpresas->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chkTodas = place(new QCheckBox(QStringLiteral("Todas las empresas")), "chkTodas", 120, 3060, 1920, 330, fraEmpresas);

    fraOpciones = place(new QGroupBox(QStringLiteral("Opciones :")), "fraOpciones", 120, 3720, 2160, 3480);
    struct Casilla {
        QCheckBox** casilla;
        const char* nombre;
        const char* texto;
    };
    const Casilla estados[] = {
        {&chkEnvCliente, "chkEnvCliente", "Enviado Cliente"},
        {&chkRecCliente, "chkRecCliente", "Devuelto Cliente"},
        {&chkEnvINEM, "chkEnvINEM", "Enviado INEM"},
        {&chkRecINEM, "chkRecINEM", "Recogido INEM"},
        {&chkReeCliente, "chkReeCliente", "Reenviado Cliente"},
    };
    int top = 300;
    for (const Casilla& c : estados) {
        *c.casilla = place(new QCheckBox(QString::fromUtf8(c.texto)), c.nombre, 120, top, 1920, 330, fraOpciones);
        top += 330;
    }
    chkTodos = place(new platform::CheckBox(QStringLiteral(
                         "Todos  los Trabajadores sin importar el estado de sus contratos")),
                     "chkTodos", 120, 1980, 1920, 780, fraOpciones);
    chkVencimientos = place(new QCheckBox(QStringLiteral("Vencimientos")), "chkVencimientos", 120, 2880, 1920, 330,
                            fraOpciones);

    lblTitulo = place(new QLabel(kTituloInicial), "lblTitulo", 2400, 120, 9360, 480);
    platform::setBoldFont(lblTitulo, 12);

    dbgListado = place(new platform::DBGrid, "dbgListado", 2400, 720, 9360, 6480);
    dbgListado->setColumns({
        {QStringLiteral("Id"), QStringLiteral("IdTrabajador"), 600, false, {}},
        {QStringLiteral("Nombre Trabajador"), QStringLiteral("NombreTrabajador"), 2200, true, {}},
        {QStringLiteral("Empresa"), QStringLiteral("Empresa"), 2000, true, {}},
        {QStringLiteral("Núm. S. S."), QStringLiteral("NumSS"), 1600, true, {}},
        {QStringLiteral("Envia Cli"), QStringLiteral("EnviadoCliente"), 700, true, {}},
        {QStringLiteral("Devu Cli"), QStringLiteral("RecibidoCliente"), 700, true, {}},
        {QStringLiteral("Env INEM"), QStringLiteral("EnviadoInem"), 700, true, {}},
        {QStringLiteral("Re INEM"), QStringLiteral("RecogidoInem"), 700, true, {}},
        {QStringLiteral("Reenv Cli"), QStringLiteral("ReenviadoCliente"), 700, true, {}},
    });
    dbgListado1 = place(new platform::DBGrid, "dbgListado1", 2400, 720, 9360, 6480);
    std::vector<platform::DBGrid::Column> vencimientos{{QStringLiteral("Id"), QStringLiteral("IdTrabajador"), 600, false, {}}};
    for (const auto& columna : listados::kColumnasVencimientos) {
        const bool fecha = QByteArray(columna.campo).startsWith("Fecha");
        const QString nombre = QString::fromUtf8(columna.nombre);
        vencimientos.push_back({nombre, nombre, columna.ancho, true, fecha ? QStringLiteral("dd/mm/yyyy") : QString()});
    }
    dbgListado1->setColumns(std::move(vencimientos));
    // The status grid's names show whole where it has room, and so do its
    // short headings; the expiry grid keeps the widths it was designed with.
    dbgListado->setFitColumns(true);
    for (platform::DBGrid* grid : {dbgListado, dbgListado1}) {
        grid->setEditable(true);
        grid->Update = [this](const platform::Row& registro, platform::Row& cambios) {
            return GrabarFila(registro, cambios);
        };
        grid->hide();
    }

    fraFechaVencimiento = place(new QGroupBox(QStringLiteral("FECHAS DE VENCIMIENTO")), "fraFechaVencimiento", 4860,
                                2400, 4440, 2160);
    // It stands over the grids: what is under it does not show through.
    fraFechaVencimiento->setAutoFillBackground(true);
    Label1 = place(new QLabel(QStringLiteral("Desde")), "Label1", 360, 450, 1080, 300, fraFechaVencimiento);
    mskDesde = place(new platform::MaskEdBox, "mskDesde", 1560, 390, 1800, 390, fraFechaVencimiento);
    Label2 = place(new QLabel(QStringLiteral("Hasta")), "Label2", 360, 990, 1080, 300, fraFechaVencimiento);
    mskHasta = place(new platform::MaskEdBox, "mskHasta", 1560, 930, 1800, 390, fraFechaVencimiento);
    for (platform::MaskEdBox* fecha : {mskDesde, mskHasta}) {
        fecha->setMask(QStringLiteral("##/##/####"));
        fecha->setPromptChar(QLatin1Char('_'));
    }
    cmdAceptar = place(new QPushButton(QStringLiteral("Aceptar")), "cmdAceptar", 480, 1560, 1560, 420,
                       fraFechaVencimiento);
    cmdCancelar = place(new QPushButton(QStringLiteral("Cancelar")), "cmdCancelar", 2400, 1560, 1560, 420,
                        fraFechaVencimiento);
    fraFechaVencimiento->hide();

    cmdListar = place(new QPushButton(QStringLiteral("Listar.")), "cmdListar", 120, 7440, 1440, 480);
    cmdImprimir = place(new QPushButton(QStringLiteral("Imprimir.")), "cmdImprimir", 1800, 7440, 1440, 480);
    cmdImprimir->setToolTip(QStringLiteral("Imprimir la selección activa en ese momento."));
    cmdAyuda = place(new QPushButton(QStringLiteral("Ayuda.")), "cmdAyuda", 3480, 7440, 1440, 480);
    cmdAyuda->setToolTip(QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."));
    cmdSalir = place(new QPushButton(QStringLiteral("Volver.")), "cmdSalir", 10320, 7440, 1440, 480);
    cmdSalir->setToolTip(QStringLiteral("Volver al Menú Principal."));

    onClick(cmdListar, [this] { cmdListar_Click(); });
    ayuda::Conectar(*this, cmdImprimir, QStringLiteral("Botón Imprimir : "), kAyudaListado,
                    [this] { cmdImprimir_Click(); });
    ayuda::Punteros(*this, {{this, 0}, {cmdListar, 14}, {cmdImprimir, 14}});
    onClick(cmdAyuda, [this] { ayuda::Activar(*this); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });
    onClick(cmdAceptar, [this] { cmdAceptar_Click(); });
    onClick(cmdCancelar, [this] { cmdCancelar_Click(); });

    // A box acts only when it becomes ticked; unticking it, by hand or by code, does nothing.
    for (QCheckBox* estado : CasillasEstado()) {
        connect(estado, &QCheckBox::toggled, this, [this](bool marcada) {
            if (marcada)
                MarcarEstado();
        });
    }
    connect(chkTodos, &QCheckBox::toggled, this, [this](bool marcada) {
        if (marcada)
            chkTodos_Click();
    });
    connect(chkVencimientos, &QCheckBox::toggled, this, [this](bool marcada) {
        if (marcada)
            chkVencimientos_Click();
    });
    dbgListado->HeadClick = [this](int col) { platform::runHandler([&] { dbgListado_HeadClick(col); }); };
}

void frmListados::Form_Load()
{
    Elastico().Init(*this);
    // Until the first listing the rows held are the whole table.
    platform::runHandler([this] { dbgListado->Refresh(AbrirBaseDatos(), kTodosLosTrabajadores); });
}

void frmListados::Form_Activate()
{
    platform::runHandler([this] { CargarListaEmpresas(); });
}

void frmListados::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmListados::Form_Unload()
{
    GrabarPendiente();
}

// Every company in the table's order; the selection starts empty.
void frmListados::CargarListaEmpresas()
{
    const auto empresas = AbrirBaseDatos().select(QStringLiteral(R"(SELECT "NombreEmpresa" FROM "Empresas")"));
    lstEmpresas->clear();
    for (const platform::Row& empresa : empresas)
        lstEmpresas->addItem(platform::unpadded(empresa.text(QStringLiteral("NombreEmpresa"))));
}

void frmListados::MarcarEstado()
{
    chkTodos->setChecked(false);
    chkVencimientos->setChecked(false);
}

std::array<QCheckBox*, 5> frmListados::CasillasEstado() const
{
    return {chkEnvCliente, chkRecCliente, chkEnvINEM, chkRecINEM, chkReeCliente};
}

void frmListados::chkTodos_Click()
{
    for (QCheckBox* estado : CasillasEstado())
        estado->setChecked(false);
    chkVencimientos->setChecked(false);
}

void frmListados::chkVencimientos_Click()
{
    for (QCheckBox* estado : CasillasEstado())
        estado->setChecked(false);
    chkTodos->setChecked(false);
    fraFechaVencimiento->show();
    fraFechaVencimiento->raise();
    mskDesde->setText(QStringLiteral("__/__/____"));
    mskHasta->setText(QStringLiteral("__/__/____"));
    mskDesde->setFocus();
    mskDesde->setSelStart(0);
}

void frmListados::cmdListar_Click()
{
    if (chkVencimientos->isChecked())
        return;
    dbgListado1->hide();
    if (frmAyuda::ModoAyuda) {
        ayuda::Mostrar(*this, QStringLiteral("Botón Listar : "), kAyudaListado);
        return;
    }

    QStringList seleccion;
    for (int i = 0; i < lstEmpresas->count(); ++i) {
        if (!lstEmpresas->item(i)->isSelected())
            continue;
        seleccion << lstEmpresas->item(i)->text();
        if (seleccion.size() == kMaximoEmpresas) {
            MsgBox(QStringLiteral("El número máximo de empresas que se pueden seleccuionar es 24."),
                   platform::style::Information);
            break;
        }
    }

    listados::Estado estado{};
    const auto casillas = CasillasEstado();
    for (std::size_t i = 0; i < estado.size(); ++i)
        estado[i] = casillas[i]->isChecked();

    bool hay = false;
    {
        platform::Hourglass reloj(*this);
        GrabarPendiente();
        ConsultaBase = listados::ConsultaEstado(
            chkTodas->isChecked() ? std::nullopt : std::optional<QStringList>(seleccion),
            chkTodos->isChecked() ? std::nullopt : std::optional<listados::Estado>(estado));
        const auto consulta = listados::Ordenada(ConsultaBase, listados::kOrdenEmpresa);
        dbgListado->Refresh(AbrirBaseDatos(), consulta.sql, consulta.valores);
        vencimientos_ = false;
        hay = dbgListado->RecordCount() >= 1;
    }
    if (hay) {
        lblTitulo->setText(QStringLiteral("Listado de trabajadores:"));
        dbgListado->show();
    } else {
        lblTitulo->setText(kTituloInicial);
        MsgBox(QStringLiteral("No hay ningún contrato de trabajador que cumpla las especificaciones seleccionadas."),
               platform::style::Information);
    }
}

// The same rows by worker name alone.
void frmListados::dbgListado_HeadClick(int ColIndex)
{
    if (ColIndex != 1 || ConsultaBase.sql.isEmpty())
        return;
    GrabarPendiente();
    const auto consulta = listados::Ordenada(ConsultaBase, listados::kOrdenNombre);
    dbgListado->Refresh(AbrirBaseDatos(), consulta.sql, consulta.valores);
    vencimientos_ = false;
}

void frmListados::cmdCancelar_Click()
{
    fraFechaVencimiento->hide();
}

void frmListados::cmdAceptar_Click()
{
    fraFechaVencimiento->hide();
    const QDate desde = listados::LeerFecha(mskDesde->Text());
    const QDate hasta = listados::LeerFecha(mskHasta->Text());
    if (!desde.isValid() || !hasta.isValid()) {
        MsgBox(QStringLiteral("Una de las fechas no es valida."), platform::style::Critical);
        return;
    }
    platform::Hourglass reloj(*this);
    GrabarPendiente();
    const auto consulta = listados::ConsultaVencimientos(desde, hasta);
    dbgListado1->Refresh(AbrirBaseDatos(), consulta.sql, consulta.valores);
    vencimientos_ = true;
    dbgListado1->show();
    dbgListado->hide();
}

// The rows held, in their order, with the layout of their listing.
void frmListados::cmdImprimir_Click()
{
    GrabarPendiente();
    const bool vencimientos = vencimientos_;
    const std::vector<platform::Row> filas = (vencimientos ? dbgListado1 : dbgListado)->records();
    listado::Imprimir(*this, [&](platform::PrintJob& job) {
        if (vencimientos)
            ListadoTrabajadores(job, QStringLiteral("LISTADO VENCIMIENTOS:"), kVencimientosImpreso, filas);
        else
            ListadoTrabajadores(job, QStringLiteral("LISTADO ESTADO DE CONTRATOS:"), kEstadoImpreso, filas);
    });
}

void frmListados::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
}

void frmListados::GrabarPendiente()
{
    dbgListado->UpdateRow();
    dbgListado1->UpdateRow();
}

// A row typed into in either grid, written to its worker; the expiry grid
// names its columns after the listing.
bool frmListados::GrabarFila(const platform::Row& registro, platform::Row& cambios)
{
    platform::Row campos;
    for (const auto& [columna, texto] : cambios.fields())
        campos.set(listados::CampoDeColumna(columna), texto);
    auto db = AbrirBaseDatos();
    if (const auto error = listados::GrabarTrabajador(db, registro.value(QStringLiteral("IdTrabajador")), campos)) {
        MsgBox(*error, platform::style::Critical);
        return false;
    }
    for (const auto& [columna, texto] : cambios.fields())
        cambios.set(columna, campos.value(listados::CampoDeColumna(columna)));
    return true;
}
