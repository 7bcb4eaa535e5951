#pragma once

#include "data/Configuracion.h"
#include "platform/Form.h"

#include <QPixmap>
#include <QPointer>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;

namespace platform {
class FlexGrid;
class MaskEdBox;
class OptionButton;
class Shape;
class WebPanel;
} // namespace platform

// The main window ("Menú Principal"): the hub from which every screen is
// opened, with the table-maintenance, server-access, alerts and import
// results panels, and the update page.
class frmMenu : public platform::Form {
    Q_OBJECT
public:
    frmMenu();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

    // Address of the maker's update page, on the maker's server unless
    // another one was set (scheme, host and port: the page keeps its path).
    static QUrl PaginaActualizaciones();
    static void setServidorActualizaciones(const QUrl& servidor);

    // Picture buttons and their labels.
    QPushButton* cmdEmpresas;
    QPushButton* cmdContratos;
    QPushButton* cmdPlantillas;
    QPushButton* cmdTablas;
    QPushButton* cmdConfigurar;
    QPushButton* cmdImportar;
    QPushButton* cmdListado;
    QPushButton* cmdTraspaso;
    QPushButton* cmdActualizar;
    QPushButton* cmdSalir;
    QLabel* lblVersion;

    // Table maintenance.
    platform::Shape* shaMantenimientos;
    QGroupBox* fraMantenimientos;
    platform::OptionButton* optIdioma;
    platform::OptionButton* optModelos;
    platform::OptionButton* optManTipoContrato;
    platform::OptionButton* optManContrato;
    platform::OptionButton* optClausulas;
    platform::OptionButton* optMarcas;

    // Server access.
    platform::Shape* shaConfigurar;
    QGroupBox* fraConfigurar;
    QLineEdit* txtIp;
    platform::MaskEdBox* mskIp;
    QLineEdit* txtPassword;
    QLineEdit* txtUsuario;
    QLineEdit* txtClaveUsuario;
    QPushButton* CmdGuardar;
    QPushButton* cmdCerrar;

    // Alerts.
    platform::Shape* shaAvisos;
    QGroupBox* fraAvisos;
    platform::FlexGrid* mshAvisos;
    QLabel* lblAvisos;

    // Import results.
    platform::Shape* shaResultados;
    QLabel* lblTituloR;
    QGroupBox* fraResultadosE;
    QLineEdit* txtEmpresas;
    QLineEdit* txtNuevasE;
    QLineEdit* txtDiscordanciasE;
    QPushButton* cmdListadoE;
    QGroupBox* fraResultadosT;
    QLineEdit* txtTrabajadores;
    QLineEdit* txtNuevosT;
    QLineEdit* txtDiscordanciasT;
    QPushButton* cmdListadoT;
    QGroupBox* fraListado;
    QListWidget* lstDiscordancias;
    QPushButton* cmdCerrarResultados;

    // Catalogue update.
    platform::Shape* shaActualizacion;
    QGroupBox* fraActualizacion;
    platform::OptionButton* optActualizacion[2];
    QPushButton* cmdEsconder;

    // Update page.
    platform::WebPanel* WebBrowser1;
    QPushButton* cmdCerrarInternet;

    // File list shared with the exchange with the payroll server.
    QListWidget* List1;

    QMenuBar* menuBar;
    QAction* mnuEmpresas;
    QAction* mnuContratos;
    QAction* mnuTablas;
    QAction* mnuConfigurar;
    QAction* mnuImportar;
    QAction* mnuListado;
    QAction* mnuSalir;
    QAction* mnuAcerca;

    void cmdEmpresas_Click();
    void cmdContratos_Click();
    void cmdPlantillas_Click();
    void cmdTablas_Click();
    void cmdConfigurar_Click();
    void cmdImportar_Click();
    void cmdListado_Click();
    void cmdTraspaso_Click();
    void cmdActualizar_Click();
    void cmdCerrarInternet_Click();
    void cmdSalir_Click();
    void CmdGuardar_Click();
    void cmdCerrar_Click();
    void cmdCerrarResultados_Click();
    void cmdListadoE_Click();
    void cmdListadoT_Click();
    void cmdEsconder_Click();
    void optActualizacion_Click(int Index);
    void optIdioma_Click();
    void optModelos_Click();
    void optManTipoContrato_Click();
    void optManContrato_Click();
    void optClausulas_Click();
    void optMarcas_Click();
    void mnuAcerca_Click();

    void txtIp_DblClick();
    void mskIp_KeyPress(int& KeyAscii);
    void mskIp_KeyUp(int KeyCode, int Shift);
    void mskIp_Validate(bool& Cancel);
    void mskIp_LostFocus();

    // The background picture in use (the built-in one unless a picture for
    // the screen's size was found).
    const QPixmap& Fondo() const { return fondo_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CargarFondo();
    void LlenarAvisos(int dias);
    void LeerConfiguracion();
    void BlanquearPosicionIp(int posicion);
    void PasoBlanco();
    void SituarEnOcteto(int octeto);
    bool RechazarOctetoAlto();
    bool CerrarEntradaIp();
    void MostrarPanelConfiguracion(bool visible);
    void CerrarResultadosYAvisos();
    bool TraerContratosServidor();
    void ProcesarContratosImportados(bool discoLlenoDicho);
    void ListarDiscordancias(const char* log, int longitudRegistro, int inicioNombre, int cuantas);
    void ImportarModelos();
    void ActualizarContratos();

    DatosConfiguracion configuracion_;
    QPixmap fondo_;
    bool avisosAnadidos_ = false;
    int PosicionIp = 0;
    bool CerrandoOcteto = false;
    bool OctetoCorregido = false;

    // Counters of the latest import run.
    int ContadorFicheros = 0;
    int ContadorNuevasE = 0;
    int ContadorNuevosT = 0;
    int ContadorDiscordanciasE = 0;
    int ContadorDiscordanciasT = 0;
    // An import is running: the window takes no input.
    bool importando_ = false;
    // The option of the maintenance panel that opened the screen this window
    // comes back from: it has the focus once the panel opens again.
    QPointer<QWidget> opcionUsada_;
};
