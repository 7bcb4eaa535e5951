#include "Doubles.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace testing_support {

platform::Answer ScriptedMessageBoxes::show(const QString& text, int style, const QString& title)
{
    shown_.push_back({text, style, title});
    if (!platform::isQuestion(style))
        return platform::Answer::Ok;
    if (answers_.empty()) {
        ADD_FAILURE() << "Unanswered question: " << text.toStdString();
        return platform::defaultAnswer(style);
    }
    const platform::Answer next = answers_.front();
    answers_.pop_front();
    return next;
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList all;
    for (const auto& s : shown_)
        all << s.text;
    return all;
}

void FakeClock::wait(double seconds)
{
    waits.push_back(seconds);
    if (seconds > 0)
        now_ = now_.addMSecs(static_cast<qint64>(seconds * 1000.0));
    if (duringWait)
        duringWait(seconds);
}

bool FakeLauncher::start(const QString& program, const QStringList& arguments)
{
    started << (arguments.isEmpty() ? program : program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
    return succeed;
}

bool FakeLauncher::openUrl(const QUrl& url)
{
    opened.push_back(url);
    return succeed;
}

void FakeOffice::record(Call call)
{
    calls.push_back(call);
    if (onCall)
        onCall(calls.back());
    if (!failure.isEmpty() && call.action != QLatin1String("convert"))
        throw platform::OfficeError(failure);
}

void FakeOffice::show(const QString& hostPath)
{
    record({QStringLiteral("show"), hostPath, platform::PageSet::All, 0, {}});
}

void FakeOffice::print(const QString& hostPath, platform::PageSet pages, int copies)
{
    QFile file(hostPath);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly))
        content = file.readAll();
    record({QStringLiteral("print"), hostPath, pages, copies, content});
}

QByteArray FakeOffice::convert(const QString& hostPath, const QString& format)
{
    record({QStringLiteral("convert"), hostPath, platform::PageSet::All, 0, {}});
    if (libreOfficeMissing)
        throw platform::OfficeError(QStringLiteral("Falta LibreOffice."), true);
    if (converted.isEmpty())
        throw platform::OfficeError(QStringLiteral("No se ha podido convertir a %1.").arg(format));
    return converted;
}

QStringList FakeOffice::journal() const
{
    QStringList out;
    for (const Call& c : calls) {
        QString line = c.action;
        if (c.action == QLatin1String("print")) {
            const char* set = c.pages == platform::PageSet::Odd    ? "odd"
                              : c.pages == platform::PageSet::Even ? "even"
                                                                   : "all";
            line += QLatin1Char(' ') + QLatin1String(set) + QLatin1Char(' ') + QString::number(c.copies);
        }
        out << line + QLatin1Char(' ') + QFileInfo(c.path).fileName();
    }
    return out;
}

} // namespace testing_support
