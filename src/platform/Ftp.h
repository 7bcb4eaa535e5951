#pragma once

#include "platform/Service.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform {

// An account on an FTP server. The user name and password travel as the
// bytes given (the caller chooses their code page).
struct FtpAccount {
    QString host; // address or host name
    QByteArray user;
    QByteArray password;
};

struct FtpFetch {
    // Connection, login and folder were fine and every file taken was fetched
    // whole and deleted on the server.
    bool complete = false;
    // Files that landed whole in the local folder, in the server's order.
    QStringList fetched;
    // What went wrong first, for the log.
    QString problem;
};

// The FTP client: fetches files of one server folder and deletes them there.
class Ftp {
public:
    virtual ~Ftp() = default;

    // Fetches in binary mode every plain file of `serverFolder` (absolute,
    // e.g. "/OSKA/CONTRATOS") whose name starts with `prefix` (compared byte for
    // byte) into the host folder `localFolder`. Each file is written under a
    // hidden temporary name, synced and renamed to its own name only when it
    // is whole; only then is it deleted on the server. A failed connection,
    // login or folder ends the fetch; a file that fails is skipped and stays
    // on the server. Window events keep being processed while it waits.
    virtual FtpFetch fetch(const FtpAccount& account, const QByteArray& serverFolder, const QByteArray& prefix,
                           const QString& localFolder) = 0;
};

ServiceSlot<Ftp>& ftpSlot();
inline Ftp& ftp() { return ftpSlot().get(); }

// The libcurl client, aimed at `port` of the server (21 for the program).
std::unique_ptr<Ftp> curlFtp(int port = 21);

} // namespace platform
