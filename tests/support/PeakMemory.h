#pragma once

#include <QFile>

namespace testing_support {

// The most memory this process has held, in bytes; -1 when it cannot be
// told. Its own: getrusage() would keep the peak of the program that started
// it, across exec, hiding the growth of a child that holds less.
inline qint64 peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

} // namespace testing_support
