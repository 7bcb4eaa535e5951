#include "Doubles.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

void takeActivationAway()
{
    QWidget other;
    other.show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
}

platform::Answer ScriptedMessageBoxes::show(const QString& text, int style, const QString& title)
{
    shown_.push_back({text, style, title});
    if (takesActivation && QApplication::activeWindow())
        takeActivationAway();
    if (whileShown) {
        const Shown actual = shown_.back();
        whileShown(actual);
    }
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
    return true;
}

bool FakeLauncher::openUrl(const QUrl& url)
{
    opened.push_back(url);
    return true;
}

platform::FtpFetch FakeFtp::fetch(const platform::FtpAccount& account, const QByteArray& serverFolder,
                                  const QByteArray& prefix, const QString& localFolder, const platform::FtpWanted&)
{
    fetches.push_back({account, serverFolder, prefix, localFolder});
    if (duringFetch)
        duringFetch();
    platform::FtpFetch result;
    result.complete = true;
    return result;
}

void FakeOffice::record(Call call)
{
    calls.push_back(call);
    if (onCall)
        onCall(calls.back());
    if (!failure.isEmpty() && call.action != QLatin1String("convert"))
        throw platform::OfficeError(failure);
}

void FakeOffice::show(const QString& hostPath, platform::View view)
{
    record({view == platform::View::Reading ? QStringLiteral("view") : QStringLiteral("show"), hostPath,
            platform::PageSet::All, 0, {}});
    showing.insert(hostPath);
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

bool FakeDesktopWindows::bringToFront(const QString& hostPath)
{
    if (wordProcessorElsewhere)
        return false;
    if (attemptsBeforeWindow > 0) {
        --attemptsBeforeWindow;
        return false;
    }
    journal << QStringLiteral("front ") + QFileInfo(hostPath).fileName();
    documentActive = true;
    if (takesActivation)
        takeActivationAway();
    return true;
}

void FakeDesktopWindows::activate(QWindow& window)
{
    journal << QStringLiteral("activate ") + window.title();
    documentActive = false;
    window.requestActivate();
    if (onActivate)
        onActivate(window);
}

bool FakePrinter::choose(QWidget*)
{
    ++dialogs;
    return !cancel;
}

bool FakePrinter::print(const platform::PrintJob& job)
{
    if (fail)
        return false;
    QBuffer memory;
    QFile file(pdfPath);
    QIODevice& output = pdfPath.isEmpty() ? static_cast<QIODevice&>(memory) : file;
    if (!output.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&output);
    writer.setPageSize(QPageSize(QPageSize::A4));
    Printout printout{job.orientation(), 0, {}, job.title()};
    if (!platform::render(job, writer, &printout.texts))
        return false;
    printout.pages = 1;
    for (const auto& text : printout.texts)
        printout.pages = std::max(printout.pages, text.page);
    printouts.push_back(std::move(printout));
    return true;
}

const std::vector<platform::PrintedText>& FakePrinter::texts() const
{
    static const std::vector<platform::PrintedText> none;
    return printouts.empty() ? none : printouts.back().texts;
}

const platform::PrintedText* FakePrinter::find(const QString& text) const
{
    for (const auto& printed : texts())
        if (printed.text == text)
            return &printed;
    return nullptr;
}

QStringList FakePrinter::page(int page) const
{
    QStringList lines;
    for (const auto& printed : texts()) {
        if (printed.page != page)
            continue;
        while (lines.size() < printed.line)
            lines << QString();
        QString& line = lines[printed.line - 1];
        if (line.size() < printed.column - 1)
            line = line.leftJustified(printed.column - 1);
        line += printed.text;
    }
    return lines;
}

QString pdfText(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext could not read " << path.toStdString();
        return {};
    }
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QString textByLibreOffice(const QString& path)
{
    QByteArray pdf;
    try {
        pdf = platform::makeLibreOffice()->convert(path, QStringLiteral("pdf"));
    } catch (const platform::OfficeError& e) {
        ADD_FAILURE() << e.what();
        return {};
    }
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("impreso.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) {
        ADD_FAILURE() << "cannot write the PDF of " << path.toStdString();
        return {};
    }
    file.close();
    return pdfText(file.fileName());
}

void convertByLibreOffice(const std::vector<LibreOfficeJob>& jobs, const QString& folder)
{
    QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        soffice = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is not installed";
    std::vector<std::unique_ptr<QProcess>> runs;
    const auto programs = platform::makeSystemPrograms();
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        // Two runs on one profile would hand their work to each other.
        const QString profile = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                                + QStringLiteral("/tervalo/pruebas%1").arg(j);
        // Made one after the other, before any work is given to them.
        EXPECT_TRUE(platform::prepareLibreOfficeProfile(*programs, soffice, profile))
            << "LibreOffice cannot start on " << profile.toStdString();
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(soffice, QStringList{QStringLiteral("-env:UserInstallation=")
                                                    + QUrl::fromLocalFile(profile).toString(),
                                                QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                                QStringLiteral("--nologo"), QStringLiteral("--convert-to"),
                                                jobs[j].format, QStringLiteral("--outdir"), folder}
                                        + jobs[j].files);
    }
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        QProcess& run = *runs[j];
        EXPECT_TRUE(run.waitForFinished(120000) && run.exitCode() == 0) << run.readAllStandardError().toStdString();
        for (const QString& file : jobs[j].files) {
            const QString result = folder + u'/' + QFileInfo(file).completeBaseName() + u'.' + jobs[j].format;
            EXPECT_TRUE(QFileInfo::exists(result)) << "LibreOffice did not write " << result.toStdString();
        }
    }
}

::testing::AssertionResult appearInOrder(const QString& text, const QStringList& parts)
{
    qsizetype from = 0;
    for (const QString& part : parts) {
        const qsizetype at = text.indexOf(part, from);
        if (at < 0)
            return ::testing::AssertionFailure()
                   << '"' << part.toStdString() << "\" not found in order in:\n" << text.toStdString();
        from = at + part.size();
    }
    return ::testing::AssertionSuccess();
}

} // namespace testing_support
