#include "platform/WebPanel.h"

#include "platform/Launcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace platform {

WebPanel::WebPanel(QWidget* parent) : QTextBrowser(parent), network_(new QNetworkAccessManager(this))
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        // Only web pages go to the browser: a page must not start local files
        // or other programs through the desktop.
        const QUrl target = location_.resolved(link);
        if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https"))
            launcher().openUrl(target);
    });
}

WebPanel::~WebPanel() = default;

QString WebPanel::unreachableText()
{
    return QStringLiteral("No se ha podido abrir la página de actualizaciones. "
                          "Compruebe la conexión a Internet y vuelva a intentarlo.");
}

void WebPanel::Navigate(const QUrl& url)
{
    if (pending_) {
        pending_->disconnect(this);
        pending_->abort();
        pending_->deleteLater();
    }
    location_ = url;
    setHtml(QStringLiteral("<p>Cargando…</p>"));
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(15000);
    pending_ = network_->get(request);
    connect(pending_, &QNetworkReply::finished, this, [this, reply = pending_] { finished(reply); });
}

void WebPanel::finished(QNetworkReply* reply)
{
    if (reply == pending_)
        pending_ = nullptr;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        setPlainText(unreachableText());
    } else {
        location_ = reply->url();
        setHtml(QString::fromUtf8(reply->readAll()));
    }
    emit loaded();
}

} // namespace platform
