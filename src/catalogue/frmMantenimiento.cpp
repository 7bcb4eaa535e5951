#include "catalogue/frmMantenimiento.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "common/ImprimirListado.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>

using platform::Forms;
using platform::MsgBox;
namespace estilo = platform::style;

platform::DBGrid::Column columna(const char* titulo, const char* campo, int anchoTwips)
{
    return {QString::fromUtf8(titulo), QString::fromUtf8(campo), anchoTwips, true, {}};
}

QString textoEditor(const QWidget* editor)
{
    if (const auto* linea = qobject_cast<const QLineEdit*>(editor))
        return linea->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    if (const auto* texto = qobject_cast<const QPlainTextEdit*>(editor)) {
        // Lines of a stored text end in CR LF, as the texts the office has kept.
        QString lineas = texto->toPlainText();
        return lineas.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    return {};
}

void ponerTextoEditor(QWidget* editor, const QString& texto)
{
    if (auto* caja = qobject_cast<platform::TextBox*>(editor)) {
        caja->setText(texto);
    } else if (auto* linea = qobject_cast<QLineEdit*>(editor)) {
        linea->setText(texto);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setEditText(texto);
    } else if (auto* multilinea = qobject_cast<QPlainTextEdit*>(editor)) {
        multilinea->setPlainText(texto);
    }
}

namespace {

// A text written from an editor: an empty editor writes the empty text, not Null.
QVariant valorTexto(const QString& texto)
{
    return texto.isNull() ? QVariant(QStringLiteral("")) : QVariant(texto);
}

} // namespace

frmMantenimiento::frmMantenimiento(const Diseno& diseno) : Form(QString::fromUtf8(diseno.nombre)), diseno_(diseno)
{
    setWindowTitle(diseno.caption);
    designSize(kAncho, kAlto);
    const QColor decoracion(0xDD, 0xE4, 0xEC);

    Shape1 = place(new platform::Shape, "Shape1", 8160, 480, 1560, 4080);
    Shape1->setFillColor(decoracion);
    Shape2 = place(new platform::Shape, "Shape2", 8160, 7080, 1560, 660);
    Shape2->setFillColor(decoracion);
    Shape3 = place(new platform::Shape, "Shape3", kIzquierda, 7020, kAnchoRejilla, 30);
    Shape3->setFillColor(QColor(0x60, 0x70, 0x80));

    lblTitulo = place(new QLabel(diseno.titulo), diseno.nombreTitulo, kIzquierda, 180, kAnchoRejilla, 360);
    platform::setBoldFont(lblTitulo, 10);

    rejilla_ = place(new platform::DBGrid, diseno.rejilla, kIzquierda, kArribaRejilla, kAnchoRejilla, kAltoRejilla);
    rejilla_->setColumns(diseno.columnas);
    rejilla_->setFitColumns(true);
    rejilla_->horizontalHeader()->setStretchLastSection(true);

    forma_ = place(new platform::Shape, diseno.forma, kIzquierda - 60, kArribaMarco - 60, kAnchoRejilla + 120,
                   diseno.altoMarco + 120);
    marco_ = place(new QGroupBox(diseno.tituloMarco), diseno.marco, kIzquierda, kArribaMarco, kAnchoRejilla,
                   diseno.altoMarco);
    const QColor colorMarco(0xEE, 0xF2, 0xF6);
    forma_->setFillColor(colorMarco);
    marco_->setAutoFillBackground(true);
    QPalette paleta = marco_->palette();
    paleta.setColor(QPalette::Window, colorMarco);
    marco_->setPalette(paleta);
    marco_->hide();
    forma_->hide();

    fraNumero = place(new QGroupBox(QStringLiteral("Número : ")), "fraNumero", kIzquierda, 7140, 3720, 660);
    Label1 = place(new QLabel(QStringLiteral("Número de registros : ")), "Label1", 120, 270, 2160, 300, fraNumero);
    txtNum = place(new QLineEdit, "txtNum", 2280, 240, 1200, 315, fraNumero);
    platform::makeCounter(txtNum);
    txtNum->setAlignment(Qt::AlignRight);

    const std::pair<QPushButton**, std::pair<const char*, const char*>> botones[] = {
        {&cmdNuevo, {"cmdNuevo", "Nuevo."}},       {&cmdEditar, {"cmdEditar", "Editar."}},
        {&cmdGrabar, {"cmdGrabar", "Grabar."}},    {&cmdBorrar, {"cmdBorrar", "Borrar."}},
        {&cmdCancelar, {"cmdCancelar", "Cancelar."}}, {&cmdImprimir, {"cmdImprimir", "Imprimir."}},
        {&cmdAyuda, {"cmdAyuda", "Ayuda."}},
    };
    int arriba = 600;
    for (const auto& [boton, textos] : botones) {
        *boton = place(new QPushButton(QString::fromUtf8(textos.second)), textos.first, 8280, arriba, 1320, 420);
        arriba += 540;
    }
    cmdSalir = place(new QPushButton(QStringLiteral("Volver.")), "cmdSalir", 8280, 7200, 1320, 420);

    QPushButton* todos[] = {cmdNuevo, cmdEditar, cmdGrabar, cmdBorrar, cmdCancelar, cmdImprimir, cmdAyuda, cmdSalir};
    for (std::size_t i = 0; i < std::size(todos); ++i)
        todos[i]->setToolTip(diseno.consejos[i]);

    const std::function<void()> acciones[] = {
        [this] { cmdNuevo_Click(); },    [this] { cmdEditar_Click(); },   [this] { cmdGrabar_Click(); },
        [this] { cmdBorrar_Click(); },   [this] { cmdCancelar_Click(); }, [this] { cmdImprimir_Click(); },
    };
    for (std::size_t i = 0; i < std::size(acciones); ++i) {
        std::function<void()> trasAyuda;
        if (todos[i] == cmdImprimir && diseno.ayudaImprimirConPausa) {
            trasAyuda = [this] {
                esperar([this] { Esperar(diseno_.pausaListado); });
                setMousePointer(0);
            };
        }
        ayuda::Conectar(
            *this, todos[i], diseno.ayudas[i].titulo, diseno.ayudas[i].texto,
            [this, accion = acciones[i]] { ejecutar(accion); }, std::move(trasAyuda));
    }
    ayuda::Punteros(*this,
                    {{this, 0},
                     {cmdNuevo, 14},
                     {cmdEditar, 14},
                     {cmdGrabar, 14},
                     {cmdBorrar, 14},
                     {cmdCancelar, 14},
                     {cmdImprimir, 14}});
    onClick(cmdAyuda, [this] { cmdAyuda_Click(); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });

    // A double click on a row is Editar, help included; while a row is being
    // added or edited it does nothing, so typed values stay with their row.
    rejilla_->DblClick = [this] {
        if (frmAyuda::ModoAyuda)
            ayuda::Mostrar(*this, diseno_.ayudas[1].titulo, diseno_.ayudas[1].texto);
        else if (cmdEditar->isEnabled())
            ejecutar([this] { cmdEditar_Click(); });
    };
}

void frmMantenimiento::setEditores(std::vector<Editor> editores)
{
    editores_ = std::move(editores);
    // Tab runs from the grid through the editors to the buttons.
    QWidget* anterior = rejilla_;
    for (const Editor& editor : editores_) {
        setTabOrder(anterior, editor.control);
        anterior = editor.control;
    }
    // An edit frame of one line: Enter in it saves, as Grabar does.
    if (editores_.size() == 1) {
        if (auto* linea = qobject_cast<QLineEdit*>(editores_.front().control))
            connect(linea, &QLineEdit::returnPressed, cmdGrabar, &QAbstractButton::click);
    }
}

platform::Database& frmMantenimiento::db()
{
    if (!db_)
        db_.emplace(AbrirBaseDatos());
    return *db_;
}

void frmMantenimiento::Form_Load()
{
    Elastico().Init(*this);
    frmAyuda::ModoAyuda = false;
    cmdCancelar->setEnabled(false);
    cmdGrabar->setEnabled(false);
    ejecutar([this] {
        rejilla_->Refresh(db(), diseno_.origenCarga.isEmpty() ? consultaTabla() : diseno_.origenCarga);
        if (rejilla_->RecordCount() == 0) {
            cmdEditar->setEnabled(false);
            cmdBorrar->setEnabled(false);
        }
        contar();
    });
}

void frmMantenimiento::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmMantenimiento::ejecutar(const std::function<void()>& accion)
{
    bool hecho = false;
    platform::runHandler([&] {
        accion();
        hecho = true;
    });
    if (!hecho)
        recuperar();
}

void frmMantenimiento::recuperar()
{
    edicion_ = Edicion::Ninguna;
    limpiarEditores();
    mostrarMarco(false);
    try {
        recargar();
        contar();
    } catch (const platform::DbError&) {
        rejilla_->setRecords({});
        txtNum->setText(QStringLiteral("0"));
    }
    botonesNavegando(rejilla_->RecordCount() > 0);
}

void frmMantenimiento::esperar(const std::function<void()>& espera)
{
    esperando_ = true;
    setEnabled(false);
    const auto fin = qScopeGuard([ventana = QPointer<frmMantenimiento>(this)] {
        if (ventana) {
            ventana->setEnabled(true);
            ventana->esperando_ = false;
        }
    });
    espera();
}

void frmMantenimiento::avisoEliminado(const QString& aviso)
{
    esperar([&] { MostrarMensaje(aviso, 1.0); });
}

void frmMantenimiento::closeEvent(QCloseEvent* event)
{
    if (esperando_) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

QString frmMantenimiento::consultaTabla() const
{
    return QStringLiteral("SELECT * FROM %1").arg(platform::quoteName(diseno_.tabla));
}

void frmMantenimiento::recargar()
{
    rejilla_->Refresh(db(), consultaTabla());
}

void frmMantenimiento::contar()
{
    txtNum->setText(QString::number(rejilla_->RecordCount()));
    rejilla_->ClearRow();
}

void frmMantenimiento::filtrar(qint64 clave)
{
    rejilla_->Refresh(db(), consultaTabla() + QStringLiteral(" WHERE %1 = ?").arg(platform::quoteName(diseno_.clave)),
                      {clave});
}

std::optional<qint64> frmMantenimiento::claveActual() const
{
    bool valida = false;
    const qint64 clave = rejilla_->Id().toLongLong(&valida);
    return valida ? std::optional<qint64>(clave) : std::nullopt;
}

void frmMantenimiento::mostrarMarco(bool visible)
{
    marco_->setVisible(visible);
    forma_->setVisible(visible);
}

void frmMantenimiento::botonesNavegando(bool hayFilas)
{
    // Back to browsing, the focus goes to the grid, where Enter does nothing:
    // left to itself it would pass from a button disabled now to the next
    // one, Borrar or Imprimir.
    rejilla_->setFocus();
    cmdNuevo->setEnabled(true);
    cmdEditar->setEnabled(hayFilas);
    cmdBorrar->setEnabled(hayFilas);
    cmdGrabar->setEnabled(false);
    cmdCancelar->setEnabled(false);
}

void frmMantenimiento::botonesEditando()
{
    cmdNuevo->setEnabled(false);
    cmdEditar->setEnabled(false);
    cmdBorrar->setEnabled(false);
    cmdGrabar->setEnabled(true);
    cmdCancelar->setEnabled(true);
}

void frmMantenimiento::limpiarEditores()
{
    for (const Editor& editor : editores_)
        ponerTextoEditor(editor.control, QString());
}

void frmMantenimiento::ocultarTitulo()
{
    if (diseno_.tituloSeOculta)
        lblTitulo->hide();
}

std::optional<platform::Hourglass> frmMantenimiento::relojDeEdicion()
{
    return diseno_.relojEnEdicion ? std::optional<platform::Hourglass>(std::in_place, *this)
                                  : std::optional<platform::Hourglass>();
}

void frmMantenimiento::cmdNuevo_Click()
{
    ocultarTitulo();
    const auto reloj = relojDeEdicion();
    mostrarMarco(true);
    botonesEditando();
    edicion_ = Edicion::Anadiendo;
    editores_.front().control->setFocus();
}

void frmMantenimiento::cmdEditar_Click()
{
    ocultarTitulo();
    const auto clave = claveActual();
    if (!clave) {
        MsgBox(diseno_.noEditar, estilo::Information);
        return;
    }
    filtrar(*clave);
    if (rejilla_->RecordCount() == 0)
        return;
    const auto reloj = relojDeEdicion();
    mostrarMarco(true);
    // A Null or empty field leaves its editor as it is.
    const platform::Row& fila = rejilla_->records().front();
    for (const Editor& editor : editores_) {
        const QString valor = fila.text(editor.campo);
        if (!valor.isEmpty())
            ponerTextoEditor(editor.control, valor);
    }
    botonesEditando();
    edicion_ = Edicion::Editando;
    claveEditada_ = *clave;
    editores_.front().control->setFocus();
}

void frmMantenimiento::cmdGrabar_Click()
{
    // What a box refuses when it is left is refused here too: the focus may
    // have moved while the window was not active, which runs no check.
    for (const Editor& editor : editores_) {
        auto* caja = qobject_cast<platform::TextBox*>(editor.control);
        bool cancelar = false;
        if (caja && caja->Validate)
            caja->Validate(cancelar);
        if (cancelar)
            return;
    }
    for (const Editor& editor : editores_) {
        if (!editor.obligatorio.isEmpty() && textoEditor(editor.control).isEmpty()) {
            MsgBox(editor.obligatorio, diseno_.estiloObligatorio);
            editor.control->setFocus();
            return;
        }
    }
    platform::Hourglass reloj(*this);
    ocultarTitulo();
    platform::Row valores;
    for (const Editor& editor : editores_)
        valores.set(editor.campo, valorTexto(textoEditor(editor.control)));
    completarValores(valores);
    if (edicion_ == Edicion::Anadiendo)
        db().insert(diseno_.tabla, valores);
    else if (edicion_ == Edicion::Editando)
        db().update(diseno_.tabla, diseno_.clave, claveEditada_, valores);
    edicion_ = Edicion::Ninguna;
    limpiarEditores();
    mostrarMarco(false);
    botonesNavegando(true);
    recargar();
    contar();
}

void frmMantenimiento::cmdCancelar_Click()
{
    const auto reloj = relojDeEdicion();
    ocultarTitulo();
    edicion_ = Edicion::Ninguna;
    limpiarEditores();
    mostrarMarco(false);
    botonesNavegando(true);
    recargar();
}

void frmMantenimiento::cmdBorrar_Click()
{
    ocultarTitulo();
    bool borrado = false;
    if (const auto clave = claveActual(); !clave) {
        MsgBox(diseno_.noBorrar, estilo::Information);
    } else {
        filtrar(*clave);
        if (rejilla_->RecordCount() != 0
            && MsgBox(diseno_.pregunta, estilo::YesNo | estilo::Question | estilo::DefaultButton2,
                      QStringLiteral("Confirmación."))
                == platform::Answer::Yes) {
            platform::Hourglass reloj(*this);
            borrarFila(*clave);
            avisoEliminado(diseno_.aviso);
            mostrarMarco(false);
            borrado = true;
        }
    }
    recargar();
    contar();
    if (borrado)
        botonesNavegando(rejilla_->RecordCount() > 0);
    cmdCancelar->setEnabled(false);
}

void frmMantenimiento::cmdImprimir_Click()
{
    if (listado::Imprimir(*this, [this](platform::PrintJob& job) { escribirListado(job); })
        && diseno_.pausaListado > 0)
        esperar([this] { Esperar(diseno_.pausaListado); });
}

void frmMantenimiento::cmdAyuda_Click()
{
    ayuda::Activar(*this);
}

void frmMantenimiento::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
    Forms::get<frmMenu>().cmdTablas_Click();
}

void frmMantenimiento::completarValores(platform::Row&) {}

void frmMantenimiento::borrarFila(qint64 clave)
{
    db().remove(diseno_.tabla, diseno_.clave, clave);
}
