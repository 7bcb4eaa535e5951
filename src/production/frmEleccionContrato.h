#pragma once

#include "platform/Database.h"
#include "platform/Form.h"
#include "production/DatosContrato.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTimer;
struct MarcoCopias;

namespace platform {
class CheckBox;
class FlexGrid;
class MaskEdBox;
class OptionButton;
class Shape;
} // namespace platform

// Contract production ("Elección de contrato."): the company and worker of
// the contract, the choice of contract type and contract with the document's
// language and first-page signatures, then the marks grid (MARCAS), the
// optional clauses (CLÁUSULAS) and the place and date of the contract
// (DATOS). "Importar." takes the marks' values from the payroll server's
// record; "Realizar Contrato" hands everything to the document generator.
class frmEleccionContrato : public platform::Form {
    Q_OBJECT
public:
    frmEleccionContrato();
    ~frmEleccionContrato() override;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;

    // Who opened the window: 1 the record window's "Contrato." (after
    // DatosEmpresaTrabajador), 2 "Nuevo" of the saved-contracts list, 0 the
    // imported-records list. Unless it is 1 the marks are not prefilled from
    // the company and the worker.
    int OrigenDatos = 0;
    // Set to 2 by "Nuevo" of the saved-contracts list.
    int AperturaDesdeListado = 0;

    // Copies the record window's company and worker boxes, and the company's
    // default clauses into ClausulasElegidas. Called by the record window
    // while it is still open.
    void DatosEmpresaTrabajador();
    // Fills the marks grid for the chosen model (IdModeloElegido).
    void VerMarcasContrato();
    // The contract's name out of a contract option's caption ("401 - Obra"
    // gives "Obra"): the text after the last dash but one character.
    static QString QuitarCodigo(const QString& texto);
    // Offset (from 0) of a mark's value in the payroll server's record;
    // nothing when the catalogue has no such mark or cannot be read.
    std::optional<int> BuscarInicioMarca(const QString& codigo);

    // Header.
    QLineEdit* txtNumEmpresa;
    QLineEdit* txtNombreEmpresa;
    QLineEdit* txtNumTrabajador;
    QLineEdit* txtNombreTrabajador;
    QLineEdit* txtTipoContrato;
    QLineEdit* txtContrato;

    // Choice of the contract.
    QGroupBox* fraEleccion;
    QGroupBox* fraTipoContrato;
    std::array<platform::OptionButton*, 8> optTipoContrato;
    QScrollBar* vscTipoContrato;
    QGroupBox* fraContratos;
    std::array<platform::OptionButton*, 8> optContrato;
    QScrollBar* vscContrato;
    QGroupBox* fraIdioma;
    platform::OptionButton* optCastellano;
    platform::OptionButton* optCatalan;
    QGroupBox* fraPie;
    platform::OptionButton* optSi;
    platform::OptionButton* optNo;

    // The tabs, in the place of the choice once a contract is chosen.
    QTabWidget* SSTab1;

    // MARCAS: the grid has the columns code, description, value and
    // occurrences in the template; rows 1 to Rows - 1 hold the marks.
    QGroupBox* fraMarcas;
    platform::FlexGrid* mshMarcas;
    QGroupBox* fraDuracionProrroga;
    QLineEdit* txtMesesProrroga;
    QLineEdit* txtDiasProrroga;
    QPushButton* cmdAceptarDuracion;
    QPushButton* cmdCancelarProrroga;
    QGroupBox* fraAyuda;
    QLabel* lblAyuda1;

    // CLÁUSULAS.
    QGroupBox* fraClausulas;
    QLabel* lblTituloClausulas;
    std::array<platform::CheckBox*, 8> chkClausula;
    QScrollBar* vscClausulas;

    // DATOS: place, date and month format of the contract's foot.
    QLineEdit* txtLugar;
    platform::MaskEdBox* mskFechaContrato;
    QGroupBox* fraFormatoMes;
    platform::OptionButton* optNumero;
    platform::OptionButton* optLetras;

    QPushButton* cmdEleccion;
    QPushButton* cmdRealizarContrato;
    QPushButton* cmdImportar;
    QPushButton* cmdAyuda;
    QPushButton* cmdSalir;

    // Progress of a long job: the shape behind the frame, the bar 0 to 700.
    platform::Shape* shaProgreso;
    QGroupBox* fraProgreso;
    QProgressBar* ProgressBar1;

    // The copies prompt of this window ("IMPRESIÓN : ").
    QGroupBox* fraDatosImprimir;
    QLineEdit* txtNumeroCopias;
    QPushButton* cmdCopias;

    QTimer* Timer1;

    // What the document generator takes from the choice.
    QString TipoElegido;      // caption of the chosen type
    QString ContratoElegido;  // caption of the chosen contract ("401 - Obra")
    int IdContratoElegido = 0;
    QString IdModeloElegido;  // Modelo.IdModelo of its model
    int IdiomaContrato = 1;   // 1 Castilian, 2 Catalan
    bool PlantillaAbierta = false;
    int IdEmpresaContrato = 0; // the header's company, 0 when not found
    DatosEmpresaContrato Empresa;
    DatosTrabajadorContrato Trabajador;
    QString VencimientoContrato; // end date of the last contract made in this opening
    // The clauses in IdClausula order and whether each is chosen (1) or not (0).
    std::vector<int> IdClausulaFila;
    std::vector<int> ClausulaElegida;
    int TotalClausulas = 0;

    void optTipoContrato_Click(int Index);
    void optContrato_Click(int Index);
    void vscTipoContrato_Change();
    void vscContrato_Change();
    void fraIdioma_Click();
    void SSTab1_Click(int PreviousTab);
    void cmdEleccion_Click();
    void cmdRealizarContrato_Click();
    void cmdImportar_Click();
    void cmdSalir_Click();
    void cmdAyuda_Click();
    void Timer1_Timer();

    void mshMarcas_GotFocus();
    void mshMarcas_KeyPress(int& KeyAscii);
    void mshMarcas_KeyUp(int KeyCode, int Shift);
    void mshMarcas_EnterCell();
    void mshMarcas_LeaveCell();
    void cmdAceptarDuracion_Click();
    void cmdCancelarProrroga_Click();

    void chkClausula_Click(int Index);
    void vscClausulas_Change();

    void cmdCopias_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Opcion {
        QString nombre;  // the name a row is tested on
        QString titulo;  // the option's caption
        int id = 0;
    };

    // The document generator, started by "Realizar Contrato" with the
    // progress frame on show and the hourglass pointer.
    void GenerarDocumento();
    // Its steps. A failure comes out as produccion::FalloPaso.
    void PrepararPlantilla();
    void LlenarDocumento(produccion::ClaseDocumento clase);
    bool ImprimirDocumento(produccion::ClaseDocumento clase);
    produccion::DocumentoProducido DocumentoDeLaVentana(produccion::ClaseDocumento clase) const;
    bool GuardarDocumento(const produccion::DocumentoProducido& documento);
    void CopiaBasicaDelDocumento(produccion::ClaseDocumento clase);
    void FinDeGeneracion();
    MarcoCopias MarcoDeCopias() const;
    QString VencimientoDeLaFicha() const;

    // Choice lists.
    void ContarTiposContrato();
    void ContarContratos();
    void LimpiarTiposContrato();
    void LimpiarContratos();
    void MarcarTipoElegido();
    void MarcarContratoElegido();
    void MostrarPrimeraPagina(std::array<platform::OptionButton*, 8>& opciones, QScrollBar* barra,
                              const std::vector<Opcion>& filas, std::array<int, 8>& ids);
    void MostrarPagina(std::array<platform::OptionButton*, 8>& opciones, QScrollBar* barra,
                       const std::vector<Opcion>& filas, std::array<int, 8>& ids);
    void OpcionesPorDefecto();
    QString NumeroEmpresaDeLaFicha() const;
    // The company of a number, or nothing when there is none.
    std::optional<platform::Row> EmpresaDeNumero(const QString& numeroEmpresa);
    void CopiarClausulasDeEmpresa(const platform::Row& empresa);

    // Marks grid.
    void LimpiarDatosEmpresa();
    void LimpiarDatosTrabajador();
    void LlenarMarcas();
    void SituarCelda(int row, int col);
    void CerrarDuracion();
    void ImportarDatosUnix();

    // Clauses tab.
    void ContarFilasClausulas();
    void PrepararClausulas();
    void VaciarCasillasClausulas();
    void MostrarPaginaClausulas();

    // Sets a scroll bar's range or value without raising its change handler;
    // the value is kept inside the range.
    static void FijarRango(QScrollBar* barra, int maximo);
    static void FijarValor(QScrollBar* barra, int valor);

    // Runs a step; a failure of the database or of a file is told to the
    // user instead of ending the program.
    void Proteger(const std::function<void()>& paso);

    std::vector<Opcion> FilasTipos;
    std::vector<Opcion> FilasContratos;
    std::array<int, 8> IdTipoOpcion{};
    std::array<int, 8> IdContratoOpcion{};
    int NumTipos = 0;
    int NumContratos = 0;
    int IdTipoElegido = 0;
    bool TipoEncontrado = false;
    bool MarcandoTipo = false;
    bool MarcandoContrato = false;

    int MesesProrroga = 0;
    int DiasProrroga = 0;
    int FilaDuracion = -1;
    // The window's own moves of the current cell raise no cell handler.
    bool MoviendoCelda = false;

    std::vector<std::pair<int, QString>> FilasClausulas; // id and text, in IdClausula order
    int PrimeraClausula = 0; // clause shown in the first box

    int ContadorTimer = 0;

    // The generator's working copy of the template (a path on this
    // computer), and the values of the marks 0223 and 0222 of the last
    // document made.
    QString ArchivoTemporal;
    QString InicioProrroga;
    QString DuracionProrroga;
};
