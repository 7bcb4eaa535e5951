#include "TervaloTest.h"

#include "LocalWebServer.h"
#include "platform/WebPanel.h"

#include <QSignalSpy>
#include <QTcpServer>

using testing_support::LocalWebServer;

class WebPanelTest : public testing_support::TervaloTest {};

TEST_F(WebPanelTest, ShowsThePageAndOpensItsLinksOutside)
{
    LocalWebServer server("<html><body><p>Nueva versión 5.2</p><a href=\"/descarga.php\">Descargar</a></body></html>");
    platform::WebPanel panel;
    QSignalSpy loaded(&panel, &platform::WebPanel::loaded);
    panel.Navigate(server.url("/index.php?id_soft=6/"));
    ASSERT_TRUE(loaded.wait(5000));
    EXPECT_TRUE(panel.toPlainText().contains(QStringLiteral("Nueva versión 5.2")));

    emit panel.anchorClicked(QUrl(QStringLiteral("/descarga.php")));
    ASSERT_EQ(fakeLauncher().opened.size(), 1u);
    EXPECT_EQ(fakeLauncher().opened[0], server.url("/descarga.php"));

    // Web pages only: nothing local, no other program.
    for (const char* link : {"file:///etc/passwd", "ms-settings:privacy", "javascript:alert(1)", "mailto:a@b.es"})
        emit panel.anchorClicked(QUrl(QString::fromLatin1(link)));
    emit panel.anchorClicked(QUrl(QStringLiteral("https://actualizaciones.quelvan.es/v52.zip")));
    ASSERT_EQ(fakeLauncher().opened.size(), 2u);
    EXPECT_EQ(fakeLauncher().opened[1].scheme(), QStringLiteral("https"));
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
