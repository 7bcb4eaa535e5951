#include "companies/frmEmpresas.h"

#include "app/frmMenu.h"
#include "common/ImprimirListado.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "companies/Empresas.h"
#include "companies/frmEmpresa.h"
#include "listings/frmListados.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

using platform::Forms;
using platform::MsgBox;

namespace {

const QString kTodas = QStringLiteral(R"(SELECT * FROM "Empresas")");

const QString kAyudaEditar = QStringLiteral(
    "Obtendremos un formulario con los datos introducidos de la empresa seleccionada en ese momento de la lista de "
    "empresas, los datos podran ser modificados y grabados posteriormente.");

} // namespace

frmEmpresas::frmEmpresas() : Form(QStringLiteral("frmEmpresas"))
{
    setWindowTitle(QStringLiteral("Empresas"));
    designSize(11880, 8160);

    lblTitulo = place(new QLabel(QStringLiteral("Empresas dadas de alta.")), "lblTitulo", 240, 120, 6000, 480);
    platform::setBoldFont(lblTitulo, 12);

    dbgEmpresas = place(new platform::DBGrid, "dbgEmpresas", 240, 720, 11400, 5280);
    dbgEmpresas->setColumns({
        {QStringLiteral("Id"), QStringLiteral("IdEmpresa"), 873, false, {}},
        {QStringLiteral("Nombre Empresa"), QStringLiteral("NombreEmpresa"), 7938, true, {}},
        {QStringLiteral("Número Empresa"), QStringLiteral("NúmeroEmpresa"), 2725, true, {}},
    });
    lblMensaje0Empresas = place(
        new QLabel(QStringLiteral("NO HAY EMPRESAS DADAS DE ALTA")), "lblMensaje0Empresas", 240, 3000, 11400, 480);
    lblMensaje0Empresas->setAlignment(Qt::AlignCenter);
    platform::setBoldFont(lblMensaje0Empresas, 12);
    lblMensaje0Empresas->hide();

    fraNumero = place(new QGroupBox(QStringLiteral("Número : ")), "fraNumero", 240, 6180, 3600, 900);
    Label1 = place(new QLabel(QStringLiteral("Número de registros : ")), "Label1", 120, 390, 2160, 330, fraNumero);
    txtNum = place(new QLineEdit, "txtNum", 2280, 360, 1080, 360, fraNumero);
    platform::makeCounter(txtNum);
    txtNum->setAlignment(Qt::AlignRight);

    shaBuscar = place(new platform::Shape, "shaBuscar", 4080, 6060, 7560, 1140);
    shaBuscar->setFillColor(QColor(0xEE, 0xF2, 0xF6));
    shaBuscar->hide();
    fraBuscar = place(new QGroupBox, "fraBuscar", 4200, 6120, 7320, 1020);
    Label3 = place(new QLabel(QStringLiteral("Nombre Empresa")), "Label3", 120, 120, 4440, 300, fraBuscar);
    txtNombre = place(new platform::TextBox, "txtNombre", 120, 450, 4440, 360, fraBuscar);
    Label2 = place(new QLabel(QStringLiteral("N.I.F.")), "Label2", 4800, 120, 2400, 300, fraBuscar);
    txtDNI = place(new platform::TextBox, "txtDNI", 4800, 450, 2400, 360, fraBuscar);
    fraBuscar->hide();

    placeButtonRow({
        {&cmdEditar, "cmdEditar", "Editar", "Editar la empresa seleccionada."},
        {&cmdNuevo, "cmdNuevo", "Nuevo", "Crear una nueva empresa."},
        {&cmdBorrar, "cmdBorrar", "Borrar.", "Borra la empresa seleccionada."},
        {&cmdBuscar, "cmdBuscar", "Buscar.", "Buscar una empresa."},
        {&cmdImprimir, "cmdImprimir", "Imprimir.", "Imprimir la selección activa en ese momento."},
        {&cmdListados, "cmdListados", "Listados", "Obendremos una ventana de ayuda sobre el objeto pulsado."},
        {&cmdAyuda, "cmdAyuda", "Ayuda.", "Obendremos una ventana de ayuda sobre el objeto pulsado."},
        {&cmdSalir, "cmdSalir", "Volver.", "Volver al Menú Principal."},
    }, 240, 7440, 1320, 480, 1440);

    ayuda::Conectar(*this, cmdEditar, QStringLiteral("Botón Editar : "), kAyudaEditar, [this] { cmdEditar_Click(); });
    ayuda::Conectar(*this, cmdNuevo, QStringLiteral("Botón Nuevo : "),
                    QStringLiteral("Obtendremos un formulario donde podremos introducir todos los datos para poder dar "
                                   "de alta una nueva empresa, así com la posiblidad de introducir los datos de los "
                                   "trabajadores de esta nueva empresa."),
                    [this] { cmdNuevo_Click(); });
    ayuda::Conectar(*this, cmdBorrar, QStringLiteral("Botón Borrar : "),
                    QStringLiteral("Eliminará de la lista de empresas guardadas la empresa seleccionada en ese momento "
                                   "de la lista."),
                    [this] { cmdBorrar_Click(); });
    ayuda::Conectar(*this, cmdBuscar, QStringLiteral("Botón Buscar : "),
                    QStringLiteral("Obtendremos una caja de texto donde podremos introducir una parte del texto "
                                   "correspondiente al nombre de la empresa o al Nif para realizar una busqueda en "
                                   "memoria."),
                    [this] { cmdBuscar_Click(); });
    ayuda::Conectar(*this, cmdListados, QStringLiteral("Botón Listados : "),
                    QStringLiteral("Obtendremos una nueva pantalla en la que podremos visualizar el estado "
                                   "administrativo de los contratos."),
                    [this] { cmdListados_Click(); });
    ayuda::Conectar(*this, cmdImprimir, QStringLiteral("Botón Imprimir : "),
                    QStringLiteral("Imprimirá un listado de empresas guardadas en memoria."),
                    [this] { cmdImprimir_Click(); });
    ayuda::Punteros(*this,
                    {{this, 0},
                     {fraBuscar, 0},
                     {cmdBorrar, 14},
                     {cmdBuscar, 14},
                     {cmdEditar, 14},
                     {cmdImprimir, 14},
                     {cmdNuevo, 14}});
    onClick(cmdAyuda, [this] { ayuda::Activar(*this); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });

    connect(txtNombre, &QLineEdit::textEdited, this, [this](const QString& texto) {
        platform::runHandler([&] { Buscar("NombreEmpresa", texto); });
    });
    connect(txtDNI, &QLineEdit::textEdited, this,
            [this](const QString& texto) { platform::runHandler([&] { Buscar("NIF", texto); }); });
    dbgEmpresas->HeadClick = [this](int col) { platform::runHandler([&] { dbgEmpresas_HeadClick(col); }); };
    dbgEmpresas->DblClick = [this] { platform::runHandler([this] { dbgEmpresas_DblClick(); }); };
    dbgEmpresas->KeyPress = [this](int& k) { dbgEmpresas_KeyPress(k); };
}

void frmEmpresas::Form_Load()
{
    Elastico().Init(*this);
    EditandoEmpresa = false;
    platform::runHandler([this] { MostrarLista(); });
}

void frmEmpresas::Form_Resize()
{
    Elastico().FormResize(*this);
}

void frmEmpresas::VerEmpresas()
{
    EditandoEmpresa = false;
    MostrarLista();
}

// The whole table, or the empty message when there is no company.
void frmEmpresas::MostrarLista()
{
    dbgEmpresas->Refresh(AbrirBaseDatos(), kTodas);
    ContarEmpresas();
    const bool hay = dbgEmpresas->RecordCount() != 0;
    dbgEmpresas->setVisible(hay);
    lblMensaje0Empresas->setVisible(!hay);
    if (!hay) {
        cmdEditar->setEnabled(false);
        cmdBorrar->setEnabled(false);
        cmdBuscar->setEnabled(false);
    }
}

void frmEmpresas::ContarEmpresas()
{
    txtNum->setText(QString::number(dbgEmpresas->RecordCount()));
}

// Companies whose field begins with the text typed, taken as it stands.
void frmEmpresas::Buscar(const char* campo, const QString& texto)
{
    const auto comienzo = platform::beginsWith(QString::fromUtf8(campo), texto);
    dbgEmpresas->Refresh(AbrirBaseDatos(), kTodas + QStringLiteral(" WHERE ") + comienzo.sql, comienzo.values);
    ContarEmpresas();
}

void frmEmpresas::dbgEmpresas_HeadClick(int ColIndex)
{
    const char* campo = ColIndex == 1 ? "NombreEmpresa" : ColIndex == 2 ? "NúmeroEmpresa" : nullptr;
    if (!campo)
        return;
    dbgEmpresas->Refresh(AbrirBaseDatos(),
                         kTodas + QStringLiteral(" ORDER BY %1").arg(platform::quoteName(QString::fromUtf8(campo))));
    ContarEmpresas();
}

// Enter on a row opens it as a double click does.
void frmEmpresas::dbgEmpresas_KeyPress(int& KeyAscii)
{
    if (KeyAscii != 13 || dbgEmpresas->Row() < 0)
        return;
    KeyAscii = 0;
    platform::runHandler([this] { dbgEmpresas_DblClick(); });
}

void frmEmpresas::dbgEmpresas_DblClick()
{
    if (frmAyuda::ModoAyuda)
        ayuda::Mostrar(*this, QStringLiteral("Botón Editar : "), kAyudaEditar);
    else
        cmdEditar_Click();
}

void frmEmpresas::cmdEditar_Click()
{
    const QString id = dbgEmpresas->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ninguna empresa a editar."), platform::style::Information);
        return;
    }
    platform::Hourglass reloj(*this);
    if (!empresas::Leer(AbrirBaseDatos(), id.toLongLong())) {
        MostrarLista();
        return;
    }
    EditandoEmpresa = true;
    IdEmpresaActual = id;
    Forms::unload<frmEmpresa>();
    auto& ficha = Forms::show<frmEmpresa>();
    ficha.Cargar();
    Forms::unload(*this);
}

void frmEmpresas::cmdNuevo_Click()
{
    platform::Hourglass reloj(*this);
    IdEmpresaActual.clear();
    Forms::unload<frmEmpresa>();
    auto& ficha = Forms::show<frmEmpresa>();
    ficha.Cargar();
    Forms::unload(*this);
    ficha.txtNombreEmpresa->setFocus();
}

void frmEmpresas::cmdBorrar_Click()
{
    // In every case the whole list again, after a delete that failed too.
    const auto todas = qScopeGuard([this] { platform::runHandler([this] { MostrarLista(); }); });
    const QString id = dbgEmpresas->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ninguna empresa a borrar."), platform::style::Information);
    } else {
        // The question is asked with that company alone in the grid.
        auto db = AbrirBaseDatos();
        dbgEmpresas->Refresh(db, kTodas + QStringLiteral(R"( WHERE "IdEmpresa" = ?)"), {id.toLongLong()});
        if (dbgEmpresas->RecordCount() != 0
            && MsgBox(QStringLiteral("Desea eliminar la empresa"), 292, QStringLiteral("Confirmación."))
                == platform::Answer::Yes) {
            {
                platform::Hourglass reloj(*this);
                empresas::BorrarConTrabajadores(db, id.toLongLong());
            }
            MostrarMensaje(QStringLiteral("Empresa Eliminada."));
        }
    }
}

void frmEmpresas::cmdBuscar_Click()
{
    cmdBuscar->hide();
    cmdAyuda->hide();
    cmdListados->hide();
    fraBuscar->show();
    shaBuscar->show();
    txtNombre->setFocus();
}

void frmEmpresas::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
}

// The companies of the grid, in its order and with its search.
void frmEmpresas::cmdImprimir_Click()
{
    listado::ImprimirListado(
        *this, QStringLiteral("LISTADO DE EMPRESAS:"),
        {{listado::kColumnaNombre, QStringLiteral("Nombre de la Empresa.")}},
        listado::Filas(dbgEmpresas->records(), {{listado::kColumnaNombre, QStringLiteral("NombreEmpresa")}}));
}

void frmEmpresas::cmdListados_Click()
{
    Forms::show<frmListados>();
    Forms::unload(*this);
}
