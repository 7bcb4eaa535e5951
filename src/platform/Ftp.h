#pragma once

#include "platform/Service.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace platform {

// An account on an FTP server. The user name and password travel as the
// bytes given (the caller chooses their code page).
struct FtpAccount {
    QString host; // address or host name
    QByteArray user;
    QByteArray password;
};

// Why a file could not be written into the local folder.
enum class FtpLocalFailure {
    None,
    DiskFull,     // no room left (or the file may grow no more)
    NoPermission, // the folder does not let the program write
    CannotWrite,  // any other failure of the folder or the disk
};

struct FtpFetch {
    // Connection, login and folder were fine and every file taken was fetched
    // whole.
    bool complete = false;
    // A file could not be written into the local folder: the fetch stopped
    // there, and that file and those after it stay on the server.
    FtpLocalFailure localFailure = FtpLocalFailure::None;
    // Files that landed whole in the local folder, in the server's order.
    QStringList fetched;
    // Of those, the files the server did not let the client delete: they stay
    // there and come again with the next fetch.
    QStringList notDeleted;
    // Names with the prefix that were not wanted: they stay on the server.
    QStringList passedOver;
    // What went wrong first, for the log.
    QString problem;
};

// Whether the file of the server so named (read as Windows-1252) is wanted.
using FtpWanted = std::function<bool(const QString& name)>;

// The FTP client: fetches files of one server folder and deletes them there.
class Ftp {
public:
    virtual ~Ftp() = default;

    // Fetches in binary mode every file of `serverFolder` (absolute, e.g.
    // "/OSKA/CONTRATOS") whose name starts with `prefix` (compared byte for
    // byte) and is `wanted` into the host folder `localFolder`; a name no
    // folder could hold is never wanted, and folders are passed over. Each
    // file is written under a hidden temporary name, synced and renamed to its
    // own name only when it is whole; only then is it deleted on the server.
    // Hidden files of an earlier fetch that never ended are removed first.
    // A failed connection, login or folder ends the fetch, and so does a file
    // that cannot be written locally; a file the server fails to send is
    // skipped and stays there, and so does a file it refuses to delete, which
    // is in place here all the same. Window events keep being processed while
    // it waits.
    virtual FtpFetch fetch(const FtpAccount& account, const QByteArray& serverFolder, const QByteArray& prefix,
                           const QString& localFolder, const FtpWanted& wanted) = 0;
};

ServiceSlot<Ftp>& ftpSlot();
inline Ftp& ftp() { return ftpSlot().get(); }

// The libcurl client, aimed at `port` of the server (21 for the program).
std::unique_ptr<Ftp> curlFtp(int port = 21);

} // namespace platform
