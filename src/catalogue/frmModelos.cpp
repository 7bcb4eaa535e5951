#include "catalogue/frmModelos.h"

#include "catalogue/Catalogo.h"
#include "catalogue/ListadosCatalogo.h"
#include "common/frmAyuda.h"
#include "platform/Controls.h"
#include "platform/MessageBoxes.h"
#include "platform/Screen.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

using platform::MsgBox;
namespace estilo = platform::style;

namespace {

frmMantenimiento::Diseno diseno()
{
    return {
        .nombre = "frmModelos",
        .caption = QStringLiteral("Modelos de contratos"),
        .tabla = QStringLiteral("Modelo"),
        .clave = QStringLiteral("IdModelo"),
        .rejilla = "dbgModelos",
        .columnas = {columna("Id", "IdModelo", 700),
                     columna("Modelo", "NombreModelo", 2400),
                     columna("Ubicación", "Ubicación", 4100)},
        .nombreTitulo = "lblTitulo1",
        .titulo = QStringLiteral("Modelos de contratos dados de alta"),
        .origenCarga = {},
        .marco = "fraModelos",
        .tituloMarco = QStringLiteral("Contrato : "),
        .altoMarco = 1020,
        .forma = "shaModelos",
        .noEditar = QStringLiteral("No ha seleccionado ningún modelo a editar."),
        .noBorrar = QStringLiteral("No ha seleccionado ningún modelo a borrar."),
        .pregunta = QStringLiteral("¿Desea eliminar el Modelo?."),
        .aviso = QStringLiteral("Modelo Eliminado."),
        .ayudas = {{
            {QStringLiteral("Botón Nuevo : "),
             QStringLiteral("Obtendremos unos cuadros de texto donde podremos introducir el nombre del modelo y la "
                            "ubicación de dicho modelo.")},
            {QStringLiteral("Botón Editar : "),
             QStringLiteral("Obtendremos un cuadro de texto con el modelo que deseamos editar para su modificación.")},
            {QStringLiteral("Botón Grabar : "), QStringLiteral("Guardará en memoria los datos del modelo introducido.")},
            {QStringLiteral("Botón Borrar : "),
             QStringLiteral("Eliminara el modelo que tenemos seleccionada en la tabla de contratos.")},
            {QStringLiteral("Botón Cancelar : "), QStringLiteral("Cancelara el proceso activo en ese momento.")},
            {QStringLiteral("Botón Imprimir : "), QStringLiteral("Imprimira un listado con todos los modelos activos.")},
        }},
        .consejos = {{
            QStringLiteral("Crear un nuevo modelo."),
            QStringLiteral("Editar los datos de un modelo seleccionado."),
            QStringLiteral("Grabar los datos editados o creados."),
            QStringLiteral("Borra el modelo seleccionado."),
            QStringLiteral("Cancelar la acción activa."),
            QStringLiteral("Imprimir la selección activa en ese momento."),
            QStringLiteral("Obendremos una ventana de ayuda sobre el objeto pulsado."),
            QStringLiteral("Volver al menú Principal."),
        }},
        .pausaListado = 0,
    };
}

std::vector<platform::DBGrid::Column> columnasMarcas(const char* ultima, const char* campo)
{
    return {columna("Id", "IdMarca", 700),
            columna("Código", "CódigoMarca", 900),
            columna("Descripción Marca", "DescripciónDato", 4600),
            columna(ultima, campo, 900)};
}

QLabel* tituloSobreForma(const QColor& fondo)
{
    auto* titulo = new QLabel;
    platform::setBoldFont(titulo);
    titulo->setIndent(6);
    QPalette paleta = titulo->palette();
    paleta.setColor(QPalette::WindowText, fondo.lightness() < 128 ? Qt::white : Qt::black);
    titulo->setPalette(paleta);
    return titulo;
}

} // namespace

frmModelos::frmModelos() : frmMantenimiento(diseno())
{
    dbgModelos = &rejilla();
    fraModelos = marco();
    lblTitulo1 = lblTitulo;
    lblContrato[0] = place(new QLabel(QStringLiteral("Modelo")), "lblContrato0", 240, 300, 2400, 255, fraModelos);
    lblContrato[1] = place(new QLabel(QStringLiteral("Ubicación")), "lblContrato1", 2880, 300, 2400, 255, fraModelos);
    txtModelo = place(new platform::TextBox, "txtModelo", 240, 555, 2400, 315, fraModelos);
    txtModelo->setMaxLength(10);
    txtUbicacion = place(new platform::TextBox, "txtUbicacion", 2880, 555, 4200, 315, fraModelos);
    txtUbicacion->setMaxLength(25);
    setEditores({
        {txtModelo, QStringLiteral("NombreModelo"), QStringLiteral("No ha introducido el Modelo del contrato")},
        {txtUbicacion, QStringLiteral("Ubicación"), QStringLiteral("No ha introducido la ubicación del modelo.")},
    });

    cmdAñadirMarcas = place(new QPushButton(QStringLiteral("Marcas")), "cmdAñadirMarcas", 8280, 4380, 1320, 420);
    Shape1->setGeometry(Shape1->geometry().adjusted(0, 0, 0, platform::twipsToPixels(420)));
    cmdAñadirMarcas->setToolTip(QStringLiteral("Incorporar marcas a los modelos."));
    ayuda::Conectar(*this, cmdAñadirMarcas, QStringLiteral("Botón Marcas : "),
                    QStringLiteral("Visualizaremos dos ventanas, en la superior veremos todas las posibles marcas que "
                                   "podemos agregar al modelo, y en la inferior veremos las que ya han sido agregadas, "
                                   "para añadir o eliminar una marca del listado bastará con realizar un doble click "
                                   "sobre la marca deseada."),
                    [this] { ejecutar([this] { cmdAñadirMarcas_Click(); }); });
    ayuda::Punteros(*this, {{cmdAñadirMarcas, 14}});

    // The marks view lies where the models grid is: two grids, each under its title.
    const QColor fondoTitulo(0x3A, 0x5A, 0x80);
    shaTitulo2 = place(new platform::Shape, "shaTitulo2", kIzquierda, kArribaRejilla, kAnchoRejilla, 330);
    shaTitulo2->setFillColor(fondoTitulo);
    lblTitulo0 = place(tituloSobreForma(fondoTitulo), "lblTitulo0", kIzquierda + 60, kArribaRejilla + 30,
                       kAnchoRejilla - 120, 270);
    dbgMarcas = place(new platform::DBGrid, "dbgMarcas", kIzquierda, kArribaRejilla + 330, kAnchoRejilla, 1650);
    dbgMarcas->setColumns(columnasMarcas("Longitud", "Longitud"));
    dbgMarcas->horizontalHeader()->setStretchLastSection(true);
    shaTitulo = place(new platform::Shape, "shaTitulo", kIzquierda, kArribaRejilla + 2040, kAnchoRejilla, 330);
    shaTitulo->setFillColor(fondoTitulo);
    lblTitulo2 = place(tituloSobreForma(fondoTitulo), "lblTitulo2", kIzquierda + 60, kArribaRejilla + 2070,
                       kAnchoRejilla - 120, 270);
    dbgMarcasSeleccionadas = place(new platform::DBGrid, "dbgMarcasSeleccionadas", kIzquierda, kArribaRejilla + 2370,
                                   kAnchoRejilla, kAltoRejilla - 2370);
    dbgMarcasSeleccionadas->setColumns(columnasMarcas("Veces", "Veces"));
    dbgMarcasSeleccionadas->horizontalHeader()->setStretchLastSection(true);
    for (QWidget* w : std::initializer_list<QWidget*>{shaTitulo, shaTitulo2, lblTitulo0, lblTitulo2, dbgMarcas,
                                                      dbgMarcasSeleccionadas})
        w->hide();

    // The marks view's grids stand where the models grid does, and Marcas under Ayuda.
    setTabOrder(dbgModelos, dbgMarcas);
    setTabOrder(dbgMarcas, dbgMarcasSeleccionadas);
    setTabOrder(cmdAyuda, cmdAñadirMarcas);

    dbgMarcas->DblClick = [this] { ejecutar([this] { dbgMarcas_DblClick(); }); };
    dbgMarcasSeleccionadas->DblClick = [this] { ejecutar([this] { dbgMarcasSeleccionadas_DblClick(); }); };
    dbgMarcas->KeyPress = [this](int& k) { dbgMarcas_KeyPress(k); };
    dbgMarcasSeleccionadas->KeyPress = [this](int& k) { dbgMarcasSeleccionadas_KeyPress(k); };
    dbgMarcas->HeadClick = [this](int col) { ejecutar([this, col] { dbgMarcas_HeadClick(col); }); };
    dbgMarcasSeleccionadas->HeadClick = [this](int col) {
        ejecutar([this, col] { dbgMarcasSeleccionadas_HeadClick(col); });
    };
}

void frmModelos::Form_Load()
{
    frmMantenimiento::Form_Load();
    ejecutar([this] { dbgMarcas->Refresh(db(), QStringLiteral("SELECT * FROM Marcas")); });
}

bool frmModelos::enVistaMarcas() const
{
    return platform::isShown(dbgMarcasSeleccionadas);
}

void frmModelos::borrarFila(qint64 clave)
{
    catalogo::BorrarModelo(db(), clave);
}

void frmModelos::recuperar()
{
    if (!enVistaMarcas()) {
        frmMantenimiento::recuperar();
        return;
    }
    try {
        RefrescarMarcasSeleccionadas();
    } catch (const platform::DbError&) {
        dbgMarcasSeleccionadas->setRecords({});
    }
}

void frmModelos::escribirListado(platform::PrintJob& job) const
{
    if (enVistaMarcas())
        listados::ListadoMarcasDeModelo(job, dbgMarcasSeleccionadas->records(), Label1->text());
    else
        listados::ListadoModelos(job, dbgModelos->records());
}

void frmModelos::cmdAñadirMarcas_Click()
{
    const QString id = dbgModelos->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("Seleccione un modelo."), estilo::Information);
        return;
    }
    platform::Hourglass reloj(*this);
    IdModeloActual = id;
    ordenSeleccionadas_ = QStringLiteral("CódigoMarca");
    RefrescarMarcasSeleccionadas();
    const QString nombre = dbgModelos->Text(1);
    shaTitulo->show();
    shaTitulo2->show();
    lblTitulo0->setText(QStringLiteral("Marcas."));
    lblTitulo0->show();
    lblTitulo2->setText(QStringLiteral("Marcas activas en el ") + nombre);
    lblTitulo2->show();
    lblTitulo1->setText(QStringLiteral("Incorporación de marcas en el modelo : ") + nombre);
    dbgMarcas->show();
    dbgMarcasSeleccionadas->show();
    dbgModelos->hide();
    for (QPushButton* boton : {cmdNuevo, cmdEditar, cmdBorrar, cmdCancelar, cmdGrabar})
        boton->setEnabled(false);
}

void frmModelos::RefrescarMarcasSeleccionadas(bool enSuSitio)
{
    platform::DBGrid& lista = *dbgMarcasSeleccionadas;
    const QString id = lista.Id();
    const int fila = lista.Row();
    const int desplazamiento = lista.verticalScrollBar()->value();
    lista.Refresh(db(),
                  QStringLiteral("SELECT * FROM MarcasCont WHERE IdModelo = ? ORDER BY %1")
                      .arg(platform::quoteName(ordenSeleccionadas_)),
                  {IdModeloActual});
    if (!enSuSitio || lista.RecordCount() == 0)
        return;
    // The same mark, or the one now in the place of a mark removed.
    int actual = std::min(std::max(fila, 0), lista.RecordCount() - 1);
    for (int r = 0; r < lista.RecordCount(); ++r) {
        if (lista.records()[static_cast<std::size_t>(r)].text(QStringLiteral("IdMarca")) == id)
            actual = r;
    }
    lista.setRow(actual);
    lista.verticalScrollBar()->setValue(desplazamiento);
}

void frmModelos::dbgMarcas_DblClick()
{
    if (dbgMarcas->Id().isEmpty())
        return;
    const platform::Row& marca = dbgMarcas->records().at(static_cast<std::size_t>(dbgMarcas->Row()));
    const QString codigo = marca.text(QStringLiteral("CódigoMarca"));
    if (const auto fila = catalogo::MarcaEnModelo(db(), IdModeloActual, codigo)) {
        if (MsgBox(QStringLiteral("La marca ya ha sido añadida, desea añadirla otra vez."), estilo::YesNo)
            != platform::Answer::Yes)
            return;
        catalogo::RepetirMarcaEnModelo(db(), *fila);
    } else {
        catalogo::AnadirMarcaAModelo(db(), IdModeloActual, marca);
    }
    RefrescarMarcasSeleccionadas(true);
}

void frmModelos::dbgMarcasSeleccionadas_DblClick()
{
    bool valida = false;
    const qint64 fila = dbgMarcasSeleccionadas->Id().toLongLong(&valida);
    if (!valida)
        return;
    catalogo::QuitarMarcaDeModelo(db(), fila);
    RefrescarMarcasSeleccionadas(true);
}

// Enter on a row adds or removes its mark as a double click does, so that
// the keyboard alone can change a model's marks.
void frmModelos::dbgMarcas_KeyPress(int& KeyAscii)
{
    if (KeyAscii != 13)
        return;
    KeyAscii = 0;
    ejecutar([this] { dbgMarcas_DblClick(); });
}

void frmModelos::dbgMarcasSeleccionadas_KeyPress(int& KeyAscii)
{
    if (KeyAscii != 13)
        return;
    KeyAscii = 0;
    ejecutar([this] { dbgMarcasSeleccionadas_DblClick(); });
}

void frmModelos::dbgMarcas_HeadClick(int ColIndex)
{
    const char* const campos[] = {nullptr, "CódigoMarca", "DescripciónDato"};
    if (ColIndex < 1 || ColIndex > 2)
        return;
    dbgMarcas->Refresh(db(), QStringLiteral("SELECT * FROM Marcas ORDER BY %1")
                                 .arg(platform::quoteName(QString::fromUtf8(campos[ColIndex]))));
}

void frmModelos::dbgMarcasSeleccionadas_HeadClick(int ColIndex)
{
    const char* const campos[] = {nullptr, "CódigoMarca", "DescripciónDato", "Veces"};
    if (ColIndex < 1 || ColIndex > 3)
        return;
    ordenSeleccionadas_ = QString::fromUtf8(campos[ColIndex]);
    RefrescarMarcasSeleccionadas();
}
