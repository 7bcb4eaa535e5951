#pragma once

#include "platform/Database.h"
#include "platform/Form.h"

#include <QSet>

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;

namespace platform {
class DBGrid;
class MaskEdBox;
class Shape;
class TextBox;
} // namespace platform

// The record window of one client company ("Empresa"): its data (tab
// "Empresa."), its workers (tab "Trabajadores.": list and detail) and its
// default clauses (tab "Clausulas."). The company is saved when the user
// moves to the workers tab or presses "Grabar."; the open worker is saved
// when the user leaves the workers tab or presses the worker's "Grabar.".
class frmEmpresa : public platform::Form {
    Q_OBJECT
public:
    frmEmpresa();

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

    // Opens the company named by IdEmpresaActual, or a new one when it is empty.
    void Cargar();

    // The stored row of the open company; nothing while a new company is not stored yet.
    std::optional<platform::Row> EmpresaGuardada() const;

    // IdEmpresa of the open company; 0 while a new company is not stored yet.
    qint64 IdEmpresaAbierta = 0;
    bool VolviendoAEmpresa = false;
    bool GrabandoDesdePestana = false;
    bool GrabandoParaContrato = false;
    bool VolviendoATrabajadores = false;
    // The Social Security numbers typed, with the control digits they must carry.
    QString NumSSCorrecto;
    QString NumISSCorrecto;

    QTabWidget* SSTab1;

    // Company tab.
    QGroupBox* fraEmpresas;
    std::array<QLabel*, 13> lblNombre;
    platform::TextBox* txtNombreEmpresa;
    platform::TextBox* txtNumEmpresa;
    platform::TextBox* mskCuenta;
    platform::MaskEdBox* txtNumISS;
    platform::TextBox* txtActividad;
    platform::TextBox* txtDireccion;
    platform::TextBox* txtLocalidad;
    platform::TextBox* txtCp;
    platform::TextBox* txtPoblacion;
    platform::TextBox* txtPaisEmpresa;
    platform::TextBox* txtTelef;
    platform::TextBox* txtFax;
    platform::TextBox* txtemail;
    QGroupBox* fraObservacionesEmpresa;
    QPlainTextEdit* txtObservacionesEmpresa;
    // F2 hints: 0 nationality, 1 worker's country, 2 company's country.
    std::array<QLabel*, 3> lblMensa;

    // Workers tab: the list.
    QGroupBox* fraContenedor;
    QGroupBox* fraTrabajadores;
    platform::DBGrid* dbgTrabajadores;
    QLabel* lblMensajeTrabajadores;

    // Workers tab: the open worker.
    QGroupBox* fraDatosTrabajador;
    std::array<QLabel*, 10> lblTrabajador;
    platform::TextBox* txtNombreTrabajador;
    platform::TextBox* txtDNI;
    platform::MaskEdBox* txtFechaNac;
    platform::MaskEdBox* txtNumSS;
    platform::TextBox* txtNivelFormativo;
    platform::TextBox* txtNacionalidad;
    platform::TextBox* txtPais;
    platform::TextBox* txtMunicipio;
    platform::TextBox* txtNumeroTrabajador;
    platform::TextBox* txtCodPostalTrabaj;
    QGroupBox* fraObservacionesTrabajador;
    QPlainTextEdit* txtObservacionesTrabajador;
    QGroupBox* fraEstado;
    QCheckBox* chkEnvCliente;
    QCheckBox* chkRecCliente;
    QCheckBox* chkEnvINEM;
    QCheckBox* chkRecINEM;
    QCheckBox* chkReeCliente;

    // The worker's current contract and extension.
    platform::Shape* shaContrato;
    QLabel* lblContrato;
    QGroupBox* fraDatosContrato;
    platform::TextBox* txtTipoContrato;
    platform::TextBox* txtContrato;
    platform::MaskEdBox* mskFechaContrato;
    platform::MaskEdBox* mskVencimiento;
    QPushButton* cmdAcceder;
    QGroupBox* fraProrroga;
    platform::MaskEdBox* mskInicioProrroga;
    platform::TextBox* txtMesesProrroga;
    QPushButton* cmdAccederProrroga;

    // Clauses tab.
    QGroupBox* fraClausulas;
    QLabel* lblTituloClausulas;
    std::array<QCheckBox*, 8> chkClausula;
    QScrollBar* vscClausulas;

    // Copies prompt.
    QGroupBox* fraDatosImprimir;
    QLabel* lblNumeroCopias;
    platform::TextBox* txtNumeroCopias;
    QPushButton* cmdCopias;

    QPushButton* cmdSave;
    QPushButton* cmdListado;
    QPushButton* cmdSalir;
    QPushButton* cmdAyuda;
    QPushButton* cmdCancelar;
    QPushButton* cmdNuevo;
    QPushButton* cmdEditar;
    QPushButton* cmdGrabar;
    QPushButton* cmdBorrar;
    QPushButton* cmdImprimir;
    QPushButton* cmdContratoManual;
    QPushButton* cmdSubcontratas;

    void SSTab1_Click(int PreviousTab);
    void cmdSave_Click();
    void cmdListado_Click();
    void cmdSalir_Click();
    void cmdNuevo_Click();
    void cmdEditar_Click();
    void cmdGrabar_Click();
    void cmdBorrar_Click();
    void cmdCancelar_Click();
    void chkClausula_Click(int Index);
    void vscClausulas_Change();

    // The printout of what the window shows.
    void cmdImprimir_Click();

    // Buttons whose work other parts of the program provide.
    void cmdContratoManual_Click();
    // The open worker's stored documents and the subcontractor register
    // (frmEmpresaDocumentos.cpp).
    void cmdAcceder_Click();
    void cmdAccederProrroga_Click();
    void cmdSubcontratas_Click();
    void cmdCopias_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConstruirEmpresa(QWidget* pagina);
    void ConstruirTrabajadores(QWidget* pagina);
    void ConstruirClausulas(QWidget* pagina);
    void ConstruirBotones();
    void ConectarEventos();

    // Records.
    void MostrarEmpresa(const platform::Row& empresa);
    void LimpiarEmpresa();
    platform::Row GrabarEmpresa() const;
    void GrabarTrabajador(platform::Database& db, std::optional<qint64> id, bool nuevoEnSuLugar);
    void LimpiarTrabajador();
    void LimpiarContrato();
    void RefrescarTrabajadores();
    void LeerTrabajadores(const QString& orden = {});

    // The company save by number, with its questions; true when stored.
    bool GuardarEmpresaPorNumero();
    qint64 GuardarEmpresaEn(platform::Database& db, std::optional<qint64> id);
    void EntrarEnTrabajadores();
    // The worker save on leaving the workers tab; false when the user stays on it.
    bool GuardarTrabajadorAlSalir();
    void DescartarTrabajador();
    // The worker's number and dates can be stored.
    bool TrabajadorCorrecto(bool avisar);
    // The save of "Grabar.", with its questions; true when the worker was stored.
    bool GuardarTrabajador();
    std::optional<platform::Row> TrabajadorConNumero(const platform::Database& db) const;
    bool MismoNombre(const platform::Row& trabajador) const;
    QString PreguntaConflictoTrabajador(const platform::Row& encontrado) const;

    // Tabs and buttons.
    void IrAPestana(int tab);
    void BotonesEmpresa();
    bool TrabajadorAbierto() const;

    // Clauses.
    void LimpiarClausulas();
    void CargarClausulas();
    void MostrarPaginaClausulas(int primera);
    void MarcarClausulasEmpresa();

    // Field checks.
    void Rechazar(platform::TextBox* caja, const QString& texto, const QString& titulo);
    void txtCp_LostFocus();
    void txtCodPostalTrabaj_Validate(bool& Cancel);
    void txtTelef_LostFocus();
    void txtFax_LostFocus();
    void txtFechaNac_LostFocus();
    void txtNumSS_LostFocus();
    void txtNumISS_LostFocus();
    void PonerProvincia();
    template <class Dialogo>
    void ComprobarNumeroSS(platform::MaskEdBox* caja, int cifrasCuerpo, QString& correcto);

    void txtNumEmpresa_KeyPress(int& KeyAscii);
    void txtNumEmpresa_LostFocus();
    void txtNumeroTrabajador_KeyPress(int& KeyAscii);
    void txtNumeroTrabajador_DblClick();
    void txtNumeroTrabajador_LostFocus();
    void BloquearNumero(platform::TextBox* caja, bool bloqueado);

    void lblNombre_Click(int Index);
    void lblTrabajador_Click(int Index);

    int pestanaAnterior_ = 0;
    bool moviendoPestana_ = false;
    // Clauses ticked on a new company before it is stored.
    QSet<qint64> clausulasPendientes_;
};
