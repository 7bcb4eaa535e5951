#pragma once

#include "platform/Clock.h"
#include "platform/Ftp.h"
#include "platform/Launcher.h"
#include "platform/MessageBoxes.h"
#include "platform/Screen.h"

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

// Message boxes answered from a script. Every box shown is recorded; a
// question (a box with a choice) takes the next scripted answer, and one
// that no answer was scripted for fails the test.
class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    struct Shown {
        QString text;
        int style;
        QString title;
    };

    void answer(platform::Answer next) { answers_.push_back(next); }
    platform::Answer show(const QString& text, int style, const QString& title) override;

    const std::vector<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    std::size_t unusedAnswers() const { return answers_.size(); }

private:
    std::deque<platform::Answer> answers_;
    std::vector<Shown> shown_;
};

// A clock whose waits return at once and move its time forward. `duringWait`
// runs inside each wait, where the windows' events would run.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void wait(double seconds) override;
    void set(const QDateTime& now) { now_ = now; }

    std::vector<double> waits;
    std::function<void(double)> duringWait;

private:
    QDateTime now_;
};

class FakeScreen final : public platform::Screen {
public:
    FakeScreen(int widthPixels, int heightPixels) : width_(widthPixels), height_(heightPixels) {}
    int widthTwips() const override { return platform::pixelsToTwips(width_); }
    int heightTwips() const override { return platform::pixelsToTwips(height_); }
    void setPixels(int width, int height)
    {
        width_ = width;
        height_ = height;
    }

private:
    int width_;
    int height_;
};

// Records what would be started instead of starting it.
class FakeLauncher final : public platform::Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QUrl& url) override;

    QStringList started;
    std::vector<QUrl> opened;
    bool succeed = true;
};

// An FTP client that reaches no server: it records each fetch and reports it
// whole unless told otherwise. `duringFetch` runs inside the fetch, where
// the windows' events would run while it waits.
class FakeFtp final : public platform::Ftp {
public:
    struct Fetch {
        platform::FtpAccount account;
        QByteArray serverFolder;
        QByteArray prefix;
        QString localFolder;
    };
    platform::FtpFetch fetch(const platform::FtpAccount& account, const QByteArray& serverFolder,
                             const QByteArray& prefix, const QString& localFolder) override;

    std::vector<Fetch> fetches;
    bool succeed = true;
    std::function<void()> duringFetch;
};

} // namespace testing_support
