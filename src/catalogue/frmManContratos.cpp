#include "catalogue/frmManContratos.h"

#include "catalogue/Catalogo.h"
#include "catalogue/ListadosCatalogo.h"

#include <QGroupBox>

namespace {

frmMantenimiento::Diseno diseno()
{
    return {
        .nombre = "frmManContratos",
        .caption = QStringLiteral("Mantenimiento Contratos."),
        .tabla = QStringLiteral("TipoContrato"),
        .clave = QStringLiteral("IdTipoContrato"),
        .rejilla = "dbgTipoContrato",
        .columnas = {columna("Id", "IdTipoContrato", 900),
                     columna("Tipo de Contrato", "TipoContrato", 6300)},
        .nombreTitulo = "lblTitulo",
        .titulo = QStringLiteral("Tipos de contrato dados de alta."),
        .origenCarga = {},
        .marco = "fraTipoContrato",
        .tituloMarco = QStringLiteral("Tipo de Contrato : "),
        .altoMarco = 900,
        .forma = "shaContrato",
        .noEditar = QStringLiteral("No ha seleccionado ningún tipo de contrato a editar."),
        .noBorrar = QStringLiteral("No ha seleccionado ningún tipo de contrato a borrar."),
        .pregunta = QStringLiteral("Desea eliminar el tipo de contrato."),
        .aviso = QStringLiteral("Tipo de Contrato Eliminado."),
        .ayudas = {{
            {QStringLiteral("Botón Nuevo : "),
             QStringLiteral("Obtendremos un cuadro de texto donde podremos introducir el tipo de contrato que nos "
                            "permitirá agrupar los contratos.")},
            {QStringLiteral("Botón Editar : "),
             QStringLiteral("Obtendremos un cuadro de texto con el tipo de contrato que deseamos editar para su "
                            "modificación.")},
            {QStringLiteral("Botón Grabar : "),
             QStringLiteral("Guardará en memoria los datos del tipo de contrato introducido.")},
            {QStringLiteral("Botón Borrar : "),
             QStringLiteral("Eliminara el tipo de contrato que tenemos seleccionada en la tabla de contratos.")},
            {QStringLiteral("Botón Cancelar : "), QStringLiteral("Cancelara el proceso activo en ese momento.")},
            {QStringLiteral("Botón Imprimir : "),
             QStringLiteral("Imprimira un listado con todos los tipos de contratos activos.")},
        }},
        .consejos = {{
            QStringLiteral("Crear un nuevo tipo de contrato."),
            QStringLiteral("Editar los datos de un tipo de contrato."),
            QStringLiteral("Graba los datos del tipo de contrato."),
            QStringLiteral("Borra el tipo de contrato seleccionado."),
            QStringLiteral("Cancelar una acción activa."),
            QStringLiteral("Imprimir la selección activa en ese momento."),
            QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."),
            QStringLiteral("Volver al Menú Principal."),
        }},
    };
}

} // namespace

frmManContratos::frmManContratos() : frmMantenimiento(diseno())
{
    dbgTipoContrato = &rejilla();
    fraTipoContrato = marco();
    txtTipoContrato = place(new platform::TextBox, "txtTipoContrato", 240, 360, 7000, 315, fraTipoContrato);
    txtTipoContrato->setMaxLength(100);
    setEditores({{txtTipoContrato, QStringLiteral("TipoContrato"),
                  QStringLiteral("No ha introducido el nombre del Tipo de Contrato")}});
}

void frmManContratos::borrarFila(qint64 clave)
{
    catalogo::BorrarTipoContrato(db(), clave);
}

void frmManContratos::escribirListado(platform::PrintJob& job) const
{
    listados::ListadoTiposContrato(job, dbgTipoContrato->records());
}
