#include "Doubles.h"

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

platform::FtpFetch FakeFtp::fetch(const platform::FtpAccount& account, const QByteArray& serverFolder,
                                  const QByteArray& prefix, const QString& localFolder)
{
    fetches.push_back({account, serverFolder, prefix, localFolder});
    if (duringFetch)
        duringFetch();
    platform::FtpFetch result;
    result.complete = succeed;
    return result;
}

} // namespace testing_support
