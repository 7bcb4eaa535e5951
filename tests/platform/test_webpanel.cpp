#include "TervaloTest.h"

#include "platform/WebPanel.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// A one-page web server on loopback.
class PaginaLocal : public QTcpServer {
public:
    explicit PaginaLocal(QByteArray html) : html_(std::move(html))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                              + QByteArray::number(html_.size()) + "\r\n\r\n" + html_);
                socket->disconnectFromHost();
            });
        });
    }
    QUrl url(const char* path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(QLatin1String(path)));
    }

private:
    QByteArray html_;
};

} // namespace

class WebPanelTest : public testing_support::TervaloTest {};

TEST_F(WebPanelTest, ShowsThePageAndOpensItsLinksOutside)
{
    PaginaLocal server("<html><body><p>Nueva versión 5.2</p><a href=\"/descarga.php\">Descargar</a></body></html>");
    platform::WebPanel panel;
    QSignalSpy loaded(&panel, &platform::WebPanel::loaded);
    panel.Navigate(server.url("/index.php?id_soft=6/"));
    ASSERT_TRUE(loaded.wait(5000));
    EXPECT_TRUE(panel.toPlainText().contains(QStringLiteral("Nueva versión 5.2")));

    emit panel.anchorClicked(QUrl(QStringLiteral("/descarga.php")));
    ASSERT_EQ(fakeLauncher().opened.size(), 1u);
    EXPECT_EQ(fakeLauncher().opened[0], server.url("/descarga.php"));
}

TEST_F(WebPanelTest, AnUnreachablePageShowsAMessage)
{
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();

    platform::WebPanel panel;
    QSignalSpy loaded(&panel, &platform::WebPanel::loaded);
    panel.Navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/index.php").arg(port)));
    ASSERT_TRUE(loaded.wait(5000));
    EXPECT_EQ(panel.toPlainText(), platform::WebPanel::unreachableText());
}
