#pragma once

#include "platform/Clock.h"
#include "platform/DesktopWindows.h"
#include "platform/Ftp.h"
#include "platform/Launcher.h"
#include "platform/MessageBoxes.h"
#include "platform/Office.h"
#include "platform/Printer.h"
#include "platform/Screen.h"

#include <QSet>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

// Failed comparisons show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace testing_support {

// A window of its own takes the activation and closes, leaving no window
// active, as a window shown over the program's does on a desktop without a
// window manager.
void takeActivationAway();

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

    // Each box takes the activation away while it is up (takeActivationAway),
    // as a box on the screen does.
    bool takesActivation = false;
    // Runs while each box is up, before it is answered: what the windows
    // show behind it.
    std::function<void(const Shown&)> whileShown;

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
};

// An FTP client that reaches no server: it records each fetch and reports it
// whole. `duringFetch` runs inside the fetch, where
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
                             const QByteArray& prefix, const QString& localFolder,
                             const platform::FtpWanted& wanted) override;

    std::vector<Fetch> fetches;
    std::function<void()> duringFetch;
};

// The word processor and the printing of documents: records every call in
// order instead of showing or printing, and can be told to fail.
class FakeOffice final : public platform::Office {
public:
    struct Call {
        QString action; // "show", "view" (shown read-only), "print" or "convert"
        QString path;
        platform::PageSet pages = platform::PageSet::All;
        int copies = 0;
        QByteArray content; // the file as it was when printed
    };

    void show(const QString& hostPath, platform::View view) override;
    void print(const QString& hostPath, platform::PageSet pages, int copies) override;
    QByteArray convert(const QString& hostPath, const QString& format) override;
    // A document shown is open in the word processor until the test closes it.
    bool isShowing(const QString& hostPath) override { return showing.contains(hostPath); }
    bool isOpen(const QString& hostPath) override { return showing.contains(hostPath); }

    // Calls as short texts: "show <file name>", "view <file name>", "print odd
    // 2 <file name>".
    QStringList journal() const;

    std::vector<Call> calls;
    QSet<QString> showing;         // the documents open in the word processor
    QString failure;               // when set, show and print fail with this text
    bool libreOfficeMissing = true; // convert fails as without LibreOffice
    QByteArray converted;           // otherwise what convert returns
    std::function<void(const Call&)> onCall;

private:
    void record(Call call);
};

// The desktop's windows: records what the program asks of them, in one
// journal with what a test adds: "front <file name>" (the word processor's
// window showing it raised, maximised and made active), "activate <window
// title>". A document's window is there after `attemptsBeforeWindow` looks
// for it.
class FakeDesktopWindows final : public platform::DesktopWindows {
public:
    // A document brought to the front is the active window until the
    // program activates one of its own, which it does as Qt would.
    void expectDocument(const QString&, bool) override {}
    bool bringToFront(const QString& hostPath) override;
    bool wordProcessorOnScreen() override { return !wordProcessorElsewhere; }
    void activate(QWindow& window) override;
    bool otherProgramActive() override { return documentActive; }

    QStringList journal;
    bool documentActive = false;
    // The word processor shows its windows where the program cannot reach
    // them: its document's window never comes.
    bool wordProcessorElsewhere = false;
    // The document's window takes the activation from the program's windows
    // (takeActivationAway), as on a desktop.
    bool takesActivation = false;
    int attemptsBeforeWindow = 0;
    std::function<void(QWindow&)> onActivate;
};

// Answers the printer dialog and prints on A4 paper without a printer: the
// layout is the real one, painted into a PDF (kept when `pdfPath` is set),
// and every text is recorded with its page, line, column and font.
class FakePrinter final : public platform::Printer {
public:
    struct Printout {
        platform::Orientation orientation;
        int pages;
        std::vector<platform::PrintedText> texts;
        QString title; // the name the printer's queue shows
    };

    bool choose(QWidget* window) override;
    bool print(const platform::PrintJob& job) override;

    // The lines of page `page` of the last printout, each text put at its
    // column (an empty string for an empty line).
    QStringList page(int page = 1) const;
    // The texts of the last printout, in the order printed.
    const std::vector<platform::PrintedText>& texts() const;
    // The first text of the last printout equal to `text` (null when none).
    const platform::PrintedText* find(const QString& text) const;

    bool cancel = false;  // the dialog is answered "Cancelar"
    bool fail = false;    // the printer is missing: printing fails
    QString pdfPath;      // where each printout is written as PDF
    int dialogs = 0;
    std::vector<Printout> printouts;
};

// The text of a PDF file as pdftotext reads it, laid out as on the page.
QString pdfText(const QString& path);

// What LibreOffice prints from a document (headers, footers and text boxes
// included): the document converted to PDF by LibreOffice and read by
// pdftotext, pages separated by form feeds. Empty, and the test failed,
// when LibreOffice (which ./tervalo.sh test installs) cannot convert it.
QString textByLibreOffice(const QString& path);

// Files saved by LibreOffice as a user's "Save as" does: each job's files
// converted into its format by one run of LibreOffice, the jobs' runs side
// by side, each with a profile of its own. The results go to `folder`, named
// as the files with the format's extension. The test fails when a run does.
struct LibreOfficeJob {
    QStringList files;
    QString format; // "rtf", "docx", "fodt"
};
void convertByLibreOffice(const std::vector<LibreOfficeJob>& jobs, const QString& folder);

// Whether `parts` appear in `text` one after another, in their order.
::testing::AssertionResult appearInOrder(const QString& text, const QStringList& parts);

} // namespace testing_support
