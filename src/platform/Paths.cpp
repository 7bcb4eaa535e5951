#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace platform {

QString driveCFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("TERVALO_C");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(QDir(fromEnvironment).absolutePath());
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                           + QStringLiteral("/tervalo/C"));
}

bool makeDriveCFolder()
{
    const QString folder = driveCFolder();
    if (QFileInfo(folder).isDir())
        return true;
    const QFileInfo info(folder);
    return QDir().mkpath(info.absolutePath())
        && QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString hostPath(const QString& windowsPath)
{
    if (windowsPath.startsWith(QLatin1Char('/')))
        return windowsPath;
    QString rest = windowsPath;
    QString root;
    if (rest.size() >= 2 && rest.at(1) == QLatin1Char(':') && rest.at(0).isLetter()) {
        const QChar drive = rest.at(0).toUpper();
        root = driveCFolder();
        if (drive != QLatin1Char('C'))
            root = QDir::cleanPath(root + QStringLiteral("/../") + drive);
        rest = rest.mid(2);
    }
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (root.isEmpty())
        return QDir::cleanPath(rest);
    return QDir::cleanPath(root + QLatin1Char('/') + rest);
}

QString windowsPath(const QString& hostPath)
{
    const auto windows = [](QString drive, QString rest) {
        rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return drive + QLatin1Char(':') + (rest.isEmpty() ? QStringLiteral("\\") : rest);
    };
    // Relative to the current folder (given so on a command line): as given.
    if (!hostPath.startsWith(QLatin1Char('/')))
        return hostPath;
    const QString path = QDir::cleanPath(hostPath);
    const QString root = driveCFolder();
    if (path == root || path.startsWith(root + QLatin1Char('/')))
        return windows(QStringLiteral("C"), path.mid(root.size()));
    // The other drives are folders beside drive C:'s, named by their letter.
    const QString drives = QFileInfo(root).path();
    const QString prefix = drives.endsWith(QLatin1Char('/')) ? drives : drives + QLatin1Char('/');
    if (path.startsWith(prefix)) {
        const QString rest = path.mid(prefix.size());
        const qsizetype end = rest.indexOf(QLatin1Char('/'));
        const QString letter = rest.left(end);
        if (letter.size() == 1 && letter.at(0) >= QLatin1Char('A') && letter.at(0) <= QLatin1Char('Z')
            && letter.at(0) != QLatin1Char('C'))
            return windows(letter, end < 0 ? QString() : rest.mid(end));
    }
    return path;
}

QString programFolder()
{
    return hostPath(QString::fromLatin1(kProgramFolder));
}

QString resolveCase(const QString& hostPath)
{
    if (QFileInfo::exists(hostPath))
        return hostPath;
    const QString clean = QDir::cleanPath(hostPath);
    const QStringList parts = clean.split(QLatin1Char('/'));
    QString found = clean.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QStringLiteral(".");
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        QDir dir(found);
        QString match;
        if (QFileInfo::exists(dir.filePath(part))) {
            match = part;
        } else {
            const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
            for (const QString& entry : dir.entryList(all)) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    match = entry;
                    break;
                }
            }
        }
        if (match.isEmpty())
            return hostPath;
        found = dir.filePath(match);
    }
    return found;
}

bool isPlainFileName(const QString& name)
{
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || QStringLiteral("\\/:*?\"<>|").contains(c);
    });
}

bool isVisibleFileName(const QString& name)
{
    return isPlainFileName(name) && !name.startsWith(QLatin1Char('.'));
}

} // namespace platform
