#pragma once

#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace platform {

// A web page panel: loads a page over HTTP and shows it as rich text. Its
// web links (http and https, none other) open in the desktop's browser. A page that cannot be reached shows a
// short message instead.
class WebPanel : public QTextBrowser {
    Q_OBJECT
public:
    explicit WebPanel(QWidget* parent = nullptr);
    ~WebPanel() override;

    void Navigate(const QUrl& url);
    QUrl LocationURL() const { return location_; }

    static QString unreachableText();

signals:
    // The page (or the message in its place) is shown.
    void loaded();

private:
    void finished(QNetworkReply* reply);

    QNetworkAccessManager* network_;
    QNetworkReply* pending_ = nullptr;
    QUrl location_;
};

} // namespace platform
