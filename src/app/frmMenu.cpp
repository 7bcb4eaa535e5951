// The main window: its construction, its background, the alerts, and the buttons and menus that open the other windows.
#include "app/frmMenu.h"

#include "app/Avisos.h"
#include "app/frmAcercade.h"
#include "app/frmIdioma.h"
#include "catalogue/frmClausulas.h"
#include "catalogue/frmDocumentos.h"
#include "catalogue/frmManContrato.h"
#include "catalogue/frmManContratos.h"
#include "catalogue/frmMarcas.h"
#include "catalogue/frmModelos.h"
#include "common/Documentos.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmMensaje.h"
#include "companies/frmEmpresas.h"
#include "exchange/ContratoImportado.h"
#include "exchange/frmListadoImportados.h"
#include "listings/frmListadoContratos.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/Paths.h"
#include "platform/Screen.h"
#include "platform/WebPanel.h"
#include "production/GrabacionContrato.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <utility>

using platform::Forms;
using platform::isShown;

// The built-in pictures live in the resources of a static library.
static void cargarRecursos()
{
    Q_INIT_RESOURCE(tervalo);
}

namespace {

constexpr auto kMascaraIp = "CCC.CCC.CCC.CCC";

// The control of the main window that opened the screen now in its place
// (its name): the main window, loaded again on the way back, gives it the
// focus.
QString& abiertaDesde()
{
    static QString nombre;
    return nombre;
}

QLabel* etiqueta(const QString& texto)
{
    auto* label = new QLabel(texto);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmMenu::frmMenu() : Form(QStringLiteral("frmMenu"))
{
    cargarRecursos();
    fondo_.load(QStringLiteral(":/fondo.jpg"));
    setWindowTitle(QStringLiteral("Menú Principal"));
    designSize(12000, 9000);

    // Picture buttons in one column on the left, each with its label.
    struct Boton {
        QPushButton** boton;
        const char* nombre;
        const char* etiquetaNombre;
        const char* texto;
        const char* ayuda;
        QStyle::StandardPixmap icono;
    };
    const Boton botones[] = {
        {&cmdEmpresas, "cmdEmpresas", "lblEmpresas", "- Empresas.", "Edición y creación de empresas y trabajadores.",
         QStyle::SP_DirHomeIcon},
        {&cmdContratos, "cmdContratos", "lblContratos", "- Mantenimiento de Contratos.",
         "Edición y creación de contratos.", QStyle::SP_FileDialogDetailedView},
        {&cmdPlantillas, "cmdPlantillas", "lblPlantillas", "- Plantillas, documentos.",
         "Edición y creación de contratos.", QStyle::SP_FileIcon},
        {&cmdTablas, "cmdTablas", "lblTablas", "- Mantenimiento de Tablas.",
         "Mantenimiento de las diferentes tablas del programa.", QStyle::SP_FileDialogListView},
        {&cmdConfigurar, "cmdConfigurar", "lblConfigurar", "- Configurar acceso al Servidor.",
         "Obtener una ventana para poder configurar el acceso al central Unix.", QStyle::SP_ComputerIcon},
        {&cmdImportar, "cmdImportar", "lblImportar", "- Importar Datos.",
         "Importar los contratos generados en el Servidor.", QStyle::SP_ArrowDown},
        {&cmdListado, "cmdListado", "lblListado", "- Trabajadores con contratos importados en memoria.",
         "Listado de contratos importados.", QStyle::SP_FileDialogContentsView},
        {&cmdTraspaso, "cmdTraspaso", "lblTraspaso", "- Carga de nuevos modulos.", "", QStyle::SP_DriveFDIcon},
        {&cmdActualizar, "cmdActualizar", "lblActualizar", "- Descargar Actualizaciones.", "",
         QStyle::SP_BrowserReload},
    };
    int top = 600;
    for (const Boton& b : botones) {
        auto* boton = place(new QPushButton, b.nombre, 360, top, 600, 600);
        boton->setIcon(style()->standardIcon(b.icono));
        boton->setIconSize(QSize(28, 28));
        if (*b.ayuda)
            boton->setToolTip(QString::fromUtf8(b.ayuda));
        *b.boton = boton;
        auto* label = place(etiqueta(QString::fromUtf8(b.texto)), b.etiquetaNombre, 1080, top + 30, 4200, 540);
        label->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
        top += 840;
    }
    cmdSalir = place(new QPushButton(QStringLiteral("Salir.")), "cmdSalir", 360, 8280, 1320, 420);
    cmdSalir->setToolTip(QStringLiteral("Salir del Programa."));
    lblVersion = place(new QLabel(QStringLiteral("Versión 5.1")), "lblVersion", 10200, 8400, 1440, 300);
    lblVersion->setStyleSheet(QStringLiteral("color: white;"));

    const QColor panel(0xEE, 0xF2, 0xF6);

    // Table maintenance.
    shaMantenimientos = place(new platform::Shape, "shaMantenimientos", 5400, 600, 6240, 3480);
    shaMantenimientos->setFillColor(panel);
    fraMantenimientos =
        place(new QGroupBox(QStringLiteral("Mantenimientos de tablas : ")), "fraMantenimientos", 5520, 720, 6000, 3240);
    const std::pair<platform::OptionButton**, std::pair<const char*, const char*>> opciones[] = {
        {&optIdioma, {"optIdioma", "Parámetros programa."}},
        {&optModelos, {"optModelos", "Modelos."}},
        {&optManTipoContrato, {"optManTipoContrato", "Tipo de Contrato."}},
        {&optManContrato, {"optManContrato", "Contratos."}},
        {&optClausulas, {"optClausulas", "Cláusulas."}},
        {&optMarcas, {"optMarcas", "Marcas."}},
    };
    top = 420;
    for (const auto& [opcion, textos] : opciones) {
        *opcion = place(new platform::OptionButton(QString::fromUtf8(textos.second)), textos.first, 480, top, 4200,
                        360, fraMantenimientos);
        top += 450;
    }

    // Server access.
    shaConfigurar = place(new platform::Shape, "shaConfigurar", 5400, 600, 6240, 4080);
    shaConfigurar->setFillColor(panel);
    fraConfigurar = place(new QGroupBox(QStringLiteral("Configurar Acceso al central Unix : ")), "fraConfigurar", 5520,
                          720, 6000, 3840);
    place(etiqueta(QStringLiteral("IP del Servidor : ")), "lblIp", 240, 480, 2160, 330, fraConfigurar);
    txtIp = place(new QLineEdit, "txtIp", 2520, 450, 2400, 360, fraConfigurar);
    mskIp = place(new platform::MaskEdBox, "mskIp", 2520, 450, 2400, 360, fraConfigurar);
    mskIp->setMask(QString::fromLatin1(kMascaraIp));
    place(etiqueta(QStringLiteral("Password del root : ")), "lblPassword", 240, 960, 2160, 330, fraConfigurar);
    txtPassword = place(new QLineEdit, "txtPassword", 2520, 930, 2400, 360, fraConfigurar);
    place(etiqueta(QStringLiteral("Usuario : ")), "lblUsuario", 240, 1440, 2160, 330, fraConfigurar);
    txtUsuario = place(new QLineEdit, "txtUsuario", 2520, 1410, 2400, 360, fraConfigurar);
    place(etiqueta(QStringLiteral("Clave  de   usuario para la importación de contratos : ")), "lblClaveUsuario", 240,
          1920, 4200, 600, fraConfigurar);
    txtClaveUsuario = place(new QLineEdit, "txtClaveUsuario", 4560, 2040, 720, 360, fraConfigurar);
    platform::fitToField(txtIp, 15);
    platform::fitToField(txtPassword, 15);
    platform::fitToField(txtUsuario, 15);
    platform::fitToField(txtClaveUsuario, 2);
    CmdGuardar = place(new QPushButton(QStringLiteral("Guardar.")), "CmdGuardar", 2520, 3120, 1320, 420, fraConfigurar);
    CmdGuardar->setToolTip(QStringLiteral("Grabar los datos de configuración."));
    cmdCerrar = place(new QPushButton(QStringLiteral("Cerrar.")), "cmdCerrar", 4080, 3120, 1320, 420, fraConfigurar);
    cmdCerrar->setToolTip(QStringLiteral("Cerrar la ventana de configuración."));

    // Alerts.
    shaAvisos = place(new platform::Shape, "shaAvisos", 5400, 4440, 6240, 3600);
    shaAvisos->setFillColor(panel);
    fraAvisos = place(new QGroupBox(QStringLiteral("Avisos : ")), "fraAvisos", 5520, 4560, 6000, 3360);
    lblAvisos = place(etiqueta(QString()), "lblAvisos", 240, 300, 5520, 480, fraAvisos);
    mshAvisos = place(new platform::FlexGrid, "mshAvisos", 240, 840, 5520, 2340, fraAvisos);

    // Import results.
    shaResultados = place(new platform::Shape, "shaResultados", 5400, 600, 6240, 7560);
    shaResultados->setFillColor(panel);
    lblTituloR =
        place(new QLabel(QStringLiteral("RESULTADOS IMPORTACIÓN DE DATOS")), "lblTituloR", 5520, 720, 6000, 360);
    lblTituloR->setAlignment(Qt::AlignCenter);
    lblTituloR->setStyleSheet(QStringLiteral("font-weight: bold;"));
    const auto resultados = [this](QGroupBox* marco, const char* const etiquetas[3], QLineEdit** cajas[3],
                                   const char* const nombres[3], const char* boton) {
        int y = 360;
        for (int i = 0; i < 3; ++i) {
            place(etiqueta(QString::fromUtf8(etiquetas[i])), (std::string(nombres[i]) + "Etiqueta").c_str(), 240, y,
                  3000, 330, marco);
            *cajas[i] = place(new QLineEdit, nombres[i], 3360, y - 30, 1200, 360, marco);
            (*cajas[i])->setReadOnly(true);
            y += 450;
        }
        return place(new QPushButton(QStringLiteral("Listado Discordancias.")), boton, 3360, y, 2400, 420, marco);
    };
    fraResultadosE = place(new QGroupBox(QStringLiteral("Empresas : ")), "fraResultadosE", 5520, 1200, 6000, 2280);
    {
        const char* const etiquetas[3] = {"Contratos Traspasados :", "Nuevas Empresas : ", "Discordancias : "};
        QLineEdit** cajas[3] = {&txtEmpresas, &txtNuevasE, &txtDiscordanciasE};
        const char* const nombres[3] = {"txtEmpresas", "txtNuevasE", "txtDiscordanciasE"};
        cmdListadoE = resultados(fraResultadosE, etiquetas, cajas, nombres, "cmdListadoE");
    }
    fraResultadosT = place(new QGroupBox(QStringLiteral("Trabajadores : ")), "fraResultadosT", 5520, 3600, 6000, 2280);
    {
        const char* const etiquetas[3] = {"Trabajadores Traspasados:", "Nuevos Trabajadores : ", "Discordancias : "};
        QLineEdit** cajas[3] = {&txtTrabajadores, &txtNuevosT, &txtDiscordanciasT};
        const char* const nombres[3] = {"txtTrabajadores", "txtNuevosT", "txtDiscordanciasT"};
        cmdListadoT = resultados(fraResultadosT, etiquetas, cajas, nombres, "cmdListadoT");
    }
    fraListado = place(new QGroupBox(QStringLiteral("Listado Discordancias :")), "fraListado", 5520, 1200, 6000, 4680);
    lstDiscordancias = place(new QListWidget, "lstDiscordancias", 240, 360, 5520, 4080, fraListado);
    cmdCerrarResultados =
        place(new QPushButton(QStringLiteral("Cerrar.")), "cmdCerrarResultados", 10200, 7560, 1320, 420);

    // Catalogue update, on a backing like the other panels'.
    shaActualizacion = place(new platform::Shape, "shaActualizacion", 5400, 4440, 3840, 2160);
    shaActualizacion->setFillColor(panel);
    fraActualizacion =
        place(new QGroupBox(QStringLiteral("Actualización : ")), "fraActualizacion", 5520, 4560, 3600, 1920);
    optActualizacion[0] = place(new platform::OptionButton(QStringLiteral("Nuevos Modelos")), "optActualizacion0", 240,
                                360, 3000, 360, fraActualizacion);
    optActualizacion[1] = place(new platform::OptionButton(QStringLiteral("Actualizar contratos")),
                                "optActualizacion1", 240, 780, 3000, 360, fraActualizacion);
    cmdEsconder =
        place(new QPushButton(QStringLiteral("Cerrar")), "cmdEsconder", 2160, 1320, 1200, 420, fraActualizacion);

    // Update page.
    WebBrowser1 = place(new platform::WebPanel, "WebBrowser1", 0, 0, 12000, 6900);
    cmdCerrarInternet =
        place(new QPushButton(QStringLiteral("Cerrar Internet")), "cmdCerrarInternet", 5400, 7200, 1800, 420);

    List1 = place(new QListWidget, "List1", 0, 0, 1200, 600);

    for (QWidget* oculto :
         std::initializer_list<QWidget*>{shaMantenimientos, fraMantenimientos, shaConfigurar, fraConfigurar, mskIp,
                                         CmdGuardar, cmdCerrar, shaAvisos, fraAvisos, shaResultados, lblTituloR,
                                         fraResultadosE, fraResultadosT, fraListado, cmdCerrarResultados,
                                         fraActualizacion, WebBrowser1, cmdCerrarInternet, List1})
        oculto->hide();
    shaActualizacion->follow(fraActualizacion);

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu* programa = menuBar->addMenu(QStringLiteral("Programa"));
    const auto entrada = [this](QMenu* menu, const char* nombre, const QString& texto, void (frmMenu::*accion)()) {
        QAction* a = menu->addAction(texto);
        a->setObjectName(QString::fromLatin1(nombre));
        connect(a, &QAction::triggered, this, [this, accion] { platform::runHandler([&] { (this->*accion)(); }); });
        return a;
    };
    mnuEmpresas = entrada(programa, "mnuEmpresas", QStringLiteral("Empresas"), &frmMenu::cmdEmpresas_Click);
    mnuContratos = entrada(programa, "mnuContratos", QStringLiteral("Contratos"), &frmMenu::cmdContratos_Click);
    mnuTablas = entrada(programa, "mnuTablas", QStringLiteral("Tablas"), &frmMenu::cmdTablas_Click);
    mnuConfigurar = entrada(programa, "mnuConfigurar", QStringLiteral("Configurar"), &frmMenu::cmdConfigurar_Click);
    mnuImportar = entrada(programa, "mnuImportar", QStringLiteral("Importar"), &frmMenu::cmdImportar_Click);
    mnuListado = entrada(programa, "mnuListado", QStringLiteral("Listado"), &frmMenu::cmdListado_Click);
    programa->addSeparator();
    mnuSalir = entrada(programa, "mnuSalir", QStringLiteral("Salir"), &frmMenu::cmdSalir_Click);
    mnuAcerca = menuBar->addAction(QStringLiteral("Acerca De"));
    mnuAcerca->setObjectName(QStringLiteral("mnuAcerca"));
    connect(mnuAcerca, &QAction::triggered, this, [this] { platform::runHandler([this] { mnuAcerca_Click(); }); });

    onClick(cmdEmpresas, [this] { cmdEmpresas_Click(); });
    onClick(cmdContratos, [this] { cmdContratos_Click(); });
    onClick(cmdPlantillas, [this] { cmdPlantillas_Click(); });
    onClick(cmdTablas, [this] { cmdTablas_Click(); });
    onClick(cmdConfigurar, [this] { cmdConfigurar_Click(); });
    onClick(cmdImportar, [this] { cmdImportar_Click(); });
    onClick(cmdListado, [this] { cmdListado_Click(); });
    onClick(cmdTraspaso, [this] { cmdTraspaso_Click(); });
    onClick(cmdActualizar, [this] { cmdActualizar_Click(); });
    onClick(cmdCerrarInternet, [this] { cmdCerrarInternet_Click(); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });
    onClick(CmdGuardar, [this] { CmdGuardar_Click(); });
    onClick(cmdCerrar, [this] { cmdCerrar_Click(); });
    onClick(cmdCerrarResultados, [this] { cmdCerrarResultados_Click(); });
    onClick(cmdListadoE, [this] { cmdListadoE_Click(); });
    onClick(cmdListadoT, [this] { cmdListadoT_Click(); });
    onClick(cmdEsconder, [this] { cmdEsconder_Click(); });
    for (int i = 0; i < 2; ++i)
        onClick(optActualizacion[i], [this, i] { optActualizacion_Click(i); });
    onClick(optIdioma, [this] { optIdioma_Click(); });
    onClick(optModelos, [this] { optModelos_Click(); });
    onClick(optManTipoContrato, [this] { optManTipoContrato_Click(); });
    onClick(optManContrato, [this] { optManContrato_Click(); });
    onClick(optClausulas, [this] { optClausulas_Click(); });
    onClick(optMarcas, [this] { optMarcas_Click(); });

    txtIp->installEventFilter(this);
    mskIp->KeyPress = [this](int& k) { mskIp_KeyPress(k); };
    mskIp->KeyUp = [this](int code, int shift) { mskIp_KeyUp(code, shift); };
    mskIp->Validate = [this](bool& cancel) { mskIp_Validate(cancel); };
    mskIp->LostFocus = [this] { mskIp_LostFocus(); };
    // The focus may move while the window is not active, which the masked box
    // is not told of; once it lands on another control of the window, the
    // entry is left as if the focus had gone there from it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != mskIp && isAncestorOf(now) && isShown(mskIp))
            mskIp->leaveFocus();
    });
}

void frmMenu::Form_Load()
{
    Elastico().Init(*this);
    CargarFondo();
    QDir().mkpath(platform::hostPath(QString::fromLatin1(kCarpetaContratos)));

    if (PrimeraCarga != QLatin1String("No")) {
        platform::Hourglass reloj(*this);
        try {
            auto db = AbrirBaseDatos();
            produccion::TerminarDocumentosGuardados(db);
        } catch (const std::exception&) {
            // Tried again before the next document is stored.
        }
        try {
            LeerConfiguracion();
            const QString dias = configuracion_.DiasAviso.trimmed();
            bool numerico = false;
            const int n = dias.toInt(&numerico);
            if (configuracion_.Avisos == QLatin1String("Si") && numerico)
                LlenarAvisos(n);
            PrimeraCarga = QStringLiteral("No");
        } catch (const std::exception&) {
            // The start-up pass is tried again at the next load.
        }
    }
    if (!avisosAnadidos_) {
        fraAvisos->hide();
        shaAvisos->hide();
    } else {
        mshAvisos->setRows(mshAvisos->Rows() - 1);
        fraAvisos->show();
        shaAvisos->show();
    }
    OctetoCorregido = false;
    for (const char* carpeta : {exchange::kContratosTemp, exchange::kContratosImp})
        QDir().mkpath(platform::hostPath(QString::fromLatin1(carpeta)));
    setMousePointer(0);

    // Back from a screen, the keyboard is on the control that opened it; an
    // option of the maintenance panel once the panel opens again.
    const QString nombreUsado = std::exchange(abiertaDesde(), QString());
    if (auto* usado = nombreUsado.isEmpty() ? nullptr : findChild<QWidget*>(nombreUsado)) {
        if (fraMantenimientos->isAncestorOf(usado))
            opcionUsada_ = usado;
        else
            platform::giveFocus(usado);
    }
}

void frmMenu::Form_Activate()
{
    RutaBaseDatos();
}

void frmMenu::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmMenu::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    menuBar->setGeometry(0, 0, width(), menuBar->sizeHint().height());
    menuBar->raise();
}

void frmMenu::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), fondo_);
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtIp && event->type() == QEvent::MouseButtonDblClick) {
        txtIp_DblClick();
        return true;
    }
    return Form::eventFilter(watched, event);
}

// The background picture made for the screen's size, when there is one.
void frmMenu::CargarFondo()
{
    const auto& pantalla = platform::screen();
    const int ancho = platform::twipsToPixels(pantalla.widthTwips());
    const int alto = platform::twipsToPixels(pantalla.heightTwips());
    QString nombre;
    if (ancho == 800)
        nombre = QStringLiteral("Tervalo800600.jpg");
    else if (ancho == 1024)
        nombre = QStringLiteral("Tervalo1024768.jpg");
    else if (ancho == 1280 && alto == 768)
        nombre = QStringLiteral("Tervalo1280768.jpg");
    else if (ancho == 1280 && alto == 800)
        nombre = QStringLiteral("Tervalo1280800.jpg");
    else if (ancho == 1280 && alto == 1024)
        nombre = QStringLiteral("Tervalo12801024.jpg");
    if (nombre.isEmpty())
        return;
    const QPixmap imagen(platform::programFolder() + QStringLiteral("/Fondo/") + nombre);
    if (!imagen.isNull())
        fondo_ = imagen;
    update();
}

void frmMenu::LlenarAvisos(int dias)
{
    MostrarMensaje(QStringLiteral("Cargando Avisos."));
    auto db = AbrirBaseDatos();
    bool hayCandidatos = false;
    const auto avisos = BuscarAvisos(db, dias, platform::clock().today(), &hayCandidatos);

    mshAvisos->setRows(2);
    const char* const cabeceras[] = {"Nombre Trabajador", "Núm. Empresa", "Fecha Fin"};
    const int anchos[] = {2500, 1300, 1300};
    mshAvisos->setCols(3);
    for (int c = 0; c < 3; ++c) {
        mshAvisos->setTextMatrix(0, c, QString::fromUtf8(cabeceras[c]));
        mshAvisos->setColWidth(c, anchos[c]);
    }
    lblAvisos->setText(QStringLiteral("Trabajadores que finalizan la prórroga en menos de %1 días.").arg(dias));
    if (!hayCandidatos) {
        MostrarMensaje(QStringLiteral("No hay Avisos."));
        return;
    }
    if (avisos.empty())
        return;
    // All the rows at once, and the empty row after them that the load takes away.
    mshAvisos->setRows(static_cast<int>(avisos.size()) + 2);
    int fila = 1;
    const platform::FlexGrid::BulkFill relleno(*mshAvisos);
    for (const Aviso& aviso : avisos) {
        mshAvisos->setTextMatrix(fila, 0, aviso.NombreTrabajador);
        mshAvisos->setTextMatrix(fila, 1, aviso.NumEmpresa);
        mshAvisos->setTextMatrix(fila, 2, platform::formatDate(aviso.FechaFin));
        ++fila;
    }
    avisosAnadidos_ = true;
}

void frmMenu::cmdEmpresas_Click()
{
    abiertaDesde() = cmdEmpresas->objectName();
    Forms::unload<frmEmpresas>();
    Forms::show<frmEmpresas>();
    Forms::unload(*this);
}

void frmMenu::cmdContratos_Click()
{
    abiertaDesde() = cmdContratos->objectName();
    Forms::unload<frmListadoContratos>();
    Forms::show<frmListadoContratos>();
    Forms::unload(*this);
}

// The options of the table-maintenance panel open their window in place of
// the main window.
template <class Ventana>
static void abrirMantenimiento(frmMenu& menu, const platform::OptionButton& opcion)
{
    if (!opcion.value())
        return;
    abiertaDesde() = opcion.objectName();
    Forms::show<Ventana>();
    Forms::unload(menu);
}

void frmMenu::optModelos_Click()
{
    abrirMantenimiento<frmModelos>(*this, *optModelos);
}

void frmMenu::optManTipoContrato_Click()
{
    abrirMantenimiento<frmManContratos>(*this, *optManTipoContrato);
}

void frmMenu::optManContrato_Click()
{
    abrirMantenimiento<frmManContrato>(*this, *optManContrato);
}

void frmMenu::optClausulas_Click()
{
    abrirMantenimiento<frmClausulas>(*this, *optClausulas);
}

void frmMenu::optMarcas_Click()
{
    abrirMantenimiento<frmMarcas>(*this, *optMarcas);
}

// The template browser starts afresh on every visit.
void frmMenu::cmdPlantillas_Click()
{
    abiertaDesde() = cmdPlantillas->objectName();
    Forms::unload<frmDocumentos>();
    Forms::show<frmDocumentos>();
    Forms::unload(*this);
}

// The results, alerts and catalogue update panels give way to the panel
// being opened.
void frmMenu::CerrarResultadosYAvisos()
{
    if (isShown(fraResultadosE))
        cmdCerrarResultados_Click();
    if (isShown(fraAvisos)) {
        fraAvisos->hide();
        shaAvisos->hide();
    }
    fraActualizacion->hide();
}

void frmMenu::cmdTablas_Click()
{
    CerrarResultadosYAvisos();
    fraMantenimientos->show();
    shaMantenimientos->show();
    MostrarPanelConfiguracion(false);
    if (opcionUsada_)
        platform::giveFocus(std::exchange(opcionUsada_, nullptr));
}

void frmMenu::cmdListado_Click()
{
    Forms::show<frmListadoImportados>();
    Forms::hide(*this);
}

void frmMenu::closeEvent(QCloseEvent* event)
{
    if (importando_) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

void frmMenu::cmdSalir_Click()
{
    Forms::unload(*this);
    Forms::endProgram();
}

void frmMenu::optIdioma_Click()
{
    Forms::show<frmIdioma>();
}

void frmMenu::mnuAcerca_Click()
{
    Forms::show<frmAcercade>();
}
