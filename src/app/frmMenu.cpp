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
#include "exchange/ActualizacionCatalogo.h"
#include "exchange/Buscar.h"
#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"
#include "exchange/Servidor.h"
#include "exchange/frmListadoImportados.h"
#include "listings/frmListadoContratos.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/Screen.h"
#include "platform/WebPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QUrlQuery>

using platform::Forms;
using platform::isShown;

// The built-in pictures live in the resources of a static library.
static void cargarRecursos()
{
    Q_INIT_RESOURCE(tervalo);
}

namespace {

constexpr auto kMascaraIp = "CCC.CCC.CCC.CCC";

// Octet 1-4 of the masked address text (places 1-3, 5-7, 9-11, 13-15).
QString octeto(const QString& texto, int n)
{
    return texto.mid((n - 1) * 4, 3);
}

QString conOcteto(QString texto, int n, const QString& valor)
{
    texto.replace((n - 1) * 4, 3, valor);
    return texto;
}

// The number an octet holds, blanks around the digits allowed; nothing when
// it holds anything else.
std::optional<int> numeroDeOcteto(const QString& octetoTexto)
{
    const QString recortado = octetoTexto.trimmed();
    if (recortado.isEmpty())
        return std::nullopt;
    for (QChar c : recortado) {
        if (!c.isDigit())
            return std::nullopt;
    }
    return recortado.toInt();
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

namespace {
// The maker's update server; the page comes over an encrypted connection.
QUrl& servidorActualizaciones()
{
    static QUrl servidor;
    return servidor;
}
} // namespace

void frmMenu::setServidorActualizaciones(const QUrl& servidor)
{
    servidorActualizaciones() = servidor;
}

QUrl frmMenu::PaginaActualizaciones()
{
    QUrl url = servidorActualizaciones();
    if (url.isEmpty())
        url = QUrl(QStringLiteral("https://actualizaciones.quelvan.es"));
    url.setPath(QStringLiteral("/index.php"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("id_soft"), QStringLiteral("6/"));
    url.setQuery(query);
    return url;
}

void frmMenu::Form_Load()
{
    Elastico().Init(*this);
    CargarFondo();
    QDir().mkpath(platform::hostPath(QString::fromLatin1(kCarpetaContratos)));

    if (PrimeraCarga != QLatin1String("No")) {
        platform::Hourglass reloj(*this);
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
    Forms::unload<frmEmpresas>();
    Forms::show<frmEmpresas>();
    Forms::unload(*this);
}

void frmMenu::cmdContratos_Click()
{
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
}

void frmMenu::MostrarPanelConfiguracion(bool visible)
{
    // The masked entry ends with the panel; it opens again on an empty mask.
    mskIp->hide();
    txtIp->show();
    for (QWidget* w : std::initializer_list<QWidget*>{fraConfigurar, shaConfigurar, CmdGuardar, cmdCerrar})
        w->setVisible(visible);
}

void frmMenu::LeerConfiguracion()
{
    configuracion_ = ::LeerConfiguracion();
}

void frmMenu::cmdConfigurar_Click()
{
    CerrarResultadosYAvisos();
    try {
        LeerConfiguracion();
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    // The blanks that pad the fields belong to the file, not to the text.
    txtIp->setText(platform::unpadded(configuracion_.Ip));
    txtPassword->setText(platform::unpadded(configuracion_.Password));
    txtUsuario->setText(platform::unpadded(configuracion_.Usuario));
    txtClaveUsuario->setText(platform::unpadded(configuracion_.ClaveUsuario));
    MostrarPanelConfiguracion(true);
    shaMantenimientos->hide();
    fraMantenimientos->hide();
}

void frmMenu::CmdGuardar_Click()
{
    // What the masked entry shows is the address, whether or not its box has
    // been left.
    if (!CerrarEntradaIp())
        return;
    // An address of empty octets ("...") is no address at all.
    QString ip = txtIp->text();
    if (ip.trimmed().remove(QLatin1Char('.')).trimmed().isEmpty())
        ip.clear();
    try {
        // Re-read so that the parameters saved meanwhile by another window stay.
        configuracion_ = ActualizarConfiguracion([&](DatosConfiguracion& d) {
            d.Ip = ip;
            d.Password = txtPassword->text();
            d.Usuario = txtUsuario->text();
            d.ClaveUsuario = txtClaveUsuario->text();
        });
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    MostrarMensaje(QStringLiteral("Datos de la configuración grabados."));
    MostrarPanelConfiguracion(false);
}

void frmMenu::cmdCerrar_Click()
{
    MostrarPanelConfiguracion(false);
}

void frmMenu::cmdCerrarResultados_Click()
{
    for (QWidget* w : std::initializer_list<QWidget*>{shaResultados, fraListado, fraResultadosE, fraResultadosT,
                                                      lblTituloR, cmdCerrarResultados})
        w->hide();
}

// Fetches the contract records of the payroll server, imports them into the
// companies and workers, and shows what the run did. While it runs the window
// keeps painting but takes no input, so it can neither start again nor close.
void frmMenu::cmdImportar_Click()
{
    if (importando_)
        return;
    if (isShown(fraConfigurar))
        cmdCerrar_Click();
    fraMantenimientos->hide();
    shaMantenimientos->hide();
    fraActualizacion->hide();
    List1->clear();
    try {
        LeerConfiguracion();
    } catch (const platform::FileError&) {
        platform::MsgBox(QStringLiteral("Se ha producido un error al importar datos del central Unix."),
                         platform::style::Critical);
        return;
    }
    if (configuracion_.Ip.trimmed().isEmpty()) {
        platform::MsgBox(QStringLiteral("No se ha introducido una IP de servidor."), platform::style::Critical);
        return;
    }

    importando_ = true;
    std::vector<QWidget*> desactivados;
    for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow() && control->isEnabled()) {
            control->setEnabled(false);
            desactivados.push_back(control);
        }
    }
    const auto reactivar = qScopeGuard([&] {
        for (QWidget* control : desactivados)
            control->setEnabled(true);
        importando_ = false;
    });

    // The notice may still be loaded from a print run, saying so.
    auto& aviso = Forms::get<frmImprimiendo>();
    aviso.lblImprimir->setText(QStringLiteral("Importando."));
    QCoreApplication::processEvents();
    Forms::show(aviso);
    TraerContratosServidor();
    BuscarImportados();
    ProcesarContratosImportados();
    platform::MsgBox(QStringLiteral("Ha finalizado la importación de contratos"), platform::style::Information);

    fraListado->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{shaResultados, fraResultadosE, fraResultadosT, lblTituloR,
                                                      cmdCerrarResultados})
        w->show();
    txtEmpresas->setText(QString::number(ContadorFicheros));
    txtTrabajadores->setText(QString::number(ContadorFicheros));
    txtNuevasE->setText(QString::number(ContadorNuevasE));
    txtDiscordanciasE->setText(QString::number(ContadorDiscordanciasE));
    txtNuevosT->setText(QString::number(ContadorNuevosT));
    txtDiscordanciasT->setText(QString::number(ContadorDiscordanciasT));
    cmdListadoT->setVisible(ContadorDiscordanciasT > 0);
    Forms::unload<frmImprimiendo>();
}

// A fetch that did not go through whole is told; the import goes on with
// whatever arrived.
void frmMenu::TraerContratosServidor()
{
    bool traidos = false;
    try {
        LeerConfiguracion();
        traidos = exchange::TraerContratosServidor(configuracion_);
    } catch (const std::exception&) {
        traidos = false;
    }
    if (!traidos)
        platform::MsgBox(QStringLiteral("Se ha producido un error al conectar con el Servidor UNIX."),
                         platform::style::Critical);
}

void frmMenu::ProcesarContratosImportados()
{
    QStringList ficheros;
    for (int i = 0; i < List1->count(); ++i)
        ficheros << List1->item(i)->text();
    exchange::ResultadoImportacion resultado;
    try {
        auto db = AbrirBaseDatos();
        resultado = exchange::ProcesarContratosImportados(db, ficheros);
    } catch (const platform::DbError& error) {
        platform::MsgBox(exchange::MensajeBaseDatos(error), platform::style::Critical);
    }
    const exchange::ContadoresImportacion& c = resultado.contadores;
    ContadorFicheros = c.Ficheros;
    ContadorNuevasE = c.NuevasEmpresas;
    ContadorNuevosT = c.NuevosTrabajadores;
    ContadorDiscordanciasE = c.DiscordanciasE;
    ContadorDiscordanciasT = c.DiscordanciasT;
    cmdListadoE->setVisible(ContadorDiscordanciasE > 0);
}

void frmMenu::cmdListadoE_Click()
{
    ListarDiscordancias(exchange::kDiscordanciasE, 35, 0, ContadorDiscordanciasE);
}

void frmMenu::cmdListadoT_Click()
{
    ListarDiscordancias(exchange::kDiscordanciasT, 40, 5, ContadorDiscordanciasT);
}

// Lists the names of the latest run's conflicts of one kind, as the log keeps
// them (30 characters from `inicioNombre` of each record).
void frmMenu::ListarDiscordancias(const char* log, int longitudRegistro, int inicioNombre, int cuantas)
{
    fraResultadosE->hide();
    fraResultadosT->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{shaResultados, lblTituloR, fraListado, cmdCerrarResultados})
        w->show();
    lstDiscordancias->clear();
    QByteArray registros;
    try {
        registros = platform::readWholeFile(platform::hostPath(QString::fromLatin1(log)));
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    for (int i = 0; i < cuantas && (i + 1) * longitudRegistro <= registros.size(); ++i)
        lstDiscordancias->addItem(platform::fromCp1252(registros.mid(i * longitudRegistro + inicioNombre, 30)));
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

void frmMenu::cmdEsconder_Click()
{
    fraActualizacion->hide();
}

// The catalogue update panel, in the place of the alerts. Its options start
// cleared, so that each can be chosen again.
void frmMenu::cmdTraspaso_Click()
{
    CerrarResultadosYAvisos();
    for (platform::OptionButton* opcion : optActualizacion)
        opcion->setValue(false);
    fraActualizacion->show();
    fraActualizacion->raise();
}

void frmMenu::optActualizacion_Click(int Index)
{
    // The notice's pause lets window events through: meanwhile the window
    // takes no clicks, so the same file is not applied twice and the window
    // is neither closed nor left for another under the running update.
    const platform::BlockedWindow bloqueo(*this);
    if (Index == 0)
        ImportarModelos();
    else if (Index == 1)
        ActualizarContratos();
}

namespace {

// The notice kept up while an update file is applied.
actualizacion::Aviso avisoDeProceso(const QString& texto)
{
    return {[texto] {
                auto& mensaje = Forms::get<frmMensaje>();
                mensaje.lblMensaje->setText(texto);
                Forms::show(mensaje);
                Esperar(1);
            },
            [] { Forms::unload<frmMensaje>(); }};
}

// Runs `aplicar` on the database, or says why the database cannot be opened.
template <class F>
void conBaseDatos(platform::Form& ventana, F aplicar)
{
    std::optional<platform::Database> db;
    try {
        db.emplace(AbrirBaseDatos());
    } catch (const platform::DbError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    platform::Hourglass reloj(ventana);
    aplicar(*db);
}

} // namespace

void frmMenu::ImportarModelos()
{
    if (platform::MsgBox(QStringLiteral("Va a proceder a importar modelos nuevos y modificaciones de la base de datos, "
                                        "¿Desea Continuar?"),
                         platform::style::YesNo)
        != platform::Answer::Yes)
        return;
    conBaseDatos(*this, [](platform::Database& db) {
        actualizacion::ImportarModelos(db, platform::hostPath(QString::fromLatin1(actualizacion::kFicheroModelos)),
                                       avisoDeProceso(QStringLiteral("Traspasando Modelos.")));
    });
}

void frmMenu::ActualizarContratos()
{
    conBaseDatos(*this, [](platform::Database& db) {
        actualizacion::ActualizarContratos(db,
                                           platform::hostPath(QString::fromLatin1(actualizacion::kFicheroContratos)),
                                           avisoDeProceso(QStringLiteral("Actualizando Contratos.")));
    });
}

void frmMenu::cmdActualizar_Click()
{
    const int arriba = menuBar->sizeHint().height();
    WebBrowser1->setGeometry(0, arriba, width(), static_cast<int>(height() / 1.3));
    cmdCerrarInternet->show();
    cmdCerrarInternet->raise();
    WebBrowser1->show();
    WebBrowser1->raise();
    menuBar->raise();
    WebBrowser1->Navigate(PaginaActualizaciones());
}

void frmMenu::cmdCerrarInternet_Click()
{
    WebBrowser1->hide();
    cmdCerrarInternet->hide();
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

// Masked entry of the server address: it opens on a double click of the
// address, moves from octet to octet with ".", and refuses octets above 255.

void frmMenu::txtIp_DblClick()
{
    mskIp->show();
    txtIp->hide();
    mskIp->setText(mskIp->emptyText());
    mskIp->setFocus();
    mskIp->setSelStart(0);
}

void frmMenu::mskIp_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 8 || (KeyAscii >= '0' && KeyAscii <= '9'))
        return;
    if (KeyAscii == ' ') {
        if (CerrandoOcteto)
            PasoBlanco();
        return;
    }
    if (KeyAscii != '.') {
        KeyAscii = 0;
        return;
    }

    // "." closes the octet before the first empty one.
    PosicionIp = 0;
    const QString texto = mskIp->Text();
    const QString vacio = QStringLiteral("___");
    if (octeto(texto, 1) == vacio) {
        PosicionIp = 1;
        KeyAscii = '_';
    } else {
        int k = 4;
        for (int n = 2; n <= 4; ++n) {
            if (octeto(texto, n) == vacio) {
                k = n - 1;
                break;
            }
        }
        const int b = (k - 1) * 4 + 2;
        const int c = b + 1;
        if (k < 4 && texto.at(c - 1) != QLatin1Char('_')) {
            PosicionIp = k * 4 + 1;
            KeyAscii = '_';
        } else if (texto.at(b - 1) == QLatin1Char('_')) {
            PosicionIp = b;
            KeyAscii = ' ';
        } else if (texto.at(c - 1) == QLatin1Char('_')) {
            PosicionIp = c;
        }
    }
    if (PosicionIp != 0) {
        CerrandoOcteto = true;
        PasoBlanco();
        CerrandoOcteto = false;
    }
}

// Blanks the place PosicionIp and moves the cursor past it; at the end of the
// last octet the entry moves on to the user name.
void frmMenu::PasoBlanco()
{
    BlanquearPosicionIp(PosicionIp);
    switch (PosicionIp) {
    case 1:
    case 5:
    case 9:
    case 13:
        mskIp->setSelStart(PosicionIp - 1);
        break;
    case 14:
    case 15:
        txtUsuario->setFocus();
        if (isShown(mskIp))
            mskIp->leaveFocus();
        break;
    default:
        mskIp->setSelStart(PosicionIp);
        break;
    }
}

void frmMenu::BlanquearPosicionIp(int posicion)
{
    QString texto = mskIp->Text();
    switch (posicion) {
    case 2:
    case 3:
    case 6:
    case 7:
    case 10:
    case 11:
    case 15:
        texto[posicion - 1] = QLatin1Char(' ');
        break;
    case 14:
        texto[13] = QLatin1Char(' ');
        texto[14] = QLatin1Char(' ');
        break;
    default:
        return;
    }
    mskIp->setText(texto);
}

void frmMenu::SituarEnOcteto(int octetoNumero)
{
    if (octetoNumero >= 1 && octetoNumero <= 4)
        mskIp->setSelStart((octetoNumero - 1) * 4);
    OctetoCorregido = true;
}

void frmMenu::mskIp_KeyUp(int, int)
{
    if (OctetoCorregido) {
        OctetoCorregido = false;
        return;
    }
    RechazarOctetoAlto();
}

// The first octet above 255 is refused: the message, the octet emptied and
// the cursor at its start. False when there is none.
bool frmMenu::RechazarOctetoAlto()
{
    const QString texto = mskIp->Text();
    for (int n = 1; n <= 4; ++n) {
        const auto valor = numeroDeOcteto(octeto(texto, n));
        if (valor && *valor > 255) {
            platform::MsgBox(n == 2 ? QStringLiteral("No es posible un valor de campo superior a 255")
                                    : QStringLiteral("No es posible un valor de campo superio a 255"),
                             platform::style::Critical);
            mskIp->setText(conOcteto(mskIp->Text(), n, QStringLiteral("___")));
            SituarEnOcteto(n);
            return true;
        }
    }
    return false;
}

// Ends an open masked entry with the address it shows, as leaving its box
// does; an octet above 255 is refused instead and the entry stays open.
bool frmMenu::CerrarEntradaIp()
{
    if (!isShown(mskIp))
        return true;
    if (RechazarOctetoAlto()) {
        mskIp->setFocus();
        return false;
    }
    return mskIp->leaveFocus();
}

void frmMenu::mskIp_Validate(bool&)
{
    QString texto = mskIp->Text();
    const QString vacio = QStringLiteral("___");
    for (int n = 1; n <= 4; ++n) {
        const auto valor = numeroDeOcteto(octeto(CambiarGuiones(texto), n));
        if (octeto(texto, n) != vacio && valor && *valor > 255)
            texto = conOcteto(texto, n, vacio);
    }
    if (octeto(texto, 4) != vacio)
        texto = conOcteto(texto, 4, CambiarGuiones(octeto(texto, 4)));
    mskIp->setText(texto);
}

void frmMenu::mskIp_LostFocus()
{
    const QString u = CambiarGuiones(mskIp->Text());
    txtIp->setText(octeto(u, 1).trimmed() + QLatin1Char('.') + octeto(u, 2).trimmed() + QLatin1Char('.')
                   + octeto(u, 3).trimmed() + QLatin1Char('.') + octeto(u, 4).trimmed());
    txtIp->show();
    mskIp->hide();
}
