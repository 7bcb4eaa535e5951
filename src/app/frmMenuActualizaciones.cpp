// The main window's updates: the catalogue update panel (new models, contracts) and the maker's update page.
#include "app/frmMenu.h"

#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "exchange/ActualizacionCatalogo.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/WebPanel.h"

#include <QGroupBox>
#include <QMenuBar>
#include <QPushButton>
#include <QUrlQuery>

using platform::Forms;

namespace {
// The maker's update server; the page comes over an encrypted connection.
QUrl& servidorActualizaciones()
{
    static QUrl servidor;
    return servidor;
}
} // namespace

void frmMenu::setServidorActualizaciones(const QUrl& servidor)
{
    servidorActualizaciones() = servidor;
}

QUrl frmMenu::PaginaActualizaciones()
{
    QUrl url = servidorActualizaciones();
    if (url.isEmpty())
        url = QUrl(QStringLiteral("https://actualizaciones.quelvan.es"));
    url.setPath(QStringLiteral("/index.php"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("id_soft"), QStringLiteral("6/"));
    url.setQuery(query);
    return url;
}

void frmMenu::cmdEsconder_Click()
{
    fraActualizacion->hide();
}

// The catalogue update panel, in the place of the alerts. Its options start
// cleared, so that each can be chosen again.
void frmMenu::cmdTraspaso_Click()
{
    CerrarResultadosYAvisos();
    for (platform::OptionButton* opcion : optActualizacion)
        opcion->setValue(false);
    fraActualizacion->show();
    fraActualizacion->raise();
}

void frmMenu::optActualizacion_Click(int Index)
{
    // The notice's pause lets window events through: meanwhile the window
    // takes no clicks, so the same file is not applied twice and the window
    // is neither closed nor left for another under the running update.
    const platform::BlockedWindow bloqueo(*this);
    if (Index == 0)
        ImportarModelos();
    else if (Index == 1)
        ActualizarContratos();
}

namespace {

// The notice kept up while an update file is applied.
actualizacion::Aviso avisoDeProceso(const QString& texto)
{
    return {[texto] {
                auto& mensaje = Forms::get<frmMensaje>();
                mensaje.lblMensaje->setText(texto);
                Forms::show(mensaje);
                Esperar(1);
            },
            [] { Forms::unload<frmMensaje>(); }};
}

// Runs `aplicar` on the database, or says why the database cannot be opened.
template <class F>
void conBaseDatos(platform::Form& ventana, F aplicar)
{
    std::optional<platform::Database> db;
    try {
        db.emplace(AbrirBaseDatos());
    } catch (const platform::DbError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    platform::Hourglass reloj(ventana);
    aplicar(*db);
}

} // namespace

void frmMenu::ImportarModelos()
{
    if (platform::MsgBox(QStringLiteral("Va a proceder a importar modelos nuevos y modificaciones de la base de datos, "
                                        "¿Desea Continuar?"),
                         platform::style::YesNo)
        != platform::Answer::Yes)
        return;
    conBaseDatos(*this, [](platform::Database& db) {
        actualizacion::ImportarModelos(db, platform::hostPath(QString::fromLatin1(actualizacion::kFicheroModelos)),
                                       avisoDeProceso(QStringLiteral("Traspasando Modelos.")));
    });
}

void frmMenu::ActualizarContratos()
{
    conBaseDatos(*this, [](platform::Database& db) {
        actualizacion::ActualizarContratos(db,
                                           platform::hostPath(QString::fromLatin1(actualizacion::kFicheroContratos)),
                                           avisoDeProceso(QStringLiteral("Actualizando Contratos.")));
    });
}

void frmMenu::cmdActualizar_Click()
{
    const int arriba = menuBar->sizeHint().height();
    WebBrowser1->setGeometry(0, arriba, width(), static_cast<int>(height() / 1.3));
    cmdCerrarInternet->show();
    cmdCerrarInternet->raise();
    WebBrowser1->show();
    WebBrowser1->raise();
    menuBar->raise();
    WebBrowser1->Navigate(PaginaActualizaciones());
}

void frmMenu::cmdCerrarInternet_Click()
{
    WebBrowser1->hide();
    cmdCerrarInternet->hide();
}
