#pragma once

#include "platform/DBGrid.h"
#include "platform/TextBox.h"
#include "platform/Database.h"
#include "platform/Form.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class PrintJob;
class Shape;
} // namespace platform

// The maintenance window every catalogue table shares: a read-only grid of
// the table with its record counter, a hidden edit frame, and the buttons
// Nuevo, Editar, Grabar, Borrar, Cancelar, Imprimir, Ayuda and Volver.
//
// The grid shows a query of the window; the row being added or edited is held
// by the window until Grabar writes it or Cancelar drops it. After a count no
// row is current until the user picks one; after Cancelar the first one is.
// A database error in a handler is reported, whatever the handler wrote is
// undone, and the window goes back to browsing the re-read table.
class frmMantenimiento : public platform::Form {
    Q_OBJECT
public:
    // An editor of the edit frame: the field it edits and, when the field is
    // required, the message that asks for it (in the order they are checked).
    struct Editor {
        QWidget* control;
        QString campo;
        QString obligatorio;
    };
    struct Ayuda {
        QString titulo;
        QString texto;
    };
    struct Diseno {
        const char* nombre;
        QString caption;
        QString tabla;
        QString clave;
        const char* rejilla;
        std::vector<platform::DBGrid::Column> columnas;
        const char* nombreTitulo;
        QString titulo;
        // The query of the grid at load; empty for the whole table.
        QString origenCarga;
        const char* marco;
        QString tituloMarco;
        int altoMarco;
        const char* forma;
        QString noEditar;
        QString noBorrar;
        QString pregunta;
        QString aviso;
        std::array<Ayuda, 6> ayudas; // Nuevo to Imprimir
        std::array<QString, 8> consejos; // tool tips, Nuevo to Volver
        int estiloObligatorio = 64;
        // Nuevo, Editar and Cancelar show the hourglass.
        bool relojEnEdicion = true;
        // The title over the grid goes at the first action and stays away.
        bool tituloSeOculta = false;
        // Seconds the window waits after printing its listing.
        double pausaListado = 2;
        // The help of Imprimir ends as the listing does: its pause, then the
        // default pointer; nothing is printed.
        bool ayudaImprimirConPausa = false;
    };

    void Form_Load() override;
    void Form_Resize() override;

    QLabel* lblTitulo;
    platform::Shape* Shape1;
    platform::Shape* Shape2;
    platform::Shape* Shape3;
    QGroupBox* fraNumero;
    QLabel* Label1;
    QLineEdit* txtNum;
    QPushButton* cmdNuevo;
    QPushButton* cmdEditar;
    QPushButton* cmdGrabar;
    QPushButton* cmdBorrar;
    QPushButton* cmdCancelar;
    QPushButton* cmdImprimir;
    QPushButton* cmdAyuda;
    QPushButton* cmdSalir;

    virtual void cmdNuevo_Click();
    virtual void cmdEditar_Click();
    virtual void cmdGrabar_Click();
    virtual void cmdBorrar_Click();
    virtual void cmdCancelar_Click();
    virtual void cmdImprimir_Click();
    void cmdAyuda_Click();
    void cmdSalir_Click();

protected:
    explicit frmMantenimiento(const Diseno& diseno);

    // Designed size and places shared by the five windows (twips).
    static constexpr int kAncho = 10080;
    static constexpr int kAlto = 8160;
    static constexpr int kIzquierda = 360;
    static constexpr int kArribaRejilla = 600;
    static constexpr int kAnchoRejilla = 7560;
    static constexpr int kAltoRejilla = 4200;
    static constexpr int kArribaMarco = 4920;

    void setEditores(std::vector<Editor> editores);

    platform::Database& db();
    platform::DBGrid& rejilla() const { return *rejilla_; }
    QGroupBox* marco() const { return marco_; }

    // Runs a handler; a database error is reported and the window recovers.
    void ejecutar(const std::function<void()>& accion);
    virtual void recuperar();
    // Holds the window's clicks and close box while `espera` runs.
    void esperar(const std::function<void()>& espera);
    void avisoEliminado(const QString& aviso);

    QString consultaTabla() const;
    // The grid on the whole table, its first row current.
    void recargar();
    // Counts the rows into txtNum; the count leaves no row current.
    void contar();
    // The grid on the row of this key only.
    void filtrar(qint64 clave);
    std::optional<qint64> claveActual() const;

    void mostrarMarco(bool visible);
    void botonesNavegando(bool hayFilas);
    void botonesEditando();
    void limpiarEditores();
    void ocultarTitulo();
    // The hourglass while a row is opened or closed, in the windows that show it.
    std::optional<platform::Hourglass> relojDeEdicion();

    // What a window adds to the row it writes.
    virtual void completarValores(platform::Row& valores);
    // Deletes the row with whatever goes with it, in one transaction.
    virtual void borrarFila(qint64 clave);
    // The window's listing of the rows its grid shows.
    virtual void escribirListado(platform::PrintJob& job) const = 0;

    void closeEvent(QCloseEvent* event) override;

    const Diseno diseno_;

private:
    enum class Edicion { Ninguna, Anadiendo, Editando };

    platform::DBGrid* rejilla_;
    QGroupBox* marco_;
    platform::Shape* forma_;
    std::vector<Editor> editores_;
    std::optional<platform::Database> db_;
    Edicion edicion_ = Edicion::Ninguna;
    qint64 claveEditada_ = 0;
    // Inside a wait (a notice, a listing's pause): no clicks, no closing.
    bool esperando_ = false;
};

// A column of a catalogue grid: every column shows, "Id" included.
platform::DBGrid::Column columna(const char* titulo, const char* campo, int anchoTwips);

// Text of an editor of the edit frames (line, combo or multi-line box).
QString textoEditor(const QWidget* editor);
void ponerTextoEditor(QWidget* editor, const QString& texto);
