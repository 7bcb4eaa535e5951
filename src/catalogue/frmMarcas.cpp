#include "catalogue/frmMarcas.h"

#include "catalogue/Catalogo.h"
#include "catalogue/ListadosCatalogo.h"
#include "catalogue/frmListaContratos.h"
#include "companies/Comprobaciones.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using platform::Forms;
using platform::MsgBox;
namespace estilo = platform::style;

namespace {

frmMantenimiento::Diseno diseno()
{
    return {
        .nombre = "frmMarcas",
        .caption = QStringLiteral("Mantenimiento Marcas."),
        .tabla = QStringLiteral("Marcas"),
        .clave = QStringLiteral("IdMarca"),
        .rejilla = "dbgMarca",
        .columnas = {columna("Id", "IdMarca", 700),
                     columna("Código", "CódigoMarca", 900),
                     columna("Descripción Dato", "DescripciónDato", 3300),
                     columna("Long", "Longitud", 700),
                     columna("Valores Fijos", "ValoresFijos", 1600)},
        .nombreTitulo = "lblTitulo",
        .titulo = QStringLiteral("Marcas dadas de alta."),
        .origenCarga = QStringLiteral("SELECT * FROM Marcas ORDER BY CódigoMarca"),
        .marco = "fraMarca",
        .tituloMarco = QStringLiteral("Marca : "),
        .altoMarco = 1620,
        .forma = "shaMarca",
        .noEditar = QStringLiteral("No ha seleccionado ninguna marca a editar."),
        .noBorrar = QStringLiteral("No ha seleccionado ninguna marca a borrar."),
        .pregunta = QStringLiteral("Desea eliminar la marca."),
        .aviso = QStringLiteral("Marca Eliminada."),
        .ayudas = {{
            {QStringLiteral("Botón Nuevo : "),
             QStringLiteral("Obtendremos un cuadro de texto donde podremos introducir una nueva marca.")},
            {QStringLiteral("Botón Editar : "),
             QStringLiteral("Obtendremos un cuadro de texto con la marca que deseamos editar para su modificación.")},
            {QStringLiteral("Botón Grabar : "), QStringLiteral("Guardará en memoria los datos de la marca introducida.")},
            {QStringLiteral("Botón Borrar : "),
             QStringLiteral("Eliminara la marca que tenemos seleccionada en la tabla de marcas, tambien eliminará la "
                            "marca de los modelos donde haya sido introducida.")},
            {QStringLiteral("Botón Cancelar : "), QStringLiteral("Cancelara el proceso activo en ese momento.")},
            {QStringLiteral("Botón Imprimir : "), QStringLiteral("Imprimira un listado con todas las marcas activas.")},
        }},
        .consejos = {{
            QStringLiteral("Crear una nueva marca."),
            QStringLiteral("Ediatar los datos de la marca seleccionada."),
            QStringLiteral("Grabar la marca creada o editada."),
            QStringLiteral("Borra la marca seleccionada."),
            QStringLiteral("Cancelar una acción activa."),
            QStringLiteral("Imprimir la selección activa en ese momento."),
            QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."),
            QStringLiteral("Volver al Menú Principal."),
        }},
    };
}

} // namespace

frmMarcas::frmMarcas() : frmMantenimiento(diseno())
{
    dbgMarca = &rejilla();
    fraMarca = marco();
    struct Caja {
        platform::TextBox** caja;
        const char* nombre;
        const char* etiqueta;
        int izquierda, arriba, ancho, largo;
    };
    const Caja cajas[] = {
        {&txtCodigo, "txtCodigo", "Código", 240, 300, 960, 5},
        {&txtDescripcion, "txtDescripcion", "Descripción", 1320, 300, 4560, 50},
        {&txtLongitud, "txtLongitud", "Longitud", 6000, 300, 960, 3},
        {&txtValoresFijos, "txtValoresFijos", "Valores fijos", 240, 900, 6720, 0},
    };
    for (const Caja& c : cajas) {
        place(new QLabel(QString::fromUtf8(c.etiqueta)), (QByteArray("lbl") + (c.nombre + 3)).constData(),
              c.izquierda, c.arriba, c.ancho, 255, fraMarca);
        *c.caja = place(new platform::TextBox, c.nombre, c.izquierda, c.arriba + 255, c.ancho, 315, fraMarca);
        if (c.largo > 0)
            (*c.caja)->setMaxLength(c.largo);
    }
    txtLongitud->Validate = [this](bool& cancel) { txtLongitud_Validate(cancel); };
    dbgMarca->HeadClick = [this](int col) { ejecutar([this, col] { dbgMarca_HeadClick(col); }); };

    setEditores({
        {txtCodigo, QStringLiteral("CódigoMarca"), QStringLiteral("No ha introducido el código de la marca")},
        {txtDescripcion, QStringLiteral("DescripciónDato"), QStringLiteral("No ha introducido la descripción de la marca.")},
        {txtLongitud, QStringLiteral("Longitud"),
         QStringLiteral("No ha introducido el número de caracteres de la marca.")},
        {txtValoresFijos, QStringLiteral("ValoresFijos"), {}},
    });
}

void frmMarcas::dbgMarca_HeadClick(int ColIndex)
{
    const char* const campos[] = {nullptr, "CódigoMarca", "DescripciónDato", "Longitud", nullptr};
    if (ColIndex < 0 || ColIndex >= static_cast<int>(std::size(campos)) || !campos[ColIndex])
        return;
    dbgMarca->Refresh(db(), QStringLiteral("SELECT * FROM Marcas ORDER BY %1")
                                .arg(platform::quoteName(QString::fromUtf8(campos[ColIndex]))));
}

// A length counts whole characters: digits only.
void frmMarcas::txtLongitud_Validate(bool& Cancel)
{
    const QString longitud = txtLongitud->text();
    if (longitud.isEmpty() || comprobaciones::EsEntero(longitud))
        return;
    Cancel = true;
    MsgBox(QStringLiteral("El valor de la longitud del dato debe ser numérico"), estilo::Critical,
           QStringLiteral("Error"));
    txtLongitud->clear();
    txtLongitud->setFocus();
}

// First stage of a deletion: the question, then the models that use the mark.
void frmMarcas::cmdBorrar_Click()
{
    const auto clave = claveActual();
    if (!clave) {
        MsgBox(diseno_.noBorrar, estilo::Information);
        return;
    }
    filtrar(*clave);
    if (dbgMarca->RecordCount() == 0
        || MsgBox(diseno_.pregunta, estilo::YesNo | estilo::Question | estilo::DefaultButton2,
                  QStringLiteral("Confirmación."))
            != platform::Answer::Yes) {
        Revisualizar();
        return;
    }
    const QString codigo = dbgMarca->records().front().text(QStringLiteral("CódigoMarca"));
    marcaABorrar_ = MarcaABorrar{*clave, codigo};
    const auto usos = catalogo::ModelosConMarca(db(), codigo);
    if (usos.filas == 0) {
        BorrarMarca();
        return;
    }
    auto& lista = Forms::get<frmListaContratos>();
    lista.lstMarcaContrato->clear();
    lista.lstMarcaContrato->addItems(usos.modelos);
    lista.move(geometry().center() - lista.rect().center());
    Forms::show(lista);
}

void frmMarcas::BorrarMarca()
{
    ejecutar([this] {
        if (!marcaABorrar_)
            return;
        const MarcaABorrar marca = *marcaABorrar_;
        marcaABorrar_.reset();
        platform::Hourglass reloj(*this);
        catalogo::BorrarMarca(db(), marca.id, marca.codigo);
        avisoEliminado(diseno_.aviso);
        mostrarMarco(false);
        recargar();
        botonesNavegando(dbgMarca->RecordCount() > 0);
        contar();
    });
}

void frmMarcas::Revisualizar()
{
    ejecutar([this] {
        marcaABorrar_.reset();
        recargar();
        contar();
        cmdCancelar->setEnabled(false);
    });
}

void frmMarcas::escribirListado(platform::PrintJob& job) const
{
    listados::ListadoMarcas(job, dbgMarca->records());
}
