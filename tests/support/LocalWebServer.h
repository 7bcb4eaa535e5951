#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace testing_support {

// A one-page web server on the loopback: every request gets the same page.
class LocalWebServer : public QTcpServer {
public:
    explicit LocalWebServer(QByteArray html) : html_(std::move(html))
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
    // The server's address: scheme, host and port.
    QUrl root() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(serverPort())); }
    QUrl url(const char* path) const { return QUrl(root().toString() + QLatin1String(path)); }

private:
    QByteArray html_;
};

} // namespace testing_support
