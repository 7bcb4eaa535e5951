#include "platform/Ftp.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <curl/curl.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace platform {

namespace {

constexpr long kConnectSeconds = 30;
constexpr long kStallSeconds = 60;
// Longest time the windows wait for their events while a transfer runs.
constexpr int kPollMilliseconds = 30;

void initialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t appendTo(char* data, size_t size, size_t count, void* target)
{
    static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

// A file being fetched, written straight to its descriptor so that a failed
// write is known at once and with its cause.
struct PartFile {
    int fd = -1;
    qint64 written = 0;
    int error = 0; // errno of the first local failure
};

size_t writeTo(char* data, size_t size, size_t count, void* target)
{
    auto* part = static_cast<PartFile*>(target);
    const size_t length = size * count;
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(part->fd, data + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            part->error = n < 0 ? errno : EIO;
            return 0;
        }
        done += static_cast<size_t>(n);
        part->written += n;
    }
    return length;
}

FtpLocalFailure localFailureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return FtpLocalFailure::DiskFull;
    case EACCES:
    case EPERM:
        return FtpLocalFailure::NoPermission;
    default:
        return FtpLocalFailure::CannotWrite;
    }
}

// A host the address may name: letters, digits, dots and hyphens only, so
// nothing else can slip into the address.
bool plainHost(const QString& host)
{
    if (host.isEmpty())
        return false;
    for (QChar c : host) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-'))
            return false;
    }
    return true;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// One connection to the server, reused by every request of a fetch. Requests
// run through a multi handle so that window events are processed while they
// wait on the network.
class Session {
public:
    Session(const FtpAccount& account, int port, const QByteArray& folder) : folder_(folder)
    {
        multi_ = curl_multi_init();
        easy_ = curl_easy_init();
        base_ = "ftp://" + account.host.toLatin1() + ':' + QByteArray::number(port) + "/%2F"
            + folder.mid(1).toPercentEncoding("/") + '/';
        user_ = account.user;
        password_ = account.password;
        curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, error_);
        curl_easy_setopt(easy_, CURLOPT_USERNAME, user_.constData());
        curl_easy_setopt(easy_, CURLOPT_PASSWORD, password_.constData());
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
        curl_easy_setopt(easy_, CURLOPT_ACCEPTTIMEOUT_MS, kConnectSeconds * 1000);
        curl_easy_setopt(easy_, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
        curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
        curl_easy_setopt(easy_, CURLOPT_FTP_USE_EPSV, 0L);
        curl_easy_setopt(easy_, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
        curl_easy_setopt(easy_, CURLOPT_TRANSFERTEXT, 0L);
    }

    ~Session()
    {
        curl_easy_cleanup(easy_);
        curl_multi_cleanup(multi_);
        curl_slist_free_all(quote_);
    }

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The names of the folder (NLST). A refused passive mode, or a passive
    // data connection that fails, is tried once more in active mode, which
    // then serves the rest of the session.
    CURLcode list(QByteArray* names)
    {
        CURLcode result = listOnce(names);
        if (result != CURLE_OK && !active_ && passiveFailed(result)) {
            active_ = true;
            curl_easy_setopt(easy_, CURLOPT_FTPPORT, "-");
            result = listOnce(names);
        }
        // 450 or 550 to NLST: the folder holds no file.
        if (result == CURLE_FTP_COULDNT_RETR_FILE && responseCode() == 550) {
            names->clear();
            return CURLE_OK;
        }
        return result;
    }

    CURLcode download(const QByteArray& name, PartFile* file, curl_off_t* serverSize)
    {
        prepare(base_ + name.toPercentEncoding(), false);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, writeTo);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, file);
        const CURLcode result = perform();
        *serverSize = -1;
        curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, serverSize);
        return result;
    }

    // Quote commands go before the change of folder, so the name is absolute.
    CURLcode remove(const QByteArray& name)
    {
        prepare(base_, true);
        quote_ = curl_slist_append(nullptr, ("DELE " + folder_ + '/' + name).constData());
        curl_easy_setopt(easy_, CURLOPT_QUOTE, quote_);
        const CURLcode result = perform();
        curl_easy_setopt(easy_, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(quote_);
        quote_ = nullptr;
        return result;
    }

    // Whether the name is a folder of the server folder: the server lets the
    // session change into it.
    bool isFolder(const QByteArray& name)
    {
        prepare(base_ + name.toPercentEncoding() + '/', true);
        return perform() == CURLE_OK;
    }

    QString describe(CURLcode result) const
    {
        const QString detail = QString::fromLocal8Bit(error_);
        return detail.isEmpty() ? QString::fromLatin1(curl_easy_strerror(result)) : detail;
    }

private:
    CURLcode listOnce(QByteArray* names)
    {
        names->clear();
        prepare(base_, false);
        curl_easy_setopt(easy_, CURLOPT_DIRLISTONLY, 1L);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, appendTo);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, names);
        return perform();
    }

    void prepare(const QByteArray& url, bool noBody)
    {
        url_ = url;
        error_[0] = '\0';
        curl_easy_setopt(easy_, CURLOPT_URL, url_.constData());
        curl_easy_setopt(easy_, CURLOPT_DIRLISTONLY, 0L);
        curl_easy_setopt(easy_, CURLOPT_NOBODY, noBody ? 1L : 0L);
    }

    long responseCode() const
    {
        long code = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    // The login went through (the server told its folder) and the failure
    // came with passive mode or its data connection.
    bool passiveFailed(CURLcode result) const
    {
        char* entryPath = nullptr;
        curl_easy_getinfo(easy_, CURLINFO_FTP_ENTRY_PATH, &entryPath);
        if (!entryPath)
            return false;
        switch (result) {
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
        case CURLE_FTP_CANT_GET_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
            return true;
        default:
            return false;
        }
    }

    CURLcode perform()
    {
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK)
            return CURLE_FAILED_INIT;
        CURLcode result = CURLE_FAILED_INIT;
        int running = 1;
        while (running > 0) {
            if (curl_multi_perform(multi_, &running) != CURLM_OK)
                break;
            if (running == 0)
                break;
            curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
            if (QCoreApplication::instance())
                QCoreApplication::processEvents();
        }
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy_)
                result = message->data.result;
        }
        curl_multi_remove_handle(multi_, easy_);
        return result;
    }

    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    curl_slist* quote_ = nullptr;
    QByteArray folder_;
    QByteArray base_;
    QByteArray url_;
    QByteArray user_;
    QByteArray password_;
    bool active_ = false;
    char error_[CURL_ERROR_SIZE] = {};
};

class CurlFtp final : public Ftp {
public:
    explicit CurlFtp(int port) : port_(port) {}

    FtpFetch fetch(const FtpAccount& account, const QByteArray& serverFolder, const QByteArray& prefix,
                   const QString& localFolder, const FtpWanted& wanted) override
    {
        FtpFetch outcome;
        if (!plainHost(account.host)) {
            outcome.problem = QStringLiteral("Dirección de servidor no válida: %1").arg(account.host);
            return outcome;
        }
        removeLeftParts(localFolder);
        initialiseCurl();
        Session session(account, port_, serverFolder);

        QByteArray listing;
        const CURLcode listed = session.list(&listing);
        if (listed != CURLE_OK) {
            outcome.problem = session.describe(listed);
            return outcome;
        }
        outcome.complete = true;
        for (QByteArray name : listing.split('\n')) {
            if (name.endsWith('\r'))
                name.chop(1);
            if (!name.startsWith(prefix))
                continue;
            // A name no folder could hold (a path, a control character) is
            // never wanted.
            const QString shown = fromCp1252(name);
            if (!isPlainFileName(shown) || !wanted(shown)) {
                outcome.passedOver << shown;
                continue;
            }
            const OneFile one = fetchOne(session, name, localFolder);
            if (one.landed)
                outcome.fetched << shown;
            if (one.landed && !one.deleted) {
                outcome.notDeleted << shown;
                if (outcome.problem.isEmpty())
                    outcome.problem = one.problem;
                continue;
            }
            if (!one.problem.isEmpty() && outcome.complete) {
                outcome.complete = false;
                outcome.problem = one.problem;
            }
            // The files after it would meet the same disk or folder.
            if (one.localFailure != FtpLocalFailure::None) {
                outcome.localFailure = one.localFailure;
                outcome.problem = one.problem;
                break;
            }
        }
        return outcome;
    }

private:
    struct OneFile {
        bool landed = false; // whole, under its own name in the local folder
        QString problem;
        FtpLocalFailure localFailure = FtpLocalFailure::None;
        bool deleted = false; // on the server, once landed
    };

    static OneFile localFailure(const QString& path, int error)
    {
        return {false,
                QStringLiteral("No se puede escribir el fichero %1: %2.")
                    .arg(path, QString::fromLocal8Bit(std::strerror(error))),
                localFailureOf(error)};
    }

    // Part files left by a fetch that never ended (the program killed) hold
    // personal data that nothing will read: their files are still on the
    // server.
    static void removeLeftParts(const QString& localFolder)
    {
        QDir folder(localFolder);
        const QStringList parts =
            folder.entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& part : parts)
            folder.remove(part);
    }

    // Fetches one file whole into place, then deletes it on the server. A
    // file that arrived whole but could not be deleted stays in place and on
    // the server.
    static OneFile fetchOne(Session& session, const QByteArray& name, const QString& localFolder)
    {
        const QString localName = fromCp1252(name);
        const QString finalPath = localFolder + QLatin1Char('/') + localName;
        const QString partPath = localFolder + QStringLiteral("/.") + localName + QStringLiteral(".part");
        const QByteArray partName = QFile::encodeName(partPath);
        // Owner-only from the start: records hold personal data.
        PartFile part;
        part.fd = ::open(partName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (part.fd < 0)
            return localFailure(partPath, errno);

        curl_off_t serverSize = -1;
        const CURLcode result = session.download(name, &part, &serverSize);
        QString problem;
        if (part.error == 0) {
            if (result != CURLE_OK)
                problem = session.describe(result);
            else if (serverSize >= 0 && serverSize != part.written)
                problem = QStringLiteral("%1 llegó incompleto.").arg(localName);
            else if (::fsync(part.fd) != 0)
                part.error = errno;
        }
        if (::close(part.fd) != 0 && part.error == 0)
            part.error = errno;
        if (part.error == 0 && problem.isEmpty()
            && std::rename(partName.constData(), QFile::encodeName(finalPath).constData()) != 0)
            part.error = errno;
        if (part.error != 0 || !problem.isEmpty())
            ::unlink(partName.constData());
        if (part.error != 0)
            return localFailure(partPath, part.error);
        if (!problem.isEmpty()) {
            // A folder cannot be fetched, and is no failure.
            if (result != CURLE_OK && session.isFolder(name))
                return {false, QString()};
            return {false, problem};
        }
        syncFolder(localFolder);

        const CURLcode removed = session.remove(name);
        if (removed != CURLE_OK)
            return {true, session.describe(removed)};
        return {true, QString(), FtpLocalFailure::None, true};
    }

    int port_;
};

} // namespace

ServiceSlot<Ftp>& ftpSlot()
{
    static ServiceSlot<Ftp> slot([]() -> std::unique_ptr<Ftp> { return curlFtp(21); });
    return slot;
}

std::unique_ptr<Ftp> curlFtp(int port)
{
    return std::make_unique<CurlFtp>(port);
}

} // namespace platform
