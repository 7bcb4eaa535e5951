#include "platform/Office.h"

#include "platform/Clock.h"
#include "platform/DesktopWindows.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/WorkingCopies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <map>

#include <unistd.h>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace platform {

OfficeError::OfficeError(const QString& message, bool programMissing)
    : std::runtime_error(message.toStdString()), programMissing_(programMissing)
{
}

namespace {

// How long LibreOffice may take over one conversion.
constexpr int kConversionLimitMs = 180000;
// How long LibreOffice may take to open a document it is given to show.
constexpr qint64 kOpeningSeconds = 120;
// How long a document's window is waited for to bring it to the front, and
// how often it is looked for meanwhile. Once the word processor has the
// document its window follows at once: it is waited for a moment more only,
// unless the word processor has windows on the program's desktop.
constexpr qint64 kFrontSeconds = 60;
constexpr double kFrontStepSeconds = 0.25;
constexpr qint64 kWindowAfterOpeningMs = 3000;

// The extension LibreOffice needs to read a copy, told by the content.
QString extensionFor(const QByteArray& head)
{
    if (head.trimmed().startsWith("{\\rtf"))
        return QStringLiteral("rtf");
    if (head.startsWith("PK"))
        return QStringLiteral("docx");
    return QStringLiteral("doc");
}

// A page of the document by its index from 0, or a blank page.
constexpr int kBlankPage = -1;

// The pages a pass of double-sided printing by hand prints, for all its
// copies, in the order they come out. The even pages are the backs of what
// the odd pass of the same copies printed: when a copy's last sheet has no
// back and another copy follows, a blank page passes over that sheet, so
// every copy's backs fall on its own fronts.
QList<int> pagesOfPass(int count, PageSet pages, int copies)
{
    QList<int> copy;
    for (int i = pages == PageSet::Even ? 1 : 0; i < count; i += 2)
        copy << i;
    QList<int> pass;
    for (int n = 0; n < copies && !copy.isEmpty(); ++n) {
        if (n > 0 && pages == PageSet::Even && count % 2 == 1)
            pass << kBlankPage;
        pass += copy;
    }
    return pass;
}

// The PDF of a pass made from the PDF of the whole document: a page that
// comes again is stored once; a blank page takes the size of the last page,
// whose sheet it passes over. Empty when the pass has no pages.
QByteArray pdfOfPass(const QByteArray& pdf, PageSet pages, int copies)
{
    QPDF source;
    source.setSuppressWarnings(true);
    source.processMemoryFile("documento.pdf", pdf.constData(), static_cast<size_t>(pdf.size()));
    std::vector<QPDFPageObjectHelper> documentPages = QPDFPageDocumentHelper(source).getAllPages();
    const QList<int> pass = pagesOfPass(static_cast<int>(documentPages.size()), pages, copies);
    if (pass.isEmpty())
        return {};

    QPDF result;
    result.emptyPDF();
    QPDFPageDocumentHelper resultPages(result);
    for (int index : pass) {
        if (index != kBlankPage) {
            resultPages.addPage(documentPages.at(static_cast<size_t>(index)), false);
            continue;
        }
        QPDFObjectHandle blank = QPDFObjectHandle::parse("<< /Type /Page /Resources << >> >>");
        blank.replaceKey("/MediaBox", QPDFObjectHandle::newFromRectangle(
                                          documentPages.back().getMediaBox().getArrayAsRectangle()));
        resultPages.addPage(QPDFPageObjectHelper(result.makeIndirectObject(blank)), false);
    }
    QPDFWriter writer(result);
    writer.setOutputMemory();
    writer.write();
    const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), static_cast<qsizetype>(buffer->getSize()));
}

// The environment LibreOffice is started in to show a document. A program on
// X11 (through XWayland too) asks it to open its windows on that X display,
// where they can be brought to the front, whatever the desktop's own toolkits
// prefer; the profile, and with it an instance already running, are found as
// ever.
QProcessEnvironment showingEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
    return environment;
}

// Whether a LibreOffice of this user holds the file open.
bool heldOpenByLibreOffice(const QString& hostPath)
{
    const QString file = QFileInfo(hostPath).canonicalFilePath();
    if (file.isEmpty())
        return false;
    const QDir processes(QStringLiteral("/proc"));
    for (const QFileInfo& process : processes.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        process.fileName().toLongLong(&number);
        if (!number || process.ownerId() != ::getuid())
            continue;
        QFile name(process.filePath() + QStringLiteral("/comm"));
        if (!name.open(QIODevice::ReadOnly) || name.readAll().trimmed() != "soffice.bin")
            continue;
        const QDir files(process.filePath() + QStringLiteral("/fd"));
        for (const QFileInfo& open : files.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (open.symLinkTarget() == file)
                return true;
        }
    }
    return false;
}

class SystemPrograms final : public OfficePrograms {
public:
    QString find(const QString& name) override { return QStandardPaths::findExecutable(name); }

    Result run(const QString& program, const QStringList& arguments) override
    {
        Result result;
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForStarted(10000)) {
            result.errors = process.errorString();
            return result;
        }
        result.started = true;
        if (!awaitProcess(process, std::chrono::milliseconds(kConversionLimitMs))) {
            process.kill();
            process.waitForFinished(5000);
            result.errors = QStringLiteral("no terminó en tres minutos");
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return result;
    }

    bool startDetached(const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& environment) override
    {
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.setProcessEnvironment(environment);
        return process.startDetached();
    }
};

class LibreOffice final : public Office {
public:
    explicit LibreOffice(std::unique_ptr<OfficePrograms> programs) : programs_(std::move(programs)) {}

    void show(const QString& hostPath, View view) override
    {
        const QString soffice = libreOffice(QStringLiteral("Para mostrar el documento %1 hace falta LibreOffice "
                                                           "Writer, que no está instalado; el documento sigue "
                                                           "guardado en su fichero.")
                                                .arg(windowsPath(hostPath)));
        QStringList arguments{QStringLiteral("--writer"), QStringLiteral("--norestore")};
        if (view == View::Reading)
            arguments << QStringLiteral("--view");
        if (!programs_->startDetached(soffice, arguments << hostPath, showingEnvironment()))
            throw OfficeError(QStringLiteral("No se ha podido abrir LibreOffice Writer para mostrar el documento %1.")
                                  .arg(windowsPath(hostPath)));
        opening_[hostPath] = clock().now();
    }

    // LibreOffice locks a document it opens for editing; until it has, a
    // document just given to it counts as shown for a while. One it shows
    // read-only it does not lock, but keeps open.
    bool isShowing(const QString& hostPath) override
    {
        const auto opening = opening_.find(hostPath);
        if (QFileInfo::exists(officeLockFile(hostPath))) {
            if (opening != opening_.end())
                opening_.erase(opening);
            return true;
        }
        if (opening != opening_.end()) {
            if (opening->second.secsTo(clock().now()) < kOpeningSeconds)
                return true;
            opening_.erase(opening);
        }
        return heldOpenByLibreOffice(hostPath);
    }

    bool isOpen(const QString& hostPath) override
    {
        return QFileInfo::exists(officeLockFile(hostPath)) || heldOpenByLibreOffice(hostPath);
    }

    void print(const QString& hostPath, PageSet pages, int copies) override
    {
        if (copies <= 0)
            return;
        const QString missing = QStringLiteral("No se puede imprimir el documento %1: hace falta %2, que no está "
                                               "instalado; el documento sigue guardado en su fichero.");
        libreOffice(missing.arg(windowsPath(hostPath), QStringLiteral("LibreOffice")));
        const QString lp = programs_->find(QStringLiteral("lp"));
        if (lp.isEmpty())
            throw OfficeError(
                missing.arg(windowsPath(hostPath), QStringLiteral("el cliente de impresión de CUPS (lp)")), true);

        WorkingFolder folder;
        const QByteArray pdf = convert(hostPath, QStringLiteral("pdf"));
        const QString pdfPath = folder.filePath(QStringLiteral("documento.pdf"));
        if (pages == PageSet::All) {
            writeFile(pdfPath, pdf);
            QStringList arguments{QStringLiteral("-n"), QString::number(copies)};
            if (copies > 1)
                arguments << QStringLiteral("-o") << QStringLiteral("collate=true");
            sendToPrinter(lp, arguments << pdfPath, hostPath);
            return;
        }

        // A pass of double-sided printing by hand goes as the very pages it
        // prints, in one job, each on one side of a sheet: the printer adds
        // no page of its own and no other job comes between the copies.
        QByteArray pass;
        try {
            pass = pdfOfPass(pdf, pages, copies);
        } catch (const std::exception&) {
            throw OfficeError(QStringLiteral("No se pueden tomar las páginas que se imprimen del documento %1: el PDF "
                                             "que ha dado LibreOffice no se puede leer.")
                                  .arg(windowsPath(hostPath)));
        }
        if (pass.isEmpty())
            return; // a one-page document has no backs
        writeFile(pdfPath, pass);
        sendToPrinter(lp,
                      {QStringLiteral("-n"), QStringLiteral("1"), QStringLiteral("-o"), QStringLiteral("sides=one-sided"),
                       pdfPath},
                      hostPath);
    }

    QByteArray convert(const QString& hostPath, const QString& format) override
    {
        const QString soffice = libreOffice(QStringLiteral("Para leer el documento %1 hace falta LibreOffice, que "
                                                           "no está instalado.")
                                                .arg(windowsPath(hostPath)));
        QFile source(hostPath);
        if (!source.open(QIODevice::ReadOnly))
            throw OfficeError(QStringLiteral("No se puede leer el documento %1.").arg(windowsPath(hostPath)));
        const QByteArray content = source.readAll();

        // A copy of its own: the user may have the file open, and LibreOffice
        // needs a name that says the format.
        WorkingFolder folder;
        const QString copy = folder.filePath(QStringLiteral("documento.") + extensionFor(content.left(16)));
        writeFile(copy, content);
        // The result goes to a folder of its own: converted into its own
        // format, it would bear the copy's name.
        const QString output = folder.filePath(QStringLiteral("salida"));
        QDir().mkpath(output);
        // A LibreOffice started on a profile that another one is using hands
        // it the work and ends, converting nothing: one conversion at a time.
        QLockFile busy(profileFolder() + QStringLiteral(".lock"));
        busy.setStaleLockTime(0); // only a lock left by a process that ended is stale
        if (!busy.tryLock(kConversionLimitMs))
            throw OfficeError(QStringLiteral("LibreOffice no ha podido convertir el documento %1: otra conversión "
                                             "no termina.")
                                  .arg(windowsPath(hostPath)));
        prepareLibreOfficeProfile(*programs_, soffice, profileFolder());
        const auto result = programs_->run(
            soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profileFolder()).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                      QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), output, copy});
        QFile converted(output + QStringLiteral("/documento.") + format);
        if (!result.started || result.exitCode != 0 || !converted.open(QIODevice::ReadOnly))
            throw OfficeError(QStringLiteral("LibreOffice no ha podido convertir el documento %1%2.")
                                  .arg(windowsPath(hostPath),
                                       result.errors.isEmpty() ? QString() : QStringLiteral(": ") + result.errors));
        return converted.readAll();
    }

private:
    QString libreOffice(const QString& missingMessage)
    {
        for (const char* name : {"soffice", "libreoffice"}) {
            const QString found = programs_->find(QString::fromLatin1(name));
            if (!found.isEmpty())
                return found;
        }
        throw OfficeError(missingMessage, true);
    }

    // Conversions use a profile of their own, so they never go to a
    // LibreOffice the user has open.
    static QString profileFolder()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                               + QStringLiteral("/tervalo/libreoffice");
        QDir().mkpath(folder);
        return folder;
    }

    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            throw OfficeError(QStringLiteral("No se puede escribir la copia de trabajo %1.").arg(windowsPath(path)));
    }

    // The printer's queue shows the job by the document's file name, the name
    // its word processor window shows too (a working copy's while the
    // document is not stored yet), not by the name of the PDF that goes.
    void sendToPrinter(const QString& lp, const QStringList& arguments, const QString& document)
    {
        const auto result =
            programs_->run(lp, QStringList{QStringLiteral("-t"), QFileInfo(document).fileName()} + arguments);
        if (result.started && result.exitCode == 0)
            return;
        QString why = result.errors;
        if (why.contains(QLatin1String("default destination"), Qt::CaseInsensitive))
            why = QStringLiteral("no hay ninguna impresora predeterminada");
        else if (why.contains(QLatin1String("Scheduler"), Qt::CaseInsensitive)
                 || why.contains(QLatin1String("connect to server"), Qt::CaseInsensitive))
            why = QStringLiteral("el servicio de impresión (CUPS) no responde");
        while (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        throw OfficeError(QStringLiteral("No se ha podido enviar el documento %1 a la impresora%2.")
                              .arg(windowsPath(document), why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }

    std::unique_ptr<OfficePrograms> programs_;
    std::map<QString, QDateTime> opening_; // documents given to show, not yet locked
};

} // namespace

void showDocument(const QString& hostPath, View view)
{
    desktopWindows().expectDocument(hostPath, office().isOpen(hostPath));
    office().show(hostPath, view);
    const QDateTime shown = clock().now();
    QDateTime opened; // when the word processor was seen to have it
    while (!desktopWindows().bringToFront(hostPath)) {
        const QDateTime now = clock().now();
        if (opened.isNull() && office().isOpen(hostPath))
            opened = now;
        const bool elsewhere = !opened.isNull() && opened.msecsTo(now) >= kWindowAfterOpeningMs
                               && !desktopWindows().wordProcessorOnScreen();
        if (elsewhere || shown.secsTo(now) >= kFrontSeconds)
            return;
        clock().wait(kFrontStepSeconds);
    }
}

QString officeLockFile(const QString& hostPath)
{
    const QFileInfo document(hostPath);
    return document.dir().filePath(QStringLiteral(".~lock.") + document.fileName() + QLatin1Char('#'));
}

ServiceSlot<Office>& officeSlot()
{
    static ServiceSlot<Office> slot([]() -> std::unique_ptr<Office> { return makeLibreOffice(); });
    return slot;
}

std::unique_ptr<Office> makeLibreOffice(std::unique_ptr<OfficePrograms> programs)
{
    if (!programs)
        programs = makeSystemPrograms();
    return std::make_unique<LibreOffice>(std::move(programs));
}

std::unique_ptr<OfficePrograms> makeSystemPrograms()
{
    return std::make_unique<SystemPrograms>();
}

bool prepareLibreOfficeProfile(OfficePrograms& programs, const QString& soffice, const QString& folder)
{
    // Written once a start has set the profile up.
    const QString ready = folder + QStringLiteral("/tervalo-preparado");
    if (QFileInfo::exists(ready))
        return true;
    QDir().mkpath(folder);
    const QStringList arguments{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder).toString(),
                                QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                QStringLiteral("--nologo"), QStringLiteral("--terminate_after_init")};
    // The start that creates the profile may fail; the next one finds it made.
    for (int start = 0; start < 2; ++start) {
        const auto result = programs.run(soffice, arguments);
        if (result.started && result.exitCode == 0)
            return QFile(ready).open(QIODevice::WriteOnly);
    }
    return false;
}

} // namespace platform
