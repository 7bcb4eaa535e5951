#include "catalogue/frmManContrato.h"

#include "catalogue/Catalogo.h"
#include "catalogue/ListadosCatalogo.h"
#include "companies/Comprobaciones.h"
#include "platform/MessageBoxes.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace {

frmMantenimiento::Diseno diseno()
{
    return {
        .nombre = "frmManContrato",
        .caption = QStringLiteral("Mantenimiento Contratos."),
        .tabla = QStringLiteral("Contrato"),
        .clave = QStringLiteral("IdContrato"),
        .rejilla = "dbgContrato",
        .columnas = {columna("Id", "IdContrato", 600),
                     columna("Contrato", "Contrato", 3300),
                     columna("Tipo de Contrato", "TipoContrato", 2000),
                     columna("Código", "Código", 900),
                     columna("Modelo", "Modelo", 700)},
        .nombreTitulo = "lblTitulo",
        .titulo = QStringLiteral("Contratos dados de alta."),
        .origenCarga = {},
        .marco = "fraContrato",
        .tituloMarco = QStringLiteral("Contrato : "),
        .altoMarco = 1620,
        .forma = "shaContrato",
        .noEditar = QStringLiteral("No ha seleccionado ningún contrato a editar."),
        .noBorrar = QStringLiteral("No ha seleccionado ningún contrato a borrar."),
        .pregunta = QStringLiteral("Desea eliminar el contrato."),
        .aviso = QStringLiteral("Contrato Eliminado."),
        .ayudas = {{
            {QStringLiteral("Botón Nuevo : "),
             QStringLiteral("Obtendremos unos cuadros de texto donde podremos introducir los datos del contrato "
                            "(Nombre contrato, Tipo de contrato, Código, Modelo) que serán los que visualizaremos a "
                            "la hora de elgir el contrato que queremos generar.\r\nLa elección del modelo será básica "
                            "ya que nos indicará que plantilla utilizará el contrato.")},
            {QStringLiteral("Botón Editar : "),
             QStringLiteral("Obtendremos un cuadro de texto con el contrato que deseamos editar para su "
                            "modificación.")},
            {QStringLiteral("Botón Grabar : "), QStringLiteral("Guardará en memoria los datos del contrato introducido.")},
            {QStringLiteral("Botón Borrar : "),
             QStringLiteral("Eliminara el contrato que tenemos seleccionada en la tabla de contratos.")},
            {QStringLiteral("Botón Cancelar : "), QStringLiteral("Cancelara el proceso activo en ese momento.")},
            {QStringLiteral("Botón Imprimir : "), QStringLiteral("Imprimira un listado con todos los contratos activos.")},
        }},
        .consejos = {{
            QStringLiteral("Crear un nuevo contrato."),
            QStringLiteral("Editar los datos de un contrato."),
            QStringLiteral("Graba los datos del contrato editado o creado."),
            QStringLiteral("Borra el contrato seleccionado."),
            QStringLiteral("Cancelar la acción activa."),
            QStringLiteral("Imprimir la selección activa en ese momento."),
            QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."),
            QStringLiteral("Volver al Menú Principal."),
        }},
        .tituloSeOculta = true,
    };
}

QComboBox* comboEditable()
{
    auto* combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

frmManContrato::frmManContrato() : frmMantenimiento(diseno())
{
    dbgContrato = &rejilla();
    fraContrato = marco();
    const char* const etiquetas[] = {"Contrato", "Tipo de Contrato", "Código", "Modelo"};
    const int izquierdas[] = {240, 4800, 240, 1560};
    const int arribas[] = {300, 300, 900, 900};
    for (int i = 0; i < 4; ++i) {
        lblContrato[i] = place(new QLabel(QString::fromUtf8(etiquetas[i])),
                               QStringLiteral("lblContrato%1").arg(i).toUtf8().constData(), izquierdas[i], arribas[i],
                               2400, 255, fraContrato);
    }
    txtContrato = place(new platform::TextBox, "txtContrato", 240, 555, 4440, 315, fraContrato);
    txtContrato->setMaxLength(120);
    cmbTipoContrato = place(comboEditable(), "cmbTipoContrato", 4800, 555, 2520, 315, fraContrato);
    txtCodigo = place(new platform::TextBox, "txtCodigo", 240, 1155, 1080, 315, fraContrato);
    txtCodigo->setMaxLength(3);
    cmbModelos = place(comboEditable(), "cmbModelos", 1560, 1155, 2400, 315, fraContrato);
    txtCodigo->Validate = [this](bool& cancel) { txtCodigo_Validate(cancel); };

    setEditores({
        {txtContrato, QStringLiteral("Contrato"), QStringLiteral("No ha introducido el nombre del contrato")},
        {cmbTipoContrato, QStringLiteral("TipoContrato"),
         QStringLiteral("No ha introducido el nombre del tipo de contrato")},
        {txtCodigo, QStringLiteral("Código"), QStringLiteral("No ha introducido el nombre del código contrato")},
        {cmbModelos, QStringLiteral("Modelo"), QStringLiteral("No ha introducido el modelo del contrato")},
    });
}

void frmManContrato::Form_Load()
{
    frmMantenimiento::Form_Load();
    ejecutar([this] {
        CargarTiposContrato();
        CargarModelos();
    });
}

// The lists are suggestions filled once, at load; any text may be typed.
void frmManContrato::CargarTiposContrato()
{
    cmbTipoContrato->clear();
    for (const auto& tipo : db().select(QStringLiteral("SELECT TipoContrato FROM TipoContrato")))
        cmbTipoContrato->addItem(tipo.text(QStringLiteral("TipoContrato")));
    cmbTipoContrato->setEditText(QString());
}

void frmManContrato::CargarModelos()
{
    cmbModelos->clear();
    for (const auto& modelo : db().select(QStringLiteral("SELECT NombreModelo FROM Modelo")))
        cmbModelos->addItem(modelo.text(QStringLiteral("NombreModelo")));
    cmbModelos->setEditText(QString());
}

void frmManContrato::txtCodigo_Validate(bool& Cancel)
{
    const QString codigo = txtCodigo->text();
    if (!codigo.isEmpty() && !comprobaciones::EsNumerico(codigo)) {
        platform::MsgBox(QStringLiteral("El valor del código debe ser numérico"), platform::style::Critical);
        Cancel = true;
        txtCodigo->clear();
    }
}

void frmManContrato::completarValores(platform::Row& valores)
{
    valores.set(QStringLiteral("IdTipoContrato"), catalogo::IdTipoContratoDeNombre(db(), cmbTipoContrato->currentText()));
}

void frmManContrato::escribirListado(platform::PrintJob& job) const
{
    listados::ListadoContratos(job, dbgContrato->records());
}
