#include "exchange/frmListadoImportados.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "common/frmMensaje.h"
#include "exchange/Buscar.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "production/frmEleccionContrato.h"

#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <optional>

using platform::Forms;

namespace {

// Widths of the columns, in twips; the layout widens them with the window.
constexpr int kAnchosColumnas[] = {400, 650, 3500, 650, 3500};

// Company number and worker number of a file of ContratosTemp: the name less
// its last five characters, and those five as a number. Nothing when the name
// cannot be split so.
std::optional<std::pair<QString, int>> NumerosDelFichero(const QString& nombre)
{
    if (nombre.size() < 5)
        return std::nullopt;
    const QString numero = nombre.right(5);
    for (QChar c : numero) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return std::make_pair(nombre.left(nombre.size() - 5), numero.toInt());
}

// The name of a file of List1, less its folder.
QString NombreDelFichero(const QString& entrada)
{
    return entrada.mid(entrada.lastIndexOf(QLatin1Char('\\')) + 1);
}

} // namespace

frmListadoImportados::frmListadoImportados() : Form(QStringLiteral("frmListadoImportados"))
{
    setWindowTitle(QStringLiteral("Listado de contratos importados activos : "));
    designSize(9960, 8040);

    lblTitulo = place(new QLabel(QStringLiteral("Listado de contratos importados y residentes en memoria : ")),
                      "lblTitulo", 240, 240, 9480, 360);
    lblTitulo->setStyleSheet(QStringLiteral("font-weight: bold;"));

    fraNumero = place(new QGroupBox(QStringLiteral("Número : ")), "fraNumero", 240, 720, 3840, 780);
    place(new QLabel(QStringLiteral("Número de registros : ")), "lblNumero", 180, 330, 2160, 300, fraNumero);
    txtNum = place(new QLineEdit, "txtNum", 2400, 300, 1200, 360, fraNumero);
    platform::makeCounter(txtNum);

    lblMensaje0Contratos =
        place(new QLabel(QStringLiteral("NO HAY CONTRATOS EN MEMORIA")), "lblMensaje0Contratos", 4440, 960, 5280, 360);
    lblMensaje0Contratos->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    lblMensaje0Contratos->setAlignment(Qt::AlignCenter);

    mshListadoImportados = place(new platform::FlexGrid, "mshListadoImportados", 240, 1680, 9480, 5280);

    cmdRealizarContrato =
        place(new QPushButton(QStringLiteral("Realizar Contrato")), "cmdRealizarContrato", 240, 7200, 2400, 480);
    cmdRealizarContrato->setToolTip(QStringLiteral("Generar el contrato a partir de los datos introducidos."));
    cmdBorrar = place(new QPushButton(QStringLiteral("Borrar.")), "cmdBorrar", 2880, 7200, 1560, 480);
    cmdBorrar->setToolTip(QStringLiteral("Borra el contrato seleccionado."));
    cmdSalir = place(new QPushButton(QStringLiteral("Volver.")), "cmdSalir", 8160, 7200, 1560, 480);
    cmdSalir->setToolTip(QStringLiteral("Volver al Menú Principal."));

    onClick(cmdRealizarContrato, [this] { cmdRealizarContrato_Click(); });
    onClick(cmdBorrar, [this] { cmdBorrar_Click(); });
    onClick(cmdSalir, [this] { cmdSalir_Click(); });
}

void frmListadoImportados::Form_Load()
{
    Elastico().Init(*this);
    LlenarLista();
}

void frmListadoImportados::Form_Resize()
{
    Elastico().FormResize(*this);
}

// Lists the waiting files, one row each, with its worker as stored. A file
// whose worker is not stored shows what is known: the worker and company
// numbers its name gives, and the company's name when it is stored. The count
// is of files, as many as the rows.
void frmListadoImportados::LlenarLista()
{
    BuscarTemporales();
    const QListWidget* List1 = Forms::get<frmMenu>().List1;
    const int n = List1->count();
    txtNum->setText(QString::number(n));
    cmdRealizarContrato->setEnabled(n > 0);
    cmdBorrar->setEnabled(n > 0);
    lblMensaje0Contratos->setVisible(n <= 0);
    mshListadoImportados->setVisible(n > 0);
    ficheros_.assign(1, QString());
    conTrabajador_.assign(1, false);
    if (n < 1) {
        platform::MsgBox(QStringLiteral("No hay ningún contrato importado en memoria."),
                         platform::style::Information);
        return;
    }

    auto* grid = mshListadoImportados;
    grid->Clear();
    grid->setCols(5);
    grid->setRows(n + 1);
    grid->setFixedRows(1);
    grid->setFixedCols(1);
    const char* const cabeceras[] = {"N", "Trab.", "Nombre Trabajador.", "Empre", "Nombre Empresa"};
    for (int c = 0; c < 5; ++c) {
        grid->setTextMatrix(0, c, QString::fromUtf8(cabeceras[c]));
        grid->setColWidth(c, kAnchosColumnas[c]);
    }
    grid->setRow(0);
    grid->setCol(0);
    grid->setCellFontBold(true);
    grid->setCol(1);
    grid->setCellFontBold(true);
    grid->setCellAlignment(1);

    ficheros_.assign(n + 1, QString());
    conTrabajador_.assign(n + 1, false);
    // Without the database each row shows what its file's name tells.
    std::optional<platform::Database> db;
    const auto fallo = [&db](const platform::DbError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        db.reset();
    };
    try {
        db.emplace(AbrirBaseDatos());
    } catch (const platform::DbError& error) {
        fallo(error);
    }
    for (int fila = 1; fila <= n; ++fila) {
        const QString fichero = List1->item(fila - 1)->text();
        const QString nombre = NombreDelFichero(fichero);
        ficheros_[static_cast<std::size_t>(fila)] = fichero;
        grid->setTextMatrix(fila, 0, QString::number(fila));
        const qsizetype corte = std::max<qsizetype>(0, nombre.size() - 5);
        grid->setTextMatrix(fila, 1, nombre.mid(corte));
        grid->setTextMatrix(fila, 3, nombre.left(corte));
        if (!db)
            continue;
        try {
            const auto numeros = NumerosDelFichero(nombre);
            const auto trabajador = numeros ? db->first(QStringLiteral(
                                                  "SELECT NúmeroTrabajador, NombreTrabajador, NumEmpresa, Empresa "
                                                  "FROM Trabajadores WHERE NúmeroTrabajador = ? AND NumEmpresa = ? "
                                                  "ORDER BY IdTrabajador LIMIT 1"),
                                              {numeros->second, numeros->first})
                                            : std::nullopt;
            if (trabajador) {
                grid->setTextMatrix(
                    fila, 1,
                    QStringLiteral("%1").arg(trabajador->value(QStringLiteral("NúmeroTrabajador")).toInt(), 5, 10,
                                             QLatin1Char('0')));
                grid->setTextMatrix(fila, 2, trabajador->text(QStringLiteral("NombreTrabajador")));
                grid->setTextMatrix(fila, 3, trabajador->text(QStringLiteral("NumEmpresa")));
                grid->setTextMatrix(fila, 4, trabajador->text(QStringLiteral("Empresa")));
                conTrabajador_[static_cast<std::size_t>(fila)] = true;
            } else if (const auto empresa = db->first(QStringLiteral("SELECT NombreEmpresa FROM Empresas WHERE "
                                                                     "NúmeroEmpresa = ? ORDER BY IdEmpresa LIMIT 1"),
                                                      {nombre.left(corte)})) {
                grid->setTextMatrix(fila, 4, empresa->text(QStringLiteral("NombreEmpresa")));
            }
        } catch (const platform::DbError& error) {
            fallo(error);
        }
    }
    grid->setRow(1);
    grid->setCol(1);
}

QString frmListadoImportados::FicheroActual() const
{
    const int fila = mshListadoImportados->Row();
    if (fila < 1 || fila >= static_cast<int>(ficheros_.size()))
        return {};
    return ficheros_[static_cast<std::size_t>(fila)];
}

// Hands the row's worker and company to contract production, whose
// "Importar." then reads this row's file.
void frmListadoImportados::cmdRealizarContrato_Click()
{
    const QString fichero = FicheroActual();
    if (fichero.isEmpty())
        return;
    if (!conTrabajador_[static_cast<std::size_t>(mshListadoImportados->Row())]) {
        platform::MsgBox(QStringLiteral("El trabajador del contrato importado %1 no está en la base de datos: no se "
                                        "puede realizar su contrato.")
                             .arg(NombreDelFichero(fichero)),
                         platform::style::Critical);
        return;
    }
    const auto* grid = mshListadoImportados;
    const int fila = grid->Row();
    auto& contrato = Forms::get<frmEleccionContrato>();
    contrato.txtNumTrabajador->setText(grid->TextMatrix(fila, 1));
    contrato.txtNombreTrabajador->setText(grid->TextMatrix(fila, 2));
    // The company number as the file names it: the stored one may be padded
    // with blanks, and the file would not be found by it.
    contrato.txtNumEmpresa->setText(NumerosDelFichero(NombreDelFichero(fichero))->first);
    contrato.txtNombreEmpresa->setText(grid->TextMatrix(fila, 4));
    Forms::show(contrato);
    Forms::unload(*this);
}

// Deletes the current row's file without asking, then lists again. A file
// already gone only refreshes the list.
void frmListadoImportados::cmdBorrar_Click()
{
    const QString fichero = FicheroActual();
    if (fichero.isEmpty())
        return;
    QFile archivo(platform::hostPath(fichero));
    if (archivo.exists()) {
        if (archivo.remove())
            MostrarMensaje(QStringLiteral("ARCHIVO BORRADO."), 2);
        else
            platform::MsgBox(QStringLiteral("No se puede borrar el fichero %1.").arg(fichero),
                             platform::style::Critical);
    }
    LlenarLista();
}

void frmListadoImportados::cmdSalir_Click()
{
    Forms::show<frmMenu>();
    Forms::unload(*this);
}

// The close box leaves as "Volver." does, so the hidden main window comes back.
void frmListadoImportados::closeEvent(QCloseEvent* event)
{
    event->accept();
    cmdSalir_Click();
}
