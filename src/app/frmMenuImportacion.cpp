// The main window's import: the payroll server's records fetched and imported, the results and their conflict lists.
#include "app/frmMenu.h"

#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "exchange/Buscar.h"
#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"
#include "exchange/Servidor.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

using platform::Forms;
using platform::isShown;

void frmMenu::cmdCerrarResultados_Click()
{
    for (QWidget* w : std::initializer_list<QWidget*>{shaResultados, fraListado, fraResultadosE, fraResultadosT,
                                                      lblTituloR, cmdCerrarResultados})
        w->hide();
}

// Fetches the contract records of the payroll server, imports them into the
// companies and workers, and shows what the run did. While it runs the window
// keeps painting but takes no input, so it can neither start again nor close.
void frmMenu::cmdImportar_Click()
{
    if (importando_)
        return;
    if (isShown(fraConfigurar))
        cmdCerrar_Click();
    fraMantenimientos->hide();
    shaMantenimientos->hide();
    fraActualizacion->hide();
    List1->clear();
    try {
        LeerConfiguracion();
    } catch (const platform::FileError&) {
        platform::MsgBox(QStringLiteral("Se ha producido un error al importar datos del central Unix."),
                         platform::style::Critical);
        return;
    }
    if (configuracion_.Ip.trimmed().isEmpty()) {
        platform::MsgBox(QStringLiteral("No se ha introducido una IP de servidor."), platform::style::Critical);
        return;
    }

    importando_ = true;
    std::vector<QWidget*> desactivados;
    for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow() && control->isEnabled()) {
            control->setEnabled(false);
            desactivados.push_back(control);
        }
    }
    const auto reactivar = qScopeGuard([&] {
        for (QWidget* control : desactivados)
            control->setEnabled(true);
        importando_ = false;
    });

    // The notice may still be loaded from a print run, saying so.
    auto& aviso = Forms::get<frmImprimiendo>();
    aviso.lblImprimir->setText(QStringLiteral("Importando."));
    QCoreApplication::processEvents();
    Forms::show(aviso);
    const bool discoLleno = TraerContratosServidor();
    BuscarImportados();
    ProcesarContratosImportados(discoLleno);
    platform::MsgBox(QStringLiteral("Ha finalizado la importación de contratos"), platform::style::Information);

    fraListado->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{shaResultados, fraResultadosE, fraResultadosT, lblTituloR,
                                                      cmdCerrarResultados})
        w->show();
    txtEmpresas->setText(QString::number(ContadorFicheros));
    txtTrabajadores->setText(QString::number(ContadorFicheros));
    txtNuevasE->setText(QString::number(ContadorNuevasE));
    txtDiscordanciasE->setText(QString::number(ContadorDiscordanciasE));
    txtNuevosT->setText(QString::number(ContadorNuevosT));
    txtDiscordanciasT->setText(QString::number(ContadorDiscordanciasT));
    cmdListadoT->setVisible(ContadorDiscordanciasT > 0);
    Forms::unload<frmImprimiendo>();
}

// A fetch that did not go through whole is told; the import goes on with
// whatever arrived. Whether it told a full disk.
bool frmMenu::TraerContratosServidor()
{
    exchange::ResultadoTraida traida;
    try {
        LeerConfiguracion();
        traida = exchange::TraerContratosServidor(configuracion_);
    } catch (const std::exception&) {
        traida.fallo = QString::fromUtf8(exchange::kErrorServidor);
    }
    if (traida.fallo)
        platform::MsgBox(*traida.fallo, platform::style::Critical);
    return traida.discoLleno;
}

// `discoLlenoDicho`: the user has been told that the disk is full, and a run
// stopped by it says nothing more.
void frmMenu::ProcesarContratosImportados(bool discoLlenoDicho)
{
    QStringList ficheros;
    for (int i = 0; i < List1->count(); ++i)
        ficheros << List1->item(i)->text();
    exchange::ResultadoImportacion resultado;
    try {
        auto db = AbrirBaseDatos();
        resultado = exchange::ProcesarContratosImportados(db, ficheros, discoLlenoDicho);
    } catch (const platform::DbError& error) {
        exchange::AvisarBaseDatos(error, discoLlenoDicho);
    }
    const exchange::ContadoresImportacion& c = resultado.contadores;
    ContadorFicheros = c.Ficheros;
    ContadorNuevasE = c.NuevasEmpresas;
    ContadorNuevosT = c.NuevosTrabajadores;
    ContadorDiscordanciasE = c.DiscordanciasE;
    ContadorDiscordanciasT = c.DiscordanciasT;
    cmdListadoE->setVisible(ContadorDiscordanciasE > 0);
}

void frmMenu::cmdListadoE_Click()
{
    ListarDiscordancias(exchange::kDiscordanciasE, 35, 0, ContadorDiscordanciasE);
}

void frmMenu::cmdListadoT_Click()
{
    ListarDiscordancias(exchange::kDiscordanciasT, 40, 5, ContadorDiscordanciasT);
}

// Lists the names of the latest run's conflicts of one kind, as the log keeps
// them (30 characters from `inicioNombre` of each record).
void frmMenu::ListarDiscordancias(const char* log, int longitudRegistro, int inicioNombre, int cuantas)
{
    fraResultadosE->hide();
    fraResultadosT->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{shaResultados, lblTituloR, fraListado, cmdCerrarResultados})
        w->show();
    lstDiscordancias->clear();
    QByteArray registros;
    try {
        registros = platform::readWholeFile(platform::hostPath(QString::fromLatin1(log)));
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    for (int i = 0; i < cuantas && (i + 1) * longitudRegistro <= registros.size(); ++i)
        lstDiscordancias->addItem(platform::fromCp1252(registros.mid(i * longitudRegistro + inicioNombre, 30)));
}
