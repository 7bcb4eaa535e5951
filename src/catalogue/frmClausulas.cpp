#include "catalogue/frmClausulas.h"

#include "catalogue/Catalogo.h"
#include "catalogue/ListadosCatalogo.h"

#include <QGroupBox>
#include <QPlainTextEdit>

namespace {

frmMantenimiento::Diseno diseno()
{
    return {
        .nombre = "frmClausulas",
        .caption = QStringLiteral("Mantenimiento de Cláusulas."),
        .tabla = QStringLiteral("Clausulas"),
        .clave = QStringLiteral("IdClausula"),
        .rejilla = "dbgClausulas",
        .columnas = {columna("Id", "IdClausula", 700),
                     columna("Cláusula", "Clausula", 6500)},
        .nombreTitulo = "lblTitulo",
        .titulo = QStringLiteral("Cláusulas dadas de alta."),
        .origenCarga = {},
        .marco = "fraClausula",
        .tituloMarco = QStringLiteral("Cláusula : "),
        .altoMarco = 1920,
        .forma = "shaClausula",
        .noEditar = QStringLiteral("No ha seleccionado ninguna cláusulas a editar."),
        .noBorrar = QStringLiteral("No ha seleccionado ninguna cláusula a borrar."),
        .pregunta = QStringLiteral("Desea eliminar la cláusula."),
        .aviso = QStringLiteral("Cláusula Eliminada."),
        .ayudas = {{
            {QStringLiteral("Botón Nuevo : "),
             QStringLiteral("Obtendremos un cuadro de texto donde podremos introducir el texto correspondiente a una "
                            "clausula, que podremos incluir al generar un contrato.")},
            {QStringLiteral("Botón Editar: "),
             QStringLiteral("Obtendremos un cuadro de texto con la cláusula que deseamos editar para su "
                            "modificación.")},
            {QStringLiteral("Botón Grabar : "), QStringLiteral("Guardará en memoria la cláusula editada o creada.")},
            {QStringLiteral("Botón Borrar : "),
             QStringLiteral("Eliminara la cláusula que tenemos seleccionada en la tabla de clausulas.")},
            {QStringLiteral("Botón Cancelar : "), QStringLiteral("Cancelara el proceso activo en ese momento.")},
            {QStringLiteral("Botón Imprimir : "),
             QStringLiteral("Imprimira un listado con un indice y la definición de la clausula.")},
        }},
        .consejos = {{
            QStringLiteral("Crear una nueva clausula."),
            QStringLiteral("Editar la clausula selccionada."),
            QStringLiteral("Graba las clausula editada o creada."),
            QStringLiteral("Borra la categoria seleccionada."),
            QStringLiteral("Cancelar la acción actual."),
            QStringLiteral("Imprimir la selección activa en ese momento."),
            QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."),
            QStringLiteral("Volevr al Menú Principal."),
        }},
        .estiloObligatorio = 16,
        .relojEnEdicion = false,
        .ayudaImprimirConPausa = true,
    };
}

} // namespace

frmClausulas::frmClausulas() : frmMantenimiento(diseno())
{
    dbgClausulas = &rejilla();
    fraClausula = marco();
    txtClausula = place(new QPlainTextEdit, "txtClausula", 240, 300, 7080, 1500, fraClausula);
    txtClausula->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtClausula->setTabChangesFocus(true);
    setEditores({{txtClausula, QStringLiteral("Clausula"),
                  QStringLiteral("No ha introducido ningún texto como clausula.")}});
}

void frmClausulas::borrarFila(qint64 clave)
{
    catalogo::BorrarClausula(db(), clave);
}

void frmClausulas::escribirListado(platform::PrintJob& job) const
{
    listados::ListadoClausulas(job, dbgClausulas->records());
}
